#include "InputDomain.h"

#include "GivenPanel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vorn {

namespace {

std::string Num(double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.15g", v);
    return buf;
}

const char* UnitName(DisplayUnit unit) {
    return unit == DisplayUnit::Millimetre ? "mm" : "in";
}

std::string Range(double lo, double hi, const char* unit) {
    return Num(lo) + " to " + Num(hi) + " " + unit;
}

// Pieces of width w (plus gap c) along a run of `run` with margins b at both
// ends: the count the search and the layout could reach.
double PiecesAlong(double run, double b, double w, double c) {
    return (run - 2 * b + c) / (w + c);
}

std::string TooMany(const std::string& what, double count) {
    return what + " (" + Num(std::floor(count)) + "; at most " +
           std::to_string(kMaxPiecesAlongSide) +
           "): the search could not finish in reasonable time";
}

struct Check {
    const char* field;
    double value;
    FieldKind kind;
};

std::string FirstError(std::initializer_list<Check> checks, DisplayUnit unit) {
    for (const Check& c : checks) {
        std::string e = FieldRangeError(c.field, c.value, c.kind, unit);
        if (!e.empty())
            return e;
    }
    return {};
}

// Sheets without area are passed over by the searches; the others must be
// real sizes (inches, as their table holds them). `largestSide` gets the
// longest side of them.
std::string SheetsError(const std::vector<SheetSize>& sheets, double& largestSide) {
    largestSide = 0;
    for (const SheetSize& s : sheets) {
        if (!(s.Base_L > 0 && s.Base_W > 0))
            continue;
        std::string e = FirstError({{"sheet Base_L", s.Base_L, FieldKind::Side},
                                    {"sheet Base_W", s.Base_W, FieldKind::Side}},
                                   DisplayUnit::Inch);
        if (!e.empty())
            return e;
        largestSide = std::max({largestSide, s.Base_L, s.Base_W});
    }
    return {};
}

} // namespace

std::string FieldRangeError(const char* field, double value, FieldKind kind, DisplayUnit unit) {
    const std::string name(field);
    if (!std::isfinite(value))
        return name + " is not a finite number";
    const double f = UnitFactor(unit);
    const char* u = UnitName(unit);
    // Compared in the unit the value was typed in, with the tolerance of the
    // engine's comparison, so that a bound typed in millimetres (0.0254,
    // 254000) is inside whatever the last bit of 0.001 * 25.4 is.
    const double lo = kMinSide * f - 1e-10, hi = kMaxLength * f + 1e-10;
    switch (kind) {
    case FieldKind::Side:
        if (value >= lo && value <= hi)
            return {};
        return name + " = " + Num(value) + " is outside the allowed range " +
               Range(kMinSide * f, kMaxLength * f, u);
    case FieldKind::Length:
        if (value >= 0 && value <= hi)
            return {};
        return name + " = " + Num(value) + " is outside the allowed range " +
               Range(0, kMaxLength * f, u);
    case FieldKind::Ratio:
        if (value >= kMinRatio)
            return {};
        return name + " = " + Num(value) + " is below the allowed minimum " + Num(kMinRatio);
    case FieldKind::Percent:
        if (value >= 0 && value <= kMaxPercent)
            return {};
        return name + " = " + Num(value) + " is outside the allowed range " +
               Range(0, kMaxPercent, "%");
    }
    return {};
}

