#include "BestPacking.h"
#include "Layout.h"
#include "PackedLayouts.h"
#include "PanelSearch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <type_traits>
#include <vector>

using namespace vorn;

namespace {

PackRequest Request(double L, double W, double l, double w, double gap = 0, double mL = 0,
                    double mW = 0, PackMode mode = PackMode::Routed, double seconds = 600) {
    PackRequest r;
    r.containerL = L;
    r.containerW = W;
    r.pieceL = l;
    r.pieceW = w;
    r.gap = gap;
    r.marginL = mL;
    r.marginW = mW;
    r.mode = mode;
    r.seconds = seconds;
    return r;
}

// What every result must satisfy, whatever the instance.
void ExpectSound(const PackRequest& r, const PackResult& res) {
    const bool guillotine = r.mode == PackMode::Guillotine;
    EXPECT_EQ(PlacementFault(res.placements, r, guillotine), "");
    EXPECT_EQ(static_cast<std::int64_t>(res.placements.size()), res.count);
    EXPECT_GE(res.count, res.routineCount);
    EXPECT_LE(res.count, res.upperBound);
    EXPECT_EQ(res.proven, res.count == res.upperBound);
    const Layout lay =
        LayoutPieces(true, std::max(r.pieceL, r.pieceW), std::min(r.pieceL, r.pieceW), r.gap,
                     r.marginL, r.marginW, r.containerL, r.containerW);
    EXPECT_EQ(res.routineCount, lay.Pieces());
}

// The best guillotine count over every integer cut, without raster points
// or normalisation: the reference for the solver's guillotine mode.
int NaiveGuillotine(int X, int Y, int a, int b) {
    std::vector<int> g(static_cast<std::size_t>((X + 1) * (Y + 1)), 0);
    auto at = [&](int x, int y) -> int& { return g[static_cast<std::size_t>(x * (Y + 1) + y)]; };
    for (int x = 0; x <= X; ++x)
        for (int y = 0; y <= Y; ++y) {
            int best = std::max((x / a) * (y / b), (x / b) * (y / a));
            for (int k = 1; k < x; ++k)
                best = std::max(best, at(k, y) + at(x - k, y));
            for (int k = 1; k < y; ++k)
                best = std::max(best, at(x, k) + at(x, y - k));
            at(x, y) = best;
        }
    return at(X, Y);
}

} // namespace

// Hard pallet-loading instances: the block routine falls one to three boxes
// short of each proven optimum, which equals the upper bound.
struct HardCase {
    int L, W, l, w, optimum;
};
void PrintTo(const HardCase& c, std::ostream* os) {
    *os << c.L << " x " << c.W << " / " << c.l << " x " << c.w << " -> " << c.optimum;
}

class HardInstance : public testing::TestWithParam<HardCase> {};

TEST_P(HardInstance, ReachesTheProvenOptimum) {
    const HardCase& c = GetParam();
    const PackRequest r = Request(c.L, c.W, c.l, c.w);
    const PackResult res = BestPacking(r);
    ExpectSound(r, res);
    EXPECT_LT(res.routineCount, c.optimum);
    EXPECT_EQ(res.upperBound, c.optimum);
    EXPECT_EQ(res.count, c.optimum);
    EXPECT_TRUE(res.proven);
    EXPECT_FALSE(res.timedOut);
}

INSTANTIATE_TEST_SUITE_P(Published, HardInstance,
                         testing::Values(HardCase{43, 26, 7, 3, 53}, HardCase{49, 28, 8, 3, 57},
                                         HardCase{57, 34, 7, 4, 69}, HardCase{63, 44, 8, 5, 69},
                                         HardCase{61, 35, 10, 3, 71}, HardCase{67, 37, 11, 3, 75},
                                         HardCase{61, 38, 10, 3, 77}, HardCase{61, 38, 6, 5, 77},
                                         HardCase{67, 40, 11, 3, 81}, HardCase{74, 49, 11, 4, 82},
                                         HardCase{93, 46, 13, 4, 82}, HardCase{106, 59, 13, 5, 96},
                                         HardCase{141, 71, 13, 8, 96}, HardCase{74, 46, 7, 5, 97},
                                         HardCase{86, 52, 9, 5, 99}, HardCase{108, 65, 10, 7, 100}),
                         [](const testing::TestParamInfo<HardCase>& info) {
                             const HardCase& c = info.param;
                             return "C" + std::to_string(c.L) + "x" + std::to_string(c.W) + "_B" +
                                    std::to_string(c.l) + "x" + std::to_string(c.w);
                         });

