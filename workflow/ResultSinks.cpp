#include "ResultSinks.h"

#include "Cursor.h"
#include "RowPlacements.h"

#include <QVariant>

#include <cstring>
#include <type_traits>

namespace vorn {

namespace {
// Rows per append: a batch stays in the cache while it is written.
constexpr std::size_t kBatchRows = 1024;

SharedPlacements& PlacementsOf(ResultRow& r) {
    return r.boards;
}
SharedPlacements& PlacementsOf(ArrayRow& r) {
    return r.units;
}

// Panel 2's boards of a two-size row; an array row has no panel 2.
void KeepSecond(RowPlacements& kept, qint64 id, ResultRow& r) {
    if (r.second)
        kept.KeepSecond(id, std::move(r.second->boards));
}
void KeepSecond(RowPlacements&, qint64, ArrayRow&) {}
} // namespace

template <class Row, class Sink>
TableSink<Row, Sink>::TableSink(Cursor& table, RowPlacements* placements)
    : table_(table), placements_(placements) {
    // Number is set after sorting.
    ForEachColumn(Row{}, [this](const char* name, const auto&) {
        fields_.push_back(
            std::strcmp(name, "Number") == 0 ? -1 : table_.fieldIndex(QString::fromLatin1(name)));
    });
    batch_.reserve(kBatchRows);
    clock_.start();
}

template <class Row, class Sink> TableSink<Row, Sink>::~TableSink() {
    // A search that stopped early leaves the rows it found with the table.
    try {
        Flush();
    } catch (...) {
        // Nothing may leave a destructor; Finish() reports such a failure.
    }
}

template <class Row, class Sink> void TableSink<Row, Sink>::Write(const Row& r) {
    const std::int64_t start = clock_.nsecsElapsed();
    batch_.push_back(r);
    if (batch_.size() >= kBatchRows)
        Flush();
    ++rows_;
    ns_ += clock_.nsecsElapsed() - start;
}

template <class Row, class Sink> void TableSink<Row, Sink>::Finish() {
    const std::int64_t start = clock_.nsecsElapsed();
    Flush();
    ns_ += clock_.nsecsElapsed() - start;
}

template <class Row, class Sink> void TableSink<Row, Sink>::Flush() {
    if (batch_.empty())
        return;
    const qint64 firstId =
        table_.appendRows(int(batch_.size()), [this](int i, Cursor::RowWriter& w) {
            std::size_t column = 0;
            ForEachColumn(batch_[std::size_t(i)], [&](const char*, const auto& v) {
                using V = std::decay_t<decltype(v)>;
                const int field = fields_[column++];
                if (field < 0)
                    return;
                if constexpr (std::is_same_v<V, char>) {
                    QString& letter = letters_[static_cast<unsigned char>(v)];
                    if (letter.isEmpty())
                        letter = QString(QChar::fromLatin1(v));
                    w.setText(field, letter);
                } else if constexpr (std::is_arithmetic_v<V>) {
                    w.setNumber(field, v);
                }
                // std::nullopt: the new row's field stays null
            });
        });
    if (placements_ && firstId > 0)
        for (std::size_t i = 0; i < batch_.size(); ++i) {
            placements_->Keep(firstId + qint64(i), std::move(PlacementsOf(batch_[i])));
            KeepSecond(*placements_, firstId + qint64(i), batch_[i]);
        }
    batch_.clear();
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
