#pragma once
// Printing and print preview of the report page (Qt Print Support).

#include "ReportContent.h"

class QPrinter;
class QWidget;

namespace vorn::report {

// Sets the printer up for the report (A4 portrait, the full page).
void SetUpReportPrinter(QPrinter& printer);
// Prints the page on a printer that is set up; false when it cannot paint.
bool PrintReport(QPrinter& printer, const ReportContent& content);

// Print: the print dialog, then the page. False when the user cancelled or
// the printer failed (`error` says which, empty when cancelled).
bool PrintReportWithDialog(QWidget* parent, QPrinter& printer, const ReportContent& content,
                           QString* error);
// Preview: the preview window; returns when the user closes it.
void PreviewReport(QWidget* parent, QPrinter& printer, const ReportContent& content);

} // namespace vorn::report
