#include "Layout.h"

#include "Tolerance.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <memory>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vorn {

namespace {

// CountFit for one piece and gap, with what does not depend on the run
// computed once: the layout routine counts the same pieces in many runs.
//
// The count comes from the quotient t = (x - d) / (d + C) when it is
// provably the subtraction's count. The literal loop keeps the runs
// x - k * (d + C) (each rounded) while their key reaches d's key. For the
// magnitudes allowed here ((q + 3) * M < 1e5), the quotient, the runs the
// loop computes and the runs computed here below all lie within 6e-11 of
// the exact values, against a tolerance of 5e-11 around d and 1e-9 of room:
// - t more than 1e-9 (in run length) from a whole number: floor(t) + 1;
// - t that close to a whole number n (exact fits, gap 0) while the run after
//   n pieces lies within 1e-11 of d and d's key is far from a rounding
//   boundary: that run is kept, the next refused, so n + 1;
// - otherwise each run is tested with a slack of 3.5e-11 against it, and
//   only if that cannot decide either does the subtraction run literally.
struct Fitter {
    double d, C, step, inverse, slackT;
    std::int64_t dKey;
    bool fits;    // a positive step: otherwise nothing fits
    bool keyFree; // d * 1e10 lies within 0.15 of its key

    Fitter(double d_, double C_)
        : d(d_), C(C_), step(d_ + C_), inverse(1 / (d_ + C_)), slackT(1e-9 / (d_ + C_)),
          dKey(TolKey(d_)), fits(d_ + C_ > 0),
          keyFree(std::abs(d_ * 1e10 - static_cast<double>(TolKey(d_))) < 0.15) {}

    int operator()(double x) const {
        if (!fits)
            return 0;
        const double t = (x - d) * inverse;
        if (t > -2 && t < 1e5 && (t + 4) * (std::abs(x) + std::abs(d) + step) < 1e5) {
            const double whole = std::floor(t);
            const double f = t - whole;
            if (f > slackT && f < 1 - slackT)
                return whole < 0 ? 0 : static_cast<int>(whole) + 1;
            const double n = f < 0.5 ? whole : whole + 1;
            if (keyFree && n >= -1 && std::abs(x - n * step - d) < 1e-11)
                return static_cast<int>(n) + 1;
        }
        return Slow(x);
    }

    int Slow(double x) const {
        const double t = (x - d) * inverse;
        if (t > -2 && t < 1e5) {
            const int g = t < 0 ? 0 : static_cast<int>(t) + 1;
            const double M = std::abs(x) + std::abs(d) + step;
            if ((g + 3) * M < 1e5) {
                for (int q : {g, g + 1, g - 1}) {
                    if (q >= 0 && (q == 0 || TolKey(x - (q - 1) * step - 3.5e-11) >= dKey) &&
                        TolKey(x - q * step + 3.5e-11) < dKey)
                        return q;
                }
            }
        }
        int k = 0;
        while (TolKey(x) >= dKey) {
            ++k;
            x = x - (d + C);
        }
        return k;
    }
};

} // namespace

int CountFit(double x, double d, double C) {
    return Fitter(d, C)(x);
}

