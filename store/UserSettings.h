#pragma once
// The user's own settings file (Vorn.ini in the user's configuration folder,
// not the program's defaults file): the folders the file dialogs used last
// and the language of the windows.

#include "Language.h"

#include <QLocale>
#include <QSettings>

namespace vorn {

QSettings UserSettings();

// The language to start in: the one chosen before, else the one of `system`
// (remembered from then on, so a later change of the desktop's language does
// not switch the program).
Language StartLanguage(const QLocale& system = QLocale::system());
void RememberLanguage(Language language);

} // namespace vorn
