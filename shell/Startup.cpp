#include "Startup.h"

#include "MainWindow.h"
#include "SafeWrite.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

namespace vorn {

void SetUpApplication(QApplication& app) {
    QApplication::setApplicationName(QStringLiteral("Vorn"));
    QApplication::setApplicationVersion(QStringLiteral(VORN_VERSION));
    // The texts are Chinese: a CJK sans face at the size the layout is made for.
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(12);
    app.setFont(font);
    LoadQtTranslations(app);
    // A failed save names the system's reason in Chinese too.
    SpeakChineseInMessages(true);
}

bool LoadQtTranslations(QApplication& app) {
    // The program speaks Chinese whatever the desktop's language.
    auto* qt = new QTranslator(&app);
    if (!qt->load(QStringLiteral("qtbase_zh_CN"),
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete qt;
        return false;
    }
    return QApplication::installTranslator(qt);
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
