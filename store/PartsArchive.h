#pragma once
// The parts archive: a plan kept under its part number in data0004 with its
// tooling holes in Data0005 and, for a panel or array laid out beyond the
// blocks, its boards (units) in PartBoards. Save, open, delete and the saved-parts query
// texts live here, on plain values and the data module, so the windows and
// the command-line tool run the same code.

#include "Placement.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QVariant>

#include <functional>
#include <optional>
#include <vector>

namespace vorn {

class TDataM1;

// Job columns kept with a part: lengths (stored in inches, converted), counts
// and layout texts, and utilizations (both as they are).
inline constexpr const char* kPartLengthColumns[] = {
    "Part_L",   "Part_W",   "Part_C",    "SetBorder_L", "SetBorder_W", "Set_L",
    "Set_W",    "Set_C",    "Panel_L",   "Panel_W",     "Border_L",    "Border_W",
    "Panel_L2", "Panel_W2", "Border_L2", "Border_W2",   "Base_L",      "Base_W"};
inline constexpr const char* kPartCountColumns[] = {
    "Layer",   "Part_La", "Part_Wb", "Part_Lb",  "Part_Wa",  "PanelCu", "Set_La",
    "Set_Wb",  "Set_Lb",  "Set_Wa",  "Set_sLa",  "Set_sWb",  "Up",      "Set_La2",
    "Set_Wb2", "Set_Lb2", "Set_Wa2", "Set_sLa2", "Set_sWb2", "Up2",     "Panel",
    "Panel2",  "P_La",    "P_Wb",    "P_Lb",     "P_Wa",     "P_sLa",   "P_sWb",
    "P_La2",   "P_Wb2",   "P_Lb2",   "P_Wa2",    "P_up",     "Panel_N"};
inline constexpr const char* kPartRateColumns[] = {"Panel_lvCu", "Panel_lv", "Panel_lv2",
                                                   "Base_lv"};

// One tooling hole of a part; lengths in the unit of the record holding it.
struct SavedHole {
    QString panelType; // "Panel1", "Panel2" or "Array"
    int serialNumber = 0;
    double x = 0;
    double y = 0;
    double diameter = 0;
};

// A part as the save writes it and the open reads it: lengths in inches.
struct PartRecord {
    QString partNumber;
    QString customerPart;
    QString employee;
    QString note;
    QHash<QString, QVariant> job; // the 56 job columns by name; null stays null
    std::vector<SavedHole> holes; // every hole of the job, all panel types
    // Panel 1 laid out beyond the block patterns (best packing): every board,
    // as the row's placements. Empty for a block layout.
    std::vector<Placement> boards;
    // The same for panel 2 of a two-size plan.
    std::vector<Placement> boards2;
    // The same for the array's units.
    std::vector<Placement> units;
};

// PartBoards' Panel value of the array's units (the panels' are 1 and 2; a
// null Panel is panel 1).
inline constexpr int kArrayUnitsPanel = 3;

// The job row, its tooling holes (all panel types, whatever the tooling
// table's filter shows; none when it is closed) and the boards of panel 1
// placed beyond the blocks (in the job's unit; empty for a block layout) as a
// record in inches. `mm`: the job is shown in millimetres. The tooling
// table's filter is put back. `boards2`: panel 2's, `units`: the array's, the
// same way.
PartRecord JobPartRecord(TDataM1& dm, bool mm, const std::vector<Placement>& boards = {},
                         const std::vector<Placement>& boards2 = {},
                         const std::vector<Placement>& units = {});

// The save time as the archive keeps it: hour × 10000 + minute × 100 + second.
int ArchiveTime(const QTime& time);

// Saves the record under its part number. When a part of that number exists
// (whatever the case of its letters), `overwrite` is asked: false writes
// nothing and returns nullopt. The part row and all its holes are written in
// one transaction: on any failure nothing of it reaches the file, DbError is
// thrown with the engine's reason, and the archive is as it was. Returns the
// part's ID. data0004 and Data0005 are left closed and unfiltered. The
// boards go to PartBoards (with their panel, 1 or 2, the array's units with
// kArrayUnitsPanel), made on the first save
// that has any, its Panel column added there to a table made without it: a
// database that never keeps such a plan stays as it was written.
std::optional<int> SavePart(TDataM1& dm, const PartRecord& record, const QDateTime& now,
                            const std::function<bool()>& overwrite);

enum class DeleteOutcome { NotFound, Declined, Deleted };
// Finds the part number (case-blind); `confirm` is asked before anything is
// removed. The holes, the boards and the part go in one transaction. data0004 and
// Data0005 are left closed.
DeleteOutcome DeletePart(TDataM1& dm, const QString& partNumber,
                         const std::function<bool()>& confirm);

// The part-number check: true when a saved part has this number (whole
// value, case-blind). SavedPartsQuery is opened for the look and closed
// again when it was closed.
bool PartNumberSaved(TDataM1& dm, const QString& partNumber);

// The saved part that SavedPartsQuery shows now, loaded into the job: the
// identity fields returned, the 56 columns copied into TempInput (the query
// is in the job's unit), the tooling table refilled from the saved holes in
// the job's unit (`mm`) or closed when the part has none, and TempResult
// closed. Returns the record with lengths as the query shows them (its
// boards and units too; none for a part saved without them).
struct LoadedPart {
    PartRecord record;
    QString dateText; // the save date in the short date form
    bool hasHoles = false;
};
LoadedPart LoadSavedPart(TDataM1& dm, bool mm);

// ---- the saved-parts query --------------------------------------------------------

// Replaces SavedPartsQuery's SQL (it must be closed) by the inch or millimetre
// form followed by `orderLine` ("Order By Part_number;").
void SetSavedPartsSql(TDataM1& dm, bool mm, const QString& orderLine);
// The order line that sorts by `column`; throws DbError for a column the query
// cannot sort by (unknown or calculated). The name is checked against the
// query's own columns, so no other text reaches the SQL.
QString SavedPartsOrderLine(TDataM1& dm, const QString& column, bool descending);
// The tooling query's SQL in the given unit (it must be closed).
void SetPartToolingSql(TDataM1& dm, bool mm);

// The boards of SavedPartsQuery's current part laid out beyond the blocks on
// panel 1 or 2 (`panel`; kArrayUnitsPanel: the array's units), in
// millimetres (`mm`) or inches; empty for a block plan or without a current
// part.
std::vector<Placement> SavedBoardsOfCurrentPart(TDataM1& dm, bool mm, int panel = 1);

// The saved holes of SavedPartsQuery's current part of one panel type, read
// through PartToolingQuery. Its Type is set for the read and set back
// afterwards; an open query is open again afterwards.
std::vector<SavedHole> SavedHolesOfType(TDataM1& dm, const QString& type);

} // namespace vorn
