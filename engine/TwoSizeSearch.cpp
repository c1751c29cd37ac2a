#include "PanelSearchStages.h"

#include <bit>
#include <chrono>
#include <future>

namespace vorn::panelsearch {

void Search::ShowPairsDone(std::size_t next) {
    double done = 0;
    if (!pairBar_.empty()) {
        done = pairBar_[next] / pairBar_.back();
    } else {
        const double n = static_cast<double>(inner_.size()), i = static_cast<double>(next);
        const double all = n * (n - 1) / 2;
        done = all > 0 ? (i * n - i * (i + 1) / 2) / all : 1;
    }
    progress_.SetShareDone(singleShare_ + (1 - singleShare_) * done);
}

void Search::PlanPairBar(PairState& st, const std::vector<char>& recordable,
                         const std::vector<std::int64_t>& keyU1) {
    const std::size_t n = inner_.size();
    pairBar_.clear();
    constexpr std::size_t kSamples = 32;
    if (n < 16 * kSamples)
        return;
    // At evenly spread panels 1: the time their marking takes and the panels
    // 2 it marks, each of which is then tried and its plans recorded (about 200 ns).
    std::vector<double> cost(kSamples, 0);
    std::vector<std::size_t> at(kSamples);
    for (std::size_t s = 0; s < kSamples; ++s) {
        const std::size_t i = at[s] = s * (n - 1) / (kSamples - 1);
        if (!recordable[i])
            continue;
        const auto t0 = std::chrono::steady_clock::now();
        PreparePanelOne(st, i, keyU1[i]);
        for (std::size_t x = 0; x < sheets_.size() * 2; ++x) {
            progress_.Beat();
            MarkLane(st, i, x);
        }
        double marked = 0;
        for (std::uint64_t& w : st.tried) {
            marked += std::popcount(w);
            w = 0;
        }
        st.lastMarked = 0;
        cost[s] = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - t0)
                      .count() +
                  200 * marked;
    }
    std::fill(st.laneMask.begin(), st.laneMask.end(), 0);
    std::fill(st.configMask.begin(), st.configMask.end(), 0);
    pairBar_.assign(n + 1, 0);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t s = std::min(kSamples - 2, i * (kSamples - 1) / (n - 1));
        const double t = static_cast<double>(i - at[s]) / static_cast<double>(at[s + 1] - at[s]);
        pairBar_[i + 1] = pairBar_[i] + cost[s] + t * (cost[s + 1] - cost[s]);
    }
}

