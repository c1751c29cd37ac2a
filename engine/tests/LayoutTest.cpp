#include "Layout.h"
#include "Growth.h"
#include "PanelSearch.h"
#include "Tolerance.h"

#include <gtest/gtest.h>

#include <random>

using namespace vorn;

namespace {

// The layout routine exactly as written out step by step, inner loops and
// all: the engine's version computes the inner bands once per family.
Layout LiteralLayout(bool mixed, double L, double W, double C, double BL, double BW, double CL,
                     double CW) {
    const double UL = CL - 2 * BL, UW = CW - 2 * BW;
    Layout best;
    Layout c;
    char s = 0;
    auto offer = [&] {
        const auto n = c.Pieces(), nb = best.Pieces();
        bool take;
        if (!mixed)
            take = s == 'N' && n > nb;
        else
            take = n > nb || (n == nb && best.pattern != 'N' &&
                              (s == 'N' || (c.a1 * c.a2 > 0 && c.c1 * c.c2 == 0)));
        if (take) {
            best = c;
            best.pattern = s;
        }
    };
    if (!mixed) {
        c = {CountFit(UL, L, C), CountFit(UW, W, C), 0, 0, 0, 0, 'N'};
        s = 'N';
        offer();
        c = {0, 0, CountFit(UL, W, C), CountFit(UW, L, C), 0, 0, 'N'};
        offer();
        return best;
    }
    c.a1 = -1;
    double x = UL + (L + C);
    while (TolGe(x, L)) {
        c.a1 += 1;
        x -= L + C;
        c.b1 = CountFit(x, W, C);
        c.c1 = CountFit(x, L, C);
        c.a2 = CountFit(UW, W, C);
        c.b2 = c.c2 = 0;
        double v = UW;
        int G = 0;
        while (TolGe(v, L)) {
            ++G;
            v -= L + C;
            const int K = CountFit(v, W, C);
            if (G * c.b1 + K * c.c1 >= c.b1 * c.b2 + c.c1 * c.c2)
                c.b2 = G, c.c2 = K;
        }
        bool flag = true;
        if (c.a1 == 0 && c.c1 * c.c2 > 0)
            flag = false, s = 'W', c.a1 = c.c1, c.a2 = c.c2, c.c1 = c.c2 = 0;
        if (c.a1 == 0 || c.a2 == 0)
            c.a1 = c.a2 = 0, s = 'N';
        else if (c.b1 == 0 || c.b2 == 0)
            c.b1 = c.b2 = 0, s = 'N';
        else if (s != 'W')
            s = 'L';
        if (c.c2 == 0 || c.c1 == 0)
            c.c1 = c.c2 = 0;
        offer();
        if (!flag && s == 'W')
            c.a1 = 0, s = 'N';
    }
    c.b2 = -1;
    double y = UW + (L + C);
    while (TolGe(y, L)) {
        c.b2 += 1;
        y -= L + C;
        c.a2 = CountFit(y, W, C);
        c.c1 = CountFit(y, L, C);
        c.b1 = CountFit(UL, W, C);
        c.a1 = c.c2 = 0;
        double v = UL;
        int G = 0;
        while (TolGe(v, L)) {
            ++G;
            v -= L + C;
            const int K = CountFit(v, W, C);
            if (c.a2 * G + c.c1 * K >= c.a2 * c.a1 + c.c1 * c.c2)
                c.a1 = G, c.c2 = K;
        }
        bool flag = true;
        if (c.b2 == 0 && c.c1 * c.c2 > 0)
            flag = false, s = 'L', c.b2 = c.c1, c.b1 = c.c2, c.c1 = c.c2 = 0;
        if (c.a1 == 0 || c.a2 == 0)
            c.a1 = c.a2 = 0, s = 'N';
        else if (c.b1 == 0 || c.b2 == 0)
            c.b1 = c.b2 = 0, s = 'N';
        else if (s != 'L')
            s = 'W';
        if (c.c2 == 0 || c.c1 == 0)
            c.c1 = c.c2 = 0;
        offer();
        if (!flag && s == 'L')
            c.b2 = 0, s = 'N';
    }
    return best;
}

} // namespace

