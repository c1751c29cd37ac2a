#pragma once
// The language the windows, messages and outputs speak. Chinese is the
// program's own (the source texts); English comes from vorn_en.ts, built into
// the program. Qt's own dialog texts follow the same choice.

#include <QString>

class QLocale;

namespace vorn {

enum class Language { Chinese, English };

// A Chinese locale gets Chinese, every other one English.
Language LanguageOfLocale(const QLocale& locale);

// The settings value of a language ("zh_CN", "en") and back; nullopt-like
// `ok` false for a value that names neither.
QString LanguageCode(Language language);
Language LanguageFromCode(const QString& code, bool* ok = nullptr);

// Installs the translators of `language` in the running application, in
// place of those installed before, and words the store's messages in it.
// False when a translation cannot be loaded (the texts stay Chinese then, or
// Qt's own stay English).
bool UseLanguage(Language language);
Language CurrentLanguage();

} // namespace vorn
