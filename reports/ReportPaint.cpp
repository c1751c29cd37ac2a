#include "ReportPaint.h"

#include "ReportFit.h"
#include "SafeWrite.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextOption>

#include <algorithm>

namespace vorn::report {

namespace {

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
    const double width = CellWidth(page, cell);
    const QRectF box(page.ColLeft(cell.col), page.RowTop(cell.row), width,
                     page.rowHeights[std::size_t(cell.row - 1)]);
    // The look and size the text was fitted with (FitPage already chose the
    // wrapped look where one line does not do).
    const TextFit fit = FitText(cell.look, text, width);
    const LookStyle& style = StyleOf(fit.look);
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
    const QRectF inner =
        box.adjusted(kCellPadding, style.top ? 2 : 0, -kCellPadding, style.top ? -2 : 0);
    painter.setFont(PageFont(painter, style, fit.pt));
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

// A picture at its place: drawn as vectors where the content has its
// drawing, else the picture's pixels.
void PaintPicture(QPainter& painter, const ReportContent& content, const PicturePlace& place) {
    const PageLayout& page = content.Page();
    const QSize size(page.pictureWidth, page.pictureHeight);
    const QRectF target(place.left, place.top, size.width() / place.factor,
                        size.height() / place.factor);
    if (const auto it = content.drawings.find(place.name); it != content.drawings.end()) {
        painter.save();
        painter.setClipRect(target);
        painter.fillRect(target, Qt::white);
        painter.translate(target.topLeft());
        painter.scale(1 / place.factor, 1 / place.factor);
        it->second(DiagramCanvas(painter, size));
        painter.restore();
    } else if (content.pictures.contains(place.name)) {
        painter.drawImage(target, content.pictures.value(place.name));
    }
}

} // namespace

double PageFitScale(const PageLayout& page) {
    const double width = kA4WidthPt - page.marginLeft - page.marginRight;
    const double height = kA4HeightPt - page.marginTop - page.marginBottom;
    return std::min({1.0, width / page.Width(), height / page.Height()});
}

void PaintReportPage(QPainter& painter, const ReportContent& content, double dotsPerInch) {
    const PageLayout& page = content.Page();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.scale(dotsPerInch / 72.0, dotsPerInch / 72.0);
    // Centred across the page like the sheet's print setup, below the top
    // margin, made smaller where a long hole list or wrapped texts make the
    // page longer than the paper (the sheet's fit to one page).
    const double fit = PageFitScale(page);
    painter.translate((kA4WidthPt - page.Width() * fit) / 2, page.marginTop);
    painter.scale(fit, fit);
    for (const PageCell& cell : page.cells)
        PaintCell(painter, page, cell, content.TextOf(cell));
    for (const PicturePlace& place : page.pictures)
        PaintPicture(painter, content, place);
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
