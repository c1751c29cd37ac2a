#include "RecentFolders.h"

#include "UserSettings.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace vorn {

namespace {

QString Key(FileKind kind) {
    switch (kind) {
    case FileKind::Pictures:
        return QStringLiteral("folders/pictures");
    case FileKind::Reports:
        return QStringLiteral("folders/reports");
    case FileKind::PartLists:
        return QStringLiteral("folders/partlists");
    case FileKind::Backups:
        return QStringLiteral("folders/backups");
    }
    return {};
}

} // namespace

QString LastFolder(FileKind kind) {
    const QString folder = UserSettings().value(Key(kind)).toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

void StartInLastFolder(QFileDialog& dialog, FileKind kind) {
    if (const QString folder = LastFolder(kind); !folder.isEmpty())
        dialog.setDirectory(folder);
}

void RememberFolder(FileKind kind, const QString& file) {
    if (file.isEmpty())
        return;
    UserSettings().setValue(Key(kind), QFileInfo(file).absolutePath());
}

} // namespace vorn
