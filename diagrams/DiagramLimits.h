#pragma once
// Records that cannot describe a real layout are refused before any drawing:
// they give an empty white picture instead of endless loops or garbage.

#include "DiagramRoutines.h"

#include <cmath>
#include <initializer_list>

namespace vorn {

// More pieces than this along one side, or in one picture, is no layout.
inline constexpr long long kMaxCount = 100000;
inline constexpr long long kMaxPieces = 1000000;

inline bool LengthsDrawable(std::initializer_list<double> lengths) {
    for (double v : lengths)
        if (!std::isfinite(v) || v < 0)
            return false;
    return true;
}

inline bool CountsDrawable(std::initializer_list<int> counts, long long pieces) {
    for (int n : counts)
        if (n < 0 || n > kMaxCount)
            return false;
    return pieces <= kMaxPieces;
}

inline bool LayoutRecordDrawable(const LayoutDrawing& a) {
    const long long pieces = 1LL * a.La * a.Wb + 1LL * a.Lb * a.Wa + 1LL * a.sLa * a.sWb;
    if (static_cast<long long>(a.Boards.size()) > kMaxPieces)
        return false;
    for (const Placement& p : a.Boards)
        if (!LengthsDrawable({p.x, p.y, p.length, p.width}))
            return false;
    return LengthsDrawable({a.MarginL, a.MarginW, a.PieceL, a.PieceW, a.Spacing}) &&
           CountsDrawable({a.La, a.Wb, a.Lb, a.Wa, a.sLa, a.sWb}, pieces);
}

inline bool TwoPanelRecordDrawable(const TwoPanelCutting& a) {
    const long long pieces =
        1LL * a.La1 * a.Wb1 + 1LL * a.Lb1 * a.Wa1 + 1LL * a.La2 * a.Wb2 + 1LL * a.Lb2 * a.Wa2;
    return LengthsDrawable({a.P1L, a.P1W, a.P2L, a.P2W}) &&
           CountsDrawable({a.La1, a.Wb1, a.Lb1, a.Wa1, a.La2, a.Wb2, a.Lb2, a.Wa2}, pieces);
}

} // namespace vorn
