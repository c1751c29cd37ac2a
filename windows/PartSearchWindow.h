#pragma once
// The part search window "部件搜索": the saved parts filtered by part number
// or customer part; a double-click loads the chosen part into the job.

#include <QDialog>

#include <functional>

class QLineEdit;
class QRadioButton;
class QTableView;
class QToolButton;

namespace vorn {

class CursorModel;
class TDataM1;

class TForm6 : public QDialog {
    Q_OBJECT
public:
    // `loadCurrent` loads SavedPartsQuery's current row into the job; the
    // query is open when the window is shown.
    TForm6(TDataM1& dm, std::function<void()> loadCurrent, QWidget* parent = nullptr);

    QRadioButton* PartNumberOption() const { return radioButton1_; }
    QRadioButton* CustomerPartOption() const { return radioButton2_; }
    QLineEdit* FilterEdit() const { return edit1_; }
    QToolButton* ClearButton() const { return speedButton1_; }
    QTableView* Grid() const { return dbGrid1_; }

    // Handlers.
    void Edit1Change();
    void SpeedButton1Click();
    void DBGrid1DblClick();

private:
    TDataM1& dm_;
    std::function<void()> loadCurrent_;
    QRadioButton* radioButton1_ = nullptr;
    QRadioButton* radioButton2_ = nullptr;
    QLineEdit* edit1_ = nullptr;
    QToolButton* speedButton1_ = nullptr;
    QTableView* dbGrid1_ = nullptr;
    CursorModel* model_ = nullptr;
};

} // namespace vorn