TEST(CountFit, Cases) {
    struct Case {
        double x, d, C;
        int want;
    };
    for (const Case& c : {
             Case{4, 4, 0.1, 1},       // exactly one piece, x ends at -0.1
             Case{8 + 4e-13, 4, 0, 2}, // below the tolerance: equal
             Case{8 - 4e-11, 4, 0, 2}, // likewise from below
             Case{8 - 2e-10, 4, 0, 1}, // beyond the tolerance
             Case{3.9, 4, 0.1, 0},     // nothing fits
             Case{10, 2, 0.5, 4},      // 2 + 0.5 + 2 + 0.5 + 2 + 0.5 + 2 = 9.5
             Case{1, -0.1, 0, 0},      // a non-positive step would never end
             Case{1, 0.1, -0.2, 0},
         }) {
        EXPECT_EQ(CountFit(c.x, c.d, c.C), c.want) << c.x << " " << c.d << " " << c.C;
    }
}

// CountFit takes its count from the quotient away from the tolerance; the
// subtraction, run literally, must agree everywhere, above all at the edges.
TEST(CountFit, MatchesRepeatedSubtraction) {
    auto literal = [](double x, double d, double C) {
        if (!(d + C > 0))
            return 0;
        int k = 0;
        for (; TolKey(x) >= TolKey(d); x = x - (d + C))
            ++k;
        return k;
    };
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> piece(0.05, 8), gap(0, 0.3), run(-2, 60);
    std::uniform_int_distribution<int> count(0, 40);
    for (int i = 0; i < 200000; ++i) {
        double d = i % 2 ? std::round(piece(rng) * 100) / 100 : piece(rng);
        const double C = i % 3 ? std::round(gap(rng) * 100) / 100 : 0;
        const bool tiny = i % 5 == 0; // hundreds of pieces in a run
        if (tiny)
            d = std::round(piece(rng) * 5) / 100 + 0.01;
        double x = run(rng);
        if (i % 4 == 0) // a whole number of steps, then nudged around the tolerance
            x = d + count(rng) * (tiny ? 25 : 1) * (d + C) +
                (i % 8 ? 0 : std::uniform_real_distribution<double>(-3e-10, 3e-10)(rng));
        ASSERT_EQ(CountFit(x, d, C), literal(x, d, C)) << x << " " << d << " " << C;
    }
}

TEST(LayoutPieces, Cases) {
    struct Case {
        bool mixed;
        double L, W, C, BL, BW, CL, CW;
        Layout want;
    };
    for (const Case& c : {
             Case{false, 4, 2, 0, 0, 0, 10, 7, {2, 3, 0, 0, 0, 0, 'N'}},
             // Several arrangements hold 7; the last one without an extra block wins.
             Case{true, 4, 2, 0, 0, 0, 10, 7, {2, 1, 5, 1, 0, 0, 'W'}},
             Case{false, 4, 2, 0.1, 0, 0, 4, 2, {1, 1, 0, 0, 0, 0, 'N'}},
             Case{true, 4, 2, 0.1, 0, 0, 3, 1.5, {0, 0, 0, 0, 0, 0, 'N'}},
             Case{false, 4, 2, 0, 0, 0, 8 + 4e-13, 2, {2, 1, 0, 0, 0, 0, 'N'}},
             Case{true, 3, 2, 0, 0, 0, 7, 8, {1, 4, 2, 2, 1, 1, 'L'}},
             // An equal turned grid does not replace the upright one.
             Case{false, 2, 2, 0, 0, 0, 4, 4, {2, 2, 0, 0, 0, 0, 'N'}},
             // The turned grid alone when it holds more.
             Case{false, 4, 1, 0, 0, 0, 6, 4, {0, 0, 6, 1, 0, 0, 'N'}},
             Case{false, 4, 1, 0, 0, 0, 4.5, 4.5, {1, 4, 0, 0, 0, 0, 'N'}},
             Case{false, 5, 1, 0, 0, 0, 4, 5, {0, 0, 4, 1, 0, 0, 'N'}},
             // Margins shrink the usable area on both sides.
             Case{false, 4, 2, 0.1, 0.5, 0.5, 9.1, 5.2, {2, 2, 0, 0, 0, 0, 'N'}},
         }) {
        EXPECT_EQ(LayoutPieces(c.mixed, c.L, c.W, c.C, c.BL, c.BW, c.CL, c.CW), c.want)
            << c.L << "x" << c.W << " in " << c.CL << "x" << c.CW << " mixed " << c.mixed;
    }
}

