#pragma once
// The exact packing solver behind BestPacking: integer raster sizes,
// memoised sub-rectangles, the Barnes bound, guillotine cuts and first-order
// five-block layouts. Only BestPacking.cpp includes it.

#include "BestPacking.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <memory>
#include <numeric>
#include <unordered_map>
#include <vector>

namespace vorn::packing {

using Clock = std::chrono::steady_clock;

// The solver checks the clock every few hundred steps: a clock read costs
// more than a step.
// With a budget of steps instead, each step counts and the clock is not read.
struct Timer {
    Clock::time_point end;
    std::uint64_t budget = 0; // steps; 0: the clock decides
    std::uint64_t used = 0;
    bool over = false;
    unsigned tick = 0;
    bool Over() { return Spend(1); }
    // `steps` steps more; true once the time or the steps are spent.
    bool Spend(std::uint64_t steps) {
        if (over)
            return true;
        used += steps;
        if (budget != 0)
            return over = used >= budget;
        if (steps == 1 && (++tick & 63) != 0)
            return false;
        return over = Clock::now() >= end;
    }
};

// Least area left uncovered when 1 x c bars (both ways) fill an x by y
// rectangle (Barnes): whatever bars fit, the waste is congruent to x * y
// modulo c and at least this.
std::int64_t BarWaste(std::int64_t x, std::int64_t y, std::int64_t c) {
    const std::int64_t rx = x % c, ry = y % c;
    return std::min(rx * ry, (c - rx) * (c - ry));
}

// Upper bound for a x b boxes (a >= b) in x * y, both already raster sizes
// in units of gcd(a, b). Every box is b bars of 1 x a and a bars of 1 x b,
// so the waste is at least the larger bar waste.
std::int64_t RasterBound(std::int64_t x, std::int64_t y, std::int64_t a, std::int64_t b) {
    if (std::min(x, y) < b || std::max(x, y) < a)
        return 0;
    const std::int64_t waste = std::max(BarWaste(x, y, a), BarWaste(x, y, b));
    return (x * y - waste) / (a * b);
}

// Largest i * a + j * b not above v.
std::int64_t RasterFloor(std::int64_t v, std::int64_t a, std::int64_t b) {
    std::int64_t best = 0;
    for (std::int64_t i = 0; i * a <= v; ++i)
        best = std::max(best, i * a + (v - i * a) / b * b);
    return best;
}

struct BoxAt {
    std::int64_t x, y;
    bool longAlongX;
};

// Every sub-rectangle is known by its raster indices (i along x, j along y).
class Solver {
public:
    Solver(std::int64_t X, std::int64_t Y, std::int64_t a, std::int64_t b, Timer& timer)
        : a_(a), b_(b), timer_(timer) {
        rx_ = Raster(X);
        ry_ = Raster(Y);
    }

    static constexpr std::size_t kMaxRaster = 3000;
    static constexpr std::size_t kMaxStates = 3000000;
    static constexpr std::size_t kMaxFiveBlockStates = 1000000;
    static constexpr std::int64_t kMarkedUpTo = std::int64_t{1} << 22; // raster lengths marked

    bool Fits() const {
        return !rx_.empty() && !ry_.empty() && rx_.size() <= kMaxRaster &&
               ry_.size() <= kMaxRaster && rx_.size() * ry_.size() <= kMaxStates;
    }
    int TopI() const { return static_cast<int>(rx_.size()) - 1; }
    int TopJ() const { return static_cast<int>(ry_.size()) - 1; }
    // The index of the largest raster point not above v (v >= 0).
    int IndexX(std::int64_t v) const { return Index(rx_, v); }
    int IndexY(std::int64_t v) const { return Index(ry_, v); }

