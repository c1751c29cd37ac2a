// Backup and restore of the database file: consistent copies while the file
// is in use, and every refused or failed restore leaving the live file byte
// for byte as it was and the program working.
#include "BackupRestore.h"
#include "Cursor.h"
#include "SafeWrite.h"
#include "SchemaCheck.h"
#include "VornTestSupport.h"
#include "data1.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QtTest>

#include <fcntl.h>
#include <linux/fs.h>
#include <sqlite3.h>
#include <sys/ioctl.h>
#include <unistd.h>

using namespace vorn;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

// Runs SQL on its own connection; returns the first column of the last row.
QVariant sql(const QString& path, const QString& text) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db,
                    SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    QVariant last;
    sqlite3_stmt* stmt = nullptr;
    const QByteArray utf8 = text.toUtf8();
    const char* tail = utf8.constData();
    while (tail && *tail) {
        if (sqlite3_prepare_v2(db, tail, -1, &stmt, &tail) != SQLITE_OK) {
            qWarning("%s", sqlite3_errmsg(db));
            break;
        }
        if (!stmt)
            break;
        while (sqlite3_step(stmt) == SQLITE_ROW)
            last = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return last;
}

int partCount(const QString& path) {
    return sql(path, "SELECT count(*) FROM data0004").toInt();
}

// `n` saved parts with their lengths, in one transaction.
void addParts(const QString& path, int n) {
    sql(path, QStringLiteral("WITH RECURSIVE k(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM k "
                             "WHERE i < %1) INSERT INTO data0004 (Part_number, Layer, Set_L, "
                             "Set_W, Panel_L, Panel_W, Panel, Panel_lv, Base_L, Base_W) SELECT "
                             "printf('P%05d', i), 4, 4, 2, 18, 12, 12, 100 * 96.0 / 216, 48, 36 "
                             "FROM k")
                  .arg(n));
}

QStringList entries(const QString& dir) {
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// The program still runs on the live file: it opens, and its cursors read.
bool programWorks(const test::ProgramDir& dir, int parts) {
    bool ok = true;
    TDataM1::setStartupFailureHandler([&ok](const QString&) { ok = false; });
    {
        TDataM1 dm(dir.path());
        if (ok) {
            dm.SavedPartsQuery.open();
            dm.SetBase.open();
            ok = dm.SavedPartsQuery.recordCount() == parts && dm.SetBase.recordCount() == 6;
        }
    }
    TDataM1::setStartupFailureHandler({});
    return ok;
}

// The dialogs answered from a script.
class ScriptedDialogs : public BackupRestoreDialogs {
public:
    QStringList paths;   // answers of the file dialogs in turn ("" cancels)
    QList<bool> answers; // answers of the Yes/No questions in turn
    QStringList shown;   // every text shown, prefixed "ask:", "tell:", "warn:"
    int dialogs = 0;

    QString ChooseBackupTarget(const QString& initial) override { return choose(initial); }
    QString ChooseRestoreSource(const QString& initial) override { return choose(initial); }
    bool AskYesNo(const QString& text) override {
        shown << "ask:" + text;
        return !answers.isEmpty() && answers.takeFirst();
    }
    void Tell(const QString& text) override { shown << "tell:" + text; }
    void Warn(const QString& text) override { shown << "warn:" + text; }

private:
    QString choose(const QString& initial) {
        ++dialogs;
        if (initial != QLatin1String("Vorn_BackUp.mdb"))
            return {};
        return paths.isEmpty() ? QString() : paths.takeFirst();
    }
};

// A folder nobody may create files in for as long as this lives: its
// permissions for an ordinary user, the immutable flag for the superuser
// (who writes through permissions).
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString& path) : m_path(path) {
        if (geteuid() != 0) {
            m_permissions = QFile::permissions(path);
            m_locked = QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
            return;
        }
        m_locked = setImmutable(true);
    }
    ~ReadOnlyFolder() {
        if (!m_locked)
            return;
        if (geteuid() != 0)
            QFile::setPermissions(m_path, m_permissions);
        else
            setImmutable(false);
    }
    bool isLocked() const { return m_locked; }

