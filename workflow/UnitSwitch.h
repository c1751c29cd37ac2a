#pragma once
// The unit switch of the working tables: every length held in the job row, the
// array row, the result tables and the tooling holes converted between inches
// and millimetres.

#include "Placement.h"
#include "UnitWalk.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace vorn {

class TDataM1;

// The lengths of each working table, in the order they are converted.
QStringList JobRowLengths();      // TempInput, 24
QStringList ArrayRowLengths();    // TempInputCus, 11
QStringList ResultLengths();      // TempResult, 13
QStringList ArrayResultLengths(); // TempResultCus, 7
QStringList ToolingLengths();     // TempTooling, 3

// The caption that follows `caption` ("Inch" → "mm", "mm" → "Inch") and the
// factor that converts to it; any other caption converts nothing (empty, 1).
struct UnitStep {
    QString caption;
    LengthScale scale;
    bool converts = false;
};
UnitStep NextUnit(const QString& caption);

// Converts every length of the working tables by `step` (the job row and the
// array row are put into edit mode; closed tables are skipped), the
// placements kept beside the result tables and the job's and array row's
// placements `givenBoards`, `givenUnits` and panel 2's `givenBoards2` (when
// given), blanks the zero results of the job and array rows and posts the
// job row; the array row stays in edit mode. With a step that converts nothing only the blanking
// and the post happen. The caller holds the grids.
void ConvertWorkingTables(TDataM1& data, const UnitStep& step,
                          std::vector<Placement>* givenBoards = nullptr,
                          std::vector<Placement>* givenUnits = nullptr,
                          std::vector<Placement>* givenBoards2 = nullptr);

} // namespace vorn
