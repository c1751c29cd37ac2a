// vornplan holes: the tooling holes of one result row of a job's search.

#include "Command.h"
#include "JobInput.h"
#include "PanelSearch.h"
#include "PlanArguments.h"
#include "PlanRow.h"
#include "Tooling.h"
#include "ToolingWork.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const char* const kHelp =
    "usage: vornplan holes --job FILE --row N [--mm] [--db PATH]\n"
    "\n"
    "Runs the panel search of the job (the job file of 'vornplan search'), takes\n"
    "result row N (its Number, 1 = the best) as the picked plan and prints the\n"
    "tooling holes the program places on it, as CSV after the header\n"
    "  PanelType,SerialNumber,Xcoordinate,Ycoordinate,Diameter\n"
    "Panel1 holes first, then Panel2 (two-size rows), each numbered by Y, then X.\n"
    "Coordinates are from the panel's top-left corner, X along its length; reals\n"
    "as %.17g; a preset without a known reference leaves both coordinates empty.\n"
    "\n"
    "  --mm       the job is in millimetres and so are the holes (the presets\n"
    "             stay inches in the database)\n"
    "  --db PATH  the database holding the tooling presets (SetTooling); default\n"
    "             the Vorn.mdb beside this program\n"
    "\n"
    "Exit status: 0 done; 1 the job is refused (its message on standard error);\n"
    "2 bad arguments, a malformed job file, a row that does not exist, a\n"
    "database that cannot be read or standard output that cannot be written.\n";

int Run(int argc, char** argv) {
    vornplan::PlanArguments args;
    if (auto exit = vornplan::ParsePlanArguments("holes", argc, argv, kHelp, {"--row"}, args))
        return *exit;
    char* end = nullptr;
    const long n = std::strtol(args.row.c_str(), &end, 10);
    if (!end || *end != '\0' || n < 1) {
        std::fprintf(stderr, "vornplan holes: --row needs a row number from 1 on, not '%s'\n",
                     args.row.c_str());
        return 2;
    }
    std::vector<vorn::ToolingPreset> panel, array;
    std::string error;
    const std::string db = args.db.empty() ? vornplan::ProgramDatabase() : args.db;
    if (!vornplan::ReadPresetsFromFile(db, panel, array, error)) {
        std::fprintf(stderr, "vornplan holes: %s\n", error.c_str());
        return 2;
    }
    const auto unit = args.mm ? vorn::DisplayUnit::Millimetre : vorn::DisplayUnit::Inch;
    vorn::PanelJob job;
    if (auto exit = vornplan::LoadPanelJob("holes", args.job, unit, job))
        return *exit;
    vorn::CollectedRows sink;
    vorn::NoProgress progress;
    vorn::RunPanelSearch(job, unit, sink, progress);
    vorn::SortAndNumber(sink.rows);
    if (n > long(sink.rows.size())) {
        std::fprintf(stderr, "vornplan holes: the search gave %zu rows; there is no row %ld\n",
                     sink.rows.size(), n);
        return 2;
    }
    const vorn::ResultRow& r = sink.rows[size_t(n - 1)];
    const auto holes = vorn::ComputeToolingHoles(
        panel, array, vorn::OutlinesOf(vornplan::FieldsOf(r).number), vorn::UnitFactor(unit));
    std::string out = "PanelType,SerialNumber,Xcoordinate,Ycoordinate,Diameter\n";
    auto real = [](double v) {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.17g", v);
        return std::string(buf);
    };
    for (const vorn::PlacedHole& h : holes) {
        out += h.PanelType + ',' + std::to_string(h.SerialNumber) + ',' +
               (h.Xcoordinate ? real(*h.Xcoordinate) : std::string()) + ',' +
               (h.Ycoordinate ? real(*h.Ycoordinate) : std::string()) + ',' + real(h.Diameter) +
               '\n';
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return vornplan::OutputStatus("holes");
}

vornplan::RegisterCommand reg{{"holes", "tooling holes of one search result row, as CSV", Run}};

} // namespace
