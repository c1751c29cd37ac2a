// The report commands of the main window: export the workbook (F7), print
// (Ctrl+P), preview (Ctrl+Y) and the PDF. The window gathers the job row,
// the part's fields, the unit and the holes; reports/ does the rest.

#include "JobCommands.h"

#include "Cursor.h"
#include "DataModule.h"
#include "DefaultsList.h"
#include "DesktopOpen.h"
#include "RecentFolders.h"
#include "ReportPaint.h"
#include "ReportPrinter.h"
#include "ReportWorkbook.h"
#include "SafeWrite.h"
#include "ToolingRows.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QUrl>

namespace vorn {

namespace {

QString JobInvalidMessage() {
    return QCoreApplication::translate("JobCommands",
                                       "上传信息有误或不全，请执行 \"上传数据\" 操作！");
}

// A file name from the part number: letters a file system refuses become "_".
QString ReportFileName(const QString& partNumber, const QString& suffix) {
    QString part = partNumber.trimmed();
    part.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]")),
                 QStringLiteral("_"));
    if (part.isEmpty())
        part = QStringLiteral("Vorn");
    return QCoreApplication::translate("JobCommands", "拼板开料报告_%1_%2.%3")
        .arg(part, QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")),
             suffix);
}

bool GatherReport(JobWindow& w, report::ReportContent& content) {
    TDataM1* dm = w.Data();
    if (!dm)
        return false;
    QString company = w.Defaults().Value(QStringLiteral("CompName"));
    if (company.isEmpty()) {
        QMessageBox hint(QMessageBox::Information,
                         QCoreApplication::translate("JobCommands", "提示"), report::CompanyHint(),
                         QMessageBox::Ok, w.Parent());
        hint.setObjectName(QStringLiteral("CompanyHint"));
        hint.exec();
    }
    std::vector<vorn::ToolingHole> holes1, holes2;
    Cursor& tooling = dm->TempTooling;
    if (tooling.isOpen()) {
        vorn::FilterRestore restore(tooling);
        holes1 = vorn::HolesOfType(tooling, QStringLiteral("Panel1"));
        holes2 = vorn::HolesOfType(tooling, QStringLiteral("Panel2"));
        tooling.first();
    }
    WorkRow* row = w.JobRow();
    if (!row)
        return false;
    report::ReportJob job;
    job.plan = {[row](const char* f) { return row->Number(f); },
                [row](const char* f) { return row->Text(f); }};
    const JobIdentity identity = w.Identity();
    job.partNumber = identity.partNumber;
    job.customerPart = identity.customerPart;
    job.operatorName = identity.operatorName;
    job.date = identity.date;
    job.note = identity.note;
    job.unitCaption = w.UnitCaption();
    job.boards = w.GivenBoards();
    job.boards2 = w.GivenBoards2();
    content = report::MakeReportContent(job, company, holes1, holes2);
    return true;
}

} // namespace

void ReportCommand(JobWindow& w, ReportOutput output) {
    if (!w.UpdateJobCommands()) {
        QMessageBox::information(w.Parent(), QStringLiteral("Vorn"), JobInvalidMessage(),
                                 QMessageBox::Ok);
        return;
    }
    WorkRow* jobRow = w.JobRow();
    jobRow->CommitFields();
    const bool twoSize = jobRow->Number("Panel2") != 0;
    const QString templatePath = report::TemplatePath(w.ProgramDir(), twoSize);
    if (output == ReportOutput::Workbook && !QFileInfo::exists(templatePath)) {
        QMessageBox::warning(w.Parent(), QStringLiteral("Vorn"), report::TemplateMissingMessage(),
                             QMessageBox::Ok);
        return;
    }
    report::ReportContent content;
    if (!GatherReport(w, content))
        return;
    QString error;
    switch (output) {
    case ReportOutput::Workbook: {
        const QString folder = QDir(QDir::tempPath()).filePath(QStringLiteral("Vorn"));
        const QString path = QDir(folder).filePath(ReportFileName(w.Identity().partNumber, "xlsx"));
        if (!QDir().mkpath(folder)) {
            QMessageBox::critical(
                w.Parent(), QStringLiteral("Vorn"),
                QCoreApplication::translate("JobCommands", "临时文件夹 %1 无法建立，报表没有导出。")
                    .arg(QDir::toNativeSeparators(folder)));
            return;
        }
        if (!report::WriteReportWorkbook(content, templatePath, path, &error)) {
            // A failed build shows its own text in a plain box.
            QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Vorn"), error, QMessageBox::Ok,
                            w.Parent());
            box.exec();
            return;
        }
        const QString written = QCoreApplication::translate("JobCommands", "报表已写入 %1")
                                    .arg(QDir::toNativeSeparators(path));
        w.ShowStatus(written);
        if (vorn::OpenWithDesktop(path))
            return;
        // No spreadsheet program: say where the workbook is and let it be kept.
        QMessageBox box(QMessageBox::Information, QStringLiteral("Vorn"),
                        QCoreApplication::translate(
                            "JobCommands", "没有可以打开工作簿的电子表格程序。报表已保存在：\n%1")
                            .arg(QDir::toNativeSeparators(path)),
                        QMessageBox::Ok, w.Parent());
        box.setObjectName(QStringLiteral("ReportSavedBox"));
        QPushButton* saveAs = box.addButton(QCoreApplication::translate("JobCommands", "另存为…"),
                                            QMessageBox::ActionRole);
        box.exec();
        if (box.clickedButton() != saveAs)
            return;
        const QString target = QFileDialog::getSaveFileName(
            w.Parent(), QCoreApplication::translate("JobCommands", "另存为"),
            QDir(vorn::LastFolder(vorn::FileKind::Reports)).filePath(QFileInfo(path).fileName()),
            QCoreApplication::translate("JobCommands", "Excel 工作簿 (*.xlsx)"));
        vorn::RememberFolder(vorn::FileKind::Reports, target);
        if (!target.isEmpty() && !vorn::SafeCopyFile(path, target, &error))
            QMessageBox::critical(w.Parent(), QStringLiteral("Vorn"), error);
        return;
    }
    case ReportOutput::Print: {
        QPrinter printer(QPrinter::HighResolution);
        if (!report::PrintReportWithDialog(w.Parent(), printer, content, &error) &&
            !error.isEmpty())
            QMessageBox::critical(w.Parent(), QStringLiteral("Vorn"), error);
        return;
    }
    case ReportOutput::Preview: {
        QPrinter printer(QPrinter::HighResolution);
        report::PreviewReport(w.Parent(), printer, content);
        return;
    }
    case ReportOutput::Pdf: {
        QFileDialog dialog(w.Parent(), QCoreApplication::translate("JobCommands", "导出PDF"));
        dialog.setObjectName(QStringLiteral("SaveReportPdfDialog"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setNameFilter(QStringLiteral("PDF (*.pdf)"));
        dialog.setDefaultSuffix(QStringLiteral("pdf"));
        vorn::StartInLastFolder(dialog, vorn::FileKind::Reports);
        dialog.selectFile(ReportFileName(w.Identity().partNumber, "pdf"));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return;
        const QString file = dialog.selectedFiles().first();
        vorn::RememberFolder(vorn::FileKind::Reports, file);
        if (!report::WriteReportPdf(content, file, &error))
            QMessageBox::critical(w.Parent(), QStringLiteral("Vorn"), error);
        else
            w.ShowStatus(QCoreApplication::translate("JobCommands", "报表已写入 %1")
                             .arg(QDir::toNativeSeparators(file)));
        return;
    }
    }
}

} // namespace vorn
