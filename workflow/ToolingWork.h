#pragma once
// The tooling holes of the job in the working tables: presets read from
// `SetTooling`, holes written to `TempTooling`. The arithmetic is the
// engine's (Tooling.h); this is the table glue shared by the main window, the
// report and the batch tool.

#include "CommandEnabling.h" // RowReader
#include "Tooling.h"

#include <QString>

#include <optional>
#include <vector>

namespace vorn {

class Cursor;
class TDataM1;

// The presets of one type ("Panel" or "Array") in SerialNumber order, inches.
// A closed table is opened and closed again; an open one keeps its rows,
// filter and current row.
std::vector<ToolingPreset> ReadToolingPresets(Cursor& SetTooling, const QString& type);

// The outlines of a job or saved-part row.
ToolingOutlines OutlinesOf(const RowReader& job);

// Rebuilds `TempTooling` for the current job row: the holes of panel 1, of a
// valid panel 2 and of a valid array, numbered by position, in the display
// unit (mm: the presets times 25.4 for the computation only). The table's
// filter is kept, its insert mode cleared, its order SerialNumber.
std::vector<PlacedHole> StoreToolingHoles(TDataM1& dm, bool mm);

// "PanelType='Panel2'" -> "Panel2"; empty when the filter names no type.
QString ToolingTypeOfFilter(const QString& filter);
// Whether the outline of a hole type ("Panel1", "Panel2", "Array") of the job
// holds a valid layout.
bool ToolingTypeValid(const ToolingOutlines& job, const QString& type);

} // namespace vorn