namespace {

struct Current {
    Layout lay;
    char s = 0; // pattern text of the layout under test; 0 while empty
};

// Called for every round of every layout: kept inline, and most rounds place
// fewer pieces than the best so far.
[[gnu::always_inline]] inline void Offer(bool allowMixed, const Current& cur, Layout& best) {
    const std::int64_t n = cur.lay.Pieces();
    const std::int64_t nBest = best.Pieces();
    if (n < nBest)
        return;
    bool take = false;
    if (!allowMixed) {
        take = cur.s == 'N' && n > nBest;
    } else if (n > nBest) {
        take = true;
    } else if (n == nBest && best.pattern != 'N') {
        // An equal single-orientation layout found first is never displaced;
        // between equal mixed layouts a later one without an extra block wins.
        take = cur.s == 'N' || (std::int64_t{cur.lay.a1} * cur.lay.a2 > 0 &&
                                std::int64_t{cur.lay.c1} * cur.lay.c2 == 0);
    }
    if (take) {
        best = cur.lay;
        best.pattern = cur.s;
    }
}

// The rows G = 1, 2, ... of pieces laid L-side across a run v, each with the
// count K of W-sides that fit in what they leave. It does not depend on the
// outer split, so each family computes it once.
struct Band {
    int G;
    int K;
};

void Bands(double run, double L, double C, const Fitter& fitW, std::vector<Band>& out) {
    out.clear();
    if (!(L + C > 0))
        return;
    const std::int64_t lKey = TolKey(L);
    double v = run;
    int G = 0;
    while (TolKey(v) >= lKey) {
        ++G;
        v = v - (L + C);
        out.push_back({G, fitW(v)});
    }
}

// A round keeps the last band with the most pieces G * u + K * v (u, v >= 0).
// Such a band is a corner of the upper hull of the points (G, K): on a tied
// edge of the hull the later band is its right corner. So the rounds scan
// the corners only (two for square pieces, against hundreds of bands for
// tiny ones).
void UpperHull(const std::vector<Band>& bands, std::vector<Band>& hull) {
    hull.clear();
    for (const Band& b : bands) {
        while (hull.size() >= 2) {
            const Band& p = hull[hull.size() - 2];
            const Band& q = hull.back();
            const std::int64_t cross =
                std::int64_t{q.G - p.G} * (b.K - p.K) - std::int64_t{q.K - p.K} * (b.G - p.G);
            if (cross < 0)
                break;
            hull.pop_back(); // on or under the line from p to b
        }
        hull.push_back(b);
    }
}

// The corner a round keeps: the last with the most G * u + K * v (u, v >= 0),
// as a scan of every corner keeping each that reaches the best so far would.
// The hull turns right at every corner, so along it the sum grows (or stays)
// up to that corner and falls after it: the scan stops at the first fall.
const Band* BestCorner(const std::vector<Band>& hull, int u, int v) {
    if (hull.empty())
        return nullptr;
    std::size_t at = 0;
    while (at + 1 < hull.size() && std::int64_t{hull[at + 1].G - hull[at].G} * u +
                                           std::int64_t{hull[at + 1].K - hull[at].K} * v >=
                                       0)
        ++at;
    return &hull[at];
}

} // namespace

// What the mixed layout needs of one usable side v: the bands across it (as
// their hull), the rounds of the family that lays L-sides along it (the
// counts of W-sides and of L-sides in the run each round leaves), and the
// W-sides that fit in v.
struct SideRuns {
    std::vector<Band> hull;
    // The rounds' two counts, in blocks of two rounds r, r + 1 as MostOfRounds
    // takes them: first of r, of r + 1, second of r, of r + 1 (a last odd
    // round padded with zeros).
    std::vector<std::int32_t> counts;
    std::size_t rounds = 0;
    int wCount = 0;
    bool firstFits = true; // no round's first count is 0
    int First(std::size_t r) const { return counts[r / 2 * 4 + r % 2]; }
    int Second(std::size_t r) const { return counts[r / 2 * 4 + 2 + r % 2]; }
};

namespace {

void MakeSideRuns(double v, double L, double C, const Fitter& fitW, const Fitter& fitL,
                  SideRuns& out) {
    thread_local std::vector<Band> all;
    Bands(v, L, C, fitW, all);
    UpperHull(all, out.hull);
    out.counts.clear();
    out.rounds = 0;
    out.firstFits = true;
    const std::int64_t lKey = TolKey(L);
    double x = v + (L + C);
    // Where the rounds' first run is v to the bit, their runs are the bands'
    // (the same subtractions): the W-sides across them are counted already.
    bool bandRuns = false;
    while (TolKey(x) >= lKey) {
        x = x - (L + C);
        const std::size_t r = out.rounds++;
        if (r == 0)
            bandRuns = std::bit_cast<std::uint64_t>(x) == std::bit_cast<std::uint64_t>(v);
        const int w = bandRuns && r >= 1 && r <= all.size() ? all[r - 1].K : fitW(x);
        if (r % 2 == 0)
            out.counts.insert(out.counts.end(), 4, 0);
        out.counts[r / 2 * 4 + r % 2] = w;
        out.counts[r / 2 * 4 + 2 + r % 2] = fitL(x);
        out.firstFits = out.firstFits && w > 0;
    }
    out.wCount = bandRuns ? out.First(0) : fitW(v);
}

// most[r]: the most pieces G * u + K * v of any corner of `corners` (0
// without one) for the counts (u, v) of round r of `rounds` (the count of
// the corner BestCorner picks), plus r * step. Reals hold these products and
// sums exactly, and two rounds go at once.
void MostOfRounds(const SideRuns& corners, const SideRuns& rounds, double step,
                  std::vector<double>& most) {
    const std::size_t n = rounds.counts.size() / 2; // rounds, padded
    most.resize(n);
    thread_local std::vector<double> gk; // the corners' G and K as reals
    gk.clear();
    for (const Band& b : corners.hull) {
        gk.push_back(b.G);
        gk.push_back(b.K);
    }
    const std::size_t m = corners.hull.size();
    const std::int32_t* c = rounds.counts.data();
#if defined(__SSE2__)
    const __m128d twoSteps = _mm_set1_pd(2 * step);
    __m128d shift = _mm_set_pd(step, 0);
    for (std::size_t r = 0; r < n; r += 2) {
        const __m128d u =
            _mm_cvtepi32_pd(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(c + 2 * r)));
        const __m128d v =
            _mm_cvtepi32_pd(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(c + 2 * r + 2)));
        __m128d best = _mm_setzero_pd();
        for (std::size_t i = 0; i < m; ++i)
            best = _mm_max_pd(best, _mm_add_pd(_mm_mul_pd(_mm_set1_pd(gk[2 * i]), u),
                                               _mm_mul_pd(_mm_set1_pd(gk[2 * i + 1]), v)));
        _mm_storeu_pd(most.data() + r, _mm_add_pd(best, shift));
        shift = _mm_add_pd(shift, twoSteps);
    }
