#include "GivenPanel.h"

#include "Layout.h"
#include "PackedLayouts.h"
#include "Tolerance.h"

#include <algorithm>
#include <utility>

namespace vorn {

namespace {

void Normalise(double& l, double& w) {
    if (l < w)
        std::swap(l, w);
}

// The best packing of the typed panel where it places more boards than the
// block layout's `routine`; empty otherwise. Lengths in the display unit, as
// typed, so that millimetres stay whole numbers for the solver.
std::vector<Placement> BetterBoards(const GivenPanelJob& job, std::int64_t routine) {
    // Beyond the blocks every layout mixes the boards' orientation.
    if (!job.BothPanel)
        return {};
    return BetterLayout(job.packing,
                        {job.Set_L, job.Set_W, job.Set_C, job.BorderX_L, job.BorderX_W},
                        std::max(job.Panel_L, job.Panel_W), std::min(job.Panel_L, job.Panel_W),
                        routine, kTypedPanelPackSteps);
}

} // namespace

GivenPanelJob GivenPanelOf(const PanelJob& job, double PL, double PW) {
    GivenPanelJob in;
    in.Set_L = job.Set_L;
    in.Set_W = job.Set_W;
    in.Set_C = job.Set_C;
    in.BorderX_L = job.BorderX_L;
    in.BorderX_W = job.BorderX_W;
    in.Panel_L = PL;
    in.Panel_W = PW;
    in.BothPanel = job.BothPanel;
    in.BothBase = job.BothBase;
    in.sheets = job.sheets;
    in.packing = job.packing;
    return in;
}

std::string GivenPanelRefusal(const GivenPanelJob& job) {
    if (job.Set_L == 0 || job.Set_W == 0)
        return "   请给出适当的\"成品尺寸\" ！   ";
    if (job.Panel_L == 0 || job.Panel_W == 0)
        return "   请给出适当的\"Panel尺寸\" ！   ";
    if (job.sheets.empty())
        return "   请选定有效板材！！   ";
    return {};
}

ResultRow PanelizeGivenPanel(const GivenPanelJob& job, DisplayUnit unit) {
    const double f = UnitFactor(unit);
    double L = job.Set_L / f, W = job.Set_W / f;
    Normalise(L, W);
    const double C = job.Set_C / f;
    const double BXL = job.BorderX_L / f, BXW = job.BorderX_W / f;
    double PL = job.Panel_L / f, PW = job.Panel_W / f;
    Normalise(PL, PW);

    ResultRow r;
    r.Number = 1;
    const Layout boards = LayoutPieces(job.BothPanel, L, W, C, BXL, BXW, PL, PW);
    r.Set_La = boards.a1;
    r.Set_Wb = boards.a2;
    r.Set_Lb = boards.b1;
    r.Set_Wa = boards.b2;
    r.Set_sLa = boards.c1;
    r.Set_sWb = boards.c2;
    r.Up = boards.pattern;
    r.Panel = int(boards.Pieces());
    r.Panel_lv = r.Panel * (L * W) * 100 / (PL * PW);
    r.Set_L = L * f;
    r.Set_W = W * f;
    r.Set_C = C * f;
    r.Panel_L = PL * f;
    r.Panel_W = PW * f;
    const Margins m = ActualMargins(boards, L, W, C, PL, PW);
    r.Border_L = m.mL * f;
    r.Border_W = m.mW * f;
    if (const std::vector<Placement> better = BetterBoards(job, boards.Pieces()); !better.empty()) {
        TakePackedBoards(r, better);
        r.Panel = int(better.size());
        r.Panel_lv = r.Panel * (L * W) * 100 / (PL * PW);
    }

    // The enabled sheet with the most panels per sheet area; the first wins ties.
    bool taken = false;
    long double best = 0;
    for (const SheetSize& s : job.sheets) {
        double SL = s.Base_L, SW = s.Base_W;
        if (TolKey(SL) < TolKey(SW))
            std::swap(SL, SW);
        const Layout cut = LayoutPieces(job.BothBase, PL, PW, 0, 0, 0, SL, SW);
        const std::int64_t n = cut.Pieces();
        // A sheet without area holds nothing (and divides nothing).
        const long double area = static_cast<long double>(SL) * SW;
        const long double density = area > 0 ? static_cast<long double>(n) * 1e10L / area : 0;
        if (taken && !(density > best))
            continue;
        taken = true;
        best = density;
        r.P_La = cut.a1;
        r.P_Wb = cut.a2;
        r.P_Lb = cut.b1;
        r.P_Wa = cut.b2;
        r.P_sLa = cut.c1;
        r.P_sWb = cut.c2;
        r.P_up = cut.pattern;
        r.Panel_N = int(n);
        r.Base_L = SL;
        r.Base_W = SW;
        r.Base_lv = SL * SW > 0 ? r.Panel * (r.Set_L * r.Set_W) * double(n) * 100 / (SL * SW) : 0;
    }
    if (unit == DisplayUnit::Millimetre) {
        // The board area was in square millimetres, the sheet's in square inches.
        r.Base_lv = r.Base_lv / kMillimetresPerInch / kMillimetresPerInch;
        r.Base_L *= kMillimetresPerInch;
        r.Base_W *= kMillimetresPerInch;
    }
    r.Base_down = r.Base_lv != 0 ? 100 / r.Base_lv : 0;
    r.Panel_down = r.Panel_lv != 0 ? 100 / r.Panel_lv : 0;
    return r;
}

std::string GivenArrayRefusal(const GivenArrayJob& job) {
    if (job.Part_L == 0 || job.Part_W == 0)
        return "   请给出适当的\"单元尺寸\" ！   ";
    if (job.Set_L == 0 || job.Set_W == 0)
        return "   请给出适当的\"Arrey尺寸\" ！   ";
    return {};
}

ArrayRow PanelizeGivenArray(const GivenArrayJob& job, DisplayUnit unit) {
    const double f = UnitFactor(unit);
    double L = job.Part_L / f, W = job.Part_W / f;
    Normalise(L, W);
    const double C = job.Part_C / f;
    const double BL = job.SetBorder_L / f, BW = job.SetBorder_W / f;
    double AL = job.Set_L / f, AW = job.Set_W / f;
    Normalise(AL, AW);

    const Layout units = LayoutPieces(false, L, W, C, BL, BW, AL, AW);
    ArrayRow r;
    r.Number = 1;
    r.Part_L = L * f;
    r.Part_W = W * f;
    r.Part_C = C * f;
    r.SetBorder_L = job.SetBorder_L;
    r.SetBorder_W = job.SetBorder_W;
    const int a1 = units.a1, a2 = units.a2, b1 = units.b1, b2 = units.b2;
    if (a1 * a2 > 0) {
        r.SetBorder_L = (AL - a1 * L - (a1 - 1) * C) / 2 * f;
        r.SetBorder_W = (AW - a2 * W - (a2 - 1) * C) / 2 * f;
    } else if (b1 * b2 > 0) {
        r.SetBorder_L = (AL - b1 * W - (b1 - 1) * C) / 2 * f;
        r.SetBorder_W = (AW - b2 * L - (b2 - 1) * C) / 2 * f;
    }
    r.Set_L = AL * f;
    r.Set_W = AW * f;
    r.Part_La = a1;
    r.Part_Wb = a2;
    r.Part_Lb = b1;
    r.Part_Wa = b2;
    r.Panel = a1 * a2 + b1 * b2;
    r.Panel_lv = L * 100 * W * r.Panel / (AL * AW);
    r.Panel_Down = r.Panel_lv != 0 ? 100 / r.Panel_lv : 0;
    return r;
}

bool ShrinkToMinimumBorders(PanelBorders& p, double Set_L, double Set_W, double BorderX_L,
                            double BorderX_W) {
    PanelBorders n = p;
    bool changed = false;
    if (TolGt(n.Border_L, BorderX_L)) {
        n.Panel_L = n.Panel_L - 2 * n.Border_L + 2 * BorderX_L;
        n.Border_L = BorderX_L;
        changed = true;
    }
    if (TolGt(n.Border_W, BorderX_W)) {
        n.Panel_W = n.Panel_W - 2 * n.Border_W + 2 * BorderX_W;
        n.Border_W = BorderX_W;
        changed = true;
    }
    // A panel that would vanish (no boards on it) is left as it is.
    if (!changed || !(n.Panel_L > 0) || !(n.Panel_W > 0))
        return false;
    n.Panel_lv = n.count * (Set_L * Set_W) * 100 / (n.Panel_L * n.Panel_W);
    p = n;
    return true;
}

bool MinimizeBorders(ResultRow& row, double BorderX_L, double BorderX_W) {
    PanelBorders one{row.Panel_L,  row.Panel_W,       row.Border_L,
                     row.Border_W, double(row.Panel), row.Panel_lv};
    bool changed = false;
    if (ShrinkToMinimumBorders(one, row.Set_L, row.Set_W, BorderX_L, BorderX_W)) {
        row.Panel_L = one.Panel_L;
        row.Panel_W = one.Panel_W;
        row.Border_L = one.Border_L;
        row.Border_W = one.Border_W;
        row.Panel_lv = one.Panel_lv;
        changed = true;
    }
    if (row.second) {
        SecondPanel& s = *row.second;
        PanelBorders two{s.Panel_L2,  s.Panel_W2,       s.Border_L2,
                         s.Border_W2, double(s.Panel2), s.Panel_lv2};
        if (ShrinkToMinimumBorders(two, row.Set_L, row.Set_W, BorderX_L, BorderX_W)) {
            s.Panel_L2 = two.Panel_L;
            s.Panel_W2 = two.Panel_W;
            s.Border_L2 = two.Border_L;
            s.Border_W2 = two.Border_W;
            s.Panel_lv2 = two.Panel_lv;
            changed = true;
        }
    }
    return changed;
}

} // namespace vorn
