#pragma once

#include <QApplication>
#include <QRegularExpression>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

namespace vorn::test {

// A private program directory for one test: a fresh copy of the database
// built from the checked-in scripts and, when the build shipped one into the
// program directory, the defaults file "VornInitS.int". Removed afterwards.
class ProgramDir {
public:
    ProgramDir();
    bool isValid() const { return m_valid; }
    QString path() const;                    // with a trailing separator
    QString file(const QString& name) const; // path() + name
    QString databasePath() const { return file(QStringLiteral("Vorn.mdb")); }

private:
    QTemporaryDir m_dir;
    bool m_valid = false;
};

// The build's program directory (the binary, Vorn.mdb, VornInitS.int) and the
// pristine database that every ProgramDir copies.
QString buildProgramDir();
QString builtDatabasePath();

// Where tests save pictures of windows and diagrams for a person to look at.
QString screenshotDir();

// Saves a picture of the widget as NAME.png under screenshotDir().
inline void Shot(QWidget* w, const QString& name) {
    QVERIFY(w->grab().save(screenshotDir() + u'/' + name + QStringLiteral(".png")));
}

// Same start for every test: offscreen unless a platform is named, the
// program's application name, fixed DPI so pictures do not depend on the host.
void prepareApplication();

// The user's settings (remembered folders and the like) of this test process
// live in a folder of its own, removed at its end: no test reads what an
// earlier run or the user left, or leaves anything behind.
void IsolateUserSettings();

// A message in the window's language: Chinese characters and no run of
// English words (field names, numbers, units and paths may stand in it).
inline bool SpeaksChinese(const QString& text) {
    static const QRegularExpression english(QStringLiteral("\\b[A-Za-z]{2,} [a-z]{2,}\\b"));
    static const QRegularExpression cjk(QStringLiteral("[\\x{4e00}-\\x{9fff}]"));
    return text.contains(cjk) && !text.contains(english);
}

// Tolerant comparison of doubles: |a - b| <= tolerance.
bool nearlyEqual(double actual, double expected, double tolerance = 1e-9);

} // namespace vorn::test

// QCOMPARE for doubles with an explicit tolerance, reporting both values.
#define VORN_COMPARE_NEAR(actual, expected, tolerance)                                             \
    do {                                                                                           \
        const double vornActual_ = (actual);                                                       \
        const double vornExpected_ = (expected);                                                   \
        if (!::vorn::test::nearlyEqual(vornActual_, vornExpected_, (tolerance)))                   \
            QFAIL(qPrintable(QStringLiteral("%1 is %2, expected %3 (tolerance %4)")                \
                                 .arg(QStringLiteral(#actual))                                     \
                                 .arg(vornActual_, 0, 'g', 17)                                     \
                                 .arg(vornExpected_, 0, 'g', 17)                                   \
                                 .arg(double(tolerance))));                                        \
    } while (false)

// QTEST_MAIN with the shared start.
#define VORN_TEST_MAIN(TestObject)                                                                 \
    int main(int argc, char** argv) {                                                              \
        ::vorn::test::prepareApplication();                                                        \
        QApplication app(argc, argv);                                                              \
        app.setApplicationName(QStringLiteral("Vorn"));                                            \
        TestObject test;                                                                           \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
