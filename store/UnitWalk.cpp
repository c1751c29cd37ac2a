#include "UnitWalk.h"

#include "Cursor.h"

#include <vector>

namespace vorn {

namespace {

std::vector<int> Resolve(const Cursor& table, const QStringList& columns) {
    std::vector<int> fields;
    fields.reserve(size_t(columns.size()));
    for (const QString& c : columns)
        fields.push_back(table.fieldIndex(c));
    return fields;
}

// True when the sort text names one of the columns.
bool SortsBy(const QString& sort, const QStringList& columns) {
    const QStringList keys = sort.split(u';', Qt::SkipEmptyParts);
    for (const QString& key : keys)
        if (columns.contains(key.trimmed(), Qt::CaseInsensitive))
            return true;
    return false;
}

// Grids follow again, and the filter and the sort come back, whatever happens.
class WalkGuard {
public:
    WalkGuard(Cursor& table, bool sortOff)
        : table_(table), filter_(table.filter()), sort_(table.sort()), sortOff_(sortOff) {
        table_.disableControls();
        table_.setFilter(QString());
        if (sortOff_)
            table_.setSort(QString()); // the rows keep the order they have now
    }
    ~WalkGuard() {
        try {
            if (table_.state() != Cursor::State::Browse)
                table_.cancel();
            if (sortOff_)
                table_.setSort(sort_);
            table_.setFilter(filter_);
        } catch (...) {
        }
        table_.enableControls();
    }
    WalkGuard(const WalkGuard&) = delete;
    WalkGuard& operator=(const WalkGuard&) = delete;

private:
    Cursor& table_;
    QString filter_;
    QString sort_;
    bool sortOff_;
};

// Scales the fields of the current row, which is being edited; empty values
// stay empty. With a memory each cell is known as `row` + its column.
void ScaleFields(Cursor& table, const std::vector<int>& fields, const QStringList& columns,
                 LengthScale scale, UnitWalkMemory* memory, const QString& row) {
    for (size_t i = 0; i < fields.size(); ++i) {
        const QVariant v = table.value(fields[i]);
        if (v.isNull())
            continue;
        const double old = v.toDouble();
        table.setNumber(fields[i],
                        memory ? memory->Convert(row + columns[int(i)], old, scale) : scale(old));
    }
}

} // namespace

class UnitWalk {
public:
    static void Run(Cursor& table, const QStringList& columns, LengthScale scale,
                    UnitWalkMemory* memory) {
        if (!table.isOpen())
            return;
        if (table.state() != Cursor::State::Browse)
            table.post();
        const std::vector<int> fields = Resolve(table, columns);
        const int id = table.findField(QStringLiteral("ID"));
        {
            WalkGuard guard(table, SortsBy(table.sort(), columns));
            for (table.first(); !table.eof(); table.next()) {
                table.edit();
                // Rows are told apart by their ID; without one nothing is kept.
                if (memory && id >= 0)
                    ScaleFields(table, fields, columns, scale, memory,
                                table.value(id).toString() + u'/');
                else
                    ScaleFields(table, fields, columns, scale, nullptr, {});
                table.post();
            }
        }
        table.first();
    }
};

double UnitWalkMemory::Convert(const QString& cell, double old, LengthScale scale) {
    double converted = scale(old);
    const auto seen = m_cells.constFind(cell);
    if (seen != m_cells.cend() && seen->written == old)
        converted = seen->before;
    m_cells.insert(cell, {old, converted});
    return converted;
}

void ScaleCurrentRow(Cursor& table, const QStringList& columns, LengthScale scale,
                     UnitWalkMemory* memory) {
    table.edit();
    ScaleFields(table, Resolve(table, columns), columns, scale, memory, {});
}

void ScaleEveryRow(Cursor& table, const QStringList& columns, LengthScale scale,
                   UnitWalkMemory* memory) {
    UnitWalk::Run(table, columns, scale, memory);
}

void BlankZeros(Cursor& table, const QStringList& columns) {
    const std::vector<int> fields = Resolve(table, columns);
    table.edit();
    for (const int f : fields) {
        const QVariant v = table.value(f);
        if (!v.isNull() && v.toDouble() == 0)
            table.setValue(f, QVariant());
    }
}

} // namespace vorn
