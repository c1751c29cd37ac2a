// DrawTwoPanelCutting: a hatched sheet with one block of each panel size.

#include "DiagramGeometry.h"
#include "DiagramLimits.h"
#include "DiagramRoutines.h"

namespace vorn {
namespace {

constexpr int kFitMargin = 20;

enum class Orientation { None, Upright, Turned };

Orientation BlockOrientation(int La, int Wb, int Lb, int Wa) {
    if (La > 0 && Wb > 0 && Lb == 0 && Wa == 0)
        return Orientation::Upright;
    if (Lb > 0 && Wa > 0 && La == 0 && Wb == 0)
        return Orientation::Turned;
    return Orientation::None;
}

struct Block {
    QString name;                          // "P1" or "P2"
    double across = 0, down = 0;           // piece size on the sheet, job unit
    double acrossLabel = 0, downLabel = 0; // the sizes the marks show
    int columns = 0, rows = 0;
};

Block MakeBlock(const QString& name, double L, double W, Orientation o, int La, int Wb, int Lb,
                int Wa) {
    Block b;
    b.name = name;
    const bool upright = o == Orientation::Upright;
    b.across = upright ? L : W;
    b.down = upright ? W : L;
    b.acrossLabel = b.across;
    b.downLabel = b.down;
    b.columns = upright ? La : Lb;
    b.rows = upright ? Wb : Wa;
    return b;
}

// Label centred in a piece.
void PieceLabel(DrawingSurface& s, const Frame& f, const Block& b, const PlacedPiece& p) {
    const int tw = s.TextWidth(b.name);
    const int th = s.TextHeight(b.name);
    s.Text(p.x + Rnd(b.across * f.S / 2 - tw / 2.0), p.y + Rnd(b.down * f.S / 2 - th / 2.0),
           b.name);
}

void MarkPanel1(DrawingSurface& s, const Block& b, const PlacedPiece& p) {
    const int x = p.x, y = p.y, xf = p.Right(), yb = p.Bottom();
    const QString t = FormatLength(b.acrossLabel);
    const int tw = s.TextWidth(t), th = s.TextHeight(t);
    // Width above the sheet; the left extension line is the overall mark's.
    s.Line(xf, y - 5, xf, y - 15);
    if (tw + kFitMargin < p.w) {
        s.Line(x, y - 10, xf, y - 10);
        s.Line(x, y - 11, x + 8, y - 11);
        s.Line(xf - 8, y - 9, xf, y - 9);
        s.Text(x + Rnd(p.w / 2 - tw / 2.0), y - 10 - th, t);
    } else {
        s.Line(x, y - 13, x - 13, y - 13);
        s.Line(x, y - 14, x - 8, y - 14);
        s.Line(xf, y - 13, xf + tw + 13, y - 13);
        s.Line(xf, y - 12, xf + 8, y - 12);
        s.Text(xf + 8, y - 13 - th, t);
    }
    // Height left of the sheet.
    const QString d = FormatLength(b.downLabel);
    s.Line(x - 5, yb, x - 40, yb);
    s.Line(x - 33, y, x - 33, yb);
    s.Line(x - 32, y, x - 32, y + 8);
    s.Line(x - 34, yb, x - 34, yb - 8);
    s.Text(x - 39, y + Rnd(p.h / 2 - s.TextHeight(d) / 2.0), d);
}

void MarkPanel2SideBySide(DrawingSurface& s, int Rs, const Block& b, const PlacedPiece& p) {
    const int x = p.x, y = p.y, xf = p.Right(), yb = p.Bottom();
    const QString t = FormatLength(b.acrossLabel);
    const int tw = s.TextWidth(t), th = s.TextHeight(t);
    // Width above the sheet.
    s.Line(x, y - 5, x, y - 30);
    s.Line(xf, y - 5, xf, y - 30);
    if (tw + kFitMargin < p.w) {
        s.Line(x, y - 23, xf, y - 23);
        s.Line(x, y - 24, x + 8, y - 24);
        s.Line(xf - 8, y - 22, xf, y - 22);
        s.Text(x + Rnd(p.w / 2 - tw / 2.0), y - 23 - th, t);
    } else {
        s.Line(x, y - 23, x - 13, y - 23);
        s.Line(x, y - 22, x - 8, y - 22);
        s.Line(xf, y - 23, xf + tw + 8, y - 23);
        s.Line(xf, y - 24, xf + 8, y - 24);
        s.Text(xf + 8, y - 23 - th, t);
    }
    // Height right of the sheet.
    const QString d = FormatLength(b.downLabel);
    s.Line(Rs + 5, y, Rs + 20, y);
    s.Line(Rs + 5, yb, Rs + 20, yb);
    s.Line(Rs + 15, y, Rs + 15, yb);
    s.Line(Rs + 16, y, Rs + 16, y + 8);
    s.Line(Rs + 14, yb - 8, Rs + 14, yb);
    s.Text(Rs + 5, y + Rnd(p.h / 2 - s.TextHeight(d) / 2.0), d);
}

void MarkPanel2Stacked(DrawingSurface& s, const Frame& f, double sheetW, int B, const Block& b,
                       const PlacedPiece& p) {
    const int x = p.x, y = p.y, xf = p.Right(), yb = p.Bottom();
    // Height left of the sheet.
    const QString d = FormatLength(b.downLabel);
    s.Line(x - 5, y, x - 40, y);
    s.Line(x - 5, yb, x - 40, yb);
    s.Line(x - 33, y, x - 33, yb);
    s.Line(x - 32, y, x - 32, y + 8);
    s.Line(x - 34, yb - 8, x - 34, yb);
    s.Text(x - 39, y + Rnd(p.h / 2 - s.TextHeight(d) / 2.0), d);
    // Width below the sheet.
    const QString t = FormatLength(b.acrossLabel);
    const int tw = s.TextWidth(t), th = s.TextHeight(t);
    const int labelTop = Rnd(f.gy + sheetW * f.S - th) + 65;
    s.Line(x, B + 3, x, B + 22);
    s.Line(xf, B + 3, xf, B + 22);
    if (tw + kFitMargin < p.w) {
        s.Line(x, B + 15, xf, B + 15);
        s.Line(x, B + 14, x + 8, B + 14);
        s.Line(xf - 8, B + 16, xf, B + 16);
        s.Text(x + Rnd(p.w / 2 - tw / 2.0), labelTop, t);
    } else {
        s.Line(x - 13, B + 15, x, B + 15);
        s.Line(x, B + 14, x - 8, B + 14);
        s.Line(xf, B + 15, x + Rnd(tw + p.w + 10), B + 15);
        s.Line(xf, B + 16, xf + 8, B + 16);
        s.Text(xf + 10, labelTop, t);
    }
}

} // namespace

void DrawTwoPanelCutting(const TwoPanelCutting& a, QImage& image) {
    DrawTwoPanelCutting(a, DiagramCanvas(image));
}

void DrawTwoPanelCutting(const TwoPanelCutting& a, const DiagramCanvas& canvas) {
    DrawingSurface s(canvas);
    s.Clear();
    Frame f;
    if (!TwoPanelRecordDrawable(a) || !MakeFrame(s.Width(), s.Height(), a.SheetL, a.SheetW, f))
        return;

    DrawOverallMarks(s, f, a.SheetL, a.SheetW, false, 0, 0);
    DrawContainer(s, f, QStringLiteral("Base"));

    const bool sideBySide = a.Pattern == QLatin1String("L");
    if (!sideBySide && a.Pattern != QLatin1String("W"))
        return;
    const Orientation o1 = BlockOrientation(a.La1, a.Wb1, a.Lb1, a.Wa1);
    const Orientation o2 = BlockOrientation(a.La2, a.Wb2, a.Lb2, a.Wa2);
    if (o1 == Orientation::None || o2 == Orientation::None)
        return;

    const Block b1 = MakeBlock(QStringLiteral("P1"), a.P1L, a.P1W, o1, a.La1, a.Wb1, a.Lb1, a.Wa1);
    const Block b2 = MakeBlock(QStringLiteral("P2"), a.P2L, a.P2W, o2, a.La2, a.Wb2, a.Lb2, a.Wa2);
    const double S = f.S;
    const int B = Rnd(f.gy + a.SheetW * S) + 50;
    const int Rs = Rnd(f.gx + a.SheetL * S) + 50;

    // "L": blocks side by side, drawn row by row; "W": one above the other,
    // drawn column by column. Panels on a sheet have no spacing.
    const BlockEnd end1 =
        DrawBlock(s, sideBySide, Carry(f.ExactX(0)), Carry(f.ExactY(0)), b1.across * S, b1.down * S,
                  b1.across * S, b1.down * S, b1.columns, b1.rows,
                  [&](const PlacedPiece& p, int outer, int inner) {
                      PieceLabel(s, f, b1, p);
                      if (outer == 0 && inner == 0)
                          MarkPanel1(s, b1, p);
                  });
    const Carry startX = sideBySide ? end1.inner : Carry(f.ExactX(0));
    const Carry startY = sideBySide ? Carry(f.ExactY(0)) : end1.inner;
    DrawBlock(s, sideBySide, startX, startY, b2.across * S, b2.down * S, b2.across * S, b2.down * S,
              b2.columns, b2.rows, [&](const PlacedPiece& p, int outer, int inner) {
                  PieceLabel(s, f, b2, p);
                  if (outer != 0 || inner != 0)
                      return;
                  if (sideBySide)
                      MarkPanel2SideBySide(s, Rs, b2, p);
                  else
                      MarkPanel2Stacked(s, f, a.SheetW, B, b2, p);
              });
}

} // namespace vorn
