#include "InputDomain.h"

#include "GivenPanel.h"
#include "SearchBounds.h"
#include "SearchCost.h"

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

DomainProblem TooMany(DomainProblem::Crowd crowd, const char* fields, double count) {
    DomainProblem p;
    p.kind = DomainProblem::Kind::TooManyAlongSide;
    p.crowd = crowd;
    p.field = fields;
    p.count = std::floor(count);
    p.limit = kMaxPiecesAlongSide;
    return p;
}

// The English of a crowd, after its fields.
const char* CrowdText(DomainProblem::Crowd crowd) {
    switch (crowd) {
    case DomainProblem::Crowd::PanelLimits:
        return "the panel limits allow too many boards along a side";
    case DomainProblem::Crowd::PresetPanels:
        return "too many boards along a side";
    case DomainProblem::Crowd::Sheets:
        return "too many panels along a side";
    case DomainProblem::Crowd::ArrayLimits:
        return "the array limits allow too many units along a side";
    case DomainProblem::Crowd::TypedPanel:
        return "the typed panel holds too many boards along a side";
    case DomainProblem::Crowd::TypedArray:
        return "the typed array holds too many units along a side";
    case DomainProblem::Crowd::Layout:
        return "too many pieces along a side";
    }
    return "";
}

struct Check {
    const char* field;
    double value;
    FieldKind kind;
};

DomainProblem FirstProblem(std::initializer_list<Check> checks, DisplayUnit unit,
                           DomainProblem::Source source = DomainProblem::Source::Job) {
    for (const Check& c : checks) {
        DomainProblem p = FieldRangeProblem(c.field, c.value, c.kind, unit);
        if (p) {
            p.source = source;
            return p;
        }
    }
    return {};
}

// Sheets without area are passed over by the searches; the others must be
// real sizes (inches, as their table holds them). `largestSide` gets the
// longest side of them.
DomainProblem SheetsProblem(const std::vector<SheetSize>& sheets, double& largestSide) {
    largestSide = 0;
    for (const SheetSize& s : sheets) {
        if (!(s.Base_L > 0 && s.Base_W > 0))
            continue;
        DomainProblem p = FirstProblem(
            {{"Base_L", s.Base_L, FieldKind::Side}, {"Base_W", s.Base_W, FieldKind::Side}},
            DisplayUnit::Inch, DomainProblem::Source::Sheet);
        if (p)
            return p;
        largestSide = std::max({largestSide, s.Base_L, s.Base_W});
    }
    return {};
}

} // namespace

std::string DomainText(const DomainProblem& p) {
    using Kind = DomainProblem::Kind;
    using Source = DomainProblem::Source;
    std::string name = p.field;
    if (p.source == Source::Sheet)
        name = "sheet " + name;
    else if (p.source == Source::Preset)
        name = "preset " + name;
    switch (p.kind) {
    case Kind::None:
        return {};
    case Kind::NotFinite:
        return name + " is not a finite number";
    case Kind::OutOfRange:
        return name + " = " + Num(p.value) + " is outside the allowed range " +
               Range(p.low, p.high, p.unit.c_str());
    case Kind::BelowMinimum:
        return name + " = " + Num(p.value) + " is below the allowed minimum " + Num(p.low);
    case Kind::NotOneOrTwo:
        return name + " = '" + p.text + "' is not 1 or 2";
    case Kind::TooManyAlongSide: {
        const char* what = p.crowd == DomainProblem::Crowd::Sheets         ? "sheets"
                           : p.crowd == DomainProblem::Crowd::PresetPanels ? "preset panels"
                                                                           : p.field.c_str();
        return std::string(what) + ": " + CrowdText(p.crowd) + " (" + Num(p.count) + "; at most " +
               Num(p.limit) + "): the search could not finish in reasonable time";
    }
    case Kind::TooMuchSearchWork: {
        std::string t = name + ": boards this small within these panel limits would take about " +
                        Num(p.count) + " s and " + Num(p.value) + " MB to search (at most " +
                        Num(p.limit) + " s and " + Num(p.high) + " MB)";
        if (p.low > 0)
            t += "; Max_PL = " + Num(p.alongLength) + " and Max_PW = " + Num(p.alongWidth) + " " +
                 p.unit + " would do";
        if (p.text == "1")
            t += std::string(p.low > 0 ? ", or" : ";") + " one panel kind (PanelNumber = 1)";
        return t;
    }
    }
    return {};
}

