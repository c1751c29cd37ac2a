#include "BestPacking.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <numeric>
#include <unordered_map>

namespace vorn {

namespace {

using Clock = std::chrono::steady_clock;

// The solver checks the clock every few hundred steps: a clock read costs
// more than a step.
struct Timer {
    Clock::time_point end;
    bool over = false;
    unsigned tick = 0;
    bool Over() {
        if (over)
            return true;
        if ((++tick & 63) != 0)
            return false;
        over = Clock::now() >= end;
        return over;
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
        left_x_ = Lefts(rx_);
        left_y_ = Lefts(ry_);
        ub_.assign(static_cast<std::size_t>(nx_) * ny_, 0);
        g_.assign(ub_.size(), 0);
        gc_.assign(ub_.size(), 0);
        for (int i = 0; i < nx_; ++i)
            for (int j = 0; j < ny_; ++j)
                ub_[At(i, j)] = static_cast<int>(RasterBound(rx_[i], ry_[j], a_, b_));
        for (int i = 0; i < nx_; ++i) {
            if (Clock::now() >= timer_.end) {
                timer_.over = true;
                return false;
            }
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
        for (int i1 = 0; i1 <= I; ++i1) {
            const int w2 = LeftX(I, i1);
            for (int i3 = i1; i3 <= w2; ++i3) {
                if (timer_.Over())
                    return best;
                const int w1 = i1, w3 = i3, w4 = LeftX(I, i3), w5 = LeftX(w2, i3);
                const std::int64_t x1 = rx_[i1], x2 = X - rx_[i3];
                for (int j1 = 0; j1 <= J; ++j1) {
                    const int h2 = j1, h3 = LeftY(J, j1);
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
        for (std::int64_t i = 0; i * a_ <= lim; ++i)
            for (std::int64_t p = i * a_; p <= lim; p += b_)
                r.push_back(p);
        std::sort(r.begin(), r.end());
        r.erase(std::unique(r.begin(), r.end()), r.end());
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

// The request's lengths as integers at the smallest power of ten that makes
// each of them whole (within 1e-9 of the given value).
struct Scaled {
    std::int64_t X = 0, Y = 0, a = 0, b = 0; // usable + gap; long and short side + gap
    double unit = 1;                         // length of one integer step
};

bool Whole(double v, double scale, std::int64_t& out) {
    const double t = v * scale;
    if (!(t >= 0 && t < 1e15))
        return false;
    out = std::llround(t);
    return std::abs(v - static_cast<double>(out) / scale) <= 1e-9;
}

bool Integerise(const PackRequest& r, Scaled& s) {
    const double values[7] = {r.containerL,
                              r.containerW,
                              std::max(r.pieceL, r.pieceW),
                              std::min(r.pieceL, r.pieceW),
                              r.gap,
                              r.marginL,
                              r.marginW};
    double scale = 1;
    for (int k = 0; k <= 6; ++k, scale *= 10) {
        std::int64_t v[7];
        bool ok = true;
        for (int n = 0; n < 7 && ok; ++n)
            ok = Whole(values[n], scale, v[n]);
        if (!ok)
            continue;
        s.X = v[0] - 2 * v[5] + v[4];
        s.Y = v[1] - 2 * v[6] + v[4];
        s.a = v[2] + v[4];
        s.b = v[3] + v[4];
        if (s.b <= 0)
            return false;
        // Positions only ever sit at sums of box sides: work in their gcd.
        const std::int64_t g = std::gcd(s.a, s.b);
        s.a /= g;
        s.b /= g;
        s.X = std::max<std::int64_t>(0, s.X) / g;
        s.Y = std::max<std::int64_t>(0, s.Y) / g;
        s.unit = static_cast<double>(g) / scale;
        // Areas stay inside 64 bits.
        return s.X < (std::int64_t{1} << 31) && s.Y < (std::int64_t{1} << 31) &&
               s.a < (std::int64_t{1} << 31);
    }
    return false;
}

bool SaneRequest(const PackRequest& r) {
    const double v[7] = {r.containerL, r.containerW, r.pieceL, r.pieceW,
                         r.gap,        r.marginL,    r.marginW};
    for (double x : v)
        if (!std::isfinite(x) || x < 0)
            return false;
    return r.pieceL > 0 && r.pieceW > 0;
}

// The routine's layout of the request, with the piece's long side as L.
Layout RoutineLayout(const PackRequest& r) {
    return LayoutPieces(true, std::max(r.pieceL, r.pieceW), std::min(r.pieceL, r.pieceW), r.gap,
                        r.marginL, r.marginW, r.containerL, r.containerW);
}

// Turned flags relative to the request's own length, then the layout centred
// in the usable area (as the routine's blocks are).
void Finish(const PackRequest& r, std::vector<Placement>& ps) {
    if (r.pieceL < r.pieceW)
        for (Placement& p : ps)
            p.turned = !p.turned;
    if (ps.empty())
        return;
    double x0 = ps[0].x, y0 = ps[0].y, x1 = x0, y1 = y0;
    for (const Placement& p : ps) {
        x0 = std::min(x0, p.x);
        y0 = std::min(y0, p.y);
        x1 = std::max(x1, p.x + p.length);
        y1 = std::max(y1, p.y + p.width);
    }
    const double dx = r.marginL + (r.containerL - 2 * r.marginL - (x1 - x0)) / 2 - x0;
    const double dy = r.marginW + (r.containerW - 2 * r.marginW - (y1 - y0)) / 2 - y0;
    for (Placement& p : ps) {
        p.x += dx;
        p.y += dy;
    }
}

PackResult RoutineResult(const PackRequest& r, const Layout& lay) {
    PackResult out;
    out.placements = LayoutPlacements(lay, std::max(r.pieceL, r.pieceW),
                                      std::min(r.pieceL, r.pieceW), r.gap, r.marginL, r.marginW);
    Finish(r, out.placements);
    out.count = lay.Pieces();
    out.routineCount = out.count;
    return out;
}

// Without integers: the area bound, tolerant.
std::int64_t RealAreaBound(const PackRequest& r) {
    const double X = r.containerL - 2 * r.marginL + r.gap;
    const double Y = r.containerW - 2 * r.marginW + r.gap;
    const double box = (r.pieceL + r.gap) * (r.pieceW + r.gap);
    if (!(X > 0 && Y > 0 && box > 0))
        return 0;
    return static_cast<std::int64_t>(std::floor(X * Y / box + 1e-9));
}

} // namespace

std::int64_t PackingUpperBound(std::int64_t X, std::int64_t Y, std::int64_t l, std::int64_t w) {
    if (X <= 0 || Y <= 0 || l <= 0 || w <= 0)
        return 0;
    std::int64_t a = std::max(l, w), b = std::min(l, w);
    X = RasterFloor(X, a, b);
    Y = RasterFloor(Y, a, b);
    const std::int64_t g = std::gcd(a, b);
    return RasterBound(X / g, Y / g, a / g, b / g);
}

std::vector<Placement> LayoutPlacements(const Layout& lay, double L, double W, double C, double BL,
                                        double BW) {
    std::vector<Placement> out;
    const double P = L + C, Q = W + C;
    auto block = [&](int nx, int ny, double x0, double y0, bool turned) {
        const double dx = turned ? Q : P, dy = turned ? P : Q;
        for (int p = 0; p < nx; ++p)
            for (int q = 0; q < ny; ++q)
                out.push_back(
                    {BL + x0 + p * dx, BW + y0 + q * dy, turned ? W : L, turned ? L : W, turned});
    };
    switch (lay.pattern) {
    case 'N':
        if (lay.a1 > 0 && lay.a2 > 0)
            block(lay.a1, lay.a2, 0, 0, false);
        else
            block(lay.b1, lay.b2, 0, 0, true);
        break;
    case 'L': // upright block, then turned pieces with upright ones above them
        block(lay.a1, lay.a2, 0, 0, false);
        block(lay.b1, lay.b2, lay.a1 * P, 0, true);
        block(lay.c1, lay.c2, lay.a1 * P, lay.b2 * P, false);
        break;
    case 'W': // turned rows, then upright ones with turned ones beside them
        block(lay.b1, lay.b2, 0, 0, true);
        block(lay.a1, lay.a2, 0, lay.b2 * P, false);
        block(lay.c2, lay.c1, lay.a1 * P, lay.b2 * P, true);
        break;
    default:
        break;
    }
    return out;
}

PackBounds BestPackingBounds(const PackRequest& r) {
    PackBounds out;
    if (!SaneRequest(r))
        return out;
    out.routineCount = RoutineLayout(r).Pieces();
    Scaled s;
    out.integral = Integerise(r, s);
    out.upperBound = out.integral ? PackingUpperBound(s.X, s.Y, s.a, s.b) : RealAreaBound(r);
    out.upperBound = std::max(out.upperBound, out.routineCount);
    return out;
}

namespace {

// What the search of one container found: the best count and its boxes
// from the usable area's lower-left corner (none where the routine's layout
// was at least as good).
struct Found {
    int best = 0;
    int depth = 0;
    bool lPieces = false;
    bool timedOut = false;
    std::vector<BoxAt> boxes;
};

// The search of one container on a solver whose guillotine table holds it at
// raster indices I, J, above the routine's `count` and up to `bound`.
Found Search(PackMode mode, Solver& solver, Timer& timer, int I, int J, std::int64_t count,
             std::int64_t bound) {
    Found f;
    f.best = solver.G(I, J);
    if (mode == PackMode::Routed && f.best < bound) {
        // Nested five-block patterns first, on half the time left; the
        // L-pieces only where the bound is still not met.
        const Clock::time_point end = timer.end;
        timer.end = Clock::now() + (end - Clock::now()) / 2;
        if (solver.FiveBlockFits()) {
            for (int d = 1; d <= 4 && f.best < bound && !timer.over; ++d) {
                const int v = solver.F(d, I, J);
                if (v > f.best) {
                    f.best = v;
                    f.depth = d;
                }
            }
        }
        timer.end = end;
        timer.over = false;
        if (f.best < bound && solver.LApproachFits()) {
            const int v = solver.RV(I, J);
            if (v > f.best) {
                f.best = v;
                f.lPieces = true;
            }
        }
        f.timedOut = timer.over;
    }
    if (f.best > count) {
        if (f.lPieces)
            solver.EmitR(I, J, 0, 0, f.boxes);
        else
            solver.Emit(f.depth, I, J, 0, 0, f.boxes);
    }
    return f;
}

// The result of the request from what its search found; `out` holds the
// routine's layout and the bound.
void Take(const PackRequest& r, const Scaled& s, const Found& f, PackResult& out) {
    if (r.mode == PackMode::Guillotine) {
        // The recursion over raster cuts is exact for guillotine patterns.
        out.upperBound = std::max<std::int64_t>(f.best, out.count);
    } else {
        out.timedOut = f.timedOut;
    }
    if (f.best <= out.count) {
        out.proven = out.count == out.upperBound;
        return;
    }
    const double L = std::max(r.pieceL, r.pieceW), W = std::min(r.pieceL, r.pieceW);
    out.placements.clear();
    out.placements.reserve(f.boxes.size());
    for (const BoxAt& b : f.boxes)
        out.placements.push_back({r.marginL + static_cast<double>(b.x) * s.unit,
                                  r.marginW + static_cast<double>(b.y) * s.unit,
                                  b.longAlongX ? L : W, b.longAlongX ? W : L, !b.longAlongX});
    Finish(r, out.placements);
    out.count = static_cast<std::int64_t>(out.placements.size());
    out.method = f.lPieces     ? PackMethod::LPieces
                 : f.depth > 0 ? PackMethod::FiveBlock
                               : PackMethod::Guillotine;
    out.depth = f.depth;
    out.proven = out.count == out.upperBound;
}

Timer TimerFor(double seconds) {
    // The search stops a little early: freeing its tables and building the
    // placements take the rest of the time allowed.
    return Timer{Clock::now() + std::chrono::microseconds(static_cast<std::int64_t>(
                                    std::clamp(seconds, 0.0, 1e6) * 0.97e6))};
}

// The routine's layout and the bound; `s` the lengths as integers when they scale.
PackResult Start(const PackRequest& r, Scaled& s) {
    PackResult out = RoutineResult(r, RoutineLayout(r));
    out.integral = Integerise(r, s);
    out.upperBound = out.integral ? PackingUpperBound(s.X, s.Y, s.a, s.b) : RealAreaBound(r);
    // The routine counts with the engine's tolerance, the integers with theirs.
    out.upperBound = std::max(out.upperBound, out.count);
    out.proven = out.count == out.upperBound;
    return out;
}

} // namespace

PackResult BestPacking(const PackRequest& r) {
    if (!SaneRequest(r))
        return {};
    Timer timer = TimerFor(r.seconds);
    Scaled s;
    PackResult out = Start(r, s);
    if (out.proven || !out.integral)
        return out;

    Solver solver(s.X, s.Y, s.a, s.b, timer);
    if (!solver.Fits())
        return out;
    if (!solver.Guillotine()) {
        out.timedOut = true;
        return out;
    }
    Take(r, s,
         Search(r.mode, solver, timer, solver.TopI(), solver.TopJ(), out.count, out.upperBound),
         out);
    return out;
}

// One solver for every container: its tables cover the largest container
// met so far, and a container inside them is a pair of raster indices.
struct PackingTable::Tables {
    Timer timer;
    Scaled scale;                                   // of the tables: box sides and unit
    std::unique_ptr<Solver> solver;                 // null until a container needs it
    std::int64_t X = 0, Y = 0;                      // the sides they cover
    bool failed = false;                            // the largest tables did not fit or finish
    std::unordered_map<std::uint64_t, Found> found; // by the raster indices of the usable area
};

PackingTable::PackingTable(const PackRequest& r) : request_(r), tables_(new Tables) {}

PackingTable::~PackingTable() = default;
PackingTable::PackingTable(PackingTable&&) noexcept = default;
PackingTable& PackingTable::operator=(PackingTable&&) noexcept = default;

PackResult PackingTable::Pack(double containerL, double containerW) {
    PackRequest r = request_;
    r.containerL = containerL;
    r.containerW = containerW;
    if (!SaneRequest(r))
        return {};
    Tables& t = *tables_;
    t.timer = TimerFor(r.seconds);
    Scaled s;
    PackResult out = Start(r, s);
    if (out.proven || !out.integral)
        return out;
    // A container at a finer scale than the tables' is solved on its own.
    if (t.solver && (s.a != t.scale.a || s.b != t.scale.b || s.unit != t.scale.unit))
        return BestPacking(r);
    if (!t.solver || s.X > t.X || s.Y > t.Y) {
        if (t.failed)
            return BestPacking(r);
        // Doubled at a time, so that a walk of growing sizes builds them a
        // few times only.
        auto grown = [&](std::int64_t need, std::int64_t have) {
            return !t.solver ? need : need <= have ? have : std::max(need, 2 * have);
        };
        const std::int64_t X = grown(s.X, t.X), Y = grown(s.Y, t.Y);
        t.solver.reset();
        for (const auto& [x, y] : {std::pair{X, Y}, std::pair{s.X, s.Y}}) {
            auto solver = std::make_unique<Solver>(x, y, s.a, s.b, t.timer);
            if (!solver->Fits())
                continue;
            // The tables serve every container after this one: more time.
            t.timer = TimerFor(std::max(1.0, 10 * r.seconds));
            const bool built = solver->Guillotine();
            t.timer = TimerFor(r.seconds);
            if (built) {
                t.solver = std::move(solver);
                t.X = x;
                t.Y = y;
                t.scale = s;
                break;
            }
        }
        if (!t.solver) {
            t.failed = true;
            return BestPacking(r);
        }
    }
    // Containers that normalise to the same raster sizes hold the same layouts.
    const int I = t.solver->IndexX(s.X), J = t.solver->IndexY(s.Y);
    const std::uint64_t key = static_cast<std::uint64_t>(I) << 32 | static_cast<std::uint32_t>(J);
    auto known = t.found.find(key);
    // A layout kept without boxes (the routine then held as many) is searched
    // again for a container whose routine holds fewer.
    if (known == t.found.end() || (known->second.best > out.count && known->second.boxes.empty()))
        known = t.found
                    .insert_or_assign(
                        key, Search(r.mode, *t.solver, t.timer, I, J, out.count, out.upperBound))
                    .first;
    Take(r, s, known->second, out);
    return out;
}

namespace {

struct Box {
    double x0, y0, x1, y1;
};

// Cut the boards apart by straight lines that cross none of them, down to
// single boards.
bool Guillotine(std::vector<Box> boxes, double tol) {
    if (boxes.size() <= 1)
        return true;
    for (int axis = 0; axis < 2; ++axis) {
        auto lo = [axis](const Box& b) { return axis == 0 ? b.x0 : b.y0; };
        auto hi = [axis](const Box& b) { return axis == 0 ? b.x1 : b.y1; };
        std::sort(boxes.begin(), boxes.end(),
                  [&](const Box& p, const Box& q) { return lo(p) < lo(q); });
        double reach = hi(boxes[0]);
        for (std::size_t n = 1; n < boxes.size(); ++n) {
            if (lo(boxes[n]) >= reach - tol) {
                std::vector<Box> rest(boxes.begin() + static_cast<std::ptrdiff_t>(n), boxes.end());
                boxes.resize(n);
                return Guillotine(std::move(boxes), tol) && Guillotine(std::move(rest), tol);
            }
            reach = std::max(reach, hi(boxes[n]));
        }
    }
    return false;
}

} // namespace

std::string PlacementFault(const std::vector<Placement>& ps, const PackRequest& r,
                           bool guillotine) {
    const double tol = 1e-9 * (1 + std::max(r.containerL, r.containerW));
    char buf[200];
    std::vector<Box> boxes;
    for (std::size_t n = 0; n < ps.size(); ++n) {
        const Placement& p = ps[n];
        const bool sizeOk =
            (std::abs(p.length - r.pieceL) <= tol && std::abs(p.width - r.pieceW) <= tol &&
             !p.turned) ||
            (std::abs(p.length - r.pieceW) <= tol && std::abs(p.width - r.pieceL) <= tol &&
             (p.turned || r.pieceL == r.pieceW));
        if (!sizeOk) {
            std::snprintf(buf, sizeof buf, "board %zu: %g x %g%s is not the board", n, p.length,
                          p.width, p.turned ? " turned" : "");
            return buf;
        }
        if (p.x < r.marginL - tol || p.y < r.marginW - tol ||
            p.x + p.length > r.containerL - r.marginL + tol ||
            p.y + p.width > r.containerW - r.marginW + tol) {
            std::snprintf(buf, sizeof buf, "board %zu at (%g, %g) outside the margins", n, p.x,
                          p.y);
            return buf;
        }
        boxes.push_back({p.x, p.y, p.x + p.length, p.y + p.width});
    }
    std::vector<std::size_t> order(boxes.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(),
              [&](std::size_t p, std::size_t q) { return boxes[p].x0 < boxes[q].x0; });
    for (std::size_t n = 0; n < order.size(); ++n) {
        const Box& p = boxes[order[n]];
        for (std::size_t m = n + 1; m < order.size(); ++m) {
            const Box& q = boxes[order[m]];
            if (q.x0 >= p.x1 + r.gap - tol)
                break; // this and every later board clear of p along x
            const double sepY = std::max(q.y0 - p.y1, p.y0 - q.y1);
            if (sepY < r.gap - tol) {
                std::snprintf(buf, sizeof buf,
                              "boards at (%g, %g) and (%g, %g) closer than the gap %g", p.x0, p.y0,
                              q.x0, q.y0, r.gap);
                return buf;
            }
        }
    }
    if (guillotine && !Guillotine(boxes, tol))
        return "not a guillotine pattern";
    return {};
}

} // namespace vorn
