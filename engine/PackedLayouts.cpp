#include "PackedLayouts.h"

#include "BestPacking.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <functional>

namespace vorn {

namespace {

PackRequest RequestOf(PackingOption option, const PackedPiece& piece, double containerL,
                      double containerW, std::uint64_t steps) {
    PackRequest q;
    // The margins go with the sides as given: no turn of the container.
    q.containerL = containerL;
    q.containerW = containerW;
    q.pieceL = std::max(piece.pieceL, piece.pieceW);
    q.pieceW = std::min(piece.pieceL, piece.pieceW);
    q.gap = piece.gap;
    q.marginL = piece.marginL;
    q.marginW = piece.marginW;
    q.mode = option == PackingOption::VScored ? PackMode::Guillotine : PackMode::Routed;
    q.steps = steps;
    return q;
}

} // namespace

std::vector<Placement> BetterLayout(PackingOption option, const PackedPiece& piece,
                                    double containerL, double containerW, std::int64_t routine,
                                    std::uint64_t steps) {
    if (option == PackingOption::Off)
        return {};
    const PackRequest q = RequestOf(option, piece, containerL, containerW, steps);
    // Most containers are proven by the bound alone.
    if (!(BestPackingBounds(q).upperBound > routine))
        return {};
    PackResult best = BestPacking(q);
    if (!(best.count > routine))
        return {};
    return std::move(best.placements);
}

std::size_t PackedLayouts::KeyHash::operator()(const Key& k) const {
    const auto a = std::bit_cast<std::uint64_t>(k.l), b = std::bit_cast<std::uint64_t>(k.w);
    return std::hash<std::uint64_t>()(a * 0x9E3779B97F4A7C15ULL ^ b);
}

std::uint64_t SearchWork(const SearchStats& s) {
    // Weights fitted to the search's time over small and large jobs: a row
    // costs about 12 layouts, a pair of panel sizes tried a sixth of one, a
    // pair ruled out by its bounds next to nothing.
    const std::int64_t work = s.layoutCalls + 12 * s.rowsWritten +
                              (s.pairsTried - s.pairsBounded) / 6 + s.pairsBounded / 250;
    return static_cast<std::uint64_t>(std::max<std::int64_t>(work, 0));
}

PackedLayouts::PackedLayouts(PackingOption option, const PackedPiece& piece, SearchStats& stats,
                             std::uint64_t steps)
    : option_(option), piece_(piece), steps_(steps), stats_(stats) {}

PackedLayouts::Known& PackedLayouts::Find(double containerL, double containerW,
                                          std::int64_t routine) {
    // A size is laid out the same whatever candidate meets it, and the
    // routine gives it the same count.
    const Key key{containerL, containerW};
    auto [it, added] = known_.try_emplace(key);
    Known& k = it->second;
    if (added) {
        const PackRequest q = RequestOf(option_, piece_, key.l, key.w, steps_);
        k.bound = BestPackingBounds(q, routine).upperBound;
        if (k.bound > routine) {
            ++stats_.packRoom;
            ++stats_.packSkipped; // until the solver lays it out
        } else {
            k.solved = true; // the bound proves the routine best
        }
    }
    return k;
}

const SharedPlacements* PackedLayouts::Look(double containerL, double containerW,
                                            std::int64_t routine) {
    using Clock = std::chrono::steady_clock;
    Known& k = Find(containerL, containerW, routine);
    if (!k.solved &&
        solverSteps_ <= kSearchPackFloorSteps + kSearchPackStepsPerWork * SearchWork(stats_)) {
        k.solved = true;
        --stats_.packSkipped;
        ++stats_.packSolved;
        const Clock::time_point t0 = Clock::now();
        if (!table_)
            table_ = std::make_unique<PackingTable>(
                RequestOf(option_, piece_, containerL, containerW, steps_));
        PackResult best = table_->Pack(containerL, containerW);
        solverSteps_ += best.steps;
        stats_.packSteps += static_cast<std::int64_t>(best.steps);
        if (best.count > routine) {
            ++stats_.packGained;
            stats_.packBoards += best.count - routine;
            k.better = std::move(best.placements);
        }
        solver_ += Clock::now() - t0;
        stats_.packTime = std::chrono::duration_cast<std::chrono::nanoseconds>(solver_);
    }
    return k.better.empty() ? nullptr : &k.better;
}

PackedLayouts PanelSearchPacking(const PanelJob& job, SearchStats& stats) {
    return PackedLayouts(job.BothPanel ? job.packing : PackingOption::Off,
                         {job.Set_L, job.Set_W, job.Set_C, job.BorderX_L, job.BorderX_W}, stats);
}

namespace {
// The margins a layout of placed boards leaves: its least corner.
void LeastCorner(const SharedPlacements& boards, double& x, double& y) {
    if (!boards.empty()) {
        x = boards[0].x;
        y = boards[0].y;
    }
    for (const Placement& p : boards) {
        x = std::min(x, p.x);
        y = std::min(y, p.y);
    }
}
} // namespace

void TakePackedBoards(ResultRow& r, const SharedPlacements& boards) {
    r.Set_La = r.Set_Wb = r.Set_Lb = r.Set_Wa = r.Set_sLa = r.Set_sWb = 0;
    r.Up = 'N';
    LeastCorner(boards, r.Border_L, r.Border_W);
    r.boards = boards;
}

void TakePackedBoards(SecondPanel& s, const SharedPlacements& boards) {
    s.Set_La2 = s.Set_Wb2 = s.Set_Lb2 = s.Set_Wa2 = s.Set_sLa2 = s.Set_sWb2 = 0;
    s.Up2 = 'N';
    LeastCorner(boards, s.Border_L2, s.Border_W2);
    s.boards = boards;
}

} // namespace vorn
