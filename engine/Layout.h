#pragma once
// How many identical rectangular pieces fit in a container: boards on a panel,
// panels on a sheet, units in an array. Pure functions, any length unit.

#include "FlatTable.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

namespace vorn {

// Six counts and a pattern letter: an upright block a1 x a2, a turned block
// b1 x b2 and an extra block c1 x c2; pattern 'N' (one orientation), 'L'
// (split along the container length) or 'W' (split across its width).
struct Layout {
    int a1 = 0, a2 = 0, b1 = 0, b2 = 0, c1 = 0, c2 = 0;
    char pattern = 'N';

    std::int64_t Pieces() const {
        return std::int64_t{a1} * a2 + std::int64_t{b1} * b2 + std::int64_t{c1} * c2;
    }
    bool operator==(const Layout&) const = default;
};

struct Margins {
    double mL = 0, mW = 0;
};

// Pieces of extent d with gaps C that fit in a run x, counted by repeated
// subtraction with the tolerant comparison. A non-positive d + C would never
// consume the run, so it fits nothing.
int CountFit(double x, double d, double C);

// A container side holding i piece lengths and j piece widths (L, W) with
// gaps C between them and a margin B at both ends: the sides the panel and
// array searches try.
inline double GridSide(double B, double L, double W, double C, int i, int j) {
    return 2 * B - C + i * (L + C) + j * (W + C);
}

// Best layout of L x W pieces (L >= W) with gap C in a CL x CW container that
// keeps margins BL, BW free at its edges.
Layout LayoutPieces(bool allowMixed, double L, double W, double C, double BL, double BW, double CL,
                    double CW);

// LayoutPieces(allowMixed, L, W, C, 0, 0, CL, CW) in `count` containers,
// sides = {CL, CW, CL, CW, ...}, into out: the work on a side several
// containers share (sheets of one length, say) is done once.
void LayoutPiecesIn(bool allowMixed, double L, double W, double C, const double* sides,
                    std::size_t count, Layout* out);

// LayoutPieces for one piece size in many containers (the panel search lays
// the same boards out in thousands of panel sizes): what depends on one
// usable side alone is computed once per side and kept, up to a bound.
struct SideRuns;
class LayoutMemo {
public:
    LayoutMemo(double L, double W, double C);
    ~LayoutMemo();
    LayoutMemo(const LayoutMemo&) = delete;
    LayoutMemo& operator=(const LayoutMemo&) = delete;
    // LayoutPieces(allowMixed, L, W, C, BL, BW, CL, CW), the same result.
    Layout Pieces(bool allowMixed, double BL, double BW, double CL, double CW);

private:
    const SideRuns& Runs(double v);
    static constexpr std::size_t kMaxKept = std::size_t{1} << 23; // entries, about 64 MB
    double L_, W_, C_;
    FlatTable<std::uint32_t> index_; // by a side's bits: its place in runs_
    std::vector<std::unique_ptr<SideRuns>> runs_;
    std::unique_ptr<SideRuns> scratch_[2];
    int flip_ = 0;
    std::size_t kept_ = 0;
    // The two sides kept that were looked up last (never scratch_).
    const SideRuns* recent_[2] = {nullptr, nullptr};
    std::uint64_t recentKey_[2] = {0, 0};
    int mru_ = 0;
};

// Margins left at the container's edges when the layout's blocks are centred.
Margins ActualMargins(const Layout& layout, double L, double W, double C, double CL, double CW);

} // namespace vorn
