#pragma once
// The placements of result rows laid out beyond the block patterns, kept
// beside a working result table: the table holds the scalar columns, this
// the boards of the rows that have any, by the row's ID (which sorting,
// filtering and numbering leave alone). Rows laid out the same way share
// one list, here as in the search.

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
    void Keep(qint64 id, SharedPlacements placements) {
        if (!placements.empty())
            m_byId[id].first = std::move(placements);
    }
    void KeepSecond(qint64 id, SharedPlacements placements) {
        if (!placements.empty())
            m_byId[id].second = std::move(placements);
    }
    // Those of the row with this ID; empty for a block layout.
    const SharedPlacements& Of(qint64 id) const { return Find(id).first; }
    const SharedPlacements& SecondOf(qint64 id) const { return Find(id).second; }
    // Each distinct list scaled once, so that the rows which shared a list
    // share its scaled one (and the switch costs a list, not a row, each).
    void Scale(LengthScale scale) {
        // By the old list, which the entry keeps alive until all are done so
        // that no new list can take a key's address meanwhile.
        std::unordered_map<const void*, std::pair<SharedPlacements, SharedPlacements>> scaled;
        const auto rescale = [&](SharedPlacements& list) {
            if (list.empty())
                return;
            auto [it, fresh] = scaled.try_emplace(list.Identity());
            if (fresh) {
                std::vector<Placement> copy = *list;
                ScalePlacements(copy, scale);
                it->second = {list, std::move(copy)};
            }
            list = it->second.second;
        };
        for (auto& [id, both] : m_byId) {
            rescale(both.first);
            rescale(both.second);
        }
    }

private:
    using Both = std::pair<SharedPlacements, SharedPlacements>;
    const Both& Find(qint64 id) const {
        static const Both none;
        const auto it = m_byId.find(id);
        return it == m_byId.end() ? none : it->second;
    }
    std::unordered_map<qint64, Both> m_byId;
};

} // namespace vorn
