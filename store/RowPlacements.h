#pragma once
// The placements of result rows laid out beyond the block patterns, kept
// beside a working result table: the table holds the scalar columns, this
// the boards of the rows that have any, by the row's ID (which sorting,
// filtering and numbering leave alone).

#include "Placement.h"
#include "UnitWalk.h"

#include <QtGlobal>

#include <unordered_map>
#include <utility>
#include <vector>

namespace vorn {

// Every length of the placements scaled by `scale` (the unit switch).
inline void ScalePlacements(std::vector<Placement>& placements, LengthScale scale) {
    for (Placement& p : placements) {
        p.x = scale(p.x);
        p.y = scale(p.y);
        p.length = scale(p.length);
        p.width = scale(p.width);
    }
}

class RowPlacements {
public:
    void Clear() { m_byId.clear(); }
    bool Empty() const { return m_byId.empty(); }
    std::size_t Size() const { return m_byId.size(); }
    // An empty list keeps nothing.
    void Keep(qint64 id, std::vector<Placement> placements) {
        if (!placements.empty())
            m_byId[id] = std::move(placements);
    }
    // Those of the row with this ID; empty for a block layout.
    std::vector<Placement> Of(qint64 id) const {
        const auto it = m_byId.find(id);
        return it == m_byId.end() ? std::vector<Placement>{} : it->second;
    }
    void Scale(LengthScale scale) {
        for (auto& [id, placements] : m_byId)
            ScalePlacements(placements, scale);
    }

private:
    std::unordered_map<qint64, std::vector<Placement>> m_byId;
};

} // namespace vorn
