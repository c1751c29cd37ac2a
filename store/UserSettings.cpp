#include "UserSettings.h"

#include <QDir>
#include <QStandardPaths>

namespace vorn {

namespace {

const QString kLanguageKey = QStringLiteral("window/language");

} // namespace

QSettings UserSettings() {
    return QSettings(QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
                         .filePath(QStringLiteral("Vorn/Vorn.ini")),
                     QSettings::IniFormat);
}

Language StartLanguage(const QLocale& system) {
    QSettings settings = UserSettings();
    bool known = false;
    const Language stored = LanguageFromCode(settings.value(kLanguageKey).toString(), &known);
    if (known)
        return stored;
    const Language language = LanguageOfLocale(system);
    settings.setValue(kLanguageKey, LanguageCode(language));
    return language;
}

void RememberLanguage(Language language) {
    UserSettings().setValue(kLanguageKey, LanguageCode(language));
}

} // namespace vorn
