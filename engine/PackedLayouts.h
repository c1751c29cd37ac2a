#pragma once
// Layouts beyond the block routine for the panels (or arrays) a plan or a
// search lays out: the upper bound is asked first, and the solver runs only
// where it leaves room above the routine's count, so most candidates cost
// a few microseconds.

#include "BestPacking.h"
#include "PanelJob.h"
#include "Placement.h"
#include "ResultRow.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

namespace vorn {

// The solver's work in a search is counted in its steps, never timed, so
// that the rows never depend on the machine's speed or load (about 150,000
// steps a millisecond on a 2020s desktop).
// For one candidate (about 1 ms; its tables, where it builds them,
// kTableTimes as much): a search meets thousands, and past this the best
// layout found so far is taken. Most gains are found in the first steps:
// 150,000 gained j3 282 boards where 500,000 gained 113 in the same steps.
inline constexpr std::uint64_t kSearchPackSteps = 150'000;
// For a whole search: a few milliseconds whatever its size, and beyond
// them about half its own work (SearchWork) in the solver's steps, so that
// the option at most about doubles a search; candidates past it keep the
// routine's layout until the search has done more.
inline constexpr std::uint64_t kSearchPackFloorSteps = 3'000'000;
inline constexpr std::uint64_t kSearchPackStepsPerWork = 32;
// For one typed panel (about a second).
inline constexpr std::uint64_t kTypedPanelPackSteps = 150'000'000;

// Pieces pieceL x pieceW (either order) with the least gap between them, in a
// containerL x containerW with the least margins at both ends of each side.
// Lengths in the unit the plan shows: millimetres stay whole numbers.
struct PackedPiece {
    double pieceL = 0, pieceW = 0, gap = 0, marginL = 0, marginW = 0;
};

// The placements of a better layout than the routine's `routine` pieces in
// a containerL x containerW (marginL at both ends of containerL, x along it);
// empty when the option is off, the bound proves the routine best, or the
// solver finds no more within `steps` steps.
std::vector<Placement> BetterLayout(PackingOption option, const PackedPiece& piece,
                                    double containerL, double containerW, std::int64_t routine,
                                    std::uint64_t steps);

// A search's own work so far, in units of about one layout's time, from the
// counts it keeps in walk order (so never from a clock or a thread).
std::uint64_t SearchWork(const SearchStats& stats);

// BetterLayout for the candidates of one search, remembered by size (a size
// met again, on another sheet or in another pass, costs a look-up), on one
// PackingTable, within the search's allowance for the solver.
class PackedLayouts {
public:
    // `stats`: where the search counts its work and the solver's.
    PackedLayouts(PackingOption option, const PackedPiece& piece, SearchStats& stats,
                  std::uint64_t steps = kSearchPackSteps);
    bool On() const { return option_ != PackingOption::Off; }
    // The most boards a containerL x containerW candidate whose routine holds
    // `routine` could hold (`routine` when off): a caller asks it first and
    // looks for a better layout only where more boards would change a row.
    std::int64_t Bound(double containerL, double containerW, std::int64_t routine) {
        return On() ? Find(containerL, containerW, routine).bound : routine;
    }
    // The better layout of such a candidate; nullptr when there is none (at
    // once when off) or the search has spent its allowance so far. Every
    // row laid out so shares this one list.
    const SharedPlacements* Better(double containerL, double containerW, std::int64_t routine) {
        return On() ? Look(containerL, containerW, routine) : nullptr;
    }

private:
    struct Key {
        double l, w;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& k) const;
    };
    struct Known {
        std::int64_t bound = 0;
        bool solved = false;
        SharedPlacements better;
    };
    Known& Find(double containerL, double containerW, std::int64_t routine);
    const SharedPlacements* Look(double containerL, double containerW, std::int64_t routine);
    PackingOption option_;
    PackedPiece piece_;
    std::uint64_t steps_;
    std::uint64_t solverSteps_ = 0;
    std::unordered_map<Key, Known, KeyHash> known_;
    SearchStats& stats_;
    std::chrono::steady_clock::duration solver_{0};
    std::unique_ptr<PackingTable> table_; // made by the first candidate that needs it
};

// The better layouts of a panel search's candidates: the job's option where
// its boards may mix orientation in a panel (every layout beyond the blocks
// turns some), otherwise off.
PackedLayouts PanelSearchPacking(const PanelJob& job, SearchStats& stats);

// A result row's panel laid out as `boards` instead of the blocks: the block
// counts 0, pattern 'N', the placements kept, and the margins those of the
// centred layout (its left and bottom distances). The count and the
// utilizations are the caller's, who knows the row's other sizes.
void TakePackedBoards(ResultRow& r, const SharedPlacements& boards);
// The same for panel 2 of a two-size plan.
void TakePackedBoards(SecondPanel& s, const SharedPlacements& boards);

} // namespace vorn
