// vornplan search: the panel search of a job file, printed as CSV rows.

#include "Command.h"
#include "JobInput.h"
#include "PanelSearch.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const char* const kHelp =
    "usage: vornplan search [--mm] [--stats] JOBFILE\n"
    "\n"
    "Runs the panel search of the job and prints the result rows as CSV in\n"
    "their Number order (by Base_down, then Panel_down), after this header:\n"
    "  Number,Set_L,Set_W,Set_C,Panel_L,Panel_W,Border_L,Border_W,Set_La,Set_Wb,\n"
    "  Set_Lb,Set_Wa,Set_sLa,Set_sWb,Up,Panel,Panel_lv,P_La,P_Wb,P_Lb,P_Wa,P_sLa,\n"
    "  P_sWb,P_up,Panel_N,Base_L,Base_W,Base_lv,Base_down,Panel_down,Panel_L2,\n"
    "  Panel_W2,Border_L2,Border_W2,Set_La2,Set_Wb2,Set_Lb2,Set_Wa2,Set_sLa2,\n"
    "  Set_sWb2,Up2,Panel2,Panel_lv2,P_La2,P_Wb2,P_Lb2,P_Wa2\n"
    "(one line). Reals are written in the shortest form that reads back as the\n"
    "same double (so compare outputs by value: earlier versions wrote %.17g);\n"
    "null fields are empty (the panel-2 fields of a single-size row, P_sLa and\n"
    "P_sWb of a two-size row).\n"
    "\n"
    "The job file holds Name=Value lines (names in any case; blank lines and\n"
    "lines starting with '#' are ignored; unknown names are ignored):\n"
    "  Set_L, Set_W, Set_C, BorderX_L, BorderX_W, Min_PL, Min_PW, Max_PL,\n"
    "  Max_PW, PLPW_ratio, Min_lv        numbers, required, not negative\n"
    "  PanelNumber                       panel kinds, 1 or 2 (absent: 1)\n"
    "  AUTOPanel, GoodBase, BothPanel, BothBase\n"
    "                                    on only when exactly True (absent: off)\n"
    "  Sheet=LxW                         one line per enabled sheet, inches\n"
    "  Preset=LxW                        enabled panel presets in order, inches\n"
    "\n"
    "  --mm     the job's lengths (Set_*, BorderX_*, Min_P*, Max_P*) are\n"
    "           millimetres and the rows are written in millimetres; Sheet and\n"
    "           Preset lines stay in inches\n"
    "  --stats  print the search's counts and stage times to standard error\n"
    "\n"
    "Exit status: 0 done; 1 the job is refused (a board size of 0, no enabled\n"
    "sheet: the program's message on standard error, no CSV); 2 bad arguments\n"
    "or a missing or malformed value in the job file.\n";

double Ms(std::chrono::nanoseconds d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

int Run(int argc, char** argv) {
    vornplan::JobArguments args;
    if (auto exit = vornplan::ParseJobArguments("search", argc, argv, kHelp, true, args))
        return *exit;
    vorn::PanelJob job;
    if (auto exit = vornplan::LoadPanelJob("search", args.path, job))
        return *exit;
    vorn::CollectedRows sink;
    vorn::NoProgress progress;
    vorn::SearchStats st;
    const auto t0 = std::chrono::steady_clock::now();
    vorn::RunPanelSearch(job, vornplan::UnitOf(args), sink, progress, &st);
    const auto t1 = std::chrono::steady_clock::now();
    vorn::SortAndNumber(sink.rows);
    const auto t2 = std::chrono::steady_clock::now();

    // One buffer, one write.
    std::string out = vornplan::CsvHeader(vorn::ResultRow{}) + '\n';
    out.reserve(out.size() + sink.rows.size() * 400);
    vornplan::CsvColumnCache cache;
    for (const vorn::ResultRow& r : sink.rows) {
        vornplan::AppendCsvRow(out, r, &cache);
        out += '\n';
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    const auto t3 = std::chrono::steady_clock::now();
    if (args.stats) {
        std::fprintf(stderr,
                     "candidates generated: %lld\ncandidates evaluated: %lld\n"
                     "LayoutPieces calls: %lld\nprogress steps: %lld\nrows written: %lld\n"
                     "Temp_inner size: %lld\npairs tried: %lld\npairs ruled out by bounds: %lld\n"
                     "time single-size stage: %.3f ms\ntime two-size stage: %.3f ms\n"
                     "time sort and number: %.3f ms\ntime CSV: %.3f ms\ntime total: %.3f ms\n",
                     static_cast<long long>(st.candidatesGenerated),
                     static_cast<long long>(st.candidatesEvaluated),
                     static_cast<long long>(st.layoutCalls),
                     static_cast<long long>(st.progressSteps),
                     static_cast<long long>(st.rowsWritten), static_cast<long long>(st.innerSize),
                     static_cast<long long>(st.pairsTried), static_cast<long long>(st.pairsBounded),
                     Ms(st.singleTime), Ms(st.pairTime), Ms(t2 - t1), Ms(t3 - t2), Ms(t3 - t0));
    }
    return std::fflush(stdout) == 0 ? 0 : 2;
}

vornplan::RegisterCommand reg{{"search", "panel search of a job file, rows as CSV", Run}};

} // namespace
