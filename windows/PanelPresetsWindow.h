#pragma once
// The panel-presets window ("Panel设定"): the numbered panel sizes that the
// set-panel search tries (SetPanel), each enabled or not. Rows are inserted
// above or below, deleted and moved with their numbers kept 1, 2, 3 …; edits
// stay in the cached cursor until saved.

#include "NumberedList.h"
#include "SettingsWindow.h"

class QAction;

namespace vorn {

class TForm7 : public SettingsWindow {
    Q_OBJECT
public:
    // SetPanel is opened by the caller and closed after.
    TForm7(TDataM1& dm, QWidget* parent = nullptr);

    // The button bar, top to bottom (the unit button sits second).
    void SpeedButton1Click(); // exit
    void SpeedButton3Click(); // save
    void SpeedButton4Click(); // insert above
    void SpeedButton5Click(); // insert below
    void SpeedButton6Click(); // delete
    void SpeedButton7Click(); // move up
    void SpeedButton8Click(); // move down

    QAction* ExitAction() const { return exit_; }
    QAction* SaveAction() const { return save_; }
    QAction* InsertAboveAction() const { return insertAbove_; }
    QAction* InsertBelowAction() const { return insertBelow_; }
    QAction* DeleteAction() const { return delete_; }
    QAction* MoveUpAction() const { return moveUp_; }
    QAction* MoveDownAction() const { return moveDown_; }

private:
    NumberedList list_;
    QAction* exit_ = nullptr;
    QAction* save_ = nullptr;
    QAction* insertAbove_ = nullptr;
    QAction* insertBelow_ = nullptr;
    QAction* delete_ = nullptr;
    QAction* moveUp_ = nullptr;
    QAction* moveDown_ = nullptr;
};

} // namespace vorn
