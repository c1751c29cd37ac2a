#include "PanelSearch.h"

#include "InputDomain.h"
#include "PanelSearchStages.h"
#include "SearchBounds.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <thread>

namespace vorn {

std::int64_t EstimateSteps(double L, double W) {
    const double A = L * W;
    if (A <= 1)
        return 40000;
    if (A <= 2)
        return 20000;
    if (A <= 2.5)
        return 15000;
    if (A <= 3)
        return 10000;
    if (A <= 4)
        return 8000;
    if (A <= 5)
        return 5000;
    if (A <= 10)
        return 2000;
    if (A <= 12.5)
        return 1200;
    if (A <= 15)
        return 800;
    if (A <= 20)
        return 400;
    if (A <= 100)
        return 200;
    if (A <= 500)
        return 100;
    return 50;
}

std::string PanelJobRefusal(const PanelJob& job) {
    if (job.Set_L == 0 || job.Set_W == 0)
        return "   成品板尺寸不能为\"0\" ！   ";
    if (job.sheets.empty())
        return "   请选定有效板材！！   ";
    return {};
}

std::string ArrayJobRefusal(const ArrayJob& job) {
    if (job.Part_L == 0 || job.Part_W == 0)
        return "   单元尺寸不能为\"0\" ！   ";
    return {};
}

unsigned SearchThreads() {
    if (const char* v = std::getenv("VORN_THREADS")) {
        char* end = nullptr;
        const long t = std::strtol(v, &end, 10);
        if (end != v && *end == 0 && t >= 1)
            return static_cast<unsigned>(std::min(t, 2L));
    }
    return std::max(1u, std::min(2u, std::thread::hardware_concurrency()));
}

namespace panelsearch {

Search::Search(const PanelJob& job, DisplayUnit unit, ResultSink& sink, SearchProgress& progress,
               SearchStats& stats, bool literalPairs)
    : literalPairs_(literalPairs), job_(job), f_(UnitFactor(unit)), sink_(sink),
      progress_(progress), stats_(stats), packed_(PanelSearchPacking(job, stats)) {
    const double a = job.Set_L / f_;
    const double b = job.Set_W / f_;
    L_ = a >= b ? a : b;
    W_ = a >= b ? b : a;
    C_ = job.Set_C / f_;
    BXL_ = job.BorderX_L / f_;
    BXW_ = job.BorderX_W / f_;
    minPL_ = job.Min_PL / f_;
    minPW_ = job.Min_PW / f_;
    maxPL_ = job.Max_PL / f_;
    maxPW_ = job.Max_PW / f_;
    // Any ratio above every side ratio the bounds allow is no limit.
    ratioKey_ = TolKey(std::min(job.PLPW_ratio, kRatioWithoutLimit));
    minLvKey_ = TolKey(job.Min_lv);
    boardLayouts_ = std::make_unique<LayoutMemo>(L_, W_, C_);
    collect_ = job.PanelNumber != "1";

    // The sheet table's order: Base_L, then Base_W, as stored.
    std::vector<SheetSize> stored = job.sheets;
    std::stable_sort(stored.begin(), stored.end(), [](const SheetSize& x, const SheetSize& y) {
        return x.Base_L != y.Base_L ? x.Base_L < y.Base_L : x.Base_W < y.Base_W;
    });
    for (const SheetSize& s : stored) {
        // A sheet without area holds no panel and has no density (n / 0).
        if (!(s.Base_L > 0 && s.Base_W > 0))
            continue;
        if (TolGe(s.Base_L, s.Base_W))
            sheets_.push_back({s.Base_L, s.Base_W});
        else
            sheets_.push_back({s.Base_W, s.Base_L});
    }
    for (const Sheet& sheet : sheets_) {
        sheetSides_.push_back(sheet.SL);
        sheetSides_.push_back(sheet.SW);
    }
    // Limits far beyond the sheets (PanelSideReach); the literal walk
    // goes all the way.
    walk_ =
        literalPairs_ ? PanelWalk(L_, W_, C_, BXL_, BXW_, maxPL_, maxPW_) : SearchWalk(job, unit);
}

void Search::Run() {
    const auto t0 = std::chrono::steady_clock::now();
    estimate_ = EstimateSteps(L_, W_);
    progress_.SetMaximum(estimate_);
    if (!job_.AUTOPanel)
        TryPresetPanels();
    else if (literalPairs_)
        GeneratePanelSizesLiteral();
    else
        GeneratePanelSizes();
    const auto t1 = std::chrono::steady_clock::now();
    stats_.singleTime = t1 - t0;
    if (collect_) {
        std::stable_sort(inner_.begin(), inner_.end(), [](const InnerRow& x, const InnerRow& y) {
            return x.Panel_LxW < y.Panel_LxW;
        });
        stats_.innerSize = static_cast<std::int64_t>(inner_.size());
        if (job_.PanelNumber == "2") {
            // The single-size steps are known now: the pairs follow them.
            if (!literalPairs_ && progress_.Steps() > estimate_) {
                singleMax_ = progress_.Steps();
                RaiseMaximum();
            }
            SearchTwoSizePlans();
        }
    }
    stats_.pairTime = std::chrono::steady_clock::now() - t1;
    stats_.progressSteps = progress_.Steps();
}

void Search::KeepAhead() {
    const std::int64_t steps = progress_.Steps();
    const std::int64_t current = std::max(estimate_, singleMax_);
    if (steps < current - current / 10 || doneWork_ <= 0)
        return;
    const double projected = static_cast<double>(steps) * static_cast<double>(plannedWork_) /
                             static_cast<double>(doneWork_);
    if (projected > static_cast<double>(current) && projected < 0x1p62) {
        singleMax_ = static_cast<std::int64_t>(projected);
        RaiseMaximum();
    }
}

void Search::RaiseMaximum() {
    const auto n = static_cast<std::int64_t>(inner_.size());
    progress_.SetMaximum(std::max(estimate_, singleMax_) + n * (n - 1) / 2);
}

void Search::SetLengths(ResultRow& r, double PL, double PW, double SL, double SW,
                        const Margins& m) const {
    r.Set_L = L_ * f_;
    r.Set_W = W_ * f_;
    r.Set_C = C_ * f_;
    r.Panel_L = PL * f_;
    r.Panel_W = PW * f_;
    r.Base_L = SL * f_;
    r.Base_W = SW * f_;
    r.Border_L = m.mL * f_;
    r.Border_W = m.mW * f_;
}

void Search::Write(const ResultRow& r) {
    if (stats_.rowsWritten >= maxRows_)
        throw SearchTooLarge(maxRows_);
    ++stats_.rowsWritten;
    sink_.Write(r);
}
} // namespace panelsearch

using panelsearch::Search;

namespace {
void ThrowIfRefused(const PanelJob& job, DisplayUnit unit) {
    std::string refusal = PanelJobRefusal(job);
    if (refusal.empty())
        refusal = PanelJobDomainError(job, unit);
    if (!refusal.empty())
        throw std::invalid_argument(refusal);
}
} // namespace

void RunPanelSearch(const PanelJob& job, DisplayUnit unit, ResultSink& sink,
                    SearchProgress& progress, SearchStats* stats) {
    ThrowIfRefused(job, unit);
    if (NoPlanReachesMinimum(job, unit) || NoPanelFitsAnySheet(job, unit))
        return;
    SearchStats local;
    Search search(job, unit, sink, progress, stats ? *stats : local, false);
    search.Run();
}

void RunPanelSearchReference(const PanelJob& job, DisplayUnit unit, ResultSink& sink,
                             SearchProgress& progress, SearchStats* stats) {
    ThrowIfRefused(job, unit);
    SearchStats local;
    Search search(job, unit, sink, progress, stats ? *stats : local, true);
    search.Run();
}

} // namespace vorn
