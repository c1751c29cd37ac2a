#include "BackupRestore.h"

#include "RecentFolders.h"
#include "SafeWrite.h"
#include "SchemaCheck.h"
#include "SqliteConnection.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include <sqlite3.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>

#include <unistd.h>

namespace vorn {

namespace {

const QString kInitialName = QStringLiteral("Vorn_BackUp.mdb");

struct DbCloser {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using DbHandle = std::unique_ptr<sqlite3, DbCloser>;

// The command line's English or the window's Chinese (SpeakChineseInMessages).
QString Say(const QString& chinese, const QString& english) {
    return MessagesInChinese() ? chinese : english;
}

QString Shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QString NoSuchFile(const QString& path) {
    return Say(QStringLiteral("文件 “%1” 不存在。"),
               QStringLiteral("The file \"%1\" does not exist."))
        .arg(Shown(path));
}

// Both paths name one existing file (also through links).
bool SameFile(const QString& a, const QString& b) {
    std::error_code ec;
    const bool same = std::filesystem::equivalent(QFile::encodeName(a).toStdString(),
                                                  QFile::encodeName(b).toStdString(), ec);
    return !ec && same;
}

QString SystemText(int code) {
    return Say(QStringLiteral("（%1）").arg(vorn::SystemReason(code)),
               QStringLiteral(" (%1)").arg(QString::fromLocal8Bit(std::strerror(code))));
}

QString SystemReason(sqlite3* db) {
    const int code = db ? sqlite3_system_errno(db) : 0;
    return code ? SystemText(code) : QString();
}

// The system's reason why writing `live` failed with `rc`: the engine keeps
// no errno for a short write, nor for a journal it could not create.
QString WriteReason(sqlite3* db, int rc, const QString& live) {
    if ((rc & 0xff) == SQLITE_FULL)
        return SystemText(ENOSPC);
    if ((rc & 0xff) == SQLITE_CANTOPEN || (rc & 0xff) == SQLITE_READONLY) {
        const QByteArray folder = QFile::encodeName(QFileInfo(live).absolutePath());
        if (::access(folder.constData(), W_OK) != 0)
            return SystemText(errno);
    }
    return SystemReason(db);
}

// Opens `path` as it is (never created), with the wait for another program's
// lock. Null with `error` set when it cannot be opened.
DbHandle Open(const QString& path, bool write, QString* error) {
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &raw,
                                   write ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY, nullptr);
    DbHandle db(raw);
    if (rc != SQLITE_OK) {
        *error = Say(QStringLiteral("无法打开数据库 “%1”：%2%3。"),
                     QStringLiteral("Cannot open the database \"%1\": %2%3."))
                     .arg(Shown(path),
                          SqliteReason(rc, QString::fromUtf8(raw ? sqlite3_errmsg(raw)
                                                                 : sqlite3_errstr(rc))),
                          SystemReason(raw));
        return {};
    }
    sqlite3_busy_timeout(raw, kBusyTimeoutMs);
    return db;
}

// What is wrong with the database open on `db` (from `path`) as a whole:
// not a database, no tables, or pages that fail SQLite's quick check. Runs
// in the connection's current transaction. Empty when it is sound.
QString Unsound(sqlite3* db, const QString& path) {
    sqlite3_stmt* stmt = nullptr;
    auto failed = [&] {
        const int rc = sqlite3_extended_errcode(db);
        const QString reason = SqliteReason(rc, QString::fromUtf8(sqlite3_errmsg(db)));
        sqlite3_finalize(stmt);
        if (IsLockedCode(rc))
            return DatabaseLockedMessage(path);
        if ((rc & 0xff) == SQLITE_NOTADB)
            return Say(QStringLiteral("“%1” 不是数据库文件。"),
                       QStringLiteral("\"%1\" is not a database file."))
                .arg(Shown(path));
        return Say(QStringLiteral("“%1” 已损坏：%2。"), QStringLiteral("\"%1\" is damaged: %2."))
            .arg(Shown(path), reason);
    };
    if (sqlite3_prepare_v2(db, "SELECT count(*) FROM sqlite_master", -1, &stmt, nullptr) !=
            SQLITE_OK ||
        sqlite3_step(stmt) != SQLITE_ROW)
        return failed();
    const int tables = sqlite3_column_int(stmt, 0);
    sqlite3_finalize(stmt);
    stmt = nullptr;
    if (tables == 0)
        return Say(QStringLiteral("“%1” 是空数据库，其中没有任何表。"),
                   QStringLiteral("\"%1\" is an empty database: it holds no tables."))
            .arg(Shown(path));
    if (sqlite3_prepare_v2(db, "PRAGMA quick_check", -1, &stmt, nullptr) != SQLITE_OK ||
        sqlite3_step(stmt) != SQLITE_ROW)
        return failed();
    const QString verdict =
        QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    if (verdict != QLatin1String("ok"))
        return Say(QStringLiteral("“%1” 已损坏：%2。"), QStringLiteral("\"%1\" is damaged: %2."))
            .arg(Shown(path), verdict.section(u'\n', 0, 0).trimmed());
    return {};
}

// The source opened read-only inside a read transaction, checked whole: the
// copy that follows reads exactly what was checked.
DbHandle OpenSound(const QString& path, QString* error) {
    if (!QFileInfo::exists(path)) {
        *error = NoSuchFile(path);
        return {};
    }
    if (QFileInfo(path).size() == 0) {
        *error = Say(QStringLiteral("“%1” 是空文件（0 字节），不是数据库。"),
                     QStringLiteral("\"%1\" is empty (0 bytes), not a database."))
                     .arg(Shown(path));
        return {};
    }
    DbHandle db = Open(path, false, error);
    if (!db)
        return {};
    sqlite3_exec(db.get(), "BEGIN", nullptr, nullptr, nullptr);
    if (const QString problem = Unsound(db.get(), path); !problem.isEmpty()) {
        *error = problem;
        return {};
    }
    return db;
}

// The whole database open on `source` (from `path`) as the bytes of a
// database file: one consistent snapshot into memory, checked again as the
// copy it is before anything may be replaced by it.
bool Snapshot(sqlite3* source, const QString& path, QByteArray& bytes, QString* error) {
    const auto cannot = [&](const QString& reason) {
        if (error)
            *error = Say(QStringLiteral("无法复制数据库 “%1”：%2。"),
                         QStringLiteral("Cannot copy the database \"%1\": %2."))
                         .arg(Shown(path), reason);
        return false;
    };
    sqlite3* raw = nullptr;
    sqlite3_open(":memory:", &raw);
    DbHandle copy(raw);
    sqlite3_backup* backup = raw ? sqlite3_backup_init(raw, "main", source, "main") : nullptr;
    if (!backup)
        return cannot(raw ? SqliteReason(sqlite3_extended_errcode(raw),
                                         QString::fromUtf8(sqlite3_errmsg(raw)))
                          : SqliteReason(SQLITE_NOMEM, QStringLiteral("no memory")));
    const int rc = sqlite3_backup_step(backup, -1);
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE)
        return cannot(SqliteReason(rc, QString::fromUtf8(sqlite3_errstr(rc))));
    if (const QString problem = Unsound(raw, path); !problem.isEmpty())
        return cannot(
            Say(QStringLiteral("副本未通过检查："), QStringLiteral("the copy fails its check: ")) +
            problem);
    sqlite3_int64 size = 0;
    unsigned char* data = sqlite3_serialize(raw, "main", &size, 0);
    if (!data)
        return cannot(
            SqliteReason(sqlite3_extended_errcode(raw), QString::fromUtf8(sqlite3_errmsg(raw))));
    bytes = QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
    sqlite3_free(data);
    return true;
}

} // namespace

