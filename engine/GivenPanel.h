#pragma once
// Plans without a search: a panel (or array) size the user typed, laid out
// and centred as it stands, and panels shrunk back to the minimum margins.

#include "PanelJob.h"
#include "ResultRow.h"

#include <optional>
#include <string>
#include <vector>

namespace vorn {

// The typed panel of the job, lengths in the display unit; sheets in inches
// in the sheet table's order (enabled rows only).
struct GivenPanelJob {
    double Set_L = 0, Set_W = 0, Set_C = 0;
    double BorderX_L = 0, BorderX_W = 0;
    double Panel_L = 0, Panel_W = 0;
    bool BothPanel = false; // mixed orientation of boards in the panel
    bool BothBase = false;  // mixed orientation of panels on a sheet
    std::vector<SheetSize> sheets;
    PackingOption packing = PackingOption::Off;
};

// The typed panel PL x PW for the boards, gap, margins, options and sheets
// of a job file's panel job.
GivenPanelJob GivenPanelOf(const PanelJob& job, double PL, double PW);

// The message refusing the job, or "" when it can be planned: a zero board,
// a zero panel, no enabled sheet (checked in that order).
std::string GivenPanelRefusal(const GivenPanelJob& job);

// The plan of the typed panel as a single-size result row in the display
// unit: board and panel as length >= width, the boards laid out and centred
// (the panel keeps its size, the margins follow), the enabled sheet with the
// most panels per sheet area (the first wins ties). Number is 1; Base_down and
// Panel_down are 100 / utilization (0 for a zero utilization). A panel that
// holds no board gives Panel = 0 and Panel_lv = 0. Needs a job without refusal.
ResultRow PanelizeGivenPanel(const GivenPanelJob& job, DisplayUnit unit);

// The typed array of the array tab (display unit).
struct GivenArrayJob {
    double Part_L = 0, Part_W = 0, Part_C = 0;
    double SetBorder_L = 0, SetBorder_W = 0; // minimum borders
    double Set_L = 0, Set_W = 0;             // the typed array
};

std::string GivenArrayRefusal(const GivenArrayJob& job);

// Units laid out in one orientation and centred in the typed array. When no
// unit fits, the borders are those of the job, as typed.
ArrayRow PanelizeGivenArray(const GivenArrayJob& job, DisplayUnit unit);

// One panel shrunk to the minimum margins: a margin above its minimum
// becomes the minimum and the panel side loses twice the difference; the
// utilization count x board area x 100 / panel area follows. A margin at or
// below its minimum (within the program's tolerance) is left alone,
// so float noise of a computed margin changes nothing. Returns whether
// anything changed.
struct PanelBorders {
    double Panel_L = 0, Panel_W = 0, Border_L = 0, Border_W = 0;
    double count = 0, Panel_lv = 0;
};
bool ShrinkToMinimumBorders(PanelBorders& p, double Set_L, double Set_W, double BorderX_L,
                            double BorderX_W);

// Both panels of a result row (the second when the row has one).
bool MinimizeBorders(ResultRow& row, double BorderX_L, double BorderX_W);

} // namespace vorn
