#include "SearchTestSupport.h"

#include "PackedLayouts.h"
#include "PanelSearch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

using namespace vorn;
using namespace vorn::searchtest;

// Stopping a search, the threads it runs on and its progress.

namespace {

// Cancels at a given step, as a confirmed Esc would.
class CancelAt : public SearchProgress {
public:
    explicit CancelAt(std::int64_t at) : at_(at) {}
    std::int64_t rowsAtCancel = -1;
    const CollectedRows* sink = nullptr;

protected:
    std::int64_t Check(std::int64_t steps) override {
        if (steps >= at_) {
            rowsAtCancel = static_cast<std::int64_t>(sink->rows.size());
            throw SearchCancelled();
        }
        return at_ - steps;
    }

private:
    std::int64_t at_;
};

} // namespace

namespace {

// Cancels the job at step `at`. Nothing is written after the cancel, and what
// was written is whole: the first rows of the full run `all`. Returns how
// many rows were written.
std::size_t CancelLeavesWholeRows(const PanelJob& job, std::int64_t at,
                                  const std::vector<ResultRow>& all) {
    CollectedRows sink;
    CancelAt progress(at);
    progress.sink = &sink;
    EXPECT_THROW(RunPanelSearch(job, DisplayUnit::Inch, sink, progress), SearchCancelled);
    EXPECT_EQ(progress.Steps(), at);
    EXPECT_EQ(static_cast<std::int64_t>(sink.rows.size()), progress.rowsAtCancel);
    EXPECT_LE(sink.rows.size(), all.size());
    const std::size_t n = std::min(sink.rows.size(), all.size());
    ExpectSameRows(std::vector<ResultRow>(sink.rows.begin(), sink.rows.begin() + n),
                   std::vector<ResultRow>(all.begin(), all.begin() + n));
    return sink.rows.size();
}

} // namespace

TEST(PanelSearch, CancelUnwindsTheWholeSearch) {
    PanelJob job = BaseJob();
    job.PanelNumber = "2";
    job.GoodBase = false;
    const auto all = Search(job);
    for (std::int64_t at : {1, 500, 3000, 20000})
        EXPECT_LT(CancelLeavesWholeRows(job, at, all), all.size());
}

namespace {

// Sets VORN_THREADS for the life of the object.
class Threads {
public:
    explicit Threads(const char* n) { setenv("VORN_THREADS", n, 1); }
    ~Threads() { unsetenv("VORN_THREADS"); }
};

// Where a window would look: the step count at every check, every 997 steps.
struct CheckLog : SearchProgress {
    std::vector<std::int64_t> at;
    std::int64_t Check(std::int64_t steps) override {
        at.push_back(steps);
        return 997;
    }
};

} // namespace

