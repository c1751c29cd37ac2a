#pragma once
// Lengths of a table converted in place: the unit switch of the working
// tables and every window that shows a table in the other unit.

#include <QHash>
#include <QStringList>

namespace vorn {

class Cursor;

// Multiply or divide by a factor (25.4 both ways: x × 25.4 ÷ 25.4 comes back
// closer to x than x × 25.4 × (1 / 25.4)).
struct LengthScale {
    double factor = 1.0;
    bool divide = false;
    double operator()(double v) const { return divide ? v / factor : v * factor; }
};

// Exact round trips for a table whose lengths are switched back and forth:
// 48 in × 25.4 ÷ 25.4 is 47.99999999999999, so a plain walk there and back
// would change values nobody touched. The memory keeps, per row ID and
// column, the value a walk replaced and the value it wrote; the next walk
// puts the old value back where the cell still holds what was written, and
// converts only cells the user changed.
class UnitWalkMemory {
public:
    // `old` scaled, or the value from before the last walk when `cell` still
    // holds what that walk wrote; remembered for the next walk.
    double Convert(const QString& cell, double old, LengthScale scale);

private:
    struct Cell {
        double before;
        double written;
    };
    QHash<QString, Cell> m_cells; // "ID/column"
};

// Scales the named number columns of the current row by `scale`; the row
// is put into edit mode and left there. Empty (null) values stay empty. With
// a memory, a switch there and back gives untouched values back exactly.
void ScaleCurrentRow(Cursor& table, const QStringList& columns, LengthScale scale,
                     UnitWalkMemory* memory = nullptr);

// Scales the named columns of every row by `scale`, each row posted: a
// pending change is posted first, grids and bound fields are held during the
// walk, the filter text is cleared for it (every row, whatever the filter
// shows) and put back, and a sort on any of the scaled columns is off while
// they change (rows do not move under the walk) and back afterwards. The
// first row is current afterwards; a caller that keeps the user's place
// locates it again. A closed table is left alone.
void ScaleEveryRow(Cursor& table, const QStringList& columns, LengthScale scale,
                   UnitWalkMemory* memory = nullptr);

// The same walk, inches to millimetres (× factor) and back (÷ divisor).
inline void ConvertLengthColumns(Cursor& table, const QStringList& columns, double factor,
                                 UnitWalkMemory* memory = nullptr) {
    ScaleEveryRow(table, columns, {factor, false}, memory);
}
inline void DivideLengthColumns(Cursor& table, const QStringList& columns, double divisor,
                                UnitWalkMemory* memory = nullptr) {
    ScaleEveryRow(table, columns, {divisor, true}, memory);
}

// Empties the named columns of the current row that hold exactly 0 (the row
// is put into edit mode and left there).
void BlankZeros(Cursor& table, const QStringList& columns);

} // namespace vorn
