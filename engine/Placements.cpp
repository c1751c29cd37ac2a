#include "Placements.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace vorn {
namespace {

constexpr long long kMaxPieces = 1000000;

bool Sane(std::initializer_list<double> lengths, std::initializer_list<int> counts,
          long long pieces) {
    for (double v : lengths)
        if (!std::isfinite(v) || v < 0)
            return false;
    for (int n : counts)
        if (n < 0)
            return false;
    return pieces <= kMaxPieces;
}

// Collects pieces measured as the diagrams measure them, from the
// container's top-left corner with v running down, and turns them into
// lower-left corners with y up.
struct Collector {
    double containerW = 0;
    std::vector<Placement> out;

    // cols x rows pieces of across x down, the first one's top-left at
    // (u0, v0), pitches pu and pv.
    void Block(double u0, double v0, double across, double down, double pu, double pv, int cols,
               int rows, bool turned) {
        for (int i = 0; i < cols; ++i)
            for (int j = 0; j < rows; ++j)
                out.push_back(
                    {u0 + i * pu, containerW - (v0 + j * pv) - down, across, down, turned});
    }
};

void PatternN(const BlockLayout& b, Collector& c) {
    const Layout& l = b.layout;
    bool turned;
    if (l.b1 == 0 || l.b2 == 0)
        turned = false;
    else if (l.a1 == 0 || l.a2 == 0)
        turned = true;
    else
        return;
    const double a = turned ? b.pieceW : b.pieceL, d = turned ? b.pieceL : b.pieceW;
    c.Block(b.marginL, b.marginW, a, d, a + b.gap, d + b.gap, turned ? l.b1 : l.a1,
            turned ? l.b2 : l.a2, turned);
}

void PatternL(const BlockLayout& b, Collector& c) {
    const Layout& l = b.layout;
    const double PL = b.pieceL, PW = b.pieceW, Sp = b.gap, CW = b.containerW;
    const bool extra = l.c1 > 0 && l.c2 > 0;
    // Turned columns from the left margin, centred across the width together
    // with the extra block below them.
    double top = b.marginW;
    if (b.centred)
        top = (extra ? CW - (PL + Sp) * l.b2 - l.c2 * PW - (l.c2 - 1) * Sp
                     : CW - l.b2 * PL - (l.b2 - 1) * Sp) /
              2;
    c.Block(b.marginL, top, PW, PL, PW + Sp, PL + Sp, l.b1, l.b2, true);
    double xn = b.marginL + l.b1 * (PW + Sp);
    const double yn = l.b1 > 0 ? top + l.b2 * (PL + Sp) : top;
    if (extra) {
        c.Block(b.marginL, yn, PL, PW, PL + Sp, PW + Sp, l.c1, l.c2, false);
        // A wider extra block pushes the upright columns to its right.
        if (!((PW + Sp) * l.b1 >= (PL + Sp) * l.c1))
            xn = b.marginL + l.c1 * (PL + Sp);
    }
    const double uprightTop = b.centred ? (CW - l.a2 * PW - (l.a2 - 1) * Sp) / 2 : b.marginW;
    c.Block(xn, uprightTop, PL, PW, PL + Sp, PW + Sp, l.a1, l.a2, false);
}

void PatternW(const BlockLayout& b, Collector& c) {
    const Layout& l = b.layout;
    const double PL = b.pieceL, PW = b.pieceW, Sp = b.gap, CL = b.containerL;
    const bool extra = l.c1 > 0 && l.c2 > 0;
    const auto rowStart = [&](int n, double e) {
        return b.centred ? (CL - n * e - (n - 1) * Sp) / 2 : b.marginL;
    };
    // Turned rows from the top margin, each centred along the length.
    c.Block(rowStart(l.b1, PW), b.marginW, PW, PL, PW + Sp, PL + Sp, l.b1, l.b2, true);
    const double yn = b.marginW + l.b2 * (PL + Sp);
    double start = b.marginL;
    if (b.centred)
        start =
            extra ? (CL - (PL + Sp) * l.a1 - l.c2 * PW - (l.c2 - 1) * Sp) / 2 : rowStart(l.a1, PL);
    c.Block(start, yn, PL, PW, PL + Sp, PW + Sp, l.a1, l.a2, false);
    // The extra turned pieces stand right of the upright rows, level with
    // the first of them.
    const double xe = l.a2 > 0 ? start + l.a1 * (PL + Sp) : start;
    c.Block(xe, yn, PW, PL, PW + Sp, PL + Sp, l.c2, l.c1, true);
}

} // namespace

