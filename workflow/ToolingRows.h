#pragma once
// Reading the working tooling table by panel type, with its filter put back
// however the reading ends.

#include "Cursor.h"
#include "DiagramRoutines.h"

#include <QString>

#include <vector>

namespace vorn {

class FilterRestore {
public:
    explicit FilterRestore(Cursor& cursor) : cursor_(cursor), saved_(cursor.filter()) {}
    ~FilterRestore() {
        try {
            cursor_.setFilter(saved_);
        } catch (...) {
            // Nothing sensible is left to do while unwinding.
        }
    }
    FilterRestore(const FilterRestore&) = delete;
    FilterRestore& operator=(const FilterRestore&) = delete;

private:
    Cursor& cursor_;
    QString saved_;
};

// Sets the filter to one panel type and returns its holes in the table's order.
inline std::vector<ToolingHole> HolesOfType(Cursor& tooling, const QString& type) {
    tooling.setFilter(QStringLiteral("PanelType='%1'").arg(type));
    std::vector<ToolingHole> holes;
    const int n = tooling.fieldIndex(QStringLiteral("SerialNumber"));
    const int x = tooling.fieldIndex(QStringLiteral("Xcoordinate"));
    const int y = tooling.fieldIndex(QStringLiteral("Ycoordinate"));
    const int d = tooling.fieldIndex(QStringLiteral("Diameter"));
    for (int r = 0; r < tooling.recordCount(); ++r)
        holes.push_back({tooling.valueAt(r, n).toInt(), tooling.valueAt(r, x).toDouble(),
                         tooling.valueAt(r, y).toDouble(), tooling.valueAt(r, d).toDouble()});
    return holes;
}

} // namespace vorn
