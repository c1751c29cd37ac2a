#pragma once
// Lengths are stored in inches and shown in inches or millimetres; every copy
// between the two converts by exactly 25.4.

#include <QString>

namespace vorn {

inline constexpr double kMmPerInch = 25.4;

// Captions of the main window's unit button.
inline QString InchCaption() {
    return QStringLiteral("Inch");
}
inline QString MmCaption() {
    return QStringLiteral("mm");
}

inline double InchesToDisplay(double inches, bool mm) {
    return mm ? inches * kMmPerInch : inches;
}
inline double DisplayToInches(double value, bool mm) {
    return mm ? value / kMmPerInch : value;
}

} // namespace vorn
