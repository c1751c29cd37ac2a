#pragma once
// The panel search tests' jobs, searches and row comparisons.

#include "Layout.h"
#include "PanelSearch.h"
#include "RowIndex.h"
#include "SearchBounds.h"
#include "Tolerance.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <iomanip>
#include <random>

namespace vorn::searchtest {

inline const std::vector<SheetSize> kSheets = {{48, 36}, {48, 40}, {48, 42},
                                               {49, 37}, {49, 41}, {49, 43}};

inline PanelJob BaseJob() {
    PanelJob j;
    j.Set_L = 4;
    j.Set_W = 2;
    j.Set_C = 0.1;
    j.BorderX_L = j.BorderX_W = 0.5;
    j.Min_PL = j.Min_PW = 8;
    j.Max_PL = 24;
    j.Max_PW = 21;
    j.PLPW_ratio = 2.5;
    j.Min_lv = 0;
    j.BothPanel = j.BothBase = true;
    j.sheets = kSheets;
    return j;
}

// A small board on 6-24 in panels with 0.4 in margins and a side ratio of
// at most 3, as the generated bench jobs are; lengths in the unit of `f`.
inline PanelJob SmallBoardJob(double f, double L, double W, double C, double minLv,
                              const char* kinds) {
    PanelJob j = BaseJob();
    j.Set_L = L * f;
    j.Set_W = W * f;
    j.Set_C = C * f;
    j.BorderX_L = j.BorderX_W = 0.4 * f;
    j.Min_PL = j.Min_PW = 6 * f;
    j.Max_PL = j.Max_PW = 24 * f;
    j.PLPW_ratio = 3;
    j.Min_lv = minLv;
    j.PanelNumber = kinds;
    return j;
}

inline std::vector<ResultRow> Search(const PanelJob& job, DisplayUnit unit = DisplayUnit::Inch) {
    CollectedRows sink;
    NoProgress progress;
    RunPanelSearch(job, unit, sink, progress);
    return sink.rows;
}

// A random job small enough to search in a few milliseconds, in the unit's
// lengths.
inline PanelJob RandomJob(std::mt19937& rng, DisplayUnit unit) {
    auto pick = [&](std::initializer_list<double> v) {
        return *(v.begin() + std::uniform_int_distribution<int>(0, int(v.size()) - 1)(rng));
    };
    auto chance = [&](double p) { return std::uniform_real_distribution<double>(0, 1)(rng) < p; };
    const double f = UnitFactor(unit);
    std::uniform_real_distribution<double> side(1.5, 7);
    PanelJob j;
    const int digits = std::uniform_int_distribution<int>(0, 2)(rng);
    const double scale = std::pow(10, digits);
    j.Set_L = std::round(side(rng) * scale) / scale * f;
    j.Set_W = std::round(side(rng) * scale) / scale * f;
    j.Set_C = pick({0, 0.1, 0.08, 0.2}) * f;
    j.BorderX_L = pick({0, 0.3, 0.5, 0.75}) * f;
    j.BorderX_W = pick({0, 0.3, 0.5, 1}) * f;
    j.Min_PL = pick({0, 6, 10}) * f;
    j.Min_PW = pick({0, 6, 8}) * f;
    j.Max_PL = pick({14, 18, 20.5}) * f;
    j.Max_PW = pick({12, 16, 18}) * f;
    j.PLPW_ratio = pick({1.5, 2, 3});
    j.Min_lv = pick({0, 0, 50, 65});
    j.PanelNumber = chance(0.6) ? "2" : "1";
    j.AUTOPanel = chance(0.75);
    j.GoodBase = chance(0.5);
    j.BothPanel = chance(0.5);
    j.BothBase = chance(0.5);
    const std::vector<SheetSize> pool = {{48, 36}, {40, 48}, {49, 43},
                                         {36, 36}, {24, 20}, {50.5, 37.25}};
    for (const SheetSize& s : pool)
        if (chance(0.4) || j.sheets.empty())
            j.sheets.push_back(s);
    std::uniform_real_distribution<double> preset(5, 22);
    for (int n = std::uniform_int_distribution<int>(1, 5)(rng); n > 0; --n)
        j.presets.push_back({std::round(preset(rng) * 10) / 10, std::round(preset(rng) * 10) / 10});
    return j;
}

// Small boards with two kinds on every sheet: many collected sizes. maxima:
// Max_PL for odd and even t, Max_PW for t not and t divisible by 3.
inline PanelJob SmallBoardsJob(std::mt19937& rng, DisplayUnit unit, int t, double lo, double hi,
                               const double (&maxima)[4], double minLv) {
    std::uniform_real_distribution<double> side(lo, hi);
    const double f = UnitFactor(unit);
    PanelJob job = RandomJob(rng, unit);
    job.Set_L = std::round(side(rng) * 100) / 100 * f;
    job.Set_W = std::round(side(rng) * 100) / 100 * f;
    job.Max_PL = (t % 2 ? maxima[0] : maxima[1]) * f;
    job.Max_PW = (t % 3 ? maxima[2] : maxima[3]) * f;
    job.Min_PL = job.Min_PW = (t % 5 ? 0 : 4) * f;
    job.Min_lv = t % 3 ? minLv : 0;
    job.PanelNumber = "2";
    return job;
}

inline bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

inline void ExpectSameRows(const std::vector<ResultRow>& a, const std::vector<ResultRow>& b) {
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        const ResultRow &x = a[i], &y = b[i];
        ASSERT_TRUE(SameBits(x.Panel_L, y.Panel_L) && SameBits(x.Panel_W, y.Panel_W) &&
                    SameBits(x.Base_lv, y.Base_lv) && SameBits(x.Panel_lv, y.Panel_lv) &&
                    SameBits(x.Border_L, y.Border_L) && SameBits(x.Border_W, y.Border_W) &&
                    x.BoardLayout() == y.BoardLayout() && x.P_La == y.P_La && x.P_Wb == y.P_Wb &&
                    x.P_Lb == y.P_Lb && x.P_Wa == y.P_Wa && x.P_up == y.P_up &&
                    x.second.has_value() == y.second.has_value())
            << "row " << i;
        if (x.second) {
            const SecondPanel &p = *x.second, &q = *y.second;
            ASSERT_TRUE(SameBits(p.Panel_L2, q.Panel_L2) && SameBits(p.Panel_W2, q.Panel_W2) &&
                        SameBits(p.Panel_lv2, q.Panel_lv2) && p.Panel2 == q.Panel2 &&
                        p.P_La2 == q.P_La2 && p.P_Wb2 == q.P_Wb2 && p.P_Lb2 == q.P_Lb2 &&
                        p.P_Wa2 == q.P_Wa2 && p.Up2 == q.Up2)
                << "row " << i;
        }
    }
}

} // namespace vorn::searchtest