DomainProblem FieldRangeProblem(const char* field, double value, FieldKind kind, DisplayUnit unit) {
    DomainProblem p;
    p.field = field;
    p.value = value;
    if (!std::isfinite(value)) {
        p.kind = DomainProblem::Kind::NotFinite;
        return p;
    }
    const double f = UnitFactor(unit);
    const char* u = UnitName(unit);
    // Compared in the unit the value was typed in, with the tolerance of the
    // engine's comparison, so that a bound typed in millimetres (0.0254,
    // 254000) is inside whatever the last bit of 0.001 * 25.4 is.
    const double lo = kMinSide * f - 1e-10, hi = kMaxLength * f + 1e-10;
    auto outside = [&](double low, double high, const char* shownUnit) {
        p.kind = DomainProblem::Kind::OutOfRange;
        p.low = low;
        p.high = high;
        p.unit = shownUnit;
        return p;
    };
    switch (kind) {
    case FieldKind::Side:
        if (value >= lo && value <= hi)
            return {};
        return outside(kMinSide * f, kMaxLength * f, u);
    case FieldKind::Length:
        if (value >= 0 && value <= hi)
            return {};
        return outside(0, kMaxLength * f, u);
    case FieldKind::Ratio:
        if (value >= kMinRatio)
            return {};
        p.kind = DomainProblem::Kind::BelowMinimum;
        p.low = kMinRatio;
        return p;
    case FieldKind::Percent:
        if (value >= 0 && value <= kMaxPercent)
            return {};
        return outside(0, kMaxPercent, "%");
    }
    return {};
}

namespace {

bool TooCostly(const SearchCost& c) {
    return c.seconds > kMaxSearchSeconds || c.megabytes > kMaxSearchMegabytes;
}

// A job of small boards that could not finish within the bounds, with what
// would: the panel limits scaled down (the largest share found to a
// hundredth), or one panel kind.
DomainProblem CostProblem(const PanelJob& job, DisplayUnit unit) {
    const double shorterMm = std::min(job.Set_L, job.Set_W) / UnitFactor(unit) * 25.4;
    // A job the search answers at once costs nothing.
    if (shorterMm >= kSmallestCostlyBoardMm || NoPlanReachesMinimum(job, unit) ||
        NoPanelFitsAnySheet(job, unit))
        return {};
    const SearchCost cost = EstimatePanelSearchCost(job, unit);
    if (!TooCostly(cost))
        return {};
    DomainProblem e;
    e.kind = DomainProblem::Kind::TooMuchSearchWork;
    e.field = "Max_PL, Max_PW";
    e.count = std::ceil(cost.seconds);
    e.limit = kMaxSearchSeconds;
    e.value = std::ceil(cost.megabytes);
    e.high = kMaxSearchMegabytes;
    auto scaled = [&](double share) {
        PanelJob smaller = job;
        smaller.Max_PL *= share;
        smaller.Max_PW *= share;
        return smaller;
    };
    double lo = 0, hi = 1; // lo would do, hi would not
    for (int k = 0; k < 7; ++k) {
        const double mid = (lo + hi) / 2;
        (TooCostly(EstimatePanelSearchCost(scaled(mid), unit)) ? hi : lo) = mid;
    }
    e.low = std::floor(lo * 100) / 100;
    // The suggested limits in the job's unit, to the hundredth of a unit.
    e.alongLength = std::floor(job.Max_PL * e.low * 100) / 100;
    e.alongWidth = std::floor(job.Max_PW * e.low * 100) / 100;
    e.unit = UnitName(unit);
    if (job.PanelNumber == "2") {
        PanelJob one = job;
        one.PanelNumber = "1";
        if (!TooCostly(EstimatePanelSearchCost(one, unit)))
            e.text = "1";
    }
    return e;
}

} // namespace

