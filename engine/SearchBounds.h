#pragma once
// Bounds a panel search cannot pass, worked out from the job alone: the
// search answers at once where they leave no row, walks no further than
// they allow, and the window names them when a search finds no plan.

#include "PanelJob.h"
#include "PanelWalk.h"

#include <optional>

namespace vorn {

// The most of a sheet, in percent, that any plan can cover. Each board with
// the gap after it takes a cell of (L + C) x (W + C), in either orientation;
// the cells do not overlap and lie inside the panel less its margins plus one
// gap, which is no larger than the panel when the gap is at most both
// margins. Panels on a sheet do not overlap either, so no plan covers more
// than L W / ((L + C)(W + C)) of its panels' share (PL - 2m + C)(PW - 2m + C)
// / (PL PW), m the smaller margin, which grows with the panel: automatic
// panels are at most the limits and the largest sheet. None when the bound
// does not hold (no board, a negative gap, a gap above a margin).
std::optional<double> BestUtilizationBound(const PanelJob& job, DisplayUnit unit);

// True when no plan can reach Min_lv (BestUtilizationBound): RunPanelSearch
// then returns at once, with no row and no count.
bool NoPlanReachesMinimum(const PanelJob& job, DisplayUnit unit);

// True for a generated-panel job when no enabled sheet can hold a panel the
// minimum sides allow (every row's panel is at least Min_PL x Min_PW and lies
// on its sheet): RunPanelSearch then returns at once, with no row and no
// count.
bool NoPanelFitsAnySheet(const PanelJob& job, DisplayUnit unit);

// The longest candidate side, in inches, the search walks to. A board layout
// leaves less than a board length and a gap unused along a side (each count
// is the most that fits), so a side beyond the longest enabled sheet by more
// than L + C is trimmed to a panel no sheet holds: no single-size row. Two
// panel kinds pair such sizes too (with none of them on the sheet, the other
// panel carrying the plan), so there it is unbounded.
double PanelSideReach(const PanelJob& job, DisplayUnit unit);

// The walk of panel sides an automatic search makes: the job's board, gap
// and margins in inches, up to the limits and no further than
// PanelSideReach.
PanelWalk SearchWalk(const PanelJob& job, DisplayUnit unit);

} // namespace vorn