    // Best guillotine value of every sub-rectangle, bottom-up; false when
    // the time ran out first.
    bool Guillotine() {
        nx_ = static_cast<int>(rx_.size());
        ny_ = static_cast<int>(ry_.size());
        // The tables of left-over sides, the bounds of every cell, and the
        // rows below: under a budget of steps, a table that cannot be
        // finished is not begun (its memory and bounds would cost as much as
        // the rows it never reaches).
        const auto nx = static_cast<std::uint64_t>(nx_), ny = static_cast<std::uint64_t>(ny_);
        const std::uint64_t setUp = nx * nx + ny * ny + nx * ny;
        const std::uint64_t rows = nx * ny + ny * (nx * (nx - 1) / 2 + nx * ny) / 2;
        if (timer_.budget != 0 && timer_.used + setUp + rows > timer_.budget) {
            timer_.over = true;
            return false;
        }
        if (timer_.Spend(setUp))
            return false;
        left_x_ = Lefts(rx_);
        left_y_ = Lefts(ry_);
        ub_.assign(static_cast<std::size_t>(nx_) * ny_, 0);
        g_.assign(ub_.size(), 0);
        gc_.assign(ub_.size(), 0);
        for (int i = 0; i < nx_; ++i)
            for (int j = 0; j < ny_; ++j)
                ub_[At(i, j)] = static_cast<int>(RasterBound(rx_[i], ry_[j], a_, b_));
        for (int i = 0; i < nx_; ++i) {
            // A row: ny_ cells, each trying up to (i + ny_) / 2 cuts.
            if (timer_.Spend(static_cast<std::uint64_t>(ny_) *
                             (1 + static_cast<std::uint64_t>(i + ny_) / 2)))
                return false;
            for (int j = 0; j < ny_; ++j) {
                const std::int64_t x = rx_[i], y = ry_[j];
                const std::int64_t up = (x / a_) * (y / b_), turned = (x / b_) * (y / a_);
                int best = static_cast<int>(std::max(up, turned));
                int code = up >= turned ? 0 : 1;
                const int u = ub_[At(i, j)];
                for (int k = 1; k < i && best < u && 2 * rx_[k] <= x; ++k) {
                    const int v = g_[At(k, j)] + g_[At(LeftX(i, k), j)];
                    if (v > best) {
                        best = v;
                        code = 2 + 2 * k;
                    }
                }
                for (int k = 1; k < j && best < u && 2 * ry_[k] <= y; ++k) {
                    const int v = g_[At(i, k)] + g_[At(i, LeftY(j, k))];
                    if (v > best) {
                        best = v;
                        code = 3 + 2 * k;
                    }
                }
                g_[At(i, j)] = best;
                gc_[At(i, j)] = code;
            }
        }
        return true;
    }

    int G(int i, int j) const { return g_[At(i, j)]; }
    int Bound(int i, int j) const { return ub_[At(i, j)]; }
    bool FiveBlockFits() const { return rx_.size() * ry_.size() <= kMaxFiveBlockStates; }

    // Best of the five-block patterns nested `depth` deep, each block
    // valued one level down (level 0: the guillotine value).
    int F(int d, int I, int J) {
        if (d == 0)
            return G(I, J);
        if (static_cast<int>(f_.size()) <= d) {
            f_.resize(d + 1);
            cut_.resize(d + 1);
        }
        if (f_[d].empty()) {
            f_[d].assign(static_cast<std::size_t>(nx_) * ny_, -1);
            cut_[d].assign(f_[d].size(), Cut5{});
        }
        if (f_[d][At(I, J)] >= 0)
            return f_[d][At(I, J)];
        Cut5 choice;
        int best = F(d - 1, I, J);
        if (best < Bound(I, J))
            best = FiveBlock(d, I, J, best, choice);
        f_[d][At(I, J)] = best;
        cut_[d][At(I, J)] = choice;
        return best;
    }

