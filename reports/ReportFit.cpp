#include "ReportFit.h"

#include <QFont>
#include <QFontMetricsF>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace vorn::report {

namespace {

// Measured at 100 pixels to the em, unhinted, so that one pixel is 1/100 of
// the size and widths scale to any size.
constexpr double kMeasureSize = 100;

QFont MeasureFont(const LookStyle& style) {
    QFont font(PageFontFamily());
    font.setStyleHint(QFont::SansSerif);
    font.setBold(style.bold);
    font.setPixelSize(int(kMeasureSize));
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

double LineHeightPt(const LookStyle& style, double pt) {
    return QFontMetricsF(MeasureFont(style)).lineSpacing() * pt / kMeasureSize;
}

int LineCount(const QString& text, const LookStyle& style, double pt, double width) {
    QTextLayout layout(text, MeasureFont(style));
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    int lines = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width * kMeasureSize / pt);
        ++lines;
    }
    layout.endLayout();
    return std::max(lines, 1);
}

// Room above and below a text in its row, as spreadsheet programs leave it,
// and a little spare for a program whose line breaks fall differently.
double TextHeight(const LookStyle& style, double pt, int lines) {
    return lines * LineHeightPt(style, pt) * 1.1 + 4;
}

} // namespace

double TextWidthPt(const QString& text, const LookStyle& style, double pt) {
    return QFontMetricsF(MeasureFont(style)).horizontalAdvance(text) * pt / kMeasureSize;
}

TextFit FitText(CellLook look, const QString& text, double width) {
    const LookStyle& style = StyleOf(look);
    // 2 % to spare: a device that hints its glyphs may draw them a little wider.
    const double inner = std::max(1.0, (width - 2 * kCellPadding) * 0.98);
    TextFit fit{look, style.fontPt, TextHeight(style, style.fontPt, 1)};
    if (text.isEmpty())
        return fit;
    if (style.wrap) {
        fit.height = TextHeight(style, fit.pt, LineCount(text, style, fit.pt, inner));
        return fit;
    }
    if (!style.shrink)
        return fit;
    const double needed = TextWidthPt(text, style, style.fontPt);
    if (needed <= inner)
        return fit;
    // The sheet's shrink-to-fit, in quarter points.
    const double shrunk = std::floor(style.fontPt * inner / needed * 4) / 4;
    if (shrunk >= style.minPt || style.wrapped == CellLook::Default) {
        fit.pt = std::max(shrunk, 1.0);
        return fit;
    }
    const LookStyle& wrapped = StyleOf(style.wrapped);
    fit.look = style.wrapped;
    fit.pt = wrapped.fontPt;
    fit.height = TextHeight(wrapped, fit.pt, LineCount(text, wrapped, fit.pt, inner));
    return fit;
}

double CellWidth(const PageLayout& page, const PageCell& cell) {
    double width = 0;
    for (int c = cell.col; c < cell.col + cell.colSpan; ++c)
        if (c >= 1 && c <= int(page.colWidths.size()))
            width += page.colWidths[std::size_t(c - 1)];
    return width;
}

PageLayout FitPage(const PageLayout& page, const std::function<QString(const PageCell&)>& textOf) {
    PageLayout fitted = page;
    for (PageCell& cell : fitted.cells) {
        if (cell.row < 1 || cell.row > int(fitted.rowHeights.size()))
            continue;
        const TextFit fit = FitText(cell.look, textOf(cell), CellWidth(page, cell));
        cell.look = fit.look;
        if (!StyleOf(fit.look).wrap)
            continue; // one line: the row is as described
        double& height = fitted.rowHeights[std::size_t(cell.row - 1)];
        // Rows grow in whole pixels at 96 dpi, as the sheet sizes them.
        if (fit.height > height + 1e-9)
            height = std::ceil(fit.height / 0.75) * 0.75;
    }
    // A picture stays on the cell it was placed on, at the same offset.
    for (PicturePlace& place : fitted.pictures) {
        const PageLayout::CellPoint at = page.CellAtPoint(place.left, place.top);
        place.top = fitted.RowTop(at.row) + at.dy;
    }
    return fitted;
}

} // namespace vorn::report
