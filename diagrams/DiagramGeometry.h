#pragma once
// What all diagrams share: the framed fit-to-size scale, rounding to pixels
// with halves to even, the carried remainder that keeps long rows exact, and
// the number format of labels.

#include "DrawingSurface.h"

#include <QColor>
#include <QString>
#include <cmath>

namespace vorn {

inline const QColor kPanelGreen{95, 234, 0};
inline const QColor kSheetOrange{255, 147, 0};

// Reserved band on every side of a diagram for dimension marks.
inline constexpr int kFrameBand = 50;

// Nearest integer, halves to even (the default rounding mode).
inline int Rnd(double x) {
    return static_cast<int>(std::nearbyint(x));
}

// A label for a length: rounded to thousandths (halves to even), then "%.3f".
QString FormatLength(double value);
// "%.3f" of the value as it is (difference labels of mixed layouts).
QString FormatDirect(double value);

// The container fitted into the image inside the 50-pixel band.
struct Frame {
    int W = 0, H = 0;
    double AW = 0, AH = 0;     // usable width and height
    double S = 0;              // pixels per length unit
    double gx = 0, gy = 0;     // exact offsets of the container inside the usable area
    int X0 = 0, Y0 = 0;        // outline left and top
    int Right = 0, Bottom = 0; // outline right and bottom (exclusive)

    // Exact pixel position of a distance along the length / width.
    double ExactX(double u) const { return gx + u * S + kFrameBand; }
    double ExactY(double v) const { return gy + v * S + kFrameBand; }
};

// False when there is nothing sensible to draw: an image without usable area
// or a container side that is not a positive finite number.
bool MakeFrame(int width, int height, double containerL, double containerW, Frame& frame);

// Overall length (top band) and width (left band) marks of the container,
// labels on white; with `marginMarks` also the margin marks of a panel.
void DrawOverallMarks(DrawingSurface& s, const Frame& f, double containerL, double containerW,
                      bool marginMarks, double marginL, double marginW);

// Outline (2-pixel pen) and fill: green for kind "Panel"; for kind "Base"
// orange with black hatching over it, leaving the fill solid orange for the
// pieces. Any other kind draws nothing.
void DrawContainer(DrawingSurface& s, const Frame& f, const QString& kind);

// A running pixel position that carries the rounding remainder, so every piece
// edge lands where its exact position rounds to and long rows never drift.
class Carry {
public:
    Carry() = default;
    explicit Carry(double exact) : pos_(Rnd(exact)), rem_(exact - pos_) {}
    int Pos() const { return pos_; }
    // Exact on-screen extent of a piece starting here (rounded: Size()).
    double Extent(double sizePx) const { return sizePx + rem_; }
    int Size(double sizePx) const { return Rnd(sizePx + rem_); }
    void Step(double pitchPx) {
        const int step = Rnd(pitchPx + rem_);
        pos_ += step;
        rem_ += pitchPx - step;
    }

private:
    int pos_ = 0;
    double rem_ = 0;
};

// One piece as placed: pixel corner, exact on-screen size.
struct PlacedPiece {
    int x = 0, y = 0;
    double w = 0, h = 0; // exact extents including the carried remainder
    int Right() const { return x + Rnd(w); }
    int Bottom() const { return y + Rnd(h); }
};

// Where a block ends: the next position after its last column or row (outer)
// and the next position after the last piece of that last column or row (inner).
struct BlockEnd {
    Carry outer;
    Carry inner;
};

// Draws a block of pieces of wPx x hPx pixels. Row by row: the outer direction
// is y (`rows` rows), the inner x restarts at `startX` for every row. Column by
// column the roles swap. `onPiece`, if given, runs after each piece.
template <typename OnPiece>
BlockEnd DrawBlock(DrawingSurface& s, bool rowByRow, Carry startX, Carry startY, double wPx,
                   double hPx, double pitchX, double pitchY, int columns, int rows,
                   OnPiece&& onPiece) {
    const int outerCount = rowByRow ? rows : columns;
    const int innerCount = rowByRow ? columns : rows;
    Carry outer = rowByRow ? startY : startX;
    const Carry innerStart = rowByRow ? startX : startY;
    Carry inner = innerStart;
    for (int o = 0; o < outerCount; ++o) {
        inner = innerStart;
        for (int i = 0; i < innerCount; ++i) {
            const Carry& cx = rowByRow ? inner : outer;
            const Carry& cy = rowByRow ? outer : inner;
            PlacedPiece p{cx.Pos(), cy.Pos(), cx.Extent(wPx), cy.Extent(hPx)};
            s.Rectangle(p.x, p.y, p.Right(), p.Bottom());
            onPiece(p, o, i);
            inner.Step(rowByRow ? pitchX : pitchY);
        }
        outer.Step(rowByRow ? pitchY : pitchX);
    }
    return {outer, inner};
}

} // namespace vorn