// Generated PCB panels in inches with gap and rails, in both modes: sound
// layouts between the routine's count and the bound; guillotine layouts cut
// apart by straight lines.
TEST(BestPacking, RealisticPanelsBothModes) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> board(100, 600), panel(24, 48);
    int gained = 0;
    for (int n = 0; n < 40; ++n) {
        const double l = board(rng) / 100.0, w = board(rng) / 100.0;
        const double L = panel(rng) / 2.0, W = panel(rng) / 2.0;
        SCOPED_TRACE(testing::Message() << L << " x " << W << " / " << l << " x " << w);
        const PackRequest routed = Request(L, W, l, w, 0.1, 0.4, 0.4, PackMode::Routed, 0.2);
        const PackResult a = BestPacking(routed);
        ExpectSound(routed, a);
        EXPECT_TRUE(a.integral);
        gained += a.count > a.routineCount;
        const PackRequest cut = Request(L, W, l, w, 0.1, 0.4, 0.4, PackMode::Guillotine, 0.2);
        const PackResult g = BestPacking(cut);
        ExpectSound(cut, g);
        EXPECT_LE(g.count, a.upperBound);
        if (!a.timedOut) {
            EXPECT_LE(g.count, a.count) << "a guillotine layout is a routed layout";
        }
    }
    EXPECT_GT(gained, 0);
}

// Requests of every shape: square boards, sides in either order, margins
// that leave nothing, one to three decimals, both modes, a short time limit.
TEST(BestPacking, OddRequestsStaySound) {
    std::mt19937 rng(5);
    auto real = [&](double lo, double hi, int decimals) {
        const double scale = std::pow(10, decimals);
        return std::round(std::uniform_real_distribution<double>(lo, hi)(rng) * scale) / scale;
    };
    for (int n = 0; n < 400; ++n) {
        const int dec = static_cast<int>(rng() % 4);
        PackRequest r =
            Request(real(0, 60, dec), real(0, 60, dec), real(0.5, 15, dec), real(0.5, 15, dec),
                    rng() % 3 ? real(0, 1, dec) : 0, real(0, 3, dec), real(0, 3, dec),
                    rng() % 2 ? PackMode::Routed : PackMode::Guillotine, 0.05);
        if (rng() % 5 == 0)
            r.pieceW = r.pieceL;
        SCOPED_TRACE(testing::Message() << r.containerL << " x " << r.containerW << " / "
                                        << r.pieceL << " x " << r.pieceW << " gap " << r.gap
                                        << " margins " << r.marginL << ", " << r.marginW);
        ExpectSound(r, BestPacking(r));
    }
}

// The guillotine mode is the exact guillotine optimum: the same count as a
// plain recursion over every integer cut, on small integer instances.
TEST(BestPacking, GuillotineModeMatchesEveryIntegerCut) {
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> side(2, 9), box(10, 34);
    int searched = 0; // not settled by the bound alone
    for (int n = 0; n < 60; ++n) {
        const int a = side(rng), b = side(rng), X = box(rng), Y = box(rng);
        SCOPED_TRACE(testing::Message() << X << " x " << Y << " / " << a << " x " << b);
        const PackRequest r = Request(X, Y, a, b, 0, 0, 0, PackMode::Guillotine);
        const PackResult res = BestPacking(r);
        ExpectSound(r, res);
        const int naive = NaiveGuillotine(X, Y, a, b);
        EXPECT_EQ(res.count, naive);
        EXPECT_TRUE(res.proven);
        EXPECT_LE(naive, PackingUpperBound(X, Y, a, b));
        searched += res.routineCount < PackingUpperBound(X, Y, a, b);
    }
    EXPECT_GT(searched, 10);
}

