#pragma once
// The report page painted from its description: the same cells, texts and
// pictures as the workbook's first sheet, on any paint device (printer,
// preview, PDF, image).

#include "ReportContent.h"

#include <QPainter>
#include <QString>

namespace vorn::report {

// A4 in points.
constexpr double kA4WidthPt = 595.2756;
constexpr double kA4HeightPt = 841.8898;

// The scale that fits the page inside the paper's margins (1 when it fits).
double PageFitScale(const PageLayout& page);

// Paints the page onto a device that is one A4 page at `dotsPerInch`
// (its full page, margins included, starting at the painter's origin).
void PaintReportPage(QPainter& painter, const ReportContent& content, double dotsPerInch);

// The page as a picture, e.g. for a look at it; white background.
QImage ReportPageImage(const ReportContent& content, double dotsPerInch);

// The page as a one-page PDF with real text, written whole or not at all.
bool WriteReportPdf(const ReportContent& content, const QString& path, QString* error);

} // namespace vorn::report
