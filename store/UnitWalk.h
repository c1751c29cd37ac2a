#pragma once
// Lengths of a table converted in place, for the unit switch of the working
// tables and for any window that shows a table in the other unit.

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

// Scales the named number columns of the current row by `scale`; the row
// is put into edit mode and left there. Empty (null) values stay empty.
void ScaleCurrentRow(Cursor& table, const QStringList& columns, LengthScale scale);

// Scales the named columns of every row by `scale`: grids and bound
// fields are held while the rows are walked, the filter text is cleared for
// the walk (every row, whatever the filter shows) and put back, and the first
// row becomes current. A closed table is left alone; each row is posted.
void ScaleEveryRow(Cursor& table, const QStringList& columns, LengthScale scale);

// Empties the named columns of the current row that hold exactly 0 (the row
// is put into edit mode and left there).
void BlankZeros(Cursor& table, const QStringList& columns);

} // namespace vorn
