#pragma once
// Reading the entries of the defaults list that a new job starts with.

#include <QString>
#include <QStringList>
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

// A bad entry (not a number, not finite, or outside the engine's input
// domain: a negative margin, a ratio below 1, a utilization above 100) does
// not stop the rest: its message, naming the file, the entry and its value,
// is appended to `problems` and the entry takes its built-in default. Empty
// text gives no value. With no `problems` list a bad entry throws
// std::runtime_error with the message.
//
// A length entry (inches) in the display unit.
std::optional<double> DefaultLength(const DefaultsList& list, const char* name, bool mm,
                                    QStringList* problems = nullptr);
// A number entry as it stands.
std::optional<double> DefaultNumber(const DefaultsList& list, const char* name,
                                    QStringList* problems = nullptr);
// The panel-kind count: 1 or 2; a missing entry gives 1, another value is
// reported and gives 1.
int DefaultPanelKinds(const DefaultsList& list, QStringList* problems = nullptr);

} // namespace vorn
