// vornplan arrays: the array composition search of a job file, as CSV rows.

#include "Command.h"
#include "JobFile.h"
#include "PanelSearch.h"

#include <cstdio>
#include <cstring>
#include <fstream>
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
    "(one line); reals as %.17g.\n"
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

class Collect : public vorn::ArraySink {
public:
    std::vector<vorn::ArrayRow> rows;
    void Write(const vorn::ArrayRow& r) override { rows.push_back(r); }
};

int Run(int argc, char** argv) {
    bool mm = false;
    const char* path = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            std::fputs(kHelp, stdout);
            return 0;
        }
        if (!std::strcmp(argv[i], "--mm"))
            mm = true;
        else if (!path && argv[i][0] != '-')
            path = argv[i];
        else {
            std::fprintf(stderr, "vornplan arrays: unexpected argument '%s'\n%s", argv[i], kHelp);
            return 2;
        }
    }
    if (!path) {
        std::fprintf(stderr, "vornplan arrays: no job file\n%s", kHelp);
        return 2;
    }
    std::ifstream in(path);
    if (!in) {
        std::fprintf(stderr, "vornplan arrays: cannot open '%s'\n", path);
        return 2;
    }
    vorn::ArrayJob job;
    if (const std::string e = vorn::ReadArrayJob(in, job); !e.empty()) {
        std::fprintf(stderr, "vornplan arrays: %s: %s\n", path, e.c_str());
        return 2;
    }
    if (const std::string refusal = vorn::ArrayJobRefusal(job); !refusal.empty()) {
        std::fprintf(stderr, "%s\n", refusal.c_str());
        return 1;
    }
    Collect sink;
    vorn::NoProgress progress;
    vorn::RunArraySearch(job, mm ? vorn::DisplayUnit::Millimetre : vorn::DisplayUnit::Inch, sink,
                         progress);
    vorn::SortAndNumber(sink.rows);
    std::printf("Number,Part_L,Part_W,Part_C,SetBorder_L,SetBorder_W,Set_L,Set_W,Part_La,Part_Wb,"
                "Part_Lb,Part_Wa,Panel,Panel_lv,Panel_Down\n");
    for (const vorn::ArrayRow& r : sink.rows)
        std::printf("%d,%.17g,%.17g,%.17g,%.17g,%.17g,%.17g,%.17g,%d,%d,%d,%d,%d,%.17g,%.17g\n",
                    r.Number, r.Part_L, r.Part_W, r.Part_C, r.SetBorder_L, r.SetBorder_W, r.Set_L,
                    r.Set_W, r.Part_La, r.Part_Wb, r.Part_Lb, r.Part_Wa, r.Panel, r.Panel_lv,
                    r.Panel_Down);
    return std::fflush(stdout) == 0 ? 0 : 2;
}

vornplan::RegisterCommand reg{
    {"arrays", "array composition search of a job file, rows as CSV", Run}};

} // namespace
