#pragma once
// What a test driving the real main window reaches it by: the window in its
// own program directory, its children by object name, its data module and
// its commands. Header only: tests that use it link the shell.

#include "Unit2.h"
#include "VornTestSupport.h"

#include <QAction>

#include <memory>

namespace vorn::test {

class MainWindowAccess {
protected:
    std::unique_ptr<ProgramDir> dir_;
    std::unique_ptr<TVornMF> w_;

    template <class T> T* Child(const char* name) const {
        T* c = w_->findChild<T*>(QString::fromLatin1(name));
        if (!c)
            qWarning("no child %s", name);
        return c;
    }
    TDataM1& Dm() const { return *w_->Data(); }
    QAction* Command(const char* name) const { return w_->Command(QString::fromLatin1(name)); }
};

} // namespace vorn::test