// The gap folds into the boxes: boards of l with gap s in L fill like boxes
// of l + s in L + s. In mm, with margins.
TEST(BestPacking, GapAndMarginsFoldIntoIntegers) {
    const PackRequest mm = Request(43 * 25.4 + 2 * 10 - 2.54, 26 * 25.4 + 2 * 5 - 2.54,
                                   7 * 25.4 - 2.54, 3 * 25.4 - 2.54, 2.54, 10, 5);
    const PackResult res = BestPacking(mm);
    ExpectSound(mm, res);
    EXPECT_TRUE(res.integral);
    EXPECT_EQ(res.count, 53);
    EXPECT_EQ(res.upperBound, 53);
}

// Lengths no power of ten makes whole: the routine's layout, the area bound,
// never a layout the integers could not check.
TEST(BestPacking, NonDecimalLengthsFallBackToTheRoutine) {
    const PackRequest r = Request(43.0 / 3, 26.0 / 3, 7.0 / 3, 1.0, 0, 0, 0);
    const PackResult res = BestPacking(r);
    ExpectSound(r, res);
    EXPECT_FALSE(res.integral);
    EXPECT_EQ(res.count, res.routineCount);
    EXPECT_EQ(res.method, PackMethod::Routine);
}

// Bounds first: where the routine meets the bound, its layout comes back at
// once, and the bounds alone say so.
TEST(BestPacking, RoutineAtTheBoundReturnsItsLayout) {
    const PackRequest r = Request(24, 18, 4, 2, 0.1, 0.4, 0.4);
    const PackBounds b = BestPackingBounds(r);
    EXPECT_EQ(b.upperBound, b.routineCount);
    const PackResult res = BestPacking(r);
    ExpectSound(r, res);
    EXPECT_EQ(res.method, PackMethod::Routine);
    EXPECT_TRUE(res.proven);
    EXPECT_EQ(res.count, b.routineCount);
}

// Turned means the board's own length runs along y, in whichever order its
// sides are given; the layout is centred in the usable area.
TEST(BestPacking, TurnedFlagFollowsTheGivenLength) {
    for (bool swap : {false, true}) {
        const PackRequest r = swap ? Request(20.5, 12, 3.99, 5.62, 0.1, 0.4, 0.4)
                                   : Request(20.5, 12, 5.62, 3.99, 0.1, 0.4, 0.4);
        const PackResult res = BestPacking(r);
        ExpectSound(r, res);
        EXPECT_EQ(res.routineCount, 7);
        EXPECT_EQ(res.count, 8);
        EXPECT_TRUE(res.proven);
        double x0 = 1e9, x1 = 0, y0 = 1e9, y1 = 0;
        for (const Placement& p : res.placements) {
            EXPECT_EQ(p.turned, p.length != r.pieceL);
            x0 = std::min(x0, p.x);
            y0 = std::min(y0, p.y);
            x1 = std::max(x1, p.x + p.length);
            y1 = std::max(y1, p.y + p.width);
        }
        EXPECT_NEAR(x0 - 0, 20.5 - x1, 1e-9);
        EXPECT_NEAR(y0 - 0, 12 - y1, 1e-9);
    }
}

// The routine's block layouts, as placements: every block where its counts
// put it, and each one a guillotine pattern.
TEST(BestPacking, RoutineBlocksArePlacedAndGuillotine) {
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> piece(50, 600), box(300, 2400), gap(0, 20);
    int mixed = 0;
    for (int n = 0; n < 400; ++n) {
        double l = piece(rng) / 100.0, w = piece(rng) / 100.0;
        if (l < w)
            std::swap(l, w);
        const double C = gap(rng) / 100.0, L = box(rng) / 100.0, W = box(rng) / 100.0;
        SCOPED_TRACE(testing::Message() << L << " x " << W << " / " << l << " x " << w);
        const Layout lay = LayoutPieces(true, l, w, C, 0.3, 0.2, L, W);
        mixed += lay.pattern != 'N';
        const std::vector<Placement> ps = LayoutPlacements(lay, l, w, C, 0.3, 0.2);
        EXPECT_EQ(static_cast<std::int64_t>(ps.size()), lay.Pieces());
        EXPECT_EQ(PlacementFault(ps, Request(L, W, l, w, C, 0.3, 0.2), true), "");
    }
    EXPECT_GT(mixed, 50);
}

