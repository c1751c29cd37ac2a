#pragma once
// Ordered indexes over the rows a search has written, for its duplicate and
// dominance tests: each test asks for stored values strictly within 1e-10 of
// a new value, so the rows are kept ordered by one of those values and only
// the few rows inside the window are looked at.

#include "Layout.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <unordered_map>
#include <vector>

namespace vorn {

inline constexpr double kDuplicateWindow = 1e-10;

// True when stored lies strictly within the window around v.
inline bool InWindow(double stored, double v) {
    return stored > v - kDuplicateWindow && stored < v + kDuplicateWindow;
}

// Single-size rows by Panel_L, Panel_W, Base_L and Base_W (display unit).
class SingleRowIndex {
public:
    bool Holds(double PL, double PW, double BL, double BW) const {
        for (auto it = rows_.upper_bound(PL - kDuplicateWindow);
             it != rows_.end() && it->first < PL + kDuplicateWindow; ++it) {
            for (const auto& r : it->second)
                if (InWindow(r[0], PW) && InWindow(r[1], BL) && InWindow(r[2], BW))
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
        for (auto it = rows_.upper_bound(lv - kDuplicateWindow);
             it != rows_.end() && it->first < lv + kDuplicateWindow; ++it)
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
class PairRowIndex {
public:
    bool Holds(double BL, double BW, double lv, const Layout& b1, const Layout& b2) const {
        auto it = rows_.find(Key(b1, b2));
        if (it == rows_.end())
            return false;
        for (const auto& r : it->second)
            if (InWindow(r[0], BL) && InWindow(r[1], BW) && InWindow(r[2], lv))
                return true;
        return false;
    }
    void Add(double BL, double BW, double lv, const Layout& b1, const Layout& b2) {
        rows_[Key(b1, b2)].push_back({BL, BW, lv});
    }

private:
    using LayoutKey = std::array<int, 14>;
    static LayoutKey Key(const Layout& x, const Layout& y) {
        return {x.a1, x.a2, x.b1, x.b2, x.c1, x.c2, x.pattern,
                y.a1, y.a2, y.b1, y.b2, y.c1, y.c2, y.pattern};
    }
    struct Hash {
        std::size_t operator()(const LayoutKey& k) const {
            std::size_t h = 1469598103934665603ULL;
            for (int v : k)
                h = (h ^ static_cast<std::size_t>(v)) * 1099511628211ULL;
            return h;
        }
    };
    std::unordered_map<LayoutKey, std::vector<std::array<double, 3>>, Hash> rows_;
};

} // namespace vorn