std::string PanelJobDomainError(const PanelJob& job, DisplayUnit unit) {
    std::string e = FirstError({{"Set_L", job.Set_L, FieldKind::Side},
                                {"Set_W", job.Set_W, FieldKind::Side},
                                {"Set_C", job.Set_C, FieldKind::Length},
                                {"BorderX_L", job.BorderX_L, FieldKind::Length},
                                {"BorderX_W", job.BorderX_W, FieldKind::Length},
                                {"Min_PL", job.Min_PL, FieldKind::Length},
                                {"Min_PW", job.Min_PW, FieldKind::Length},
                                {"Max_PL", job.Max_PL, FieldKind::Length},
                                {"Max_PW", job.Max_PW, FieldKind::Length},
                                {"PLPW_ratio", job.PLPW_ratio, FieldKind::Ratio},
                                {"Min_lv", job.Min_lv, FieldKind::Percent}},
                               unit);
    if (!e.empty())
        return e;
    if (job.PanelNumber != "1" && job.PanelNumber != "2")
        return "PanelNumber = '" + job.PanelNumber + "' is not 1 or 2";
    // Presets without area are passed over by the search too.
    double sheetSide = 0;
    e = SheetsError(job.sheets, sheetSide);
    if (!e.empty())
        return e;
    const double f = UnitFactor(unit);
    const double W = std::min(job.Set_L, job.Set_W) / f;
    const double C = job.Set_C / f;
    const double B = std::min(job.BorderX_L, job.BorderX_W) / f;
    double panelSide = 0;     // the largest panel a board layout is computed for
    double smallestPanel = 0; // the smallest panel cut on a sheet
    if (job.AUTOPanel) {
        const double nL = std::max(0.0, PiecesAlong(job.Max_PL / f, job.BorderX_L / f, W, C));
        const double nW = std::max(0.0, PiecesAlong(job.Max_PW / f, job.BorderX_W / f, W, C));
        if (std::max(nL, nW) > kMaxPiecesAlongSide)
            return TooMany("Max_PL, Max_PW: the panel limits allow too many boards along a side",
                           std::max(nL, nW));
        const double work = nL * nW * (nL + nW) * (nL + nW);
        if (work > kMaxPanelSearchWork)
            return "Max_PL, Max_PW: the panel limits allow " + Num(std::floor(nL)) +
                   " boards along the length and " + Num(std::floor(nW)) +
                   " along the width: too many panel sizes to try (nL * nW * (nL + nW)^2 = " +
                   Num(std::floor(work)) + "; at most " + Num(kMaxPanelSearchWork) +
                   "); the search could not finish in reasonable time";
        // Every panel holds a board and keeps its margins.
        smallestPanel = W + 2 * B;
    } else {
        smallestPanel = kMaxLength;
        for (const PresetSize& p : job.presets) {
            if (!(p.Panel_L > 0 && p.Panel_W > 0))
                continue;
            e = FirstError({{"preset Panel_L", p.Panel_L, FieldKind::Side},
                            {"preset Panel_W", p.Panel_W, FieldKind::Side}},
                           DisplayUnit::Inch);
            if (!e.empty())
                return e;
            panelSide = std::max({panelSide, p.Panel_L, p.Panel_W});
            smallestPanel = std::min({smallestPanel, p.Panel_L, p.Panel_W});
        }
        if (PiecesAlong(panelSide, B, W, C) > kMaxPiecesAlongSide)
            return TooMany("preset panels: too many boards along a side",
                           PiecesAlong(panelSide, B, W, C));
    }
    if (sheetSide / smallestPanel > kMaxPiecesAlongSide)
        return TooMany("sheets: too many panels along a side", sheetSide / smallestPanel);
    return {};
}

std::string ArrayJobDomainError(const ArrayJob& job, DisplayUnit unit) {
    std::string e = FirstError({{"Part_L", job.Part_L, FieldKind::Side},
                                {"Part_W", job.Part_W, FieldKind::Side},
                                {"Part_C", job.Part_C, FieldKind::Length},
                                {"SetBorder_L", job.SetBorder_L, FieldKind::Length},
                                {"SetBorder_W", job.SetBorder_W, FieldKind::Length},
                                {"Min_SetL", job.Min_SetL, FieldKind::Length},
                                {"Min_SetW", job.Min_SetW, FieldKind::Length},
                                {"Max_SetL", job.Max_SetL, FieldKind::Length},
                                {"Max_SetW", job.Max_SetW, FieldKind::Length}},
                               unit);
    if (!e.empty())
        return e;
    const double f = UnitFactor(unit);
    const double W = std::min(job.Part_L, job.Part_W) / f;
    const double C = job.Part_C / f;
    const double along = std::max(PiecesAlong(job.Max_SetL / f, job.SetBorder_L / f, W, C),
                                  PiecesAlong(job.Max_SetW / f, job.SetBorder_W / f, W, C));
    if (along > kMaxPiecesAlongSide)
        return TooMany("Max_SetL, Max_SetW: the array limits allow too many units along a side",
                       along);
    return {};
}

