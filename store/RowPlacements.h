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

// Panel 1's placements (a single-size row's, an array row's units) and,
// apart, panel 2's of a two-size row.
class RowPlacements {
public:
    void Clear() {
        m_byId.clear();
        m_secondById.clear();
    }
    bool Empty() const { return m_byId.empty() && m_secondById.empty(); }
    // Rows with placements of either panel.
    std::size_t Size() const {
        std::size_t n = m_byId.size();
        for (const auto& entry : m_secondById)
            n += m_byId.count(entry.first) == 0 ? 1 : 0;
        return n;
    }
    // An empty list keeps nothing.
    void Keep(qint64 id, std::vector<Placement> placements) {
        if (!placements.empty())
            m_byId[id] = std::move(placements);
    }
    void KeepSecond(qint64 id, std::vector<Placement> placements) {
        if (!placements.empty())
            m_secondById[id] = std::move(placements);
    }
    // Those of the row with this ID; empty for a block layout.
    std::vector<Placement> Of(qint64 id) const { return Find(m_byId, id); }
    std::vector<Placement> SecondOf(qint64 id) const { return Find(m_secondById, id); }
    void Scale(LengthScale scale) {
        for (auto* map : {&m_byId, &m_secondById})
            for (auto& [id, placements] : *map)
                ScalePlacements(placements, scale);
    }

private:
    using Map = std::unordered_map<qint64, std::vector<Placement>>;
    static std::vector<Placement> Find(const Map& map, qint64 id) {
        const auto it = map.find(id);
        return it == map.end() ? std::vector<Placement>{} : it->second;
    }
    Map m_byId;
    Map m_secondById;
};

} // namespace vorn
