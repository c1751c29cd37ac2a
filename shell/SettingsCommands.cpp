// The settings windows of sheets and panel presets, backup and restore.

#include "MainWindow.h"

#include "BackupRestore.h"
#include "Cursor.h"
#include "DataModule.h"
#include "PanelPresetsWindow.h"
#include "SheetsWindow.h"

#include <QCoreApplication>
#include <QStatusBar>

namespace {

// Closes a settings cursor when its window has gone, whatever happened:
// unsaved edits are dropped with it.
class ClosesAfterwards {
public:
    explicit ClosesAfterwards(vorn::Cursor& cursor) : m_cursor(cursor) {}
    ~ClosesAfterwards() { m_cursor.close(); }

private:
    vorn::Cursor& m_cursor;
};

} // namespace

// "Panels  设定" (F5).
void TVornMF::M03_01Click() {
    vorn::TDataM1& dm = *Data();
    ClosesAfterwards closes(dm.SetPanel);
    dm.SetPanel.open();
    vorn::TForm7 window(dm, this);
    window.exec();
}

// "板  材  设定": every sheet shows, enabled or not.
void TVornMF::M03_03Click() {
    vorn::TDataM1& dm = *Data();
    ClosesAfterwards closes(dm.SetBase);
    dm.SetBase.setFilter(QString());
    dm.SetBase.setFiltered(true);
    dm.SetBase.open();
    vorn::TForm5 window(dm, this);
    window.exec();
}

// "数据备份" (Ctrl+B).
void TVornMF::M04_05Click() {
    vorn::TDataM1& dm = *Data();
    vorn::StandardBackupRestoreDialogs dialogs(this);
    if (vorn::BackupCommand(dialogs, dm.databasePath(), [&dm] { dm.closeConnection(); })) {
        StartNewJob(); // with the welcome picture
        statusBar()->showMessage(QCoreApplication::translate("TVornMF", "数据备份完成"));
    }
}

// "恢复数据" (Ctrl+R): every cursor reopens on the restored file.
void TVornMF::M04_06Click() {
    vorn::TDataM1& dm = *Data();
    vorn::StandardBackupRestoreDialogs dialogs(this);
    if (vorn::RestoreCommand(dialogs, dm.databasePath(), [&dm] { dm.closeConnection(); })) {
        StartNewJob();
        statusBar()->showMessage(QCoreApplication::translate("TVornMF", "数据恢复完成"));
    }
}
