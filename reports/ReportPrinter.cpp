#include "ReportPrinter.h"

#include "ReportPaint.h"

#include <QCoreApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace vorn::report {

void SetUpReportPrinter(QPrinter& printer) {
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setFullPage(true);
    printer.setDocName(PageText(PageOf(false).title).remove(u' '));
}

bool PrintReport(QPrinter& printer, const ReportContent& content) {
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    // With the full page the painter's origin is the paper's corner.
    PaintReportPage(painter, content, printer.resolution());
    return painter.end();
}

bool PrintReportWithDialog(QWidget* parent, QPrinter& printer, const ReportContent& content,
                           QString* error) {
    SetUpReportPrinter(printer);
    QPrintDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("ReportPrintDialog"));
    if (error)
        error->clear();
    if (dialog.exec() != QDialog::Accepted)
        return false;
    if (!PrintReport(printer, content)) {
        if (error)
            *error =
                QCoreApplication::translate("ReportPrinter", "打印失败：打印机 \"%1\" 无法打印。")
                    .arg(printer.printerName());
        return false;
    }
    return true;
}

void PreviewReport(QWidget* parent, QPrinter& printer, const ReportContent& content) {
    SetUpReportPrinter(printer);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("ReportPreviewDialog"));
    dialog.setWindowTitle(QCoreApplication::translate("ReportPrinter", "御览"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&content](QPrinter* p) { PrintReport(*p, content); });
    dialog.exec();
}

} // namespace vorn::report