private:
    bool setImmutable(bool on) {
        const int fd = ::open(QFile::encodeName(m_path).constData(), O_RDONLY | O_DIRECTORY);
        if (fd < 0)
            return false;
        int flags = 0;
        bool ok = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ok && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        ::close(fd);
        return ok;
    }
    QString m_path;
    QFile::Permissions m_permissions;
    bool m_locked = false;
};

} // namespace

class BackupRestoreTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { ClearInjectedWriteFailure(); }

    // Every bad source is refused before anything is replaced, with a message
    // naming what is wrong; the live file stays byte-identical.
    void restoreRefusesBadSources_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        QTest::newRow("text file") << "text"
                                   << "not a usable database";
        QTest::newRow("zero bytes") << "empty"
                                    << "lacks table";
        QTest::newRow("another schema") << "other"
                                        << "lacks table";
        QTest::newRow("a column missing") << "column"
                                          << "column SetPanel.Enabled";
        QTest::newRow("damaged copy") << "damaged"
                                      << "";
        QTest::newRow("the live file") << "live"
                                       << "the database the program uses now";
        QTest::newRow("the live file by another path") << "live2"
                                                       << "uses now";
        QTest::newRow("missing") << "missing"
                                 << "does not exist";
    }
    void restoreRefusesBadSources() {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        test::ProgramDir dir;
        const QString live = dir.databasePath();
        addParts(live, 3);
        const QByteArray before = readAll(live);
        QTemporaryDir other;
        QString source = other.filePath("Vorn_BackUp.mdb");
        if (kind == "text") {
            writeAll(source, "Part list\nP00001,4,2\n");
        } else if (kind == "empty") {
            writeAll(source, {});
        } else if (kind == "other") {
            sql(source, "CREATE TABLE notes (id INTEGER PRIMARY KEY, body TEXT); "
                        "INSERT INTO notes (body) VALUES ('x');");
        } else if (kind == "column") {
            QVERIFY(QFile::copy(live, source));
            sql(source, "ALTER TABLE SetPanel DROP COLUMN Enabled");
        } else if (kind == "damaged") {
            // A backup cut short: the header is right, most pages are missing.
            addParts(live, 2000);
            const QByteArray whole = readAll(live);
            writeAll(source, whole.left(whole.size() / 2));
        } else if (kind == "live") {
            source = live;
        } else if (kind == "live2") {
            source = dir.path() + "./../" + QDir(dir.path()).dirName() + "/Vorn.mdb";
        } else {
            source = other.filePath("nothing.mdb");
        }
        const QByteArray liveBefore = readAll(live);
        const QString problem = CheckRestoreSource(source, live);
        QVERIFY2(!problem.isEmpty(), qPrintable(kind));
        QString error;
        QVERIFY(!RestoreDatabase(source, live, &error));
        QVERIFY2(error.contains(message), qPrintable(error));
        QVERIFY2(error.contains(QDir::toNativeSeparators(source)) || kind == "damaged" ||
                     kind == "live2",
                 qPrintable(error));
        QCOMPARE(readAll(live), liveBefore);
        QCOMPARE(entries(dir.path()), (QStringList{"Vorn.mdb", "VornInitS.int"}));
        QVERIFY(programWorks(dir, partCount(live)));
        Q_UNUSED(before);
    }

    // The copy fails half-way (a disk that refuses the write) or cannot even
    // start (a program folder nobody may write to): the live file is kept.
    void restoreKeepsLiveWhenWritingFails_data() {
        QTest::addColumn<bool>("readOnlyFolder");
        QTest::addColumn<QString>("message");
        QTest::newRow("disk full") << false << "No space left on device";
        QTest::newRow("read-only program folder") << true << "not permitted|Permission denied";
    }
    void restoreKeepsLiveWhenWritingFails() {
        QFETCH(bool, readOnlyFolder);
        QFETCH(QString, message);
        test::ProgramDir dir;
        const QString live = dir.databasePath();
        QTemporaryDir other;
        const QString source = other.filePath("Vorn_BackUp.mdb");
        QVERIFY(QFile::copy(live, source));
        addParts(source, 50); // the backup differs from the live file
        const QByteArray before = readAll(live);
        QString error;
        bool restored = false;
        if (readOnlyFolder) {
            ReadOnlyFolder locked(dir.path());
            if (!locked.isLocked())
                QSKIP("this file system cannot make a folder read-only for the superuser");
            restored = RestoreDatabase(source, live, &error);
        } else {
            InjectWriteFailure(4096, QStringLiteral("No space left on device"));
            restored = RestoreDatabase(source, live, &error);
            ClearInjectedWriteFailure();
        }
        QVERIFY(!restored);
        QVERIFY2(error.contains(QRegularExpression(message)), qPrintable(error));
        QVERIFY2(error.contains(QDir::toNativeSeparators(live)), qPrintable(error));
        QCOMPARE(readAll(live), before);
        QCOMPARE(entries(dir.path()), (QStringList{"Vorn.mdb", "VornInitS.int"}));
        QVERIFY(programWorks(dir, 0));
    }

    // 10,000 saved parts backed up while the program has the file open and
    // another connection is half-way through a write: the copy is a complete
    // database holding the committed parts; deleting parts and restoring it
    // brings them back.
    void backupWhileInUseAndRestoreBringsPartsBack() {
        test::ProgramDir dir;
        const QString live = dir.databasePath();
        addParts(live, 10000);
        TDataM1 dm(dir.path());
        QVERIFY(dm.isUsable());
        dm.SavedPartsQuery.open();
        QCOMPARE(dm.SavedPartsQuery.recordCount(), 10000);

        sqlite3* writer = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(live).constData(), &writer), SQLITE_OK);
        QCOMPARE(sqlite3_exec(writer,
                              "BEGIN IMMEDIATE; INSERT INTO data0004 (Part_number) VALUES "
                              "('UNCOMMITTED');",
                              nullptr, nullptr, nullptr),
                 SQLITE_OK);

        QTemporaryDir backups;
        const QString backup = backups.filePath("Vorn_BackUp.mdb");
        QElapsedTimer clock;
        clock.start();
        QString error;
        QVERIFY2(BackupDatabase(live, backup, &error), qPrintable(error));
        qInfo("backup of 10,000 parts (%lld bytes): %lld ms", QFileInfo(backup).size(),
              clock.elapsed());
        sqlite3_exec(writer, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(writer);

        QCOMPARE(CheckDatabaseSchema(backup), QString());
        QCOMPARE(partCount(backup), 10000);
        QCOMPARE(sql(backup, "SELECT count(*) FROM data0004 WHERE Part_number = 'P10000'").toInt(),
                 1);
        QCOMPARE(sql(backup, "PRAGMA integrity_check").toString(), QStringLiteral("ok"));
        QCOMPARE(entries(backups.path()), QStringList{"Vorn_BackUp.mdb"});

        // Parts deleted after the backup come back with the restore.
        sql(live, "DELETE FROM data0004 WHERE ID % 2 = 0");
        QCOMPARE(partCount(live), 5001);
        dm.SavedPartsQuery.close();
        dm.closeConnection();
        clock.restart();
        QVERIFY2(RestoreDatabase(backup, live, &error), qPrintable(error));
        qInfo("restore of 10,000 parts: %lld ms", clock.elapsed());
        dm.SavedPartsQuery.open();
        QCOMPARE(dm.SavedPartsQuery.recordCount(), 10000);
        QVERIFY(dm.SavedPartsQuery.locate("Part_number", {"P00002"}));
        QCOMPARE(entries(dir.path()), (QStringList{"Vorn.mdb", "VornInitS.int"}));
    }

    // A backup onto the live file would destroy what it copies.
    void backupRefusesTheLiveFile() {
        test::ProgramDir dir;
        const QString live = dir.databasePath();
        const QByteArray before = readAll(live);
        for (const QString& target : {live, dir.path() + "./Vorn.mdb"}) {
            QString error;
            QVERIFY(!BackupDatabase(live, target, &error));
            QVERIFY2(error.contains("own database file"), qPrintable(error));
            QCOMPARE(readAll(live), before);
        }
        // A failed write leaves an older backup as it was.
        QTemporaryDir backups;
        const QString backup = backups.filePath("old.mdb");
        writeAll(backup, "older backup");
        InjectWriteFailure(100, QStringLiteral("No space left on device"));
        QString error;
        QVERIFY(!BackupDatabase(live, backup, &error));
        QVERIFY(error.contains("No space left on device"));
        QCOMPARE(readAll(backup), QByteArray("older backup"));
    }

    // The two commands' dialogs and messages, in order.
    void commands_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>(
            "paths"); // "%b": an existing backup, "%n": a new name, "%l": live
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<bool>("done");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<bool>("closed"); // the connection was closed
        const QString exists = "ask:    目标文件已存在，是否覆盖它？  ";
        const QString confirm = "ask:    请再次确认源文件是否正确，此操作将不能撤销！  ";
        QTest::newRow("backup to a new name")
            << "backup" << QStringList{"%n"} << QList<bool>{} << true << QStringList{} << true;
        QTest::newRow("backup cancelled")
            << "backup" << QStringList{""} << QList<bool>{} << false << QStringList{} << false;
        QTest::newRow("backup over an existing file, yes")
            << "backup" << QStringList{"%b"} << QList<bool>{true} << true << QStringList{exists}
            << true;
        QTest::newRow("backup over an existing file, no, then cancel")
            << "backup" << QStringList{"%b", ""} << QList<bool>{false} << false
            << QStringList{exists} << false;
        QTest::newRow("backup over an existing file, no, then a new name")
            << "backup" << QStringList{"%b", "%n"} << QList<bool>{false} << true
            << QStringList{exists} << true;
        QTest::newRow("backup onto the live file")
            << "backup" << QStringList{"%l"} << QList<bool>{} << false
            << QStringList{"warn:数据备份失败：\n"} << false;
        QTest::newRow("restore") << "restore" << QStringList{"%b"} << QList<bool>{true} << true
                                 << QStringList{confirm} << true;
        QTest::newRow("restore answered no") << "restore" << QStringList{"%b"} << QList<bool>{false}
                                             << false << QStringList{confirm} << false;
        QTest::newRow("restore from a missing path")
            << "restore" << QStringList{"%n"} << QList<bool>{} << false
            << QStringList{"tell:源文件%nx不存在，此操作失败!"} << false;
        QTest::newRow("restore of the live file")
            << "restore" << QStringList{"%l"} << QList<bool>{} << false
            << QStringList{"warn:恢复数据失败，现有数据库未改变：\n"} << false;
        QTest::newRow("restore cancelled")
            << "restore" << QStringList{""} << QList<bool>{} << false << QStringList{} << false;
    }
    void commands() {
        QFETCH(QString, command);
        QFETCH(QStringList, paths);
        QFETCH(QList<bool>, answers);
        QFETCH(bool, done);
        QFETCH(QStringList, shown);
        QFETCH(bool, closed);
        test::ProgramDir dir;
        const QString live = dir.databasePath();
        QTemporaryDir backups;
        const QString backup = backups.filePath("Vorn_BackUp.mdb");
        QVERIFY(QFile::copy(live, backup));
        addParts(backup, 7);
        const QString fresh = backups.filePath("new.mdb");
        auto expand = [&](QString s) {
            return s.replace("%b", backup)
                .replace("%nx", fresh)
                .replace("%n", fresh)
                .replace("%l", live);
        };
        ScriptedDialogs ui;
        for (const QString& p : paths)
            ui.paths << expand(p);
        ui.answers = answers;
        bool connectionClosed = false;
        auto close = [&] { connectionClosed = true; };
        const QByteArray liveBefore = readAll(live);
        const QByteArray backupBefore = readAll(backup);
        const bool result =
            command == "backup" ? BackupCommand(ui, live, close) : RestoreCommand(ui, live, close);
        QCOMPARE(result, done);
        QCOMPARE(connectionClosed, closed);
        QCOMPARE(ui.shown.size(), shown.size());
        for (int i = 0; i < shown.size(); ++i)
            QVERIFY2(ui.shown[i].startsWith(expand(shown[i])), qPrintable(ui.shown[i]));
        QCOMPARE(ui.paths, QStringList{}); // every dialog answer was used
        if (command == "backup") {
            QCOMPARE(readAll(live), liveBefore);
            const QString target = paths.last() == "%n" ? fresh : backup;
            if (done)
                QCOMPARE(partCount(target), 0);
            else
                QCOMPARE(readAll(backup), backupBefore);
        } else {
            QCOMPARE(partCount(live), done ? 7 : 0);
            if (!done)
                QCOMPARE(readAll(live), liveBefore);
        }
    }
};

VORN_TEST_MAIN(BackupRestoreTest)
#include "BackupRestoreTest.moc"
