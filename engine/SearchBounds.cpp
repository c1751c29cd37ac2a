#include "SearchBounds.h"

#include <algorithm>

namespace vorn {

std::optional<double> BestUtilizationBound(const PanelJob& job) {
    const double L = job.Set_L, W = job.Set_W, C = job.Set_C;
    if (!(L > 0 && W > 0 && C >= 0 && C <= 2 * std::min(job.BorderX_L, job.BorderX_W)))
        return std::nullopt;
    return L * W * 100 / ((L + C) * (W + C));
}

} // namespace vorn