    void Emit(int d, int I, int J, std::int64_t ox, std::int64_t oy,
              std::vector<BoxAt>& out) const {
        if (d == 0) {
            EmitG(I, J, ox, oy, out);
            return;
        }
        const Cut5& c = cut_[d][At(I, J)];
        if (c.i1 < 0) {
            Emit(d - 1, I, J, ox, oy, out);
            return;
        }
        const int bd = c.blocksG ? 0 : d - 1;
        const std::int64_t x1 = rx_[c.i1], x2 = rx_[I] - rx_[c.i3];
        const std::int64_t y1 = ry_[c.j1], y2 = ry_[J] - ry_[c.j4];
        const int w2 = LeftX(I, c.i1), h3 = LeftY(J, c.j1);
        Emit(bd, c.i1, LeftY(J, c.j4), ox, oy, out);
        Emit(bd, w2, c.j1, ox + x1, oy, out);
        Emit(bd, c.i3, h3, ox + x2, oy + y1, out);
        Emit(bd, LeftX(I, c.i3), c.j4, ox, oy + y2, out);
        Emit(bd, LeftX(w2, c.i3), LeftY(h3, c.j4), ox + x1, oy + y1, out);
    }

    // The L-approach: a rectangle or an L-shaped piece (a bar X x y along the
    // bottom and a column x x Y up the left side, its top-right corner
    // missing) divided into two rectangles or L-pieces, recursively, each
    // piece normalised and solved once. Pieces turned by half a turn are
    // the same problem.
    int RV(int i, int j) {
        const int g = G(i, j);
        if (g >= Bound(i, j))
            return g;
        const std::uint64_t key = Key(i, j, i, j);
        if (auto it = lmemo_.find(key); it != lmemo_.end())
            return it->second.value;
        LEntry e{g, kGuillotine, 0, 0, 0};
        // Five-block patterns already found for this rectangle.
        for (int d = 1; d < static_cast<int>(f_.size()); ++d)
            if (!f_[d].empty() && f_[d][At(i, j)] > e.value)
                e = {f_[d][At(i, j)], kFive, static_cast<std::int16_t>(d), 0, 0};
        const int u = Bound(i, j);
        auto offer = [&](int v, std::int8_t kind, int p, int q, int r, int t = 0) {
            if (v > e.value)
                e = {v,
                     kind,
                     static_cast<std::int16_t>(p),
                     static_cast<std::int16_t>(q),
                     static_cast<std::int16_t>(r),
                     static_cast<std::int16_t>(t)};
            return e.value >= u || timer_.Over();
        };
        const std::int64_t x = rx_[i], y = ry_[j];
        bool done = false;
        for (int k = 1; !done && k < i && 2 * rx_[k] <= x; ++k)
            done = Pair(
                Bound(k, j), Bound(LeftX(i, k), j), e.value, [&] { return RV(k, j); },
                [&] { return RV(LeftX(i, k), j); },
                [&](int v) { return offer(v, kCutX, k, 0, 0); });
        for (int k = 1; !done && k < j && 2 * ry_[k] <= y; ++k)
            done = Pair(
                Bound(i, k), Bound(i, LeftY(j, k)), e.value, [&] { return RV(i, k); },
                [&] { return RV(i, LeftY(j, k)); },
                [&](int v) { return offer(v, kCutY, k, 0, 0); });
        // Two L-pieces interlocked: L(X, y2, x1, y1) and, turned, L(X, Y - y1, X - x1, Y - y2);
        // and the same across.
        for (int k1 = 1; !done && k1 < i; ++k1)
            for (int k2 = 1; !done && k2 < j; ++k2)
                for (int k3 = k2 + 1; !done && k3 < j; ++k3) {
                    const int a2 = LeftY(j, k2), b1 = LeftX(i, k1), c2 = LeftY(j, k3);
                    done = Pair(
                        LBound(i, k3, k1, k2), LBound(i, a2, b1, c2), e.value,
                        [&] { return LV(i, k3, k1, k2); }, [&] { return LV(i, a2, b1, c2); },
                        [&](int v) { return offer(v, kLockY, k1, k2, k3); });
                }
        for (int k1 = 1; !done && k1 < i; ++k1)
            for (int k3 = k1 + 1; !done && k3 < i; ++k3)
                for (int k2 = 1; !done && k2 < j; ++k2) {
                    const int a1 = LeftX(i, k1), b1 = LeftX(i, k3), c2 = LeftY(j, k2);
                    done = Pair(
                        LBound(k3, j, k1, k2), LBound(a1, j, b1, c2), e.value,
                        [&] { return LV(k3, j, k1, k2); }, [&] { return LV(a1, j, b1, c2); },
                        [&](int v) { return offer(v, kLockX, k1, k2, k3); });
                }
        Remember(key, e);
        return e.value;
    }

