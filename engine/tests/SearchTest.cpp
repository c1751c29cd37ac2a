#include "SearchTestSupport.h"

#include "BestPacking.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <set>
#include <utility>

using namespace vorn;
using namespace vorn::searchtest;

TEST(PanelSearch, EveryRowPassesTheValidityTest) {
    std::mt19937 rng(2024);
    std::size_t rows = 0, pairRows = 0;
    for (DisplayUnit unit : {DisplayUnit::Inch, DisplayUnit::Millimetre}) {
        for (int t = 0; t < 1500; ++t) {
            const PanelJob job = RandomJob(rng, unit);
            for (const ResultRow& r : Search(job, unit)) {
                ++rows;
                ASSERT_TRUE(PanelGood(r.Set_L, r.Set_W, r.Panel_L, r.Panel_W, r.Panel, r.Panel_lv))
                    << "job " << t << " panel " << r.Panel_L << "x" << r.Panel_W;
                ASSERT_TRUE(std::isfinite(r.Base_down) && std::isfinite(r.Panel_down));
                ASSERT_EQ(r.Set_L >= r.Set_W, true);
                if (r.second) {
                    ++pairRows;
                    const SecondPanel& p = *r.second;
                    ASSERT_TRUE(
                        PanelGood(r.Set_L, r.Set_W, p.Panel_L2, p.Panel_W2, p.Panel2, p.Panel_lv2))
                        << "job " << t << " panel 2 " << p.Panel_L2 << "x" << p.Panel_W2;
                    ASSERT_FALSE(r.P_sLa || r.P_sWb);
                } else {
                    ASSERT_TRUE(r.P_sLa && r.P_sWb);
                }
            }
        }
    }
    EXPECT_GT(rows, 10000u);
    EXPECT_GT(pairRows, 1000u);
}

TEST(PanelSearch, FastTwoSizeStageWritesTheReferenceRows) {
    std::mt19937 rng(99);
    for (int t = 0; t < 250; ++t) {
        const DisplayUnit unit = t % 3 ? DisplayUnit::Inch : DisplayUnit::Millimetre;
        PanelJob job = RandomJob(rng, unit);
        job.PanelNumber = std::string(1, '2');
        CollectedRows fast, slow;
        NoProgress p1, p2;
        RunPanelSearch(job, unit, fast, p1);
        RunPanelSearchReference(job, unit, slow, p2);
        SCOPED_TRACE(testing::Message() << "job " << t);
        ExpectSameRows(fast.rows, slow.rows);
    }
}

// Small boards in "every sheet" mode: many collected sizes, so most pairs are
// passed over by the density lists and the lane marks.
TEST(PanelSearch, FastTwoSizeStageWritesTheReferenceRowsEverySheetSmallBoards) {
    std::mt19937 rng(314);
    std::size_t pairRows = 0;
    for (int t = 0; t < 24; ++t) {
        const DisplayUnit unit = t % 4 ? DisplayUnit::Inch : DisplayUnit::Millimetre;
        PanelJob job = SmallBoardsJob(rng, unit, t, 0.5, 1.6, {9, 7.5, 8, 6}, 60);
        job.AUTOPanel = t % 6 != 0;
        job.GoodBase = false;
        CollectedRows fast, slow;
        NoProgress p1, p2;
        RunPanelSearch(job, unit, fast, p1);
        RunPanelSearchReference(job, unit, slow, p2);
        SCOPED_TRACE(testing::Message() << "job " << t);
        ExpectSameRows(fast.rows, slow.rows);
        for (const ResultRow& r : fast.rows)
            pairRows += r.second.has_value();
    }
    EXPECT_GT(pairRows, 1000u); // the two-size stage did write rows to compare
}

// Beyond 8 sheets a lane's configurations are not marked (they no longer fit
// a word) and beyond 32 the lanes are not either: the pairs are tried by the
// other paths, which must write the same rows.
TEST(PanelSearch, FastTwoSizeStageWritesTheReferenceRowsOnManySheets) {
    std::mt19937 rng(4242);
    std::size_t pairRows = 0;
    for (const int count : {9, 16, 33, 40}) {
        for (int t = 0; t < 4; ++t) {
            const DisplayUnit unit = t % 2 ? DisplayUnit::Inch : DisplayUnit::Millimetre;
            const double f = UnitFactor(unit);
            PanelJob job = RandomJob(rng, unit);
            job.PanelNumber = "2";
            job.GoodBase = t < 2;
            job.Min_lv = 50 + 5 * t;
            job.sheets.clear();
            for (int k = 0; k < count; ++k)
                job.sheets.push_back({(30 + (k * 7) % 21) * f, (20 + (k * 5) % 19) * f});
            CollectedRows fast, slow;
            NoProgress p1, p2;
            RunPanelSearch(job, unit, fast, p1);
            RunPanelSearchReference(job, unit, slow, p2);
            SCOPED_TRACE(testing::Message() << count << " sheets, job " << t);
            ExpectSameRows(fast.rows, slow.rows);
            for (const ResultRow& r : fast.rows)
                pairRows += r.second.has_value();
        }
    }
    EXPECT_GT(pairRows, 100u);
}

