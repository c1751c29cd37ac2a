#include "PanelSearchStages.h"

#include <cmath>

namespace vorn::panelsearch {

void Search::RecordFastPlan(std::size_t i, std::size_t j, const Layout& b1, const Layout& b2,
                            const FastBest& b, const SizeKey& key) {
    if (key.a != 0) {
        // A plan forgotten here is recorded again and its row found a
        // duplicate (or again ruled out): only time is at stake.
        if (plansMet_.Size() >= kPlansKept)
            plansMet_.Clear();
        if (!plansMet_.Insert(key))
            return;
    }
    RecordPlan(MakePlan(i, j, b1, b2, b));
}

TwoPlan Search::MakePlan(std::size_t i, std::size_t j, const Layout& b1, const Layout& b2,
                         const FastBest& b) const {
    TwoPlan t;
    t.P1L = inner_[i].Panel_L;
    t.P1W = inner_[i].Panel_W;
    t.P2L = inner_[j].Panel_L;
    t.P2W = inner_[j].Panel_W;
    t.SL = sheets_[b.sheet].SL;
    t.SW = sheets_[b.sheet].SW;
    t.board1 = b1;
    t.board2 = b2;
    t.value = b.value;
    t.split = b.split == 0 ? 'L' : 'W';
    const int m1 = RoleOf(i, b.sheet, b.split, b.o1).across;
    const int m2 = RoleOf(j, b.sheet, b.split, b.o2).across;
    if (b.split == 0) {
        (b.o1 == 0 ? t.Pa1 : t.Pb1) = b.k;
        (b.o1 == 0 ? t.Pa2 : t.Pb2) = m1;
        (b.o2 == 0 ? t.q1 : t.q3) = b.q;
        (b.o2 == 0 ? t.q2 : t.q4) = m2;
    } else {
        (b.o1 == 0 ? t.Pa1 : t.Pb1) = m1;
        (b.o1 == 0 ? t.Pa2 : t.Pb2) = b.k;
        (b.o2 == 0 ? t.q1 : t.q3) = m2;
        (b.o2 == 0 ? t.q2 : t.q4) = b.q;
    }
    return t;
}

void Search::TryPair(const InnerRow& p1, const Layout& b1, const InnerRow& p2, const Layout& b2) {
    TwoPlan best;
    bool have = false;
    TwoPlan t;
    t.P1L = p1.Panel_L;
    t.P1W = p1.Panel_W;
    t.P2L = p2.Panel_L;
    t.P2W = p2.Panel_W;
    t.board1 = b1;
    t.board2 = b2;
    const std::int64_t u1 = b1.Pieces(), u2 = b2.Pieces();
    for (const Sheet& s : sheets_) {
        t.SL = s.SL;
        t.SW = s.SW;
        const double scale = s.SL * s.SW;
        for (int cfg = 1; cfg <= 8; ++cfg) {
            t.Pa1 = t.Pa2 = t.Pb1 = t.Pb2 = t.q1 = t.q2 = t.q3 = t.q4 = 0;
            const bool alongL = cfg <= 4;
            t.split = alongL ? 'L' : 'W';
            const double along = alongL ? s.SL : s.SW;
            const double across = alongL ? s.SW : s.SL;
            // Panel 1 upright in 1, 2, 5, 6; panel 2 upright in 1, 4, 5, 8.
            const bool up1 = cfg == 1 || cfg == 2 || cfg == 5 || cfg == 6;
            const bool up2 = cfg == 1 || cfg == 4 || cfg == 5 || cfg == 8;
            // Side of each panel along the split and across it.
            const double a1 = alongL == up1 ? t.P1L : t.P1W;
            const double x1 = alongL == up1 ? t.P1W : t.P1L;
            const double a2 = alongL == up2 ? t.P2L : t.P2W;
            const double x2 = alongL == up2 ? t.P2W : t.P2L;
            const int m1 = static_cast<int>(std::trunc(across / x1));
            const int m2 = static_cast<int>(std::trunc(across / x2));
            int *k1p, *k2p;
            if (alongL) {
                (up1 ? t.Pa2 : t.Pb2) = m1;
                k1p = up1 ? &t.Pa1 : &t.Pb1;
                (up2 ? t.q2 : t.q4) = m2;
                k2p = up2 ? &t.q1 : &t.q3;
            } else {
                (up1 ? t.Pa1 : t.Pb1) = m1;
                k1p = up1 ? &t.Pa2 : &t.Pb2;
                (up2 ? t.q1 : t.q3) = m2;
                k2p = up2 ? &t.q2 : &t.q4;
            }
            const std::int64_t a1Key = TolKey(a1);
            double rest = along;
            int k = 0;
            while (TolKey(rest) >= a1Key) {
                ++k;
                rest = rest - a1;
                *k1p = k;
                *k2p = CountFit(rest, a2, 0);
                const std::int64_t boards =
                    u1 * (std::int64_t{t.Pa1} * t.Pa2 + std::int64_t{t.Pb1} * t.Pb2) +
                    u2 * (std::int64_t{t.q1} * t.q2 + std::int64_t{t.q3} * t.q4);
                const std::int64_t cur =
                    RoundEven(L_ * 1e10 * W_ * static_cast<double>(boards) * 100 / scale);
                // Strictly better than panel 1 alone, at least the minimum,
                // and on a tie the later configuration wins.
                if (cur > keyU1_ && cur >= minLvKey_ && (!have || best.value <= cur)) {
                    t.value = cur;
                    best = t;
                    have = true;
                }
            }
        }
        if (!job_.GoodBase && have) {
            RecordPlan(best);
            have = false;
        }
    }
    if (job_.GoodBase && have)
        RecordPlan(best);
}

void Search::RecordPlan(TwoPlan plan) {
    if (!(TolGe(plan.P1L, minPL_) && TolGe(plan.P1W, minPW_) && TolGe(plan.P2L, minPL_) &&
          TolGe(plan.P2W, minPW_)))
        return;
    if (job_.AUTOPanel) {
        RoundTwoSizePanels(plan);
        plan.board1 = RoundedBoard(plan.P1L, plan.P1W);
        plan.board2 = RoundedBoard(plan.P2L, plan.P2W);
    }
    RecordTwoSizeRow(plan);
}

Layout Search::RoundedBoard(double PL, double PW) {
    const SizeKey key = KeyOf(PL, PW);
    RecentBoard& e = recentBoards_[Mix(key) & (recentBoards_.size() - 1)];
    if (e.key == key && e.cleared == boardsCleared_)
        return e.layout;
    const Layout layout = Board(PL, PW);
    e = {key, layout, boardsCleared_};
    return layout;
}

void Search::RoundTwoSizePanels(TwoPlan& t) const {
    const bool up1 = t.Pa1 != 0 && t.Pa2 != 0 && t.Pb1 == 0 && t.Pb2 == 0;
    const bool turned1 = t.Pb1 != 0 && t.Pb2 != 0 && t.Pa1 == 0 && t.Pa2 == 0;
    const bool up2 = t.q1 != 0 && t.q2 != 0 && t.q3 == 0 && t.q4 == 0;
    const bool turned2 = t.q3 != 0 && t.q4 != 0 && t.q1 == 0 && t.q2 == 0;
    if (!(up1 || turned1) || !(up2 || turned2))
        return;
    const bool alongL = t.split == 'L';
    const double along = alongL ? t.SL : t.SW;
    const double across = alongL ? t.SW : t.SL;
    double& s1a = alongL == up1 ? t.P1L : t.P1W;
    double& s1x = alongL == up1 ? t.P1W : t.P1L;
    double& s2a = alongL == up2 ? t.P2L : t.P2W;
    double& s2x = alongL == up2 ? t.P2W : t.P2L;
    int k1, m1, k2, m2;
    if (alongL) {
        k1 = up1 ? t.Pa1 : t.Pb1;
        m1 = up1 ? t.Pa2 : t.Pb2;
        k2 = up2 ? t.q1 : t.q3;
        m2 = up2 ? t.q2 : t.q4;
    } else {
        k1 = up1 ? t.Pa2 : t.Pb2;
        m1 = up1 ? t.Pa1 : t.Pb1;
        k2 = up2 ? t.q2 : t.q4;
        m2 = up2 ? t.q1 : t.q3;
    }
    s1a = RoundUpToFit(s1a, [&](double v) { return TolLe(k1 * v + k2 * s2a, along); });
    s2a = RoundUpToFit(s2a, [&](double v) { return TolLe(k1 * s1a + k2 * v, along); });
    s1x = RoundUpToFit(s1x, [&](double v) { return TolLe(m1 * v, across); });
    s2x = RoundUpToFit(s2x, [&](double v) { return TolLe(m2 * v, across); });
}

void Search::RecordTwoSizeRow(const TwoPlan& t) {
    // Either panel laid out beyond the blocks where its bound leaves room
    // (best packing): the plan's panels and sheet stay, its boards grow.
    const SharedPlacements* packed1 = packed_.Better(t.P1L * f_, t.P1W * f_, t.board1.Pieces());
    const SharedPlacements* packed2 = packed_.Better(t.P2L * f_, t.P2W * f_, t.board2.Pieces());
    const std::int64_t u1 =
        packed1 ? static_cast<std::int64_t>(packed1->size()) : t.board1.Pieces();
    const std::int64_t u2 =
        packed2 ? static_cast<std::int64_t>(packed2->size()) : t.board2.Pieces();
    const std::int64_t n1 = std::int64_t{t.Pa1} * t.Pa2 + std::int64_t{t.Pb1} * t.Pb2;
    const std::int64_t n2 = std::int64_t{t.q1} * t.q2 + std::int64_t{t.q3} * t.q4;
    const std::int64_t boards = u1 * n1 + u2 * n2;
    const double U = L_ * W_ * static_cast<double>(boards) * 100 / (t.SL * t.SW);
    if (pairs_.Holds(t.SL * f_, t.SW * f_, U, t.board1, t.board2))
        return;
    if (DominatedBySingleSize(levels_, U, u1, u2))
        return;
    ResultRow r;
    r.Set_La = t.board1.a1;
    r.Set_Wb = t.board1.a2;
    r.Set_Lb = t.board1.b1;
    r.Set_Wa = t.board1.b2;
    r.Set_sLa = t.board1.c1;
    r.Set_sWb = t.board1.c2;
    r.Up = t.board1.pattern;
    r.Panel = static_cast<int>(u1);
    r.Panel_lv = u1 * L_ * W_ * 100 / (t.P1L * t.P1W);
    SecondPanel s;
    s.Set_La2 = t.board2.a1;
    s.Set_Wb2 = t.board2.a2;
    s.Set_Lb2 = t.board2.b1;
    s.Set_Wa2 = t.board2.b2;
    s.Set_sLa2 = t.board2.c1;
    s.Set_sWb2 = t.board2.c2;
    s.Up2 = t.board2.pattern;
    s.Panel2 = static_cast<int>(u2);
    s.Panel_lv2 = u2 * L_ * W_ * 100 / (t.P2L * t.P2W);
    r.P_La = t.Pa1;
    r.P_Wb = t.Pa2;
    r.P_Lb = t.Pb1;
    r.P_Wa = t.Pb2;
    r.P_up = t.split;
    s.P_La2 = t.q1;
    s.P_Wb2 = t.q2;
    s.P_Lb2 = t.q3;
    s.P_Wa2 = t.q4;
    r.Panel_N = static_cast<int>(n1 + n2);
    r.Base_lv = static_cast<double>(boards) * L_ * W_ * 100 / (t.SL * t.SW);
    // Zero utilizations have no sort key (100 / 0): not a row.
    if (r.Base_lv == 0 || r.Panel_lv == 0 || s.Panel_lv2 == 0)
        return;
    r.Base_down = 100 / r.Base_lv;
    r.Panel_down = 100 / r.Panel_lv;
    SetLengths(r, t.P1L, t.P1W, t.SL, t.SW, ActualMargins(t.board1, L_, W_, C_, t.P1L, t.P1W));
    const Margins m2 = ActualMargins(t.board2, L_, W_, C_, t.P2L, t.P2W);
    s.Panel_L2 = t.P2L * f_;
    s.Panel_W2 = t.P2W * f_;
    s.Border_L2 = m2.mL * f_;
    s.Border_W2 = m2.mW * f_;
    if (packed1)
        TakePackedBoards(r, *packed1);
    if (packed2)
        TakePackedBoards(s, *packed2);
    r.second = std::move(s);
    pairs_.Add(r.Base_L, r.Base_W, r.Base_lv, t.board1, t.board2);
    Write(r);
}

} // namespace vorn::panelsearch
