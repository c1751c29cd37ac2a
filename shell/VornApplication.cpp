#include "VornApplication.h"

#include "Unit2.h"

namespace vorn {

bool VornApplication::notify(QObject* receiver, QEvent* event) {
    bool handled = false;
    TVornMF::RunCommand([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

} // namespace vorn
