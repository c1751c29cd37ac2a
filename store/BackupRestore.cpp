#include "BackupRestore.h"

#include "RecentFolders.h"
#include "SafeWrite.h"
#include "SchemaCheck.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QThread>

#include <sqlite3.h>

#include <filesystem>
#include <memory>

namespace vorn {

namespace {

const QString kInitialName = QStringLiteral("Vorn_BackUp.mdb");

struct DbCloser {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using DbHandle = std::unique_ptr<sqlite3, DbCloser>;

QString Shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// Both paths name one existing file (also through links).
bool SameFile(const QString& a, const QString& b) {
    std::error_code ec;
    const bool same = std::filesystem::equivalent(QFile::encodeName(a).toStdString(),
                                                  QFile::encodeName(b).toStdString(), ec);
    return !ec && same;
}

// The whole database at `path` as the bytes of a database file, read as one
// consistent snapshot through the online backup into memory. With `check`
// the copy must also pass SQLite's quick integrity check.
bool Snapshot(const QString& path, QByteArray& bytes, bool check, QString* error) {
    auto fail = [&](const QString& why) {
        if (error)
            *error = QStringLiteral("Cannot read the database \"%1\": %2.").arg(Shown(path), why);
        return false;
    };
    sqlite3* raw = nullptr;
    int rc =
        sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, SQLITE_OPEN_READONLY, nullptr);
    DbHandle source(raw);
    if (rc != SQLITE_OK)
        return fail(QString::fromUtf8(raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc)));
    sqlite3_busy_timeout(raw, 5000);
    raw = nullptr;
    sqlite3_open(":memory:", &raw);
    DbHandle copy(raw);
    if (!raw)
        return fail(QStringLiteral("out of memory"));

    sqlite3_backup* backup = sqlite3_backup_init(copy.get(), "main", source.get(), "main");
    if (!backup)
        return fail(QString::fromUtf8(sqlite3_errmsg(copy.get())));
    // All pages in one step: the copy is one snapshot. A writer holding the
    // file locked makes the step wait (busy timeout) and then try again.
    for (int attempt = 0;; ++attempt) {
        rc = sqlite3_backup_step(backup, -1);
        if ((rc != SQLITE_BUSY && rc != SQLITE_LOCKED) || attempt == 20)
            break;
        QThread::msleep(100);
    }
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE)
        return fail(QString::fromUtf8(sqlite3_errstr(rc)));

    if (check) {
        sqlite3_stmt* stmt = nullptr;
        QString verdict;
        if (sqlite3_prepare_v2(copy.get(), "PRAGMA quick_check", -1, &stmt, nullptr) == SQLITE_OK &&
            sqlite3_step(stmt) == SQLITE_ROW)
            verdict =
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
        else
            verdict = QString::fromUtf8(sqlite3_errmsg(copy.get()));
        sqlite3_finalize(stmt);
        if (verdict != QLatin1String("ok"))
            return fail(QStringLiteral("the file is damaged (%1)").arg(verdict));
    }

    sqlite3_int64 size = 0;
    unsigned char* data = sqlite3_serialize(copy.get(), "main", &size, 0);
    if (!data)
        return fail(QStringLiteral("out of memory"));
    bytes = QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
    sqlite3_free(data);
    return true;
}

} // namespace

bool BackupDatabase(const QString& live, const QString& target, QString* error) {
    if (SameFile(live, target)) {
        if (error)
            *error = QStringLiteral("\"%1\" is the program's own database file; a backup must "
                                    "go to another file.")
                         .arg(Shown(target));
        return false;
    }
    QByteArray bytes;
    if (!Snapshot(live, bytes, false, error))
        return false;
    return SafeWriteFile(target, bytes, error);
}

QString CheckRestoreSource(const QString& source, const QString& live) {
    if (!QFileInfo::exists(source))
        return QStringLiteral("The file \"%1\" does not exist.").arg(Shown(source));
    if (SameFile(source, live))
        return QStringLiteral("\"%1\" is the database the program uses now; choose a backup "
                              "copy to restore from.")
            .arg(Shown(source));
    return CheckDatabaseSchema(source);
}

