#include "SearchBounds.h"

#include "PanelSearch.h"

#include <gtest/gtest.h>

using namespace vorn;

// The bound the window names is the one the search answers at once with:
// a minimum above it never gets a row, one just below it is searched.
TEST(SearchBounds, BestUtilizationIsTheBoundTheSearchUses) {
    struct Case {
        const char* name;
        double L, W, C, margin;
        std::optional<double> bound;
    };
    const Case cases[] = {
        {"4 x 3 with a 0.1 gap", 4, 3, 0.1, 0.5, 1200.0 / (4.1 * 3.1)},
        {"no gap", 4, 3, 0, 0.5, 100.0},
        {"millimetres", 101.6, 76.2, 2.54, 12.7, 1200.0 / (4.1 * 3.1)},
        {"gap above twice a margin", 4, 3, 1.1, 0.5, std::nullopt},
        {"no board", 0, 3, 0.1, 0.5, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PanelJob job;
        job.Set_L = c.L;
        job.Set_W = c.W;
        job.Set_C = c.C;
        job.BorderX_L = job.BorderX_W = c.margin;
        const std::optional<double> bound = BestUtilizationBound(job);
        ASSERT_EQ(bound.has_value(), c.bound.has_value());
        if (!bound) {
            job.Min_lv = 100;
            EXPECT_FALSE(NoPlanReachesMinimum(job));
            continue;
        }
        EXPECT_NEAR(*bound, *c.bound, 1e-9);
        job.Min_lv = *bound * 1.001;
        EXPECT_TRUE(NoPlanReachesMinimum(job));
        job.Min_lv = *bound;
        EXPECT_FALSE(NoPlanReachesMinimum(job));
    }
}
