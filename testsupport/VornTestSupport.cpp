#include "VornTestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cmath>

namespace vorn::test {

ProgramDir::ProgramDir() {
    if (!m_dir.isValid())
        return;
    m_valid = QFile::copy(QStringLiteral(VORN_TEST_DATABASE), databasePath());
    // Copies of read-only build outputs stay writable for the test.
    QFile::setPermissions(databasePath(), QFile::ReadOwner | QFile::WriteOwner);
    const QString defaults = QStringLiteral(VORN_PROGRAM_DIR "/VornInitS.int");
    if (m_valid && QFile::exists(defaults)) {
        m_valid = QFile::copy(defaults, file(QStringLiteral("VornInitS.int")));
        QFile::setPermissions(file(QStringLiteral("VornInitS.int")),
                              QFile::ReadOwner | QFile::WriteOwner);
    }
}

QString ProgramDir::path() const {
    return QDir(m_dir.path()).absolutePath() + u'/';
}

QString ProgramDir::file(const QString& name) const {
    return path() + name;
}

void prepareApplication() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication::setAttribute(Qt::AA_Use96Dpi, true);
    IsolateUserSettings();
}

void IsolateUserSettings() {
    static QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
}

QString buildProgramDir() {
    return QStringLiteral(VORN_PROGRAM_DIR);
}

QString builtDatabasePath() {
    return QStringLiteral(VORN_TEST_DATABASE);
}

QString screenshotDir() {
    QDir().mkpath(QStringLiteral(VORN_SCREENSHOT_DIR));
    return QStringLiteral(VORN_SCREENSHOT_DIR);
}

bool nearlyEqual(double actual, double expected, double tolerance) {
    return std::fabs(actual - expected) <= tolerance;
}

} // namespace vorn::test
