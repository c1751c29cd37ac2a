#include "Layout.h"

#include "Tolerance.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace vorn {

int CountFit(double x, double d, double C) {
    const double step = d + C;
    if (!(step > 0))
        return 0;
    // The count the quotient gives is the subtraction's count when the last
    // run kept and the first run refused both lie more than 1e-9 from d: the
    // rounding of q subtractions, below (q + 2) * M * 2.2e-16 < 3e-11 for the
    // magnitudes allowed here, cannot move either across the tolerance.
    const double t = (x - d) / step;
    if (t > -2 && t < 1e5) {
        const int q = t < 0 ? 0 : static_cast<int>(t) + 1;
        const double M = std::abs(x) + std::abs(d) + step;
        if ((q + 2) * M < 1e5 && (q == 0 || x - (q - 1) * step >= d + 1e-9) &&
            x - q * step <= d - 1e-9)
            return q;
    }
    const std::int64_t dKey = TolKey(d);
    int k = 0;
    while (TolKey(x) >= dKey) {
        ++k;
        x = x - (d + C);
    }
    return k;
}

namespace {

struct Current {
    Layout lay;
    char s = 0; // pattern text of the layout under test; 0 while empty
};

void Offer(bool allowMixed, const Current& cur, Layout& best) {
    const std::int64_t n = cur.lay.Pieces();
    const std::int64_t nBest = best.Pieces();
    bool take = false;
    if (!allowMixed) {
        take = cur.s == 'N' && n > nBest;
    } else if (n > nBest) {
        take = true;
    } else if (n == nBest && best.pattern != 'N') {
        // An equal single-orientation layout found first is never displaced;
        // between equal mixed layouts a later one without an extra block wins.
        take = cur.s == 'N' || (std::int64_t{cur.lay.a1} * cur.lay.a2 > 0 &&
                                std::int64_t{cur.lay.c1} * cur.lay.c2 == 0);
    }
    if (take) {
        best = cur.lay;
        best.pattern = cur.s;
    }
}

// The rows G = 1, 2, ... of pieces laid L-side across a run v, each with the
// count K of W-sides that fit in what they leave. It does not depend on the
// outer split, so each family computes it once.
struct Band {
    int G;
    int K;
};

void Bands(double run, double L, double W, double C, std::vector<Band>& out) {
    out.clear();
    if (!(L + C > 0))
        return;
    const std::int64_t lKey = TolKey(L);
    double v = run;
    int G = 0;
    while (TolKey(v) >= lKey) {
        ++G;
        v = v - (L + C);
        out.push_back({G, CountFit(v, W, C)});
    }
}

} // namespace

