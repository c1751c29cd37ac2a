#include "UnitWalk.h"

#include "Cursor.h"

#include <functional>
#include <vector>

namespace vorn {

namespace {

// Grids follow again and the sort comes back whatever happens.
class WalkGuard {
public:
    explicit WalkGuard(Cursor& cursor) : m_cursor(cursor), m_sort(cursor.sort()) {
        m_cursor.disableControls();
    }
    ~WalkGuard() {
        try {
            if (m_cursor.isOpen() && m_cursor.sort() != m_sort)
                m_cursor.setSort(m_sort);
        } catch (...) {
        }
        m_cursor.enableControls();
    }

private:
    Cursor& m_cursor;
    QString m_sort;
};

} // namespace

class UnitWalk {
public:
    static void Run(Cursor& cursor, const QStringList& fields,
                    const std::function<double(double)>& convert, UnitWalkMemory* memory) {
        if (!cursor.isOpen())
            return;
        if (cursor.state() != Cursor::State::Browse)
            cursor.post();
        std::vector<int> columns;
        for (const QString& f : fields)
            columns.push_back(cursor.fieldIndex(f));
        const int id = cursor.findField(QStringLiteral("ID"));

        WalkGuard guard(cursor);
        if (!cursor.sort().isEmpty())
            cursor.setSort(QString()); // the rows keep the order they have now
        cursor.first();
        while (!cursor.eof()) {
            const QString key = memory && id >= 0 ? cursor.value(id).toString() + u'/' : QString();
            bool editing = false;
            for (size_t i = 0; i < columns.size(); ++i) {
                const QVariant v = cursor.value(columns[i]);
                if (v.isNull())
                    continue;
                const double old = v.toDouble();
                double converted = convert(old);
                if (!key.isEmpty()) {
                    // A cell still holding what the last walk wrote gets its
                    // value from before that walk back.
                    const QString cell = key + fields[int(i)];
                    const auto seen = memory->m_cells.constFind(cell);
                    if (seen != memory->m_cells.cend() && seen->written == old)
                        converted = seen->before;
                    memory->m_cells.insert(cell, {old, converted});
                }
                if (!editing) {
                    cursor.edit();
                    editing = true;
                }
                cursor.setValue(columns[i], converted);
            }
            cursor.next(); // posts the row
        }
    }
};

void ConvertLengthColumns(Cursor& cursor, const QStringList& fields, double factor,
                          UnitWalkMemory* memory) {
    UnitWalk::Run(
        cursor, fields, [factor](double v) { return v * factor; }, memory);
}

void DivideLengthColumns(Cursor& cursor, const QStringList& fields, double divisor,
                         UnitWalkMemory* memory) {
    UnitWalk::Run(
        cursor, fields, [divisor](double v) { return v / divisor; }, memory);
}

} // namespace vorn
