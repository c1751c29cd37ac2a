// vornplan report: the plan report of one search row as a workbook or a PDF,
// the same report the main window exports and prints.

#include "Command.h"
#include "PlanArguments.h"
#include "PlanRow.h"
#include "ReportPaint.h"
#include "ReportWorkbook.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDate>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>
#include <vector>

namespace {

int Fail(const QString& message, int code) {
    std::fprintf(stderr, "vornplan report: %s\n", qPrintable(message));
    return code;
}

int Run(int argc, char** argv) {
    int appArgc = 1;
    const auto app = vornplan::DrawingApplication(appArgc, argv);

    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral(
        "Writes the plan report of one result row of a job's search: a workbook made from\n"
        "the template beside the program (.xlsx) or the report page as a PDF (.pdf).\n"
        "  vornplan report --job FILE --row N [--mm] [--db PATH] [--company TEXT] -o "
        "FILE.xlsx|FILE.pdf"));
    p.addHelpOption();
    auto opt = [&p](const char* name, const char* help, const char* value) {
        p.addOption(QCommandLineOption(QString::fromLatin1(name), QString::fromUtf8(help),
                                       QString::fromLatin1(value)));
    };
    vornplan::AddPlanRowOptions(p);
    opt("company", "Company name for the page (default: the placeholder).", "text");
    opt("part", "Part number.", "text");
    opt("customer", "Customer part number.", "text");
    opt("layer", "Layer count.", "n");
    opt("operator", "Operator.", "text");
    opt("note", "Note.", "text");
    p.addOption(QCommandLineOption({QStringLiteral("o"), QStringLiteral("output")},
                                   QStringLiteral("The report: .xlsx or .pdf."),
                                   QStringLiteral("file")));

    if (auto exit = vornplan::ParseCommandLine("report", p, argc, argv, {"job", "row", "output"}))
        return *exit;
    const QString out = p.value(QStringLiteral("output"));
    const QString suffix = QFileInfo(out).suffix().toLower();
    if (suffix != QLatin1String("xlsx") && suffix != QLatin1String("pdf"))
        return Fail(QStringLiteral("-o: the report is a .xlsx or a .pdf file, not '%1'").arg(out),
                    2);
    int layer = 0;
    if (p.isSet(QStringLiteral("layer"))) {
        bool ok = false;
        layer = p.value(QStringLiteral("layer")).toInt(&ok);
        if (!ok || layer < 0)
            return Fail(QStringLiteral("--layer: '%1' is not a layer count")
                            .arg(p.value(QStringLiteral("layer"))),
                        2);
    }

    const bool mm = p.isSet(QStringLiteral("mm"));
    vorn::ResultRow row;
    if (auto exit = vornplan::SearchRow("report", p.value(QStringLiteral("job")).toStdString(), mm,
                                        p.value(QStringLiteral("row")), row))
        return *exit;
    const vorn::PlanFields fields = vornplan::FieldsOf(row);
    vorn::report::ReportJob job;
    job.plan = {[fields, layer](const char* c) {
                    return QByteArray(c) == "Layer" ? double(layer) : fields.number(c);
                },
                fields.text};
    job.partNumber = p.value(QStringLiteral("part"));
    job.customerPart = p.value(QStringLiteral("customer"));
    job.operatorName = p.value(QStringLiteral("operator"));
    job.note = p.value(QStringLiteral("note"));
    job.date = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
    job.unitCaption = mm ? QStringLiteral("mm") : QStringLiteral("Inch");
    job.boards = *row.boards; // a row laid out beyond the blocks
    if (row.second)
        job.boards2 = *row.second->boards;
    std::vector<vorn::PlacedHole> holes;
    std::string dbError;
    const std::string db = vornplan::DatabaseOption(p);
    if (!vornplan::PlaceHolesFromFile(db, fields.number, mm, holes, dbError))
        return Fail(QString::fromStdString(dbError), 2);
    const vorn::report::ReportContent content = vorn::report::MakeReportContent(
        job, p.value(QStringLiteral("company")), vornplan::HolesOfType(holes, "Panel1"),
        vornplan::HolesOfType(holes, "Panel2"));

    QString error;
    if (suffix == QLatin1String("pdf")) {
        if (!vorn::report::WriteReportPdf(content, out, &error))
            return Fail(error, 1);
    } else {
        const QString templatePath =
            vorn::report::TemplatePath(QCoreApplication::applicationDirPath(), content.twoSize);
        if (!QFileInfo::exists(templatePath))
            return Fail(vorn::report::TemplateMissingMessage() + QStringLiteral(" (") +
                            templatePath + u')',
                        1);
        if (!vorn::report::WriteReportWorkbook(content, templatePath, out, &error))
            return Fail(error, 1);
    }
    std::printf("wrote %s (row %d, %s)\n", qPrintable(out), row.Number,
                content.twoSize ? "two panel sizes" : "one panel size");
    return 0;
}

vornplan::RegisterCommand reg{{"report", "write the plan report of one row (.xlsx or .pdf)", Run}};

} // namespace
