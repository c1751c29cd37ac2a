#pragma once
// The values the engine accepts, written once: every reader of a length,
// ratio or utilization (job files, the job row before a search, the defaults
// file, the layout command) checks it here before anything is computed, so
// the searches never see a value that could overflow their tolerant
// comparison or their counts, or run for hours.

#include "PanelJob.h"

#include <string>

namespace vorn {

// Bounds in inches. No board, unit, panel or sheet side is smaller than
// kMinSide or larger than kMaxLength; gaps, margins and panel limits lie in
// 0..kMaxLength (0: none). At the largest length in millimetres, x * 1e10 is
// 2.54e15, far inside the 64-bit range of the tolerant comparison.
inline constexpr double kMinSide = 0.001;
inline constexpr double kMaxLength = 10000;
inline constexpr double kMinRatio = 1;     // PLPW_ratio: a panel is never wider than long
inline constexpr double kMaxPercent = 100; // Min_lv

// The most pieces one layout may hold along a side: boards on the largest
// panel the limits allow, panels on the largest sheet, units in the largest
// array. The panel search walks sizes of up to this many boards per side
// (its candidates grow with the cube of it), and a mixed layout runs this
// many rounds of this many bands. Real jobs stay far below: a 1 mm board
// with no gap on a 49 in sheet is about 1250 along a side.
inline constexpr int kMaxPiecesAlongSide = 2000;

// The automatic panel search tries, for each side built from board counts,
// the sides of the other direction built from one or two counts: about
// nL * nW * (nL + nW) sizes for nL boards along the largest length and nW
// along the largest width, each laid out in about nL + nW rounds, so its
// worst time follows nL * nW * (nL + nW)^2. Repeated sizes are counted in
// bulk, so square jobs of tiny boards run far under that (the 0.1 in board,
// 8.2e9, in 0.6 s; a 2 mm board with no gap, 2e10, in 1.6 s); long, thin
// limits do not gain (a 5.8 in board with Max_PW 10000 and Max_PL 21.5,
// 1.5e10, takes about 10 s). The bound keeps the worst shapes within tens of
// seconds, with progress and Esc, and refuses what would run for minutes.
inline constexpr double kMaxPanelSearchWork = 3e10;

// A ratio above any side ratio the bounds allow (kMaxLength / kMinSide) acts
// as no limit at all; the search clamps to it so its key stays in range.
inline constexpr double kRatioWithoutLimit = 1e8;

enum class FieldKind {
    Side,    // kMinSide..kMaxLength
    Length,  // 0..kMaxLength: gap, margin, panel or array limit
    Ratio,   // at least kMinRatio
    Percent, // 0..kMaxPercent
};

// Empty when the value (in the display unit for lengths) lies in its range;
// otherwise one line naming the field, the value and the allowed range.
std::string FieldRangeError(const char* field, double value, FieldKind kind, DisplayUnit unit);

// Every value of a job, then the pieces along a side. Empty when the job may
// be searched. The zero board and the missing sheet keep their own program
// messages (PanelJobRefusal, ArrayJobRefusal), checked first.
std::string PanelJobDomainError(const PanelJob& job, DisplayUnit unit);
std::string ArrayJobDomainError(const ArrayJob& job, DisplayUnit unit);

// A panel or array size typed by the user and planned without a search:
// the board (unit), gap, margins and typed size, the sheets, and the pieces
// along a side. The program's own refusals (GivenPanelRefusal,
// GivenArrayRefusal) are checked first.
struct GivenPanelJob;
struct GivenArrayJob;
std::string GivenPanelDomainError(const GivenPanelJob& job, DisplayUnit unit);
std::string GivenArrayDomainError(const GivenArrayJob& job, DisplayUnit unit);

// The arguments of one layout (any unit taken as inches).
std::string LayoutDomainError(double L, double W, double C, double BL, double BW, double CL,
                              double CW);

} // namespace vorn
