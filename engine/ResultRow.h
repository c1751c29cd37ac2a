#pragma once
// The rows a search hands to its caller, one member per column of the
// program's result tables. Lengths are in the display unit of the search.

#include "Layout.h"

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
};

// Sorts by Base_down then Panel_down (rows with equal keys keep the order in
// which they were written) and numbers the rows 1..n.
void SortAndNumber(std::vector<ResultRow>& rows);
// Sorts by Panel_Down, stably, and numbers the rows 1..n.
void SortAndNumber(std::vector<ArrayRow>& rows);

} // namespace vorn
