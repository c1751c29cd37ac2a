#include "PanelSearchStages.h"

namespace vorn::panelsearch {

void Search::CutOnBestSheet(int pass, double PL, double PW, const Layout* ahead) {
    sheet_ = Sheet{};
    cut_ = Layout{};
    std::int64_t bestDensity = 0;
    const Layout* cuts = Cuts(PL, PW, ahead);
    for (std::size_t s = 0; s < sheets_.size(); ++s) {
        const std::int64_t n = cuts[s].Pieces();
        const std::int64_t density =
            RoundEven(static_cast<double>(n * kE10) / (sheets_[s].SL * sheets_[s].SW));
        if (density > bestDensity) {
            bestDensity = density;
            sheet_ = sheets_[s];
            cut_ = cuts[s];
        }
    }
    if (job_.AUTOPanel)
        GrowPanelToSheet(pass, PL, PW);
    else if (pass == 1)
        RecordSizeRow(PL, PW);
    else
        board_ = Board(PL, PW);
}

void Search::CutOnEverySheet(double PL, double PW, const Layout* ahead) {
    const Layout* cuts = Cuts(PL, PW, ahead);
    for (std::size_t s = 0; s < sheets_.size(); ++s) {
        sheet_ = sheets_[s];
        cut_ = cuts[s];
        if (job_.AUTOPanel)
            GrowPanelToSheet(1, PL, PW);
        else
            RecordSizeRow(PL, PW);
    }
}

void Search::GrowPanelToSheet(int pass, double PL, double PW) {
    GrowPanel(cut_, sheet_.SL, sheet_.SW, PL, PW);
    if (PL > maxPL_)
        PL = maxPL_;
    if (PW > maxPW_)
        PW = maxPW_;
    if (pass == 1) {
        if (TolGe(PL, minPL_) && TolGe(PW, minPW_)) {
            board_ = Board(PL, PW);
            RecordSizeRow(PL, PW);
        }
    } else {
        board_ = Board(PL, PW);
    }
}

void Search::RecordSizeRow(double PL, double PW) {
    progress_.Step();
    const std::int64_t n = cut_.Pieces();
    std::int64_t p = board_.Pieces();
    const double SL = sheet_.SL, SW = sheet_.SW;
    auto reaches = [&](std::int64_t boards) {
        return TolKey(L_ * W_ * boards * n * 100 / (SL * SW)) >= minLvKey_;
    };
    // Lengths as the job shows them: millimetres stay whole numbers. The
    // solver runs only where its most boards would reach the minimum.
    const SharedPlacements* packed = nullptr;
    if (packed_.On() && reaches(packed_.Bound(PL * f_, PW * f_, p)))
        packed = packed_.Better(PL * f_, PW * f_, p);
    if (packed)
        p = static_cast<std::int64_t>(packed->size());
    if (!reaches(p))
        return;
    if (singles_.Holds(PL * f_, PW * f_, SL * f_, SW * f_))
        return;
    ResultRow r;
    r.Set_La = board_.a1;
    r.Set_Wb = board_.a2;
    r.Set_Lb = board_.b1;
    r.Set_Wa = board_.b2;
    r.Set_sLa = board_.c1;
    r.Set_sWb = board_.c2;
    r.Up = board_.pattern;
    r.Panel = static_cast<int>(p);
    r.Panel_lv = r.Panel * (L_ * W_) * 100 / (PL * PW);
    r.P_La = cut_.a1;
    r.P_Wb = cut_.a2;
    r.P_Lb = cut_.b1;
    r.P_Wa = cut_.b2;
    r.P_sLa = cut_.c1;
    r.P_sWb = cut_.c2;
    r.P_up = cut_.pattern;
    r.Panel_N = static_cast<int>(n);
    r.Base_lv = static_cast<double>(r.Panel_N) * r.Panel * (L_ * W_) * 100 / (SL * SW);
    // A plan with no board or no panel has no sort key (100 / 0): not a row.
    if (r.Base_lv == 0 || r.Panel_lv == 0)
        return;
    r.Base_down = 100 / r.Base_lv;
    r.Panel_down = 100 / r.Panel_lv;
    const Margins m = ActualMargins(board_, L_, W_, C_, PL, PW);
    SetLengths(r, PL, PW, SL, SW, m);
    if (packed)
        TakePackedBoards(r, *packed);
    singles_.Add(r.Panel_L, r.Panel_W, r.Base_L, r.Base_W);
    levels_.Add(r.Base_lv, r.Panel);
    Write(r);
}

} // namespace vorn::panelsearch
