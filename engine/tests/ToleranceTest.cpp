#include "Tolerance.h"

#include <gtest/gtest.h>

using namespace vorn;

TEST(Tolerance, ComparesAtTenDecimals) {
    EXPECT_TRUE(TolEq(1.0, 1.0 + 4e-11));
    EXPECT_TRUE(TolGt(1.0 + 2e-10, 1.0));
    EXPECT_TRUE(TolLe(1.0 + 4e-11, 1.0));
    EXPECT_FALSE(TolLt(1.0, 1.0 + 4e-11));
}

TEST(Tolerance, CeilTol) {
    struct Case {
        double x;
        std::int64_t want;
    };
    for (const Case& c :
         {Case{3 + 4e-11, 3}, Case{3 + 2e-10, 4}, Case{3, 3}, Case{0, 0}, Case{2.5, 3}}) {
        EXPECT_EQ(CeilTol(c.x), c.want) << c.x;
    }
}

TEST(PanelGood, AcceptsOnlyTheExactQuotient) {
    const double u = 100.0 * 4 * 2 * 12 / (18 * 12);
    EXPECT_TRUE(PanelGood(4, 2, 18, 12, 12, u));
    EXPECT_FALSE(PanelGood(4, 2, 18, 12, 12, u + 2e-10));
    EXPECT_FALSE(PanelGood(4, 2, 0, 12, 12, u));
    EXPECT_FALSE(PanelGood(4, 2, 18, 0, 12, u));
    EXPECT_FALSE(PanelGood(4, 2, 18, 12, 12, 0));
}

TEST(PanelGood, AcceptsAQuotientOnARoundingBoundary) {
    // 100 * 1.55 * 0.59 * 40 / (8.55 * 5.91) = 72.39192171065000035...: the
    // double utilization rounds below the half, the extended quotient above.
    const double u = 0.59 * (1.55 * 100) * 40 / (8.55 * 5.91);
    EXPECT_TRUE(PanelGood(1.55, 0.59, 8.55, 5.91, 40, u));
    EXPECT_FALSE(PanelGood(1.55, 0.59, 8.55, 5.91, 40, u + 1e-10));
}
