#pragma once

#include <functional>
// Input fields of the windows: number fields that refuse other text, and the
// backgrounds that mark main inputs and shown results.

class QLineEdit;
class QString;
class QObject;
class QValidator;
class QWidget;

namespace vorn {

// Cyan marks a main input, Info a shown result, Face a read-only field.
enum class Look { Plain, Cyan, Info, Face };
enum class Input { Number, Integer, Shown };

inline constexpr int kFieldWidth = 56;
inline constexpr int kRowHeight = 20;

void SetLook(QWidget* widget, Look look);
// Digits and one decimal point, at most maxLength characters typed (0: no
// limit). The limit holds for typing only: a value shown in its display
// format may be longer.
QValidator* NumberValidator(QObject* parent, int maxLength = 0);
// Digits only.
QValidator* IntegerValidator(QObject* parent, int maxLength = 0);

// A field for one column of a working table; the column and table are kept on
// the field (properties "vornTable", "vornColumn") for binding.
QLineEdit* BoundField(QWidget* parent, const char* name, const char* table, const char* column,
                      Look look, Input input, int maxLength = 0);

// A field shows its whole value or refuses it. A value whose shown form
// (`shown`, the column's display format) is too wide for the field is shown
// in a smaller font, down to 8 pixels; a typed value that would not fit even
// then is refused as it is typed.
void RefuseUnshownValues(QLineEdit* field, std::function<QString(double)> shown);
void KeepValueWhole(QLineEdit* field);

// Tab order through the named children of a window, in the order given.
void ChainTabOrder(QWidget* window, const char* const* names, int count);

} // namespace vorn
