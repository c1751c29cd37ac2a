#include "PanelSearchStages.h"

#include <algorithm>
#include <cmath>

namespace vorn::panelsearch {

namespace {

// The least beta whose density, beta / along as a size's own is worked
// out, reaches d (densities rise with beta).
std::int64_t LeastBetaFor(double d, double along) {
    if (std::isnan(d) || !(d * along < 0x1p62))
        return std::numeric_limits<std::int64_t>::max();
    if (!(d > 0))
        return 0;
    auto b = static_cast<std::int64_t>(std::ceil(d * along));
    while (b > 0 && static_cast<double>(b - 1) / along >= d)
        --b;
    while (!(static_cast<double>(b) / along >= d))
        ++b;
    return b;
}

} // namespace

void Search::MarkLane(PairState& st, std::size_t i, std::size_t x) const {
    const std::size_t s = x / 2;
    const Role* r1 = &st.roles[x * 2];
    const std::int64_t alpha[2] = {pieces_[i] * r1[0].across, pieces_[i] * r1[1].across};
    // The boards alpha * k + beta * q reach the need (a whole number)
    // for some k exactly when beta reaches the least over k of
    // ceil((need - alpha * k) / q): one count per distinct panel-2 side,
    // the lesser over panel 1's two orientations (a size passes with
    // either), shared by every size with that side.
    const auto need = static_cast<std::int64_t>(st.need[s]);
    const auto* sides = sides_.data();
    if (++st.markCall == 0) { // the stamps wrapped round
        std::fill(st.leastStamp.begin(), st.leastStamp.end(), 0);
        st.markCall = 1;
    }
    const std::uint32_t call = st.markCall;
    std::uint32_t* stamp = st.leastStamp.data();
    std::int64_t* leastAt = st.leastBeta.data();
    const double* rests = rests_.data();
    // Worked out on the first size with that side; the cached test stays
    // inline in the loop below.
    auto compute = [&](std::uint32_t id) {
        for (int o1 = 0; o1 < 2; ++o1) {
            std::int64_t least = std::numeric_limits<std::int64_t>::max();
            const Role& p1 = r1[o1];
            for (int k = 1; k <= p1.runs; ++k) {
                const std::int64_t rest = need - alpha[o1] * k;
                if (rest <= 0) {
                    least = std::numeric_limits<std::int64_t>::min();
                    break;
                }
                const int q =
                    QuickCount(rests[p1.restAt + k - 1], sides[id].first, sides[id].second);
                // ceil(rest / q) < least exactly when rest <= (least - 1) * q:
                // the division only where it lowers the least.
                if (q > 0 && least != std::numeric_limits<std::int64_t>::min() &&
                    (least > rest || rest <= (least - 1) * q))
                    least = (rest + q - 1) / q;
            }
            leastAt[2 * id + static_cast<std::uint32_t>(o1)] = least;
        }
        stamp[id] = call;
    };
    std::uint64_t* tried = st.tried.data();
    std::uint32_t lastMarked = st.lastMarked;
    std::uint64_t* laneMask = st.laneMask.data();
    const std::uint64_t laneBit = std::uint64_t{1} << x;
    // Where four bits per lane fit in a word, the configurations that
    // reach the need are marked too (a configuration that does not can
    // change no plan); beyond, bits past the word are not used.
    std::uint64_t* configMask = st.configMask.data();
    const bool keep = KeepsConfigs();
    const unsigned shift = keep ? static_cast<unsigned>(4 * x) : 0;
    const double minDensity = st.minDensity[x];
    const Member* members = st.members[x].data();
    for (const Group& g : st.groups[x]) {
        if (!(g.maxDensity >= minDensity))
            break; // and so are the groups after it
        if (stamp[g.id] != call)
            compute(g.id);
        const std::int64_t least0 = leastAt[2 * g.id], least1 = leastAt[2 * g.id + 1];
        // A size below the least count, or too sparse, ends the group.
        const std::int64_t least =
            std::max(std::min(least0, least1), LeastBetaFor(minDensity, sides[g.id].first));
        // The configurations (see TryLane) with panel 1 upright and
        // turned, panel 2 in the group's orientation.
        const std::uint64_t up = keep ? std::uint64_t{g.orient == 0 ? 1u : 2u} << shift : 0;
        const std::uint64_t turned = keep ? std::uint64_t{g.orient == 0 ? 8u : 4u} << shift : 0;
        for (std::uint32_t e = g.begin; e < g.end; ++e) {
            const Member& m = members[e];
            if (m.beta < least)
                break;
            if (m.size <= i)
                continue;
            tried[m.size / 64] |= std::uint64_t{1} << (m.size % 64);
            lastMarked = std::max(lastMarked, m.size);
            laneMask[m.size] |= laneBit;
            configMask[m.size] |= (m.beta >= least0 ? up : 0) | (m.beta >= least1 ? turned : 0);
        }
    }
    st.lastMarked = lastMarked;
}

void Search::GroupLanes(PairState& st, const std::vector<char>& recordable) const {
    const std::size_t lanes = sheets_.size() * 2;
    const std::size_t n = inner_.size();
    const std::size_t keys = 2 * sides_.size(); // side and orientation
    st.groups.assign(lanes, {});
    st.members.assign(lanes, {});
    std::vector<std::uint32_t> at(keys + 1);
    for (std::size_t x = 0; x < lanes; ++x) {
        const int split = static_cast<int>(x % 2);
        auto key = [&](std::size_t p, int o) {
            return std::size_t{AlongId(p, split, o)} * 2 + static_cast<std::size_t>(o);
        };
        // By group in the order of the sizes, then each group by boards
        // across, most first (stable: sizes in order on a tie).
        std::fill(at.begin(), at.end(), 0);
        for (std::size_t p = 0; p < n; ++p)
            if (recordable[p])
                for (int o = 0; o < 2; ++o)
                    ++at[key(p, o) + 1];
        for (std::size_t k = 0; k < keys; ++k)
            at[k + 1] += at[k];
        auto& members = st.members[x];
        members.resize(at[keys]);
        std::vector<std::uint32_t> fill(at.begin(), at.end() - 1);
        for (std::size_t p = 0; p < n; ++p) {
            if (!recordable[p])
                continue;
            for (int o = 0; o < 2; ++o) {
                const Role role = RoleOf(p, x / 2, split, o);
                members[fill[key(p, o)]++] = {pieces_[p] * role.across,
                                              static_cast<std::uint32_t>(p)};
            }
        }
        auto& groups = st.groups[x];
        for (std::size_t k = 0; k < keys; ++k) {
            if (at[k] == at[k + 1])
                continue;
            std::stable_sort(members.begin() + at[k], members.begin() + at[k + 1],
                             [](const Member& a, const Member& b) { return a.beta > b.beta; });
            const auto id = static_cast<std::uint32_t>(k / 2);
            groups.push_back({Density(members[at[k]], id), id, at[k], at[k + 1],
                              static_cast<std::uint32_t>(k % 2)});
        }
        SortGroups(groups);
    }
}

void Search::SortGroups(std::vector<Group>& groups) {
    std::sort(groups.begin(), groups.end(), [](const Group& a, const Group& b) {
        return a.maxDensity > b.maxDensity || (a.maxDensity == b.maxDensity && a.id < b.id);
    });
}

void Search::PurgeGroups(PairState& st, std::size_t i) const {
    for (std::size_t x = 0; x < st.groups.size(); ++x) {
        Member* members = st.members[x].data();
        for (Group& g : st.groups[x]) {
            std::uint32_t to = g.begin;
            for (std::uint32_t e = g.begin; e < g.end; ++e) {
                if (members[e].size > i)
                    members[to++] = members[e];
            }
            g.end = to;
            g.maxDensity = to > g.begin ? Density(members[g.begin], g.id)
                                        : -std::numeric_limits<double>::infinity();
        }
        SortGroups(st.groups[x]);
    }
}

} // namespace vorn::panelsearch
