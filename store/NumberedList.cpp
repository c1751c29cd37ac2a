#include "NumberedList.h"

namespace vorn {

namespace {

// The number column writable for the length of one command, whatever happens.
class WritableColumn {
public:
    WritableColumn(Cursor& cursor, const QString& field)
        : m_cursor(cursor), m_field(field),
          m_wasReadOnly(cursor.field(cursor.fieldIndex(field)).readOnly) {
        if (m_wasReadOnly)
            m_cursor.setFieldReadOnly(m_field, false);
    }
    ~WritableColumn() {
        if (m_wasReadOnly)
            m_cursor.setFieldReadOnly(m_field, true);
    }

private:
    Cursor& m_cursor;
    QString m_field;
    bool m_wasReadOnly;
};

// Grids stop following the cursor while rows are renumbered.
class DetachedControls {
public:
    explicit DetachedControls(Cursor& cursor) : m_cursor(cursor) { m_cursor.disableControls(); }
    ~DetachedControls() { m_cursor.enableControls(); }

private:
    Cursor& m_cursor;
};

} // namespace

bool NumberedList::usable() const {
    return m_cursor.isOpen() && !m_cursor.isEmpty();
}

void NumberedList::setNumber(int number) {
    m_cursor.edit();
    m_cursor.setValue(m_numberField, number);
    m_cursor.post();
}

void NumberedList::insertAbove() {
    if (!m_cursor.isOpen())
        return;
    m_dm.setInsertMode(m_table, QStringLiteral("Up"));
    m_cursor.insert();
}

void NumberedList::insertBelow() {
    if (!m_cursor.isOpen())
        return;
    m_dm.setInsertMode(m_table, QStringLiteral("Down"));
    m_cursor.insert();
}

int NumberedList::removeCurrent() {
    if (!usable())
        return 0;
    if (m_cursor.state() != Cursor::State::Browse)
        m_cursor.cancel(); // a row being typed is dropped with the delete, not posted first
    if (m_cursor.isEmpty())
        return 0;
    const int n = m_cursor.asInt(m_numberField);
    {
        DetachedControls detached(m_cursor);
        WritableColumn writable(m_cursor, m_numberField);
        m_cursor.remove();
        // Close the gap from the first row above n upwards, so that no two
        // rows ever share a number on the way.
        for (int number = n + 1;; ++number) {
            if (!m_cursor.locate(m_numberField, {number}))
                break;
            setNumber(number - 1);
        }
        if (!m_cursor.locate(m_numberField, {n}))
            m_cursor.last();
    }
    return n;
}

bool NumberedList::move(int step) {
    if (!usable())
        return false;
    if (m_cursor.state() != Cursor::State::Browse)
        m_cursor.post();
    const int n = m_cursor.asInt(m_numberField);
    const int neighbour = n + step;
    if (neighbour < 1 || neighbour > m_cursor.recordCount())
        return false;
    const int temporary = m_cursor.recordCount() + 10;
    WritableColumn writable(m_cursor, m_numberField);
    setNumber(temporary);
    if (m_cursor.locate(m_numberField, {neighbour}))
        setNumber(n);
    if (m_cursor.locate(m_numberField, {temporary}))
        setNumber(neighbour);
    return true;
}

} // namespace vorn