TEST(LayoutPieces, MatchesTheStepByStepRoutine) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> piece(0.3, 6), gap(0, 0.3), margin(0, 1), box(0, 30);
    for (int i = 0; i < 20000; ++i) {
        double L = piece(rng), W = piece(rng);
        if (L < W)
            std::swap(L, W);
        if (i % 3 == 0) // decimal sizes meet the tolerance at the edges
            L = std::round(L * 10) / 10, W = std::round(W * 10) / 10;
        const double C = i % 2 ? std::round(gap(rng) * 20) / 20 : 0;
        const double BL = std::round(margin(rng) * 10) / 10, BW = std::round(margin(rng) * 10) / 10;
        const double CL = box(rng), CW = box(rng);
        LayoutMemo memo(L, W, C);
        for (bool mixed : {false, true})
            ASSERT_TRUE(memo.Pieces(mixed, BL, BW, CL, CW) ==
                            LayoutPieces(mixed, L, W, C, BL, BW, CL, CW) &&
                        LayoutPieces(mixed, L, W, C, BL, BW, CL, CW) ==
                            LiteralLayout(mixed, L, W, C, BL, BW, CL, CW))
                << L << "x" << W << " C " << C << " in " << CL << "x" << CW << " margins " << BL
                << "," << BW << " mixed " << mixed;
    }
}

// Tiny pieces without a gap fill runs exactly, at the tolerance, in every
// round: the quotient counts, the band hulls and the side runs a LayoutMemo
// keeps must give the step-by-step result there too.
TEST(LayoutPieces, TinyPiecesAndExactFitsMatchTheStepByStepRoutine) {
    std::mt19937 rng(17);
    std::uniform_int_distribution<int> count(0, 120);
    const double pieces[][2] = {{0.1, 0.1}, {0.15, 0.1}, {0.2, 0.08}, {0.12, 0.12}, {0.25, 0.2}};
    for (const auto& p : pieces) {
        for (double C : {0.0, 0.01}) {
            const double BL = 0.6, BW = 0.5;
            LayoutMemo memo(p[0], p[1], C);
            for (int i = 0; i < 400; ++i) {
                // Sides built as the panel search builds them: margins plus
                // whole numbers of piece lengths and widths with their gaps.
                const double CL = GridSide(BL, p[0], p[1], C, count(rng), count(rng) / 4);
                const double CW = GridSide(BW, p[0], p[1], C, count(rng) / 2, count(rng) / 3);
                for (bool mixed : {false, true}) {
                    const Layout want = LiteralLayout(mixed, p[0], p[1], C, BL, BW, CL, CW);
                    ASSERT_EQ(LayoutPieces(mixed, p[0], p[1], C, BL, BW, CL, CW), want)
                        << p[0] << "x" << p[1] << " C " << C << " in " << CL << "x" << CW;
                    ASSERT_EQ(memo.Pieces(mixed, BL, BW, CL, CW), want)
                        << p[0] << "x" << p[1] << " C " << C << " in " << CL << "x" << CW;
                }
            }
        }
    }
}