// The checker itself catches each kind of fault.
TEST(BestPacking, PlacementFaultFindsEachFault) {
    const PackRequest r = Request(11, 10, 4, 2, 0.5, 1, 1);
    const std::vector<Placement> good = {{1, 1, 4, 2, false}, {5.5, 1, 4, 2, false}};
    EXPECT_EQ(PlacementFault(good, r, true), "");
    std::vector<Placement> close = good;
    close[1].x = 5.2;
    EXPECT_NE(PlacementFault(close, r, false), "");
    std::vector<Placement> outside = good;
    outside[0].x = 0.5;
    EXPECT_NE(PlacementFault(outside, r, false), "");
    std::vector<Placement> wrongSize = good;
    wrongSize[0].width = 3;
    EXPECT_NE(PlacementFault(wrongSize, r, false), "");
    // A pinwheel of four 3 x 1 boards around a hole: sound, but no straight cut.
    const PackRequest wheel = Request(4, 4, 3, 1);
    const std::vector<Placement> pinwheel = {
        {0, 0, 3, 1, false}, {3, 0, 1, 3, true}, {1, 3, 3, 1, false}, {0, 1, 1, 3, true}};
    EXPECT_EQ(PlacementFault(pinwheel, wheel, false), "");
    EXPECT_NE(PlacementFault(pinwheel, wheel, true), "");
}

// Barnes' bound is below the area bound where bars leave waste, and never
// below a layout the solver finds.
TEST(BestPacking, UpperBound) {
    EXPECT_EQ(PackingUpperBound(43, 26, 7, 3), 53);
    EXPECT_EQ(PackingUpperBound(4, 4, 3, 1), 5); // the pinwheel: area bound 5
    EXPECT_EQ(PackingUpperBound(5, 5, 3, 1), 8); // 25 / 3 = 8
    EXPECT_EQ(PackingUpperBound(6, 6, 4, 1), 8); // area 9; 1 x 4 bars leave at least 4
    EXPECT_EQ(PackingUpperBound(6, 6, 4, 3), 2); // area 3
    EXPECT_EQ(PackingUpperBound(7, 7, 4, 2), 4); // normalised to 6 x 6
    EXPECT_EQ(PackingUpperBound(2, 9, 3, 1), 6); // normalised: no width above 2 is used
    EXPECT_EQ(PackingUpperBound(2, 2, 3, 1), 0);
}

// ---- better layouts inside the searches ------------------------------------

namespace {

std::vector<ResultRow> PanelRows(const PanelJob& job, DisplayUnit unit) {
    CollectedRows sink;
    NoProgress progress;
    RunPanelSearch(job, unit, sink, progress);
    return sink.rows;
}

std::vector<ArrayRow> ArrayRows(const ArrayJob& job, DisplayUnit unit) {
    CollectedArrays sink;
    NoProgress progress;
    RunArraySearch(job, unit, sink, progress);
    return sink.rows;
}

template <class Row> std::string Columns(const Row& r) {
    std::string out;
    ForEachColumn(r, [&](const char* name, auto v) {
        out += name;
        out += '=';
        using V = decltype(v);
        char text[40] = "null";
        if constexpr (std::is_same_v<V, double>)
            std::snprintf(text, sizeof text, "%.17g", v);
        else if constexpr (std::is_same_v<V, char>)
            std::snprintf(text, sizeof text, "%c", v);
        else if constexpr (!std::is_same_v<V, std::nullopt_t>)
            std::snprintf(text, sizeof text, "%d", static_cast<int>(v));
        out += text;
        out += ' ';
    });
    return out;
}

// A packed row against the same row with the option off: the same panel and
// sheet, more boards placed soundly, the utilizations from the new count.
void ExpectPackedPanelRow(const ResultRow& on, const ResultRow& off, const PanelJob& job,
                          PackingOption option) {
    EXPECT_EQ(on.Panel_L, off.Panel_L);
    EXPECT_EQ(on.Panel_W, off.Panel_W);
    EXPECT_EQ(on.Base_L, off.Base_L);
    EXPECT_EQ(on.Panel_N, off.Panel_N);
    EXPECT_GT(on.Panel, off.Panel);
    EXPECT_EQ(on.Panel, static_cast<int>(on.boards.size()));
    EXPECT_EQ(on.Set_La + on.Set_Wb + on.Set_Lb + on.Set_Wa + on.Set_sLa + on.Set_sWb, 0);
    EXPECT_NEAR(on.Panel_lv * on.Panel_down, 100, 1e-9);
    EXPECT_NEAR(on.Panel_lv / off.Panel_lv, double(on.Panel) / off.Panel, 1e-12);
    EXPECT_NEAR(on.Base_lv / off.Base_lv, double(on.Panel) / off.Panel, 1e-12);
    PackRequest q;
    q.containerL = on.Panel_L;
    q.containerW = on.Panel_W;
    // `turned` is measured from the row's board, length first.
    q.pieceL = std::max(job.Set_L, job.Set_W);
    q.pieceW = std::min(job.Set_L, job.Set_W);
    q.gap = job.Set_C;
    q.marginL = job.BorderX_L;
    q.marginW = job.BorderX_W;
    const bool guillotine = option == PackingOption::VScored;
    EXPECT_EQ(PlacementFault(*on.boards, q, guillotine), "");
    double left = on.Panel_L, bottom = on.Panel_W;
    for (const Placement& p : on.boards) {
        left = std::min(left, p.x);
        bottom = std::min(bottom, p.y);
    }
    EXPECT_EQ(on.Border_L, left);
    EXPECT_EQ(on.Border_W, bottom);
}

} // namespace