void Search::SearchTwoSizePlans() {
    const std::size_t n = inner_.size();
    std::vector<Layout> boards(n);
    for (std::size_t i = 0; i < n; ++i)
        boards[i] = Board(inner_[i].Panel_L, inner_[i].Panel_W);
    // A plan is recorded only when both sizes reach the minimum panel: a
    // pair with a smaller size can write nothing, whatever its plan.
    std::vector<char> recordable(n);
    for (std::size_t i = 0; i < n; ++i)
        recordable[i] =
            literalPairs_ || (TolGe(inner_[i].Panel_L, minPL_) && TolGe(inner_[i].Panel_W, minPW_));
    pieces_.resize(n);
    for (std::size_t i = 0; i < n; ++i)
        pieces_[i] = boards[i].Pieces();
    if (literalPairs_) {
        for (std::size_t i = 0; i < n; ++i) {
            progress_.Beat();
            keyU1_ = PanelOneKey(i);
            for (std::size_t j = i + 1; j < n; ++j) {
                ++stats_.pairsTried;
                TryPair(inner_[i], boards[i], inner_[j], boards[j]);
                progress_.Step();
            }
        }
        return;
    }
    const std::size_t lanes = sheets_.size() * 2;
    // The distinct sides of the collected sizes, in the order first met:
    // sizes are built from the same grid and share most of their sides. A
    // side lies along the split in one orientation or the other on every
    // lane.
    sides_.clear();
    sideIds_.assign(2 * n, 0);
    {
        FlatTable<std::uint32_t> ids;
        for (std::size_t p = 0; p < n; ++p) {
            for (int k = 0; k < 2; ++k) {
                const double v = k == 0 ? inner_[p].Panel_L : inner_[p].Panel_W;
                const SizeKey key{std::bit_cast<std::uint64_t>(v), 0};
                if (const std::uint32_t* known = ids.Find(key)) {
                    sideIds_[2 * p + static_cast<std::size_t>(k)] = *known;
                } else {
                    const auto id = static_cast<std::uint32_t>(sides_.size());
                    ids.Add(key, id);
                    sides_.emplace_back(v, 1 / v);
                    sideIds_[2 * p + static_cast<std::size_t>(k)] = id;
                }
            }
        }
    }
    PrepareRoles();
    const std::size_t widest = sides_.size();
    PairState st;
    st.leastBeta.assign(2 * widest, 0);
    st.leastStamp.assign(widest, 0);
    // The groups are worked out on a helper (where there are two cores)
    // while this thread works out each panel 1 alone, which touches the
    // layout caches.
    auto grouped = std::async(TwoThreads() ? std::launch::async : std::launch::deferred,
                              [&] { GroupLanes(st, recordable); });
    st.tried.assign((n + 63) / 64, 0);
    st.laneMask.assign(n, 0);
    st.configMask.assign(n, 0);
    st.recent.assign(std::bit_ceil(std::clamp<std::size_t>(2 * n, 64, 8192)), {});
    sheetArea_.clear();
    distinctKeys_.clear();
    for (const Sheet& sh : sheets_) {
        sheetArea_.push_back(sh.SL * sh.SW);
        // One board adds at least 4 to a utilization key: the keys of
        // different board counts differ whatever the rounding.
        distinctKeys_.push_back(L_ * 1e10 * W_ * 100 / (sh.SL * sh.SW) >= 4);
    }
    // Panel 1's own utilization on its best sheet, before any pair: it
    // touches the shared layout caches, which the pairs do not.
    std::vector<std::int64_t> keyU1(n, 0);
    for (std::size_t i = 0; i < n; ++i) {
        progress_.Beat();
        if (recordable[i])
            keyU1[i] = PanelOneKey(i);
    }
    grouped.get();
    ReleaseSingleSizeTables();
    if (lanes > 64) {
        // More sheets than a lane mask holds: the pairs one by one.
        for (std::size_t i = 0; i < n; ++i) {
            ShowPairsDone(i);
            progress_.Beat();
            stats_.pairsTried += static_cast<std::int64_t>(n - i - 1);
            if (!recordable[i]) {
                stats_.pairsBounded += static_cast<std::int64_t>(n - i - 1);
                progress_.Advance(static_cast<std::int64_t>(n - i - 1));
                continue;
            }
            PreparePanelOne(st, i, keyU1[i]);
            for (std::size_t j = i + 1; j < n; ++j) {
                if (recordable[j]) {
                    st.plans.clear();
                    TryPairFast(st, i, j);
                    for (const FastBest& b : st.plans)
                        RecordFastPlan(i, j, boards[i], boards[j], b, PlanKey(i, j, b));
                } else {
                    ++stats_.pairsBounded;
                }
                progress_.Step();
            }
        }
        return;
    }
    PlanPairBar(st, recordable, keyU1);
    TryPanelsOne(std::move(st), recordable, keyU1,
                 [&](std::size_t i, std::size_t j, const FastBest& b, const SizeKey& key) {
                     RecordFastPlan(i, j, boards[i], boards[j], b, key);
                 });
}

std::int64_t Search::PanelOneKey(std::size_t i) {
    CutOnBestSheet(2, inner_[i].Panel_L, inner_[i].Panel_W);
    const double U1 = L_ * W_ * board_.Pieces() * cut_.Pieces() * 100 / (sheet_.SL * sheet_.SW);
    return TolKey(U1);
}

