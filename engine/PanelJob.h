#pragma once
// The inputs of a search, taken as values. Board, gap, margins and panel
// limits are in the display unit (as the job record holds them); sheets and
// presets are in inches (as the settings tables hold them).

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace vorn {

inline constexpr double kMillimetresPerInch = 25.4;

// Display unit factor: lengths in the working tables are inches times this.
enum class DisplayUnit { Inch, Millimetre };
inline double UnitFactor(DisplayUnit u) {
    return u == DisplayUnit::Millimetre ? kMillimetresPerInch : 1.0;
}

struct SheetSize {
    double Base_L = 0, Base_W = 0; // inches, as stored
};

struct PresetSize {
    double Panel_L = 0, Panel_W = 0; // inches, as stored
};

// Boards laid out beyond the classic block patterns where a better layout
// exists: off, any layout (routed panels) or straight cuts only (V-scored).
enum class PackingOption { Off, Routed, VScored };

// The job file's and the defaults file's words for the option ("" for off:
// the key is left out).
inline const char* PackingOptionWord(PackingOption o) {
    return o == PackingOption::Routed ? "Routed" : o == PackingOption::VScored ? "VScored" : "";
}
inline bool PackingOptionFromWord(const std::string& word, PackingOption& o) {
    for (PackingOption c : {PackingOption::Off, PackingOption::Routed, PackingOption::VScored})
        if (word == (c == PackingOption::Off ? "Off" : PackingOptionWord(c))) {
            o = c;
            return true;
        }
    return false;
}

struct PanelJob {
    double Set_L = 0, Set_W = 0, Set_C = 0;
    double BorderX_L = 0, BorderX_W = 0;
    double Min_PL = 0, Min_PW = 0, Max_PL = 0, Max_PW = 0;
    double PLPW_ratio = 0;
    double Min_lv = 0;
    std::string PanelNumber = "1"; // text of the panel kinds box: "1" or "2"
    bool AUTOPanel = true;         // generated sizes; false: the presets
    bool GoodBase = true;          // best sheet; false: every sheet
    bool BothPanel = false;        // mixed orientation of boards in a panel
    bool BothBase = false;         // mixed orientation of panels on a sheet
    PackingOption packing = PackingOption::Off;
    std::vector<SheetSize> sheets;   // enabled sheet rows, in any order
    std::vector<PresetSize> presets; // enabled presets in Number order
};

struct ArrayJob {
    double Part_L = 0, Part_W = 0, Part_C = 0;
    double SetBorder_L = 0, SetBorder_W = 0;
    double Min_SetL = 0, Min_SetW = 0, Max_SetL = 0, Max_SetW = 0;
    // Units laid out beyond the block routine (turned where that fits more).
    PackingOption packing = PackingOption::Off;
};

// Counts of one search run, for diagnostics and the benchmark.
struct SearchStats {
    std::int64_t candidatesGenerated = 0; // panel sizes produced and offered
    std::int64_t candidatesEvaluated = 0; // those that reached sheet cutting
    std::int64_t layoutCalls = 0;         // layouts actually computed (cached ones not counted)
    std::int64_t progressSteps = 0;
    std::int64_t rowsWritten = 0;
    std::int64_t innerSize = 0;    // panel sizes collected for the two-size stage
    std::int64_t pairsTried = 0;   // pairs of collected sizes
    std::int64_t pairsBounded = 0; // pairs ruled out before their loops ran
    std::chrono::nanoseconds singleTime{0}, pairTime{0};
    // Layouts beyond the blocks (best packing on): sizes whose upper bound
    // leaves room above the routine's count; of them, laid out by the solver,
    // with more boards (and the boards gained in all), and left to the
    // routine (where more boards change no row, or past the search's
    // allowance for the solver); the solver's time.
    std::int64_t packRoom = 0, packSolved = 0, packGained = 0, packBoards = 0, packSkipped = 0;
    std::int64_t packSteps = 0; // the solver's steps
    std::chrono::nanoseconds packTime{0};
};

} // namespace vorn
