#include "Growth.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

namespace vorn {

namespace {

// extent = cPL * PL + cPW * PW, to stay within side.
struct FitTest {
    double cPL, cPW, side;
    double Extent(double PL, double PW) const { return cPL * PL + cPW * PW; }
};

// Grows one side (PL when growLength, else PW) by the ladder, then in steps of
// the next finer decimal while every growth test holds strictly.
void GrowSide(bool growLength, double& PL, double& PW, const FitTest* ladder, int nLadder,
              const FitTest* growth, int nGrowth) {
    double& D = growLength ? PL : PW;
    const double D0 = D;
    auto all = [&](const FitTest* t, int n, auto cmp) {
        for (int i = 0; i < n; ++i)
            if (!cmp(t[i].Extent(PL, PW), t[i].side))
                return false;
        return true;
    };
    int digits = 0;
    D = LadderFit(
        D0,
        [&](double v) {
            D = v;
            return all(ladder, nLadder, TolLe);
        },
        digits);
    if (digits < 0)
        return; // no fit at any precision: no growth
    bool grows = false;
    for (int i = 0; i < nGrowth; ++i)
        grows = grows || (growLength ? growth[i].cPL : growth[i].cPW) > 0;
    if (!grows)
        return;
    double scale = 1;
    for (int k = 0; k <= digits; ++k)
        scale *= 10;
    const double step = 1 / scale;
    // The tests only fail later as D grows (their coefficients are not
    // negative): steps short of the first side they could reach are taken
    // without them, and kept when the tests still hold after them. The same
    // additions run, so D ends on the same value.
    double room = std::numeric_limits<double>::infinity();
    for (int i = 0; i < nGrowth; ++i) {
        const double c = growLength ? growth[i].cPL : growth[i].cPW;
        if (c > 0)
            room = std::min(room, (growth[i].side - growth[i].Extent(PL, PW)) / c);
    }
    const double ahead = std::floor(room / step) - 3;
    if (ahead > 8 && ahead < 1e9 && all(growth, nGrowth, TolLt)) {
        const double start = D;
        for (auto n = static_cast<std::int64_t>(ahead); n > 0; --n)
            D = D + step;
        if (!all(growth, nGrowth, TolLt))
            D = start;
    }
    while (all(growth, nGrowth, TolLt)) {
        const double next = D + step;
        if (next == D)
            break;
        D = next;
    }
    for (int i = 0; i < nGrowth; ++i) {
        if (TolGt(growth[i].Extent(PL, PW), growth[i].side)) {
            D = D - step;
            break;
        }
    }
}

} // namespace

void GrowPanel(Layout& cut, double SL, double SW, double& PL, double& PW) {
    const double a1 = cut.a1, a2 = cut.a2, b1 = cut.b1, b2 = cut.b2, c1 = cut.c1, c2 = cut.c2;
    switch (cut.pattern) {
    case 'N': {
        if (cut.a1 != 0 && cut.a2 != 0) {
            const FitTest l[] = {{a1, 0, SL}};
            const FitTest w[] = {{0, a2, SW}};
            GrowSide(true, PL, PW, l, 1, l, 1);
            GrowSide(false, PL, PW, w, 1, w, 1);
        } else if (cut.b1 != 0 && cut.b2 != 0) {
            const FitTest l[] = {{b2, 0, SW}};
            const FitTest w[] = {{0, b1, SL}};
            GrowSide(true, PL, PW, l, 1, l, 1);
            GrowSide(false, PL, PW, w, 1, w, 1);
        } else {
            return;
        }
        if (PL < PW) {
            std::swap(PL, PW);
            if (cut.a1 != 0 && cut.a2 != 0) {
                cut.b1 = cut.a1;
                cut.b2 = cut.a2;
                cut.a1 = cut.a2 = 0;
            } else {
                cut.a1 = cut.b1;
                cut.a2 = cut.b2;
                cut.b1 = cut.b2 = 0;
            }
        }
        return;
    }
    case 'L': {
        const FitTest l[] = {{a1, b1, SL}, {a1 + c1, 0, SL}, {b2, c2, SW}};
        const FitTest w[] = {{0, a2, SW}, {b2, c2, SW}, {a1, b1, SL}};
        const FitTest wNoExtra[] = {{0, a2, SW}, {a1, b1, SL}};
        const bool extra = cut.c1 != 0 && cut.c2 != 0;
        GrowSide(true, PL, PW, l, 3, l, 3);
        GrowSide(false, PL, PW, w, 3, extra ? w : wNoExtra, extra ? 3 : 2);
        return;
    }
    case 'W': {
        const FitTest l[] = {{b2, a2, SW}, {b2 + c1, 0, SW}, {a1, c2, SL}};
        const FitTest w[] = {{0, b1, SL}, {a1, c2, SL}, {b2, a2, SW}};
        const FitTest wNoExtra[] = {{0, b1, SL}, {b2, a2, SW}};
        const bool extra = cut.c1 != 0 && cut.c2 != 0;
        GrowSide(true, PL, PW, l, 3, l, 3);
        GrowSide(false, PL, PW, w, 3, extra ? w : wNoExtra, extra ? 3 : 2);
        return;
    }
    default:
        return;
    }
}

} // namespace vorn