void Search::FindPanelOnePlans(PairState& st, std::size_t i, std::int64_t keyU1, PanelOneFound& out,
                               bool looks) const {
    PreparePanelOne(st, i, keyU1);
    if (i >= st.purgedAt + 512) {
        PurgeGroups(st, i);
        st.purgedAt = i;
    }
    for (std::size_t x = 0; x < sheets_.size() * 2; ++x) {
        if (looks)
            progress_.Beat();
        MarkLane(st, i, x);
    }
    st.marked.clear();
    // Words past the last size marked are clear: on many sizes the scan
    // would otherwise read the whole set for every panel 1.
    const std::size_t end = std::min(st.tried.size(), std::size_t{st.lastMarked} / 64 + 1);
    st.lastMarked = 0;
    for (std::size_t w = (i + 1) / 64; w < end; ++w) {
        std::uint64_t bits = st.tried[w];
        st.tried[w] = 0; // left clear for the next panel 1
        if (w == (i + 1) / 64)
            bits &= ~std::uint64_t{0} << ((i + 1) % 64);
        while (bits) {
            st.marked.push_back(static_cast<std::uint32_t>(w * 64 + std::countr_zero(bits)));
            bits &= bits - 1;
        }
    }
    // The roles of each panel 2 are fetched some pairs ahead: the sizes
    // lie far apart, and most reads of them miss the cache.
    constexpr std::size_t kAhead = 6;
    auto fetch = [&](std::size_t j) {
        FetchAhead(&sideIds_[2 * j]);
        for (std::uint64_t lanes = st.laneMask[j]; lanes; lanes &= lanes - 1) {
            const auto x = static_cast<std::size_t>(std::countr_zero(lanes));
            const std::size_t at = RoleIndex(j, x / 2, static_cast<int>(x % 2), 0);
            FetchAhead(&densities_[at]);
            FetchAhead(&roleRounded_[at]); // for the key of its plan
        }
    };
    const std::size_t count = st.marked.size();
    for (std::size_t t = 0; t < std::min(count, kAhead); ++t)
        fetch(st.marked[t]);
    for (std::size_t t = 0; t < count; ++t) {
        if (t + kAhead < count)
            fetch(st.marked[t + kAhead]);
        const std::size_t j = st.marked[t];
        const std::uint64_t lanes = st.laneMask[j];
        const std::uint64_t configs = st.configMask[j];
        st.laneMask[j] = 0;
        st.configMask[j] = 0;
        st.plans.clear();
        TryPairLanes(st, i, j, lanes, configs);
        ForgetRepeats(st, i, j);
        out.tried.push_back(static_cast<std::uint32_t>(j));
        out.plans.insert(out.plans.end(), st.plans.begin(), st.plans.end());
        out.keys.insert(out.keys.end(), st.keys.begin(), st.keys.end());
        out.planEnds.push_back(static_cast<std::uint32_t>(out.plans.size()));
    }
}

void Search::ForgetRepeats(PairState& st, std::size_t i, std::size_t j) const {
    std::size_t kept = 0;
    st.keys.clear();
    for (const FastBest& b : st.plans) {
        const SizeKey key = PlanKey(i, j, b);
        if (key.a != 0) {
            const std::uint64_t h = (key.a * 0x9E3779B97F4A7C15ULL ^ key.b) * 0x9E3779B97F4A7C15ULL;
            SizeKey& slot = st.recent[(h >> 40) & (st.recent.size() - 1)];
            if (slot == key)
                continue;
            slot = key;
        }
        st.plans[kept++] = b;
        st.keys.push_back(key);
    }
    st.plans.resize(kept);
}

