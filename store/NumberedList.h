#pragma once

#include "DataModule.h"

namespace vorn {

// The shown rows of a numbered table (the hole list of one type, the preset
// list of one type, the panel presets) keep their number column contiguous
// from 1. Every command here works on the rows the cursor shows (its filter)
// and does nothing on a closed or empty cursor. The number column may be
// read-only for the user; these commands make it writable while they work.
class NumberedList {
public:
    NumberedList(TDataM1& dm, TDataM1::Numbered table, Cursor& cursor, QString numberField)
        : m_dm(dm), m_table(table), m_cursor(cursor), m_numberField(std::move(numberField)) {}

    // A new row above (number n, later rows move down by one) or below the
    // current one (n + 1). The data module numbers it, posts it and leaves it
    // in edit for the user's values.
    void insertAbove();
    void insertBelow();
    // Deletes the current row and closes the gap; the row now numbered n is
    // current (the new last row when the last one went). Returns n, or 0 when
    // nothing was deleted.
    int removeCurrent();
    // Swaps the current row with its neighbour through a temporary number
    // (row count + 10); the moved row stays current. False when there is no
    // neighbour in that direction.
    bool moveUp() { return move(-1); }
    bool moveDown() { return move(+1); }

private:
    bool usable() const;
    bool move(int step);
    void setNumber(int number);

    TDataM1& m_dm;
    TDataM1::Numbered m_table;
    Cursor& m_cursor;
    QString m_numberField;
};

} // namespace vorn