#else
    for (std::size_t r = 0; r < n; ++r) {
        const double u = c[r / 2 * 4 + r % 2], v = c[r / 2 * 4 + 2 + r % 2];
        double best = 0;
        for (std::size_t i = 0; i < m; ++i)
            best = std::max(best, gk[2 * i] * u + gk[2 * i + 1] * v);
        most[r] = best + static_cast<double>(r) * step;
    }
#endif
}

Layout Unmixed(double L, double W, double C, double UL, double UW) {
    Layout best;
    Current cur;
    cur.lay.a1 = CountFit(UL, L, C);
    cur.lay.a2 = CountFit(UW, W, C);
    cur.s = 'N';
    Offer(false, cur, best);
    cur.lay = Layout{};
    cur.lay.b1 = CountFit(UL, W, C);
    cur.lay.b2 = CountFit(UW, L, C);
    Offer(false, cur, best);
    return best;
}

// The two families of the mixed layout from the runs of the usable length
// (alongL) and width (alongW).
Layout Mixed(const SideRuns& alongL, const SideRuns& alongW) {
    Layout best;
    Current cur;
    Layout& c = cur.lay;

    // Family 1: a1 upright columns, the rest of the length for turned pieces.
    const std::vector<Band>& bandsW = alongW.hull;
    const int columnLength = alongW.wCount;
    thread_local std::vector<double> most;
    MostOfRounds(alongW, alongL, columnLength, most);
    const std::size_t rounds1 = alongL.rounds;
    c.a1 = -1;
    for (std::size_t r = 0; r < rounds1; ++r) {
        // Most rounds place fewer pieces than the best so far: they are
        // passed over at once, with what the next round takes from them (a1,
        // and after the last the pattern letter).
        if (c.a1 != -1) {
            // Round q places most[q] + (c.a1 + 1 - r) * columnLength pieces.
            const double need = static_cast<double>(
                best.Pieces() -
                (std::int64_t{c.a1} + 1 - static_cast<std::int64_t>(r)) * columnLength);
            std::size_t q = r;
            while (q < rounds1 && most[q] < need)
                ++q;
            if (q > r) {
                c.a1 = columnLength == 0 ? 0 : c.a1 + static_cast<int>(q - r);
                cur.s = columnLength == 0 || alongL.First(q - 1) == 0 || bandsW.empty() ? 'N' : 'L';
                r = q - 1;
                continue;
            }
        }
        const int b1 = alongL.First(r), c1 = alongL.Second(r);
        c.a1 = c.a1 + 1;
        c.b1 = b1;
        c.c1 = c1;
        c.a2 = columnLength;
        c.b2 = 0;
        c.c2 = 0;
        if (const Band* g = BestCorner(bandsW, c.b1, c.c1)) {
            c.b2 = g->G;
            c.c2 = g->K;
        }
        bool flag = true;
        if (c.a1 == 0 && std::int64_t{c.c1} * c.c2 > 0) {
            // No upright columns: a turned band over an upright band.
            flag = false;
            cur.s = 'W';
            c.a1 = c.c1;
            c.a2 = c.c2;
            c.c1 = 0;
            c.c2 = 0;
        }
        if (c.a1 == 0 || c.a2 == 0) {
            c.a1 = c.a2 = 0;
            cur.s = 'N';
        } else if (c.b1 == 0 || c.b2 == 0) {
            c.b1 = c.b2 = 0;
            cur.s = 'N';
        } else if (cur.s != 'W') {
            cur.s = 'L';
        }
        if (c.c2 == 0 || c.c1 == 0)
            c.c1 = c.c2 = 0;
        Offer(true, cur, best);
        if (!flag && cur.s == 'W') {
            c.a1 = 0;
            cur.s = 'N';
        }
    }

    // Family 2: b2 turned rows, the rest of the width for upright pieces.
    const std::vector<Band>& bandsL = alongL.hull;
    const int rowLength = alongL.wCount;
    MostOfRounds(alongL, alongW, rowLength, most);
    const std::size_t rounds2 = alongW.rounds;
    c.b2 = -1;
    for (std::size_t r = 0; r < rounds2; ++r) {
        if (c.b2 != -1) { // as in family 1
            const double need = static_cast<double>(
                best.Pieces() -
                (std::int64_t{c.b2} + 1 - static_cast<std::int64_t>(r)) * rowLength);
            std::size_t q = r;
            while (q < rounds2 && most[q] < need)
                ++q;
            if (q > r) {
                if (bandsL.empty()) {
                    cur.s = 'N';
                    c.b2 += static_cast<int>(q - r);
                } else if (rowLength > 0 && alongW.firstFits) {
                    if (cur.s != 'L')
                        cur.s = 'W';
                    c.b2 += static_cast<int>(q - r);
                } else {
                    for (std::size_t k = r; k < q; ++k) {
                        c.b2 = c.b2 + 1;
                        if (alongW.First(k) == 0) {
                            cur.s = 'N';
                        } else if (rowLength == 0) {
                            c.b2 = 0;
                            cur.s = 'N';
                        } else if (cur.s != 'L') {
                            cur.s = 'W';
                        }
                    }
                }
                r = q - 1;
                continue;
            }
        }
        const int a2 = alongW.First(r), c1 = alongW.Second(r);
        c.b2 = c.b2 + 1;
        c.a2 = a2;
        c.c1 = c1;
        c.b1 = rowLength;
        c.a1 = 0;
        c.c2 = 0;
        if (const Band* g = BestCorner(bandsL, c.a2, c.c1)) {
            c.a1 = g->G;
            c.c2 = g->K;
        }
        bool flag = true;
        if (c.b2 == 0 && std::int64_t{c.c1} * c.c2 > 0) {
            flag = false;
            cur.s = 'L';
            c.b2 = c.c1;
            c.b1 = c.c2;
            c.c1 = 0;
            c.c2 = 0;
        }
        if (c.a1 == 0 || c.a2 == 0) {
            c.a1 = c.a2 = 0;
            cur.s = 'N';
        } else if (c.b1 == 0 || c.b2 == 0) {
            c.b1 = c.b2 = 0;
            cur.s = 'N';
        } else if (cur.s != 'L') {
            cur.s = 'W';
        }
        if (c.c2 == 0 || c.c1 == 0)
            c.c1 = c.c2 = 0;
        Offer(true, cur, best);
        if (!flag && cur.s == 'L') {
            c.b2 = 0;
            cur.s = 'N';
        }
    }
    return best;
}

} // namespace

