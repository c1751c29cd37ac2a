#pragma once
// Program start: look, single instance, main window and the hidden windows.

#include "Language.h"

#include <QString>
#include <memory>

class QApplication;
class TVornMF;

namespace vorn {

// Title, font and language of the application: the program's texts, Qt's
// own (standard buttons, file dialogs) and the store's messages.
void SetUpApplication(QApplication& app, Language language = Language::Chinese);
// Qt's own texts in Chinese, from the translations Qt ships (with the
// program's own in Chinese); false when they are not installed.
bool LoadQtTranslations(QApplication& app);

// Creates the main window (data module and a new job within it) and the
// hidden sheet-materials window, in that order. Returns nullptr when the
// program cannot run; the reason has been shown.
std::unique_ptr<TVornMF> CreateMainWindow(const QString& programDir);

// Brings a running main window to the front, restoring it when minimized.
void BringToFront(TVornMF& window);

} // namespace vorn
