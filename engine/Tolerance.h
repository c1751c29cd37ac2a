#pragma once
// Tolerant real arithmetic shared by the engine and the program: two reals are
// compared after scaling by 1e10 and rounding to 64-bit integers, halves to even.

#include <cstdint>

namespace vorn {

// round(x * 1e10) to the nearest 64-bit integer, halves to even.
std::int64_t TolKey(double x);

inline bool TolEq(double a, double b) { return TolKey(a) == TolKey(b); }
inline bool TolLe(double a, double b) { return TolKey(a) <= TolKey(b); }
inline bool TolLt(double a, double b) { return TolKey(a) < TolKey(b); }
inline bool TolGe(double a, double b) { return TolKey(a) >= TolKey(b); }
inline bool TolGt(double a, double b) { return TolKey(a) > TolKey(b); }

// Ceiling that ignores a fractional part below the tolerance (x >= 0).
std::int64_t CeilTol(double x);

// True when the utilization u (percent) equals 100 * a * b * count / (c * d)
// to ten decimal places; a zero container side or utilization is never valid.
bool PanelGood(double a, double b, double c, double d, double count, double u);

} // namespace vorn