// Pieces given wider than long (a given panel's boards, the layout command)
// in containers down to narrower than a piece: rounds with nothing across
// them, and sides with rounds but no bands.
TEST(LayoutPieces, PiecesWiderThanLongMatchTheStepByStepRoutine) {
    std::mt19937 rng(23);
    std::uniform_int_distribution<int> count(0, 40);
    const double pieces[][3] = {
        {0.364, 0.513, 0}, {0.2, 0.45, 0.05}, {0.3, 1.0, 0}, {0.5, 0.6, 0.1}};
    for (const auto& p : pieces) {
        const double BL = 0.3, BW = 0.2;
        LayoutMemo memo(p[0], p[1], p[2]);
        for (int i = 0; i < 500; ++i) {
            const double CL = GridSide(BL, p[0], p[1], p[2], count(rng) / 3, count(rng) / 5);
            const double CW = GridSide(BW, p[0], p[1], p[2], count(rng) / 5, count(rng) / 3);
            const Layout want = LiteralLayout(true, p[0], p[1], p[2], BL, BW, CL, CW);
            ASSERT_EQ(LayoutPieces(true, p[0], p[1], p[2], BL, BW, CL, CW), want)
                << p[0] << "x" << p[1] << " in " << CL << "x" << CW;
            ASSERT_EQ(memo.Pieces(true, BL, BW, CL, CW), want)
                << p[0] << "x" << p[1] << " in " << CL << "x" << CW;
        }
    }
}

// Panels on sheets that share their lengths: each sheet's layout as if laid
// out alone, whatever the sheets before it left behind.
TEST(LayoutPiecesIn, MatchesEachContainerAlone) {
    const double sheets[] = {48, 36, 48, 40, 49, 37, 49, 41, 48, 36, 20, 48, 3, 2};
    const std::size_t count = std::size(sheets) / 2;
    std::mt19937 rng(31);
    std::uniform_int_distribution<int> n(0, 40);
    for (int i = 0; i < 3000; ++i) {
        const double C = i % 3 == 0 ? 0.1 : 0;
        double PL = GridSide(0.4, 0.513, 0.364, 0, n(rng), n(rng) / 2);
        double PW = GridSide(0.4, 0.513, 0.364, 0, n(rng) / 2, n(rng) / 3);
        if (PL < PW)
            std::swap(PL, PW);
        for (bool mixed : {true, false}) {
            Layout out[count];
            LayoutPiecesIn(mixed, PL, PW, C, sheets, count, out);
            for (std::size_t s = 0; s < count; ++s)
                ASSERT_EQ(out[s],
                          LayoutPieces(mixed, PL, PW, C, 0, 0, sheets[2 * s], sheets[2 * s + 1]))
                    << PL << "x" << PW << " on " << sheets[2 * s] << "x" << sheets[2 * s + 1];
        }
    }
}

TEST(ActualMargins, Cases) {
    struct Case {
        Layout lay;
        double L, W, C, CL, CW, mL, mW;
    };
    for (const Case& c : {
             // Nothing fits: the upright formulas with zero counts.
             Case{{0, 0, 0, 0, 0, 0, 'N'}, 4, 2, 0.1, 3, 1.5, (3 + 0.1) / 2, (1.5 + 0.1) / 2},
             Case{{2, 3, 0, 0, 0, 0, 'N'}, 4, 2, 0, 10, 7, 1, 0.5},
             Case{{0, 0, 4, 1, 0, 0, 'N'}, 5, 1, 0, 4, 5, 0, 0},
             // The extents are the larger of the alternative sums.
             Case{{1, 4, 2, 2, 1, 1, 'L'}, 3, 2, 0, 7, 8, 0, 0},
             Case{{2, 1, 5, 1, 0, 0, 'W'}, 4, 2, 0, 10, 7, 0, 0.5},
             Case{{2, 2, 0, 0, 0, 0, 'N'}, 4, 2, 0.1, 10, 6, (10 - 8.1) / 2, (6 - 4.1) / 2},
         }) {
        const Margins m = ActualMargins(c.lay, c.L, c.W, c.C, c.CL, c.CW);
        EXPECT_DOUBLE_EQ(m.mL, c.mL) << c.lay.pattern << c.lay.a1 << c.lay.b1;
        EXPECT_DOUBLE_EQ(m.mW, c.mW) << c.lay.pattern << c.lay.a1 << c.lay.b1;
    }
}

