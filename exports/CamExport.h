#pragma once
// The picked plan for machines: a DXF drawing for the CAM station (panel
// outlines, every board, tooling holes, the sheet with its cuts, the array
// with its units, dimensions) and the board placement list (CSV) for the
// assembly line. Both are made from the same placements the diagrams draw.

#include "DiagramRoutines.h"
#include "Placements.h"
#include "PlanViews.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace vorn {

// One outline of the drawing: a panel, the array or the sheet.
struct CamOutline {
    LayoutDrawing drawing;          // sizes, margins and gap the marks show
    std::vector<Placement> pieces;  // boards, units or cut panels
    std::vector<Placement> pieces2; // the sheet of a two-size plan: panel-2 cuts
    bool pieces2Beside = false;     // panel-2 cuts beside panel 1's ("L"), else below ("W")
    std::vector<ToolingHole> holes; // centres from the top-left corner, y down
};

struct CamPlan {
    bool mm = false; // the job's unit: millimetres, else inches
    CamOutline panel1;
    std::optional<CamOutline> panel2; // two-size plans
    std::optional<CamOutline> array;  // a board that is a valid array of units
    CamOutline sheet;
};

// The plan of a record (the job row, a search result row) by column name,
// with the holes of each outline as the holes command places them. Panel 1
// laid out beyond the blocks takes `boards`, panel 2 `boards2`, the array
// `units` (the record's placements), where they are the record's
// (BoardsOfRow).
CamPlan CamPlanOf(const PlanFields& plan, bool mm, const std::vector<ToolingHole>& panel1Holes,
                  const std::vector<ToolingHole>& panel2Holes,
                  const std::vector<ToolingHole>& arrayHoles,
                  const std::vector<Placement>& boards = {},
                  const std::vector<Placement>& units = {},
                  const std::vector<Placement>& boards2 = {});

// The drawing as DXF text (AutoCAD 2000, written by dxflib).
QByteArray CamDxf(const CamPlan& plan);
// The placement list: "panel,board,x,y,length,width,rotated", UTF-8.
QByteArray PlacementCsv(const CamPlan& plan);

// Written whole or not at all (SafeWriteFile): a failed write leaves an old
// file as it was. False with `error` naming the file and the reason.
bool WriteCamDxf(const CamPlan& plan, const QString& path, QString* error = nullptr);
bool WritePlacementCsv(const CamPlan& plan, const QString& path, QString* error = nullptr);

// The layer names, in the order of the layer table.
const std::vector<const char*>& CamLayers();

} // namespace vorn