    int LV(int X, int Y, int x, int y) {
        if (x >= X || y >= Y)
            return RV(X, Y);
        if (x == 0)
            return RV(X, y);
        if (y == 0)
            return RV(x, Y);
        const std::uint64_t key = Key(X, Y, x, y);
        if (auto it = lmemo_.find(key); it != lmemo_.end())
            return it->second.value;
        const int u = LBound(X, Y, x, y);
        const int yTop = LeftY(Y, y), xRight = LeftX(X, x);
        // The L as two rectangles, either way.
        LEntry e{G(X, y) + G(x, yTop), kSplitY, static_cast<std::int16_t>(y), 0, 0};
        if (const int v = G(x, Y) + G(xRight, y); v > e.value)
            e = {v, kSplitX, static_cast<std::int16_t>(x), 0, 0};
        auto offer = [&](int v, std::int8_t kind, int p, int q, int r, int t = 0) {
            if (v > e.value)
                e = {v,
                     kind,
                     static_cast<std::int16_t>(p),
                     static_cast<std::int16_t>(q),
                     static_cast<std::int16_t>(r),
                     static_cast<std::int16_t>(t)};
            return e.value >= u || timer_.Over();
        };
        bool done = e.value >= u;
        // Straight cuts: through both arms, or through one arm only.
        for (int k = 1; !done && k <= x; ++k) {
            const int w = LeftX(X, k), wx = LeftX(x, k);
            done = Pair(
                Bound(k, Y), LBound(w, Y, wx, y), e.value, [&] { return RV(k, Y); },
                [&] { return LV(w, Y, wx, y); }, [&](int v) { return offer(v, kSplitX, k, 0, 0); });
        }
        for (int k = x + 1; !done && k < X; ++k) {
            const int w = LeftX(X, k);
            done = Pair(
                LBound(k, Y, x, y), Bound(w, y), e.value, [&] { return LV(k, Y, x, y); },
                [&] { return RV(w, y); }, [&](int v) { return offer(v, kSplitX, k, 0, 0); });
        }
        for (int k = 1; !done && k <= y; ++k) {
            const int h = LeftY(Y, k), hy = LeftY(y, k);
            done = Pair(
                Bound(X, k), LBound(X, h, x, hy), e.value, [&] { return RV(X, k); },
                [&] { return LV(X, h, x, hy); }, [&](int v) { return offer(v, kSplitY, k, 0, 0); });
        }
        for (int k = y + 1; !done && k < Y; ++k) {
            const int h = LeftY(Y, k);
            done = Pair(
                LBound(X, k, x, y), Bound(x, h), e.value, [&] { return LV(X, k, x, y); },
                [&] { return RV(x, h); }, [&](int v) { return offer(v, kSplitY, k, 0, 0); });
        }
        // An L nested in the corner of a wider one (or a rectangle, when it
        // keeps the whole column or the whole bar).
        for (int k1 = 1; !done && k1 <= x; ++k1)
            for (int k2 = 1; !done && k2 <= y && (k1 < x || k2 < y); ++k2) {
                const int p = LeftX(X, k1), q = LeftY(Y, k2), r = LeftX(x, k1), t = LeftY(y, k2);
                done = Pair(
                    LBound(X, Y, k1, k2), LBound(p, q, r, t), e.value,
                    [&] { return LV(X, Y, k1, k2); }, [&] { return LV(p, q, r, t); },
                    [&](int v) { return offer(v, kNest, k1, k2, 0); });
            }
        // The bar with a shorter column, and the rest of the column turned
        // (the cuts raster points of the first piece); the same across.
        std::vector<std::pair<int, int>> xs, ys;
        for (int k = 1; k < x; ++k) {
            xs.emplace_back(k, LeftX(x, k));
        }
        for (int k = y + 1; k < Y; ++k)
            ys.emplace_back(k, LeftY(Y, k));
        for (const auto& [c1, c2] : xs)
            for (const auto& [q1, b2] : ys) {
                if (done)
                    break;
                done = Pair(
                    LBound(X, q1, c1, y), LBound(x, yTop, c2, b2), e.value,
                    [&] { return LV(X, q1, c1, y); }, [&] { return LV(x, yTop, c2, b2); },
                    [&](int v) { return offer(v, kStepY, c1, q1, c2, b2); });
            }
        xs.clear();
        ys.clear();
        for (int k = x + 1; k < X; ++k)
            xs.emplace_back(k, LeftX(X, k));
        for (int k = 1; k < y; ++k) {
            ys.emplace_back(k, LeftY(y, k));
        }
        for (const auto& [w1, c2] : xs)
            for (const auto& [q1, b2] : ys) {
                if (done)
                    break;
                done = Pair(
                    LBound(w1, Y, x, q1), LBound(xRight, y, c2, b2), e.value,
                    [&] { return LV(w1, Y, x, q1); }, [&] { return LV(xRight, y, c2, b2); },
                    [&](int v) { return offer(v, kStepX, w1, q1, c2, b2); });
            }
        Remember(key, e);
        return e.value;
    }

