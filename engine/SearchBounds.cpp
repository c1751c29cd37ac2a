#include "SearchBounds.h"

#include "Tolerance.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace vorn {

namespace {

// The sides of the largest enabled sheet, longer first (inches); 0 when none.
std::pair<double, double> LargestSheetSides(const PanelJob& job) {
    double SL = 0, SW = 0;
    for (const SheetSize& s : job.sheets) {
        if (!(s.Base_L > 0 && s.Base_W > 0))
            continue;
        SL = std::max(SL, std::max(s.Base_L, s.Base_W));
        SW = std::max(SW, std::min(s.Base_L, s.Base_W));
    }
    return {SL, SW};
}

} // namespace

std::optional<double> BestUtilizationBound(const PanelJob& job, DisplayUnit unit) {
    const double L = job.Set_L, W = job.Set_W, C = job.Set_C;
    const double m = std::min(job.BorderX_L, job.BorderX_W);
    if (!(L > 0 && W > 0 && C >= 0 && C <= 2 * m))
        return std::nullopt;
    const double cells = L * W * 100 / ((L + C) * (W + C));
    if (!job.AUTOPanel)
        return cells;
    // Automatic panels: each side at most its limit and the largest sheet's
    // (the longer side the longer sheet side), in the job's unit.
    const double f = UnitFactor(unit);
    const auto [SL, SW] = LargestSheetSides(job);
    const double longest = std::min(std::max(job.Max_PL, job.Max_PW), SL * f);
    const double widest = std::min({std::min(job.Max_PL, job.Max_PW), SW * f, longest});
    const double lost = 2 * m - C;
    if (!(widest > lost))
        return 0.0; // no panel the limits allow holds a board
    return cells * (1 - lost / longest) * (1 - lost / widest);
}

bool NoPlanReachesMinimum(const PanelJob& job, DisplayUnit unit) {
    // The slack is far above the tolerances of the counts.
    const std::optional<double> bound = BestUtilizationBound(job, unit);
    return bound && *bound * (1 + 1e-6) + 1e-6 < job.Min_lv;
}

bool NoPanelFitsAnySheet(const PanelJob& job, DisplayUnit unit) {
    if (!job.AUTOPanel)
        return false; // typed panels are cut whatever the limits
    // The search's own values: lengths in the unit, sheets in inches. A row's
    // panel (PL >= PW) is at least the minimum sides and at most its sheet's
    // sides (SL >= SW), each compared tolerantly as the search does.
    const double f = UnitFactor(unit);
    const double minPL = job.Min_PL / f, minPW = job.Min_PW / f;
    const std::int64_t longest = TolKey(std::max(minPL, minPW)), widest = TolKey(minPW);
    for (const SheetSize& s : job.sheets) {
        if (!(s.Base_L > 0 && s.Base_W > 0))
            continue;
        const double SL = std::max(s.Base_L, s.Base_W), SW = std::min(s.Base_L, s.Base_W);
        if (TolKey(SL) >= longest && TolKey(SW) >= widest)
            return false;
    }
    return true;
}

double PanelSideReach(const PanelJob& job, DisplayUnit unit) {
    if (job.PanelNumber != "1")
        return std::numeric_limits<double>::infinity();
    const double f = UnitFactor(unit);
    const double L = std::max(job.Set_L, job.Set_W) / f, C = job.Set_C / f;
    const double SL = LargestSheetSides(job).first;
    // A little beyond, far above the tolerance of the comparisons.
    return (SL + L + C) * (1 + 1e-6);
}

PanelWalk SearchWalk(const PanelJob& job, DisplayUnit unit) {
    const double f = UnitFactor(unit);
    const double a = job.Set_L / f, b = job.Set_W / f;
    const double reach = PanelSideReach(job, unit);
    return PanelWalk(a >= b ? a : b, a >= b ? b : a, job.Set_C / f, job.BorderX_L / f,
                     job.BorderX_W / f, std::min(job.Max_PL / f, reach),
                     std::min(job.Max_PW / f, reach));
}

} // namespace vorn
