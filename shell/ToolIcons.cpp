#include "ToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace vorn {

namespace {

const QColor kInk(0x33, 0x44, 0x55);
const QColor kBlue(0x2f, 0x6f, 0xb0);
const QColor kGreen(0x3c, 0x9a, 0x5a);
const QColor kRed(0xc8, 0x32, 0x32);
const QColor kPaper(0xfa, 0xfa, 0xf4);
const QColor kFolder(0xe8, 0xb8, 0x4a);

void Boards(QPainter& p, const QRectF& r, int cols, int rows, const QColor& fill) {
    const double w = r.width() / cols;
    const double h = r.height() / rows;
    p.setPen(QPen(kInk, 1));
    p.setBrush(fill);
    for (int i = 0; i < cols; ++i) {
        for (int j = 0; j < rows; ++j)
            p.drawRect(QRectF(r.left() + i * w + 0.5, r.top() + j * h + 0.5, w - 1.5, h - 1.5));
    }
}

void Paint(QPainter& p, ToolPicture picture) {
    switch (picture) {
    case ToolPicture::Open:
        p.setPen(QPen(kInk, 1));
        p.setBrush(kFolder);
        p.drawRect(QRectF(1.5, 4.5, 14, 11));
        p.setBrush(kFolder.lighter(115));
        p.drawPolygon(QPolygonF({{1.5, 15.5}, {4.5, 8.5}, {17.5, 8.5}, {15.5, 15.5}}));
        break;
    case ToolPicture::Save:
        p.setPen(QPen(kInk, 1));
        p.setBrush(kBlue);
        p.drawRect(QRectF(1.5, 1.5, 15, 15));
        p.setBrush(kPaper);
        p.drawRect(QRectF(4.5, 1.5, 9, 6));
        p.drawRect(QRectF(4.5, 10.5, 9, 6));
        break;
    case ToolPicture::Delete:
        p.setPen(QPen(kRed, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(4, 4), QPointF(14, 14));
        p.drawLine(QPointF(14, 4), QPointF(4, 14));
        break;
    case ToolPicture::SmartPanel:
        Boards(p, QRectF(1, 5, 12, 12), 2, 2, kGreen);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xf0, 0xa0, 0x10));
        p.drawPolygon(QPolygonF(
            {{14, 0}, {15.5, 4}, {18, 5}, {15.5, 6}, {14, 10}, {12.5, 6}, {10, 5}, {12.5, 4}}));
        break;
    case ToolPicture::Panelize:
        p.setPen(QPen(kInk, 1));
        p.setBrush(kPaper);
        p.drawRect(QRectF(0.5, 2.5, 17, 13));
        Boards(p, QRectF(2, 4, 14, 10), 3, 2, kGreen);
        break;
    case ToolPicture::Minimize:
        p.setPen(QPen(kInk, 1, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(0.5, 0.5, 17, 17));
        Boards(p, QRectF(4, 4, 10, 10), 2, 2, kGreen);
        break;
    case ToolPicture::Query:
        p.setPen(QPen(kInk, 2));
        p.setBrush(QColor(0xd8, 0xea, 0xfa));
        p.drawEllipse(QRectF(2, 2, 10, 10));
        p.setPen(QPen(kInk, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(11, 11), QPointF(16, 16));
        break;
    case ToolPicture::Preview:
        p.setPen(QPen(kInk, 1));
        p.setBrush(kPaper);
        p.drawRect(QRectF(1.5, 0.5, 11, 15));
        p.setPen(QPen(kInk, 1.5));
        p.setBrush(QColor(0xd8, 0xea, 0xfa));
        p.drawEllipse(QRectF(7, 7, 7, 7));
        p.drawLine(QPointF(13, 13), QPointF(17, 17));
        break;
    case ToolPicture::Print:
        p.setPen(QPen(kInk, 1));
        p.setBrush(kPaper);
        p.drawRect(QRectF(4.5, 0.5, 9, 6));
        p.setBrush(QColor(0x9a, 0xa4, 0xae));
        p.drawRect(QRectF(0.5, 6.5, 17, 7));
        p.setBrush(kPaper);
        p.drawRect(QRectF(4.5, 11.5, 9, 6));
        break;
    case ToolPicture::Export:
        p.setPen(QPen(kInk, 1));
        p.setBrush(kPaper);
        p.drawRect(QRectF(0.5, 3.5, 11, 14));
        p.setPen(QPen(kGreen, 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(6, 9), QPointF(16, 9));
        p.drawLine(QPointF(12.5, 5.5), QPointF(16, 9));
        p.drawLine(QPointF(12.5, 12.5), QPointF(16, 9));
        break;
    case ToolPicture::Exit:
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(0xb0, 0x78, 0x48));
        p.drawRect(QRectF(1.5, 0.5, 10, 17));
        p.setPen(QPen(kRed, 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, 9), QPointF(17, 9));
        p.drawLine(QPointF(14, 6), QPointF(17, 9));
        p.drawLine(QPointF(14, 12), QPointF(17, 9));
        break;
    }
}

} // namespace

QIcon ToolIcon(ToolPicture picture) {
    QPixmap pixmap(18, 18);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    Paint(p, picture);
    p.end();
    return QIcon(pixmap);
}

} // namespace vorn
