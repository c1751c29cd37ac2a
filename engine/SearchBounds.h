#pragma once
// Bounds a panel search cannot pass, worked out from the job alone: what the
// window names when a search finds no plan.

#include "PanelJob.h"

#include <optional>

namespace vorn {

// The most of a sheet, in percent, that the boards with their gap can cover.
// Each board with the gap after it takes a cell of (L + C) x (W + C), in
// either orientation; the cells do not overlap and lie inside the panel less
// its margins plus one gap, which is no larger than the panel when the gap is
// at most both margins. Panels on a sheet do not overlap either, so no plan
// covers more than L W / ((L + C)(W + C)). The unit cancels. None when the
// bound does not hold (no board, a negative gap, a gap above a margin).
std::optional<double> BestUtilizationBound(const PanelJob& job);

} // namespace vorn
