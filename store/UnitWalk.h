#pragma once

#include <QHash>
#include <QStringList>

namespace vorn {

class Cursor;

// Exact round trips for a table whose lengths are switched back and forth
// between inches and millimetres: 48 in × 25.4 ÷ 25.4 is 47.99999999999999,
// so a plain walk there and back would change values nobody touched. The
// memory keeps, per row ID and column, the value a walk replaced and the
// value it wrote; the next walk puts the old value back where the cell still
// holds what was written, and converts only cells the user changed.
class UnitWalkMemory {
public:
    void clear() { m_cells.clear(); }

private:
    friend class UnitWalk;
    struct Cell {
        double before;
        double written;
    };
    QHash<QString, Cell> m_cells; // "ID/column"
};

// Multiplies the named length columns of every shown row by `factor` (25.4:
// inches to millimetres), walking the rows with edit and next as a user's
// changes would be made; null cells stay null. The grids stop following the
// cursor during the walk, and the sort order is off while the lengths change
// (so rows do not move under the walk) and back afterwards. The caller keeps
// the user's place. A pending change is posted first.
void ConvertLengthColumns(Cursor& cursor, const QStringList& fields, double factor,
                          UnitWalkMemory* memory = nullptr);
// The same walk dividing by `divisor` (25.4: millimetres back to inches);
// x / 25.4 and x * (1 / 25.4) differ in the last bit.
void DivideLengthColumns(Cursor& cursor, const QStringList& fields, double divisor,
                         UnitWalkMemory* memory = nullptr);

} // namespace vorn
