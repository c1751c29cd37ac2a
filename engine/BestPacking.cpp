#include "BestPacking.h"

#include "PackingSolver.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <numeric>
#include <unordered_map>

namespace vorn {

namespace {

using namespace packing;

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

PackBounds BestPackingBounds(const PackRequest& r, std::int64_t routineCount) {
    PackBounds out;
    if (!SaneRequest(r))
        return out;
    out.routineCount = routineCount >= 0 ? routineCount : RoutineLayout(r).Pieces();
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
        const std::uint64_t budget = timer.budget;
        if (budget != 0)
            timer.budget = timer.used + (budget - std::min(budget, timer.used)) / 2;
        else
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
        timer.budget = budget;
        timer.over = budget != 0 && timer.used >= budget;
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

Timer TimerFor(const PackRequest& r, double times = 1) {
    Timer t;
    if (r.steps != 0) {
        t.budget = static_cast<std::uint64_t>(static_cast<double>(r.steps) * times);
        return t;
    }
    // The search stops a little early: freeing its tables and building the
    // placements take the rest of the time allowed.
    const double seconds = std::max(times == 1 ? 0.0 : 1.0, r.seconds * times);
    t.end = Clock::now() + std::chrono::microseconds(
                               static_cast<std::int64_t>(std::clamp(seconds, 0.0, 1e6) * 0.97e6));
    return t;
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

namespace {
// A container past Start solved on tables of its own size; false where they
// did not fit or finish (`out` then keeps the routine's layout).
bool SolveAlone(const PackRequest& r, const Scaled& s, Timer& timer, PackResult& out) {
    Solver solver(s.X, s.Y, s.a, s.b, timer);
    if (!solver.Fits())
        return false;
    if (!solver.Guillotine()) {
        out.timedOut = true;
        out.steps = timer.used;
        return false;
    }
    Take(r, s,
         Search(r.mode, solver, timer, solver.TopI(), solver.TopJ(), out.count, out.upperBound),
         out);
    out.steps = timer.used;
    return true;
}
} // namespace

PackResult BestPacking(const PackRequest& r) {
    if (!SaneRequest(r))
        return {};
    Timer timer = TimerFor(r);
    Scaled s;
    PackResult out = Start(r, s);
    if (!out.proven && out.integral)
        SolveAlone(r, s, timer, out);
    return out;
}

// One solver for every container: its tables cover the largest container
// met so far, and a container inside them is a pair of raster indices.
struct PackingTable::Tables {
    Timer timer;
    Scaled scale;                   // of the tables: box sides and unit
    std::unique_ptr<Solver> solver; // null until a container needs it
    std::int64_t X = 0, Y = 0;      // the sides they cover
    bool failed = false;            // the largest tables did not fit or finish
    // Containers (least on both sides) whose own tables did not fit or
    // finish: neither can those of a container as large on both sides.
    // Kept with their scale: lengths at another are not comparable.
    std::vector<Scaled> beyond;
    static bool Within(const Scaled& big, const Scaled& small) {
        return big.a == small.a && big.b == small.b && big.unit == small.unit && big.X >= small.X &&
               big.Y >= small.Y;
    }
    bool Beyond(const Scaled& s) const {
        return std::any_of(beyond.begin(), beyond.end(),
                           [&](const Scaled& b) { return Within(s, b); });
    }
    void AddBeyond(const Scaled& s) {
        std::erase_if(beyond, [&](const Scaled& b) { return Within(b, s); });
        beyond.push_back(s);
    }
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
    t.timer = TimerFor(r);
    Scaled s;
    PackResult out = Start(r, s);
    if (out.proven || !out.integral)
        return out;
    // A container at a finer scale than the tables' is solved on its own.
    if (t.solver && (s.a != t.scale.a || s.b != t.scale.b || s.unit != t.scale.unit)) {
        SolveAlone(r, s, t.timer, out);
        return out;
    }
    if (!t.solver || s.X > t.X || s.Y > t.Y) {
        if (t.failed) {
            if (t.Beyond(s)) {
                out.timedOut = true;
                return out;
            }
            if (!SolveAlone(r, s, t.timer, out))
                t.AddBeyond(s);
            return out;
        }
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
            t.timer = TimerFor(r, kTableTimes);
            const bool built = solver->Guillotine();
            const std::uint64_t building = t.timer.used;
            t.timer = TimerFor(r);
            t.timer.used = building; // counted, not charged to this container's budget
            t.timer.budget += t.timer.budget != 0 ? building : 0;
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
            // kTableTimes its steps were not enough: its own tables cannot be.
            t.AddBeyond(s);
            out.timedOut = true;
            out.steps = t.timer.used;
            return out;
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
    out.steps = t.timer.used;
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
