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
    "numbers, not negative: Part_L, Part_W, Part_C, SetBorder_L, SetBorder_W,\n"
    "Min_SetL, Min_SetW, Max_SetL, Max_SetW.\n"
    "\n"
    "  --mm     the job's lengths are millimetres and so are the rows\n"
    "\n"
    "Exit status: 0 done; 1 the job is refused (a unit size of 0: the program's\n"
    "message on standard error, no CSV); 2 bad arguments or a missing or\n"
    "malformed value in the job file.\n";

int Run(int argc, char** argv) {
    vornplan::JobArguments args;
    if (auto exit = vornplan::ParseJobArguments("arrays", argc, argv, kHelp, false, args))
        return *exit;
    vorn::ArrayJob job;
    if (auto exit = vornplan::LoadArrayJob("arrays", args.path, job))
        return *exit;
    vorn::CollectedArrays sink;
    vorn::NoProgress progress;
    vorn::RunArraySearch(job, vornplan::UnitOf(args), sink, progress);
    vorn::SortAndNumber(sink.rows);
    std::printf("%s\n", vornplan::CsvHeader(vorn::ArrayRow{}).c_str());
    for (const vorn::ArrayRow& r : sink.rows)
        std::printf("%s\n", vornplan::CsvRow(r).c_str());
    return std::fflush(stdout) == 0 ? 0 : 2;
}

vornplan::RegisterCommand reg{
    {"arrays", "array composition search of a job file, rows as CSV", Run}};

} // namespace
