#include "Calculator.h"

#include <QProcess>
#include <QStandardPaths>

namespace vorn {

bool StartCalculator() {
    // The first calculator found on the search path.
    for (const char* name :
         {"gnome-calculator", "kcalc", "galculator", "mate-calc", "qalculate-gtk", "xcalc"}) {
        const QString program = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!program.isEmpty())
            return QProcess::startDetached(program, {});
    }
    return false;
}

} // namespace vorn
