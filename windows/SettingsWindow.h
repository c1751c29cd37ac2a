#pragma once
// What the sheet-materials and panel-presets windows share: an editable grid
// on a cached settings table whose yes/no column is edited through a check
// box, lengths shown in inches or millimetres (stored always in inches), the
// user's place kept across a unit walk, and a save that always writes inches.

#include "UnitWalk.h"

#include <QDialog>
#include <QStringList>
#include <functional>

class QTableView;
class QToolButton;

namespace vorn {

class Cursor;
class CursorModel;
class TDataM1;
class YesNoDelegate;

class SettingsWindow : public QDialog {
    Q_OBJECT
public:
    QTableView* Grid() const { return grid_; }
    QToolButton* UnitButton() const { return unitButton_; }
    // True while the lengths on screen are millimetres (caption "mm").
    bool ShowsMm() const;

    // Save: every cached change goes to the file, in inches; the screen keeps
    // its unit. Unit button: the lengths on screen switch to the other unit.
    void Save();
    void UnitButtonClick();

protected:
    struct Table {
        Cursor* cursor;
        QStringList columns;       // shown, in order
        QString yesNoColumn;       // edited through the check box
        QString readOnlyColumn;    // shown on the 3-D light background ("" for none)
        QStringList lengthColumns; // converted by the unit button
        QString placeKey;          // remembers the current row ("ID", "Number")
    };
    SettingsWindow(TDataM1& dm, const Table& table, QWidget* parent);
    ~SettingsWindow() override;

    // The grid follows the cursor only while the window is shown.
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    // Esc takes back the change of the current row, as in any data grid;
    // with no row being edited it closes the window, asking first when
    // changes are not saved.
    void keyPressEvent(QKeyEvent* event) override;

    TDataM1& Dm() const { return dm_; }
    Cursor& Data() const { return *table_.cursor; }
    QToolButton* MakeUnitButton(QWidget* parent);
    // Runs a command of the window: a database error is shown in the error
    // box and ends only the command; the grid is never left detached.
    void Guarded(const std::function<void()>& command);
    // Posts a pending change of the current row.
    void PostPending();
    // The grid's current cell on the cursor's current row in `column`, focused.
    void FocusGrid(int column);
    int SelectedColumn() const;

private:
    struct Place {
        QVariant key;
        int column = 0;
    };
    void ApplyColumnWidths();
    Place RememberPlace();
    void ReturnToPlace(const Place& place);
    void WalkAll(bool toMm);

    TDataM1& dm_;
    Table table_;
    QTableView* grid_ = nullptr;
    CursorModel* model_ = nullptr;
    YesNoDelegate* yesNo_ = nullptr;
    QToolButton* unitButton_ = nullptr;
    UnitWalkMemory memory_;
};

} // namespace vorn
