// DrawLayoutDiagram: the frame, overall and margin marks, fill, and the pieces
// of patterns "N", "L" and "W" with their marks, or boards placed one by one.

#include "DiagramGeometry.h"
#include "DiagramLimits.h"
#include "DiagramRoutines.h"

#include <cmath>

namespace vorn {
namespace {

constexpr int kFitMargin = 15;

struct LayoutContext {
    DrawingSurface& s;
    const Frame& f;
    const LayoutDrawing& a;
    bool panel; // kind "Panel": margins, spacing and centred mixed blocks

    int Px(double v) const { return Rnd(v * f.S); } // a length in whole pixels
};

// A down mark in the left band from y1 to y2 (ticks at X0 - 24 / X0 - 26).
void LeftDownMark(DrawingSurface& s, int X0, int y1, int y2) {
    s.Line(X0 - 5, y1, X0 - 30, y1);
    s.Line(X0 - 5, y2, X0 - 30, y2);
    s.Line(X0 - 24, y1, X0 - 24, y1 + 8);
    s.Line(X0 - 25, y1, X0 - 25, y2);
    s.Line(X0 - 26, y2, X0 - 26, y2 - 8);
}

void DrawPatternN(const LayoutContext& c) {
    DrawingSurface& s = c.s;
    const Frame& f = c.f;
    const LayoutDrawing& a = c.a;
    bool turned;
    if (a.Lb == 0 || a.Wa == 0)
        turned = false;
    else if (a.La == 0 || a.Wb == 0)
        turned = true;
    else
        return;
    const double pa = turned ? a.PieceW : a.PieceL; // across
    const double pd = turned ? a.PieceL : a.PieceW; // down
    const int cols = turned ? a.Lb : a.La;
    const int rows = turned ? a.Wa : a.Wb;
    const int X0 = f.X0, Y0 = f.Y0;

    const Carry startX(f.ExactX(a.MarginL));
    const Carry startY(f.ExactY(a.MarginW));
    DrawBlock(s, true, startX, startY, pa * f.S, pd * f.S, (pa + a.Spacing) * f.S,
              (pd + a.Spacing) * f.S, cols, rows, [](const PlacedPiece&, int, int) {});

    const int px = Rnd(f.gx + a.MarginL * f.S) + 50;
    const int py = Rnd(f.gy + a.MarginW * f.S) + 50;

    // Across mark of the first column, top band.
    const int span = c.Px(pa);
    const int far = px + span;
    const QString across = FormatLength(pa);
    const int tw = s.TextWidth(across);
    s.Line(px, Y0 - 5, px, Y0 - 34);
    s.Line(far, Y0 - 5, far, Y0 - 34);
    if (tw + kFitMargin < span) {
        s.Line(px, Y0 - 25, far, Y0 - 25);
        s.Line(px, Y0 - 26, px + 8, Y0 - 26);
        s.Line(far - 8, Y0 - 24, far, Y0 - 24);
        s.Text(Rnd(f.gx + (a.MarginL + pa / 2) * f.S - tw / 2.0) + 50, Y0 - 38, across);
    } else {
        s.Line(px, Y0 - 26, px - 6, Y0 - 26);
        s.Line(px, Y0 - 27, px - 8, Y0 - 27);
        s.Line(far, Y0 - 27, far + 40, Y0 - 27);
        s.Line(far, Y0 - 28, far + 8, Y0 - 28);
        s.Text(far + (turned ? 10 : 8), Y0 - 40, across);
    }

    // Down mark of the first row, left band.
    const int low = py + c.Px(pd);
    LeftDownMark(s, X0, py, low);
    s.Text(X0 - 40, py + Rnd(pd * f.S / 2) - 6, FormatLength(pd));

    if (!c.panel)
        return;
    const QString gap = FormatLength(a.Spacing);
    if (cols > 1) {
        const int e1 = px + c.Px(pa);
        const int e2 = px + c.Px(pa + a.Spacing);
        s.Line(e2, Y0 - 5, e2, Y0 - 22);
        s.Line(e1, Y0 - 9, e1 - 8, Y0 - 9);
        s.Line(e1, Y0 - 10, e1 - 10, Y0 - 10);
        s.Line(e2, Y0 - 10, e2 + 40, Y0 - 10);
        s.Line(e2, Y0 - 11, e2 + 8, Y0 - 11);
        s.Text(e2 + 10, Y0 - 23, gap);
    } else if (rows > 1) {
        const int y2 = py + c.Px(pd + a.Spacing);
        s.Line(X0 - 5, y2, X0 - 30, y2);
        s.Line(X0 - 25, y2, X0 - 25, y2 + (turned ? 20 : 10));
        s.Line(X0 - 24, y2, X0 - 24, y2 + 8);
        s.Text(X0 - 40, y2 + 12, gap);
    }
}

void DrawPatternL(const LayoutContext& c) {
    DrawingSurface& s = c.s;
    const Frame& f = c.f;
    const LayoutDrawing& a = c.a;
    const double S = f.S, PL = a.PieceL, PW = a.PieceW, Sp = a.Spacing, CW = a.ContainerW;
    const int X0 = f.X0, Y0 = f.Y0;
    const int B = Rnd(f.gy + CW * S) + 50;
    const int Rx = static_cast<int>(f.AW) - Rnd(f.gx) + 50;
    const int x1 = Rnd(f.gx + a.MarginL * S) + 50;
    const bool extra = a.sLa > 0 && a.sWb > 0;

    // 1. Across mark of the first turned column, top band.
    {
        const int span = c.Px(PW);
        const int far = x1 + span;
        const QString t = FormatLength(PW);
        const int tw = s.TextWidth(t);
        s.Line(x1, Y0 - 5, x1, Y0 - 34);
        s.Line(far, Y0 - 5, far, Y0 - 34);
        if (tw + kFitMargin < span) {
            s.Line(x1, Y0 - 26, x1 + 8, Y0 - 26);
            s.Line(x1, Y0 - 25, far, Y0 - 25);
            s.Line(far - 8, Y0 - 24, far, Y0 - 24);
            s.Text(x1 + Rnd((span - tw) / 2.0), Y0 - 38, t);
        } else {
            s.Line(x1, Y0 - 26, x1 - 6, Y0 - 26);
            s.Line(x1, Y0 - 27, x1 - 8, Y0 - 27);
            s.Line(far, Y0 - 27, far + 40, Y0 - 27);
            s.Line(far, Y0 - 28, far + 8, Y0 - 28);
            s.Text(far + 10, Y0 - 40, t);
        }
    }

    // 2. Down mark of the turned pieces, left band.
    {
        const int y1 =
            c.panel ? Rnd(f.gy + ((CW - (PL + Sp) * a.Wa - (PW + Sp) * a.sWb + Sp) / 2) * S) + 50
                    : Rnd(f.gy + a.MarginW * S) + 50;
        LeftDownMark(s, X0, y1, y1 + c.Px(PL));
        s.Text(X0 - 40, y1 + Rnd(PL * S / 2 - 6), FormatLength(PL));
    }

    // 3. Spacing between the first and the second column.
    if (c.panel) {
        const int e1 = x1 + c.Px(PW);
        const int e2 = x1 + c.Px(PW + Sp);
        s.Line(e2, Y0 - 5, e2, Y0 - 22);
        s.Line(e1, Y0 - 9, e1 - 8, Y0 - 9);
        s.Line(e1, Y0 - 10, e1 - 10, Y0 - 10);
        s.Line(e2, Y0 - 10, e2 + 40, Y0 - 10);
        s.Line(e2, Y0 - 11, e2 + 8, Y0 - 11);
        s.Text(e2 + 10, Y0 - 23, FormatLength(Sp));
    }

    // 4. Turned block, columns centred across the width together with the
    // extra block below them.
    double turnedTop;
    if (c.panel) {
        const double F = extra ? CW - (PL + Sp) * a.Wa - a.sWb * PW - (a.sWb - 1) * Sp
                               : CW - a.Wa * PL - (a.Wa - 1) * Sp;
        turnedTop = f.gy + F * S / 2 + 50;
    } else {
        turnedTop = f.ExactY(a.MarginW);
    }
    const auto none = [](const PlacedPiece&, int, int) {};
    const BlockEnd turned =
        DrawBlock(s, false, Carry(f.ExactX(a.MarginL)), Carry(turnedTop), PW * S, PL * S,
                  (PW + Sp) * S, (PL + Sp) * S, a.Lb, a.Wa, none);
    Carry xn = turned.outer;
    const Carry yn = turned.inner;

    // 5. Extra block of upright pieces under the turned block.
    if (extra) {
        const BlockEnd ex = DrawBlock(s, false, Carry(f.ExactX(a.MarginL)), yn, PL * S, PW * S,
                                      (PL + Sp) * S, (PW + Sp) * S, a.sLa, a.sWb, none);
        const Carry xe = ex.outer;
        const int ye = ex.inner.Pos();

        if ((PW + Sp) * a.Lb >= (PL + Sp) * a.sLa) {
            // The turned block is at least as wide: difference in the bottom band.
            const int xeP = xe.Pos(), xnP = xn.Pos();
            s.Line(xeP, B + 5, xeP, B + 25);
            s.Line(xnP, B + 5, xnP, B + 25);
            s.Line(xeP, B + 21, xeP - 8, B + 21);
            s.Line(xeP, B + 20, xeP - 12, B + 20);
            s.Line(xnP, B + 20, xnP + 35, B + 20);
            s.Line(xnP, B + 19, xnP + 8, B + 19);
            s.Text(xnP + 10, B + 6, FormatDirect(Sp + (PW + Sp) * a.Lb - (PL + Sp) * a.sLa));
        } else {
            // The extra block is wider: difference in the top band, and the
            // upright block starts after the extra block.
            const int xt = xn.Pos() - c.Px(Sp);
            const QString t = FormatDirect(Sp + (PL + Sp) * a.sLa - (PW + Sp) * a.Lb);
            const int tw = s.TextWidth(t);
            s.Line(xt, Y0 - 5, xt, Y0 - 20);
            s.Line(xt, Y0 - 10, xt - (tw + 5), Y0 - 10);
            s.Line(xt, Y0 - 9, xt - 8, Y0 - 9);
            s.Text(xn.Pos() - tw - 5, Y0 - 24, t);
            xn = xe;
            s.Line(xn.Pos(), Y0 - 10, xn.Pos() + 12, Y0 - 10);
            s.Line(xn.Pos(), Y0 - 11, xn.Pos() + 8, Y0 - 11);
        }

        // Across mark of the extra block's first column, bottom band.
        const int span = c.Px(PL);
        const int far = x1 + span;
        const QString t = FormatLength(PL);
        const int tw = s.TextWidth(t);
        s.Line(x1, B + 5, x1, B + 25);
        s.Line(far, B + 5, far, B + 25);
        if (tw + kFitMargin < span) {
            s.Line(x1, B + 19, x1 + 8, B + 19);
            s.Line(x1, B + 20, far, B + 20);
            s.Line(far - 8, B + 21, far, B + 21);
            s.Text(x1 + Rnd((span - tw) / 2.0), B + 7, t);
        } else {
            s.Line(x1, B + 19, x1 - 8, B + 19);
            s.Line(x1, B + 20, x1 - 12, B + 20);
            s.Line(far, B + 20, far + 40, B + 20);
            s.Line(far, B + 21, far + 8, B + 21);
            s.Text(far + 10, B + 7, t);
        }

        // Down mark of the extra block's last piece, left band.
        const int ya = ye - c.Px(PW + Sp);
        const int yb = ye - c.Px(Sp);
        LeftDownMark(s, X0, ya, yb);
        s.Text(X0 - 40, ye - Rnd((Sp + PW / 2) * S) - 6, FormatLength(PW));
    }

    // 6. Across mark of the last upright column, top band.
    {
        const int k = a.La - 1;
        const int xa = xn.Pos() + Rnd((PL + Sp) * k * S);
        const int xb = xn.Pos() + Rnd((PL + (PL + Sp) * k) * S);
        const QString t = FormatLength(PL);
        const int tw = s.TextWidth(t);
        s.Line(xa, Y0 - 5, xa, Y0 - 34);
        s.Line(xb, Y0 - 5, xb, Y0 - 34);
        if (tw + kFitMargin < c.Px(PL)) {
            s.Line(xa, Y0 - 26, xa + 8, Y0 - 26);
            s.Line(xa, Y0 - 25, xb, Y0 - 25);
            s.Line(xb - 8, Y0 - 24, xb, Y0 - 24);
            s.Text(xa + Rnd((xb - xa - tw) / 2.0), Y0 - 38, t);
        } else {
            // Next to the container's right edge: the label goes to the left.
            s.Line(xb, Y0 - 24, xb + 7, Y0 - 24);
            s.Line(xb, Y0 - 25, xb + 10, Y0 - 25);
            s.Line(xa, Y0 - 25, xn.Pos() + Rnd((PL + Sp) * k * S - 10 - tw), Y0 - 25);
            s.Line(xa, Y0 - 26, xa - 8, Y0 - 26);
            s.Text(xn.Pos() + Rnd((PL + Sp) * k * S - tw) - 10, Y0 - 38, t);
        }
    }

    // 7. Down mark of the upright pieces, right band.
    const double uprightTop =
        c.panel ? f.gy + (CW - a.Wb * PW - (a.Wb - 1) * Sp) * S / 2 + 50 : f.ExactY(a.MarginW);
    {
        const int y2 = c.panel ? Rnd(f.gy + (CW - a.Wb * PW - (a.Wb - 1) * Sp) * S / 2) + 50
                               : Rnd(f.gy + a.MarginW * S) + 50;
        const int low = y2 + c.Px(PW);
        s.Line(Rx + 3, y2, Rx + 15, y2);
        s.Line(Rx + 3, low, Rx + 15, low);
        s.Line(Rx + 8, y2, Rx + 8, y2 + 8);
        s.Line(Rx + 9, y2, Rx + 9, low);
        s.Line(Rx + 10, low, Rx + 10, low - 8);
        s.Text(Rx + 15, y2 + Rnd(PW * S / 2) - 8, FormatLength(PW));
    }

    // 8. Upright block.
    DrawBlock(s, false, xn, Carry(uprightTop), PL * S, PW * S, (PL + Sp) * S, (PW + Sp) * S, a.La,
              a.Wb, none);
}

void DrawPatternW(const LayoutContext& c) {
    DrawingSurface& s = c.s;
    const Frame& f = c.f;
    const LayoutDrawing& a = c.a;
    const double S = f.S, PL = a.PieceL, PW = a.PieceW, Sp = a.Spacing, CL = a.ContainerL;
    const int X0 = f.X0, Y0 = f.Y0;
    const int B = Rnd(f.gy + a.ContainerW * S) + 50;
    const int yt = Rnd(f.gy + a.MarginW * S) + 50;
    const bool extra = a.sLa > 0 && a.sWb > 0;
    const int th = s.TextHeight(QStringLiteral("0"));
    // Exact start of a row of n pieces of across-extent e.
    const auto rowStart = [&](int n, double e) {
        return c.panel ? f.gx + (CL - n * e - (n - 1) * Sp) * S / 2 + 50 : f.ExactX(a.MarginL);
    };
    const auto xs = [&](int n, double e) {
        return c.panel ? Rnd(f.gx + (CL - n * e - (n - 1) * Sp) * S / 2) + 50
                       : Rnd(f.gx + a.MarginL * S) + 50;
    };

    // 1. Across mark of the first turned piece, top band.
    const int x1 = xs(a.Lb, PW);
    {
        const int span = c.Px(PW);
        const int far = x1 + span;
        const QString t = FormatLength(PW);
        const int tw = s.TextWidth(t);
        s.Line(x1, Y0 - 5, x1, Y0 - 34);
        s.Line(x1 + Rnd(PW * S - 1), Y0 - 5, x1 + Rnd(PW * S - 1), Y0 - 34);
        if (tw + kFitMargin < span) {
            s.Line(x1, Y0 - 26, x1 + 8, Y0 - 26);
            s.Line(x1, Y0 - 25, far, Y0 - 25);
            s.Line(far, Y0 - 24, far - 8, Y0 - 24);
            s.Text(x1 + Rnd((span - tw) / 2.0), Y0 - 38, t);
        } else {
            s.Line(x1, Y0 - 24, x1 - 7, Y0 - 24);
            s.Line(x1, Y0 - 25, x1 - 10, Y0 - 25);
            s.Line(far, Y0 - 25, x1 + Rnd(tw + PW * S) + 8, Y0 - 25);
            s.Line(far, Y0 - 26, far + 8, Y0 - 26);
            s.Text(far + 8, Y0 - 38, t);
        }
    }

    // 2. Spacing between the first and the second turned piece.
    if (c.panel) {
        const QString t = FormatLength(Sp);
        const int tw = s.TextWidth(t);
        const int e1 = x1 + Rnd(PW * S - 1);
        const int e2 = x1 + c.Px(PW + Sp);
        s.Line(e2, Y0 - 5, e2, Y0 - 22);
        s.Line(e1, Y0 - 9, e1 - 8, Y0 - 9);
        s.Line(e1, Y0 - 10, e1 - 12, Y0 - 10);
        s.Line(e2, Y0 - 10, x1 + Rnd(tw + (PW + Sp) * S) + 8, Y0 - 10);
        s.Line(e2, Y0 - 11, e2 + 8, Y0 - 11);
        s.Text(e2 + 8, Y0 - 23, t);
    }

    // 3. Down mark of the turned pieces, left band.
    LeftDownMark(s, X0, yt, yt + Rnd(PL * S - 1));
    s.Text(X0 - 40, yt + Rnd(PL * S / 2 - th / 2.0), FormatLength(PL));

    // 4. Turned block: rows centred along the length from the top margin.
    const auto none = [](const PlacedPiece&, int, int) {};
    const BlockEnd turned =
        DrawBlock(s, true, Carry(rowStart(a.Lb, PW)), Carry(f.ExactY(a.MarginW)), PW * S, PL * S,
                  (PW + Sp) * S, (PL + Sp) * S, a.Lb, a.Wa, none);
    const Carry yn = turned.outer;

    // 5. Down mark of the last upright row, left band.
    {
        const int k = a.Wb - 1;
        const int ya = yn.Pos() + Rnd((PW + Sp) * k * S);
        const int yb = yn.Pos() + Rnd((PW + (PW + Sp) * k) * S);
        LeftDownMark(s, X0, ya, yb);
        s.Text(X0 - 40, yn.Pos() + Rnd(((PW + Sp) * k + PW / 2) * S - th / 2.0), FormatLength(PW));
    }

    // 6. Across mark of the upright rows, bottom band; with an extra block the
    // row is centred together with it.
    double uprightStart;
    int x2;
    if (!c.panel) {
        uprightStart = f.ExactX(a.MarginL);
        x2 = Rnd(f.gx + a.MarginL * S) + 50;
    } else if (!extra) {
        uprightStart = rowStart(a.La, PL);
        x2 = xs(a.La, PL);
    } else {
        const double g = f.gx + (CL - (PL + Sp) * a.La - a.sWb * PW - (a.sWb - 1) * Sp) * S / 2;
        uprightStart = g + 50;
        x2 = Rnd(g) + 50;
    }
    {
        const int span = c.Px(PL);
        const int far = x2 + span;
        const QString t = FormatLength(PL);
        const int tw = s.TextWidth(t);
        s.Line(x2, B + 5, x2, B + 25);
        s.Line(far, B + 5, far, B + 25);
        if (tw + kFitMargin < span) {
            s.Line(x2, B + 19, x2 + 8, B + 19);
            s.Line(x2, B + 20, far, B + 20);
            s.Line(far, B + 21, far - 8, B + 21);
            s.Text(x2 + Rnd((span - tw) / 2.0), B + 7, t);
        } else {
            s.Line(x2, B + 21, x2 - 8, B + 21);
            s.Line(x2, B + 20, x2 - 12, B + 20);
            s.Line(far, B + 20, x2 + Rnd(tw + PL * S + 8), B + 20);
            s.Line(far, B + 19, far + 8, B + 19);
            s.Text(far + 10, B + 7, t);
        }
    }

    // 7. Upright block under the turned rows.
    const BlockEnd upright = DrawBlock(s, true, Carry(uprightStart), yn, PL * S, PW * S,
                                       (PL + Sp) * S, (PW + Sp) * S, a.La, a.Wb, none);

    // 8. Extra block of turned pieces right of the upright rows, unmarked.
    DrawBlock(s, true, upright.inner, yn, PW * S, PL * S, (PW + Sp) * S, (PL + Sp) * S, a.sWb,
              a.sLa, none);
}

// Boards of a layout beyond the block patterns, each where it was placed
// (lower-left corners, y up, turned into the diagram's top-down pixels). The
// board nearest the top-left corner carries the across and down marks.
void DrawPlacedBoards(const LayoutContext& c) {
    DrawingSurface& s = c.s;
    const Frame& f = c.f;
    const LayoutDrawing& a = c.a;
    const double CW = a.ContainerW;
    const Placement* first = nullptr;
    for (const Placement& p : a.Boards) {
        const double top = CW - p.y - p.width;
        s.Rectangle(Rnd(f.ExactX(p.x)), Rnd(f.ExactY(top)), Rnd(f.ExactX(p.x + p.length)),
                    Rnd(f.ExactY(CW - p.y)));
        if (!first || top < CW - first->y - first->width - 1e-9 ||
            (top <= CW - first->y - first->width + 1e-9 && p.x < first->x))
            first = &p;
    }
    if (!first)
        return;
    const int X0 = f.X0, Y0 = f.Y0;
    const int px = Rnd(f.ExactX(first->x)), far = Rnd(f.ExactX(first->x + first->length));
    const QString across = FormatLength(first->length);
    const int tw = s.TextWidth(across);
    s.Line(px, Y0 - 5, px, Y0 - 34);
    s.Line(far, Y0 - 5, far, Y0 - 34);
    if (tw + kFitMargin < far - px) {
        s.Line(px, Y0 - 25, far, Y0 - 25);
        s.Line(px, Y0 - 26, px + 8, Y0 - 26);
        s.Line(far - 8, Y0 - 24, far, Y0 - 24);
        s.Text(Rnd((px + far - tw) / 2.0), Y0 - 38, across);
    } else {
        s.Line(px, Y0 - 26, px - 8, Y0 - 26);
        s.Line(far, Y0 - 27, far + 40, Y0 - 27);
        s.Line(far, Y0 - 28, far + 8, Y0 - 28);
        s.Text(far + 8, Y0 - 40, across);
    }
    const double top = CW - first->y - first->width;
    const int py = Rnd(f.ExactY(top)), low = Rnd(f.ExactY(top + first->width));
    LeftDownMark(s, X0, py, low);
    s.Text(X0 - 40, Rnd((py + low) / 2.0) - 6, FormatLength(first->width));

    // The gap to the next board of the top row, where there is one.
    const double tol = 1e-6 * (1 + a.ContainerL);
    for (const Placement& p : a.Boards) {
        const bool level = p.y < first->y + first->width && first->y < p.y + p.width;
        if (!level || std::abs(p.x - (first->x + first->length + a.Spacing)) > tol)
            continue;
        const int e2 = Rnd(f.ExactX(p.x));
        s.Line(e2, Y0 - 5, e2, Y0 - 22);
        s.Line(far, Y0 - 9, far - 8, Y0 - 9);
        s.Line(far, Y0 - 10, far - 10, Y0 - 10);
        s.Line(e2, Y0 - 10, e2 + 40, Y0 - 10);
        s.Line(e2, Y0 - 11, e2 + 8, Y0 - 11);
        s.Text(e2 + 10, Y0 - 23, FormatLength(a.Spacing));
        break;
    }
}

} // namespace

double DrawLayoutDiagram(const LayoutDrawing& a, QImage& image) {
    return DrawLayoutDiagram(a, DiagramCanvas(image));
}

double DrawLayoutDiagram(const LayoutDrawing& a, const DiagramCanvas& canvas) {
    DrawingSurface s(canvas);
    s.Clear();
    Frame f;
    if (!LayoutRecordDrawable(a) ||
        !MakeFrame(s.Width(), s.Height(), a.ContainerL, a.ContainerW, f))
        return 0;

    const LayoutContext c{s, f, a, a.Kind == QLatin1String("Panel")};
    DrawOverallMarks(s, f, a.ContainerL, a.ContainerW, c.panel, a.MarginL, a.MarginW);
    DrawContainer(s, f, a.Kind);
    if (!a.Boards.empty() && c.panel)
        DrawPlacedBoards(c);
    else if (a.Pattern == QLatin1String("N"))
        DrawPatternN(c);
    else if (a.Pattern == QLatin1String("L"))
        DrawPatternL(c);
    else if (a.Pattern == QLatin1String("W"))
        DrawPatternW(c);
    return f.S;
}

} // namespace vorn
