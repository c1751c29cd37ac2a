// The folder each kind of file dialog used last: kept per kind in the user's
// settings file, so a later run starts there; a folder gone since is dropped.
#include "RecentFolders.h"
#include "VornTestSupport.h"

#include <QFileDialog>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace vorn;

class RecentFoldersTest : public QObject {
    Q_OBJECT
private slots:
    void keptPerKindInTheSettingsFile() {
        QTemporaryDir pictures, backups;
        const QString gone = QDir(pictures.path()).filePath(QStringLiteral("gone"));
        QVERIFY(QDir().mkpath(gone));
        QCOMPARE(LastFolder(FileKind::Reports), QString());
        RememberFolder(FileKind::Pictures, QDir(pictures.path()).filePath("plan.png"));
        RememberFolder(FileKind::Backups, QDir(backups.path()).filePath("Vorn_BackUp.mdb"));
        RememberFolder(FileKind::PartLists, QDir(gone).filePath("parts.txt"));
        RememberFolder(FileKind::Reports, QString()); // a cancelled dialog changes nothing
        QVERIFY(QDir(gone).removeRecursively());

        // What a later run reads: the file itself.
        const QString file =
            QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
                .filePath(QStringLiteral("Vorn/Vorn.ini"));
        QSettings stored(file, QSettings::IniFormat);
        QCOMPARE(stored.value("folders/pictures").toString(), pictures.path());
        QCOMPARE(stored.value("folders/backups").toString(), backups.path());

        QCOMPARE(LastFolder(FileKind::Pictures), pictures.path());
        QCOMPARE(LastFolder(FileKind::Backups), backups.path());
        QCOMPARE(LastFolder(FileKind::PartLists), QString()); // removed since
        QCOMPARE(LastFolder(FileKind::Reports), QString());

        QFileDialog dialog;
        StartInLastFolder(dialog, FileKind::Backups);
        dialog.selectFile(QStringLiteral("Vorn_BackUp.mdb"));
        QCOMPARE(dialog.selectedFiles().value(0),
                 QDir(backups.path()).filePath(QStringLiteral("Vorn_BackUp.mdb")));
    }
};

VORN_TEST_MAIN(RecentFoldersTest)
#include "RecentFoldersTest.moc"
