// vornplan cam: the DXF drawing and the board placement list of one plan,
// the same files the main window writes for the picked plan.

#include "CamExport.h"
#include "Command.h"
#include "JobInput.h"
#include "PanelSearch.h"
#include "PlanArguments.h"
#include "PlanRow.h"
#include "ToolingWork.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

int Fail(const QString& message, int code) {
    std::fprintf(stderr, "vornplan cam: %s\n", qPrintable(message));
    return code;
}

// The plan row's columns with the picked array in the job's array columns,
// as the hand-over to the panel search puts it there.
vorn::PlanFields WithArray(const vorn::PlanFields& plan, const vorn::ArrayRow& a) {
    const std::map<std::string, double> array{
        {"Part_L", a.Part_L},           {"Part_W", a.Part_W},           {"Part_C", a.Part_C},
        {"SetBorder_L", a.SetBorder_L}, {"SetBorder_W", a.SetBorder_W}, {"Part_La", a.Part_La},
        {"Part_Wb", a.Part_Wb},         {"Part_Lb", a.Part_Lb},         {"Part_Wa", a.Part_Wa},
        {"PanelCu", a.Panel},           {"Panel_lvCu", a.Panel_lv}};
    return {[plan, array](const char* c) {
                const auto it = array.find(c);
                return it == array.end() ? plan.number(c) : it->second;
            },
            plan.text};
}

int Run(int argc, char** argv) {
    int appArgc = 1;
    const auto app = vornplan::DrawingApplication(appArgc, argv);

    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral(
        "Writes the DXF drawing (AutoCAD 2000) of one result row of a job's search: panel\n"
        "outlines, every board, the tooling holes, the sheet with its cuts, the array with\n"
        "its units and dimensions, in the job's unit; with --placements also the board\n"
        "placement list (CSV: panel,board,x,y,length,width,rotated).\n"
        "  vornplan cam --job FILE --row N [--mm] [--db PATH] [--array FILE --array-row M]\n"
        "               -o plan.dxf [--placements boards.csv]\n"
        "Exit status: 0 written; 1 a file could not be written (an old file stays as it\n"
        "was) or the job is refused; 2 bad arguments, a malformed job, a missing row or an\n"
        "unreadable database."));
    p.addHelpOption();
    const auto opt = [&p](const char* name, const char* help, const char* value) {
        p.addOption(QCommandLineOption(QString::fromLatin1(name), QString::fromUtf8(help),
                                       QString::fromLatin1(value)));
    };
    vornplan::AddPlanRowOptions(p);
    opt("array",
        "Array job file (as vornplan arrays reads it): the picked array becomes the board.",
        "file");
    opt("array-row", "Array row number in the sorted order (with --array).", "m");
    p.addOption(QCommandLineOption({QStringLiteral("o"), QStringLiteral("output")},
                                   QStringLiteral("The DXF file to write."),
                                   QStringLiteral("file")));
    opt("placements", "Also write the board placement list to this CSV file.", "file");

    if (auto exit = vornplan::ParseCommandLine("cam", p, argc, argv, {"job", "row", "output"}))
        return *exit;
    if (p.isSet(QStringLiteral("array")) != p.isSet(QStringLiteral("array-row")))
        return Fail(QStringLiteral("--array and --array-row go together"), 2);
    const QString out = p.value(QStringLiteral("output"));
    if (QFileInfo(out).suffix().toLower() != QLatin1String("dxf"))
        return Fail(QStringLiteral("-o: the drawing is a .dxf file, not '%1'").arg(out), 2);

    const bool mm = p.isSet(QStringLiteral("mm"));
    const auto unit = mm ? vorn::DisplayUnit::Millimetre : vorn::DisplayUnit::Inch;
    std::vector<vorn::ToolingPreset> panelPresets, arrayPresets;
    std::string dbError;
    const std::string db = vornplan::DatabaseOption(p);
    if (!vornplan::ReadPresetsFromFile(db, panelPresets, arrayPresets, dbError))
        return Fail(QString::fromStdString(dbError), 2);

    vorn::PanelJob job;
    if (auto exit =
            vornplan::LoadPanelJob("cam", p.value(QStringLiteral("job")).toStdString(), unit, job))
        return *exit;
    std::optional<vorn::ArrayRow> array;
    if (p.isSet(QStringLiteral("array"))) {
        vorn::ArrayJob arrayJob;
        if (auto exit = vornplan::LoadArrayJob(
                "cam", p.value(QStringLiteral("array")).toStdString(), unit, arrayJob))
            return *exit;
        vorn::CollectedArrays arrays;
        vorn::NoProgress progress;
        vorn::RunArraySearch(arrayJob, unit, arrays, progress);
        vorn::SortAndNumber(arrays.rows);
        vorn::ArrayRow picked;
        if (!vornplan::PickRow(arrays.rows, p.value(QStringLiteral("array-row")), picked))
            return Fail(QStringLiteral("--array-row: the array search gave rows 1 to %1, not '%2'")
                            .arg(arrays.rows.size())
                            .arg(p.value(QStringLiteral("array-row"))),
                        2);
        // The hand-over: the array is the board of the panel search.
        job.Set_L = picked.Set_L;
        job.Set_W = picked.Set_W;
        array = picked;
    }
    vorn::ResultRow row;
    if (auto exit = vornplan::SearchRow("cam", job, unit, p.value(QStringLiteral("row")), row))
        return *exit;
    vorn::PlanFields fields = vornplan::FieldsOf(row);
    if (array)
        fields = WithArray(fields, *array);

    // Holes as vornplan holes places them; one without a place is left out.
    std::map<std::string, std::vector<vorn::ToolingHole>> holes;
    for (const vorn::PlacedHole& h : vorn::ComputeToolingHoles(
             panelPresets, arrayPresets, vorn::OutlinesOf(fields.number), vorn::UnitFactor(unit)))
        if (h.Xcoordinate && h.Ycoordinate)
            holes[h.PanelType].push_back(
                {h.SerialNumber, *h.Xcoordinate, *h.Ycoordinate, h.Diameter});
    // A row laid out beyond the blocks carries its boards (panel 2's too, and
    // the array its units).
    const vorn::CamPlan plan =
        vorn::CamPlanOf(fields, mm, holes["Panel1"], holes["Panel2"], holes["Array"], *row.boards,
                        array ? *array->units : std::vector<vorn::Placement>{},
                        row.second ? *row.second->boards : std::vector<vorn::Placement>{});

    QString error;
    if (!vorn::WriteCamDxf(plan, out, &error))
        return Fail(error, 1);
    std::printf("wrote %s (row %d)\n", qPrintable(out), row.Number);
    if (p.isSet(QStringLiteral("placements"))) {
        const QString csv = p.value(QStringLiteral("placements"));
        if (!vorn::WritePlacementCsv(plan, csv, &error))
            return Fail(error, 1);
        std::printf("wrote %s\n", qPrintable(csv));
    }
    return 0;
}

vornplan::RegisterCommand reg{
    {"cam", "DXF drawing and board placement list of one row (.dxf, .csv)", Run}};

} // namespace
