#pragma once
// Sinks that append the rows of a search to the working result tables. Field
// indexes are looked up once; each row is one append and one post.

#include "SearchInterfaces.h"

#include <QElapsedTimer>
#include <array>
#include <cstdint>
#include <functional>

namespace vorn {

class Cursor;

// Appends to `TempResult`. The cursor should be unsorted while rows arrive
// (see FinishResultTable).
class ResultTableSink : public ResultSink {
public:
    explicit ResultTableSink(Cursor& table);
    void Write(const ResultRow& row) override;
    std::int64_t Nanoseconds() const { return ns_; }
    int Rows() const { return rows_; }

private:
    Cursor& table_;
    std::array<int, 48> f_{};
    QElapsedTimer clock_;
    std::int64_t ns_ = 0;
    int rows_ = 0;
};

// Appends to `TempResultCus`.
class ArrayTableSink : public ArraySink {
public:
    explicit ArrayTableSink(Cursor& table);
    void Write(const ArrayRow& row) override;
    std::int64_t Nanoseconds() const { return ns_; }
    int Rows() const { return rows_; }

private:
    Cursor& table_;
    std::array<int, 15> f_{};
    QElapsedTimer clock_;
    std::int64_t ns_ = 0;
    int rows_ = 0;
};

// Sorts the table by `sort` (equal keys in the order written) and sets
// `Number` := 1..n in that order; the first row is current afterwards.
// Numbering runs with the order frozen, so no row moves while it is edited.
// `tick`, when given, runs every few thousand rows (the window keeps painting).
void NumberInSortOrder(Cursor& table, const char* sort, const std::function<void()>& tick = {});

} // namespace vorn
