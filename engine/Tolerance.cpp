#include "Tolerance.h"

#include <cfenv>
#include <cmath>

namespace vorn {

bool PanelGood(double a, double b, double c, double d, double count, double u) {
    if (c == 0 || d == 0 || u == 0)
        return false;
    // Extended precision, in this order: 1e10 * a * b * count * 100 / (c * d).
    const long double area = static_cast<long double>(c) * static_cast<long double>(d);
    const long double x = 1e10L * a * b * count * 100.0L / area;
    const long double y = 1e10L * static_cast<long double>(u);
    if (std::llrintl(x) == std::llrintl(y))
        return true;
    // A stored utilization carries the rounding of its own double arithmetic
    // (about 1e-14 relative). When the quotient lies that close to a rounding
    // boundary of the tenth decimal, the two sides round apart although they
    // agree; such a plan is valid. An edit of a size moves the quotient by far
    // more than this.
    return std::fabs(x - y) < 0.01L;
}

} // namespace vorn