// The candidates taken in bulk (each distinct side of a list once, repeated
// blocks at once) against the literal walk of every candidate: the same rows
// in the same order, and the same counts, steps included. Tiny boards
// without a gap repeat most candidates; boards longer than wide as typed,
// presets and both units are among the jobs.
TEST(PanelSearch, BulkCandidatesWriteTheLiteralRows) {
    std::mt19937 rng(1414);
    std::uniform_real_distribution<double> tiny(0.05, 0.3);
    std::size_t rows = 0;
    for (int t = 0; t < 48; ++t) {
        const DisplayUnit unit = t % 3 ? DisplayUnit::Inch : DisplayUnit::Millimetre;
        const double f = UnitFactor(unit);
        PanelJob job = RandomJob(rng, unit);
        if (t % 2 == 0) {
            job.Set_L = std::round(tiny(rng) * 100) / 100 * f;
            job.Set_W = std::round(tiny(rng) * 100) / 100 * f;
            job.Set_C = (t % 4 ? 0 : 0.02) * f;
            job.Max_PL = (t % 3 ? 3 : 2.5) * f;
            job.Max_PW = (t % 5 ? 2.5 : 2) * f;
            job.Min_PL = job.Min_PW = (t % 6 ? 0 : 2) * f;
            job.PanelNumber = t % 16 == 8 ? "2" : "1";
            if (job.PanelNumber == "2") // the literal pair stage is slow on many sizes
                job.Max_PL = job.Max_PW = 2 * f;
        }
        if (t % 7 == 0)
            std::swap(job.Set_L, job.Set_W);
        CollectedRows fast, slow;
        NoProgress p1, p2;
        SearchStats s1, s2;
        RunPanelSearch(job, unit, fast, p1, &s1);
        RunPanelSearchReference(job, unit, slow, p2, &s2);
        SCOPED_TRACE(testing::Message() << "job " << t);
        ExpectSameRows(fast.rows, slow.rows);
        if (NoPlanReachesMinimum(job, unit) || NoPanelFitsAnySheet(job, unit)) { // nothing counted
            EXPECT_EQ(s1.candidatesGenerated, 0);
            continue;
        }
        EXPECT_EQ(s1.candidatesGenerated, s2.candidatesGenerated);
        EXPECT_EQ(s1.candidatesEvaluated, s2.candidatesEvaluated);
        if (job.PanelNumber == "1") { // the literal pair stage also cuts unrecordable sizes
            EXPECT_EQ(s1.layoutCalls, s2.layoutCalls);
        }
        EXPECT_EQ(s1.progressSteps, s2.progressSteps);
        EXPECT_EQ(s1.rowsWritten, s2.rowsWritten);
        EXPECT_EQ(s1.innerSize, s2.innerSize);
        rows += fast.rows.size();
    }
    EXPECT_GT(rows, 2000u);
}

// Small rectangular boards (sides in awkward ratios, routed or V-scored, one
// and two kinds, best and every sheet, both units) against the literal path;
// Min_lv just below and just above what the boards with their gap can cover,
// so that the search answered at once is compared with the full walk.
TEST(PanelSearch, SmallRectangularBoardsWriteTheLiteralRows) {
    struct Board {
        double L, W, C;
    };
    const Board boards[] = {{1.0, 0.69, 0.1},  {0.75, 0.52, 0.1}, {0.5, 0.35, 0.1},
                            {0.35, 0.24, 0.1}, {0.25, 0.17, 0.1}, {0.2, 0.139, 0},
                            {0.25, 0.17, 0},   {0.2, 0.15, 0.02}, {0.61, 0.23, 0.05},
                            {0.43, 0.31, 0.08}};
    std::size_t rows = 0, atOnce = 0, compared = 0;
    for (int t = 0; t < 40; ++t) {
        const Board& b = boards[t % 10];
        const DisplayUnit unit = t % 3 == 1 ? DisplayUnit::Millimetre : DisplayUnit::Inch;
        const double f = UnitFactor(unit);
        PanelJob job;
        job.Set_L = b.L * f;
        job.Set_W = b.W * f;
        job.Set_C = b.C * f;
        job.BorderX_L = job.BorderX_W = (t % 3 ? 0.2 : 0.3) * f;
        job.PanelNumber = t % 2 ? "2" : "1";
        // the literal pair stage tries every pair: fewer sizes for two kinds
        const double most = job.PanelNumber == "2" ? 2.2 : 3.5;
        job.Max_PL = most * f;
        job.Max_PW = (most - 0.7) * f;
        job.Min_PL = job.Min_PW = (t % 4 < 2 ? 0 : 1.5) * f;
        job.PLPW_ratio = t % 5 ? 1.5 : 3;
        const double cover = b.L * b.W * 100 / ((b.L + b.C) * (b.W + b.C));
        job.Min_lv = (t / 10) % 2 ? std::min(100.0, std::floor(cover) + 1) : cover / 2;
        job.AUTOPanel = true;
        job.GoodBase = t % 4 == 0 || t % 4 == 3;
        job.BothPanel = t % 7 != 3;
        job.BothBase = true;
        job.sheets = t % 3 ? kSheets : std::vector<SheetSize>{{12, 9}, {18, 12}, {24, 18}};
        CollectedRows fast, slow;
        NoProgress p1, p2;
        const auto t0 = std::chrono::steady_clock::now();
        RunPanelSearch(job, unit, fast, p1);
        const auto took = std::chrono::steady_clock::now() - t0;
        RunPanelSearchReference(job, unit, slow, p2);
        SCOPED_TRACE(testing::Message() << "job " << t << ", board " << b.L << " x " << b.W);
        ExpectSameRows(fast.rows, slow.rows);
        if (NoPlanReachesMinimum(job, unit)) {
            ++atOnce;
            EXPECT_TRUE(fast.rows.empty());
            EXPECT_LT(took, std::chrono::milliseconds(50));
        }
        rows += fast.rows.size();
        ++compared;
    }
    EXPECT_EQ(compared, 40u);
    EXPECT_GE(atOnce, 10u);
    EXPECT_GT(rows, 2000u);
}

