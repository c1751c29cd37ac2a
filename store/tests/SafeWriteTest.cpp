// Whole-or-nothing file writes: the old file survives every failure byte for byte.
#include "SafeWrite.h"
#include "VornTestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

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
};

VORN_TEST_MAIN(SafeWriteTest)
#include "SafeWriteTest.moc"
