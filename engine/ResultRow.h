#pragma once
// The rows a search hands to its caller, one member per column of the
// program's result tables. Lengths are in the display unit of the search.

#include "Layout.h"
#include "Placement.h"

#include <optional>
#include <vector>

namespace vorn {

// Second panel of a two-size plan (null in a single-size row).
struct SecondPanel {
    double Panel_L2 = 0, Panel_W2 = 0;
    double Border_L2 = 0, Border_W2 = 0;
    int Set_La2 = 0, Set_Wb2 = 0, Set_Lb2 = 0, Set_Wa2 = 0, Set_sLa2 = 0, Set_sWb2 = 0;
    char Up2 = 'N';
    int Panel2 = 0;
    double Panel_lv2 = 0;
    int P_La2 = 0, P_Wb2 = 0, P_Lb2 = 0, P_Wa2 = 0;
    // Panel 2 laid out beyond the block patterns (best packing): every board
    // placed (from panel 2's lower-left corner, x along Panel_L2, in the
    // row's unit), its block counts then all 0. Empty for a block layout.
    SharedPlacements boards;
};

// One candidate plan, a row of `TempResult`.
struct ResultRow {
    int Number = 0; // 1..n after SortAndNumber
    double Set_L = 0, Set_W = 0, Set_C = 0;
    double Panel_L = 0, Panel_W = 0;
    double Border_L = 0, Border_W = 0;
    int Set_La = 0, Set_Wb = 0, Set_Lb = 0, Set_Wa = 0, Set_sLa = 0, Set_sWb = 0;
    char Up = 'N';
    int Panel = 0;
    double Panel_lv = 0;
    int P_La = 0, P_Wb = 0, P_Lb = 0, P_Wa = 0;
    std::optional<int> P_sLa, P_sWb; // null in a two-size row
    char P_up = 'N';
    int Panel_N = 0;
    double Base_L = 0, Base_W = 0;
    double Base_lv = 0;
    double Base_down = 0, Panel_down = 0;
    std::optional<SecondPanel> second; // the panel-2 columns
    // A board layout beyond the block patterns (best packing): every board
    // placed, the block counts then all 0. Empty for a block layout.
    SharedPlacements boards;

    Layout BoardLayout() const { return {Set_La, Set_Wb, Set_Lb, Set_Wa, Set_sLa, Set_sWb, Up}; }
};

// One array candidate, a row of `TempResultCus`.
struct ArrayRow {
    int Number = 0;
    double Part_L = 0, Part_W = 0, Part_C = 0;
    double SetBorder_L = 0, SetBorder_W = 0;
    double Set_L = 0, Set_W = 0;
    int Part_La = 0, Part_Wb = 0, Part_Lb = 0, Part_Wa = 0;
    int Panel = 0;
    double Panel_lv = 0;
    double Panel_Down = 0;
    // Units laid out beyond the block routine (best packing): every unit
    // placed, the block counts then all 0. Empty for a block layout.
    SharedPlacements units;
};

// Calls f(name, value) for every column of the row, in the order of the
// result table: value is an int, a double, a char (pattern letter) or
// std::nullopt for a null field. Writers of rows (tables, CSV) walk this one
// list instead of naming the columns again.
template <class F> void ForEachColumn(const ResultRow& r, F&& f) {
    f("Number", r.Number);
    f("Set_L", r.Set_L);
    f("Set_W", r.Set_W);
    f("Set_C", r.Set_C);
    f("Panel_L", r.Panel_L);
    f("Panel_W", r.Panel_W);
    f("Border_L", r.Border_L);
    f("Border_W", r.Border_W);
    f("Set_La", r.Set_La);
    f("Set_Wb", r.Set_Wb);
    f("Set_Lb", r.Set_Lb);
    f("Set_Wa", r.Set_Wa);
    f("Set_sLa", r.Set_sLa);
    f("Set_sWb", r.Set_sWb);
    f("Up", r.Up);
    f("Panel", r.Panel);
    f("Panel_lv", r.Panel_lv);
    f("P_La", r.P_La);
    f("P_Wb", r.P_Wb);
    f("P_Lb", r.P_Lb);
    f("P_Wa", r.P_Wa);
    r.P_sLa ? f("P_sLa", *r.P_sLa) : f("P_sLa", std::nullopt);
    r.P_sWb ? f("P_sWb", *r.P_sWb) : f("P_sWb", std::nullopt);
    f("P_up", r.P_up);
    f("Panel_N", r.Panel_N);
    f("Base_L", r.Base_L);
    f("Base_W", r.Base_W);
    f("Base_lv", r.Base_lv);
    f("Base_down", r.Base_down);
    f("Panel_down", r.Panel_down);
    const SecondPanel* s = r.second ? &*r.second : nullptr;
    auto second = [&](const char* name, auto member) {
        if (s)
            f(name, s->*member);
        else
            f(name, std::nullopt);
    };
    second("Panel_L2", &SecondPanel::Panel_L2);
    second("Panel_W2", &SecondPanel::Panel_W2);
    second("Border_L2", &SecondPanel::Border_L2);
    second("Border_W2", &SecondPanel::Border_W2);
    second("Set_La2", &SecondPanel::Set_La2);
    second("Set_Wb2", &SecondPanel::Set_Wb2);
    second("Set_Lb2", &SecondPanel::Set_Lb2);
    second("Set_Wa2", &SecondPanel::Set_Wa2);
    second("Set_sLa2", &SecondPanel::Set_sLa2);
    second("Set_sWb2", &SecondPanel::Set_sWb2);
    second("Up2", &SecondPanel::Up2);
    second("Panel2", &SecondPanel::Panel2);
    second("Panel_lv2", &SecondPanel::Panel_lv2);
    second("P_La2", &SecondPanel::P_La2);
    second("P_Wb2", &SecondPanel::P_Wb2);
    second("P_Lb2", &SecondPanel::P_Lb2);
    second("P_Wa2", &SecondPanel::P_Wa2);
}

// The same for an array candidate, in the order of the array result table.
template <class F> void ForEachColumn(const ArrayRow& r, F&& f) {
    f("Number", r.Number);
    f("Part_L", r.Part_L);
    f("Part_W", r.Part_W);
    f("Part_C", r.Part_C);
    f("SetBorder_L", r.SetBorder_L);
    f("SetBorder_W", r.SetBorder_W);
    f("Set_L", r.Set_L);
    f("Set_W", r.Set_W);
    f("Part_La", r.Part_La);
    f("Part_Wb", r.Part_Wb);
    f("Part_Lb", r.Part_Lb);
    f("Part_Wa", r.Part_Wa);
    f("Panel", r.Panel);
    f("Panel_lv", r.Panel_lv);
    f("Panel_Down", r.Panel_Down);
}

// Sorts by Base_down then Panel_down (rows with equal keys keep the order in
// which they were written) and numbers the rows 1..n.
void SortAndNumber(std::vector<ResultRow>& rows);
// Sorts by Panel_Down, stably, and numbers the rows 1..n.
void SortAndNumber(std::vector<ArrayRow>& rows);

} // namespace vorn
