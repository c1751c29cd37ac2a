// Tooling holes, the typed panel and border minimization, as values.

#include "BestPacking.h"
#include "GivenPanel.h"
#include "JobFile.h"
#include "Layout.h"
#include "Tolerance.h"
#include "Tooling.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <string>
#include <type_traits>

using namespace vorn;

namespace {

// A valid panel 1 of 20 x 16 holding 4 boards of 8 x 6.
ToolingOutlines Panel20x16() {
    ToolingOutlines o;
    o.Set_L = 8;
    o.Set_W = 6;
    o.Panel_L = 20;
    o.Panel_W = 16;
    o.Panel = 4;
    o.Panel_lv = 4 * 48 * 100.0 / 320;
    return o;
}

ToolingOutlines Scaled(ToolingOutlines o, double f) {
    for (double* v : {&o.Set_L, &o.Set_W, &o.Panel_L, &o.Panel_W, &o.Panel_L2, &o.Panel_W2,
                      &o.Part_L, &o.Part_W})
        *v *= f;
    return o;
}

} // namespace

TEST(ToolingHoles, EveryReferencePlacesItsHole) {
    struct Case {
        const char* ref;
        double E, O;
        double X, Y;
    };
    const Case cases[] = {
        {"Top_Edge", 0.2, -0.5, 19.5, 0.2},   {"Top_Edge", 0.2, 0.5, 0.5, 0.2},
        {"Top_Center", 0.3, -1, 9, 0.3},      {"Bottom_Edge", 0.25, 2, 2, 15.75},
        {"Bottom_Edge", 0.25, -2, 18, 15.75}, {"Bottom_Center", 0.25, 1.5, 11.5, 15.75},
        {"Left_Edge", 0.4, 3, 0.4, 3},        {"Left_Edge", 0.4, -3, 0.4, 13},
        {"Left_Center", 0.4, -2, 0.4, 6},     {"Right_Edge", 0.25, 1, 19.75, 1},
        {"Right_Edge", 0.25, -1, 19.75, 15},  {"Right_Center", 0.25, 0, 19.75, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ref);
        const auto h = PlaceHole(c.ref, 20, 16, c.E, c.O);
        ASSERT_TRUE(h);
        EXPECT_DOUBLE_EQ(h->X, c.X);
        EXPECT_DOUBLE_EQ(h->Y, c.Y);
    }
    EXPECT_FALSE(PlaceHole("", 20, 16, 1, 1));
    EXPECT_FALSE(PlaceHole("top_edge", 20, 16, 1, 1));
}

// On the outline is inside; a hair outside is not, in inches and millimetres.
TEST(ToolingHoles, OnTheOutlineKeptAHairOutsideDropped) {
    struct Case {
        const char* ref;
        double E, O;
        bool kept;
    };
    const double hair = 1e-9;
    const Case cases[] = {
        {"Left_Edge", 0, 0, true},
        {"Right_Edge", 0, -16, true},
        {"Top_Edge", 0, 20, true},
        {"Bottom_Edge", 16, 0, true},
        {"Left_Edge", -hair, 1, false},
        {"Top_Edge", 0.2, 20 + hair, false},
        {"Bottom_Edge", -hair, 1, false},
        {"Top_Center", 0.2, 10 + hair, false},
        {"Right_Center", 0.2, 8 + hair, false},
        {"Top_Edge", 16 + hair, 1, false},
    };
    for (double f : {1.0, 25.4}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.ref) + (f > 1 ? " mm" : " inch"));
            // The presets are inches; in mm the hair is a hair of an inch times 25.4.
            const std::vector<ToolingPreset> presets{{c.ref, c.E, c.O, 0.125}};
            const auto holes = ComputeToolingHoles(presets, {}, Scaled(Panel20x16(), f), f);
            EXPECT_EQ(holes.size(), c.kept ? 1u : 0u);
        }
    }
}

