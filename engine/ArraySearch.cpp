#include "InputDomain.h"
#include "Layout.h"
#include "PackedLayouts.h"
#include "PanelSearch.h"
#include "RowIndex.h"
#include "Tolerance.h"

#include <cmath>
#include <map>
#include <stdexcept>

namespace vorn {

namespace {

class ArraySearch {
public:
    ArraySearch(const ArrayJob& job, DisplayUnit unit, ArraySink& sink, SearchProgress& progress,
                SearchStats& stats)
        : job_(job), f_(UnitFactor(unit)), sink_(sink), progress_(progress), stats_(stats),
          packed_(job.packing,
                  {job.Part_L, job.Part_W, job.Part_C, job.SetBorder_L, job.SetBorder_W}, stats) {
        const double a = job.Part_L / f_, b = job.Part_W / f_;
        L_ = a >= b ? a : b;
        W_ = a >= b ? b : a;
        C_ = job.Part_C / f_;
        BXL_ = job.SetBorder_L / f_;
        BXW_ = job.SetBorder_W / f_;
        minL_ = job.Min_SetL / f_;
        minW_ = job.Min_SetW / f_;
        maxL_ = job.Max_SetL / f_;
        maxW_ = job.Max_SetW / f_;
    }

    void Run() {
        const auto t0 = std::chrono::steady_clock::now();
        progress_.SetMaximum(std::llrint(EstimateSteps(L_, W_) / 20.0));
        // Only the pure grids of the panel generator: arrays are never mixed.
        if (L_ + C_ > 0 && W_ + C_ > 0) {
            for (int k = 1;; ++k) {
                const double AW = Side(BXW_, 0, k);
                if (!TolLe(AW, maxW_))
                    break;
                for (int m = 1;; ++m) {
                    const double AL = Side(BXL_, m, 0);
                    if (!TolLe(AL, maxL_))
                        break;
                    RecordArrayCandidate(AL, AW);
                }
            }
            for (int m = 1;; ++m) {
                const double AL = Side(BXL_, 0, m);
                if (!TolLe(AL, maxL_))
                    break;
                for (int k = 1;; ++k) {
                    const double AW = Side(BXW_, k, 0);
                    if (!TolLe(AW, maxW_))
                        break;
                    RecordArrayCandidate(AL, AW);
                }
            }
        }
        stats_.singleTime = std::chrono::steady_clock::now() - t0;
        stats_.progressSteps = progress_.Steps();
    }

private:
    double Side(double B, int i, int j) const { return GridSide(B, L_, W_, C_, i, j); }

    void RecordArrayCandidate(double AL, double AW) {
        ++stats_.candidatesGenerated;
        progress_.Step();
        if (AL < AW)
            std::swap(AL, AW);
        if (Holds(AL * f_, AW * f_))
            return;
        ++stats_.layoutCalls;
        const Layout lay = LayoutPieces(false, L_, W_, C_, BXL_, BXW_, AL, AW);
        if (!(AL > minL_ && AW > minW_))
            return;
        ++stats_.candidatesEvaluated;
        ArrayRow r;
        r.Part_L = L_ * f_;
        r.Part_W = W_ * f_;
        r.Part_C = C_ * f_;
        r.SetBorder_L = BXL_ * f_;
        r.SetBorder_W = BXW_ * f_;
        r.Set_L = AL * f_;
        r.Set_W = AW * f_;
        r.Part_La = lay.a1;
        r.Part_Wb = lay.a2;
        r.Part_Lb = lay.b1;
        r.Part_Wa = lay.b2;
        r.Panel = static_cast<int>(lay.Pieces());
        // Lengths as the job shows them: millimetres stay whole numbers.
        if (const SharedPlacements* better = packed_.Better(r.Set_L, r.Set_W, r.Panel)) {
            r.Part_La = r.Part_Wb = r.Part_Lb = r.Part_Wa = 0;
            r.Panel = static_cast<int>(better->size());
            r.units = *better;
        }
        // An array that holds no unit has no sort key (1 / 0): not a row.
        if (r.Panel == 0)
            return;
        r.Panel_lv = W_ * (L_ * 100) * r.Panel / (AL * AW);
        r.Panel_Down = 1 / r.Panel_lv;
        rows_[r.Set_L].push_back(r.Set_W);
        ++stats_.rowsWritten;
        sink_.Write(r);
    }

    bool Holds(double SL, double SW) const {
        const Window l(SL), w(SW);
        for (auto it = rows_.upper_bound(l.Below()); it != rows_.end() && it->first < l.Above();
             ++it)
            if (l.Holds(it->first))
                for (double stored : it->second)
                    if (w.Holds(stored))
                        return true;
        return false;
    }

    const ArrayJob& job_;
    double f_;
    ArraySink& sink_;
    SearchProgress& progress_;
    SearchStats& stats_;
    double L_ = 0, W_ = 0, C_ = 0, BXL_ = 0, BXW_ = 0, minL_ = 0, minW_ = 0, maxL_ = 0, maxW_ = 0;
    std::map<double, std::vector<double>> rows_;
    PackedLayouts packed_;
};

} // namespace

void RunArraySearch(const ArrayJob& job, DisplayUnit unit, ArraySink& sink,
                    SearchProgress& progress, SearchStats* stats) {
    std::string refusal = ArrayJobRefusal(job);
    if (refusal.empty())
        refusal = ArrayJobDomainError(job, unit);
    if (!refusal.empty())
        throw std::invalid_argument(refusal);
    SearchStats local;
    ArraySearch search(job, unit, sink, progress, stats ? *stats : local);
    search.Run();
}

} // namespace vorn