template <class Record>
void Search::TryPanelsOne(PairState st, const std::vector<char>& recordable,
                          const std::vector<std::int64_t>& keyU1, Record&& record) {
    const std::size_t n = inner_.size();
    // A chunk's plans wait in memory until taken: where each panel 1 finds
    // some hundred thousand plans (tiny boards), a few panels per chunk and
    // the chunks waiting held to some tens of MB keep it bounded. Elsewhere
    // chunks are small, and the helper works far ahead: this thread, which
    // records every plan, is the one that sets the pace.
    constexpr std::size_t kChunk = 4;
    constexpr std::size_t kWaitingBytes = std::size_t{32} << 20;
    PairState helperState;
    if (TwoThreads())
        helperState = st;
    InOrderChunks<PanelOneFound> chunks(
        (n + kChunk - 1) / kChunk, 256, TwoThreads(),
        [&](std::size_t c, bool onHelper) {
            PairState& state = onHelper ? helperState : st;
            PanelOneFound f;
            for (std::size_t i = c * kChunk; i < std::min(n, (c + 1) * kChunk); ++i) {
                if (!onHelper)
                    progress_.Beat();
                else if (chunks.Abandoned())
                    break;
                if (recordable[i])
                    FindPanelOnePlans(state, i, keyU1[i], f, !onHelper);
                f.panelEnds.push_back(static_cast<std::uint32_t>(f.tried.size()));
            }
            return f;
        },
        [this] { progress_.Beat(); },
        [](const PanelOneFound& f) {
            return f.panelEnds.capacity() * sizeof(std::uint32_t) +
                   f.tried.capacity() * sizeof(std::uint32_t) +
                   f.planEnds.capacity() * sizeof(std::uint32_t) +
                   f.plans.capacity() * sizeof(FastBest) + f.keys.capacity() * sizeof(SizeKey);
        },
        kWaitingBytes);
    for (std::size_t c = 0; !chunks.Done(); ++c) {
        const PanelOneFound f = chunks.Take();
        const std::vector<SizeKey>& keys = f.keys;
        // Each slot of the set of plans met fetched some plans ahead:
        // most look-ups miss the cache.
        constexpr std::size_t kAhead = 48;
        for (std::size_t k = 0; k < std::min(keys.size(), kAhead); ++k)
            plansMet_.Prefetch(keys[k]);
        std::size_t t = 0, plan = 0;
        for (std::size_t k = 0; k < f.panelEnds.size(); ++k) {
            const std::size_t i = c * kChunk + k;
            ShowPairsDone(i);
            progress_.Beat();
            stats_.pairsTried += static_cast<std::int64_t>(n - i - 1);
            std::size_t next = i + 1; // the first pair whose step is not taken
            for (; t < f.panelEnds[k]; ++t) {
                const std::size_t j = f.tried[t];
                stats_.pairsBounded += static_cast<std::int64_t>(j - next);
                progress_.Advance(static_cast<std::int64_t>(j - next));
                for (; plan < f.planEnds[t]; ++plan) {
                    if (plan + kAhead < keys.size())
                        plansMet_.Prefetch(keys[plan + kAhead]);
                    record(i, j, f.plans[plan], keys[plan]);
                }
                progress_.Step();
                next = j + 1;
            }
            stats_.pairsBounded += static_cast<std::int64_t>(n - next);
            progress_.Advance(static_cast<std::int64_t>(n - next));
        }
    }
}

void Search::PrepareRoles() {
    const std::size_t n = inner_.size();
    const std::size_t lanes = sheets_.size() * 2;
    onLane_.assign(lanes * sides_.size(), SideOnLane{});
    rests_.clear();
    // The runs left depend on the sheet's side and the panel's side only,
    // and sheets share sides too: each pair once.
    struct Runs {
        int at = 0, count = 0;
    };
    FlatTable<Runs> runsOf;
    for (std::size_t x = 0; x < lanes; ++x) {
        const Sheet& sheet = sheets_[x / 2];
        const double along = x % 2 == 0 ? sheet.SL : sheet.SW;
        const double across = x % 2 == 0 ? sheet.SW : sheet.SL;
        for (std::uint32_t id = 0; id < sides_.size(); ++id) {
            const double side = sides_[id].first;
            SideOnLane& on = onLane_[x * sides_.size() + id];
            on.across = static_cast<int>(std::trunc(across / side));
            const SizeKey runKey = KeyOf(along, side);
            const Runs* runs = runsOf.Find(runKey);
            if (!runs) {
                Runs made{static_cast<int>(rests_.size()), 0};
                const std::int64_t key = TolKey(side);
                double rest = along;
                while (TolKey(rest) >= key) {
                    rest = rest - side;
                    rests_.push_back(rest);
                    ++made.count;
                }
                runs = &runsOf.Add(runKey, made);
            }
            on.restAt = runs->at;
            on.runs = runs->count;
        }
    }
    densities_.assign(n * lanes * 2, 0);
    roleRounded_.assign(densities_.size(), 0);
    for (std::size_t p = 0; p < n; ++p) {
        const double u = static_cast<double>(pieces_[p]);
        for (std::size_t s = 0; s < sheets_.size(); ++s) {
            for (int split = 0; split < 2; ++split) {
                for (int orient = 0; orient < 2; ++orient) {
                    const std::size_t at = RoleIndex(p, s, split, orient);
                    const Role r = RoleOf(p, s, split, orient);
                    densities_[at] = u * r.across / r.along;
                    if (job_.AUTOPanel) {
                        const SizeKey key = KeyOf(r.along, RoundedAcross(p, s, split, orient));
                        if (const std::uint32_t* known = roundedIds_.Find(key))
                            roleRounded_[at] = *known;
                        else
                            roleRounded_[at] = roundedIds_.Add(
                                key, static_cast<std::uint32_t>(roundedIds_.Size() + 1));
                    }
                }
            }
        }
    }
}

