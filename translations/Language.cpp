#include "Language.h"

#include "SafeWrite.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>
#include <vector>

namespace vorn {

namespace {

Language g_current = Language::Chinese;
std::vector<std::unique_ptr<QTranslator>> g_installed;

bool Install(const QString& name, const QString& folder) {
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(name, folder) || !QCoreApplication::installTranslator(translator.get()))
        return false;
    g_installed.push_back(std::move(translator));
    return true;
}

} // namespace

Language LanguageOfLocale(const QLocale& locale) {
    return locale.language() == QLocale::Chinese ? Language::Chinese : Language::English;
}

QString LanguageCode(Language language) {
    return language == Language::English ? QStringLiteral("en") : QStringLiteral("zh_CN");
}

Language LanguageFromCode(const QString& code, bool* ok) {
    const bool english = code == QLatin1String("en");
    if (ok)
        *ok = english || code == QLatin1String("zh_CN");
    return english ? Language::English : Language::Chinese;
}

bool UseLanguage(Language language) {
    for (const auto& translator : g_installed)
        QCoreApplication::removeTranslator(translator.get());
    g_installed.clear();
    g_current = language;
    SpeakChineseInMessages(language == Language::Chinese);
    const QString qtFolder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (language == Language::Chinese)
        return Install(QStringLiteral("qtbase_zh_CN"), qtFolder);
    // Qt's own texts are English already.
    return Install(QStringLiteral("vorn_en"), QStringLiteral(":/translations"));
}

Language CurrentLanguage() {
    return g_current;
}

} // namespace vorn
