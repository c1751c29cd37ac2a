#include "Startup.h"

#include "Unit2.h"

#include <QApplication>
#include <QFont>

namespace vorn {

void SetUpApplication(QApplication& app) {
    QApplication::setApplicationName(QStringLiteral("Vorn"));
    QApplication::setApplicationVersion(QStringLiteral(VORN_VERSION));
    // The texts are Chinese: a CJK sans face at the size the layout is made for.
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(12);
    app.setFont(font);
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
