#pragma once
// Numbered tables in a known state, and their rows as short texts, for the
// tests of the module's numbering and of the numbered-list commands.

#include "DataModule.h"

#include <QStringList>

namespace vorn::test {

// SetPanel with exactly the rows numbered 1..n, told apart by Panel_L = 10 × number.
inline void panelsNumbered(TDataM1& dm, int n) {
    Cursor& p = dm.SetPanel;
    p.open();
    while (!p.isEmpty())
        p.remove();
    for (int i = 1; i <= n; ++i) {
        dm.setInsertMode(TDataM1::Numbered::SetPanel, QString());
        p.append(); // an empty mode numbers it 1; the caller sets its own number
        p.setFieldReadOnly("Number", false);
        p.setValue("Number", i);
        p.setFieldReadOnly("Number", true);
        p.setValue("Panel_L", 10.0 * i);
        p.post();
    }
}

// "number:tag" of every shown row in cursor order.
inline QStringList rows(Cursor& c, const QString& numberField, const QString& tagField) {
    QStringList list;
    for (int row = 0; row < c.recordCount(); ++row)
        list << QStringLiteral("%1:%2")
                    .arg(c.valueAt(row, c.fieldIndex(numberField)).toInt())
                    .arg(c.valueAt(row, c.fieldIndex(tagField)).toDouble());
    return list;
}

} // namespace vorn::test
