// Backup and restore of the database file: consistent copies while the file
// is in use, and every refused or failed restore leaving the live file byte
// for byte as it was and the program working.
#include "BackupRestore.h"
#include "Cursor.h"
#include "DataModule.h"
#include "DbError.h"
#include "PartsArchive.h"
#include "SafeWrite.h"
#include "SchemaCheck.h"
#include "VornTestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QtTest>

#include <fcntl.h>
#include <future>
#include <linux/fs.h>
#include <optional>
#include <sqlite3.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <thread>
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

// The locked message in the store's language of the moment.
QString Locked() {
    return MessagesInChinese() ? QStringLiteral("数据库正被另一程序使用，请稍后重试。")
                               : QStringLiteral("is in use by another program");
}

// Another program's connection to the file, as a second window has it.
class OtherProgram {
public:
    explicit OtherProgram(const QString& path) {
        sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_busy_timeout(m_db, 5000);
    }
    ~OtherProgram() { sqlite3_close(m_db); }
    OtherProgram(const OtherProgram&) = delete;
    OtherProgram& operator=(const OtherProgram&) = delete;
    // The engine's error text, empty when the SQL ran.
    QString exec(const char* text) {
        char* message = nullptr;
        const int rc = sqlite3_exec(m_db, text, nullptr, nullptr, &message);
        const QString error = rc == SQLITE_OK ? QString() : QString::fromUtf8(message);
        sqlite3_free(message);
        return error;
    }
    int count(const char* text) {
        sqlite3_stmt* stmt = nullptr;
        int n = -1;
        if (sqlite3_prepare_v2(m_db, text, -1, &stmt, nullptr) == SQLITE_OK &&
            sqlite3_step(stmt) == SQLITE_ROW)
            n = sqlite3_column_int(stmt, 0);
        sqlite3_finalize(stmt);
        return n;
    }

private:
    sqlite3* m_db = nullptr;
};

