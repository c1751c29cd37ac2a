#pragma once
// The most identical boards (turns allowed) in a container: the pallet
// loading problem. Lengths are scaled to integers, cut positions kept to
// raster points (sums i * l + j * w), and sub-rectangles shrunk to the
// largest raster size that fits, so that equal sub-problems are solved once.
// The classic block routine (LayoutPieces) is the floor: never fewer boards.

#include "Layout.h"
#include "Placements.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vorn {

enum class PackMode {
    Routed,     // any layout without overlap
    Guillotine, // every cut runs straight through the piece it divides (V-scoring)
};

struct PackRequest {
    double containerL = 0, containerW = 0; // x, y
    double pieceL = 0, pieceW = 0;         // either order
    double gap = 0;                        // least distance between two boards
    double marginL = 0, marginW = 0;       // kept free at both ends of each side
    PackMode mode = PackMode::Routed;
    double seconds = 1; // time limit: past it, the best layout found so far
    // Where not 0, a limit in solver steps instead of time: the same layout
    // on every machine (the searches use it, so that their rows never
    // depend on the machine's speed or load).
    std::uint64_t steps = 0;
};

enum class PackMethod {
    Routine,    // the classic blocks were already best
    Guillotine, // recursive straight cuts
    FiveBlock,  // four blocks in a pinwheel around a fifth, nested
    LPieces,    // rectangles and L-shaped pieces divided recursively
};

struct PackResult {
    std::vector<Placement> placements; // the layout centred in the usable area
    std::int64_t count = 0;
    std::int64_t upperBound = 0; // no layout of the mode holds more
    bool proven = false;         // count == upperBound
    std::int64_t routineCount = 0;
    bool integral = false; // the lengths scaled to integers; otherwise the routine alone
    bool timedOut = false;
    PackMethod method = PackMethod::Routine;
    int depth = 0;           // nesting of the five-block patterns searched
    std::uint64_t steps = 0; // solver steps spent
};

// The cheap part alone: the routine's count and the upper bound (area and
// Barnes' bound for the routed mode). A caller that lays out many candidate
// containers asks this first and calls BestPacking only where
// bound > routine. A caller that has the routine's count passes it in
// `routineCount` and saves laying it out again.
struct PackBounds {
    std::int64_t routineCount = 0;
    std::int64_t upperBound = 0;
    bool integral = false;
};
PackBounds BestPackingBounds(const PackRequest& request, std::int64_t routineCount = -1);

PackResult BestPacking(const PackRequest& request);

// BestPacking for many containers of one board, gap, margins and mode (the
// candidates of a search): one solver's tables cover the largest container
// met so far, so a sub-problem solved for one container is solved for all.
// Each container gets `seconds` (or `steps`) of the request, and building
// the tables kTableTimes as much: they serve every container after it. A
// container whose lengths need a finer scale than the tables', or too large
// for them, is solved on its own.
inline constexpr double kTableTimes = 40;
class PackingTable {
public:
    explicit PackingTable(const PackRequest& request); // its container is not used
    ~PackingTable();
    PackingTable(PackingTable&&) noexcept;
    PackingTable& operator=(PackingTable&&) noexcept;
    PackResult Pack(double containerL, double containerW);

private:
    struct Tables;
    PackRequest request_;
    std::unique_ptr<Tables> tables_;
};

// The routine's blocks (from LayoutPieces with pieceL >= pieceW) as
// placements, anchored at the margins; lay.Pieces() of them.
std::vector<Placement> LayoutPlacements(const Layout& lay, double pieceL, double pieceW, double gap,
                                        double marginL, double marginW);

// Upper bound on l x w boxes (integers) in an X x Y container: the area and
// Barnes' bound from packing 1 x l and 1 x w bars.
std::int64_t PackingUpperBound(std::int64_t X, std::int64_t Y, std::int64_t l, std::int64_t w);

// The placements checked: inside the container less its margins, no two
// boards closer than the gap (in x or in y), and for guillotine also cut
// apart by straight lines down to single boards. Empty when sound,
// otherwise what is wrong.
std::string PlacementFault(const std::vector<Placement>& placements, const PackRequest& request,
                           bool guillotine);

} // namespace vorn
