#include "ResultSinks.h"

#include "Cursor.h"

#include <QVariant>

#include <cstring>
#include <type_traits>

namespace vorn {

template <class Row, class Sink> TableSink<Row, Sink>::TableSink(Cursor& table) : table_(table) {
    // Number is set after sorting.
    ForEachColumn(Row{}, [this](const char* name, const auto&) {
        fields_.push_back(
            std::strcmp(name, "Number") == 0 ? -1 : table_.fieldIndex(QString::fromLatin1(name)));
    });
    clock_.start();
}

template <class Row, class Sink> void TableSink<Row, Sink>::Write(const Row& r) {
    const std::int64_t start = clock_.nsecsElapsed();
    Cursor& t = table_;
    t.append();
    std::size_t i = 0;
    ForEachColumn(r, [&](const char*, const auto& v) {
        using V = std::decay_t<decltype(v)>;
        const int field = fields_[i++];
        if (field < 0)
            return;
        if constexpr (std::is_same_v<V, char>)
            t.setValue(field, QString(QChar::fromLatin1(v)));
        else if constexpr (std::is_arithmetic_v<V>)
            t.setNumber(field, v);
        // std::nullopt: the new row's field stays null
    });
    t.post();
    ++rows_;
    ns_ += clock_.nsecsElapsed() - start;
}

template class TableSink<ResultRow, ResultSink>;
template class TableSink<ArrayRow, ArraySink>;

void NumberInSortOrder(Cursor& table, const char* sort) {
    table.setFiltered(false);
    table.setSort(QString::fromLatin1(sort));
    // Equal keys keep the order written, so numbering moves nothing.
    table.numberRows(table.fieldIndex(QStringLiteral("Number")));
    table.first();
}

} // namespace vorn
