#pragma once
// The sheet-materials window ("板材设定"): the laminate sheet sizes a search
// may cut panels from (SetBase), each enabled or not. Edits stay in the
// cached cursor until saved; closing without saving drops them.

#include "SettingsWindow.h"

class QAction;

namespace vorn {

class TForm5 : public SettingsWindow {
    Q_OBJECT
public:
    // SetBase is opened by the caller (every row shown) and closed after.
    TForm5(TDataM1& dm, QWidget* parent = nullptr);
    ~TForm5() override;

    // Tool bar: save ("保存Updata"), insert ("插入"), delete ("删除"), exit ("退出").
    void ToolButton1Click(); // save
    void ToolButton2Click(); // insert
    void ToolButton3Click(); // delete

    QAction* SaveAction() const { return save_; }
    QAction* InsertAction() const { return insert_; }
    QAction* DeleteAction() const { return delete_; }
    QAction* ExitAction() const { return exit_; }

private:
    QAction* save_ = nullptr;
    QAction* insert_ = nullptr;
    QAction* delete_ = nullptr;
    QAction* exit_ = nullptr;
    QMetaObject::Connection leaveGrid_;
};

} // namespace vorn
