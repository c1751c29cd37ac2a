#pragma once
// Tolerant real arithmetic shared by the engine and the program: two reals are
// compared after scaling by 1e10 and rounding to 64-bit integers, halves to even.

#include <cmath>
#include <cstdint>

namespace vorn {

// y rounded to the nearest 64-bit integer, halves to even, as llrint does in
// the default rounding mode. Below 2^51 adding and removing 1.5 * 2^52 does
// the same without a library call: the searches round millions of times.
inline std::int64_t RoundEven(double y) {
    if (y > -0x1p51 && y < 0x1p51)
        return static_cast<std::int64_t>((y + 0x1.8p52) - 0x1.8p52);
    return std::llrint(y);
}

// round(x * 1e10), halves to even.
inline std::int64_t TolKey(double x) {
    return RoundEven(x * 1e10);
}

inline bool TolEq(double a, double b) {
    return TolKey(a) == TolKey(b);
}
inline bool TolLe(double a, double b) {
    return TolKey(a) <= TolKey(b);
}
inline bool TolLt(double a, double b) {
    return TolKey(a) < TolKey(b);
}
inline bool TolGe(double a, double b) {
    return TolKey(a) >= TolKey(b);
}
inline bool TolGt(double a, double b) {
    return TolKey(a) > TolKey(b);
}

// Ceiling that ignores a fractional part below the tolerance (x >= 0).
inline std::int64_t CeilTol(double x) {
    const double whole = x > -0x1p62 && x < 0x1p62
                             ? static_cast<double>(static_cast<std::int64_t>(x))
                             : std::trunc(x);
    const std::int64_t t = static_cast<std::int64_t>(whole);
    return RoundEven((x - whole) * 1e10) == 0 ? t : t + 1;
}

// True when the utilization u (percent) equals 100 * a * b * count / (c * d)
// to ten decimal places; a zero container side or utilization is never valid.
bool PanelGood(double a, double b, double c, double d, double count, double u);

} // namespace vorn
