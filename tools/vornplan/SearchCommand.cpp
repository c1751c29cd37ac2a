// vornplan search: the panel search of a job file, printed as CSV rows.

#include "Command.h"
#include "GivenPanel.h"
#include "JobInput.h"
#include "PanelSearch.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const char* const kHelp =
    "usage: vornplan search [--mm] [--stats] [--minimize-borders] JOBFILE\n"
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
    "lines starting with '#' are ignored; a name given twice, other than Sheet\n"
    "and Preset, and an unknown name are refused, naming the line):\n"
    "  Set_L, Set_W, Set_C, BorderX_L, BorderX_W, Min_PL, Min_PW, Max_PL,\n"
    "  Max_PW, PLPW_ratio, Min_lv        numbers, required (allowed ranges below)\n"
    "  PanelNumber                       panel kinds, 1 or 2 (absent: 1)\n"
    "  BestPacking                       Off, Routed or VScored in any letter\n"
    "                                    case (absent: Off): with BothPanel,\n"
    "                                    each single-size panel whose upper\n"
    "                                    bound leaves room above the block\n"
    "                                    layout is laid out beyond the blocks\n"
    "                                    where that holds more boards (its\n"
    "                                    block counts are then 0)\n"
    "  AUTOPanel, GoodBase, BothPanel, BothBase\n"
    "                                    True or False in any letter case\n"
    "                                    (absent: off)\n"
    "  Sheet=LxW                         one line per enabled sheet, inches\n"
    "  Preset=LxW                        enabled panel presets in order, inches\n"
    "\n"
    "  --mm     the job's lengths (Set_*, BorderX_*, Min_P*, Max_P*) are\n"
    "           millimetres and the rows are written in millimetres; Sheet and\n"
    "           Preset lines stay in inches\n"
    "  --stats  print the search's counts and stage times to standard error\n"
    "  --minimize-borders\n"
    "           shrink every row's panels to the minimum margins BorderX_L,\n"
    "           BorderX_W afterwards, as the program's \"所有Panel边距补偿\" does\n"
    "           (sizes, margins and utilizations change; order and keys stay)\n"
    "\n"
    "Lines may end in CR LF, LF or CR; a UTF-8 byte order mark is passed over.\n"
    "\n"
    "Allowed values (in millimetres with --mm: the inch bounds times 25.4):\n"
    "  Set_L, Set_W, sheet and preset sides     0.001 to 10000 in\n"
    "  Set_C, BorderX_L, BorderX_W, Min_PL, Min_PW, Max_PL, Max_PW\n"
    "                                           0 to 10000 in (0: none)\n"
    "  PLPW_ratio                               at least 1 (any ratio above\n"
    "                                           every possible one is no limit)\n"
    "  Min_lv                                   0 to 100\n"
    "and at most 2000 boards along a side of the largest panel the limits (or\n"
    "the presets) allow, at most 2000 panels of the smallest size along a sheet\n"
    "side. Automatic panels of boards under 5 mm on the shorter side are also\n"
    "refused when the search is estimated to need more than 30 s or 2000 MB\n"
    "(the message names panel limits that would do); boards of 5 mm or more\n"
    "are never refused for the search's cost.\n"
    "\n"
    "The search uses a second core where there is one; the rows, their order\n"
    "and the counts are the same on one thread. VORN_THREADS=1 in the\n"
    "environment keeps it on one thread.\n"
    "\n"
    "Exit status: 0 done; 1 the job is refused (a board size of 0, no enabled\n"
    "sheet: the program's message on standard error, no CSV) or more than\n"
    "1500000 plans reach Min_lv (too many to hold in memory; no CSV); 2 bad arguments,\n"
    "a missing or malformed value in the job file, or a value outside the\n"
    "allowed ranges (one line on standard error naming the field and the\n"
    "range), or standard output that cannot be written (a full disk: one line\n"
    "on standard error, the CSV is incomplete); 130 interrupted (Ctrl+C or\n"
    "SIGTERM: the process ends at once with one line on standard error; no CSV\n"
    "unless it was being written).\n";

double Ms(std::chrono::nanoseconds d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

int Run(int argc, char** argv) {
    // Its own option first; the rest are those of every job command.
    bool minimize = false;
    std::vector<char*> rest;
    for (int i = 0; i < argc; ++i) {
        if (i > 0 && std::string(argv[i]) == "--minimize-borders")
            minimize = true;
        else
            rest.push_back(argv[i]);
    }
    // Ctrl+C is caught from the start, so it never kills the process mid-way.
    vornplan::InterruptibleProgress progress("search");
    vornplan::JobArguments args;
    if (auto exit =
            vornplan::ParseJobArguments("search", int(rest.size()), rest.data(), kHelp, true, args))
        return *exit;
    vorn::PanelJob job;
    if (auto exit = vornplan::LoadPanelJob("search", args.path, vornplan::UnitOf(args), job))
        return *exit;
    vorn::CollectedRows sink;
    vorn::SearchStats st;
    const auto t0 = std::chrono::steady_clock::now();
    try {
        vorn::RunPanelSearch(job, vornplan::UnitOf(args), sink, progress, &st);
    } catch (const vorn::SearchCancelled&) {
        return vornplan::Interrupted("search");
    } catch (const vorn::SearchTooLarge& e) {
        std::fprintf(stderr,
                     "vornplan search: more than %lld plans reach Min_lv = %g %%: too many to "
                     "hold in memory; raise Min_lv or lower Max_PL and Max_PW\n",
                     static_cast<long long>(e.Rows()), job.Min_lv);
        return 1;
    }
    const auto t1 = std::chrono::steady_clock::now();
    vorn::SortAndNumber(sink.rows);
    if (minimize) {
        for (vorn::ResultRow& r : sink.rows)
            vorn::MinimizeBorders(r, job.BorderX_L, job.BorderX_W);
    }
    const auto t2 = std::chrono::steady_clock::now();

    const int writeError = vornplan::WriteCsv(stdout, sink.rows);
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
        if (job.packing != vorn::PackingOption::Off)
            std::fprintf(stderr,
                         "best packing: sizes with room %lld, laid out %lld, with more boards "
                         "%lld (%lld boards), left to the blocks %lld, solver steps %lld\n"
                         "time best packing: %.3f ms\n",
                         static_cast<long long>(st.packRoom), static_cast<long long>(st.packSolved),
                         static_cast<long long>(st.packGained),
                         static_cast<long long>(st.packBoards),
                         static_cast<long long>(st.packSkipped),
                         static_cast<long long>(st.packSteps), Ms(st.packTime));
    }
    return vornplan::OutputStatus("search", writeError);
}

vornplan::RegisterCommand reg{{"search", "panel search of a job file, rows as CSV", Run}};

} // namespace