Layout LayoutPieces(bool allowMixed, double L, double W, double C, double BL, double BW, double CL,
                    double CW) {
    const double UL = CL - 2 * BL;
    const double UW = CW - 2 * BW;
    if (!allowMixed)
        return Unmixed(L, W, C, UL, UW);
    if (!(L + C > 0))
        return Layout{};
    const Fitter fitW(W, C), fitL(L, C);
    thread_local SideRuns alongL, alongW;
    MakeSideRuns(UL, L, C, fitW, fitL, alongL);
    MakeSideRuns(UW, L, C, fitW, fitL, alongW);
    return Mixed(alongL, alongW);
}

void LayoutPiecesIn(bool allowMixed, double L, double W, double C, const double* sides,
                    std::size_t count, Layout* out) {
    if (!allowMixed || !(L + C > 0)) {
        for (std::size_t i = 0; i < count; ++i)
            out[i] = LayoutPieces(allowMixed, L, W, C, 0, 0, sides[2 * i], sides[2 * i + 1]);
        return;
    }
    const Fitter fitW(W, C), fitL(L, C);
    thread_local std::vector<SideRuns> runs;
    thread_local std::vector<std::uint64_t> keys;
    if (runs.size() < 2 * count)
        runs.resize(2 * count);
    keys.clear();
    auto find = [&](double v) {
        const auto key = std::bit_cast<std::uint64_t>(v);
        for (std::size_t k = 0; k < keys.size(); ++k)
            if (keys[k] == key)
                return k;
        MakeSideRuns(v, L, C, fitW, fitL, runs[keys.size()]);
        keys.push_back(key);
        return keys.size() - 1;
    };
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t along = find(sides[2 * i]);
        const std::size_t across = find(sides[2 * i + 1]);
        out[i] = Mixed(runs[along], runs[across]);
    }
}

