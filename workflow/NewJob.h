#pragma once
// Reading the entries of the defaults list that a new job starts with.

#include <QString>
#include <optional>

namespace vorn {

class DefaultsList;

// The lengths of the job row and of the array row, in the order the defaults
// window stores them.
inline constexpr const char* kJobLengthEntries[] = {
    "Set_L", "Set_W", "Set_C", "BorderX_L", "BorderX_W", "Min_PL", "Min_PW", "Max_PL", "Max_PW"};
inline constexpr const char* kArrayLengthEntries[] = {"Part_L",   "Part_W",      "Part_C",
                                                      "Min_SetL", "Min_SetW",    "Max_SetL",
                                                      "Max_SetW", "SetBorder_L", "SetBorder_W"};
// Numbers set into the job row as they stand.
inline constexpr const char* kJobNumberEntries[] = {"PLPW_ratio", "Min_lv"};

// A length entry (inches) in the display unit; empty text gives no value.
// Text that is not a number throws std::runtime_error with a message.
std::optional<double> DefaultLength(const DefaultsList& list, const char* name, bool mm);
// A number entry as it stands; empty gives no value, bad text throws.
std::optional<double> DefaultNumber(const DefaultsList& list, const char* name);
// The panel-kind count: 1 or 2; a missing or unreadable entry gives 1.
int DefaultPanelKinds(const DefaultsList& list);

} // namespace vorn
