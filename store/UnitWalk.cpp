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

void ScaleRow(Cursor& table, const std::vector<int>& fields, LengthScale scale) {
    table.edit();
    for (const int f : fields) {
        const QVariant v = table.value(f);
        if (!v.isNull())
            table.setNumber(f, scale(v.toDouble()));
    }
}

// Holds the table's grids and fields for the walk, also when it throws.
class HeldControls {
public:
    explicit HeldControls(Cursor& table) : table_(table) { table_.disableControls(); }
    ~HeldControls() { table_.enableControls(); }
    HeldControls(const HeldControls&) = delete;
    HeldControls& operator=(const HeldControls&) = delete;

private:
    Cursor& table_;
};

} // namespace

void ScaleCurrentRow(Cursor& table, const QStringList& columns, LengthScale scale) {
    ScaleRow(table, Resolve(table, columns), scale);
}

void ScaleEveryRow(Cursor& table, const QStringList& columns, LengthScale scale) {
    if (!table.isOpen())
        return;
    const std::vector<int> fields = Resolve(table, columns);
    HeldControls held(table);
    const QString filter = table.filter();
    table.setFilter(QString());
    try {
        for (table.first(); !table.eof(); table.next()) {
            ScaleRow(table, fields, scale);
            table.post();
        }
    } catch (...) {
        table.cancel();
        table.setFilter(filter);
        throw;
    }
    table.setFilter(filter);
    table.first();
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