LayoutMemo::LayoutMemo(double L, double W, double C) : L_(L), W_(W), C_(C) {}
LayoutMemo::~LayoutMemo() = default;

const SideRuns& LayoutMemo::Runs(double v) {
    const auto key = std::bit_cast<std::uint64_t>(v);
    // One side of the panels a search lays out in a row is mostly the same.
    for (int i : {mru_, mru_ ^ 1})
        if (recent_[i] && recentKey_[i] == key) {
            mru_ = i;
            return *recent_[i];
        }
    if (const std::uint32_t* at = index_.Find({key, 0})) {
        mru_ ^= 1;
        recentKey_[mru_] = key;
        recent_[mru_] = runs_[*at].get();
        return *recent_[mru_];
    }
    const Fitter fitW(W_, C_), fitL(L_, C_);
    auto runs = std::make_unique<SideRuns>();
    MakeSideRuns(v, L_, C_, fitW, fitL, *runs);
    const std::size_t size = runs->hull.size() + runs->counts.size() / 2 + 1;
    if (kept_ + size > kMaxKept) {
        scratch_[flip_ ^= 1] = std::move(runs);
        return *scratch_[flip_];
    }
    kept_ += size;
    mru_ ^= 1;
    recentKey_[mru_] = key;
    recent_[mru_] = runs.get();
    index_.Add({key, 0}, static_cast<std::uint32_t>(runs_.size()));
    runs_.push_back(std::move(runs));
    return *recent_[mru_];
}

Layout LayoutMemo::Pieces(bool allowMixed, double BL, double BW, double CL, double CW) {
    const double UL = CL - 2 * BL;
    const double UW = CW - 2 * BW;
    if (!allowMixed)
        return Unmixed(L_, W_, C_, UL, UW);
    if (!(L_ + C_ > 0))
        return Layout{};
    const SideRuns& alongL = Runs(UL);
    const SideRuns& alongW = Runs(UW);
    return Mixed(alongL, alongW);
}

Margins ActualMargins(const Layout& lay, double L, double W, double C, double CL, double CW) {
    const bool extra = lay.c1 >= 1 && lay.c2 >= 1;
    const double A = lay.a2 * W + (lay.a2 - 1) * C;
    const double B = lay.b2 * L + (lay.b2 - 1) * C;
    const double A1 = lay.a1 * L + (lay.a1 - 1) * C;
    const double B1 = lay.b1 * W + (lay.b1 - 1) * C;
    double EL = 0, EW = 0;
    switch (lay.pattern) {
    case 'N':
        // The turned-block formulas first, so an upright block wins.
        if (lay.a1 == 0 || lay.a2 == 0) {
            EL = B1;
            EW = B;
        }
        if (lay.b1 == 0 || lay.b2 == 0) {
            EL = A1;
            EW = A;
        }
        break;
    case 'L':
        EL = lay.a1 * L + lay.b1 * W + (lay.a1 + lay.b1 - 1) * C;
        if (extra)
            EL = std::max(EL, (lay.a1 + lay.c1) * L + (lay.a1 + lay.c1 - 1) * C);
        if (TolGt(B, A))
            EW = B;
        else
            EW = extra ? std::max(A, B + lay.c2 * (W + C)) : A;
        break;
    case 'W':
        if (TolLe(B1, A1))
            EL = A1;
        else
            EL = extra ? std::max(B1, A1 + lay.c2 * (W + C)) : B1;
        EW = lay.b2 * L + lay.a2 * W + (lay.b2 + lay.a2 - 1) * C;
        if (extra)
            EW = std::max(EW, (lay.b2 + lay.c1) * L + (lay.b2 + lay.c1 - 1) * C);
        break;
    default:
        break;
    }
    return {(CL - EL) / 2, (CW - EW) / 2};
}

} // namespace vorn
