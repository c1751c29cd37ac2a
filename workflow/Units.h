#pragma once
// Lengths are stored in inches and shown in inches or millimetres; every copy
// between the two converts by exactly 25.4.

#include "PanelJob.h"

#include <QString>

namespace vorn {

// Captions of the main window's unit button.
inline QString InchCaption() {
    return QStringLiteral("Inch");
}
inline QString MmCaption() {
    return QStringLiteral("mm");
}

inline double InchesToDisplay(double inches, bool mm) {
    return inches * UnitFactor(mm ? DisplayUnit::Millimetre : DisplayUnit::Inch);
}
inline double DisplayToInches(double value, bool mm) {
    return value / UnitFactor(mm ? DisplayUnit::Millimetre : DisplayUnit::Inch);
}

} // namespace vorn
