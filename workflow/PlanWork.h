#pragma once
// Plans made without a search, on the working tables: the typed panel or
// array written into the job row, and border minimization of the job and of
// the candidates. The arithmetic is the engine's (GivenPanel.h).

#include "GivenPanel.h"

namespace vorn {

class Cursor;

// The enabled rows of the sheet table (filter "Enbled=True"), in inches and
// in the table's order. A table some window holds open keeps its rows and
// state; a closed one is opened and closed again.
std::vector<SheetSize> EnabledSheetSizes(Cursor& SetBase);

// The typed panel of the job row (display unit); sheets are not read here.
GivenPanelJob GivenPanelJobOf(const Cursor& job, bool bothPanel, bool bothBase);
GivenArrayJob GivenArrayJobOf(const Cursor& array);

// Clears the second panel of the job row (left in edit state).
void ClearSecondPanel(Cursor& job);
// Writes the typed panel's plan into the job row and posts it.
void WriteGivenPanelPlan(Cursor& job, const ResultRow& plan);
// Writes the typed array's layout into the array row, left in edit state.
void WriteGivenArrayPlan(Cursor& array, const ArrayRow& plan);

// Panel 1 and panel 2 of the job row shrunk to the job's minimum margins,
// the row posted. Returns whether anything changed.
bool MinimizeJobBorders(Cursor& job);
// Every row of the result table, first to last, panel 1 and panel 2 each
// shrunk to the job's minimum margins; order and keys are unchanged, the
// first row is current afterwards. Returns the number of rows changed.
int MinimizeCandidateBorders(Cursor& results, const Cursor& job);

} // namespace vorn
