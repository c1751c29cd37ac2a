#pragma once
// Arguments of the commands that plan one job without a search result list
// (holes, panel): "--job FILE" and named options, and the tooling presets
// of a database file.

#include "CommandEnabling.h" // RowReader
#include "DiagramRoutines.h" // ToolingHole
#include "PanelJob.h"
#include "ResultRow.h"
#include "Tooling.h"

#include <optional>
#include <string>
#include <vector>

namespace vornplan {

struct PlanArguments {
    std::string job;
    bool mm = false;
    std::string db;    // empty: the program's Vorn.mdb
    std::string row;   // --row N (holes)
    std::string panel; // --panel LxW (panel)
};

// Reads "--job FILE [--mm] [--db PATH]" and the options named in `extra`
// ("--row", "--panel"). Returns an exit code when the command should end
// now (--help: 0; a bad or missing argument: 2, with the help on stderr).
std::optional<int> ParsePlanArguments(const char* command, int argc, char** argv, const char* help,
                                      const std::vector<std::string>& extra, PlanArguments& out);

// "LxW" with two positive numbers.
bool ParseSize(const std::string& text, double& l, double& w);

// The "Panel" and "Array" presets of a database file (inches, SerialNumber
// order); false with a message naming the file when it is not usable.
bool ReadPresetsFromFile(const std::string& path, std::vector<vorn::ToolingPreset>& panel,
                         std::vector<vorn::ToolingPreset>& array, std::string& error);
// The tooling holes of a plan (`plan` reads its columns by name), placed from
// the presets of a database file as the main window places them at the
// pick-up, in the job's unit; false with the message of ReadPresetsFromFile.
bool PlaceHolesFromFile(const std::string& path, const vorn::RowReader& plan, bool mm,
                        std::vector<vorn::PlacedHole>& holes, std::string& error);

// The placed holes of one panel type ("Panel1", "Panel2", "Array") as the
// report lists them and the diagrams mark them: a hole without a known
// reference at 0,0, as the window's tooling table reads its empty coordinates.
std::vector<vorn::ToolingHole> HolesOfType(const std::vector<vorn::PlacedHole>& holes,
                                           const char* panelType);

// The enabled sheets of a database file, in the sheet table's order.
bool ReadSheetsFromFile(const std::string& path, std::vector<vorn::SheetSize>& sheets,
                        std::string& error);

// The database beside the program.
std::string ProgramDatabase();

} // namespace vornplan
