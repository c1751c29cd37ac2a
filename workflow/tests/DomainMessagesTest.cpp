// The window's words for every refusal the input domain can make: each kind
// and each crowd, taken from the engine's own checks.

#include "DomainMessages.h"

#include "GivenPanel.h"
#include "VornTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vorn;

namespace {

const std::vector<SheetSize> kSheets = {{48, 36}, {49, 43}};

PanelJob Job() {
    PanelJob j;
    j.Set_L = 4;
    j.Set_W = 3;
    j.Set_C = 0.1;
    j.BorderX_L = j.BorderX_W = 0.5;
    j.Min_PL = 12;
    j.Min_PW = 10;
    j.Max_PL = 24;
    j.Max_PW = 20;
    j.PLPW_ratio = 1.5;
    j.Min_lv = 70;
    j.sheets = kSheets;
    return j;
}

GivenPanelJob Typed(double board, double panelL, double panelW) {
    GivenPanelJob g;
    g.Set_L = g.Set_W = board;
    g.Panel_L = panelL;
    g.Panel_W = panelW;
    g.sheets = kSheets;
    return g;
}

} // namespace

TEST(DomainMessages, EveryRefusalIsChineseAndNamesItsFieldAndBound) {
    struct Case {
        const char* name;
        DomainProblem problem;
        const char* text; // the whole message, or a part of it when `whole` is false
        bool whole;
    };
    PanelJob ratio = Job();
    ratio.PLPW_ratio = 0.5;
    PanelJob kinds = Job();
    kinds.PanelNumber = "3";
    PanelJob nan = Job();
    nan.Set_C = std::nan("");
    PanelJob sheet = Job();
    sheet.sheets = {{48, 1e6}};
    PanelJob preset = Job();
    preset.AUTOPanel = false;
    preset.presets = {{1e-9, 20}};
    PanelJob limits = Job();
    limits.Set_W = 0.001;
    limits.Set_C = 0;
    limits.Max_PL = 10000;
    PanelJob presetCrowd = Job();
    presetCrowd.AUTOPanel = false;
    presetCrowd.Set_W = 0.001;
    presetCrowd.Set_C = 0;
    presetCrowd.presets = {{48, 40}};
    PanelJob dust = Job(); // 3.5 mm boards, V-scored, up to 24 in panels
    dust.Set_L = 0.2;
    dust.Set_W = 0.139;
    dust.Set_C = 0;
    dust.BorderX_L = dust.BorderX_W = 0.4;
    dust.Min_PL = dust.Min_PW = 0;
    dust.Max_PL = dust.Max_PW = 24;
    dust.PLPW_ratio = 3;
    const ArrayJob units{1, 0.5, 0, 0, 0, 0, 0, 10000, 10000};
    const GivenArrayJob typedArray{0.01, 0.01, 0, 0, 0, 24, 20};
    const Case cases[] = {
        {"typed panel", GivenPanelDomainProblem(Typed(4, 0.0005, 20), DisplayUnit::Inch),
         "Panel_L = 0.0005 超出允许范围 0.001 ~ 10000 in", true},
        {"millimetres",
         FieldRangeProblem("Set_W", 0.0253, FieldKind::Side, DisplayUnit::Millimetre),
         "Set_W = 0.0253 超出允许范围 0.0254 ~ 254000 mm", true},
        {"percent", FieldRangeProblem("Min_lv", 120, FieldKind::Percent, DisplayUnit::Inch),
         "Min_lv = 120 超出允许范围 0 ~ 100 %", true},
        {"ratio", PanelJobDomainProblem(ratio, DisplayUnit::Inch),
         "PLPW_ratio = 0.5 小于允许的最小值 1", true},
        {"panel kinds", PanelJobDomainProblem(kinds, DisplayUnit::Inch),
         "PanelNumber = '3' 只能是 1 或 2", true},
        {"not a number", PanelJobDomainProblem(nan, DisplayUnit::Inch), "Set_C 不是有效的数值",
         true},
        {"sheet row", PanelJobDomainProblem(sheet, DisplayUnit::Inch),
         "板材设定中的 Base_W = 1000000 超出允许范围 0.001 ~ 10000 in", true},
        {"preset row", PanelJobDomainProblem(preset, DisplayUnit::Inch),
         "Panel设定中的 Panel_L = 1e-09 超出允许范围 0.001 ~ 10000 in", true},
        {"panel limits", PanelJobDomainProblem(limits, DisplayUnit::Inch),
         "Max_PL, Max_PW：Panel尺寸上限内一边可排的成品板太多（", false},
        {"preset panels", PanelJobDomainProblem(presetCrowd, DisplayUnit::Inch),
         "Panel设定中的Panel一边可排的成品板太多（", false},
        {"sheets", GivenPanelDomainProblem(Typed(0.01, 0.02, 0.02), DisplayUnit::Inch),
         "板材一边可排的Panel太多（", false},
        {"array limits", ArrayJobDomainProblem(units, DisplayUnit::Inch),
         "Max_SetL, Max_SetW：Array尺寸上限内一边可排的单元太多（20000，最多 2000），"
         "无法在合理时间内算完",
         true},
        {"typed panel crowd", GivenPanelDomainProblem(Typed(0.01, 24, 20), DisplayUnit::Inch),
         "Panel_L, Panel_W：所给Panel一边可排的成品板太多（2400，最多 2000）", false},
        {"typed array crowd", GivenArrayDomainProblem(typedArray, DisplayUnit::Inch),
         "Set_L, Set_W：所给Array一边可排的单元太多（", false},
        {"layout", LayoutDomainProblem(0.01, 0.01, 0, 0, 0, 100, 100),
         "CL, CW：一边可排的件数太多（10000，最多 2000）", false},
        {"search cost", PanelJobDomainProblem(dust, DisplayUnit::Inch),
         "Max_PL, Max_PW：这么小的成品板在此Panel尺寸上限内搜索约需 ", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(c.problem);
        const QString message = DomainMessage(c.problem);
        const QString expected = QString::fromUtf8(c.text);
        if (c.whole)
            EXPECT_EQ(message.toStdString(), expected.toStdString());
        else
            EXPECT_TRUE(message.startsWith(expected)) << message.toStdString();
        EXPECT_TRUE(test::SpeaksChinese(message)) << message.toStdString();
    }
    // The cost refusal names the bounds and the limits that would do.
    const DomainProblem cost = PanelJobDomainProblem(dust, DisplayUnit::Inch);
    ASSERT_GT(cost.low, 0);
    EXPECT_TRUE(DomainMessage(cost).contains(
        QStringLiteral("（最多 30 秒、2000 MB）；改为 Max_PL = %1、Max_PW = %2 in 即可")
            .arg(cost.alongLength)
            .arg(cost.alongWidth)))
        << DomainMessage(cost).toStdString();
    EXPECT_TRUE(DomainMessage(DomainProblem{}).isEmpty());
}
