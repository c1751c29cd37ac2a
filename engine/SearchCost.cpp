#include "SearchCost.h"

#include "Layout.h"
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

// The sides of the search's six lists and its blocks (a fixed side paired
// with one list), walked as the search walks them; a block met before costs
// nothing, a new one a layout per distinct side of its list.
class Walk {
public:
    Walk(const PanelJob& job, DisplayUnit unit) {
        const double f = UnitFactor(unit);
        const double a = job.Set_L / f, b = job.Set_W / f;
        L_ = std::max(a, b);
        W_ = std::min(a, b);
        C_ = job.Set_C / f;
        BXL_ = job.BorderX_L / f;
        BXW_ = job.BorderX_W / f;
        // The search walks no further than a board cell beyond the sheets.
        const double reach = PanelSideReach(job, unit);
        maxPL_ = std::min(job.Max_PL / f, reach);
        maxPW_ = std::min(job.Max_PW / f, reach);
    }

    bool Steps() const { return L_ + C_ > 0 && W_ + C_ > 0; }

    // Distinct sides of lengths (first) or widths of one and of two counts.
    double Distinct(bool length, bool two) const {
        const double B = length ? BXL_ : BXW_, max = length ? maxPL_ : maxPW_;
        std::unordered_set<std::uint64_t> seen;
        for (int o = 1;; ++o) {
            const double first = GridSide(B, L_, W_, C_, o, two ? 1 : 0);
            if (!TolLe(first, max) || seen.size() > kEnough)
                break;
            if (!two) {
                seen.insert(std::bit_cast<std::uint64_t>(first));
                continue;
            }
            for (int in = 1;; ++in) {
                const double s = GridSide(B, L_, W_, C_, o, in);
                if (!TolLe(s, max))
                    break;
                seen.insert(std::bit_cast<std::uint64_t>(s));
            }
        }
        return static_cast<double>(seen.size());
    }

    // The new blocks of one direction's sections (A and B for fixed widths,
    // C and D for fixed lengths), each with the length of its list.
    double NewCandidates(bool fixedWidth, double one, double two) const {
        const double B = fixedWidth ? BXW_ : BXL_, max = fixedWidth ? maxPW_ : maxPL_;
        std::unordered_set<std::uint64_t> one_, twoA_, twoB_;
        double sum = 0;
        auto block = [&](double fixed, std::unordered_set<std::uint64_t>& seen, double size) {
            if (size > 0 && seen.insert(std::bit_cast<std::uint64_t>(fixed)).second)
                sum += size;
        };
        for (int k = 1;; ++k) { // A / C: sides of k board widths
            const double s = GridSide(B, L_, W_, C_, 0, k);
            if (!TolLe(s, max))
                break;
            block(s, one_, one);
            if (TolLe(L_, s - 2 * B))
                block(s, twoA_, two);
        }
        for (int i = 1;; ++i) { // B / D: sides of i board lengths, grown by widths
            const double s = GridSide(B, L_, W_, C_, i, 0);
            if (!TolLe(s, max))
                break;
            block(s, twoB_, two);
            for (int d = 1;; ++d) {
                const double g = GridSide(B, L_, W_, C_, i, d);
                if (!TolLe(g, max))
                    break;
                block(g, twoA_, two);
            }
        }
        return sum;
    }

    // Bands a board layout works through: boards of the shorter side along
    // both limits.
    double Rounds() const {
        const double cell = W_ + C_;
        return std::max(0.0, (maxPL_ - 2 * BXL_ + C_) / cell) +
               std::max(0.0, (maxPW_ - 2 * BXW_ + C_) / cell);
    }

    // Past this many sides the estimate is far beyond any bound already.
    static constexpr std::size_t kEnough = std::size_t{1} << 22;

private:
    double L_ = 0, W_ = 0, C_ = 0, BXL_ = 0, BXW_ = 0, maxPL_ = 0, maxPW_ = 0;
};

} // namespace

SearchCost EstimatePanelSearchCost(const PanelJob& job, DisplayUnit unit) {
    SearchCost cost;
    const Walk walk(job, unit);
    if (!job.AUTOPanel || !walk.Steps())
        return cost;
    const double pl1 = walk.Distinct(true, false), pl2 = walk.Distinct(true, true);
    const double pw1 = walk.Distinct(false, false), pw2 = walk.Distinct(false, true);
    cost.candidates = walk.NewCandidates(true, pl1, pl2) + walk.NewCandidates(false, pw1, pw2);
    if (job.PanelNumber == "2")
        cost.collected = cost.candidates * kCollectedShare;
    cost.seconds = cost.candidates * (kSecondsPerCandidate + walk.Rounds() * kSecondsPerRound) +
                   cost.collected * cost.collected / 2 * kSecondsPerPair;
    cost.megabytes = kBaseMegabytes + cost.collected * kBytesPerCollected / 1e6;
    return cost;
}

} // namespace vorn
