#pragma once
// The panel sides the automatic search walks, in its order: sides of whole
// board lengths and widths between the margins, in four sections (A-D) of
// blocks, each block one fixed side paired with one of six lists of the other
// side. The search evaluates them; the cost estimate counts them.

#include "Layout.h"
#include "Tolerance.h"

#include <algorithm>
#include <type_traits>

namespace vorn {

class PanelWalk {
public:
    // L >= W, in inches; the walk stops at maxPL and maxPW.
    PanelWalk(double L, double W, double C, double BXL, double BXW, double maxPL, double maxPW)
        : L_(L), W_(W), C_(C), BXL_(BXL), BXW_(BXW), maxPL_(maxPL), maxPW_(maxPW) {}

    enum ListId { kPL1, kPL2L, kPL2W, kPW1, kPW2L, kPW2W, kListCount };
    static bool OfLengths(int list) { return list < kPW1; }

    // Sides holding i board lengths and j board widths between the margins.
    double PLof(int i, int j) const { return GridSide(BXL_, L_, W_, C_, i, j); }
    double PWof(int i, int j) const { return GridSide(BXW_, L_, W_, C_, i, j); }
    // Counts only ever grow a side when a step is positive; otherwise the
    // loops would never pass the maximum.
    bool Steps() const { return L_ + C_ > 0 && W_ + C_ > 0; }
    // Bands a board layout works through at the most: boards of the shorter
    // side along both limits (the cost of a layout follows them).
    double Rounds() const {
        const double cell = W_ + C_;
        return std::max(0.0, (maxPL_ - 2 * BXL_ + C_) / cell) +
               std::max(0.0, (maxPW_ - 2 * BXW_ + C_) / cell);
    }

    // Every side of a list, in order, repeats included. f(side) may return
    // false to stop.
    template <class F> void ForList(int list, F&& f) const {
        const bool lengths = OfLengths(list);
        switch (list % 3) {
        case 0:
            ForOne(lengths, true, f);
            break;
        case 1:
            ForTwo(lengths, true, f);
            break;
        default:
            ForTwo(lengths, false, f);
        }
    }

    // The blocks (fixed side, list) in the order of the walk.
    template <class F> void ForEachBlock(F&& block) const {
        // A: widths of k board widths; lengths of whole board lengths, then mixed.
        ForOne(false, false, [&](double PW) {
            block(PW, kPL1);
            if (TolLe(L_, PW - 2 * BXW_))
                block(PW, kPL2L);
        });
        // B: widths of i board lengths, then grown by board widths.
        ForCounts(false, [&](int i) {
            block(PWof(i, 0), kPL2W);
            for (int d = 1;; ++d) {
                const double PWd = PWof(i, d);
                if (!TolLe(PWd, maxPW_))
                    break;
                block(PWd, kPL2L);
            }
        });
        // C: lengths of m board widths; widths of whole board lengths, then mixed.
        ForOne(true, false, [&](double PL) {
            block(PL, kPW1);
            if (TolLe(L_, PL - 2 * BXL_))
                block(PL, kPW2L);
        });
        // D: lengths of i board lengths, then grown by board widths.
        ForCounts(true, [&](int i) {
            block(PLof(i, 0), kPW2W);
            for (int d = 1;; ++d) {
                const double PLd = PLof(i, d);
                if (!TolLe(PLd, maxPL_))
                    break;
                block(PLd, kPW2L);
            }
        });
    }

private:
    double Side(bool length, int i, int j) const { return length ? PLof(i, j) : PWof(i, j); }
    double Max(bool length) const { return length ? maxPL_ : maxPW_; }

    template <class F> static bool Go(F& f, double side) {
        if constexpr (std::is_same_v<decltype(f(side)), bool>)
            return f(side);
        else {
            f(side);
            return true;
        }
    }

    // Sides of n board lengths (or widths) alone, n = 1, 2, ...
    template <class F> void ForOne(bool length, bool ofLengths, F&& f) const {
        for (int n = 1;; ++n) {
            const double s = ofLengths ? Side(length, n, 0) : Side(length, 0, n);
            if (!TolLe(s, Max(length)) || !Go(f, s))
                break;
        }
    }
    // The counts i of the sides of i board lengths that fit.
    template <class F> void ForCounts(bool length, F&& f) const {
        for (int i = 1; TolLe(Side(length, i, 0), Max(length)); ++i)
            f(i);
    }
    // Sides built from two counts: first count outer, second inner.
    template <class F> void ForTwo(bool length, bool lengthsOuter, F&& f) const {
        for (int o = 1;; ++o) {
            const double first = lengthsOuter ? Side(length, o, 1) : Side(length, 1, o);
            if (!TolLe(first, Max(length)))
                break;
            for (int in = 1;; ++in) {
                const double s = lengthsOuter ? Side(length, o, in) : Side(length, in, o);
                if (!TolLe(s, Max(length)))
                    break;
                if (!Go(f, s))
                    return;
            }
        }
    }

    double L_, W_, C_, BXL_, BXW_, maxPL_, maxPW_;
};

} // namespace vorn
