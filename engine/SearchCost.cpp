#include "SearchCost.h"

#include "FlatTable.h"
#include "Layout.h"
#include "PanelWalk.h"
#include "SearchBounds.h"
#include "Tolerance.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <unordered_set>
#include <utility>

namespace vorn {

namespace {

// Measured on the bench jobs (j1-j5, s1-s10; engine_bench prints the
// estimate beside the run): a new size costs about 1 us and 2 ns per round
// of its layout (the layout memo keeps what a side needs); the sizes the
// two-size stage pairs are 0.3-7 % of the new sizes (7 % taken); a pair
// costs 2-80 ns (the bounds rule most out in bulk; 30 ns taken); memory is
// the bounded caches (about 350 MB) and, per collected size, its cuts,
// roles and lanes (about 4 KB) and the rows it leads to (about 25 of about
// 1.2 KB each).
constexpr double kCollectedShare = 0.07;
constexpr double kSecondsPerCandidate = 1e-6;
constexpr double kSecondsPerRound = 2e-9;
constexpr double kSecondsPerPair = 30e-9;
constexpr double kBaseMegabytes = 350;
constexpr double kBytesPerCollected = 4e3 + 25 * 1.2e3;

// Past this many sides of a list the estimate is far beyond any bound already.
constexpr std::size_t kEnough = std::size_t{1} << 22;

// The new blocks of the walk, each a layout per distinct side of its list.
double NewCandidates(const PanelWalk& walk) {
    double distinct[PanelWalk::kListCount];
    for (int list = 0; list < PanelWalk::kListCount; ++list) {
        std::unordered_set<std::uint64_t> seen;
        walk.ForList(list, [&](double side) {
            seen.insert(std::bit_cast<std::uint64_t>(side));
            return seen.size() <= kEnough;
        });
        distinct[list] = static_cast<double>(seen.size());
    }
    std::unordered_set<SizeKey, SizeKeyHash> blocks;
    double sum = 0;
    walk.ForEachBlock([&](double fixed, int list) {
        if (distinct[list] > 0 &&
            blocks.insert({std::bit_cast<std::uint64_t>(fixed), static_cast<std::uint64_t>(list)})
                .second)
            sum += distinct[list];
    });
    return sum;
}

} // namespace

double SingleStageShare(double newSizes) {
    const double single = newSizes * kSecondsPerCandidate;
    const double collected = newSizes * kCollectedShare;
    const double pairs = collected * collected / 2 * kSecondsPerPair;
    return single + pairs > 0 ? single / (single + pairs) : 1;
}

SearchCost EstimatePanelSearchCost(const PanelJob& job, DisplayUnit unit) {
    SearchCost cost;
    const PanelWalk walk = SearchWalk(job, unit);
    if (!job.AUTOPanel || !walk.Steps())
        return cost;
    cost.candidates = NewCandidates(walk);
    if (job.PanelNumber == "2")
        cost.collected = cost.candidates * kCollectedShare;
    cost.seconds = cost.candidates * (kSecondsPerCandidate + walk.Rounds() * kSecondsPerRound) +
                   cost.collected * cost.collected / 2 * kSecondsPerPair;
    cost.megabytes = kBaseMegabytes + cost.collected * kBytesPerCollected / 1e6;
    return cost;
}

} // namespace vorn