std::string GivenPanelDomainError(const GivenPanelJob& job, DisplayUnit unit) {
    std::string e = FirstError({{"Set_L", job.Set_L, FieldKind::Side},
                                {"Set_W", job.Set_W, FieldKind::Side},
                                {"Set_C", job.Set_C, FieldKind::Length},
                                {"BorderX_L", job.BorderX_L, FieldKind::Length},
                                {"BorderX_W", job.BorderX_W, FieldKind::Length},
                                {"Panel_L", job.Panel_L, FieldKind::Side},
                                {"Panel_W", job.Panel_W, FieldKind::Side}},
                               unit);
    if (!e.empty())
        return e;
    double sheetSide = 0;
    e = SheetsError(job.sheets, sheetSide);
    if (!e.empty())
        return e;
    const double f = UnitFactor(unit);
    const double W = std::min(job.Set_L, job.Set_W) / f;
    const double along = PiecesAlong(std::max(job.Panel_L, job.Panel_W) / f,
                                     std::min(job.BorderX_L, job.BorderX_W) / f, W, job.Set_C / f);
    if (along > kMaxPiecesAlongSide)
        return TooMany("Panel_L, Panel_W: the typed panel holds too many boards along a side",
                       along);
    const double smallestPanel = std::min(job.Panel_L, job.Panel_W) / f;
    if (sheetSide / smallestPanel > kMaxPiecesAlongSide)
        return TooMany("sheets: too many panels along a side", sheetSide / smallestPanel);
    return {};
}

std::string GivenArrayDomainError(const GivenArrayJob& job, DisplayUnit unit) {
    const std::string e = FirstError({{"Part_L", job.Part_L, FieldKind::Side},
                                      {"Part_W", job.Part_W, FieldKind::Side},
                                      {"Part_C", job.Part_C, FieldKind::Length},
                                      {"SetBorder_L", job.SetBorder_L, FieldKind::Length},
                                      {"SetBorder_W", job.SetBorder_W, FieldKind::Length},
                                      {"Set_L", job.Set_L, FieldKind::Side},
                                      {"Set_W", job.Set_W, FieldKind::Side}},
                                     unit);
    if (!e.empty())
        return e;
    const double f = UnitFactor(unit);
    const double along = PiecesAlong(std::max(job.Set_L, job.Set_W) / f,
                                     std::min(job.SetBorder_L, job.SetBorder_W) / f,
                                     std::min(job.Part_L, job.Part_W) / f, job.Part_C / f);
    if (along > kMaxPiecesAlongSide)
        return TooMany("Set_L, Set_W: the typed array holds too many units along a side", along);
    return {};
}

std::string LayoutDomainError(double L, double W, double C, double BL, double BW, double CL,
                              double CW) {
    const std::string e = FirstError({{"L", L, FieldKind::Side},
                                      {"W", W, FieldKind::Side},
                                      {"C", C, FieldKind::Length},
                                      {"BL", BL, FieldKind::Length},
                                      {"BW", BW, FieldKind::Length},
                                      {"CL", CL, FieldKind::Length},
                                      {"CW", CW, FieldKind::Length}},
                                     DisplayUnit::Inch);
    if (!e.empty())
        return e;
    const double along = std::max(CL, CW) / (std::min(L, W) + C);
    if (along > kMaxPiecesAlongSide)
        return TooMany("CL, CW: too many pieces along a side", along);
    return {};
}

} // namespace vorn
