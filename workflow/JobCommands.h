#pragma once
// The job's commands as the main window's handlers call them: each takes the
// window through its narrow interface (JobWindow.h).

#include "JobWindow.h"

#include <QString>

namespace vorn {

class TDataM1;
struct LayoutDrawing;
struct TwoPanelCutting;
struct ToolingHole;

// ---- The search (PanelizeCommand.cpp) ----
// F2: the array search on the array tab, the panel search elsewhere.
void SearchCommand(JobWindow& w);
// The panel search's job from the job row and the window's options; its
// sheets and presets are the caller's.
PanelJob PanelJobOf(const Cursor& job, const SearchOptions& options);

// ---- The array's hand-over (ArrayHandover.cpp) ----
// The picked array becomes the job's board; false, after the message, when
// the array row holds no sound array.
bool HandOverArray(JobWindow& w);

// ---- Plans beyond the search (PlanCommands.cpp) ----
// The job's tooling holes from the presets, or none when tooling is off.
void ComputeToolingHoles(JobWindow& w);
// F3: a typed array on the array tab, a typed panel elsewhere.
void PanelizeCommand(JobWindow& w);
// The picked panel's borders, then every candidate's, shrunk to the minimum.
void MinimizeBorders(JobWindow& w);
void MinimizeAllBorders(JobWindow& w);

// ---- Picking a result row (ResultPickup.cpp) ----
// The current row of `TempResult` (`TempResultCus`) copied into the job row
// (array row), and its placements beyond the blocks into `boards` (`units`;
// panel 2's of a two-size row into `boards2`; emptied for a block layout);
// false, changing nothing, when there is no row to pick.
bool PickUpPlanRow(TDataM1& dm, std::vector<Placement>& boards,
                   std::vector<Placement>* boards2 = nullptr);
bool PickUpArrayRow(TDataM1& dm, std::vector<Placement>& units);

// ---- The views' arguments and the picture export (Views.cpp) ----
// On the array tab the array row is drawn, elsewhere the job's plan; panel 1
// with `givenBoards`, panel 2 with `givenBoards2`, the array with
// `givenUnits` where they are the row's (BoardsOfRow).
LayoutDrawing ViewLayoutArgs(const TDataM1& dm, DiagramView view, bool arrayPage,
                             const std::vector<Placement>& givenBoards,
                             const std::vector<Placement>& givenUnits = {},
                             const std::vector<Placement>& givenBoards2 = {});
TwoPanelCutting ViewTwoPanelCuttingArgs(const TDataM1& dm);
// The holes the view shows, with the tooling table's filter put back.
std::vector<ToolingHole> ViewHoles(TDataM1& dm, DiagramView view);
// "Bmp图片导出": the shown view as pixels, vectors or the plan's DXF.
void SavePictureCommand(JobWindow& w);

// ---- Vector pictures and files for machines ----
bool SaveShownViewAsVectors(JobWindow& w, const QString& fileName, QString* error);
bool SavePlanForMachines(JobWindow& w, const QString& fileName, QString* error);
void ExportPlanForMachinesCommand(JobWindow& w);

// ---- The report (ReportCommand.cpp): workbook (F7), print, preview, PDF ----
enum class ReportOutput { Workbook, Print, Preview, Pdf };
void ReportCommand(JobWindow& w, ReportOutput output);

// ---- The parts archive (PartsCommands.cpp) ----
void SavePartCommand(JobWindow& w);
// The saved-parts query set up and opened while `browse` runs (the part
// search window), closed and unfiltered however it ends.
void BrowseSavedParts(JobWindow& w, const std::function<void()>& browse);
// The part search window's current part becomes the job.
void LoadSavedPartIntoJob(JobWindow& w);
void DeletePartCommand(JobWindow& w);

} // namespace vorn