// A preset panel the blocks fill with 7 boards of 5.62 x 3.99 in holds 8:
// with the option on (and mixed orientation) the row carries them, in
// either unit; off, or without mixed orientation, the row is the routine's.
TEST(PackedSearch, PresetPanelGainsABoard) {
    struct Case {
        const char* name;
        PackingOption option;
        bool mixed;
        DisplayUnit unit;
        int boards;
    } cases[] = {
        {"off", PackingOption::Off, true, DisplayUnit::Inch, 7},
        {"routed", PackingOption::Routed, true, DisplayUnit::Inch, 8},
        {"routed, mm", PackingOption::Routed, true, DisplayUnit::Millimetre, 8},
        {"routed, one orientation", PackingOption::Routed, false, DisplayUnit::Inch, -1},
        {"V-scored", PackingOption::VScored, true, DisplayUnit::Inch, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const double f = UnitFactor(c.unit);
        PanelJob job;
        job.Set_L = 5.62 * f;
        job.Set_W = 3.99 * f;
        job.Set_C = 0.1 * f;
        job.BorderX_L = job.BorderX_W = 0.4 * f;
        job.Max_PL = 30 * f;
        job.Max_PW = 30 * f;
        job.PLPW_ratio = 3;
        job.AUTOPanel = false;
        job.BothPanel = c.mixed;
        job.BothBase = true;
        job.presets = {{20.5, 12}};
        job.sheets = {{48, 42}};
        job.packing = c.option;
        PanelJob plain = job;
        plain.packing = PackingOption::Off;
        const std::vector<ResultRow> on = PanelRows(job, c.unit), off = PanelRows(plain, c.unit);
        ASSERT_EQ(on.size(), 1u);
        ASSERT_EQ(off.size(), 1u);
        if (c.boards < 0 || c.option == PackingOption::Off) {
            // No gain: byte for byte the routine's row.
            EXPECT_EQ(Columns(on[0]), Columns(off[0]));
            EXPECT_TRUE(on[0].boards.empty());
            if (c.boards > 0) {
                EXPECT_EQ(on[0].Panel, c.boards);
            }
            continue;
        }
        EXPECT_EQ(off[0].Panel, 7);
        EXPECT_EQ(on[0].Panel, c.boards);
        ExpectPackedPanelRow(on[0], off[0], job, c.option);
    }
}

// Generated panels of generated jobs, option off and on: the same rows in
// the same order, each either exactly the routine's or the same plan with
// more boards, soundly placed.
TEST(PackedSearch, GeneratedPanelsChangeOnlyWhereTheyGain) {
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> side(120, 520);
    int gained = 0;
    for (int n = 0; n < 12; ++n) {
        PanelJob job;
        job.Set_L = side(rng) / 100.0;
        job.Set_W = side(rng) / 100.0;
        job.Set_C = 0.1;
        job.BorderX_L = 0.4;
        job.BorderX_W = 0.3;
        job.Min_PL = job.Min_PW = 8;
        job.Max_PL = 24;
        job.Max_PW = 21;
        job.PLPW_ratio = 2.5;
        job.BothPanel = job.BothBase = true;
        job.sheets = {{48, 42}, {49, 41}};
        job.packing = n % 3 == 2 ? PackingOption::VScored : PackingOption::Routed;
        SCOPED_TRACE(testing::Message()
                     << job.Set_L << " x " << job.Set_W << " option " << int(job.packing));
        PanelJob plain = job;
        plain.packing = PackingOption::Off;
        const std::vector<ResultRow> on = PanelRows(job, DisplayUnit::Inch);
        const std::vector<ResultRow> off = PanelRows(plain, DisplayUnit::Inch);
        ASSERT_EQ(on.size(), off.size());
        for (std::size_t i = 0; i < on.size(); ++i) {
            if (on[i].boards.empty() || on[i].second) {
                EXPECT_TRUE(on[i].boards.empty());
                EXPECT_EQ(Columns(on[i]), Columns(off[i]));
            } else {
                ++gained;
                ExpectPackedPanelRow(on[i], off[i], job, job.packing);
            }
        }
    }
    EXPECT_GT(gained, 0);
}

// Array sizes where the margins fall on the other sides after the turn
// leave room: arrays of units laid out beyond the grid, soundly; every
// other row as before.
TEST(PackedSearch, ArraysChangeOnlyWhereTheyGain) {
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> unit(30, 160), border(0, 6);
    int gained = 0;
    for (int n = 0; n < 40; ++n) {
        ArrayJob job;
        job.Part_L = unit(rng) / 100.0;
        job.Part_W = unit(rng) / 100.0;
        job.Part_C = 0.05;
        job.SetBorder_L = border(rng) / 10.0;
        job.SetBorder_W = border(rng) / 10.0;
        job.Min_SetL = 1;
        job.Min_SetW = 1;
        job.Max_SetL = 8;
        job.Max_SetW = 6;
        job.packing = PackingOption::Routed;
        SCOPED_TRACE(testing::Message() << job.Part_L << " x " << job.Part_W << " borders "
                                        << job.SetBorder_L << ", " << job.SetBorder_W);
        ArrayJob plain = job;
        plain.packing = PackingOption::Off;
        const std::vector<ArrayRow> on = ArrayRows(job, DisplayUnit::Inch);
        const std::vector<ArrayRow> off = ArrayRows(plain, DisplayUnit::Inch);
        ASSERT_EQ(on.size(), off.size());
        for (std::size_t i = 0; i < on.size(); ++i) {
            if (on[i].units.empty()) {
                EXPECT_EQ(Columns(on[i]), Columns(off[i]));
                continue;
            }
            ++gained;
            EXPECT_EQ(on[i].Set_L, off[i].Set_L);
            EXPECT_EQ(on[i].Set_W, off[i].Set_W);
            EXPECT_GT(on[i].Panel, off[i].Panel);
            EXPECT_EQ(on[i].Panel, static_cast<int>(on[i].units.size()));
            EXPECT_EQ(on[i].Part_La + on[i].Part_Wb + on[i].Part_Lb + on[i].Part_Wa, 0);
            EXPECT_NEAR(on[i].Panel_lv / off[i].Panel_lv, double(on[i].Panel) / off[i].Panel,
                        1e-12);
            EXPECT_NEAR(on[i].Panel_lv * on[i].Panel_Down, 1, 1e-12);
            PackRequest q;
            q.containerL = on[i].Set_L;
            q.containerW = on[i].Set_W;
            q.pieceL = std::max(job.Part_L, job.Part_W);
            q.pieceW = std::min(job.Part_L, job.Part_W);
            q.gap = job.Part_C;
            q.marginL = job.SetBorder_L;
            q.marginW = job.SetBorder_W;
            EXPECT_EQ(PlacementFault(*on[i].units, q, false), "");
        }
    }
    EXPECT_GT(gained, 0);
}
