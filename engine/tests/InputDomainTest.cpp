#include "InputDomain.h"
#include "GivenPanel.h"
#include "JobFile.h"
#include "Layout.h"
#include "PanelSearch.h"
#include "ResultRow.h"
#include "Tolerance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>

using namespace vorn;

namespace {

const std::vector<SheetSize> kSheets = {{48, 36}, {48, 40}, {48, 42}, {49, 37}, {49, 41}, {49, 43}};

// A job whose every field may sit at its own bound without another rule
// refusing it: a wide board keeps even a 10000 in limit under 2000 boards.
PanelJob WideJob(double f) {
    PanelJob j;
    j.Set_L = 10 * f;
    j.Set_W = 8 * f;
    j.Set_C = 0.1 * f;
    j.BorderX_L = j.BorderX_W = 0.5 * f;
    j.Min_PL = j.Min_PW = 8 * f;
    j.Max_PL = 24 * f;
    j.Max_PW = 21 * f;
    j.PLPW_ratio = 2.5;
    j.Min_lv = 0;
    j.sheets = kSheets;
    return j;
}

struct Bound {
    const char* field;
    double PanelJob::*member;
    double value; // in inches for lengths
    bool length;  // scaled by 25.4 in millimetres
    bool inside;
};

// Just inside and just outside every bound (relative steps of 1e-6, far
// above the comparison's 1e-10).
const Bound kBounds[] = {
    {"Set_L", &PanelJob::Set_L, 10000, true, true},
    {"Set_L", &PanelJob::Set_L, 10000 * 1.000001, true, false},
    {"Set_W", &PanelJob::Set_W, 0.001, true, true},
    {"Set_W", &PanelJob::Set_W, 0.001 * 0.999999, true, false},
    {"Set_W", &PanelJob::Set_W, -0.001, true, false},
    {"Set_C", &PanelJob::Set_C, 0, true, true},
    {"Set_C", &PanelJob::Set_C, -1e-6, true, false},
    {"Set_C", &PanelJob::Set_C, 10000, true, true},
    {"Set_C", &PanelJob::Set_C, 10000 * 1.000001, true, false},
    {"BorderX_L", &PanelJob::BorderX_L, 0, true, true},
    {"BorderX_L", &PanelJob::BorderX_L, -5, true, false},
    {"BorderX_W", &PanelJob::BorderX_W, 10000, true, true},
    {"BorderX_W", &PanelJob::BorderX_W, 1e9, true, false},
    {"Min_PL", &PanelJob::Min_PL, 10000, true, true},
    {"Min_PL", &PanelJob::Min_PL, 1e9, true, false},
    {"Min_PW", &PanelJob::Min_PW, -1e-6, true, false},
    {"Max_PL", &PanelJob::Max_PL, 10000, true, true},
    {"Max_PL", &PanelJob::Max_PL, 10000 * 1.000001, true, false},
    {"Max_PW", &PanelJob::Max_PW, 999999, false, false},
    {"PLPW_ratio", &PanelJob::PLPW_ratio, 1, false, true},
    {"PLPW_ratio", &PanelJob::PLPW_ratio, 0.999999, false, false},
    {"PLPW_ratio", &PanelJob::PLPW_ratio, 1e300, false, true},
    {"Min_lv", &PanelJob::Min_lv, 0, false, true},
    {"Min_lv", &PanelJob::Min_lv, -1e-6, false, false},
    {"Min_lv", &PanelJob::Min_lv, 100, false, true},
    {"Min_lv", &PanelJob::Min_lv, 100.0001, false, false},
    {"Min_lv", &PanelJob::Min_lv, 1e9, false, false},
    {"Set_L", &PanelJob::Set_L, std::numeric_limits<double>::infinity(), true, false},
    {"Min_lv", &PanelJob::Min_lv, std::numeric_limits<double>::quiet_NaN(), false, false},
};

TEST(InputDomain, EveryBoundJustInsideAndJustOutsideInInchesAndMillimetres) {
    for (DisplayUnit unit : {DisplayUnit::Inch, DisplayUnit::Millimetre}) {
        const double f = UnitFactor(unit);
        for (const Bound& b : kBounds) {
            PanelJob job = WideJob(f);
            job.*b.member = b.length ? b.value * f : b.value;
            const std::string e = PanelJobDomainError(job, unit);
            SCOPED_TRACE(std::string(b.field) + " = " + std::to_string(job.*b.member) +
                         (f == 1 ? " in" : " mm"));
            if (b.inside) {
                EXPECT_EQ(e, "");
            } else {
                EXPECT_EQ(e.rfind(b.field, 0), 0u) << e; // names the field first
                if (std::isfinite(job.*b.member)) {
                    EXPECT_NE(e.find("allowed"), std::string::npos) << e;
                }
            }
        }
    }
}

TEST(InputDomain, BoundsTypedInMillimetresAreInside) {
    // What a user types, not 0.001 * 25.4 computed.
    EXPECT_EQ(FieldRangeError("Set_W", 0.0254, FieldKind::Side, DisplayUnit::Millimetre), "");
    EXPECT_EQ(FieldRangeError("Set_L", 254000, FieldKind::Side, DisplayUnit::Millimetre), "");
    EXPECT_EQ(FieldRangeError("Set_W", 0.0253, FieldKind::Side, DisplayUnit::Millimetre),
              "Set_W = 0.0253 is outside the allowed range 0.0254 to 254000 mm");
    EXPECT_EQ(FieldRangeError("BorderX_L", -5, FieldKind::Length, DisplayUnit::Inch),
              "BorderX_L = -5 is outside the allowed range 0 to 10000 in");
}

// The problem as data, for a text in another language: the kind, where the
// value comes from, the field, the value and its range in the unit shown.
TEST(InputDomain, ProblemsCarryTheFieldValueAndRange) {
    using Kind = DomainProblem::Kind;
    using Source = DomainProblem::Source;
    struct Case {
        const char* name;
        DomainProblem problem;
        Kind kind;
        Source source;
        const char* field;
        double value, low, high;
        const char* unit;
    };
    GivenPanelJob panel;
    panel.Set_L = 4 * 25.4;
    panel.Set_W = 3 * 25.4;
    panel.Panel_L = 0.0127;
    panel.Panel_W = 500;
    panel.sheets = kSheets;
    PanelJob badSheet = WideJob(1);
    badSheet.sheets = {{48, 1e6}};
    PanelJob badPreset = WideJob(1);
    badPreset.AUTOPanel = false;
    badPreset.presets = {{24, -1}, {1e-9, 20}};
    PanelJob ratio = WideJob(1);
    ratio.PLPW_ratio = 0.5;
    PanelJob lv = WideJob(1);
    lv.Min_lv = 120;
    const Case cases[] = {
        {"typed panel in mm", GivenPanelDomainProblem(panel, DisplayUnit::Millimetre),
         Kind::OutOfRange, Source::Job, "Panel_L", 0.0127, 0.0254, 254000, "mm"},
        {"sheet", PanelJobDomainProblem(badSheet, DisplayUnit::Inch), Kind::OutOfRange,
         Source::Sheet, "Base_W", 1e6, 0.001, 10000, "in"},
        {"preset", PanelJobDomainProblem(badPreset, DisplayUnit::Inch), Kind::OutOfRange,
         Source::Preset, "Panel_L", 1e-9, 0.001, 10000, "in"},
        {"ratio", PanelJobDomainProblem(ratio, DisplayUnit::Inch), Kind::BelowMinimum, Source::Job,
         "PLPW_ratio", 0.5, 1, 0, ""},
        {"utilization", PanelJobDomainProblem(lv, DisplayUnit::Millimetre), Kind::OutOfRange,
         Source::Job, "Min_lv", 120, 0, 100, "%"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DomainProblem& p = c.problem;
        EXPECT_EQ(p.kind, c.kind);
        EXPECT_EQ(p.source, c.source);
        EXPECT_EQ(p.field, c.field);
        EXPECT_DOUBLE_EQ(p.value, c.value);
        EXPECT_DOUBLE_EQ(p.low, c.low);
        EXPECT_DOUBLE_EQ(p.high, c.high);
        EXPECT_EQ(p.unit, c.unit);
    }
    EXPECT_EQ(DomainText(cases[1].problem),
              "sheet Base_W = 1000000 is outside the allowed range 0.001 to 10000 in");

    // The crowds: how many along a side and the bound.
    ArrayJob a{1, 0.5, 0, 0, 0, 0, 0, 10000, 10000};
    const DomainProblem units = ArrayJobDomainProblem(a, DisplayUnit::Inch);
    EXPECT_EQ(units.kind, Kind::TooManyAlongSide);
    EXPECT_EQ(units.crowd, DomainProblem::Crowd::ArrayLimits);
    EXPECT_EQ(units.field, "Max_SetL, Max_SetW");
    EXPECT_EQ(units.count, 20000);
    EXPECT_EQ(units.limit, kMaxPiecesAlongSide);
    EXPECT_EQ(DomainText(units), "Max_SetL, Max_SetW: the array limits allow too many units "
                                 "along a side (20000; at most 2000): the search could not finish "
                                 "in reasonable time");
    EXPECT_FALSE(PanelJobDomainProblem(WideJob(1), DisplayUnit::Inch));
}

// A search is refused for its cost only for boards under 5 mm whose
// estimate passes 30 s or 2 GB, and never where it would answer at once; the
// limits the refusal suggests are accepted.
TEST(InputDomain, SmallBoardsAreRefusedOnlyWhenTheSearchCouldNotFinish) {
    struct Case {
        const char* name;
        double L, W, C; // inches
        const char* kinds;
        double minPL;
        bool refused;
    };
    const Case cases[] = {
        {"3.5 mm, V-scored, one kind", 0.2, 0.139, 0, "1", 0, true},
        {"3.8 mm, narrow gap, two kinds", 0.2, 0.15, 0.02, "2", 0, true},
        {"the same, no sheet holds the minimum panel", 0.2, 0.15, 0.02, "2", 60, false},
        {"6 mm, routed, two kinds", 0.35, 0.24, 0.1, "2", 0, false},
        {"13 mm, routed, two kinds", 0.75, 0.52, 0.1, "2", 0, false},
        {"2.5 mm square, one kind", 0.1, 0.1, 0, "1", 0, false},
    };
    for (const Case& c : cases) {
        for (const DisplayUnit unit : {DisplayUnit::Inch, DisplayUnit::Millimetre}) {
            SCOPED_TRACE(testing::Message() << c.name << ", unit " << int(unit));
            const double f = UnitFactor(unit);
            PanelJob job = WideJob(f);
            job.Set_L = c.L * f;
            job.Set_W = c.W * f;
            job.Set_C = c.C * f;
            job.BorderX_L = job.BorderX_W = 0.4 * f;
            job.Min_PL = job.Min_PW = c.minPL * f;
            job.Max_PL = job.Max_PW = 24 * f;
            job.PLPW_ratio = 3;
            job.PanelNumber = c.kinds;
            job.AUTOPanel = true;
            const DomainProblem p = PanelJobDomainProblem(job, unit);
            ASSERT_EQ(p.kind == DomainProblem::Kind::TooMuchSearchWork, c.refused) << DomainText(p);
            if (!c.refused)
                continue;
            EXPECT_GT(p.count, kMaxSearchSeconds);
            EXPECT_EQ(p.limit, kMaxSearchSeconds);
            EXPECT_EQ(p.high, kMaxSearchMegabytes);
            const std::string text = DomainText(p);
            EXPECT_NE(text.find("Max_PL = "), std::string::npos) << text;
            ASSERT_GT(p.low, 0);
            PanelJob suggested = job;
            suggested.Max_PL = p.alongLength;
            suggested.Max_PW = p.alongWidth;
            EXPECT_FALSE(PanelJobDomainProblem(suggested, unit)) << DomainText(p);
            EXPECT_LT(p.alongLength, job.Max_PL);
        }
    }
}

TEST(InputDomain, TooManyBoardsAlongASideIsRefusedWithTheReason) {
    PanelJob job = WideJob(1);
    job.Set_L = 4;
    job.Set_W = 2;
    job.Max_PL = 10000; // about 4760 boards of 2 + 0.1 along it
    // One panel kind walks no further than a board cell beyond the sheets
    // (49 in): accepted.
    EXPECT_EQ(PanelJobDomainError(job, DisplayUnit::Inch), "");
    job.PanelNumber = "2"; // two kinds walk to the limits
    const std::string e = PanelJobDomainError(job, DisplayUnit::Inch);
    EXPECT_NE(e.find("too many boards along a side"), std::string::npos) << e;
    EXPECT_NE(e.find("reasonable time"), std::string::npos) << e;
    job.PanelNumber = "1";
    job.Max_PL = 24;
    job.Set_W = 0.01; // 24 / 0.11: fine
    EXPECT_EQ(PanelJobDomainError(job, DisplayUnit::Inch), "");
    // The smallest real board the searches are built for is accepted; a
    // limit far above the sheets with a wide board is not.
    PanelJob tiny = WideJob(1);
    tiny.Set_L = tiny.Set_W = 0.1;
    tiny.Set_C = 0;
    tiny.BorderX_L = tiny.BorderX_W = 0.6;
    tiny.Max_PL = 24.5;
    tiny.Max_PW = 20.5;
    EXPECT_EQ(PanelJobDomainError(tiny, DisplayUnit::Inch), "");
    PanelJob tall = WideJob(1);
    tall.Set_L = 7.1566;
    tall.Set_W = 5.78402;
    tall.Max_PL = 15.6871;
    tall.Max_PW = 10000;
    // Thin limits of 2 x 1649 boards finish in seconds and pass; a square job
    // of 0.03 in boards (776 x 643) would run for more than 30 s.
    EXPECT_EQ(PanelJobDomainError(tall, DisplayUnit::Inch), "");
    PanelJob dust = tiny;
    dust.Set_L = dust.Set_W = 0.03;
    EXPECT_NE(PanelJobDomainError(dust, DisplayUnit::Inch).find("would take about"),
              std::string::npos);
    // Tiny panels on a sheet.
    job.Set_W = 0.001;
    job.Set_C = 0;
    job.BorderX_L = job.BorderX_W = 0;
    job.Max_PL = job.Max_PW = 0.01;
    EXPECT_NE(PanelJobDomainError(job, DisplayUnit::Inch).find("too many panels"),
              std::string::npos);
    // Presets: a preset of 1e-9 is no real size.
    PanelJob presets = WideJob(1);
    presets.AUTOPanel = false;
    presets.presets = {{1e-9, 1e-9}};
    EXPECT_EQ(PanelJobDomainError(presets, DisplayUnit::Inch).rfind("preset Panel_L", 0), 0u);
    // Arrays.
    ArrayJob a{1, 0.5, 0, 0, 0, 0, 0, 10000, 10000};
    EXPECT_NE(ArrayJobDomainError(a, DisplayUnit::Inch).find("too many units"), std::string::npos);
    a.Max_SetL = a.Max_SetW = 10;
    EXPECT_EQ(ArrayJobDomainError(a, DisplayUnit::Inch), "");
    a.Part_C = -1;
    EXPECT_EQ(ArrayJobDomainError(a, DisplayUnit::Inch).rfind("Part_C", 0), 0u);
}

// A typed panel or array: every value in its range, and no layout with more
// pieces along a side than the bound, in inches and in millimetres.
TEST(InputDomain, TypedPanelsAndArrays) {
    struct Case {
        const char* name;
        double boardL, boardW, gap, margin, panelL, panelW;
        const char* error; // start of the message; "" when accepted
    };
    const Case cases[] = {
        {"a real panel", 4, 3, 0.1, 0.5, 24, 20, ""},
        {"panel at the largest side", 8, 6, 0, 0, 10000, 20, ""},
        {"panel past the largest side", 8, 6, 0, 0, 10000.01, 20, "Panel_L"},
        {"negative gap", 4, 3, -1, 0.5, 24, 20, "Set_C"},
        {"board below the smallest side", 0.0005, 3, 0, 0.5, 24, 20, "Set_L"},
        {"too many boards along a side", 0.01, 0.01, 0, 0, 24, 20, "Panel_L, Panel_W"},
        {"a panel too small for the sheets", 0.01, 0.01, 0, 0, 0.02, 0.02, "sheets"},
        {"not a number", 4, 3, std::nan(""), 0.5, 24, 20, "Set_C"},
    };
    for (const DisplayUnit unit : {DisplayUnit::Inch, DisplayUnit::Millimetre}) {
        const double f = UnitFactor(unit);
        for (const Case& c : cases) {
            GivenPanelJob panel;
            panel.Set_L = c.boardL * f;
            panel.Set_W = c.boardW * f;
            panel.Set_C = c.gap * f;
            panel.BorderX_L = panel.BorderX_W = c.margin * f;
            panel.Panel_L = c.panelL * f;
            panel.Panel_W = c.panelW * f;
            panel.sheets = kSheets;
            const std::string e = GivenPanelDomainError(panel, unit);
            EXPECT_EQ(e.rfind(c.error, 0), 0u) << c.name << " (" << f << "): " << e;
            EXPECT_EQ(e.empty(), *c.error == 0) << c.name << " (" << f << "): " << e;

            const GivenArrayJob array{c.boardL * f, c.boardW * f, c.gap * f,   c.margin * f,
                                      c.margin * f, c.panelL * f, c.panelW * f};
            const std::string ae = GivenArrayDomainError(array, unit);
            EXPECT_EQ(ae.empty(), *c.error == 0 || std::string(c.error) == "sheets")
                << c.name << " (array, " << f << "): " << ae;
        }
    }
}

TEST(InputDomain, RefusedJobsNeverReachTheSearch) {
    PanelJob job = WideJob(1);
    job.Set_L = 1e9;
    CollectedRows sink;
    NoProgress progress;
    EXPECT_THROW(RunPanelSearch(job, DisplayUnit::Inch, sink, progress), std::invalid_argument);
    ArrayJob a{1e-320, 0.5, 0, 0, 0, 0, 0, 10, 10};
    CollectedArrays arrays;
    EXPECT_THROW(RunArraySearch(a, DisplayUnit::Inch, arrays, progress), std::invalid_argument);
}

// A limit above anything the job could need gives the rows of a large one.
TEST(InputDomain, AnyRatioAboveTheNeedGivesTheSameRows) {
    PanelJob job = WideJob(1);
    job.Set_L = 4;
    job.Set_W = 2;
    job.BothPanel = job.BothBase = true;
    auto rows = [&](double ratio) {
        job.PLPW_ratio = ratio;
        CollectedRows sink;
        NoProgress progress;
        RunPanelSearch(job, DisplayUnit::Inch, sink, progress);
        SortAndNumber(sink.rows);
        return sink.rows;
    };
    const auto large = rows(1000);
    ASSERT_FALSE(large.empty());
    for (double ratio : {1e7, 1e9, 1e300}) {
        const auto r = rows(ratio);
        ASSERT_EQ(r.size(), large.size()) << ratio;
        for (std::size_t i = 0; i < r.size(); ++i)
            EXPECT_EQ(r[i].Base_lv, large[i].Base_lv) << ratio << " row " << i;
    }
}

// The tolerant comparison and the counts over the whole domain: the largest
// length in millimetres and the smallest side, in both units.
TEST(InputDomain, ArithmeticIsSafeAtTheBounds) {
    for (double f : {1.0, kMillimetresPerInch}) {
        const double big = kMaxLength * f, small = kMinSide * f;
        EXPECT_GT(TolKey(big), 0);
        EXPECT_TRUE(TolLt(big - small, big));
        EXPECT_TRUE(TolEq(big, big + 1e-12 * f));
        EXPECT_EQ(CeilTol(big / f), 10000);
        // Pieces of the smallest side along the largest run: ten million.
        const int n = CountFit(big, small, 0);
        EXPECT_NEAR(n, kMaxLength / kMinSide, 1);
        // The most pieces along a side the domain lets a layout hold, mixed.
        const double piece = kMaxLength / kMaxPiecesAlongSide * f;
        const Layout lay = LayoutPieces(true, piece, piece, 0, 0, 0, big, big);
        EXPECT_EQ(lay.Pieces(), std::int64_t{kMaxPiecesAlongSide} * kMaxPiecesAlongSide);
        const Margins m = ActualMargins(lay, piece, piece, 0, big, big);
        EXPECT_TRUE(std::isfinite(m.mL) && std::isfinite(m.mW));
    }
}

std::string Read(const std::string& text, PanelJob& job) {
    std::istringstream in(text);
    return ReadPanelJob(in, job);
}

const char* const kJob = "Set_L=4\nSet_W=2\nSet_C=0.1\nBorderX_L=0.5\nBorderX_W=0.5\nMin_PL=8\n"
                         "Min_PW=8\nMax_PL=24\nMax_PW=21\nPLPW_ratio=2.5\nMin_lv=0\n"
                         "Sheet=48x36\n";

std::string Replace(std::string s, const std::string& from, const std::string& to) {
    for (std::size_t i = s.find(from); i != std::string::npos; i = s.find(from, i + to.size()))
        s.replace(i, from.size(), to);
    return s;
}

TEST(JobFile, LineEndsAndByteOrderMark) {
    PanelJob plain;
    ASSERT_EQ(Read(kJob, plain), "");
    for (const std::string& text :
         {"\xEF\xBB\xBF" + std::string(kJob), Replace(kJob, "\n", "\r\n"),
          Replace(kJob, "\n", "\r"), "\xEF\xBB\xBF" + Replace(kJob, "\n", "\r")}) {
        PanelJob job;
        EXPECT_EQ(Read(text, job), "");
        EXPECT_EQ(job.Max_PW, plain.Max_PW);
        EXPECT_EQ(job.sheets.size(), 1u);
    }
    // Line numbers count CR LF as one line end.
    PanelJob job;
    EXPECT_EQ(Read(Replace(Replace(kJob, "Set_C=0.1", "Set_C=x"), "\n", "\r\n"), job),
              "line 3: Set_C is not a number: 'x'");
    EXPECT_EQ(Read(Replace(Replace(kJob, "Set_C=0.1", "Set_C=x"), "\n", "\r"), job),
              "line 3: Set_C is not a number: 'x'");
}

TEST(JobFile, ControlCharactersAreShownAsEscapes) {
    PanelJob job;
    EXPECT_EQ(Read(Replace(kJob, "Set_C=0.1",
                           std::string("Set_C=0.\0"
                                       "1\x1b",
                                       11)),
                   job),
              "line 3: Set_C is not a number: '0.\\x001\\x1B'");
    EXPECT_EQ(Read(Replace(kJob, "Set_C=0.1", "Set_C 0.1\t\x7f"), job),
              "line 3: expected Name=Value, got 'Set_C 0.1\\t\\x7F'");
}

TEST(JobFile, PanelNumberIsOneOrTwo) {
    for (const char* bad : {"0", "3", "abc", "1.0"}) {
        PanelJob job;
        EXPECT_EQ(Read(std::string(kJob) + "PanelNumber=" + bad + "\n", job),
                  std::string("line 13: PanelNumber must be 1 or 2: '") + bad + "'");
    }
    for (const char* good : {"1", "2"}) {
        PanelJob job;
        EXPECT_EQ(Read(std::string(kJob) + "PanelNumber=" + good + "\n", job), "");
        EXPECT_EQ(job.PanelNumber, good);
    }
    PanelJob absent;
    EXPECT_EQ(Read(kJob, absent), "");
    EXPECT_EQ(absent.PanelNumber, "1");
}

TEST(JobFile, FlagsAreTrueOrFalseInAnyCase) {
    const struct {
        const char* text;
        bool on;
    } good[] = {{"True", true},   {"true", true},   {"TRUE", true},  {"tRuE", true},
                {"False", false}, {"false", false}, {"FALSE", false}};
    for (const auto& c : good) {
        PanelJob job;
        EXPECT_EQ(Read(std::string(kJob) + "AUTOPanel=" + c.text + "\n", job), "") << c.text;
        EXPECT_EQ(job.AUTOPanel, c.on) << c.text;
    }
    for (const char* bad : {"1", "0", "yes", "ture", "", "True."}) {
        PanelJob job;
        job.Set_L = 99;
        EXPECT_EQ(Read(std::string(kJob) + "AUTOPanel=" + bad + "\n", job),
                  std::string("line 13: AUTOPanel must be True or False: '") + bad + "'");
        EXPECT_EQ(job.Set_L, 99) << "a refused file leaves the job as it was";
    }
}

TEST(JobFile, RepeatedAndUnknownNamesAreRefusedNamingTheLine) {
    const struct {
        std::string text, error;
    } cases[] = {
        {std::string(kJob) + "set_c=0.2\n", "line 13: set_c is given twice (also on line 3)"},
        {std::string(kJob) + "GoodBase=True\nGOODBASE=False\n",
         "line 14: GOODBASE is given twice (also on line 13)"},
        {std::string(kJob) + "Unit=mm\n", "line 13: unknown name 'Unit'"},
        // A misspelt required name is reported as what it is, not as missing.
        {Replace(kJob, "Max_PW=21", "MaxPW=21"), "line 9: unknown name 'MaxPW'"},
        {Replace(kJob, "Max_PW=21", "MaxPW=x"), "line 9: unknown name 'MaxPW'"},
        // A malformed known value is reported before an unknown name after it.
        {Replace(kJob, "Set_C=0.1", "Set_C=x") + "Unit=mm\n", "line 3: Set_C is not a number: 'x'"},
        // Without a misspelling, a missing value is still named.
        {Replace(kJob, "Max_PW=21\n", ""), "missing value: Max_PW"},
        // The list names may repeat.
        {std::string(kJob) + "Sheet=48x40\nPreset=20x12\nPreset=18x12\n", ""},
    };
    for (const auto& c : cases) {
        PanelJob job;
        EXPECT_EQ(Read(c.text, job), c.error) << c.text;
    }
    // Sheets and presets are not part of an array job.
    const std::string array = "Part_L=1\nPart_W=0.8\nPart_C=0.1\nSetBorder_L=0.2\n"
                              "SetBorder_W=0.2\nMin_SetL=2\nMin_SetW=1.5\nMax_SetL=4\nMax_SetW=3\n";
    for (const auto& [text, error] :
         {std::pair<std::string, std::string>{array, ""},
          {array + "Sheet=48x36\n", "line 10: unknown name 'Sheet'"},
          {array + "Set_L=4\n", "line 10: unknown name 'Set_L'"},
          {array + "Part_C=0\n", "line 10: Part_C is given twice (also on line 3)"}}) {
        std::istringstream in(text);
        ArrayJob job;
        EXPECT_EQ(ReadArrayJob(in, job), error) << text;
    }
}

} // namespace
