#pragma once
// One piece as placed, on its own so that records holding placements need
// nothing else of the engine.

#include <vector>

namespace vorn {

// One piece as placed: lower-left corner from the container's lower-left
// corner (x along the container length, y up), its extent along x (length)
// and along y (width), and whether its own length runs along y.
struct Placement {
    double x = 0, y = 0, length = 0, width = 0;
    bool turned = false;
    bool operator==(const Placement&) const = default;
};

// Every length of the placements mapped by `scale` (a change of unit).
template <class Scale> void ScalePlacements(std::vector<Placement>& placements, Scale scale) {
    for (Placement& p : placements) {
        p.x = scale(p.x);
        p.y = scale(p.y);
        p.length = scale(p.length);
        p.width = scale(p.width);
    }
}

} // namespace vorn