    void EmitR(int i, int j, std::int64_t ox, std::int64_t oy, std::vector<BoxAt>& out) const {
        const auto it = lmemo_.find(Key(i, j, i, j));
        if (it == lmemo_.end() || it->second.kind == kGuillotine) {
            EmitG(i, j, ox, oy, out);
            return;
        }
        const LEntry& e = it->second;
        const std::int64_t X = rx_[i], Y = ry_[j];
        switch (e.kind) {
        case kFive:
            Emit(e.p, i, j, ox, oy, out);
            break;
        case kCutX:
            EmitR(e.p, j, ox, oy, out);
            EmitR(LeftX(i, e.p), j, ox + rx_[e.p], oy, out);
            break;
        case kCutY:
            EmitR(i, e.p, ox, oy, out);
            EmitR(i, LeftY(j, e.p), ox, oy + ry_[e.p], out);
            break;
        case kLockY: // x1 = p, y1 = q, y2 = r
            EmitL(i, e.r, e.p, e.q, ox, oy, 0, 0, out);
            EmitL(i, LeftY(j, e.q), LeftX(i, e.p), LeftY(j, e.r), ox, oy + ry_[e.q], X,
                  Y - ry_[e.q], out);
            break;
        case kLockX: // x1 = p, y1 = q, x2 = r
            EmitL(e.r, j, e.p, e.q, ox, oy, 0, 0, out);
            EmitL(LeftX(i, e.p), j, LeftX(i, e.r), LeftY(j, e.q), ox + rx_[e.p], oy, X - rx_[e.p],
                  Y, out);
            break;
        default:
            break;
        }
    }