bool RestoreDatabase(const QString& source, const QString& live, QString* error) {
    if (const QString problem = CheckRestoreSource(source, live); !problem.isEmpty()) {
        if (error)
            *error = problem;
        return false;
    }
    QByteArray bytes;
    if (!Snapshot(source, bytes, true, error))
        return false;
    return SafeWriteFile(live, bytes, error);
}

// ---- the commands ------------------------------------------------------------------

QString StandardBackupRestoreDialogs::Choose(bool save, const QString& initialName) {
    QFileDialog dialog(m_parent);
    dialog.setObjectName(save ? QStringLiteral("SaveDialog1") : QStringLiteral("OpenDialog1"));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // A name that does not exist reaches the command, which answers it.
    dialog.setFileMode(QFileDialog::AnyFile);
    // The command asks about an existing target itself.
    dialog.setOptions(QFileDialog::DontConfirmOverwrite | QFileDialog::DontUseNativeDialog);
    dialog.setDefaultSuffix(QStringLiteral("mdb"));
    dialog.setNameFilter(QStringLiteral("mdb DataBase(*.mdb)"));
    StartInLastFolder(dialog, FileKind::Backups);
    dialog.selectFile(initialName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    RememberFolder(FileKind::Backups, dialog.selectedFiles().constFirst());
    return dialog.selectedFiles().constFirst();
}

QString StandardBackupRestoreDialogs::ChooseBackupTarget(const QString& initialName) {
    return Choose(true, initialName);
}

QString StandardBackupRestoreDialogs::ChooseRestoreSource(const QString& initialName) {
    return Choose(false, initialName);
}

// Both questions are about replacing a file for good: Enter answers No.
bool StandardBackupRestoreDialogs::AskYesNo(const QString& text) {
    return QMessageBox::question(m_parent, QStringLiteral("Vorn"), text,
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

void StandardBackupRestoreDialogs::Tell(const QString& text) {
    QMessageBox::question(m_parent, QStringLiteral("Vorn"), text,
                          QMessageBox::StandardButtons(QMessageBox::Ok));
}

void StandardBackupRestoreDialogs::Warn(const QString& text) {
    QMessageBox::warning(m_parent, QStringLiteral("Vorn"), text, QMessageBox::Ok);
}

bool BackupCommand(BackupRestoreDialogs& ui, const QString& live,
                   const std::function<void()>& closeConnection) {
    if (!QFileInfo::exists(live)) {
        ui.Tell(QStringLiteral("源文件 \"Vorn.mdb\" 不存在，此操作失败!"));
        return false;
    }
    QString target = ui.ChooseBackupTarget(kInitialName);
    if (target.isEmpty())
        return false;
    while (QFileInfo::exists(target)) {
        // Overwriting the live file would destroy the database it copies.
        if (SameFile(target, live)) {
            QString error;
            BackupDatabase(live, target, &error);
            ui.Warn(QStringLiteral("数据备份失败：\n") + error);
            return false;
        }
        // The old file is replaced only once the new copy is whole.
        if (ui.AskYesNo(QStringLiteral("    目标文件已存在，是否覆盖它？  ")))
            break;
        target = ui.ChooseBackupTarget(kInitialName);
        if (target.isEmpty())
            return false;
    }
    closeConnection();
    QString error;
    if (!BackupDatabase(live, target, &error)) {
        ui.Warn(QStringLiteral("数据备份失败：\n") + error);
        return false;
    }
    return true;
}

bool RestoreCommand(BackupRestoreDialogs& ui, const QString& live,
                    const std::function<void()>& closeConnection) {
    const QString source = ui.ChooseRestoreSource(kInitialName);
    if (source.isEmpty())
        return false;
    if (!QFileInfo::exists(source)) {
        ui.Tell(QStringLiteral("源文件") + source + QStringLiteral("不存在，此操作失败!"));
        return false;
    }
    const QString refused = QStringLiteral("恢复数据失败，现有数据库未改变：\n");
    // A wrong file is refused before anything is asked or replaced.
    if (const QString problem = CheckRestoreSource(source, live); !problem.isEmpty()) {
        ui.Warn(refused + problem);
        return false;
    }
    if (!ui.AskYesNo(QStringLiteral("    请再次确认源文件是否正确，此操作将不能撤销！  ")))
        return false;
    closeConnection();
    QString error;
    if (!RestoreDatabase(source, live, &error)) {
        ui.Warn(refused + error);
        return false;
    }
    return true;
}

} // namespace vorn
