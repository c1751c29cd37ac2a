#include "UnitSwitch.h"

#include "Cursor.h"
#include "DataModule.h"
#include "UnitWalk.h"
#include "Units.h"

namespace vorn {

QStringList JobRowLengths() {
    return {"Part_L",   "Part_W",   "Part_C",    "SetBorder_L", "SetBorder_W", "Set_L",
            "Set_W",    "Set_C",    "BorderX_L", "BorderX_W",   "Max_PL",      "Max_PW",
            "Min_PL",   "Min_PW",   "Panel_L",   "Panel_W",     "Border_L",    "Border_W",
            "Panel_L2", "Panel_W2", "Border_L2", "Border_W2",   "Base_L",      "Base_W"};
}

QStringList ArrayRowLengths() {
    return {"Part_L",   "Part_W",   "Part_C",   "SetBorder_L", "SetBorder_W", "Min_SetL",
            "Min_SetW", "Max_SetL", "Max_SetW", "Set_L",       "Set_W"};
}

QStringList ResultLengths() {
    return {"Set_L",    "Set_W",    "Set_C",     "Panel_L",   "Panel_W", "Border_L", "Border_W",
            "Panel_L2", "Panel_W2", "Border_L2", "Border_W2", "Base_L",  "Base_W"};
}

QStringList ArrayResultLengths() {
    return {"Part_L", "Part_W", "Part_C", "SetBorder_L", "SetBorder_W", "Set_L", "Set_W"};
}

QStringList ToolingLengths() {
    return {"Xcoordinate", "Ycoordinate", "Diameter"};
}

UnitStep NextUnit(const QString& caption) {
    const double mmPerInch = InchesToDisplay(1.0, true);
    if (caption == InchCaption())
        return {MmCaption(), {mmPerInch, false}, true};
    if (caption == MmCaption())
        return {InchCaption(), {mmPerInch, true}, true};
    return {};
}

void ConvertWorkingTables(TDataM1& data, const UnitStep& step, std::vector<Placement>* givenBoards,
                          std::vector<Placement>* givenUnits,
                          std::vector<Placement>* givenBoards2) {
    Cursor& job = data.TempInput;
    Cursor& array = data.TempInputCus;
    if (step.converts) {
        const LengthScale f = step.scale;
        TDataM1::WorkingUnitMemory& m = data.workingUnits;
        if (job.isOpen())
            ScaleCurrentRow(job, JobRowLengths(), f, &m.job);
        if (array.isOpen())
            ScaleCurrentRow(array, ArrayRowLengths(), f, &m.array);
        ScaleEveryRow(data.TempResult, ResultLengths(), f);
        ScaleEveryRow(data.TempResultCus, ArrayResultLengths(), f);
        // The placements as their rows' lengths: the same factor, the same way.
        data.resultBoards.Scale(f);
        data.arrayResultUnits.Scale(f);
        for (std::vector<Placement>* given : {givenBoards, givenUnits, givenBoards2})
            if (given)
                ScalePlacements(*given, f);
        ScaleEveryRow(data.TempTooling, ToolingLengths(), f, &m.tooling);
    }
    // A job without a plan shows empty result fields, not 0.
    if (job.isOpen())
        BlankZeros(job, {"Panel_L", "Panel_W", "Border_L", "Border_W", "Base_L", "Base_W"});
    if (array.isOpen())
        BlankZeros(array, {"Set_L", "Set_W"});
    if (job.isOpen())
        job.post();
}

} // namespace vorn