// Minimum panel sides no enabled sheet can hold: answered at once with the
// rows of the full walk (none); one sheet just large enough is searched.
TEST(PanelSearch, MinimumPanelOnNoSheetIsAnsweredAtOnce) {
    struct Case {
        const char* name;
        double minPL, minPW; // inches
        std::vector<SheetSize> sheets;
        bool atOnce;
    };
    const std::vector<SheetSize> small = {{12, 9}, {18, 12}};
    const Case cases[] = {
        {"length beyond every sheet", 18.5, 2, small, true},
        {"width beyond every sheet", 4, 12.5, small, true},
        {"each side fits a different sheet", 16, 10, {{16, 9}, {12, 10}}, true},
        {"typed wider than long, no sheet as wide", 4, 12.5, {{12.4, 13}}, true},
        {"typed wider than long, a sheet holds it", 4, 12.5, {{13, 12.6}}, false},
        {"the largest sheet just holds it", 18, 12, small, false},
        {"a sheet without area is passed over", 18, 12, {{0, 40}, {12, 9}}, true},
    };
    for (const Case& c : cases) {
        for (const DisplayUnit unit : {DisplayUnit::Inch, DisplayUnit::Millimetre}) {
            for (const char* kinds : {"1", "2"}) {
                SCOPED_TRACE(testing::Message()
                             << c.name << ", unit " << int(unit) << ", " << kinds << " kind(s)");
                const double f = UnitFactor(unit);
                PanelJob job;
                job.Set_L = 2.6 * f;
                job.Set_W = 1.9 * f;
                job.Set_C = 0.1 * f;
                job.BorderX_L = job.BorderX_W = 0.3 * f;
                job.Min_PL = c.minPL * f;
                job.Min_PW = c.minPW * f;
                job.Max_PL = job.Max_PW = 19 * f;
                job.PLPW_ratio = 10;
                job.PanelNumber = kinds;
                job.AUTOPanel = job.BothPanel = job.BothBase = true;
                job.sheets = c.sheets;
                EXPECT_EQ(NoPanelFitsAnySheet(job, unit), c.atOnce);
                CollectedRows fast, slow;
                NoProgress p1, p2;
                SearchStats s1;
                RunPanelSearch(job, unit, fast, p1, &s1);
                RunPanelSearchReference(job, unit, slow, p2);
                ExpectSameRows(fast.rows, slow.rows);
                EXPECT_EQ(s1.candidatesGenerated == 0, c.atOnce);
                if (!c.atOnce) {
                    EXPECT_FALSE(fast.rows.empty());
                }
            }
        }
    }
    // Typed panels are cut whatever the limits.
    PanelJob typed = BaseJob();
    typed.AUTOPanel = false;
    typed.Min_PL = typed.Min_PW = 60;
    typed.presets = {{20, 16}};
    EXPECT_FALSE(NoPanelFitsAnySheet(typed, DisplayUnit::Inch));
    EXPECT_FALSE(Search(typed).empty());
}

// A search with more plans than its sink can hold stops before writing one
// more, whichever stage writes them; a sink with room gets every row.
TEST(PanelSearch, PlansBeyondTheSinkStopTheSearch) {
    struct Small : CollectedRows {
        std::int64_t most = 0;
        std::int64_t MaxRows() const override { return most; }
    };
    for (const char* kinds : {"1", "2"}) {
        SCOPED_TRACE(kinds);
        PanelJob job = BaseJob();
        job.PanelNumber = kinds;
        const std::vector<ResultRow> all = Search(job);
        ASSERT_GT(all.size(), 40u);
        Small sink;
        sink.most = static_cast<std::int64_t>(all.size()) - 1;
        NoProgress progress;
        try {
            RunPanelSearch(job, DisplayUnit::Inch, sink, progress);
            ADD_FAILURE() << "no stop";
        } catch (const SearchTooLarge& e) {
            EXPECT_EQ(e.Rows(), sink.most);
        }
        EXPECT_EQ(static_cast<std::int64_t>(sink.rows.size()), sink.most);
        sink.rows.clear();
        sink.most = static_cast<std::int64_t>(all.size());
        RunPanelSearch(job, DisplayUnit::Inch, sink, progress);
        ExpectSameRows(sink.rows, all);
    }
}