// A helper lays candidates out ahead and works panels 1 of the two-size
// stage out; the calling thread takes both in order: rows, counts and the
// steps a window sees are those of one thread. Small boards in "every sheet"
// mode have thousands of sizes (hundreds of chunks), tiny boards tens of
// thousands of candidates, a 14 mm board on panels up to 24 in more
// candidates than the search keeps layouts of (its table starts again, so
// the layouts it counts depend on the order they were added in); best-sheet
// jobs, presets and millimetres too.
TEST(PanelSearch, RowsDoNotDependOnTheThreads) {
    std::mt19937 rng(2718);
    std::size_t pairRows = 0;
    int manySizes = 0;
    std::int64_t packedBoards = 0;
    for (int t = 0; t < 11; ++t) {
        const DisplayUnit unit = t % 4 == 3 ? DisplayUnit::Millimetre : DisplayUnit::Inch;
        const double f = UnitFactor(unit);
        PanelJob job = SmallBoardsJob(rng, unit, t, 0.5, 1.1, {14, 10, 12, 9}, 65);
        job.AUTOPanel = t != 4;
        job.GoodBase = t % 3 == 0;
        job.sheets = kSheets;
        if (t >= 8) { // tiny boards: many candidates, laid out ahead by the helper
            job.Set_L = (t == 8 ? 0.15 : 0.12) * f;
            job.Set_W = 0.1 * f;
            job.Set_C = (t == 8 ? 0 : 0.02) * f;
            job.Max_PL = 5 * f;
            job.Max_PW = 4 * f;
            job.PanelNumber = "1";
        }
        if (t == 10) {
            job = SmallBoardJob(f, 0.571, 0.405, 0.05, 50, "1");
            job.GoodBase = false;
        }
        // The solver's allowance follows the search's counts: with it on
        // too, nothing may depend on which thread was ahead.
        if (t % 3 == 1)
            job.packing = PackingOption::Routed;
        CollectedRows one, two;
        CheckLog logOne, logTwo;
        SearchStats s1, s2;
        {
            Threads threads("1");
            RunPanelSearch(job, unit, one, logOne, &s1);
        }
        {
            Threads threads("2");
            RunPanelSearch(job, unit, two, logTwo, &s2);
        }
        SCOPED_TRACE(testing::Message() << "job " << t);
        ExpectSameRows(two.rows, one.rows);
        EXPECT_EQ(logTwo.at, logOne.at);
        EXPECT_EQ(s2.layoutCalls, s1.layoutCalls);
        EXPECT_EQ(s2.candidatesGenerated, s1.candidatesGenerated);
        EXPECT_EQ(s2.candidatesEvaluated, s1.candidatesEvaluated);
        EXPECT_EQ(s2.progressSteps, s1.progressSteps);
        EXPECT_EQ(s2.pairsTried, s1.pairsTried);
        EXPECT_EQ(s2.pairsBounded, s1.pairsBounded);
        EXPECT_EQ(s2.rowsWritten, s1.rowsWritten);
        EXPECT_EQ(s2.packSolved, s1.packSolved);
        EXPECT_EQ(s2.packSteps, s1.packSteps);
        EXPECT_EQ(s2.packBoards, s1.packBoards);
        packedBoards += s1.packBoards;
        for (const ResultRow& r : two.rows)
            pairRows += r.second.has_value();
        manySizes += s1.innerSize > 200;
    }
    EXPECT_GT(pairRows, 5000u);
    EXPECT_GE(manySizes, 4); // jobs of many chunks of panels 1
    EXPECT_GT(packedBoards, 0);
}

// A cancel while the helper works ends the search at once, leaves whole
// rows (the first of the full run), and the next search runs as usual.
TEST(PanelSearch, CancelDuringTheTwoSizeStageOnTwoThreads) {
    Threads threads("2");
    PanelJob job = BaseJob();
    job.Set_L = 0.9;
    job.Set_W = 0.7;
    job.Min_PL = job.Min_PW = 0;
    job.Max_PL = job.Max_PW = 12;
    job.Min_lv = 60;
    job.PanelNumber = "2";
    job.GoodBase = false;
    SearchStats full;
    const auto all = [&] {
        CollectedRows sink;
        NoProgress progress;
        RunPanelSearch(job, DisplayUnit::Inch, sink, progress, &full);
        return sink.rows;
    }();
    ASSERT_GT(full.innerSize, 500); // many chunks of panels 1
    // The first cancel comes while pair rows are still being written.
    EXPECT_LT(CancelLeavesWholeRows(job, full.progressSteps / 8, all), all.size());
    CancelLeavesWholeRows(job, full.progressSteps / 2, all);
    CollectedRows again;
    NoProgress progress;
    RunPanelSearch(job, DisplayUnit::Inch, again, progress);
    ExpectSameRows(again.rows, all);
}

// The same while candidates are laid out ahead in the single-size stage.
TEST(PanelSearch, CancelWhileCandidatesAreLaidOutAhead) {
    Threads threads("2");
    PanelJob job = BaseJob();
    job.Set_L = 0.12;
    job.Set_W = 0.1;
    job.Set_C = 0;
    job.Min_PL = job.Min_PW = 0;
    job.Max_PL = 5;
    job.Max_PW = 4;
    job.Min_lv = 60;
    SearchStats full;
    CollectedRows all;
    NoProgress quiet;
    RunPanelSearch(job, DisplayUnit::Inch, all, quiet, &full);
    ASSERT_GT(full.candidatesGenerated, 100000);
    for (std::int64_t at : {full.progressSteps / 5, full.progressSteps / 2})
        CancelLeavesWholeRows(job, at, all.rows);
    CollectedRows again;
    RunPanelSearch(job, DisplayUnit::Inch, again, quiet);
    ExpectSameRows(again.rows, all.rows);
}