void Search::PreparePanelOne(PairState& st, std::size_t i, std::int64_t keyU1) const {
    st.threshold = std::max(keyU1 + 1, minLvKey_);
    const double u1 = static_cast<double>(pieces_[i]);
    const double c0 = L_ * 1e10 * W_;
    st.need.assign(sheets_.size(), 0);
    st.minDensity.assign(sheets_.size() * 2, 0);
    st.lines.assign(sheets_.size() * 4, Lines{});
    st.roles.resize(sheets_.size() * 4);
    for (std::size_t s = 0; s < sheets_.size(); ++s) {
        const double scale = sheets_[s].SL * sheets_[s].SW;
        // The least board count whose utilization key reaches the threshold.
        double b =
            std::max(0.0, std::floor(static_cast<double>(st.threshold) / 100 * scale / c0) - 2);
        while (RoundEven(c0 * b * 100 / scale) < st.threshold)
            b += 1;
        st.need[s] = b;
        for (int split = 0; split < 2; ++split) {
            double least = std::numeric_limits<double>::infinity();
            for (int orient = 0; orient < 2; ++orient) {
                const Role& r = st.roles[(s * 2 + split) * 2 + orient] =
                    RoleOf(i, s, split, orient);
                if (r.runs == 0)
                    continue;
                const double along = split == 0 ? sheets_[s].SL : sheets_[s].SW;
                const double alpha = u1 * r.across;
                Lines& l = st.lines[(s * 2 + split) * 2 + orient];
                l.e1 = alpha;
                l.f1 = along - r.along + kSlack;
                l.eK = alpha * r.runs;
                l.fK = along - r.runs * r.along + kSlack;
                l.least = std::numeric_limits<double>::infinity();
                for (int k : {1, r.runs}) {
                    const double e = alpha * k;
                    const double f = along - k * r.along + kSlack;
                    if (e >= b)
                        l.least = -1;
                    else if (f > 0)
                        l.least = std::min(l.least, (b - e) / f * (1 - 1e-9));
                }
                least = std::min(least, l.least);
            }
            st.minDensity[s * 2 + split] = least;
        }
    }
}

void Search::TryPairFast(PairState& st, std::size_t i, std::size_t j) {
    const std::size_t lanes = sheets_.size() * 2;
    // Per lane, the better orientation's density.
    const double* dj = &densities_[RoleIndex(j, 0, 0, 0)];
    auto reaches = [&](std::size_t x) {
        return std::max(dj[2 * x], dj[2 * x + 1]) >= st.minDensity[x];
    };
    bool any = false;
    for (std::size_t x = 0; x < lanes && !any; ++x)
        any = reaches(x);
    if (!any) {
        ++stats_.pairsBounded;
        return;
    }
    PairBest best;
    for (std::size_t lane = 0; lane < lanes; ++lane) {
        if (reaches(lane))
            TryLane(st, i, j, lane, best, 15u);
    }
    if (best.have)
        st.plans.push_back(best.best);
}

void Search::TryPairLanes(PairState& st, std::size_t i, std::size_t j, std::uint64_t lanes,
                          std::uint64_t configs) const {
    PairBest best;
    const bool keep = KeepsConfigs();
    while (lanes) {
        const auto lane = static_cast<std::size_t>(std::countr_zero(lanes));
        TryLane(st, i, j, lane, best,
                keep ? static_cast<unsigned>(configs >> (4 * lane)) & 15u : 15u);
        lanes &= lanes - 1;
    }
    if (best.have)
        st.plans.push_back(best.best);
}

