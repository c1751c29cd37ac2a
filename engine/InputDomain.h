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

// An automatic search is refused for its cost only when the estimate of
// its real drivers (EstimatePanelSearchCost: new panel sizes and their
// layouts, the pairs of the two-size stage) passes either bound, and never
// for a board whose shorter side is at least kSmallestCostlyBoardMm.
inline constexpr double kMaxSearchSeconds = 30;
inline constexpr double kMaxSearchMegabytes = 2000;
inline constexpr double kSmallestCostlyBoardMm = 5;

// A ratio above any side ratio the bounds allow (kMaxLength / kMinSide) acts
// as no limit at all; the search clamps to it so its key stays in range.
inline constexpr double kRatioWithoutLimit = 1e8;

enum class FieldKind {
    Side,    // kMinSide..kMaxLength
    Length,  // 0..kMaxLength: gap, margin, panel or array limit
    Ratio,   // at least kMinRatio
    Percent, // 0..kMaxPercent
};

// What is wrong with one value or job, as data: the engine's refusals and
// vornplan speak the English of DomainText, the window its own words made
// from the same fields.
struct DomainProblem {
    enum class Kind {
        None,
        NotFinite,        // field
        OutOfRange,       // field = value outside low..high (unit)
        BelowMinimum,     // field = value below low
        NotOneOrTwo,      // field = 'text'
        TooManyAlongSide, // crowd: count pieces along a side, at most limit
        TooMuchSearchWork // count = estimated seconds (at most limit), value = estimated MB
                          // (at most high); Max_PL = alongLength and Max_PW = alongWidth
                          // (unit) would do where low > 0; text "1": one kind would do
    };
    // Where a field's value comes from: the job, or a row of the settings.
    enum class Source { Job, Sheet, Preset };
    // What has too many pieces along a side.
    enum class Crowd {
        PanelLimits,
        PresetPanels,
        Sheets,
        ArrayLimits,
        TypedPanel,
        TypedArray,
        Layout
    };

    Kind kind = Kind::None;
    Source source = Source::Job;
    std::string field; // "Set_L"; for a crowd, the fields that set it ("Max_PL, Max_PW")
    double value = 0, low = 0, high = 0;
    std::string unit; // "in", "mm" or "%"; empty for a ratio
    std::string text; // the value as given (NotOneOrTwo)
    Crowd crowd = Crowd::PanelLimits;
    double count = 0, limit = 0;
    double alongLength = 0, alongWidth = 0;

    explicit operator bool() const { return kind != Kind::None; }
};

// One line naming the field, the value and the allowed range; empty for None.
std::string DomainText(const DomainProblem& problem);

// None when the value (in the display unit for lengths) lies in its range.
DomainProblem FieldRangeProblem(const char* field, double value, FieldKind kind, DisplayUnit unit);
inline std::string FieldRangeError(const char* field, double value, FieldKind kind,
                                   DisplayUnit unit) {
    return DomainText(FieldRangeProblem(field, value, kind, unit));
}

// Every value of a job, then the pieces along a side. None when the job may
// be searched. The zero board and the missing sheet keep their own program
// messages (PanelJobRefusal, ArrayJobRefusal), checked first.
DomainProblem PanelJobDomainProblem(const PanelJob& job, DisplayUnit unit);
DomainProblem ArrayJobDomainProblem(const ArrayJob& job, DisplayUnit unit);
inline std::string PanelJobDomainError(const PanelJob& job, DisplayUnit unit) {
    return DomainText(PanelJobDomainProblem(job, unit));
}
inline std::string ArrayJobDomainError(const ArrayJob& job, DisplayUnit unit) {
    return DomainText(ArrayJobDomainProblem(job, unit));
}

// A panel or array size typed by the user and planned without a search:
// the board (unit), gap, margins and typed size, the sheets, and the pieces
// along a side. The program's own refusals (GivenPanelRefusal,
// GivenArrayRefusal) are checked first.
struct GivenPanelJob;
struct GivenArrayJob;
DomainProblem GivenPanelDomainProblem(const GivenPanelJob& job, DisplayUnit unit);
DomainProblem GivenArrayDomainProblem(const GivenArrayJob& job, DisplayUnit unit);
inline std::string GivenPanelDomainError(const GivenPanelJob& job, DisplayUnit unit) {
    return DomainText(GivenPanelDomainProblem(job, unit));
}
inline std::string GivenArrayDomainError(const GivenArrayJob& job, DisplayUnit unit) {
    return DomainText(GivenArrayDomainProblem(job, unit));
}

// The arguments of one layout (any unit taken as inches).
DomainProblem LayoutDomainProblem(double L, double W, double C, double BL, double BW, double CL,
                                  double CW);
inline std::string LayoutDomainError(double L, double W, double C, double BL, double BW, double CL,
                                     double CW) {
    return DomainText(LayoutDomainProblem(L, W, C, BL, BW, CL, CW));
}

} // namespace vorn