TEST(ToolingHoles, NumberedByYThenXPerTypeAndMmIsInchTimes254) {
    ToolingOutlines o = Panel20x16();
    // A valid second panel 18 x 14 with 2 boards and a valid array 8 x 6 of 6 units 2 x 2.
    o.Panel_L2 = 18;
    o.Panel_W2 = 14;
    o.Panel2 = 2;
    o.Panel_lv2 = 2 * 48 * 100.0 / (18 * 14);
    o.Part_L = 2;
    o.Part_W = 2;
    o.PanelCu = 6;
    o.Panel_lvCu = 2 * 2 * 6 * 100.0 / 48;
    const std::vector<ToolingPreset> panel{{"Bottom_Edge", 0.2, 0.5, 0.125},
                                           {"Top_Edge", 0.2, -0.5, 0.125},
                                           {"Top_Edge", 0.2, 0.5, 0.125},
                                           {"Left_Center", 0.3, 0, 0.1},
                                           {"Nowhere", 1, 1, 0.1}};
    const std::vector<ToolingPreset> array{{"Top_Center", 0.1, 0, 0.08},
                                           {"Right_Edge", 9, 0, 0.08}}; // outside: 8 - 9 < 0
    const auto inch = ComputeToolingHoles(panel, array, o, 1);
    struct Want {
        const char* type;
        int n;
        double x, y;
    };
    // The unplaced preset has empty coordinates, counted as 0: it comes first.
    const Want want[] = {
        {"Panel1", 1, 0, 0},      {"Panel1", 2, 0.5, 0.2},  {"Panel1", 3, 19.5, 0.2},
        {"Panel1", 4, 0.3, 8},    {"Panel1", 5, 0.5, 15.8}, {"Panel2", 1, 0, 0},
        {"Panel2", 2, 0.5, 0.2},  {"Panel2", 3, 17.5, 0.2}, {"Panel2", 4, 0.3, 7},
        {"Panel2", 5, 0.5, 13.8}, {"Array", 1, 4, 0.1}};
    ASSERT_EQ(inch.size(), std::size(want));
    for (size_t i = 0; i < inch.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(inch[i].PanelType, want[i].type);
        EXPECT_EQ(inch[i].SerialNumber, want[i].n);
        EXPECT_DOUBLE_EQ(inch[i].Xcoordinate.value_or(0), want[i].x);
        EXPECT_DOUBLE_EQ(inch[i].Ycoordinate.value_or(0), want[i].y);
    }
    EXPECT_FALSE(inch[0].Xcoordinate.has_value());

    const auto mm = ComputeToolingHoles(panel, array, Scaled(o, 25.4), 25.4);
    ASSERT_EQ(mm.size(), inch.size());
    for (size_t i = 0; i < mm.size(); ++i) {
        EXPECT_EQ(mm[i].SerialNumber, inch[i].SerialNumber);
        EXPECT_NEAR(mm[i].Xcoordinate.value_or(0), inch[i].Xcoordinate.value_or(0) * 25.4, 1e-9);
        EXPECT_NEAR(mm[i].Ycoordinate.value_or(0), inch[i].Ycoordinate.value_or(0) * 25.4, 1e-9);
        EXPECT_NEAR(mm[i].Diameter, inch[i].Diameter * 25.4, 1e-12);
    }
}

TEST(ToolingHoles, InvalidSecondPanelAndArrayHaveNoHolesPanel1Always) {
    ToolingOutlines o; // nothing valid, panel 1 of size 0
    o.Panel_L2 = 18;
    o.Panel_W2 = 14; // sizes without a matching utilization
    o.Panel2 = 2;
    o.Panel_lv2 = 50;
    const std::vector<ToolingPreset> p{{"Left_Edge", 0, 0, 0.1}};
    const auto holes = ComputeToolingHoles(p, p, o, 1);
    ASSERT_EQ(holes.size(), 1u); // at (0, 0), on the empty outline
    EXPECT_EQ(holes[0].PanelType, "Panel1");
}

// ---- typed panel ----

