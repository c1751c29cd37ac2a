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

// Panel 1's placements (a single-size row's, an array row's units) and
// panel 2's of a two-size row, by row ID.
class RowPlacements {
public:
    void Clear() { m_byId.clear(); }
    bool Empty() const { return m_byId.empty(); }
    // Rows with placements of either panel.
    std::size_t Size() const { return m_byId.size(); }
    // An empty list keeps nothing.
    void Keep(qint64 id, std::vector<Placement> placements) {
        if (!placements.empty())
            m_byId[id].first = std::move(placements);
    }
    void KeepSecond(qint64 id, std::vector<Placement> placements) {
        if (!placements.empty())
            m_byId[id].second = std::move(placements);
    }
    // Those of the row with this ID; empty for a block layout.
    std::vector<Placement> Of(qint64 id) const { return Find(id).first; }
    std::vector<Placement> SecondOf(qint64 id) const { return Find(id).second; }
    void Scale(LengthScale scale) {
        for (auto& [id, both] : m_byId) {
            ScalePlacements(both.first, scale);
            ScalePlacements(both.second, scale);
        }
    }

private:
    using Both = std::pair<std::vector<Placement>, std::vector<Placement>>;
    const Both& Find(qint64 id) const {
        static const Both none;
        const auto it = m_byId.find(id);
        return it == m_byId.end() ? none : it->second;
    }
    std::unordered_map<qint64, Both> m_byId;
};

} // namespace vorn
