#pragma once
// The application object: an error that escapes any event handler is shown
// like an error of a command, and the program runs on.

#include <QApplication>

namespace vorn {

class VornApplication : public QApplication {
    Q_OBJECT
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace vorn