namespace {
GivenPanelJob Typed(double sl, double sw, double pl, double pw) {
    GivenPanelJob j;
    j.Set_L = sl;
    j.Set_W = sw;
    j.Set_C = 0.1;
    j.BorderX_L = 0.5;
    j.BorderX_W = 0.5;
    j.Panel_L = pl;
    j.Panel_W = pw;
    j.sheets = {{48, 36}, {48, 40}, {49, 43}};
    return j;
}
} // namespace

TEST(GivenPanel, RefusalsInOrder) {
    GivenPanelJob j = Typed(0, 3, 20, 16);
    EXPECT_EQ(GivenPanelRefusal(j), "   请给出适当的\"成品尺寸\" ！   ");
    j = Typed(5, 3, 20, 0);
    EXPECT_EQ(GivenPanelRefusal(j), "   请给出适当的\"Panel尺寸\" ！   ");
    j = Typed(5, 3, 20, 16);
    j.sheets.clear();
    EXPECT_EQ(GivenPanelRefusal(j), "   请选定有效板材！！   ");
    EXPECT_EQ(GivenArrayRefusal({0, 1, 0, 0, 0, 5, 5}), "   请给出适当的\"单元尺寸\" ！   ");
    EXPECT_EQ(GivenArrayRefusal({1, 1, 0, 0, 0, 5, 0}), "   请给出适当的\"Arrey尺寸\" ！   ");
}

TEST(GivenPanel, NormalisedCentredAndValid) {
    const ResultRow r = PanelizeGivenPanel(Typed(3, 5, 400, 500), DisplayUnit::Inch);
    EXPECT_EQ(r.Panel_L, 500);
    EXPECT_EQ(r.Panel_W, 400);
    EXPECT_EQ(r.Set_L, 5);
    EXPECT_EQ(r.Set_W, 3);
    EXPECT_TRUE(PanelGood(r.Set_L, r.Set_W, r.Panel_L, r.Panel_W, r.Panel, r.Panel_lv));
    // Larger than every sheet: no panel per sheet, still a valid job.
    EXPECT_EQ(r.Panel_N, 0);
    EXPECT_EQ(r.Base_lv, 0);
    EXPECT_EQ(r.Base_L, 48); // the first enabled sheet
    EXPECT_EQ(r.Base_W, 36);

    const ResultRow s = PanelizeGivenPanel(Typed(5, 3, 21.3, 18.1), DisplayUnit::Inch);
    // Centred: margins at least the minimums, equal on both sides by construction.
    EXPECT_TRUE(TolGe(s.Border_L, 0.5));
    EXPECT_TRUE(TolGe(s.Border_W, 0.5));
    EXPECT_EQ(s.Panel_L, 21.3);
    EXPECT_NEAR(s.Base_lv, s.Panel * 15.0 * s.Panel_N * 100 / (s.Base_L * s.Base_W), 1e-12);
}

TEST(GivenPanel, NoBoardFitsGivesAnEmptyPlanWithoutDividingByZero) {
    const ResultRow r = PanelizeGivenPanel(Typed(30, 20, 10, 8), DisplayUnit::Inch);
    EXPECT_EQ(r.Panel, 0);
    EXPECT_EQ(r.Panel_lv, 0);
    EXPECT_EQ(r.Base_lv, 0);
    EXPECT_FALSE(PanelGood(r.Set_L, r.Set_W, r.Panel_L, r.Panel_W, r.Panel, r.Panel_lv));
    // A sheet of no area neither wins nor divides by zero.
    GivenPanelJob j = Typed(5, 3, 20, 16);
    j.sheets = {{0, 0}, {48, 36}};
    const ResultRow z = PanelizeGivenPanel(j, DisplayUnit::Inch);
    EXPECT_EQ(z.Base_L, 48);
    EXPECT_GT(z.Panel_N, 0);
}

