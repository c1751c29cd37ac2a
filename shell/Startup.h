#pragma once
// Program start: look, single instance, main window and the hidden windows.

#include <QString>
#include <memory>

class QApplication;
class TVornMF;

namespace vorn {

// Title, font and error handling of the application.
void SetUpApplication(QApplication& app);
// Qt's own texts (standard buttons, file dialogs) in Chinese, from the
// translations Qt ships; false when they are not installed.
bool LoadQtTranslations(QApplication& app);

// Creates the main window (data module and a new job within it) and the
// hidden sheet-materials window, in that order. Returns nullptr when the
// program cannot run; the reason has been shown.
std::unique_ptr<TVornMF> CreateMainWindow(const QString& programDir);

// Brings a running main window to the front, restoring it when minimized.
void BringToFront(TVornMF& window);

} // namespace vorn
