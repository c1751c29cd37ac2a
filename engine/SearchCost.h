#pragma once
// What an automatic panel search will cost, worked out from the job in well
// under a second: the input domain refuses a job by it, and the benchmarks
// print it beside what the search really took.

#include "PanelJob.h"

namespace vorn {

struct SearchCost {
    double candidates = 0; // panel sizes laid out the first time (the walk's new sizes)
    double collected = 0;  // sizes the two-size stage pairs (two panel kinds), estimated
    double seconds = 0;    // on one core of a 2020s desktop
    double megabytes = 0;  // peak
};

// The cost of RunPanelSearch for an automatic job whose values the input
// domain accepts; zero for typed panels.
SearchCost EstimatePanelSearchCost(const PanelJob& job, DisplayUnit unit);

// The share of a two-kind search's time its single-size stage takes, from
// the sizes it lays out the first time (the bar divides by it).
double SingleStageShare(double newSizes);

} // namespace vorn