TEST(GivenPanel, TiesKeepTheFirstSheetAndDensityDecides) {
    GivenPanelJob j = Typed(5, 3, 24, 18);
    // 48 x 36 and 36 x 48 (the same sheet turned) give the same panels per area.
    j.sheets = {{36, 48}, {48, 36}, {49, 43}};
    const ResultRow r = PanelizeGivenPanel(j, DisplayUnit::Inch);
    EXPECT_EQ(r.Panel_N, 4);
    EXPECT_EQ(r.Base_L, 48);
    EXPECT_EQ(r.Base_W, 36);
    // A sheet with more panels per area wins over an earlier one.
    j.sheets = {{49, 43}, {48, 36}};
    EXPECT_EQ(PanelizeGivenPanel(j, DisplayUnit::Inch).Base_W, 36);
}

// Millimetres give the inch plan times 25.4 (utilizations unchanged), and
// every plan passes the program's validity test in both units.
TEST(GivenPanel, RandomJobsValidInBothUnitsAndMmIsInchTimes254) {
    std::mt19937 rng(20261210);
    std::uniform_real_distribution<double> board(0.3, 9), panel(6, 30), gap(0, 0.3), margin(0, 1);
    int plans = 0;
    for (int i = 0; i < 600; ++i) {
        GivenPanelJob in = Typed(board(rng), board(rng), panel(rng), panel(rng));
        in.Set_C = gap(rng);
        in.BorderX_L = margin(rng);
        in.BorderX_W = margin(rng);
        in.BothPanel = i % 2;
        in.BothBase = i % 3 == 0;
        GivenPanelJob mm = in;
        for (double* v : {&mm.Set_L, &mm.Set_W, &mm.Set_C, &mm.BorderX_L, &mm.BorderX_W,
                          &mm.Panel_L, &mm.Panel_W})
            *v *= 25.4;
        const ResultRow a = PanelizeGivenPanel(in, DisplayUnit::Inch);
        const ResultRow b = PanelizeGivenPanel(mm, DisplayUnit::Millimetre);
        SCOPED_TRACE(i);
        EXPECT_EQ(a.Panel, b.Panel);
        EXPECT_EQ(a.Panel_N, b.Panel_N);
        EXPECT_NEAR(b.Panel_L, a.Panel_L * 25.4, 1e-9);
        EXPECT_NEAR(b.Border_L, a.Border_L * 25.4, 1e-9);
        EXPECT_NEAR(b.Border_W, a.Border_W * 25.4, 1e-9);
        EXPECT_NEAR(b.Base_L, a.Base_L * 25.4, 1e-9);
        EXPECT_NEAR(b.Panel_lv, a.Panel_lv, 1e-9);
        EXPECT_NEAR(b.Base_lv, a.Base_lv, 1e-9);
        if (a.Panel == 0)
            continue;
        ++plans;
        EXPECT_TRUE(PanelGood(a.Set_L, a.Set_W, a.Panel_L, a.Panel_W, a.Panel, a.Panel_lv));
        EXPECT_TRUE(PanelGood(b.Set_L, b.Set_W, b.Panel_L, b.Panel_W, b.Panel, b.Panel_lv));
        EXPECT_TRUE(TolGe(a.Border_L, in.BorderX_L) && TolGe(a.Border_W, in.BorderX_W));
        // Minimized, still valid, and a second pass changes nothing.
        for (auto [r, f] : {std::pair{a, 1.0}, std::pair{b, 25.4}}) {
            const double xl = in.BorderX_L * f, xw = in.BorderX_W * f;
            MinimizeBorders(r, xl, xw);
            EXPECT_TRUE(PanelGood(r.Set_L, r.Set_W, r.Panel_L, r.Panel_W, r.Panel, r.Panel_lv));
            const ResultRow once = r;
            EXPECT_FALSE(MinimizeBorders(r, xl, xw));
            EXPECT_EQ(r.Panel_L, once.Panel_L);
            EXPECT_EQ(r.Panel_lv, once.Panel_lv);
        }
    }
    EXPECT_GT(plans, 300);
}