// A small file system of its own, full after `bytes`; unmounted at the end.
class SmallDisk {
public:
    explicit SmallDisk(qint64 bytes) {
        const QByteArray options = "size=" + QByteArray::number(bytes);
        m_mounted = m_dir.isValid() && ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(),
                                               "tmpfs", 0, options.constData()) == 0;
    }
    ~SmallDisk() {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    bool isMounted() const { return m_mounted; }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

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

    // The copy fails half-way (a real full disk) or cannot even start (a
    // program folder nobody may write to): the live file is kept.
    // In the window's Chinese the reason is the system's, said once.
    void restoreKeepsLiveWhenWritingFails_data() {
        QTest::addColumn<bool>("readOnlyFolder");
        QTest::addColumn<bool>("chinese");
        QTest::addColumn<QString>("message");
        QTest::newRow("disk full") << false << false << "No space left on device";
        QTest::newRow("read-only program folder")
            << true << false << "not permitted|Permission denied";
        QTest::newRow("disk full, window")
            << false << true << "^无法恢复到 “.+”：磁盘空间不足；数据库未改变。$";
        QTest::newRow("read-only program folder, window")
            << true << true << "^无法恢复到 “.+”：.+（没有写入权限）；数据库未改变。$";
    }
    void restoreKeepsLiveWhenWritingFails() {
        QFETCH(bool, readOnlyFolder);
        QFETCH(bool, chinese);
        QFETCH(QString, message);
        SpeakChineseInMessages(chinese);
        const auto english = qScopeGuard([] { SpeakChineseInMessages(false); });
        test::ProgramDir dir;
        QString live = dir.databasePath();
        QTemporaryDir other;
        const QString source = other.filePath("Vorn_BackUp.mdb");
        QVERIFY(QFile::copy(live, source));
        // The backup differs from the live file; for the full disk it is
        // far larger than the room left beside the live file and its journal.
        addParts(source, readOnlyFolder ? 50 : 5000);
        std::optional<SmallDisk> disk;
        if (!readOnlyFolder) {
            disk.emplace(3 * QFileInfo(live).size() + 32 * 1024);
            if (!disk->isMounted())
                QSKIP("NOT TESTED: mounting a small tmpfs needs the superuser");
            live = disk->filePath("Vorn.mdb");
            QVERIFY(QFile::copy(dir.databasePath(), live));
        }
        const QByteArray before = readAll(live);
        QString error;
        bool restored = false;
        if (readOnlyFolder) {
            ReadOnlyFolder locked(dir.path());
            if (!locked.isLocked())
                QSKIP("this file system cannot make a folder read-only for the superuser");
            restored = RestoreDatabase(source, live, &error);
        } else {
            restored = RestoreDatabase(source, live, &error);
        }
        QVERIFY(!restored);
        QVERIFY2(error.contains(QRegularExpression(message)), qPrintable(error));
        QVERIFY2(error.contains(QDir::toNativeSeparators(live)), qPrintable(error));
        QCOMPARE(readAll(live), before);
        const QStringList files =
            readOnlyFolder ? QStringList{"Vorn.mdb", "VornInitS.int"} : QStringList{"Vorn.mdb"};
        QCOMPARE(entries(QFileInfo(live).path()), files);
        QCOMPARE(sql(live, "PRAGMA integrity_check").toString(), QStringLiteral("ok"));
        QVERIFY(programWorks(dir, 0));
    }

    // Another program has the file: a restore in the middle of its write
    // waits briefly and is refused with the file untouched, and the writer's
    // rows land; a program that merely has the file open sees the restored
    // archive afterwards, and its later saves reach the one live file.
    void restoreBesideAnotherProgram_data() {
        QTest::addColumn<bool>("writing");
        QTest::newRow("another program mid-write") << true;
        QTest::newRow("another program idle") << false;
    }
    void restoreBesideAnotherProgram() {
        QFETCH(bool, writing);
        test::ProgramDir dir;
        const QString live = dir.databasePath();
        addParts(live, 3);
        QTemporaryDir backups;
        const QString backup = backups.filePath("Vorn_BackUp.mdb");
        QVERIFY(QFile::copy(live, backup));
        addParts(backup, 4);
        OtherProgram other(live);
        QCOMPARE(other.count("SELECT count(*) FROM data0004"), 3);
        QString error;
        if (writing) {
            QCOMPARE(other.exec("BEGIN IMMEDIATE; "
                                "INSERT INTO data0004 (Part_number) VALUES ('OTHER')"),
                     QString());
            const QByteArray before = readAll(live);
            QElapsedTimer clock;
            clock.start();
            QVERIFY(!RestoreDatabase(backup, live, &error));
            qInfo("restore refused after %lld ms", clock.elapsed());
            QVERIFY2(error.contains(Locked()), qPrintable(error));
            QCOMPARE(readAll(live), before);
            QCOMPARE(other.exec("COMMIT"), QString());
            QCOMPARE(partCount(live), 4);
            QCOMPARE(sql(live, "SELECT count(*) FROM data0004 WHERE Part_number = 'OTHER'").toInt(),
                     1);
        }
        QVERIFY2(RestoreDatabase(backup, live, &error), qPrintable(error));
        QCOMPARE(partCount(live), 7);
        QCOMPARE(other.count("SELECT count(*) FROM data0004"), 7);
        QCOMPARE(other.exec("INSERT INTO data0004 (Part_number) VALUES ('AFTER')"), QString());
        QCOMPARE(sql(live, "SELECT count(*) FROM data0004 WHERE Part_number = 'AFTER'").toInt(), 1);
        QCOMPARE(sql(live, "PRAGMA integrity_check").toString(), QStringLiteral("ok"));
        QCOMPARE(entries(dir.path()), (QStringList{"Vorn.mdb", "VornInitS.int"}));
    }

    // A source that is not a sound database is refused before anything is
    // written, with a message naming the file and the problem; an older
    // backup stays as it was.
    void backupRefusesUnsoundSources_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        QTest::newRow("zero bytes") << "empty"
                                    << "is empty \\(0 bytes\\)";
        QTest::newRow("the header, then random bytes") << "random"
                                                       << "is not a database|is damaged: .+";
        QTest::newRow("one page overwritten") << "page"
                                              << "is damaged: .+";
        QTest::newRow("a database without tables") << "bare"
                                                   << "holds no tables";
        QTest::newRow("a text file") << "text"
                                     << "is not a database";
    }
    void backupRefusesUnsoundSources() {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        test::ProgramDir dir;
        QTemporaryDir work;
        const QString source = work.filePath("Vorn.mdb");
        QVERIFY(QFile::copy(dir.databasePath(), source));
        if (kind == "empty") {
            writeAll(source, {});
        } else if (kind == "random") {
            QByteArray bytes = readAll(source).left(100);
            QRandomGenerator random(7);
            while (bytes.size() < 64 * 1024)
                bytes.append(char(random.bounded(256)));
            writeAll(source, bytes);
        } else if (kind == "page") {
            addParts(source, 2000);
            QCOMPARE(QProcess::execute(VORN_DBTOOL, {"damage", source}), 0);
        } else if (kind == "bare") {
            QVERIFY(QFile::remove(source));
            sql(source, "PRAGMA user_version = 7");
            QVERIFY(QFileInfo(source).size() > 0);
        } else {
            writeAll(source, "Part list\nP00001,4,2\n");
        }
        const QString target = work.filePath("old.mdb");
        writeAll(target, "older backup");
        QString error;
        QVERIFY(!BackupDatabase(source, target, &error));
        QVERIFY2(error.contains(QRegularExpression(message)), qPrintable(error));
        QVERIFY2(error.contains(QDir::toNativeSeparators(source)), qPrintable(error));
        QVERIFY2(!error.contains("out of memory"), qPrintable(error));
        QCOMPARE(readAll(target), QByteArray("older backup"));
        QCOMPARE(entries(work.path()), (QStringList{"Vorn.mdb", "old.mdb"}));
    }

    // Saves while another program holds the file: a short wait, then a clear
    // message; the edit is kept, and saving again once the other program is
    // done writes it beside the other program's row.
    void savesWaitThenTellWhenLocked_data() {
        QTest::addColumn<QString>("save");
        QTest::newRow("archive save") << "archive";
        QTest::newRow("posted archive row") << "post";
        QTest::newRow("settings window save") << "settings";
    }
    void savesWaitThenTellWhenLocked() {
        QFETCH(QString, save);
        test::ProgramDir dir;
        const QString live = dir.databasePath();
        TDataM1 dm(dir.path());
        QVERIFY(dm.isUsable());
        dm.TempInput.open(); // the window keeps its connection open
        PartRecord record;
        record.partNumber = "MINE";
        record.customerPart = "C-1";
        record.employee = "E";
        if (save == "post") {
            dm.data0004.open();
            dm.data0004.append();
            dm.data0004.setValue("Part_number", "MINE");
        } else if (save == "settings") {
            dm.SetPanel.open();
            dm.SetPanel.first();
            dm.SetPanel.edit();
            dm.SetPanel.setValue("Panel_L", 19.5);
            dm.SetPanel.post();
        }
        auto attempt = [&] {
            if (save == "archive")
                SavePart(dm, record, QDateTime::currentDateTime(), [] { return true; });
            else if (save == "post")
                dm.data0004.post();
            else
                dm.SetPanel.applyUpdates();
        };
        OtherProgram other(live);
        QCOMPARE(other.exec("BEGIN IMMEDIATE; INSERT INTO data0004 (Part_number) VALUES ('OTHER')"),
                 QString());
        QString text;
        QElapsedTimer clock;
        clock.start();
        try {
            attempt();
        } catch (const DbError& e) {
            text = e.text();
        }
        const qint64 waited = clock.elapsed();
        QVERIFY2(text.contains(Locked()), qPrintable(text));
        QVERIFY2(waited >= 1000, qPrintable(QString::number(waited))); // waited, then told
        if (save == "post")
            QCOMPARE(dm.data0004.state(), Cursor::State::Insert);
        if (save == "settings")
            QVERIFY(dm.SetPanel.hasPendingUpdates());
        QCOMPARE(other.exec("COMMIT"), QString());

        attempt();
        QCOMPARE(sql(live, "SELECT count(*) FROM data0004 WHERE Part_number IN ('OTHER', 'MINE')")
                     .toInt(),
                 save == "settings" ? 1 : 2);
        if (save == "settings") {
            QVERIFY(!dm.SetPanel.hasPendingUpdates());
            QCOMPARE(sql(live, "SELECT Panel_L FROM SetPanel ORDER BY Number LIMIT 1").toDouble(),
                     19.5);
        }
        QCOMPARE(sql(live, "PRAGMA integrity_check").toString(), QStringLiteral("ok"));
    }

    // A second window starting while the first commits waits for the lock
    // instead of refusing the file.
    void startWaitsForABriefLock() {
        test::ProgramDir dir;
        const QString live = dir.databasePath();
        std::promise<void> locked;
        std::thread holder([&] {
            OtherProgram other(live);
            other.exec("BEGIN EXCLUSIVE");
            locked.set_value();
            std::this_thread::sleep_for(std::chrono::milliseconds(800));
            other.exec("COMMIT");
        });
        locked.get_future().wait();
        QString failure;
        bool usable = false;
        TDataM1::setStartupFailureHandler([&](const QString& text) { failure = text; });
        {
            TDataM1 dm(dir.path());
            usable = dm.isUsable();
        }
        TDataM1::setStartupFailureHandler({});
        holder.join();
        QCOMPARE(failure, QString());
        QVERIFY(usable);
    }

    // Two programs saving parts into one file at the same time: every save of
    // both lands (a refused one is tried again, as the user would) and the
    // file stays sound.
    void twoProgramsSaveAtOnce() {
        test::ProgramDir dir;
        const QString live = dir.databasePath();
        TDataM1 dm(dir.path());
        QVERIFY(dm.isUsable());
        QProcess other;
        other.start(VORN_DBTOOL, {"insert", live, "300", "B"});
        QVERIFY(other.waitForStarted());
        int refused = 0;
        for (int i = 1; i <= 300;) {
            PartRecord r;
            r.partNumber = QStringLiteral("A%1").arg(i, 5, 10, QLatin1Char('0'));
            r.customerPart = "C";
            r.employee = "E";
            try {
                SavePart(dm, r, QDateTime::currentDateTime(), {});
                ++i;
            } catch (const DbError& e) {
                QVERIFY2(e.text().contains(Locked()), qPrintable(e.text()));
                ++refused;
            }
        }
        QVERIFY(other.waitForFinished(120000));
        QCOMPARE(other.exitCode(), 0);
        qInfo("two programs, 600 saves: %d refused and saved again", refused);
        QCOMPARE(partCount(live), 600);
        QCOMPARE(sql(live, "PRAGMA integrity_check").toString(), QStringLiteral("ok"));
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