DomainProblem PanelJobDomainProblem(const PanelJob& job, DisplayUnit unit) {
    DomainProblem e = FirstProblem({{"Set_L", job.Set_L, FieldKind::Side},
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
    if (e)
        return e;
    if (job.PanelNumber != "1" && job.PanelNumber != "2") {
        e.kind = DomainProblem::Kind::NotOneOrTwo;
        e.field = "PanelNumber";
        e.text = job.PanelNumber;
        return e;
    }
    // Presets without area are passed over by the search too.
    double sheetSide = 0;
    e = SheetsProblem(job.sheets, sheetSide);
    if (e)
        return e;
    const double f = UnitFactor(unit);
    const double W = std::min(job.Set_L, job.Set_W) / f;
    const double C = job.Set_C / f;
    const double B = std::min(job.BorderX_L, job.BorderX_W) / f;
    double panelSide = 0;     // the largest panel a board layout is computed for
    double smallestPanel = 0; // the smallest panel cut on a sheet
    if (job.AUTOPanel) {
        // The search walks no further than a board cell beyond the sheets.
        const double reach = PanelSideReach(job, unit);
        const double nL =
            std::max(0.0, PiecesAlong(std::min(job.Max_PL / f, reach), job.BorderX_L / f, W, C));
        const double nW =
            std::max(0.0, PiecesAlong(std::min(job.Max_PW / f, reach), job.BorderX_W / f, W, C));
        if (std::max(nL, nW) > kMaxPiecesAlongSide)
            return TooMany(DomainProblem::Crowd::PanelLimits, "Max_PL, Max_PW", std::max(nL, nW));
        if (e = CostProblem(job, unit); e)
            return e;
        // Every panel holds a board and keeps its margins.
        smallestPanel = W + 2 * B;
    } else {
        smallestPanel = kMaxLength;
        for (const PresetSize& p : job.presets) {
            if (!(p.Panel_L > 0 && p.Panel_W > 0))
                continue;
            e = FirstProblem(
                {{"Panel_L", p.Panel_L, FieldKind::Side}, {"Panel_W", p.Panel_W, FieldKind::Side}},
                DisplayUnit::Inch, DomainProblem::Source::Preset);
            if (e)
                return e;
            panelSide = std::max({panelSide, p.Panel_L, p.Panel_W});
            smallestPanel = std::min({smallestPanel, p.Panel_L, p.Panel_W});
        }
        if (PiecesAlong(panelSide, B, W, C) > kMaxPiecesAlongSide)
            return TooMany(DomainProblem::Crowd::PresetPanels, "", PiecesAlong(panelSide, B, W, C));
    }
    if (sheetSide / smallestPanel > kMaxPiecesAlongSide)
        return TooMany(DomainProblem::Crowd::Sheets, "", sheetSide / smallestPanel);
    return {};
}

DomainProblem ArrayJobDomainProblem(const ArrayJob& job, DisplayUnit unit) {
    DomainProblem e = FirstProblem({{"Part_L", job.Part_L, FieldKind::Side},
                                    {"Part_W", job.Part_W, FieldKind::Side},
                                    {"Part_C", job.Part_C, FieldKind::Length},
                                    {"SetBorder_L", job.SetBorder_L, FieldKind::Length},
                                    {"SetBorder_W", job.SetBorder_W, FieldKind::Length},
                                    {"Min_SetL", job.Min_SetL, FieldKind::Length},
                                    {"Min_SetW", job.Min_SetW, FieldKind::Length},
                                    {"Max_SetL", job.Max_SetL, FieldKind::Length},
                                    {"Max_SetW", job.Max_SetW, FieldKind::Length}},
                                   unit);
    if (e)
        return e;
    const double f = UnitFactor(unit);
    const double W = std::min(job.Part_L, job.Part_W) / f;
    const double C = job.Part_C / f;
    const double along = std::max(PiecesAlong(job.Max_SetL / f, job.SetBorder_L / f, W, C),
                                  PiecesAlong(job.Max_SetW / f, job.SetBorder_W / f, W, C));
    if (along > kMaxPiecesAlongSide)
        return TooMany(DomainProblem::Crowd::ArrayLimits, "Max_SetL, Max_SetW", along);
    return {};
}

DomainProblem GivenPanelDomainProblem(const GivenPanelJob& job, DisplayUnit unit) {
    DomainProblem e = FirstProblem({{"Set_L", job.Set_L, FieldKind::Side},
                                    {"Set_W", job.Set_W, FieldKind::Side},
                                    {"Set_C", job.Set_C, FieldKind::Length},
                                    {"BorderX_L", job.BorderX_L, FieldKind::Length},
                                    {"BorderX_W", job.BorderX_W, FieldKind::Length},
                                    {"Panel_L", job.Panel_L, FieldKind::Side},
                                    {"Panel_W", job.Panel_W, FieldKind::Side}},
                                   unit);
    if (e)
        return e;
    double sheetSide = 0;
    e = SheetsProblem(job.sheets, sheetSide);
    if (e)
        return e;
    const double f = UnitFactor(unit);
    const double W = std::min(job.Set_L, job.Set_W) / f;
    const double along = PiecesAlong(std::max(job.Panel_L, job.Panel_W) / f,
                                     std::min(job.BorderX_L, job.BorderX_W) / f, W, job.Set_C / f);
    if (along > kMaxPiecesAlongSide)
        return TooMany(DomainProblem::Crowd::TypedPanel, "Panel_L, Panel_W", along);
    const double smallestPanel = std::min(job.Panel_L, job.Panel_W) / f;
    if (sheetSide / smallestPanel > kMaxPiecesAlongSide)
        return TooMany(DomainProblem::Crowd::Sheets, "", sheetSide / smallestPanel);
    return {};
}

DomainProblem GivenArrayDomainProblem(const GivenArrayJob& job, DisplayUnit unit) {
    const DomainProblem e = FirstProblem({{"Part_L", job.Part_L, FieldKind::Side},
                                          {"Part_W", job.Part_W, FieldKind::Side},
                                          {"Part_C", job.Part_C, FieldKind::Length},
                                          {"SetBorder_L", job.SetBorder_L, FieldKind::Length},
                                          {"SetBorder_W", job.SetBorder_W, FieldKind::Length},
                                          {"Set_L", job.Set_L, FieldKind::Side},
                                          {"Set_W", job.Set_W, FieldKind::Side}},
                                         unit);
    if (e)
        return e;
    const double f = UnitFactor(unit);
    const double along = PiecesAlong(std::max(job.Set_L, job.Set_W) / f,
                                     std::min(job.SetBorder_L, job.SetBorder_W) / f,
                                     std::min(job.Part_L, job.Part_W) / f, job.Part_C / f);
    if (along > kMaxPiecesAlongSide)
        return TooMany(DomainProblem::Crowd::TypedArray, "Set_L, Set_W", along);
    return {};
}

DomainProblem LayoutDomainProblem(double L, double W, double C, double BL, double BW, double CL,
                                  double CW) {
    const DomainProblem e = FirstProblem({{"L", L, FieldKind::Side},
                                          {"W", W, FieldKind::Side},
                                          {"C", C, FieldKind::Length},
                                          {"BL", BL, FieldKind::Length},
                                          {"BW", BW, FieldKind::Length},
                                          {"CL", CL, FieldKind::Length},
                                          {"CW", CW, FieldKind::Length}},
                                         DisplayUnit::Inch);
    if (e)
        return e;
    const double along = std::max(CL, CW) / (std::min(L, W) + C);
    if (along > kMaxPiecesAlongSide)
        return TooMany(DomainProblem::Crowd::Layout, "CL, CW", along);
    return {};
}

} // namespace vorn
