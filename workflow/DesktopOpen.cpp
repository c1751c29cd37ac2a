#include "DesktopOpen.h"

#include <QProcess>

namespace vorn {

bool OpenWithDesktop(const QString& path) {
    constexpr int kStartMs = 3000, kExitMs = 3000;
    // Not owned by a caller: an opener that outlives the wait keeps running,
    // and frees itself when it ends.
    auto* opener = new QProcess;
    QObject::connect(opener, &QProcess::finished, opener, &QObject::deleteLater);
    opener->start(QStringLiteral("xdg-open"), {path});
    if (!opener->waitForStarted(kStartMs)) {
        opener->deleteLater();
        return false;
    }
    if (!opener->waitForFinished(kExitMs))
        return opener->state() == QProcess::Running;
    return opener->exitStatus() == QProcess::NormalExit && opener->exitCode() == 0;
}

} // namespace vorn
