#include "WelcomePicture.h"

#include <QCoreApplication>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <algorithm>

namespace vorn {

namespace {

// A panel with boards laid out in rows: the program's subject, as a mark.
void DrawPanelMark(QPainter& p, const QRectF& r) {
    p.setPen(QPen(QColor(0x2f, 0x5d, 0x8a), 2));
    p.setBrush(QColor(0xe8, 0xf0, 0xf8));
    p.drawRect(r);
    const int cols = 3;
    const int rows = 2;
    const double margin = r.width() * 0.08;
    const double gap = r.width() * 0.04;
    const double w = (r.width() - 2 * margin - (cols - 1) * gap) / cols;
    const double h = (r.height() - 2 * margin - (rows - 1) * gap) / rows;
    p.setPen(QPen(QColor(0x1f, 0x6f, 0x3f), 1));
    p.setBrush(QColor(0x4c, 0xa8, 0x6a));
    for (int i = 0; i < cols; ++i) {
        for (int j = 0; j < rows; ++j)
            p.drawRect(
                QRectF(r.left() + margin + i * (w + gap), r.top() + margin + j * (h + gap), w, h));
    }
}

} // namespace

QImage WelcomePicture(QSize size) {
    size = size.expandedTo(QSize(1, 1));
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient bg(0, 0, 0, size.height());
    bg.setColorAt(0, QColor(0xfb, 0xfd, 0xff));
    bg.setColorAt(1, QColor(0xdc, 0xe8, 0xf4));
    p.fillRect(image.rect(), bg);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    // Everything scales with the smaller side so the banner fits any area.
    const double unit = std::min(size.width() / 2.4, double(size.height())) / 100.0;
    const double markW = 34 * unit;
    const double markH = 24 * unit;
    const double cx = size.width() / 2.0;
    const double top = size.height() / 2.0 - 34 * unit;
    DrawPanelMark(p, QRectF(cx - markW / 2, top, markW, markH));

    QFont title(QStringLiteral("Sans"));
    title.setBold(true);
    title.setPixelSize(std::max(14, int(16 * unit)));
    p.setFont(title);
    p.setPen(QColor(0x1c, 0x3f, 0x66));
    const QRectF titleRect(0, top + markH + 3 * unit, size.width(), 20 * unit);
    p.drawText(titleRect, Qt::AlignHCenter | Qt::AlignVCenter, QStringLiteral("Vorn"));

    QFont line(QStringLiteral("Sans"));
    line.setPixelSize(std::max(11, int(5 * unit)));
    p.setFont(line);
    p.setPen(QColor(0x3a, 0x4a, 0x5a));
    const QRectF sub(0, titleRect.bottom() + unit, size.width(), 8 * unit);
    p.drawText(sub, Qt::AlignHCenter | Qt::AlignVCenter,
               QCoreApplication::translate("WelcomePicture", "PCB 拼板与开料规划"));
    p.setPen(QColor(0x2f, 0x5d, 0x8a));
    const QRectF hint(0, sub.bottom() + unit, size.width(), 8 * unit);
    p.drawText(
        hint, Qt::AlignHCenter | Qt::AlignVCenter,
        QCoreApplication::translate("WelcomePicture", "F2 智能拼板开料    F3 给定 Panel 拼板"));
    return image;
}

} // namespace vorn