// Steps taken in bulk reach the check points one by one would: a window sees
// the same counts and a cancel stops at the same step.
TEST(SearchProgress, AdvanceChecksWhereStepsWould) {
    struct Log : SearchProgress {
        std::vector<std::int64_t> at;
        std::int64_t Check(std::int64_t steps) override {
            at.push_back(steps);
            return 1 + steps % 7;
        }
    };
    Log one, bulk;
    std::mt19937 rng(5);
    for (int r = 0; r < 200; ++r) {
        const int n = std::uniform_int_distribution<int>(0, 30)(rng);
        for (int k = 0; k < n; ++k)
            one.Step();
        bulk.Advance(n);
    }
    EXPECT_EQ(bulk.Steps(), one.Steps());
    EXPECT_EQ(bulk.at, one.at);
}

TEST(PanelSearch, ProgressMaximumFollowsTheCollectedSizes) {
    struct Watch : SearchProgress {
        std::vector<std::int64_t> maxima;
        std::int64_t Check(std::int64_t) override { return 1 << 30; }
        void MaximumChanged(std::int64_t m) override { maxima.push_back(m); }
    };
    PanelJob job = BaseJob();
    CollectedRows sink;
    Watch one;
    RunPanelSearch(job, DisplayUnit::Inch, sink, one);
    EXPECT_EQ(one.maxima, std::vector<std::int64_t>{2000}); // one kind: EstimateSteps only
    job.PanelNumber = "2";
    Watch two;
    SearchStats stats;
    RunPanelSearch(job, DisplayUnit::Inch, sink, two, &stats);
    const std::int64_t n = stats.innerSize;
    ASSERT_GT(n, 1);
    EXPECT_EQ(two.Maximum(), 2000 + n * (n - 1) / 2);
    EXPECT_EQ(stats.pairsTried, n * (n - 1) / 2);
}

// A tiny board takes millions of steps against an estimate of 40000: the
// maximum keeps ahead of the steps, so the bar is not full while most of
// the work remains; steps and maxima only grow.
TEST(PanelSearch, ProgressMaximumKeepsAheadOfTheSteps) {
    struct Watch : SearchProgress {
        std::vector<std::pair<std::int64_t, std::int64_t>> at; // steps, maximum
        std::int64_t Check(std::int64_t steps) override {
            at.emplace_back(steps, Maximum());
            return 1000;
        }
    };
    PanelJob job = BaseJob();
    job.Set_L = job.Set_W = 0.1;
    job.Set_C = 0;
    job.BorderX_L = job.BorderX_W = 0.6;
    job.Min_PL = job.Min_PW = 3;
    job.Max_PL = 7;
    job.Max_PW = 6;
    job.PLPW_ratio = 1.5;
    job.Min_lv = 60; // the margins keep every plan under 66.3 %
    CollectedRows sink;
    Watch w;
    RunPanelSearch(job, DisplayUnit::Inch, sink, w);
    ASSERT_GT(w.Steps(), 50 * EstimateSteps(0.1, 0.1));
    std::size_t full = 0;
    for (std::size_t k = 0; k < w.at.size(); ++k) {
        if (k > 0) {
            EXPECT_GE(w.at[k].first, w.at[k - 1].first);
            EXPECT_GE(w.at[k].second, w.at[k - 1].second);
        }
        full += w.at[k].first >= w.at[k].second;
    }
    EXPECT_LT(full, w.at.size() / 10) << "full at " << full << " of " << w.at.size() << " checks";
}

// A quick search leaves the solver little: its steps stay within the
// search's allowance, give or take the candidate that crossed it (its own
// steps and at most two attempts at tables), and it still gains boards.
TEST(PanelSearchPacking, SolverStaysWithinTheSearchsAllowance) {
    struct Case {
        double L, W, minLv;
        const char* kinds;
        bool everySheet;
    };
    for (const Case& c : {Case{0.5, 0.35, 60, "2", false}, Case{1.535, 0.873, 75, "1", true}}) {
        SCOPED_TRACE(testing::Message() << c.L << " x " << c.W);
        PanelJob job = SmallBoardJob(1, c.L, c.W, 0.1, c.minLv, c.kinds);
        job.GoodBase = !c.everySheet;
        job.packing = PackingOption::Routed;
        CollectedRows rows;
        NoProgress progress;
        SearchStats stats;
        RunPanelSearch(job, DisplayUnit::Inch, rows, progress, &stats);
        EXPECT_GT(stats.packBoards, 0);
        EXPECT_LE(static_cast<std::uint64_t>(stats.packSteps),
                  kSearchPackFloorSteps + kSearchPackStepsPerWork * SearchWork(stats) +
                      (2 * kTableTimes + 1) * kSearchPackSteps);
    }
}
