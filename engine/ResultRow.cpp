#include "ResultRow.h"

#include <algorithm>
#include <numeric>
#include <tuple>

namespace vorn {

namespace {

// Orders the rows by their keys, ties by the order written, moving each row
// once: the rows are large and a search writes tens of thousands.
template <class Row, class Key> void SortByKey(std::vector<Row>& rows, Key key) {
    std::vector<std::pair<decltype(key(rows.front())), std::size_t>> order;
    order.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        order.emplace_back(key(rows[i]), i);
    std::sort(order.begin(), order.end());
    std::vector<Row> sorted;
    sorted.reserve(rows.size());
    for (const auto& o : order)
        sorted.push_back(std::move(rows[o.second]));
    rows = std::move(sorted);
    int n = 0;
    for (Row& r : rows)
        r.Number = ++n;
}

} // namespace

void SortAndNumber(std::vector<ResultRow>& rows) {
    if (!rows.empty())
        SortByKey(rows,
                  [](const ResultRow& r) { return std::make_pair(r.Base_down, r.Panel_down); });
}

void SortAndNumber(std::vector<ArrayRow>& rows) {
    if (!rows.empty())
        SortByKey(rows, [](const ArrayRow& r) { return r.Panel_Down; });
}

} // namespace vorn