void Search::TryLane(PairState& st, std::size_t i, std::size_t j, std::size_t lane, PairBest& pb,
                     unsigned configs) const {
    const std::size_t s = lane / 2;
    const int split = static_cast<int>(lane % 2);
    if (!job_.GoodBase && pb.have && pb.best.sheet != s) {
        st.plans.push_back(pb.best);
        pb.have = false;
    }
    // Configurations 1..8: split "L" then "W"; panel 1 upright, upright,
    // turned, turned; panel 2 upright, turned, turned, upright.
    static constexpr int kO1[4] = {0, 0, 1, 1};
    static constexpr int kO2[4] = {0, 1, 1, 0};
    const double c0 = L_ * 1e10 * W_;
    const double scale = sheetArea_[s];
    const std::int64_t u1 = pieces_[i], u2 = pieces_[j];
    const double* dj = &densities_[RoleIndex(j, s, split, 0)];
    FastBest& best = pb.best;
    bool& have = pb.have;
    for (int c = 0; c < 4; ++c) {
        if (!(configs >> c & 1))
            continue;
        const Role& r1 = st.roles[lane * 2 + kO1[c]];
        if (r1.runs == 0)
            continue;
        const double density2 = dj[kO2[c]];
        // Boards are linear in k up to the tolerance: the ends bound them.
        const Lines& l = st.lines[lane * 2 + kO1[c]];
        if (density2 < l.least)
            continue;
        // On this sheet, where each board more is another key, boards
        // compare as their keys do: no division for a plan that cannot
        // be the best.
        const bool inBoards = have && best.sheet == s && distinctKeys_[s];
        if (have) {
            const double ub = std::max(l.e1 + density2 * l.f1, l.eK + density2 * l.fK);
            const auto ubBoards = static_cast<std::int64_t>(ub);
            if (inBoards ? ubBoards < best.boards
                         : RoundEven(c0 * static_cast<double>(ubBoards) * 100 / scale) < best.value)
                continue;
        }
        const Role r2 = RoleOf(j, s, split, kO2[c]);
        const std::int64_t alpha = u1 * r1.across;
        const std::int64_t beta = u2 * r2.across;
        const double* rests = &rests_[r1.restAt];
        for (int k = 1; k <= r1.runs; ++k) {
            const double rest = rests[k - 1];
            const int q = QuickCount(rest, r2.along, r2.inverse);
            const std::int64_t boards = alpha * k + beta * q;
            if (static_cast<double>(boards) < st.need[s])
                continue;
            if (have && best.sheet == s && distinctKeys_[s]) {
                if (boards < best.boards)
                    continue;
                if (boards == best.boards) { // the same key: the later plan
                    best = {best.value, s, split, kO1[c], kO2[c], k, q, boards};
                    continue;
                }
            }
            const std::int64_t cur = RoundEven(c0 * static_cast<double>(boards) * 100 / scale);
            if (cur >= st.threshold && (!have || best.value <= cur)) {
                best = {cur, s, split, kO1[c], kO2[c], k, q, boards};
                have = true;
            }
        }
    }
}

std::uint64_t Search::PlanCounts(std::size_t i, std::size_t j, const FastBest& b) const {
    const std::size_t lane = b.sheet * 2 + static_cast<std::size_t>(b.split);
    const Role r1 = RoleOf(i, b.sheet, b.split, b.o1);
    const Role r2 = RoleOf(j, b.sheet, b.split, b.o2);
    constexpr int kCountLimit = 1 << 12;
    const bool keyed = job_.AUTOPanel && r1.across > 0 && r2.across > 0 && b.q > 0 &&
                       r1.across < kCountLimit && r2.across < kCountLimit && b.k < kCountLimit &&
                       b.q < kCountLimit;
    if (!keyed)
        return 0;
    return (((((static_cast<std::uint64_t>(lane) * 4 + static_cast<std::uint64_t>(b.o1) * 2 +
                static_cast<std::uint64_t>(b.o2)) *
                   kCountLimit +
               static_cast<std::uint64_t>(b.k)) *
                  kCountLimit +
              static_cast<std::uint64_t>(b.q)) *
                 kCountLimit +
             static_cast<std::uint64_t>(r1.across)) *
                kCountLimit +
            static_cast<std::uint64_t>(r2.across)) |
           (std::uint64_t{1} << 63);
}

double Search::RoundedAcross(std::size_t p, std::size_t sheet, int split, int orient) const {
    const Role r = RoleOf(p, sheet, split, orient);
    const bool lengthAlong = (split == 0) == (orient == 0);
    const double x = lengthAlong ? inner_[p].Panel_W : inner_[p].Panel_L;
    const double across = split == 0 ? sheets_[sheet].SW : sheets_[sheet].SL;
    const int m = r.across;
    return RoundUpToFit(x, [&](double v) { return TolLe(m * v, across); });
}

SizeKey Search::PlanKey(std::size_t i, std::size_t j, const FastBest& b) const {
    const std::uint64_t counts = PlanCounts(i, j, b);
    if (counts == 0)
        return {0, 0};
    return {counts, (std::uint64_t{RoundedId(i, b.sheet, b.split, b.o1)} << 32) |
                        RoundedId(j, b.sheet, b.split, b.o2)};
}

} // namespace vorn::panelsearch
