#pragma once
// Which fields of a plan each diagram view draws. One table serves every
// record that holds a plan: the job row, a search result row, a saved part.

#include "DiagramRoutines.h"
#include "Placements.h"

#include <QString>

#include <functional>

namespace vorn {

// The four views, in the order of their selectors.
enum class DiagramView { Panel1, Panel2, Cutting, Array };

// Reads one field of a plan record by column name; a null field reads 0 or "".
struct PlanFields {
    std::function<double(const char* column)> number;
    std::function<QString(const char* column)> text;
};

// The drawing record of a view. The array view reads the array columns
// (Part_*, Set_*, SetBorder_*) of the record given.
LayoutDrawing LayoutArgsOf(DiagramView view, const PlanFields& plan);

// The two-size cutting plan of a record whose Panel2 > 0.
TwoPanelCutting TwoPanelCuttingArgsOf(const PlanFields& plan);

// Where the pieces of a drawing record sit, exactly as the diagram draws
// them (lower-left corners, y up; see Placements.h).
std::vector<Placement> PlacementsOf(const LayoutDrawing& drawing);
TwoSizePlacements PlacementsOf(const TwoPanelCutting& cutting);

// The boards of a layout beyond the block patterns for the panel view `a`
// of a plan row holding `count` boards: kept only when the row has no
// blocks, the count is theirs and every board is the row's board; moved so
// that the layout starts at the row's margins (a panel shrunk to its minimum
// margins keeps its layout). Empty otherwise.
std::vector<Placement> BoardsOfRow(const std::vector<Placement>& boards, const LayoutDrawing& a,
                                   double count);

// The tooling table's PanelType of a view's holes; empty for the cutting view.
QString ToolingTypeOf(DiagramView view);

} // namespace vorn
