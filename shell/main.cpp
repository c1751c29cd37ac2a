#include "MainWindow.h"
#include "SingleInstance.h"
#include "Startup.h"
#include "UserSettings.h"
#include "VornApplication.h"

#include <QApplication>

int main(int argc, char** argv) {
    vorn::VornApplication app(argc, argv);
    // The language chosen before, or on a first start the desktop's.
    vorn::SetUpApplication(app, vorn::StartLanguage());

    // A second start raises the running copy and ends here.
    vorn::SingleInstance guard(vorn::SingleInstance::DefaultKey());
    if (guard.AskRunningCopy() || (!guard.Listen() && guard.AskRunningCopy()))
        return 0;

    std::unique_ptr<TVornMF> window = vorn::CreateMainWindow(QApplication::applicationDirPath());
    if (!window)
        return 1;
    QObject::connect(&guard, &vorn::SingleInstance::raiseRequested, window.get(),
                     [&window] { vorn::BringToFront(*window); });
    window->show();
    return app.exec();
}
