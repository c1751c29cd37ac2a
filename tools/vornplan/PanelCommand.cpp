// vornplan panel: the plan of a typed panel size, without a search.

#include "Command.h"
#include "GivenPanel.h"
#include "InputDomain.h"
#include "JobFile.h"
#include "JobInput.h"
#include "PlanArguments.h"
#include "PlanRow.h"

#include <cstdio>
#include <fstream>
#include <string>

namespace vornplan {

std::optional<int> GivenPanelRow(const char* command, const std::string& jobPath, bool mm,
                                 const std::string& panel, const std::string& db,
                                 vorn::ResultRow& out) {
    double pl = 0, pw = 0;
    if (!ParseSize(panel, pl, pw)) {
        std::fprintf(stderr, "vornplan %s: --panel needs LxW with two numbers, not '%s'\n", command,
                     panel.c_str());
        return 2;
    }
    std::ifstream file;
    if (auto exit = OpenJobFile(command, jobPath, file))
        return exit;
    vorn::PanelJob job;
    if (const std::string e = vorn::ReadPanelJob(file, job); !e.empty()) {
        std::fprintf(stderr, "vornplan %s: %s: %s\n", command, jobPath.c_str(), e.c_str());
        return 2;
    }
    vorn::GivenPanelJob in = vorn::GivenPanelOf(job, pl, pw);
    if (!db.empty()) {
        std::string error;
        if (!ReadSheetsFromFile(db, in.sheets, error)) {
            std::fprintf(stderr, "vornplan %s: %s\n", command, error.c_str());
            return 2;
        }
    }
    if (const std::string why = vorn::GivenPanelRefusal(in); !why.empty()) {
        std::fprintf(stderr, "%s\n", why.c_str());
        return 1;
    }
    const vorn::DisplayUnit unit = mm ? vorn::DisplayUnit::Millimetre : vorn::DisplayUnit::Inch;
    if (const std::string why = vorn::GivenPanelDomainError(in, unit); !why.empty()) {
        std::fprintf(stderr, "vornplan %s: %s\n", command, why.c_str());
        return 2;
    }
    out = vorn::PanelizeGivenPanel(in, unit);
    return std::nullopt;
}

} // namespace vornplan

namespace {

const char* const kHelp =
    "usage: vornplan panel --job FILE --panel LxW [--mm] [--db PATH]\n"
    "\n"
    "Lays the job's boards out on the typed panel as the program's \"拼 板\"\n"
    "command does (the panel keeps its size, the layout is centred; no panel\n"
    "limits, ratio or minimum utilization apply) and cuts it from the enabled\n"
    "sheet with the most panels per sheet area (the first wins ties). Prints\n"
    "the plan as one row in the CSV form of 'vornplan search' (Number 1, the\n"
    "panel-2 fields empty; Base_down and Panel_down are 100 / utilization, 0\n"
    "for a zero utilization). The job file is that of 'vornplan search'; Set_L,\n"
    "Set_W, Set_C, BorderX_L, BorderX_W, BothPanel, BothBase and the Sheet\n"
    "lines are used, and BestPacking (Off, Routed or VScored; Off when absent):\n"
    "with BothPanel, a layout beyond the block patterns where it holds more\n"
    "boards (the block counts are then 0).\n"
    "\n"
    "  --panel LxW  the typed panel, in the job's unit\n"
    "  --mm         the job and the panel are in millimetres, and so is the row\n"
    "  --db PATH    take the enabled sheets of this database (SetBase) instead\n"
    "               of the job file's Sheet lines\n"
    "\n"
    "Exit status: 0 done (also when no board fits: Panel 0); 1 the job is\n"
    "refused (a board or panel size of 0, no enabled sheet: the program's\n"
    "message on standard error); 2 bad arguments, a malformed job file or\n"
    "panel size, a database that cannot be read or standard output that\n"
    "cannot be written.\n";

int Run(int argc, char** argv) {
    vornplan::PlanArguments args;
    if (auto exit = vornplan::ParsePlanArguments("panel", argc, argv, kHelp, {"--panel"}, args))
        return *exit;
    vorn::ResultRow r;
    if (auto exit = vornplan::GivenPanelRow("panel", args.job, args.mm, args.panel, args.db, r))
        return *exit;
    const std::string out = vornplan::CsvHeader(r) + '\n' + vornplan::CsvRow(r) + '\n';
    std::fwrite(out.data(), 1, out.size(), stdout);
    return vornplan::OutputStatus("panel");
}

vornplan::RegisterCommand reg{{"panel", "plan of a typed panel size, one row as CSV", Run}};

} // namespace
