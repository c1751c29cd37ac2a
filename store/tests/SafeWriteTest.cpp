// Whole-or-nothing file writes: the old file survives every failure byte for byte.
#include "SafeWrite.h"
#include "TinyDisk.h"
#include "VornTestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <cstring>

using namespace vorn;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QStringList entries(const QString& dir) {
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

class SafeWriteTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { ClearInjectedWriteFailure(); }

    void writesNewAndReplacesOld() {
        QTemporaryDir dir;
        const QString path = dir.filePath("a.txt");
        QString error;
        QVERIFY(SafeWriteFile(path, QByteArray("first"), &error));
        QCOMPARE(readAll(path), QByteArray("first"));
        QVERIFY(SafeWriteFile(path, QByteArray("second, longer"), &error));
        QCOMPARE(readAll(path), QByteArray("second, longer"));
        QCOMPARE(entries(dir.path()), QStringList{"a.txt"});
    }

    // A full disk half-way, a body that gives up, a body with its own reason:
    // the old file stays, no temporary remains, the message names the reason.
    void failureKeepsOldFile_data() {
        QTest::addColumn<int>("failAfter");     // -1: no injected fault
        QTest::addColumn<QString>("bodyError"); // the body fails with this text
        QTest::addColumn<QString>("expected");
        QTest::newRow("disk full half-way") << 4 << QString() << "No space left on device";
        QTest::newRow("disk full at once") << 0 << QString() << "No space left on device";
        QTest::newRow("body gives up") << -1 << "picture too large"
                                       << "picture too large";
    }
    void failureKeepsOldFile() {
        QFETCH(int, failAfter);
        QFETCH(QString, bodyError);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath("keep.bin");
        QVERIFY(SafeWriteFile(path, QByteArray("precious contents")));
        if (failAfter >= 0)
            InjectWriteFailure(failAfter, "No space left on device");
        QString error;
        const bool ok = SafeWriteFile(
            path,
            [&](QIODevice& out, QString* e) {
                if (out.write("new data that does not fit") < 0)
                    return false;
                if (!bodyError.isEmpty()) {
                    *e = bodyError;
                    return false;
                }
                return true;
            },
            &error);
        QVERIFY(!ok);
        QVERIFY2(error.contains(expected), qPrintable(error));
        QCOMPARE(readAll(path), QByteArray("precious contents"));
        QCOMPARE(entries(dir.path()), QStringList{"keep.bin"});
    }

    void refusesFolderAndMissingPlace() {
        QTemporaryDir dir;
        QString error;
        QVERIFY(!SafeWriteFile(dir.path(), QByteArray("x"), &error));
        QVERIFY(error.contains(QDir::toNativeSeparators(dir.path())));
        QVERIFY(!SafeWriteFile(dir.filePath("no/such/folder/x.txt"), QByteArray("x"), &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!error.contains("Unknown error"));
    }

    void copyIsWholeOrNothing() {
        QTemporaryDir dir;
        const QString from = dir.filePath("from.mdb");
        const QString to = dir.filePath("to.mdb");
        QByteArray big(3 << 20, 'v'); // more than one chunk
        big[12345] = 'x';
        QVERIFY(SafeWriteFile(from, big));
        QVERIFY(SafeWriteFile(to, QByteArray("old")));
        QString error;
        InjectWriteFailure(1 << 20, "No space left on device");
        QVERIFY(!SafeCopyFile(from, to, &error));
        QCOMPARE(readAll(to), QByteArray("old"));
        ClearInjectedWriteFailure();
        QVERIFY2(SafeCopyFile(from, to, &error), qPrintable(error));
        QCOMPARE(readAll(to), big);
        QVERIFY(!SafeCopyFile(from, from, &error)); // onto itself: refused, file intact
        QCOMPARE(readAll(from), big);
        QVERIFY(!SafeCopyFile(dir.filePath("missing"), to, &error));
        QCOMPARE(readAll(to), big);
    }

    // A real full disk: a tmpfs with nothing, one page or all but the last
    // page of the new bytes free. Writes, copies and the write that fails only
    // at the final flush all leave the old file as it was.
    void realFullDiskKeepsOldFile_data() {
        QTest::addColumn<int>("size"); // bytes of the new file
        QTest::addColumn<int>("free"); // bytes left free on the disk
        QTest::addColumn<bool>("copy");
        for (const bool copy : {false, true}) {
            const char* how = copy ? "copy" : "write";
            QTest::addRow("%s 100 B, 0 free", how) << 100 << 0 << copy;
            QTest::addRow("%s 10 KB, 4 KB free", how) << 10000 << 4096 << copy;
            QTest::addRow("%s 1.4 MB, one page short", how) << 1440054 << 1437696 << copy;
        }
    }
    void realFullDiskKeepsOldFile() {
        QFETCH(int, size);
        QFETCH(int, free);
        QFETCH(bool, copy);
        QTemporaryDir source;
        QByteArray bytes(size, 'n');
        for (int i = 0; i < size; i += 97)
            bytes[i] = char('a' + i % 26);
        const QString from = source.filePath("new.bin");
        QVERIFY(SafeWriteFile(from, bytes));
        test::TinyDisk disk(size + (64 << 10));
        VORN_REQUIRE_MOUNTED(disk);
        const QString path = disk.file("keep.bin");
        const QByteArray old("precious contents");
        QVERIFY(SafeWriteFile(path, old));
        QVERIFY(disk.leaveFree(free));
        QString error;
        const bool ok =
            copy ? SafeCopyFile(from, path, &error) : SafeWriteFile(path, bytes, &error);
        QVERIFY2(!ok, "a write that did not fit was reported as done");
        QVERIFY2(error.contains("No space left on device"), qPrintable(error));
        QVERIFY2(error.contains(path), qPrintable(error));
        QCOMPARE(readAll(path), old);
        QCOMPARE(disk.files(), QStringList{"keep.bin"});
    }

    // The faults a tmpfs cannot make: the sync or the rename fails after
    // every byte was taken. The window words the reason in Chinese.
    void failingSyncOrRenameKeepsOldFile_data() {
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("chinese");
        QTest::addColumn<QString>("expected");
        QTest::newRow("sync, EIO")
            << int(WriteStep::Sync) << EIO << false << QString::fromLocal8Bit(strerror(EIO));
        QTest::newRow("sync, EIO, window")
            << int(WriteStep::Sync) << EIO << true << QStringLiteral("：磁盘读写错误");
        QTest::newRow("rename, EROFS, window")
            << int(WriteStep::Rename) << EROFS << true << QStringLiteral("：磁盘为只读");
        QTest::newRow("write, EDQUOT, window")
            << int(WriteStep::Write) << EDQUOT << true << QStringLiteral("：超出磁盘配额");
        QTest::newRow("write, unmapped, window")
            << int(WriteStep::Write) << EXDEV << true << QString::fromLocal8Bit(strerror(EXDEV));
    }
    void failingSyncOrRenameKeepsOldFile() {
        QFETCH(int, step);
        QFETCH(int, code);
        QFETCH(bool, chinese);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath("keep.bin");
        QVERIFY(SafeWriteFile(path, QByteArray("precious contents")));
        SpeakChineseInMessages(chinese);
        InjectWriteFailure(WriteStep(step), code);
        QString error;
        const bool ok = SafeWriteFile(path, QByteArray("new"), &error);
        SpeakChineseInMessages(false);
        QVERIFY(!ok);
        QVERIFY2(error.contains(expected), qPrintable(error));
        QVERIFY2(error.startsWith(chinese ? QStringLiteral("无法写入文件 “%1”").arg(path)
                                          : QStringLiteral("Cannot write \"%1\"").arg(path)),
                 qPrintable(error));
        QCOMPARE(readAll(path), QByteArray("precious contents"));
        QCOMPARE(entries(dir.path()), QStringList{"keep.bin"});
    }

    // A replaced file keeps its permissions; a new one gets the usual ones;
    // a link stays a link.
    void keepsPermissionsAndLinks() {
        QTemporaryDir dir;
        const QString path = dir.filePath("script.sh");
        QVERIFY(SafeWriteFile(path, QByteArray("old")));
        QCOMPARE(QFileInfo(path).permissions() & QFile::ExeOwner, QFile::Permissions());
        const auto mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup;
        QVERIFY(QFile::setPermissions(path, mode));
        QVERIFY(SafeWriteFile(path, QByteArray("new")));
        QCOMPARE(QFileInfo(path).permissions() & 0x7077, mode);
        const QString link = dir.filePath("link.sh");
        QVERIFY(QFile::link(path, link));
        QVERIFY(SafeWriteFile(link, QByteArray("through the link")));
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(readAll(path), QByteArray("through the link"));
    }
};

VORN_TEST_MAIN(SafeWriteTest)
#include "SafeWriteTest.moc"
