#pragma once
// The application object. Errors are caught where a command starts
// (TVornMF::RunCommand, the binder's and the windows' own guards), never in
// notify: an exception unwinding through Qt's event delivery leaves the event
// and Qt's delivery state behind.

#include <QApplication>

namespace vorn {

class VornApplication : public QApplication {
    Q_OBJECT
public:
    using QApplication::QApplication;
};

} // namespace vorn
