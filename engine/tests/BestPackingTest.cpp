#include "BestPacking.h"
#include "Layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ostream>
#include <random>
#include <string>
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