Layout LayoutPieces(bool allowMixed, double L, double W, double C, double BL, double BW, double CL,
                    double CW) {
    const double UL = CL - 2 * BL;
    const double UW = CW - 2 * BW;
    Layout best;
    Current cur;
    if (!allowMixed) {
        cur.lay = Layout{};
        cur.lay.a1 = CountFit(UL, L, C);
        cur.lay.a2 = CountFit(UW, W, C);
        cur.s = 'N';
        Offer(false, cur, best);
        cur.lay = Layout{};
        cur.lay.b1 = CountFit(UL, W, C);
        cur.lay.b2 = CountFit(UW, L, C);
        Offer(false, cur, best);
        return best;
    }
    if (!(L + C > 0))
        return best;

    thread_local std::vector<Band> bands;
    const std::int64_t lKey = TolKey(L);
    Layout& c = cur.lay;

    // Family 1: a1 upright columns, the rest of the length for turned pieces.
    Bands(UW, L, W, C, bands);
    c.a1 = -1;
    double x = UL + (L + C);
    const int columnLength = CountFit(UW, W, C); // the same every round
    while (TolKey(x) >= lKey) {
        c.a1 = c.a1 + 1;
        x = x - (L + C);
        c.b1 = CountFit(x, W, C);
        c.c1 = CountFit(x, L, C);
        c.a2 = columnLength;
        c.b2 = 0;
        c.c2 = 0;
        for (const Band& g : bands) {
            if (std::int64_t{g.G} * c.b1 + std::int64_t{g.K} * c.c1 >=
                std::int64_t{c.b1} * c.b2 + std::int64_t{c.c1} * c.c2) {
                c.b2 = g.G;
                c.c2 = g.K;
            }
        }
        bool flag = true;
        if (c.a1 == 0 && std::int64_t{c.c1} * c.c2 > 0) {
            // No upright columns: a turned band over an upright band.
            flag = false;
            cur.s = 'W';
            c.a1 = c.c1;
            c.a2 = c.c2;
            c.c1 = 0;
            c.c2 = 0;
        }
        if (c.a1 == 0 || c.a2 == 0) {
            c.a1 = c.a2 = 0;
            cur.s = 'N';
        } else if (c.b1 == 0 || c.b2 == 0) {
            c.b1 = c.b2 = 0;
            cur.s = 'N';
        } else if (cur.s != 'W') {
            cur.s = 'L';
        }
        if (c.c2 == 0 || c.c1 == 0)
            c.c1 = c.c2 = 0;
        Offer(true, cur, best);
        if (!flag && cur.s == 'W') {
            c.a1 = 0;
            cur.s = 'N';
        }
    }

    // Family 2: b2 turned rows, the rest of the width for upright pieces.
    Bands(UL, L, W, C, bands);
    c.b2 = -1;
    double y = UW + (L + C);
    const int rowLength = CountFit(UL, W, C); // the same every round
    while (TolKey(y) >= lKey) {
        c.b2 = c.b2 + 1;
        y = y - (L + C);
        c.a2 = CountFit(y, W, C);
        c.c1 = CountFit(y, L, C);
        c.b1 = rowLength;
        c.a1 = 0;
        c.c2 = 0;
        for (const Band& g : bands) {
            if (std::int64_t{c.a2} * g.G + std::int64_t{c.c1} * g.K >=
                std::int64_t{c.a2} * c.a1 + std::int64_t{c.c1} * c.c2) {
                c.a1 = g.G;
                c.c2 = g.K;
            }
        }
        bool flag = true;
        if (c.b2 == 0 && std::int64_t{c.c1} * c.c2 > 0) {
            flag = false;
            cur.s = 'L';
            c.b2 = c.c1;
            c.b1 = c.c2;
            c.c1 = 0;
            c.c2 = 0;
        }
        if (c.a1 == 0 || c.a2 == 0) {
            c.a1 = c.a2 = 0;
            cur.s = 'N';
        } else if (c.b1 == 0 || c.b2 == 0) {
            c.b1 = c.b2 = 0;
            cur.s = 'N';
        } else if (cur.s != 'L') {
            cur.s = 'W';
        }
        if (c.c2 == 0 || c.c1 == 0)
            c.c1 = c.c2 = 0;
        Offer(true, cur, best);
        if (!flag && cur.s == 'L') {
            c.b2 = 0;
            cur.s = 'N';
        }
    }
    return best;
}

Margins ActualMargins(const Layout& lay, double L, double W, double C, double CL, double CW) {
    const bool extra = lay.c1 >= 1 && lay.c2 >= 1;
    const double A = lay.a2 * W + (lay.a2 - 1) * C;
    const double B = lay.b2 * L + (lay.b2 - 1) * C;
    const double A1 = lay.a1 * L + (lay.a1 - 1) * C;
    const double B1 = lay.b1 * W + (lay.b1 - 1) * C;
    double EL = 0, EW = 0;
    switch (lay.pattern) {
    case 'N':
        // The turned-block formulas first, so an upright block wins.
        if (lay.a1 == 0 || lay.a2 == 0) {
            EL = B1;
            EW = B;
        }
        if (lay.b1 == 0 || lay.b2 == 0) {
            EL = A1;
            EW = A;
        }
        break;
    case 'L':
        EL = lay.a1 * L + lay.b1 * W + (lay.a1 + lay.b1 - 1) * C;
        if (extra)
            EL = std::max(EL, (lay.a1 + lay.c1) * L + (lay.a1 + lay.c1 - 1) * C);
        if (TolGt(B, A))
            EW = B;
        else
            EW = extra ? std::max(A, B + lay.c2 * (W + C)) : A;
        break;
    case 'W':
        if (TolLe(B1, A1))
            EL = A1;
        else
            EL = extra ? std::max(B1, A1 + lay.c2 * (W + C)) : B1;
        EW = lay.b2 * L + lay.a2 * W + (lay.b2 + lay.a2 - 1) * C;
        if (extra)
            EW = std::max(EW, (lay.b2 + lay.c1) * L + (lay.b2 + lay.c1 - 1) * C);
        break;
    default:
        break;
    }
    return {(CL - EL) / 2, (CW - EW) / 2};
}

} // namespace vorn
