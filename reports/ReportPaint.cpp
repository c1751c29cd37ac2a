#include "ReportPaint.h"

#include "SafeWrite.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextOption>

namespace vorn::report {

namespace {

constexpr double kPadding = 2.5; // points between a cell's edge and its text, as in a sheet

// The font of a look at `pt` points on a painter that draws in points.
QFont PageFont(const QPainter& painter, const LookStyle& style, double pt) {
    QFont font(PageFontFamily());
    font.setStyleHint(QFont::SansSerif);
    font.setBold(style.bold);
    // The painter is scaled to points, the font sizes itself by the device's
    // own resolution: undo that once.
    font.setPointSizeF(pt * 72.0 / painter.device()->logicalDpiY());
    return font;
}

void PaintCell(QPainter& painter, const PageLayout& page, const PageCell& cell,
               const QString& text) {
    const LookStyle& style = StyleOf(cell.look);
    double width = 0;
    for (int c = cell.col; c < cell.col + cell.colSpan; ++c)
        width += page.colWidths[std::size_t(c - 1)];
    const QRectF box(page.ColLeft(cell.col), page.RowTop(cell.row), width,
                     page.rowHeights[std::size_t(cell.row - 1)]);
    if (style.shaded)
        painter.fillRect(box, QColor(0xED, 0xED, 0xED));
    if (style.boxed) {
        painter.setPen(QPen(QColor(0x80, 0x80, 0x80), 0.5));
        painter.drawRect(box);
    }
    if (style.underlined) {
        painter.setPen(QPen(QColor(0x80, 0x80, 0x80), 1.5));
        painter.drawLine(box.bottomLeft(), box.bottomRight());
    }
    if (text.isEmpty())
        return;
    const QRectF inner = box.adjusted(kPadding, style.top ? 2 : 0, -kPadding, style.top ? -2 : 0);
    QFont font = PageFont(painter, style, style.fontPt);
    if (style.shrink) {
        // One line, smaller until it fits, as the sheet's shrink-to-fit does.
        for (double pt = style.fontPt; pt > 4; pt -= 0.25) {
            font = PageFont(painter, style, pt);
            painter.setFont(font);
            if (painter.fontMetrics().horizontalAdvance(text) <= inner.width())
                break;
        }
    }
    painter.setFont(font);
    painter.setPen(style.grey ? QColor(0x59, 0x59, 0x59) : QColor(Qt::black));
    QTextOption option;
    Qt::Alignment align = style.align == LookStyle::Align::Centre  ? Qt::AlignHCenter
                          : style.align == LookStyle::Align::Right ? Qt::AlignRight
                                                                   : Qt::AlignLeft;
    align |= style.top ? Qt::AlignTop : Qt::AlignVCenter;
    option.setAlignment(align);
    option.setWrapMode(style.wrap ? QTextOption::WrapAtWordBoundaryOrAnywhere
                                  : QTextOption::NoWrap);
    painter.drawText(inner, text, option);
}

} // namespace

void PaintReportPage(QPainter& painter, const ReportContent& content, double dotsPerInch) {
    const PageLayout& page = content.Page();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.scale(dotsPerInch / 72.0, dotsPerInch / 72.0);
    // Centred across the page like the sheet's print setup, below the top margin.
    painter.translate((kA4WidthPt - page.Width()) / 2, page.marginTop);
    for (const PageCell& cell : page.cells)
        PaintCell(painter, page, cell, content.TextOf(cell));
    for (const PicturePlace& place : page.pictures) {
        if (!content.pictures.contains(place.name))
            continue;
        const QImage& image = content.pictures.value(place.name);
        painter.drawImage(QRectF(place.left, place.top, image.width() / place.factor,
                                 image.height() / place.factor),
                          image);
    }
    painter.restore();
}

QImage ReportPageImage(const ReportContent& content, double dotsPerInch) {
    QImage image(qRound(kA4WidthPt / 72 * dotsPerInch), qRound(kA4HeightPt / 72 * dotsPerInch),
                 QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dotsPerInch / 0.0254));
    image.setDotsPerMeterY(qRound(dotsPerInch / 0.0254));
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintReportPage(painter, content, dotsPerInch);
    return image;
}

bool WriteReportPdf(const ReportContent& content, const QString& path, QString* error) {
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&buffer);
        pdf.setResolution(600);
        pdf.setCreator(QStringLiteral("Vorn"));
        pdf.setTitle(content.Page().title);
        pdf.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        QPainter painter;
        if (!painter.begin(&pdf)) {
            if (error)
                *error = QStringLiteral("%1: the PDF cannot be made").arg(path);
            return false;
        }
        PaintReportPage(painter, content, pdf.resolution());
        painter.end();
    }
    return SafeWriteFile(path, bytes, error);
}

} // namespace vorn::report
