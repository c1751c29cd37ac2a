// vornplan arrays: the array composition search of a job file, as CSV rows.

#include "Command.h"
#include "JobInput.h"
#include "PanelSearch.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

const char* const kHelp =
    "usage: vornplan arrays [--mm] JOBFILE\n"
    "\n"
    "Lists the grid arrays of units of the job as CSV in their Number order (by\n"
    "Panel_Down), after the header\n"
    "  Number,Part_L,Part_W,Part_C,SetBorder_L,SetBorder_W,Set_L,Set_W,Part_La,\n"
    "  Part_Wb,Part_Lb,Part_Wa,Panel,Panel_lv,Panel_Down\n"
    "(one line); reals in the shortest form that reads back as the same double.\n"
    "\n"
    "The job file holds Name=Value lines (names in any case; blank lines and\n"
    "lines starting with '#' are ignored; unknown names are ignored). Required\n"
    "numbers: Part_L, Part_W (0.001 to 10000 in), Part_C, SetBorder_L,\n"
    "SetBorder_W, Min_SetL, Min_SetW, Max_SetL, Max_SetW (0 to 10000 in), with\n"
    "at most 2000 units along a side of the largest array.\n"
    "Optional: BestPacking (Off, Routed or VScored in any letter case; Off when\n"
    "absent) lays each array out beyond the block routine where that holds more\n"
    "units (its block counts are then 0).\n"
    "\n"
    "  --mm     the job's lengths are millimetres and so are the rows\n"
    "\n"
    "Exit status: 0 done; 1 the job is refused (a unit size of 0: the program's\n"
    "message on standard error, no CSV); 2 bad arguments, a missing or\n"
    "malformed value in the job file, a value outside the allowed ranges or\n"
    "standard output that cannot be written (a full disk: the CSV is then\n"
    "incomplete); 130 interrupted (Ctrl+C).\n";

int Run(int argc, char** argv) {
    // Ctrl+C is caught from the start, so it never kills the process mid-way.
    vornplan::InterruptibleProgress progress("arrays");
    vornplan::JobArguments args;
    if (auto exit = vornplan::ParseJobArguments("arrays", argc, argv, kHelp, false, args))
        return *exit;
    vorn::ArrayJob job;
    if (auto exit = vornplan::LoadArrayJob("arrays", args.path, vornplan::UnitOf(args), job))
        return *exit;
    vorn::CollectedArrays sink;
    try {
        vorn::RunArraySearch(job, vornplan::UnitOf(args), sink, progress);
    } catch (const vorn::SearchCancelled&) {
        return vornplan::Interrupted("arrays");
    }
    vorn::SortAndNumber(sink.rows);
    return vornplan::OutputStatus("arrays", vornplan::WriteCsv(stdout, sink.rows));
}

vornplan::RegisterCommand reg{
    {"arrays", "array composition search of a job file, rows as CSV", Run}};

} // namespace
