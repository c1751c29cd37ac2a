// vornplan panel: the plan of a typed panel size, without a search.

#include "Command.h"
#include "GivenPanel.h"
#include "InputDomain.h"
#include "JobFile.h"
#include "JobInput.h"
#include "PlanArguments.h"

#include <cstdio>
#include <fstream>
#include <string>

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
    "panel size, or a database that cannot be read.\n";

int Run(int argc, char** argv) {
    vornplan::PlanArguments args;
    if (auto exit = vornplan::ParsePlanArguments("panel", argc, argv, kHelp, {"--panel"}, args))
        return *exit;
    double pl = 0, pw = 0;
    if (!vornplan::ParseSize(args.panel, pl, pw)) {
        std::fprintf(stderr, "vornplan panel: --panel needs LxW with two numbers, not '%s'\n",
                     args.panel.c_str());
        return 2;
    }
    std::ifstream file;
    if (auto exit = vornplan::OpenJobFile("panel", args.job, file))
        return *exit;
    vorn::PanelJob job;
    if (const std::string e = vorn::ReadPanelJob(file, job); !e.empty()) {
        std::fprintf(stderr, "vornplan panel: %s: %s\n", args.job.c_str(), e.c_str());
        return 2;
    }
    vorn::GivenPanelJob in;
    in.Set_L = job.Set_L;
    in.Set_W = job.Set_W;
    in.Set_C = job.Set_C;
    in.BorderX_L = job.BorderX_L;
    in.BorderX_W = job.BorderX_W;
    in.Panel_L = pl;
    in.Panel_W = pw;
    in.BothPanel = job.BothPanel;
    in.BothBase = job.BothBase;
    in.packing = job.packing;
    in.sheets = job.sheets;
    if (!args.db.empty()) {
        std::string error;
        if (!vornplan::ReadSheetsFromFile(args.db, in.sheets, error)) {
            std::fprintf(stderr, "vornplan panel: %s\n", error.c_str());
            return 2;
        }
    }
    if (const std::string why = vorn::GivenPanelRefusal(in); !why.empty()) {
        std::fprintf(stderr, "%s\n", why.c_str());
        return 1;
    }
    const vorn::DisplayUnit unit =
        args.mm ? vorn::DisplayUnit::Millimetre : vorn::DisplayUnit::Inch;
    if (const std::string why = vorn::GivenPanelDomainError(in, unit); !why.empty()) {
        std::fprintf(stderr, "vornplan panel: %s\n", why.c_str());
        return 2;
    }
    const vorn::ResultRow r = vorn::PanelizeGivenPanel(in, unit);
    const std::string out = vornplan::CsvHeader(r) + '\n' + vornplan::CsvRow(r) + '\n';
    std::fwrite(out.data(), 1, out.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 2;
}

vornplan::RegisterCommand reg{{"panel", "plan of a typed panel size, one row as CSV", Run}};

} // namespace