    // An L-piece at (ox, oy); turned by half a turn inside a w x h box when w > 0.
    void EmitL(int X, int Y, int x, int y, std::int64_t ox, std::int64_t oy, std::int64_t w,
               std::int64_t h, std::vector<BoxAt>& out) const {
        if (w > 0) {
            std::vector<BoxAt> local;
            EmitL(X, Y, x, y, 0, 0, 0, 0, local);
            for (const BoxAt& b : local) {
                const std::int64_t bw = b.longAlongX ? a_ : b_, bh = b.longAlongX ? b_ : a_;
                out.push_back({ox + w - b.x - bw, oy + h - b.y - bh, b.longAlongX});
            }
            return;
        }
        if (x >= X || y >= Y) {
            EmitR(X, Y, ox, oy, out);
            return;
        }
        if (x == 0) {
            EmitR(X, y, ox, oy, out);
            return;
        }
        if (y == 0) {
            EmitR(x, Y, ox, oy, out);
            return;
        }
        const LEntry& e = lmemo_.at(Key(X, Y, x, y));
        const std::int64_t vX = rx_[X], vY = ry_[Y], vx = rx_[x], vy = ry_[y];
        switch (e.kind) {
        case kSplitX: {
            const std::int64_t p = rx_[e.p];
            if (e.p <= x) {
                EmitR(e.p, Y, ox, oy, out);
                EmitL(LeftX(X, e.p), Y, LeftX(x, e.p), y, ox + p, oy, 0, 0, out);
            } else {
                EmitL(e.p, Y, x, y, ox, oy, 0, 0, out);
                EmitR(LeftX(X, e.p), y, ox + p, oy, out);
            }
            break;
        }
        case kSplitY: {
            const std::int64_t q = ry_[e.p];
            if (e.p <= y) {
                EmitR(X, e.p, ox, oy, out);
                EmitL(X, LeftY(Y, e.p), x, LeftY(y, e.p), ox, oy + q, 0, 0, out);
            } else {
                EmitL(X, e.p, x, y, ox, oy, 0, 0, out);
                EmitR(x, LeftY(Y, e.p), ox, oy + q, out);
            }
            break;
        }
        case kNest:
            EmitL(X, Y, e.p, e.q, ox, oy, 0, 0, out);
            EmitL(LeftX(X, e.p), LeftY(Y, e.q), LeftX(x, e.p), LeftY(y, e.q), ox + rx_[e.p],
                  oy + ry_[e.q], 0, 0, out);
            break;
        case kStepY: // L(X, q, p, y) and, turned, L(x, Y - y, r, s)
            EmitL(X, e.q, e.p, y, ox, oy, 0, 0, out);
            EmitL(x, LeftY(Y, y), e.r, e.s, ox, oy + vy, vx, vY - vy, out);
            break;
        case kStepX: // L(p, Y, x, q) and, turned, L(X - x, y, r, s)
            EmitL(e.p, Y, x, e.q, ox, oy, 0, 0, out);
            EmitL(LeftX(X, x), y, e.r, e.s, ox + vx, oy, vX - vx, vy, out);
            break;
        default:
            break;
        }
    }

    bool LApproachFits() const { return rx_.size() < 4096 && ry_.size() < 4096; }

private:
    struct LEntry {
        int value;
        std::int8_t kind;
        std::int16_t p = 0, q = 0, r = 0, s = 0;
    };
    static constexpr std::int8_t kGuillotine = 0, kCutX = 1, kCutY = 2, kLockY = 3, kLockX = 4,
                                 kSplitX = 5, kSplitY = 6, kNest = 7, kStepY = 8, kStepX = 9,
                                 kFive = 10;
    static constexpr std::size_t kMaxLStates = 4000000;

    static std::uint64_t Key(int X, int Y, int x, int y) {
        return static_cast<std::uint64_t>(X) | static_cast<std::uint64_t>(Y) << 12 |
               static_cast<std::uint64_t>(x) << 24 | static_cast<std::uint64_t>(y) << 36;
    }
    void Remember(std::uint64_t key, const LEntry& e) {
        lmemo_[key] = e;
        if (lmemo_.size() >= kMaxLStates)
            timer_.over = true;
    }
    int LBound(int X, int Y, int x, int y) const {
        if (x >= X || y >= Y)
            return Bound(X, Y);
        const std::int64_t area = rx_[X] * ry_[y] + rx_[x] * (ry_[Y] - ry_[y]);
        return static_cast<int>(std::min<std::int64_t>(area / (a_ * b_), Bound(X, Y)));
    }
    // A division into two parts: skipped when their bounds cannot beat the
    // best, the second part solved only when the first leaves room.
    template <class A, class B, class Take>
    bool Pair(int ua, int ub, int best, A valueA, B valueB, Take take) {
        if (timer_.Over())
            return true;
        if (ua + ub <= best)
            return false;
        const int va = valueA();
        if (va + ub <= best)
            return timer_.over;
        return take(va + valueB());
    }

