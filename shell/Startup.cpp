#include "Startup.h"

#include "MainWindow.h"

#include <QApplication>
#include <QFont>

namespace vorn {

void SetUpApplication(QApplication& app, Language language) {
    QApplication::setApplicationName(QStringLiteral("Vorn"));
    QApplication::setApplicationVersion(QStringLiteral(VORN_VERSION));
    // A CJK sans face (Latin too) at the size the layout is made for.
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(12);
    app.setFont(font);
    // A failed save names the system's reason in the same language.
    UseLanguage(language);
}

bool LoadQtTranslations(QApplication&) {
    return UseLanguage(Language::Chinese);
}

std::unique_ptr<TVornMF> CreateMainWindow(const QString& programDir) {
    auto window = std::make_unique<TVornMF>(programDir);
    if (!window->IsUsable())
        return nullptr;
    window->CreateSheetWindow();
    return window;
}

void BringToFront(TVornMF& window) {
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
}

} // namespace vorn
