#pragma once
// What a test driving the real main window reaches it by: the window in its
// own program directory, its children by object name, its data module and
// its commands. Header only: tests that use it link the shell.

#include "DataModule.h"
#include "JobCommands.h"
#include "MainWindow.h"
#include "PanelSearch.h"
#include "Startup.h"
#include "VornTestSupport.h"
#include "WindowTestSupport.h"

#include <QAction>
#include <QTest>

#include <memory>

namespace vorn::test {

// The engine's own rows, sorted and numbered, for the job the window holds
// now (its options, the seeded sheets, all enabled).
inline std::vector<ResultRow> EngineRows(TVornMF& w) {
    PanelJob in = PanelJobOf(w.Data()->TempInput, w.Options());
    in.sheets = {{48, 36}, {48, 40}, {48, 42}, {49, 37}, {49, 41}, {49, 43}};
    CollectedRows sink;
    NoProgress progress;
    RunPanelSearch(in, w.UnitIsMm() ? DisplayUnit::Millimetre : DisplayUnit::Inch, sink, progress);
    SortAndNumber(sink.rows);
    return sink.rows;
}

class MainWindowAccess {
protected:
    std::unique_ptr<ProgramDir> dir_;
    std::unique_ptr<TVornMF> w_;

    template <class T = QWidget> T* Child(const char* name) const {
        T* c = w_->findChild<T*>(QString::fromLatin1(name));
        if (!c)
            qWarning("no child %s", name);
        return c;
    }
    TDataM1& Dm() const { return *w_->Data(); }
    QAction* Command(const char* name) const { return w_->Command(QString::fromLatin1(name)); }
    // Picks a row of the result grid as a user does.
    void PickResultRow(int row) { DoubleClickRow(w_->ResultGrid(), row, 1); }

    // A fresh program directory and the main window on it, shown and active;
    // false when either could not be made.
    bool OpenWindow() {
        dir_ = std::make_unique<ProgramDir>();
        if (!dir_->isValid())
            return false;
        w_ = CreateMainWindow(dir_->path());
        if (!w_ || !w_->Data())
            return false;
        w_->show();
        if (!QTest::qWaitForWindowExposed(w_.get()))
            return false;
        w_->activateWindow();
        return true;
    }
    void CloseWindow() {
        w_.reset();
        dir_.reset();
    }
};

} // namespace vorn::test