// Panel limits far beyond every sheet: for one panel kind the walk stops a
// board cell beyond the largest sheet and writes the rows of the literal walk
// to the limits; two kinds walk all the way (their plans pair such sizes).
TEST(PanelSearch, LimitsBeyondTheSheetsWriteTheLiteralRows) {
    struct Board {
        double L, W, C;
    };
    const Board boards[] = {{2.6, 1.9, 0.1}, {1.7, 1.3, 0}, {3.1, 1.1, 0.05}};
    int t = 0;
    for (const Board& b : boards) {
        for (const char* kinds : {"1", "2"}) {
            for (const bool mixed : {true, false}) {
                if (kinds[0] == '2' && (b.L != 2.6 || !mixed))
                    continue; // the literal pair stage is slow
                const DisplayUnit unit = t++ % 2 ? DisplayUnit::Millimetre : DisplayUnit::Inch;
                const double f = UnitFactor(unit);
                SCOPED_TRACE(testing::Message() << b.L << " x " << b.W << ", " << kinds
                                                << " kind(s), mixed " << mixed);
                PanelJob job;
                job.Set_L = b.L * f;
                job.Set_W = b.W * f;
                job.Set_C = b.C * f;
                job.BorderX_L = 0.3 * f;
                job.BorderX_W = 0.4 * f;
                job.Max_PL = 40 * f;
                job.Max_PW = 30 * f;
                job.PLPW_ratio = 4;
                job.PanelNumber = kinds;
                job.AUTOPanel = job.BothBase = true;
                job.BothPanel = mixed;
                job.GoodBase = t % 3 == 0;
                job.sheets = {{18, 12}, {12, 9}};
                CollectedRows fast, slow;
                NoProgress p1, p2;
                SearchStats s1, s2;
                RunPanelSearch(job, unit, fast, p1, &s1);
                RunPanelSearchReference(job, unit, slow, p2, &s2);
                ExpectSameRows(fast.rows, slow.rows);
                EXPECT_FALSE(fast.rows.empty());
                if (kinds[0] == '1')
                    EXPECT_LT(s1.candidatesGenerated, s2.candidatesGenerated / 2);
                else
                    EXPECT_EQ(s1.candidatesGenerated, s2.candidatesGenerated);
            }
        }
    }
}

// The premises of NoPlanReachesMinimum and PanelSideReach: each board with
// the gap after it takes a cell of (L + C) x (W + C) inside the container
// less its margins plus one gap, and a layout holding a board leaves less
// than L + C unused along either side, in every layout, mixed ones included.
TEST(PanelSearch, BoardCellsFitInsideTheMargins) {
    std::mt19937 rng(77);
    std::uniform_real_distribution<double> side(0.05, 3), gap(0, 0.3), margin(0, 1),
        container(0.5, 30);
    for (int t = 0; t < 30000; ++t) {
        double L = std::round(side(rng) * 1000) / 1000, W = std::round(side(rng) * 1000) / 1000;
        if (L < W)
            std::swap(L, W);
        const double C = t % 3 ? std::round(gap(rng) * 100) / 100 : 0;
        const double BL = std::round(margin(rng) * 10) / 10, BW = std::round(margin(rng) * 10) / 10;
        const double CL = std::round(container(rng) * 100) / 100,
                     CW = std::round(container(rng) * 100) / 100;
        const bool mixed = t % 2;
        const Layout lay = LayoutPieces(mixed, L, W, C, BL, BW, CL, CW);
        const double b = std::min(BL, BW);
        const double room = std::max(0.0, CL - 2 * b + C) * std::max(0.0, CW - 2 * b + C);
        ASSERT_LE(lay.Pieces() * (L + C) * (W + C), room * (1 + 1e-9) + 1e-9)
            << L << " x " << W << " gap " << C << " in " << CL << " x " << CW << " margins " << BL
            << ", " << BW << (mixed ? " mixed" : "");
        if (lay.Pieces() == 0)
            continue;
        const Margins m = ActualMargins(lay, L, W, C, CL, CW);
        ASSERT_LT(2 * std::max(m.mL - BL, m.mW - BW), L + C + 1e-9)
            << L << " x " << W << " gap " << C << " in " << CL << " x " << CW << " margins " << BL
            << ", " << BW << (mixed ? " mixed " : " ") << lay.pattern;
    }
}

TEST(PanelSearch, RowsComeInTheDisplayUnit) {
    PanelJob job = BaseJob();
    job.Set_L = 2; // typed the other way round
    job.Set_W = 4;
    const auto inch = Search(job);
    ASSERT_FALSE(inch.empty());
    EXPECT_EQ(inch[0].Set_L, 4);
    EXPECT_EQ(inch[0].Set_W, 2);

    PanelJob mm = job;
    for (double* v : {&mm.Set_L, &mm.Set_W, &mm.Set_C, &mm.BorderX_L, &mm.BorderX_W, &mm.Min_PL,
                      &mm.Min_PW, &mm.Max_PL, &mm.Max_PW})
        *v *= 25.4;
    const auto rows = Search(mm, DisplayUnit::Millimetre);
    ASSERT_EQ(rows.size(), inch.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_TRUE(TolEq(rows[i].Set_L, 101.6));
        EXPECT_TRUE(TolEq(rows[i].Panel_L, inch[i].Panel_L * 25.4));
        EXPECT_TRUE(TolEq(rows[i].Base_W, inch[i].Base_W * 25.4));
        EXPECT_TRUE(TolEq(rows[i].Border_W, inch[i].Border_W * 25.4));
        EXPECT_EQ(rows[i].Panel, inch[i].Panel);
    }
}