    std::unordered_map<std::uint64_t, LEntry> lmemo_;

    // The cuts x1 <= x2 and y1 <= y2 of a pinwheel: B1 = [0, x1] x [0, y2],
    // B2 = [x1, X] x [0, y1], B3 = [x2, X] x [y1, Y], B4 = [0, x2] x [y2, Y]
    // around B5 = [x1, x2] x [y1, y2]. The mirror pinwheel is this one
    // reflected, which holds as many boxes. Each cut is a raster point
    // measured from the side whose block it bounds alone (B1 ends at x1, B3
    // starts X - x2 from the right, B2 ends at y1, B4 starts Y - y2 from the
    // top): pushing those blocks to their corners only widens the others.
    // Stored as the raster indices of x1, X - x2, y1, Y - y2; i1 < 0: the
    // level below.
    struct Cut5 {
        int i1 = -1, i3 = 0, j1 = 0, j4 = 0;
        bool blocksG = false;
    };

    int FiveBlock(int d, int I, int J, int best, Cut5& choice) {
        const int u = Bound(I, J);
        const std::int64_t X = rx_[I], Y = ry_[J], ab = a_ * b_;
        // A half turn swaps (x1, X - x2) and (y1, Y - y2): x1 <= X - x2 is enough.
        std::uint64_t work = 0; // inner steps since the last look
        for (int i1 = 0; i1 <= I; ++i1) {
            const int w2 = LeftX(I, i1);
            for (int i3 = i1; i3 <= w2; ++i3) {
                if (timer_.Spend(1 + work))
                    return best;
                work = 0;
                const int w1 = i1, w3 = i3, w4 = LeftX(I, i3), w5 = LeftX(w2, i3);
                const std::int64_t x1 = rx_[i1], x2 = X - rx_[i3];
                for (int j1 = 0; j1 <= J; ++j1) {
                    const int h2 = j1, h3 = LeftY(J, j1);
                    work += 1 + static_cast<std::uint64_t>(h3);
                    const int u2 = Bound(w2, h2), u3 = Bound(w3, h3);
                    // B1, B4 and B5 together cover [0, x1] x [0, y1] and [0, x2] x [y1, Y].
                    const std::int64_t rest = x1 * ry_[j1] + x2 * (Y - ry_[j1]);
                    if (u2 + u3 + rest / ab <= best)
                        continue;
                    for (int j4 = 0; j4 <= h3; ++j4) {
                        const int h1 = LeftY(J, j4), h4 = j4, h5 = LeftY(h3, j4);
                        const int ws[5] = {w1, w2, w3, w4, w5};
                        const int hs[5] = {h1, h2, h3, h4, h5};
                        int us[5];
                        int sumU = 0, sumG = 0;
                        for (int k = 0; k < 5; ++k) {
                            us[k] = Bound(ws[k], hs[k]);
                            sumU += us[k];
                            sumG += G(ws[k], hs[k]);
                        }
                        if (sumU <= best)
                            continue;
                        if (sumG > best) {
                            best = sumG;
                            choice = {i1, i3, j1, j4, true};
                            if (best >= u)
                                return best;
                        }
                        if (d == 1)
                            continue;
                        int bound = sumU;
                        int k = 0;
                        for (; k < 5 && bound > best; ++k)
                            bound += F(d - 1, ws[k], hs[k]) - us[k];
                        if (k == 5 && bound > best) {
                            best = bound;
                            choice = {i1, i3, j1, j4, false};
                            if (best >= u)
                                return best;
                        }
                        if (timer_.over)
                            return best;
                    }
                }
            }
        }
        return best;
    }

