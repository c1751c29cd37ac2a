#pragma once
// One piece as placed, on its own so that records holding placements need
// nothing else of the engine.

#include <memory>
#include <utility>
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

// One immutable list of placements that every row laid out the same way
// points at: a panel size is met on many sheets and in many plans, and a
// copy per row would hold the same hundred boards hundreds of thousands of
// times. Null (and empty) is a block layout. Compared by value, so two rows
// with equal boards are equal wherever their lists live.
class SharedPlacements {
public:
    SharedPlacements() = default;
    // A list becomes shared; an empty one stays null.
    SharedPlacements(std::vector<Placement> placements)
        : list_(placements.empty()
                    ? nullptr
                    : std::make_shared<const std::vector<Placement>>(std::move(placements))) {}

    const std::vector<Placement>& operator*() const { return list_ ? *list_ : None(); }
    const std::vector<Placement>* operator->() const { return &**this; }
    bool empty() const { return !list_; }
    std::size_t size() const { return list_ ? list_->size() : 0; }
    std::vector<Placement>::const_iterator begin() const { return (**this).begin(); }
    std::vector<Placement>::const_iterator end() const { return (**this).end(); }
    const Placement& operator[](std::size_t i) const { return (**this)[i]; }
    // The list's identity: equal for rows that point at one list (not
    // merely equal ones).
    const void* Identity() const { return list_.get(); }

    bool operator==(const SharedPlacements& o) const { return list_ == o.list_ || **this == *o; }
    bool operator==(const std::vector<Placement>& o) const { return **this == o; }

private:
    static const std::vector<Placement>& None() {
        static const std::vector<Placement> none;
        return none;
    }
    std::shared_ptr<const std::vector<Placement>> list_;
};

} // namespace vorn
