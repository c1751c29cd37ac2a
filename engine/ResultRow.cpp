#include "ResultRow.h"

#include <algorithm>
#include <numeric>
#include <tuple>

namespace vorn {

namespace {

// Orders the rows by their keys, ties by the order written. The rows are
// large and a search writes up to a million or more: the order is found on
// keys and indices, then applied in place, cycle by cycle, so the rows are
// never held twice.
template <class Row, class Key> void SortByKey(std::vector<Row>& rows, Key key) {
    std::vector<std::pair<decltype(key(rows.front())), std::size_t>> order;
    order.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        order.emplace_back(key(rows[i]), i);
    std::sort(order.begin(), order.end());
    std::vector<std::size_t> from(order.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        from[i] = order[i].second;
    decltype(order)().swap(order);
    // Row i takes row from[i]; a placed row is marked by from[i] == i. Along
    // a cycle each swap places one row and carries the cycle's first on.
    for (std::size_t start = 0; start < rows.size(); ++start) {
        std::size_t i = start;
        while (from[i] != start) {
            const std::size_t next = from[i];
            std::swap(rows[i], rows[next]);
            from[i] = i;
            i = next;
        }
        from[i] = i;
    }
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