TEST(PanelSearch, SameSizeTwiceGivesOneRowFirstKept) {
    PanelJob job = BaseJob();
    job.AUTOPanel = false;
    job.GoodBase = true;
    // Within 1e-10 in inches, not in millimetres (4e-11 inch is 1.016e-9 mm).
    job.presets = {{20, 18}, {20 + 4e-11, 18}, {18, 20}};
    const auto inch = Search(job);
    ASSERT_EQ(inch.size(), 1u);
    EXPECT_EQ(inch[0].Panel_L, 20);

    for (double* v : {&job.Set_L, &job.Set_W, &job.Set_C, &job.BorderX_L, &job.BorderX_W,
                      &job.Min_PL, &job.Min_PW, &job.Max_PL, &job.Max_PW})
        *v *= 25.4;
    const auto mm = Search(job, DisplayUnit::Millimetre);
    ASSERT_EQ(mm.size(), 2u);
    EXPECT_EQ(mm[0].Panel_L, 20 * 25.4);
    EXPECT_EQ(mm[1].Panel_L, (20 + 4e-11) * 25.4);
}

TEST(PanelSearch, AutomaticRowsAreNeverDuplicates) {
    PanelJob job = BaseJob();
    job.GoodBase = false;
    SearchStats stats;
    CollectedRows sink;
    NoProgress progress;
    RunPanelSearch(job, DisplayUnit::Inch, sink, progress, &stats);
    // Many candidates grow to the same panel on the same sheet.
    EXPECT_GT(stats.progressSteps, 2 * stats.rowsWritten);
    for (std::size_t i = 0; i < sink.rows.size(); ++i)
        for (std::size_t j = 0; j < i; ++j) {
            const ResultRow &a = sink.rows[i], &b = sink.rows[j];
            ASSERT_FALSE(InWindow(a.Panel_L, b.Panel_L) && InWindow(a.Panel_W, b.Panel_W) &&
                         InWindow(a.Base_L, b.Base_L) && InWindow(a.Base_W, b.Base_W))
                << i << " repeats " << j;
        }
}

