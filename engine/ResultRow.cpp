#include "ResultRow.h"

#include <algorithm>

namespace vorn {

void SortAndNumber(std::vector<ResultRow>& rows) {
    std::stable_sort(rows.begin(), rows.end(), [](const ResultRow& a, const ResultRow& b) {
        if (a.Base_down != b.Base_down)
            return a.Base_down < b.Base_down;
        return a.Panel_down < b.Panel_down;
    });
    int n = 0;
    for (ResultRow& r : rows)
        r.Number = ++n;
}

void SortAndNumber(std::vector<ArrayRow>& rows) {
    std::stable_sort(rows.begin(), rows.end(), [](const ArrayRow& a, const ArrayRow& b) {
        return a.Panel_Down < b.Panel_Down;
    });
    int n = 0;
    for (ArrayRow& r : rows)
        r.Number = ++n;
}

} // namespace vorn
