// vornplan search stopped by a real SIGTERM or SIGINT while a long search
// runs: exit status 130, one line on stderr, no CSV, and at once.

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

class InterruptTest : public QObject {
    Q_OBJECT

private slots:
    void signalEndsTheSearchAtOnce_data() {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
    }
    void signalEndsTheSearchAtOnce() {
        QFETCH(int, signal);
        QTemporaryDir dir;
        const QString job = dir.filePath(QStringLiteral("long.job"));
        QFile f(job);
        QVERIFY(f.open(QIODevice::WriteOnly));
        // A 6 mm board, two panel kinds, every sheet, no minimum utilization:
        // a search of minutes (boards of 5 mm or more are never refused for
        // the search's cost).
        f.write("Set_L=0.35\nSet_W=0.24\nSet_C=0.1\nBorderX_L=0.4\nBorderX_W=0.4\n"
                "Min_PL=6\nMin_PW=6\nMax_PL=24\nMax_PW=24\nPLPW_ratio=3\nMin_lv=0\n"
                "PanelNumber=2\nAUTOPanel=True\nGoodBase=False\nBothPanel=True\n"
                "BothBase=True\nSheet=48x36\nSheet=48x40\nSheet=48x42\n");
        f.close();
        QProcess p;
        p.start(QStringLiteral(VORNPLAN), {QStringLiteral("search"), job});
        QVERIFY(p.waitForStarted());
        // Well under way.
        QVERIFY2(!p.waitForFinished(2500), "the search ended before the signal");
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(::kill(pid_t(p.processId()), signal), 0);
        QVERIFY(p.waitForFinished(30000));
        const qint64 ms = clock.elapsed();
        qInfo("signal %d to exit: %lld ms", signal, ms);
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 130);
        QCOMPARE(p.readAllStandardError(), QByteArray("vornplan search: interrupted\n"));
        QVERIFY(p.readAllStandardOutput().isEmpty());
        // Generous for a loaded machine; the figure is printed above.
        QVERIFY2(ms < 5000, qPrintable(QString::number(ms)));
    }
};

QTEST_GUILESS_MAIN(InterruptTest)
#include "InterruptTest.moc"
