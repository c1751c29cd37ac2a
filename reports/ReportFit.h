#pragma once
// How each text of the page fits its box, decided once for both renderings
// (the workbook's cell formats and row heights, the painted page): a text
// keeps its look's size when it fits, shrinks down to the look's readable
// minimum, and below that wraps at the minimum in a row made tall enough.

#include "ReportPage.h"

#include <QString>

#include <functional>

namespace vorn::report {

// The width of one line of text in points, in the page font.
double TextWidthPt(const QString& text, const LookStyle& style, double pt);

struct TextFit {
    CellLook look = CellLook::Default; // the cell's look, or its wrapped variant
    double pt = 10;                    // the font size the text is shown at
    double height = 0;                 // points the text needs, padding included
};

// How `text` fits a box `width` points wide in `look`.
TextFit FitText(CellLook look, const QString& text, double width);

// The page with each cell's look swapped for its wrapped variant where the
// text needs it, rows grown to the height their texts need, and the
// pictures kept on their cells.
PageLayout FitPage(const PageLayout& page, const std::function<QString(const PageCell&)>& textOf);

// A cell's width in points (its merged columns).
double CellWidth(const PageLayout& page, const PageCell& cell);

} // namespace vorn::report