TEST(DuplicateWindow, BoundsAreTheFilterTextsFifteenDigits) {
    // The window's bounds v -/+ 1e-10 are written with 15 significant digits,
    // so near a bound the rounding, not the exact 1e-10, decides.
    struct Case {
        double stored, v;
        bool inside;
    };
    const Case cases[] = {
        {5.0, 5.0, true},
        {5.0 + 0.99e-10, 5.0, true},
        {5.0 + 1.01e-10, 5.0, false},
        // 1.0004e-10 apart: outside the exact window, but v + 1e-10 is written
        // as 198.120000000100, above the stored value.
        {198.12000000009996, 198.11999999999992, true},
        // Below the lower bound written as 198.119999999900.
        {198.11999999989990, 198.11999999999992, false},
        {0.0, 0.0, true},
        {1e-10, 0.0, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(InWindow(c.stored, c.v), c.inside)
            << std::setprecision(17) << c.stored << " ~ " << c.v;
}

TEST(PanelSearch, DuplicateWindowIsThatOfTheFilterText) {
    // In mm the grown panel 198.11999999999992 lies 1.0004e-10 from the row
    // written before it; the filter text's rounded bound makes it a duplicate.
    PanelJob job;
    job.Set_L = 70.6882;
    job.Set_W = 35.052;
    job.Set_C = 2.54;
    job.BorderX_L = 0;
    job.BorderX_W = 12.7;
    job.Min_PL = job.Min_PW = 0;
    job.Min_lv = 0;
    job.Max_PL = 198.12000000009996;
    job.Max_PW = 203.2;
    job.PLPW_ratio = 10;
    job.AUTOPanel = job.GoodBase = job.BothPanel = job.BothBase = true;
    job.sheets = {{23.0, 15.7}};
    auto rows = Search(job, DisplayUnit::Millimetre);
    SortAndNumber(rows);
    ASSERT_EQ(rows.size(), 12u);
    EXPECT_EQ(rows[3].Panel_L, 198.12000000009996);
    for (const ResultRow& r : rows)
        EXPECT_NE(r.Panel_L, 198.11999999999992);
}

TEST(PanelSearch, CandidateHoldingNoBoardEndsTheCandidate) {
    // Taken literally, the candidate 2.73 x 3.13 holds no board and would be
    // trimmed to sides of -0.1 and 0.9, whose cutting never ends.
    PanelJob job = BaseJob();
    job.Set_L = 2.73;
    job.Set_W = 2.13;
    job.BorderX_L = 0;
    job.BorderX_W = 0.5;
    job.Min_PL = job.Min_PW = 0;
    job.Max_PL = job.Max_PW = 7;
    job.PLPW_ratio = 10;
    job.PanelNumber = "2";
    for (bool mixed : {false, true}) {
        job.BothPanel = mixed;
        SearchStats stats;
        CollectedRows sink;
        NoProgress progress;
        RunPanelSearch(job, DisplayUnit::Inch, sink, progress, &stats);
        EXPECT_GT(stats.candidatesGenerated, stats.candidatesEvaluated);
        for (const ResultRow& r : sink.rows)
            EXPECT_GT(r.Panel, 0);
    }
}

TEST(PanelSearch, ZeroUtilizationWritesNoRow) {
    PanelJob job = BaseJob();
    job.AUTOPanel = false;
    job.Min_lv = 0;
    job.presets = {{3, 1}, {60, 50}, {20, 18}}; // no board; no sheet; a real plan
    for (bool best : {true, false}) {
        job.GoodBase = best;
        const auto rows = Search(job);
        ASSERT_FALSE(rows.empty());
        for (const ResultRow& r : rows) {
            EXPECT_EQ(r.Panel_L, 20);
            EXPECT_GT(r.Base_lv, 0);
        }
    }
}

TEST(PanelSearch, SheetWithoutAreaIsLeftOut) {
    PanelJob job = BaseJob();
    job.GoodBase = false;
    const auto plain = Search(job);
    job.sheets.push_back({0, 36});
    job.sheets.push_back({48, 0});
    const auto rows = Search(job);
    ASSERT_EQ(rows.size(), plain.size());
    for (const ResultRow& r : rows)
        ASSERT_TRUE(r.Base_L > 0 && r.Base_W > 0 && std::isfinite(r.Base_lv));
}

TEST(PanelSearch, RefusesWhatTheProgramRefuses) {
    PanelJob job = BaseJob();
    job.Set_W = 0;
    EXPECT_EQ(PanelJobRefusal(job), "   成品板尺寸不能为\"0\" ！   ");
    CollectedRows sink;
    NoProgress progress;
    EXPECT_THROW(RunPanelSearch(job, DisplayUnit::Inch, sink, progress), std::invalid_argument);
    job = BaseJob();
    job.sheets.clear();
    EXPECT_EQ(PanelJobRefusal(job), "   请选定有效板材！！   ");
    EXPECT_EQ(PanelJobRefusal(BaseJob()), "");
    EXPECT_TRUE(sink.rows.empty());
}

TEST(SortAndNumber, SheetThenPanelUtilizationStable) {
    auto row = [](double base, double panel, int tag) {
        ResultRow r;
        r.Base_lv = base;
        r.Panel_lv = panel;
        r.Base_down = 100 / base;
        r.Panel_down = 100 / panel;
        r.Panel = tag;
        return r;
    };
    std::vector<ResultRow> rows = {row(80, 90, 1), row(85, 70, 2), row(85, 75, 3), row(80, 90, 4)};
    SortAndNumber(rows);
    std::vector<int> order, numbers;
    for (const ResultRow& r : rows)
        order.push_back(r.Panel), numbers.push_back(r.Number);
    EXPECT_EQ(order, (std::vector<int>{3, 2, 1, 4}));
    EXPECT_EQ(numbers, (std::vector<int>{1, 2, 3, 4}));
}

// Tables with many equal keys, sorted in place: the same order as a stable
// sort by key (ties in written order), every row whole, numbered 1..n.
TEST(SortAndNumber, ManyTiesKeepWrittenOrder) {
    std::mt19937 rng(7);
    for (const std::size_t n : {0, 1, 2, 3, 17, 5000}) {
        std::vector<ResultRow> rows(n);
        std::vector<ArrayRow> arrays(n);
        for (std::size_t i = 0; i < n; ++i) {
            rows[i].Base_down = double(rng() % 4);
            rows[i].Panel_down = double(rng() % 3);
            rows[i].Panel = int(i);
            rows[i].Panel_lv = 0.5 * double(i);
            if (i % 3 == 0) {
                rows[i].second.emplace();
                rows[i].second->Panel2 = int(i);
            }
            arrays[i].Panel_Down = double(rng() % 5);
            arrays[i].Panel = int(i);
            arrays[i].Set_L = 0.25 * double(i);
        }
        std::vector<std::size_t> rowOrder(n), arrayOrder(n);
        std::iota(rowOrder.begin(), rowOrder.end(), 0);
        std::iota(arrayOrder.begin(), arrayOrder.end(), 0);
        std::stable_sort(rowOrder.begin(), rowOrder.end(), [&](std::size_t a, std::size_t b) {
            return std::pair(rows[a].Base_down, rows[a].Panel_down) <
                   std::pair(rows[b].Base_down, rows[b].Panel_down);
        });
        std::stable_sort(arrayOrder.begin(), arrayOrder.end(), [&](std::size_t a, std::size_t b) {
            return arrays[a].Panel_Down < arrays[b].Panel_Down;
        });
        SortAndNumber(rows);
        SortAndNumber(arrays);
        for (std::size_t k = 0; k < n; ++k) {
            const ResultRow& r = rows[k];
            ASSERT_EQ(r.Panel, int(rowOrder[k])) << "n " << n << " place " << k;
            EXPECT_EQ(r.Number, int(k + 1));
            EXPECT_EQ(r.Panel_lv, 0.5 * r.Panel);
            EXPECT_EQ(r.second.has_value(), r.Panel % 3 == 0);
            if (r.second) {
                EXPECT_EQ(r.second->Panel2, r.Panel);
            }
            const ArrayRow& a = arrays[k];
            ASSERT_EQ(a.Panel, int(arrayOrder[k])) << "n " << n << " place " << k;
            EXPECT_EQ(a.Number, int(k + 1));
            EXPECT_EQ(a.Set_L, 0.25 * a.Panel);
        }
    }
}

TEST(RowIndex, WindowsAreStrict) {
    LevelIndex levels;
    levels.Add(80, 12);
    levels.Add(80 + 5e-11, 10);
    EXPECT_EQ(levels.MostPanels(80), 12);
    EXPECT_EQ(levels.MostPanels(80 + 1.4e-10), 10); // only the second lies within
    EXPECT_EQ(levels.MostPanels(81), -1);
    SingleRowIndex singles;
    singles.Add(20, 18, 48, 36);
    EXPECT_TRUE(singles.Holds(20 + 9e-11, 18, 48, 36));
    EXPECT_FALSE(singles.Holds(20 + 2e-10, 18, 48, 36));
    EXPECT_FALSE(singles.Holds(20, 18, 48, 40));
    PairRowIndex pairs;
    const Layout a{2, 3, 0, 0, 0, 0, 'N'}, b{1, 1, 0, 0, 0, 0, 'N'};
    pairs.Add(48, 36, 80, a, b);
    EXPECT_TRUE(pairs.Holds(48, 36, 80 + 5e-11, a, b));
    EXPECT_FALSE(pairs.Holds(48, 36, 80, b, a));
    EXPECT_FALSE(pairs.Holds(48, 36, 80 + 3e-10, a, b));
}

TEST(RowIndex, TwoSizePlanDominatedBySingleSize) {
    LevelIndex singles;
    singles.Add(80, 12);
    singles.Add(80, 9); // the largest Panel at a level counts
    singles.Add(90, 20);
    struct Case {
        double U;
        int u1, u2;
        bool dropped;
    };
    for (const Case& c : {Case{80, 12, 10, true}, Case{80, 14, 10, false}, Case{80, 10, 13, false},
                          Case{80 + 9e-11, 12, 10, true}, Case{80 + 2e-10, 12, 10, false},
                          Case{85, 1, 1, false}, Case{90, 20, 20, true}}) {
        EXPECT_EQ(DominatedBySingleSize(singles, c.U, c.u1, c.u2), c.dropped)
            << c.U << " " << c.u1 << "/" << c.u2;
    }
}

TEST(ArraySearch, GridSizesWithinTheLimits) {
    ArrayJob job;
    job.Part_L = 0.8; // typed the other way round
    job.Part_W = 1;
    job.Part_C = 0.1;
    job.SetBorder_L = job.SetBorder_W = 0.2;
    job.Min_SetL = 2;
    job.Min_SetW = 1.5;
    job.Max_SetL = 4;
    job.Max_SetW = 3;
    CollectedArrays sink;
    NoProgress progress;
    SearchStats stats;
    RunArraySearch(job, DisplayUnit::Inch, sink, progress, &stats);
    // Widths 1.2, 2.1, 3.0 and lengths 1.4, 2.5, 3.6 (upright grids), lengths
    // 1.2 .. 3.9 and widths 1.4, 2.5 (turned grids); sizes at or under the
    // minimum are not listed, and the turned grids repeat 2.5 x 2.1 and 3 x 2.5.
    struct Want {
        double L, W;
        int units;
    };
    const std::vector<Want> want = {
        {2.5, 2.1, 4}, {3.6, 2.1, 6}, {3, 2.5, 6}, {3.6, 3, 9}, {3.9, 2.5, 8}};
    ASSERT_EQ(sink.rows.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        const ArrayRow& r = sink.rows[i];
        EXPECT_TRUE(TolEq(r.Set_L, want[i].L) && TolEq(r.Set_W, want[i].W))
            << r.Set_L << "x" << r.Set_W;
        EXPECT_EQ(r.Panel, want[i].units) << r.Set_L << "x" << r.Set_W;
        EXPECT_EQ(r.Part_L, 1);
        EXPECT_TRUE(PanelGood(r.Part_L, r.Part_W, r.Set_L, r.Set_W, r.Panel, r.Panel_lv));
    }
    EXPECT_EQ(stats.progressSteps, stats.candidatesGenerated);
    SortAndNumber(sink.rows);
    for (std::size_t i = 1; i < sink.rows.size(); ++i)
        EXPECT_LE(sink.rows[i - 1].Panel_Down, sink.rows[i].Panel_Down);
}

TEST(ArraySearch, EveryRowPassesTheValidityTest) {
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> unit(0.2, 3), gap(0, 0.2), border(0, 0.5), size(1, 12);
    for (DisplayUnit u : {DisplayUnit::Inch, DisplayUnit::Millimetre}) {
        const double f = UnitFactor(u);
        for (int t = 0; t < 1500; ++t) {
            ArrayJob job;
            job.Part_L = std::round(unit(rng) * 100) / 100 * f;
            job.Part_W = std::round(unit(rng) * 100) / 100 * f;
            job.Part_C = std::round(gap(rng) * 20) / 20 * f;
            job.SetBorder_L = std::round(border(rng) * 10) / 10 * f;
            job.SetBorder_W = std::round(border(rng) * 10) / 10 * f;
            job.Min_SetL = size(rng) / 3 * f;
            job.Min_SetW = size(rng) / 4 * f;
            job.Max_SetL = size(rng) * f;
            job.Max_SetW = size(rng) * f;
            if (job.Part_L == 0 || job.Part_W == 0)
                continue;
            CollectedArrays sink;
            NoProgress progress;
            RunArraySearch(job, u, sink, progress);
            for (const ArrayRow& r : sink.rows) {
                ASSERT_TRUE(PanelGood(r.Part_L, r.Part_W, r.Set_L, r.Set_W, r.Panel, r.Panel_lv))
                    << "job " << t << " array " << r.Set_L << "x" << r.Set_W << " part " << r.Part_L
                    << "x" << r.Part_W << " n " << r.Panel << " lv " << std::setprecision(17)
                    << r.Panel_lv;
                ASSERT_GT(r.Set_L, job.Min_SetL * (1 - 1e-12));
            }
        }
    }
}

// Best packing in the search: each panel of a row, panel 2 of a two-size
// plan too, laid out beyond the blocks where its bound leaves room. Every
// such layout holds more boards than the routine in the same panel, keeps
// the margins and the gap (guillotine cuts when V-scored), and the row's
// counts and utilizations follow its boards; off, no row has placements.
// A panel size met again, on another sheet or in another plan, points at
// the list its first layout made: no row holds a copy.
TEST(PanelSearchPacking, PanelsOfTwoSizePlansBeyondTheBlocksAreSound) {
    for (const DisplayUnit unit : {DisplayUnit::Inch, DisplayUnit::Millimetre}) {
        for (const PackingOption option :
             {PackingOption::Off, PackingOption::Routed, PackingOption::VScored}) {
            SCOPED_TRACE(testing::Message() << "unit " << int(unit) << " option " << int(option));
            const double f = UnitFactor(unit);
            PanelJob job = SmallBoardJob(f, 0.5, 0.35, 0.1, 60, "2");
            job.packing = option;
            const double LW = job.Set_L * job.Set_W;
            int packed1 = 0, packed2 = 0;
            // The first list of each panel size, and the sheets it is met on.
            std::map<std::pair<double, double>, SharedPlacements> lists;
            std::map<std::pair<double, double>, std::set<std::pair<double, double>>> sheets;
            const ResultRow* row = nullptr;
            // One panel of the row: its boards against its size and counts.
            auto check = [&](const SharedPlacements& boards, const Layout& blocks, int count,
                             double PL, double PW, double lv) {
                EXPECT_NEAR(lv, count * LW * 100 / (PL * PW), 1e-9);
                if (boards.empty())
                    return false;
                const auto [first, fresh] = lists.try_emplace({PL, PW}, boards);
                EXPECT_TRUE(fresh || boards.Identity() == first->second.Identity())
                    << PL << "x" << PW;
                sheets[{PL, PW}].insert({row->Base_L, row->Base_W});
                EXPECT_EQ(blocks, (Layout{0, 0, 0, 0, 0, 0, 'N'}));
                EXPECT_EQ(boards.size(), std::size_t(count));
                EXPECT_GT(count, LayoutPieces(true, job.Set_L, job.Set_W, job.Set_C, job.BorderX_L,
                                              job.BorderX_W, PL, PW)
                                     .Pieces());
                PackRequest q;
                q.containerL = PL;
                q.containerW = PW;
                q.pieceL = job.Set_L;
                q.pieceW = job.Set_W;
                q.gap = job.Set_C;
                q.marginL = job.BorderX_L - 1e-9 * f;
                q.marginW = job.BorderX_W - 1e-9 * f;
                EXPECT_EQ(PlacementFault(*boards, q, option == PackingOption::VScored), "");
                return true;
            };
            const std::vector<ResultRow> rows = Search(job, unit);
            for (const ResultRow& r : rows) {
                row = &r;
                if (option == PackingOption::Off) {
                    EXPECT_TRUE(r.boards.empty());
                    EXPECT_TRUE(!r.second || r.second->boards.empty());
                    continue;
                }
                packed1 +=
                    check(r.boards, r.BoardLayout(), r.Panel, r.Panel_L, r.Panel_W, r.Panel_lv);
                std::int64_t boards = std::int64_t{r.Panel} * (r.P_La * r.P_Wb + r.P_Lb * r.P_Wa);
                if (const auto& s = r.second) {
                    packed2 += check(s->boards,
                                     {s->Set_La2, s->Set_Wb2, s->Set_Lb2, s->Set_Wa2, s->Set_sLa2,
                                      s->Set_sWb2, s->Up2},
                                     s->Panel2, s->Panel_L2, s->Panel_W2, s->Panel_lv2);
                    boards += std::int64_t{s->Panel2} * (s->P_La2 * s->P_Wb2 + s->P_Lb2 * s->P_Wa2);
                    EXPECT_NEAR(r.Base_lv, boards * LW * 100 / (r.Base_L * r.Base_W), 1e-9);
                }
            }
            if (option == PackingOption::Routed) { // guillotine cuts gain nothing here
                EXPECT_GT(packed1, 0);
                EXPECT_GT(packed2, 0);
                EXPECT_LT(lists.size(), std::size_t(packed1 + packed2));
                EXPECT_TRUE(std::any_of(sheets.begin(), sheets.end(),
                                        [](const auto& s) { return s.second.size() > 1; }));
            }
        }
    }
}
