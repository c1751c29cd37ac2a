#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vorn"));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Vorn"));
    window.show();
    return app.exec();
}