TEST(GrowPanel, Cases) {
    struct Case {
        Layout cut;
        double SL, SW, PL, PW;
        Layout wantCut;
        double wantPL, wantPW;
    };
    const Layout up{1, 1, 0, 0, 0, 0, 'N'};
    for (const Case& c : {
             // Ceiling 11 fits, tenths up to 12.4; width 9 fits exactly and stops.
             Case{up, 12.47, 9, 10.3, 8.2, up, 12.4, 9},
             // Ceiling 13 fails, 12.3 fits at tenths, hundredths end at 12.47.
             Case{up, 12.47, 12.47, 12.3, 12.3, up, 12.47, 12.47},
             // A grown panel narrower than wide is turned, its counts with it.
             Case{up, 8.05, 11.95, 8, 7.5, {0, 0, 1, 1, 0, 0, 'N'}, 11.9, 8},
             // Counts that no precision makes fit leave the side as it was.
             // (the width then grows past it, so the panel is turned).
             Case{{2, 1, 0, 0, 0, 0, 'N'}, 10, 10, 5.5, 5, {0, 0, 2, 1, 0, 0, 'N'}, 10, 5.5},
             // Nothing cut: no growth.
             Case{{}, 1, 1, 5.5, 5, {}, 5.5, 5},
         }) {
        Layout cut = c.cut;
        double PL = c.PL, PW = c.PW;
        GrowPanel(cut, c.SL, c.SW, PL, PW);
        EXPECT_EQ(cut, c.wantCut) << c.PL << "x" << c.PW;
        EXPECT_TRUE(TolEq(PL, c.wantPL)) << PL << " want " << c.wantPL;
        EXPECT_TRUE(TolEq(PW, c.wantPW)) << PW << " want " << c.wantPW;
    }
}

TEST(GrowPanel, MixedCutWithEmptyExtraBlockChecksTwoWidthTests) {
    // "L": one upright column of two, one turned column of one. The length
    // grows until Pb2 * PL fills the sheet width exactly; the strict form of
    // that test would then stop the width at once, but without an extra block
    // the width grows on the other two tests.
    Layout cut{1, 2, 1, 1, 0, 0, 'L'};
    double PL = 10, PW = 5;
    GrowPanel(cut, 16.55, 10.5, PL, PW);
    EXPECT_TRUE(TolEq(PL, 10.5)) << PL;
    EXPECT_TRUE(TolEq(PW, 5.2)) << PW; // 2 * 5.3 > 10.5
}

TEST(RoundUpToFit, LadderEndsWithoutAFit) {
    EXPECT_EQ(RoundUpToFit(3.25, [](double v) { return v <= 4; }), 4);
    EXPECT_EQ(RoundUpToFit(3.25, [](double v) { return v <= 3.3; }), 3.3);
    EXPECT_EQ(RoundUpToFit(3.25, [](double) { return false; }), 3.25);
}

TEST(EstimateSteps, Table) {
    struct Case {
        double L, W;
        std::int64_t want;
    };
    for (const Case& c :
         {Case{1, 1, 40000}, Case{2, 1, 20000}, Case{2.5, 1, 15000}, Case{3, 1, 10000},
          Case{4, 1, 8000}, Case{5, 1, 5000}, Case{5, 2, 2000}, Case{12.5, 1, 1200},
          Case{15, 1, 800}, Case{20, 1, 400}, Case{10, 10, 200}, Case{50, 10, 100},
          Case{50, 10.1, 50}, Case{1.3, 0.9, 20000}, Case{4, 2, 2000}}) {
        EXPECT_EQ(EstimateSteps(c.L, c.W), c.want) << c.L << "x" << c.W;
    }
}