bool BackupDatabase(const QString& live, const QString& target, QString* error) {
    QString why;
    auto fail = [&](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    if (SameFile(live, target))
        return fail(Say(QStringLiteral("“%1” 是程序正在使用的数据库文件，备份须写到另一个文件。"),
                        QStringLiteral("\"%1\" is the program's own database file; a backup "
                                       "must go to another file."))
                        .arg(Shown(target)));
    DbHandle source = OpenSound(live, &why);
    if (!source)
        return fail(why);
    QByteArray bytes;
    if (!Snapshot(source.get(), live, bytes, error))
        return false;
    source.reset();
    return SafeWriteFile(target, bytes, error);
}

QString CheckRestoreSource(const QString& source, const QString& live) {
    if (!QFileInfo::exists(source))
        return NoSuchFile(source);
    if (SameFile(source, live))
        return Say(QStringLiteral("“%1” 是程序正在使用的数据库，请选择一个备份文件来恢复。"),
                   QStringLiteral("\"%1\" is the database the program uses now; choose a "
                                  "backup copy to restore from."))
            .arg(Shown(source));
    return CheckDatabaseSchema(source);
}

bool RestoreDatabase(const QString& source, const QString& live, QString* error) {
    auto fail = [&](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    if (const QString problem = CheckRestoreSource(source, live); !problem.isEmpty())
        return fail(problem);
    QString why;
    DbHandle from = OpenSound(source, &why);
    if (!from)
        return fail(why);
    if (!QFileInfo::exists(live))
        return fail(Say(QStringLiteral("数据库 “%1” 不存在。"),
                        QStringLiteral("The database \"%1\" does not exist."))
                        .arg(Shown(live)));
    DbHandle to = Open(live, true, &why);
    if (!to)
        return fail(why);

    // The backup's pages go into the live file in one write transaction of
    // the file itself: every connection (another window too) sees the
    // restored content, another program's lock is waited for and then
    // refused, and a failure half-way rolls back through the journal.
    sqlite3_backup* backup = sqlite3_backup_init(to.get(), "main", from.get(), "main");
    if (!backup)
        return fail(
            Say(QStringLiteral("无法恢复到 “%1”：%2。"),
                QStringLiteral("Cannot restore into \"%1\": %2."))
                .arg(Shown(live), SqliteReason(sqlite3_extended_errcode(to.get()),
                                               QString::fromUtf8(sqlite3_errmsg(to.get())))));
    const int rc = sqlite3_backup_step(backup, -1);
    sqlite3_backup_finish(backup);
    if (rc == SQLITE_DONE)
        return true;
    if ((rc & 0xff) == SQLITE_NOTADB) {
        // The live file is no database at all, so nothing can have it open
        // as one: it is replaced whole by a checked copy, by rename.
        to.reset();
        QByteArray bytes;
        return Snapshot(from.get(), source, bytes, error) && SafeWriteFile(live, bytes, error);
    }
    if (IsLockedCode(rc))
        return fail(DatabaseLockedMessage(live));
    const QString reason = SqliteReason(rc, QString::fromUtf8(sqlite3_errstr(rc)));
    QString system = WriteReason(to.get(), rc, live);
    if (MessagesInChinese() && system.mid(1, system.size() - 2) == reason)
        system.clear(); // a full disk said once
    return fail(Say(QStringLiteral("无法恢复到 “%1”：%2%3；数据库未改变。"),
                    QStringLiteral("Cannot restore into \"%1\": %2%3; the database is as it was."))
                    .arg(Shown(live), reason, system));
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
        ui.Tell(QCoreApplication::translate("BackupRestore",
                                            "源文件 \"Vorn.mdb\" 不存在，此操作失败!"));
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
            ui.Warn(QCoreApplication::translate("BackupRestore", "数据备份失败：\n") + error);
            return false;
        }
        // The old file is replaced only once the new copy is whole.
        if (ui.AskYesNo(
                QCoreApplication::translate("BackupRestore", "    目标文件已存在，是否覆盖它？  ")))
            break;
        target = ui.ChooseBackupTarget(kInitialName);
        if (target.isEmpty())
            return false;
    }
    closeConnection();
    QString error;
    if (!BackupDatabase(live, target, &error)) {
        ui.Warn(QCoreApplication::translate("BackupRestore", "数据备份失败：\n") + error);
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
        ui.Tell(QCoreApplication::translate("BackupRestore", "源文件%1不存在，此操作失败!")
                    .arg(source));
        return false;
    }
    const QString refused =
        QCoreApplication::translate("BackupRestore", "恢复数据失败，现有数据库未改变：\n");
    // A wrong file is refused before anything is asked or replaced.
    if (const QString problem = CheckRestoreSource(source, live); !problem.isEmpty()) {
        ui.Warn(refused + problem);
        return false;
    }
    if (!ui.AskYesNo(QCoreApplication::translate(
            "BackupRestore", "    请再次确认源文件是否正确，此操作将不能撤销！  ")))
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