TEST(GivenArray, CentredInTheTypedArrayTurnedWhenOnlyThatFits) {
    // 2 x 1 units, gap 0.1, borders 0.2 in a 4.5 x 2.5 array: upright 2 x 2.
    ArrayRow r = PanelizeGivenArray({1, 2, 0.1, 0.2, 0.2, 2.5, 4.5}, DisplayUnit::Inch);
    EXPECT_EQ(r.Set_L, 4.5);
    EXPECT_EQ(r.Part_L, 2);
    EXPECT_EQ(r.Part_La, 2);
    EXPECT_EQ(r.Part_Wb, 2);
    EXPECT_NEAR(r.SetBorder_L, 0.2, 1e-12);
    EXPECT_NEAR(r.SetBorder_W, 0.2, 1e-12);
    EXPECT_TRUE(PanelGood(r.Part_L, r.Part_W, r.Set_L, r.Set_W, r.Panel, r.Panel_lv));
    // With a wide length border the unit fits only turned: the turned formula.
    r = PanelizeGivenArray({2, 1, 0, 0.3, 0.05, 2.2, 2.5}, DisplayUnit::Inch);
    EXPECT_EQ(r.Part_La, 0);
    EXPECT_EQ(r.Part_Wb, 0);
    EXPECT_EQ(r.Part_Lb, 1);
    EXPECT_EQ(r.Part_Wa, 1);
    EXPECT_NEAR(r.SetBorder_L, 0.75, 1e-12);
    EXPECT_NEAR(r.SetBorder_W, 0.1, 1e-12);
    EXPECT_TRUE(PanelGood(r.Part_L, r.Part_W, r.Set_L, r.Set_W, r.Panel, r.Panel_lv));
    // Nothing fits: the borders stay as typed.
    r = PanelizeGivenArray({5, 4, 0, 0.3, 0.25, 2, 2}, DisplayUnit::Inch);
    EXPECT_EQ(r.Panel, 0);
    EXPECT_EQ(r.SetBorder_L, 0.3);
    EXPECT_EQ(r.SetBorder_W, 0.25);
}

TEST(BorderMinimization, ShrinksOnlyMarginsAboveTheMinimum) {
    struct Case {
        PanelBorders in;
        double xl, xw;
        bool changed;
        double L, W;
    };
    const Case cases[] = {
        {{21.5, 18.0, 0.75, 0.5, 6, 50}, 0.5, 0.5, true, 21.0, 18.0},
        {{21.5, 18.0, 0.3, 0.9, 6, 50}, 0.5, 0.5, true, 21.5, 17.2}, // below: not enlarged
        {{21.5, 18.0, 0.5, 0.5, 6, 50}, 0.5, 0.5, false, 21.5, 18.0},
        {{21.5, 18.0, 0.5 + 1e-12, 0.5, 6, 50}, 0.5, 0.5, false, 21.5, 18.0},
    };
    for (const Case& c : cases) {
        PanelBorders p = c.in;
        EXPECT_EQ(ShrinkToMinimumBorders(p, 5, 3, c.xl, c.xw), c.changed);
        EXPECT_NEAR(p.Panel_L, c.L, 1e-12);
        EXPECT_NEAR(p.Panel_W, c.W, 1e-12);
        if (c.changed) {
            EXPECT_DOUBLE_EQ(p.Panel_lv, 6 * 15 * 100 / (p.Panel_L * p.Panel_W));
        }
    }
    // 21.5 x 18 -> 21 x 18: the utilization rises by 21.5 / 21.
    PanelBorders p{21.5, 18.0, 0.75, 0.5, 6, 6 * 15 * 100 / (21.5 * 18)};
    const double before = p.Panel_lv;
    ASSERT_TRUE(ShrinkToMinimumBorders(p, 5, 3, 0.5, 0.5));
    EXPECT_NEAR(p.Panel_lv / before, 21.5 / 21.0, 1e-12);
    EXPECT_EQ(p.Border_L, 0.5);
}

