#pragma once
// Rounding a panel side up to a coarse decimal grid while it still fits, and
// growing an automatic panel to use the leftover of its sheet.

#include "Layout.h"
#include "Tolerance.h"

namespace vorn {

// The finest decimal precision the ladder tries. Beyond about 10^-16 the
// rounded value is the side itself (the double has no more digits), so a
// side that fits at none of 10^0 ... 10^-17 fits at no precision and is left
// unchanged; taken literally the ladder would never end.
inline constexpr int kLadderDigits = 17;

// D0 rounded up with CeilTol at 10^0, 10^-1, ... until fits(D) holds; sets
// digits to that precision. Returns D0 with digits = -1 when nothing fits.
template <class Fits> double LadderFit(double D0, Fits&& fits, int& digits) {
    double scale = 1;
    for (int k = 0; k <= kLadderDigits; ++k, scale *= 10) {
        if (!(D0 * scale < 0x1p62)) // CeilTol works in 64-bit integers
            break;
        const double D = static_cast<double>(CeilTol(D0 * scale)) / scale;
        if (fits(D)) {
            digits = k;
            return D;
        }
    }
    digits = -1;
    return D0;
}

template <class Fits> double RoundUpToFit(double D0, Fits&& fits) {
    int digits = 0;
    return LadderFit(D0, fits, digits);
}

// Enlarges PL, then PW, keeping the cut layout on the SL x SW sheet, to the
// largest value of the ladder's grid that still fits. A single-orientation
// panel that ends narrower than long is turned, its cut counts with it.
void GrowPanel(Layout& cut, double SL, double SW, double& PL, double& PW);

} // namespace vorn
