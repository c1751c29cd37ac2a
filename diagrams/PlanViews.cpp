#include "PlanViews.h"

#include <algorithm>
#include <cmath>

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

namespace {

char PatternLetter(const QString& pattern) {
    return pattern.size() == 1 ? pattern.at(0).toLatin1() : '?';
}

} // namespace

std::vector<Placement> PlacementsOf(const LayoutDrawing& a) {
    if (!a.Boards.empty())
        return a.Boards;
    BlockLayout b;
    b.layout = {a.La, a.Wb, a.Lb, a.Wa, a.sLa, a.sWb, PatternLetter(a.Pattern)};
    b.pieceL = a.PieceL;
    b.pieceW = a.PieceW;
    b.gap = a.Spacing;
    b.marginL = a.MarginL;
    b.marginW = a.MarginW;
    b.containerL = a.ContainerL;
    b.containerW = a.ContainerW;
    b.centred = a.Kind == QLatin1String("Panel");
    return PlaceBlocks(b);
}

TwoSizePlacements PlacementsOf(const TwoPanelCutting& a) {
    TwoSizeCut c;
    c.sheetL = a.SheetL;
    c.sheetW = a.SheetW;
    c.panel1L = a.P1L;
    c.panel1W = a.P1W;
    c.panel2L = a.P2L;
    c.panel2W = a.P2W;
    c.La1 = a.La1, c.Wb1 = a.Wb1, c.Lb1 = a.Lb1, c.Wa1 = a.Wa1;
    c.La2 = a.La2, c.Wb2 = a.Wb2, c.Lb2 = a.Lb2, c.Wa2 = a.Wa2;
    c.pattern = PatternLetter(a.Pattern);
    return PlaceTwoSizes(c);
}

std::vector<Placement> BoardsOfRow(const std::vector<Placement>& boards, const LayoutDrawing& a,
                                   double count) {
    const long long blocks = 1LL * a.La * a.Wb + 1LL * a.Lb * a.Wa + 1LL * a.sLa * a.sWb;
    if (boards.empty() || blocks != 0 || count != static_cast<double>(boards.size()))
        return {};
    const double tol = 1e-6 * (1 + std::max(a.ContainerL, a.ContainerW));
    const auto same = [tol](double u, double v) { return std::abs(u - v) <= tol; };
    double x0 = boards[0].x, y0 = boards[0].y;
    for (const Placement& p : boards) {
        if (!((same(p.length, a.PieceL) && same(p.width, a.PieceW)) ||
              (same(p.length, a.PieceW) && same(p.width, a.PieceL))))
            return {};
        x0 = std::min(x0, p.x);
        y0 = std::min(y0, p.y);
    }
    std::vector<Placement> out = boards;
    for (Placement& p : out) {
        p.x += a.MarginL - x0;
        p.y += a.MarginW - y0;
        if (p.x + p.length > a.ContainerL + tol || p.y + p.width > a.ContainerW + tol)
            return {};
    }
    return out;
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
