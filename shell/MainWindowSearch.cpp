// The main window's progress frame around a search: commands locked, the
// progress box shown, the grid detached, the Esc question.

#include "MainWindow.h"

#include "CursorModel.h"
#include "DataModule.h"
#include "SearchProgress.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>

using vorn::Cursor;

namespace {

// Empties a working table and keeps it unsorted while rows arrive: the rows
// are sorted once at the end.
void Restart(Cursor& table) {
    table.close();
    table.setSort(QString());
    table.open();
}

} // namespace

// While a search runs, the window processes its events at every look at the
// progress: nothing that could start a second search or touch the tables
// being written may run. Every command (menu, tool bar, keys), the tabs, the
// view selectors, the unit button and the grid are disabled, and restored
// afterwards to what they were.
void TVornMF::LockForSearch() {
    lockedActions_.clear();
    lockedWidgets_.clear();
    for (QAction* a : std::as_const(commands_)) {
        lockedActions_.append({a, a->isEnabled()});
        a->setEnabled(false);
    }
    const QList<QWidget*> widgets{toolBar_, menuBar(), tabs_,
                                  findChild<QWidget*>(QStringLiteral("Panel1")), dbGrid1_};
    for (QWidget* w : widgets) {
        if (!w)
            continue;
        lockedWidgets_.append({w, w->isEnabled()});
        w->setEnabled(false);
    }
}

// Commands that a table's opening enabled during the search wait for its end.
void TVornMF::ReassertSearchLock() {
    for (auto& [action, enabled] : lockedActions_) {
        if (action && action->isEnabled()) {
            enabled = true;
            action->setEnabled(false);
        }
    }
}

void TVornMF::UnlockAfterSearch() {
    for (const auto& [w, enabled] : std::as_const(lockedWidgets_))
        if (w)
            w->setEnabled(enabled);
    for (const auto& [a, enabled] : std::as_const(lockedActions_))
        if (a)
            a->setEnabled(enabled);
    lockedActions_.clear();
    lockedWidgets_.clear();
}

void TVornMF::CheckCancel() {
    QApplication::processEvents();
    if (!esc_->IsDown() && !closeRequested_)
        return;
    if (!closeRequested_) {
        esc_->Forget();
        const auto answer = QMessageBox::question(
            this, QCoreApplication::translate("TVornMF", "确认取消"),
            QCoreApplication::translate("TVornMF", " 确实要取消此操作吗？         "),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        esc_->Answered();
        if (answer != QMessageBox::Yes)
            return;
    }
    throw vorn::SearchCancelled();
}

// Runs `search` inside the progress frame: wait cursor, locked commands, box
// shown, grid detached. A confirmed cancel closes `table` and shows the
// welcome picture; any other failure empties the table as well and reaches
// the caller's error box.
bool TVornMF::RunSearch(Cursor& table, const char* sort, std::int64_t maximum,
                        const std::function<void(vorn::SearchProgress&)>& search) {
    QElapsedTimer total;
    total.start();
    timings_ = {};
    statusBar()->clearMessage(); // a reason an earlier search left
    searching_ = true;
    closeRequested_ = false;
    LockForSearch();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    esc_->Forget();

    vorn::BoxProgress progress(progressBar_, progressPercent_, [this] { CheckCancel(); });
    progress.SetTimeLabel(progressTime_);
    progress.SetMaximum(maximum);
    progressTime_->setText(vorn::TimeText(0, 0, maximum));
    progressBar_->setValue(0);
    progressPercent_->setText(vorn::PercentText(0, maximum));
    FormResize();
    progressBox_->show();
    progressBox_->raise();
    resultModel_->detach();

    auto finish = [&] {
        searching_ = false;
        QApplication::restoreOverrideCursor();
        UnlockAfterSearch();
        // The all-panels margin commands follow the result table, also when
        // it closed while the commands were locked.
        for (const char* name : {"PM02", "M04_02_02"})
            if (QAction* a = commands_.value(QString::fromLatin1(name)))
                a->setEnabled(Data()->TempResult.isOpen());
        progressBox_->hide();
    };
    try {
        progress.LookNow(); // the box drawn before any work
        Restart(table);
        ReassertSearchLock();
        table.disableControls();
        try {
            search(progress);
        } catch (...) {
            table.enableControls();
            throw;
        }
        table.enableControls();
        progress.Fill();
    } catch (const vorn::SearchCancelled&) {
        // Silent: the rows written so far go with the table.
        table.close();
        table.setSort(QString::fromLatin1(sort));
        resultModel_->attach();
        finish();
        ShowWelcomePicture();
        const bool close = closeRequested_;
        closeRequested_ = false;
        if (close)
            this->close();
        return false;
    } catch (...) {
        table.close();
        table.setSort(QString::fromLatin1(sort));
        resultModel_->attach();
        finish();
        throw;
    }
    timings_.total = total.nsecsElapsed();
    timings_.looks = progress.LookNanoseconds();
    timings_.lookCount = progress.Looks();
    timings_.longestGap = progress.LongestGapNanoseconds();
    timings_.firstLook = progress.FirstLookNanoseconds();
    finish();
    return true;
}