TEST(BorderMinimization, SecondPanelShrunkIndependently) {
    ResultRow r;
    r.Set_L = 5;
    r.Set_W = 3;
    r.Panel_L = 21;
    r.Panel_W = 18;
    r.Border_L = 0.5;
    r.Border_W = 0.5;
    r.Panel = 6;
    r.Panel_lv = 6 * 15 * 100 / (21.0 * 18);
    SecondPanel s;
    s.Panel_L2 = 12;
    s.Panel_W2 = 10;
    s.Border_L2 = 1;
    s.Border_W2 = 0.5;
    s.Panel2 = 4;
    s.Panel_lv2 = 50;
    r.second = s;
    ASSERT_TRUE(MinimizeBorders(r, 0.5, 0.5));
    EXPECT_EQ(r.Panel_L, 21);
    EXPECT_EQ(r.second->Panel_L2, 11);
    EXPECT_EQ(r.second->Border_L2, 0.5);
    EXPECT_TRUE(PanelGood(5, 3, 11, 10, 4, r.second->Panel_lv2));
}

// ---- best packing of a typed panel ----

namespace {
// Hard instances at 10 mm a unit with a 2 mm gap and 5 mm margins: boxes
// 8 x 5 in 63 x 44 (block routine 66, straight cuts 67, any layout 69) and
// 7 x 3 in 43 x 26 (routine and straight cuts 52, any layout 53).
GivenPanelJob HardPanel(PackingOption packing, int L = 63, int W = 44, int l = 8, int w = 5) {
    GivenPanelJob j;
    j.Set_L = l * 10 - 2;
    j.Set_W = w * 10 - 2;
    j.Set_C = 2;
    j.BorderX_L = 5;
    j.BorderX_W = 5;
    j.Panel_L = W * 10 + 8; // typed across: the plan turns it
    j.Panel_W = L * 10 + 8;
    j.BothPanel = true;
    j.BothBase = true;
    j.sheets = {{48, 36}, {48, 40}};
    j.packing = packing;
    return j;
}
} // namespace

TEST(GivenPanelPacking, MoreBoardsWithTheOptionAndEveryLayoutSound) {
    struct Case {
        PackingOption option;
        int L, W, l, w;
        int routine, boards;
    };
    for (const Case c : {Case{PackingOption::Routed, 43, 26, 7, 3, 52, 53},
                         Case{PackingOption::VScored, 63, 44, 8, 5, 66, 67}}) {
        SCOPED_TRACE(PackingOptionWord(c.option));
        const ResultRow off = PanelizeGivenPanel(HardPanel(PackingOption::Off, c.L, c.W, c.l, c.w),
                                                 DisplayUnit::Millimetre);
        ASSERT_EQ(off.Panel, c.routine);
        EXPECT_TRUE(off.boards.empty());
        const ResultRow r =
            PanelizeGivenPanel(HardPanel(c.option, c.L, c.W, c.l, c.w), DisplayUnit::Millimetre);
        EXPECT_EQ(r.Panel, c.boards);
        ASSERT_EQ(r.boards.size(), std::size_t(c.boards));
        EXPECT_EQ(r.BoardLayout().Pieces(), 0); // no block pattern describes it
        const bool guillotine = c.option == PackingOption::VScored;
        PackRequest q;
        q.containerL = c.L * 10 + 8;
        q.containerW = c.W * 10 + 8;
        q.pieceL = c.l * 10 - 2;
        q.pieceW = c.w * 10 - 2;
        q.gap = 2;
        q.marginL = q.marginW = 5;
        EXPECT_EQ(PlacementFault(*r.boards, q, guillotine), "");
        if (!guillotine) {
            // More than straight cuts can hold.
            EXPECT_NE(PlacementFault(*r.boards, q, true), "");
        }
        // Utilizations, margins and the sheet follow the count.
        EXPECT_NEAR(r.Panel_lv,
                    c.boards * q.pieceL * q.pieceW * 100 / (q.containerL * q.containerW), 1e-9);
        EXPECT_EQ(r.Panel_N, off.Panel_N);
        EXPECT_NEAR(r.Base_lv, off.Base_lv * c.boards / c.routine, 1e-9);
        EXPECT_NEAR(r.Panel_down, 100 / r.Panel_lv, 1e-12);
        EXPECT_TRUE(TolGe(r.Border_L, 5) && TolGe(r.Border_W, 5));
        double x1 = 0, y1 = 0;
        for (const Placement& p : r.boards) {
            x1 = std::max(x1, p.x + p.length);
            y1 = std::max(y1, p.y + p.width);
        }
        EXPECT_NEAR(q.containerL - x1, r.Border_L, 1e-9); // centred
        EXPECT_NEAR(q.containerW - y1, r.Border_W, 1e-9);
    }
}