std::vector<Placement> PlaceBlocks(const BlockLayout& b) {
    const Layout& l = b.layout;
    if (!Sane({b.pieceL, b.pieceW, b.gap, b.marginL, b.marginW, b.containerL, b.containerW},
              {l.a1, l.a2, l.b1, l.b2, l.c1, l.c2}, l.Pieces()))
        return {};
    Collector c{b.containerW, {}};
    c.out.reserve(static_cast<std::size_t>(l.Pieces()));
    switch (l.pattern) {
    case 'N':
        PatternN(b, c);
        break;
    case 'L':
        PatternL(b, c);
        break;
    case 'W':
        PatternW(b, c);
        break;
    default:
        break;
    }
    return c.out;
}

TwoSizePlacements PlaceTwoSizes(const TwoSizeCut& t) {
    TwoSizePlacements out;
    const long long pieces =
        1LL * t.La1 * t.Wb1 + 1LL * t.Lb1 * t.Wa1 + 1LL * t.La2 * t.Wb2 + 1LL * t.Lb2 * t.Wa2;
    if (!Sane({t.sheetL, t.sheetW, t.panel1L, t.panel1W, t.panel2L, t.panel2W},
              {t.La1, t.Wb1, t.Lb1, t.Wa1, t.La2, t.Wb2, t.Lb2, t.Wa2}, pieces) ||
        (t.pattern != 'L' && t.pattern != 'W'))
        return out;
    // Each block is upright or turned, never both.
    struct Block {
        bool ok = false, turned = false;
        double across = 0, down = 0;
        int cols = 0, rows = 0;
    };
    const auto block = [](double L, double W, int La, int Wb, int Lb, int Wa) {
        Block k;
        if (La > 0 && Wb > 0 && Lb == 0 && Wa == 0)
            k = {true, false, L, W, La, Wb};
        else if (Lb > 0 && Wa > 0 && La == 0 && Wb == 0)
            k = {true, true, W, L, Lb, Wa};
        return k;
    };
    const Block b1 = block(t.panel1L, t.panel1W, t.La1, t.Wb1, t.Lb1, t.Wa1);
    const Block b2 = block(t.panel2L, t.panel2W, t.La2, t.Wb2, t.Lb2, t.Wa2);
    if (!b1.ok || !b2.ok)
        return out;
    // Panels on a sheet have no gap: panel 2 follows panel 1's last piece,
    // to its right ('L') or below it ('W').
    Collector c1{t.sheetW, {}}, c2{t.sheetW, {}};
    c1.Block(0, 0, b1.across, b1.down, b1.across, b1.down, b1.cols, b1.rows, b1.turned);
    const bool side = t.pattern == 'L';
    c2.Block(side ? b1.cols * b1.across : 0, side ? 0 : b1.rows * b1.down, b2.across, b2.down,
             b2.across, b2.down, b2.cols, b2.rows, b2.turned);
    out.panel1 = std::move(c1.out);
    out.panel2 = std::move(c2.out);
    return out;
}

std::vector<Placement> InListOrder(std::vector<Placement> pieces) {
    std::stable_sort(pieces.begin(), pieces.end(), [](const Placement& a, const Placement& b) {
        return a.y != b.y ? a.y < b.y : a.x < b.x;
    });
    return pieces;
}

} // namespace vorn
