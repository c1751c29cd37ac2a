#pragma once

#include <QString>

#include <vector>

namespace vorn {

// A parsed filter text such as "Enbled=True", "Panel2=Null",
// "PanelType='Panel1'" or "Panel_L>1.5 and Panel_L<2.5". The text is parsed,
// never pasted into SQL; parse() throws DbError with the reason when the text
// is not one this grammar accepts:
//   filter    := condition { "and" condition }
//   condition := column op value
//   column    := name | "[" name "]"
//   op        := "=" | "<>" | ">" | "<" | ">=" | "<="
//   value     := number | 'text' (a quote inside doubled) | True | False | Null
// Null is allowed only with "=" and "<>" (a null test).
struct FilterCondition {
    enum class Op { Equal, NotEqual, Greater, Less, GreaterEqual, LessEqual };
    enum class Kind { Number, Text, Boolean, Null };
    QString column;
    Op op = Op::Equal;
    Kind kind = Kind::Null;
    double number = 0;
    QString text;
    bool flag = false;
};

struct FilterText {
    std::vector<FilterCondition> conditions; // all must hold; empty: every row passes

    static FilterText parse(const QString& text);
    // A text value written for a filter: in quotes, quotes inside doubled
    // ("O'BRIEN" gives 'O''BRIEN'), so any part number can be looked up.
    static QString quote(const QString& value);
};

} // namespace vorn