    void EmitG(int i, int j, std::int64_t ox, std::int64_t oy, std::vector<BoxAt>& out) const {
        const int code = gc_[At(i, j)];
        const std::int64_t x = rx_[i], y = ry_[j];
        if (code < 2) {
            const bool up = code == 0;
            const std::int64_t dx = up ? a_ : b_, dy = up ? b_ : a_;
            for (std::int64_t p = 0; p < x / dx; ++p)
                for (std::int64_t q = 0; q < y / dy; ++q)
                    out.push_back({ox + p * dx, oy + q * dy, up});
            return;
        }
        const int k = (code - 2) / 2;
        if (code % 2 == 0) {
            EmitG(k, j, ox, oy, out);
            EmitG(LeftX(i, k), j, ox + rx_[k], oy, out);
        } else {
            EmitG(i, k, ox, oy, out);
            EmitG(i, LeftY(j, k), ox, oy + ry_[k], out);
        }
    }

    std::vector<std::int64_t> Raster(std::int64_t lim) const {
        std::vector<std::int64_t> r;
        // Too many points is refused before they are listed: the multiples
        // of b alone are that many.
        if (lim / b_ >= static_cast<std::int64_t>(kMaxRaster))
            return r;
        // Most sums meet again: on a fine scale they are sorted, otherwise
        // marked and read in order (sorting them cost more than the tables
        // of a small container).
        const auto sums = [&](auto&& take) {
            for (std::int64_t i = 0; i * a_ <= lim; ++i)
                for (std::int64_t p = i * a_; p <= lim; p += b_)
                    take(p);
        };
        if (lim >= kMarkedUpTo) {
            sums([&](std::int64_t p) { r.push_back(p); });
            std::sort(r.begin(), r.end());
            r.erase(std::unique(r.begin(), r.end()), r.end());
        } else {
            std::vector<char> hit(static_cast<std::size_t>(lim) + 1, 0);
            sums([&](std::int64_t p) { hit[static_cast<std::size_t>(p)] = 1; });
            for (std::int64_t v = 0; v <= lim; ++v)
                if (hit[static_cast<std::size_t>(v)])
                    r.push_back(v);
        }
        if (r.size() > kMaxRaster)
            r.clear();
        return r;
    }

    // For i and k <= i: the index of the largest raster point not above r[i] - r[k].
    static std::vector<int> Lefts(const std::vector<std::int64_t>& r) {
        const int n = static_cast<int>(r.size());
        std::vector<int> out(static_cast<std::size_t>(n) * n, 0);
        for (int i = 0; i < n; ++i) {
            int p = i;
            for (int k = 0; k <= i; ++k) {
                while (r[p] > r[i] - r[k])
                    --p;
                out[static_cast<std::size_t>(i) * n + k] = p;
            }
        }
        return out;
    }

    static int Index(const std::vector<std::int64_t>& r, std::int64_t v) {
        return static_cast<int>(std::upper_bound(r.begin(), r.end(), v) - r.begin()) - 1;
    }

    std::size_t At(int i, int j) const { return static_cast<std::size_t>(i) * ny_ + j; }
    int LeftX(int i, int k) const { return left_x_[static_cast<std::size_t>(i) * nx_ + k]; }
    int LeftY(int j, int k) const { return left_y_[static_cast<std::size_t>(j) * ny_ + k]; }

    std::int64_t a_, b_;
    Timer& timer_;
    std::vector<std::int64_t> rx_, ry_;
    int nx_ = 0, ny_ = 0;
    std::vector<int> left_x_, left_y_;
    std::vector<int> ub_, g_, gc_; // gc: 0 upright, 1 turned, 2 + 2k cut at x_k, 3 + 2k at y_k
    std::vector<std::vector<int>> f_;
    std::vector<std::vector<Cut5>> cut_;
};

} // namespace vorn::packing
