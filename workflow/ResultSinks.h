#pragma once
// Sinks that append the rows of a search to the working result tables. Field
// indexes are looked up once; rows are gathered and appended in batches.

#include "SearchInterfaces.h"

#include <QElapsedTimer>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace vorn {

class Cursor;
class RowPlacements;

// Appends the rows of a search to a working table, `TempResult` for
// ResultRow, `TempResultCus` for ArrayRow. The cursor should be unsorted
// while rows arrive (see NumberInSortOrder). Rows reach the table a batch at
// a time, the last ones at Finish(). The placements of a row laid out beyond
// the blocks (ResultRow::boards, ArrayRow::units) go to `placements` under
// the row's ID; without it they are dropped.
template <class Row, class Sink> class TableSink : public Sink {
public:
    explicit TableSink(Cursor& table, RowPlacements* placements = nullptr);
    ~TableSink() override;
    void Write(const Row& row) override;
    // Appends the rows still gathered; call before the table is read.
    void Finish();
    std::int64_t Nanoseconds() const { return ns_; }
    int Rows() const { return rows_; }

private:
    void Flush();

    Cursor& table_;
    RowPlacements* placements_;
    std::vector<int> fields_; // in the row's column order; -1: not written
    std::vector<Row> batch_;
    std::array<QString, 256> letters_; // one shared text per pattern letter
    QElapsedTimer clock_;
    std::int64_t ns_ = 0;
    int rows_ = 0;
};

using ResultTableSink = TableSink<ResultRow, ResultSink>;
using ArrayTableSink = TableSink<ArrayRow, ArraySink>;

// Sorts the table by `sort` (equal keys in the order written) and sets
// `Number` := 1..n in that order; the first row is current afterwards.
void NumberInSortOrder(Cursor& table, const char* sort);

} // namespace vorn