TEST(GivenPanelPacking, OffOrSingleOrientationOrNoGainLeavesThePlanAsItWas) {
    const auto same = [](const ResultRow& a, const ResultRow& b) {
        std::vector<std::string> x, y;
        const auto text = [](std::vector<std::string>& out) {
            return [&out](const char* name, const auto& v) {
                std::ostringstream s;
                s.precision(17);
                if constexpr (std::is_same_v<std::decay_t<decltype(v)>, std::nullopt_t>)
                    s << name << "=null";
                else
                    s << name << '=' << v;
                out.push_back(s.str());
            };
        };
        ForEachColumn(a, text(x));
        ForEachColumn(b, text(y));
        return x == y && a.boards.empty() && b.boards.empty();
    };
    const ResultRow off =
        PanelizeGivenPanel(HardPanel(PackingOption::Off), DisplayUnit::Millimetre);
    // Without mixed orientation the block routine's single block is the best.
    GivenPanelJob single = HardPanel(PackingOption::Routed);
    single.BothPanel = false;
    GivenPanelJob singleOff = single;
    singleOff.packing = PackingOption::Off;
    EXPECT_TRUE(same(PanelizeGivenPanel(single, DisplayUnit::Millimetre),
                     PanelizeGivenPanel(singleOff, DisplayUnit::Millimetre)));
    // A panel the routine already fills to the bound keeps its blocks.
    GivenPanelJob proven = Typed(5, 3, 20, 16);
    proven.BothPanel = true;
    const ResultRow a = PanelizeGivenPanel(proven, DisplayUnit::Inch);
    proven.packing = PackingOption::Routed;
    EXPECT_TRUE(same(a, PanelizeGivenPanel(proven, DisplayUnit::Inch)));
    EXPECT_GT(off.BoardLayout().Pieces(), 0);
}

TEST(GivenPanelPacking, JobFileKey) {
    const std::string job = "Set_L=4\nSet_W=2\nSet_C=0.1\nBorderX_L=0.5\nBorderX_W=0.5\nMin_PL=8\n"
                            "Min_PW=8\nMax_PL=24\nMax_PW=21\nPLPW_ratio=2.5\nMin_lv=0\n"
                            "Sheet=48x36\n";
    struct Case {
        std::string line;
        PackingOption packing;
        std::string error;
    };
    for (const Case& c :
         {Case{"", PackingOption::Off, ""}, Case{"BestPacking=Off\n", PackingOption::Off, ""},
          Case{"BestPacking=Routed\n", PackingOption::Routed, ""},
          Case{"bestpacking=vscored\n", PackingOption::VScored, ""},
          Case{"BestPacking=Yes\n", PackingOption::VScored,
               "line 13: BestPacking must be Off, Routed or VScored: 'Yes'"}}) {
        SCOPED_TRACE(c.line);
        PanelJob j;
        j.packing = PackingOption::VScored; // left alone on error
        std::istringstream in(job + c.line);
        EXPECT_EQ(ReadPanelJob(in, j), c.error);
        EXPECT_EQ(j.packing, c.packing);
    }
}
