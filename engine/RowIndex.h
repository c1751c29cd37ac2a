#pragma once
// Ordered indexes over the rows a search has written, for its duplicate and
// dominance tests: each test asks for stored values strictly within 1e-10 of
// a new value (bounds as a filter text writes them, see Window), so the rows
// are kept ordered by one of those values and only the few rows inside the
// window are looked at.

#include "Layout.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <map>
#include <vector>

namespace vorn {

inline constexpr double kDuplicateWindow = 1e-10;

// A number as a filter text carries it: written with up to 15 significant
// digits and read back.
inline double FilterNumber(double x) {
    char buf[40];
    const auto written = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::general, 15);
    double back = x;
    std::from_chars(buf, written.ptr, back);
    return back;
}

// The duplicate window around a new value v: stored values strictly between
// v - 1e-10 and v + 1e-10, both bounds as the filter text writes them. The
// rounded bounds are only worked out for a stored value close to one.
class Window {
public:
    // 15 digits move a bound by at most 5e-15 of its size; the slack covers
    // that and the last bits of the sums below.
    explicit Window(double v)
        : v_(v), slack_((std::fabs(v) + kDuplicateWindow) * 1e-14),
          below_(v - kDuplicateWindow - slack_), above_(v + kDuplicateWindow + slack_),
          surelyAbove_(v - kDuplicateWindow + slack_), surelyBelow_(v + kDuplicateWindow - slack_) {
    }

    // A range that holds the window whatever the rounding of its bounds:
    // where an ordered index starts and stops looking.
    double Below() const { return below_; }
    double Above() const { return above_; }

    bool Holds(double stored) const {
        if (!(stored > below_ && stored < above_))
            return false;
        if (stored > surelyAbove_ && stored < surelyBelow_)
            return true;
        if (!bounded_) { // within the slack of a bound: the written bounds decide
            lo_ = FilterNumber(v_ - kDuplicateWindow);
            hi_ = FilterNumber(v_ + kDuplicateWindow);
            bounded_ = true;
        }
        return stored > lo_ && stored < hi_;
    }

private:
    double v_, slack_, below_, above_, surelyAbove_, surelyBelow_;
    mutable double lo_ = 0, hi_ = 0;
    mutable bool bounded_ = false;
};

// True when stored lies within the window around v.
inline bool InWindow(double stored, double v) {
    return Window(v).Holds(stored);
}

// Single-size rows by Panel_L, Panel_W, Base_L and Base_W (display unit).
class SingleRowIndex {
public:
    bool Holds(double PL, double PW, double BL, double BW) const {
        const Window l(PL), w(PW), bl(BL), bw(BW);
        for (auto it = rows_.upper_bound(l.Below()); it != rows_.end() && it->first < l.Above();
             ++it) {
            if (!l.Holds(it->first))
                continue;
            for (const auto& r : it->second)
                if (w.Holds(r[0]) && bl.Holds(r[1]) && bw.Holds(r[2]))
                    return true;
        }
        return false;
    }
    void Add(double PL, double PW, double BL, double BW) { rows_[PL].push_back({PW, BL, BW}); }

private:
    std::map<double, std::vector<std::array<double, 3>>> rows_;
};

// The largest Panel among single-size rows by Base_lv.
class LevelIndex {
public:
    // -1 when no row lies in the window around Base_lv.
    int MostPanels(double lv) const {
        int most = -1;
        const Window w(lv);
        for (auto it = rows_.upper_bound(w.Below()); it != rows_.end() && it->first < w.Above();
             ++it)
            if (w.Holds(it->first))
                most = std::max(most, it->second);
        return most;
    }
    void Add(double lv, int panel) {
        auto [it, added] = rows_.try_emplace(lv, panel);
        if (!added)
            it->second = std::max(it->second, panel);
    }

private:
    std::map<double, int> rows_;
};

// A two-size plan of sheet utilization U with u1 and u2 boards per panel is
// pointless when a single-size row reaches the same utilization with at least
// as many boards per panel as either.
inline bool DominatedBySingleSize(const LevelIndex& singles, double U, std::int64_t u1,
                                  std::int64_t u2) {
    const int most = singles.MostPanels(U);
    return most >= 0 && most >= u1 && most >= u2;
}

// Two-size rows: equal board layouts and Base_L, Base_W, Base_lv in windows.
// The layouts are looked up in one flat table (a search asks hundreds of
// thousands of times; a node per entry costs a cache miss or two each).
class PairRowIndex {
public:
    bool Holds(double BL, double BW, double lv, const Layout& b1, const Layout& b2) const {
        const LayoutKey key = Key(b1, b2);
        const std::size_t at = Find(key, Hash(key));
        if (at == kNone)
            return false;
        const Window bl(BL), bw(BW), u(lv);
        for (const auto& r : entries_[at].rows)
            if (bl.Holds(r[0]) && bw.Holds(r[1]) && u.Holds(r[2]))
                return true;
        return false;
    }
    void Add(double BL, double BW, double lv, const Layout& b1, const Layout& b2) {
        const LayoutKey key = Key(b1, b2);
        const std::uint64_t hash = Hash(key);
        std::size_t at = Find(key, hash);
        if (at == kNone) {
            if ((entries_.size() + 1) * 2 > slots_.size())
                Grow();
            at = entries_.size();
            entries_.push_back({key, {}});
            Place(hash, at);
        }
        entries_[at].rows.push_back({BL, BW, lv});
    }

private:
    using LayoutKey = std::array<int, 14>;
    static constexpr std::size_t kNone = ~std::size_t{0};
    struct Entry {
        LayoutKey key;
        std::vector<std::array<double, 3>> rows;
    };
    struct Slot {
        std::uint64_t hash = 0;
        std::size_t entry = kNone;
    };
    static LayoutKey Key(const Layout& x, const Layout& y) {
        return {x.a1, x.a2, x.b1, x.b2, x.c1, x.c2, x.pattern,
                y.a1, y.a2, y.b1, y.b2, y.c1, y.c2, y.pattern};
    }
    static std::uint64_t Hash(const LayoutKey& k) {
        std::uint64_t h = 1469598103934665603ULL;
        for (int v : k)
            h = (h ^ static_cast<std::uint32_t>(v)) * 1099511628211ULL;
        return h ^ (h >> 29);
    }
    static bool Same(const LayoutKey& a, const LayoutKey& b) {
        for (std::size_t i = 0; i < a.size(); ++i)
            if (a[i] != b[i])
                return false;
        return true;
    }
    std::size_t Find(const LayoutKey& key, std::uint64_t hash) const {
        if (slots_.empty())
            return kNone;
        for (std::size_t at = hash & mask_;; at = (at + 1) & mask_) {
            const Slot& s = slots_[at];
            if (s.entry == kNone)
                return kNone;
            if (s.hash == hash && Same(entries_[s.entry].key, key))
                return s.entry;
        }
    }
    void Place(std::uint64_t hash, std::size_t entry) {
        std::size_t at = hash & mask_;
        while (slots_[at].entry != kNone)
            at = (at + 1) & mask_;
        slots_[at] = {hash, entry};
    }
    void Grow() {
        const std::vector<Slot> old = std::move(slots_);
        slots_.assign(old.empty() ? 256 : old.size() * 2, Slot{});
        mask_ = slots_.size() - 1;
        for (const Slot& s : old)
            if (s.entry != kNone)
                Place(s.hash, s.entry);
    }
    std::vector<Entry> entries_;
    std::vector<Slot> slots_;
    std::size_t mask_ = 0;
};

} // namespace vorn
