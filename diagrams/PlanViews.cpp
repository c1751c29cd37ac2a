#include "PlanViews.h"

namespace vorn {

namespace {

int Count(const PlanFields& p, const char* column) {
    return static_cast<int>(p.number(column));
}

} // namespace

LayoutDrawing LayoutArgsOf(DiagramView view, const PlanFields& p) {
    LayoutDrawing a;
    switch (view) {
    case DiagramView::Panel1:
    case DiagramView::Panel2: {
        const bool two = view == DiagramView::Panel2;
        a.Kind = QStringLiteral("Panel");
        a.PieceL = p.number("Set_L");
        a.PieceW = p.number("Set_W");
        a.Spacing = p.number("Set_C");
        a.ContainerL = p.number(two ? "Panel_L2" : "Panel_L");
        a.ContainerW = p.number(two ? "Panel_W2" : "Panel_W");
        a.MarginL = p.number(two ? "Border_L2" : "Border_L");
        a.MarginW = p.number(two ? "Border_W2" : "Border_W");
        a.La = Count(p, two ? "Set_La2" : "Set_La");
        a.Wb = Count(p, two ? "Set_Wb2" : "Set_Wb");
        a.Lb = Count(p, two ? "Set_Lb2" : "Set_Lb");
        a.Wa = Count(p, two ? "Set_Wa2" : "Set_Wa");
        a.sLa = Count(p, two ? "Set_sLa2" : "Set_sLa");
        a.sWb = Count(p, two ? "Set_sWb2" : "Set_sWb");
        a.Pattern = p.text(two ? "Up2" : "Up");
        break;
    }
    case DiagramView::Cutting:
        a.Kind = QStringLiteral("Base");
        a.PieceL = p.number("Panel_L");
        a.PieceW = p.number("Panel_W");
        a.ContainerL = p.number("Base_L");
        a.ContainerW = p.number("Base_W");
        a.La = Count(p, "P_La");
        a.Wb = Count(p, "P_Wb");
        a.Lb = Count(p, "P_Lb");
        a.Wa = Count(p, "P_Wa");
        a.sLa = Count(p, "P_sLa");
        a.sWb = Count(p, "P_sWb");
        a.Pattern = p.text("P_up");
        break;
    case DiagramView::Array:
        a.Kind = QStringLiteral("Panel");
        a.PieceL = p.number("Part_L");
        a.PieceW = p.number("Part_W");
        a.Spacing = p.number("Part_C");
        a.ContainerL = p.number("Set_L");
        a.ContainerW = p.number("Set_W");
        a.MarginL = p.number("SetBorder_L");
        a.MarginW = p.number("SetBorder_W");
        a.La = Count(p, "Part_La");
        a.Wb = Count(p, "Part_Wb");
        a.Lb = Count(p, "Part_Lb");
        a.Wa = Count(p, "Part_Wa");
        a.Pattern = QStringLiteral("N");
        break;
    }
    return a;
}

TwoPanelCutting TwoPanelCuttingArgsOf(const PlanFields& p) {
    TwoPanelCutting a;
    a.SheetL = p.number("Base_L");
    a.SheetW = p.number("Base_W");
    a.P1L = p.number("Panel_L");
    a.P1W = p.number("Panel_W");
    a.P2L = p.number("Panel_L2");
    a.P2W = p.number("Panel_W2");
    a.La1 = Count(p, "P_La");
    a.Wb1 = Count(p, "P_Wb");
    a.Lb1 = Count(p, "P_Lb");
    a.Wa1 = Count(p, "P_Wa");
    a.La2 = Count(p, "P_La2");
    a.Wb2 = Count(p, "P_Wb2");
    a.Lb2 = Count(p, "P_Lb2");
    a.Wa2 = Count(p, "P_Wa2");
    a.Pattern = p.text("P_up");
    return a;
}

QString ToolingTypeOf(DiagramView view) {
    switch (view) {
    case DiagramView::Panel1:
        return QStringLiteral("Panel1");
    case DiagramView::Panel2:
        return QStringLiteral("Panel2");
    case DiagramView::Array:
        return QStringLiteral("Array");
    case DiagramView::Cutting:
        break;
    }
    return {};
}

} // namespace vorn
