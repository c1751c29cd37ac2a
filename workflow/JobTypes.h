#pragma once
// Small types the main window's job commands share with their tests.

#include "PlanViews.h" // DiagramView

#include <cstdint>

namespace vorn {

// Where the time of the last search command went, in nanoseconds.
struct SearchTimings {
    std::int64_t total = 0;       // the whole command, first row picked up
    std::int64_t engine = 0;      // the search itself, without the parts below
    std::int64_t tableWrites = 0; // rows appended, sorted and numbered
    std::int64_t looks = 0;       // progress box shown, events processed
    std::int64_t pickUp = 0;      // the first row copied and drawn
    int lookCount = 0;
    int rows = 0;
    std::int64_t longestGap = 0; // the longest time without a look, F2 to the final fill
    std::int64_t firstLook = 0;  // F2 to the first look (the box drawn)
};

} // namespace vorn
