#include "SearchBounds.h"

#include "PanelSearch.h"

#include <gtest/gtest.h>

using namespace vorn;

// The bound the window names is the one the search answers at once with:
// a minimum above it never gets a row, one just below it is searched. The
// board cells' share, times the share of the largest panel the limits and
// the largest sheet allow that lies inside the smaller margin (gap added).
TEST(SearchBounds, BestUtilizationIsTheBoundTheSearchUses) {
    struct Case {
        const char* name;
        double L, W, C, margin, maxPL, maxPW; // in the unit
        bool typed, mm;
        std::vector<SheetSize> sheets; // inches
        std::optional<double> bound;
    };
    const std::vector<SheetSize> big = {{48, 36}, {40, 48}}, smaller = {{20, 15}, {12, 18}};
    const double cells = 1200.0 / (4.1 * 3.1);
    const Case cases[] = {
        {"4 x 3 with a 0.1 gap", 4, 3, 0.1, 0.5, 24, 21, false, false, big,
         cells * (1 - 0.9 / 24) * (1 - 0.9 / 21)},
        {"limits given the other way round", 4, 3, 0.1, 0.5, 21, 24, false, false, big,
         cells * (1 - 0.9 / 24) * (1 - 0.9 / 21)},
        {"limits beyond the sheets", 4, 3, 0.1, 0.5, 100, 100, false, false, smaller,
         cells * (1 - 0.9 / 20) * (1 - 0.9 / 15)},
        {"typed panels: the cells alone", 4, 3, 0.1, 0.5, 24, 21, true, false, big, cells},
        {"no gap, no margin", 4, 3, 0, 0, 24, 21, false, false, big, 100.0},
        {"millimetres", 101.6, 76.2, 2.54, 12.7, 609.6, 533.4, false, true, big,
         cells * (1 - 0.9 / 24) * (1 - 0.9 / 21)},
        {"no panel holds a board", 4, 3, 0.1, 0.5, 24, 0.8, false, false, big, 0.0},
        {"gap above twice a margin", 4, 3, 1.1, 0.5, 24, 21, false, false, big, std::nullopt},
        {"no board", 0, 3, 0.1, 0.5, 24, 21, false, false, big, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DisplayUnit unit = c.mm ? DisplayUnit::Millimetre : DisplayUnit::Inch;
        PanelJob job;
        job.Set_L = c.L;
        job.Set_W = c.W;
        job.Set_C = c.C;
        job.BorderX_L = job.BorderX_W = c.margin;
        job.Max_PL = c.maxPL;
        job.Max_PW = c.maxPW;
        job.AUTOPanel = !c.typed;
        job.sheets = c.sheets;
        const std::optional<double> bound = BestUtilizationBound(job, unit);
        ASSERT_EQ(bound.has_value(), c.bound.has_value());
        if (!bound) {
            job.Min_lv = 100;
            EXPECT_FALSE(NoPlanReachesMinimum(job, unit));
            continue;
        }
        EXPECT_NEAR(*bound, *c.bound, 1e-9);
        if (*bound == 0)
            continue;
        job.Min_lv = *bound * 1.001;
        EXPECT_TRUE(NoPlanReachesMinimum(job, unit));
        job.Min_lv = *bound;
        EXPECT_FALSE(NoPlanReachesMinimum(job, unit));
    }
}
