// Picking a result row: the plan (or array) of the grid's current row
// becomes the job's.

#include "JobCommands.h"

#include "DataModule.h"

#include <iterator>

namespace vorn {

namespace {

// Copied from the picked `TempResult` row into the job row, in this order.
const char* const kPickedFields[] = {
    "Set_L",     "Set_W",    "Set_C",    "Panel_L",  "Panel_W",   "Border_L",  "Border_W",
    "Set_La",    "Set_Wb",   "Set_Lb",   "Set_Wa",   "Set_sLa",   "Set_sWb",   "Up",
    "Panel",     "Panel_lv", "Panel_L2", "Panel_W2", "Border_L2", "Border_W2", "Set_La2",
    "Set_Wb2",   "Set_Lb2",  "Set_Wa2",  "Set_sLa2", "Set_sWb2",  "Up2",       "Panel2",
    "Panel_lv2", "P_La",     "P_Wb",     "P_Lb",     "P_Wa",      "P_sLa",     "P_sWb",
    "P_La2",     "P_Wb2",    "P_Lb2",    "P_Wa2",    "P_up",      "Base_L",    "Base_W",
    "Panel_N",   "Base_lv"};
static_assert(std::size(kPickedFields) == 44);

// Copied from the picked `TempResultCus` row into the array row.
const char* const kPickedArrayFields[] = {
    "Part_L",  "Part_W",  "Part_C",  "SetBorder_L", "SetBorder_W", "Set_L",   "Set_W",
    "Part_La", "Part_Wb", "Part_Lb", "Part_Wa",     "Panel",       "Panel_lv"};
static_assert(std::size(kPickedArrayFields) == 13);

// Copies the named fields of the current row; false when there is none.
bool PickUp(const Cursor& from, Cursor& to, const char* const* first, const char* const* last) {
    if (!from.isOpen() || from.isEmpty())
        return false;
    to.edit();
    for (auto f = first; f != last; ++f)
        to.setValue(QString::fromLatin1(*f), from.value(QString::fromLatin1(*f)));
    return true;
}

// The hidden ID of a result table's current row, by which its placements are kept.
qint64 CurrentId(const Cursor& table) {
    return qint64(table.asDouble(QStringLiteral("ID")));
}

} // namespace

bool PickUpPlanRow(TDataM1& dm, std::vector<Placement>& boards, std::vector<Placement>* boards2) {
    if (!PickUp(dm.TempResult, dm.TempInput, std::begin(kPickedFields), std::end(kPickedFields)))
        return false;
    dm.TempInput.post();
    const qint64 id = CurrentId(dm.TempResult);
    boards = *dm.resultBoards.Of(id);
    if (boards2)
        *boards2 = *dm.resultBoards.SecondOf(id);
    return true;
}

bool PickUpArrayRow(TDataM1& dm, std::vector<Placement>& units) {
    // Left in edit state: the next operation that posts the array row posts it.
    if (!PickUp(dm.TempResultCus, dm.TempInputCus, std::begin(kPickedArrayFields),
                std::end(kPickedArrayFields)))
        return false;
    units = *dm.arrayResultUnits.Of(CurrentId(dm.TempResultCus));
    return true;
}

} // namespace vorn
