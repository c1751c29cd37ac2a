#pragma once
// The saved-parts query window "部件拼板查询": every saved part with its plan,
// sorted by a title click, searched by prefix, shown in inches or millimetres,
// with the saved tooling holes beside it, the diagram window of the selected
// part and the export of the list.

#include <QDialog>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QTableView;
class QToolButton;

namespace vorn {

class CursorModel;
class TDataM1;

class TForm3 : public QDialog {
    Q_OBJECT
public:
    TForm3(TDataM1& dm, QWidget* parent = nullptr);
    ~TForm3() override;

    // False when the parts could not be listed (the reason was shown).
    bool IsUsable() const { return usable_; }

    QToolButton* UnitButton() const { return speedButton1_; }
    QToolButton* DiagramButton() const { return toolButton1_; }
    QToolButton* ExportButton() const { return toolButton2_; }
    QToolButton* ToolingButton() const { return toolButton3_; }
    QToolButton* TypeButton() const { return toolButton4_; }
    QComboBox* SearchField() const { return comboBox1_; }
    QLineEdit* SearchText() const { return edit1_; }
    QToolButton* SearchButton() const { return toolButton5_; }
    QTableView* PartsGrid() const { return dbGrid1_; }
    QFrame* ToolingPanel() const { return panel2_; }
    QLabel* ToolingHeader() const { return label1_; }
    QTableView* ToolingGrid() const { return dbGrid2_; }
    // The last SQL line of the parts query (its order).
    QString OrderLine() const;

    // Handlers.
    void DBGrid1TitleClick(int column);
    void ToolButton5Click();  // search
    void SpeedButton1Click(); // unit
    void ToolButton3Click();  // tooling panel
    void ToolButton4Click();  // panel type of the holes
    void ToolButton1Click();  // diagram window
    void ToolButton2Click();  // export

protected:
    void done(int result) override;

private:
    void ReopenWithOrder(const QString& orderLine);

    TDataM1& dm_;
    bool usable_ = false;
    QToolButton* speedButton1_ = nullptr;
    QToolButton* toolButton1_ = nullptr;
    QToolButton* toolButton2_ = nullptr;
    QToolButton* toolButton3_ = nullptr;
    QToolButton* toolButton4_ = nullptr;
    QComboBox* comboBox1_ = nullptr;
    QLineEdit* edit1_ = nullptr;
    QToolButton* toolButton5_ = nullptr;
    QTableView* dbGrid1_ = nullptr;
    QFrame* panel2_ = nullptr;
    QLabel* label1_ = nullptr;
    QTableView* dbGrid2_ = nullptr;
    CursorModel* model_ = nullptr;
    CursorModel* toolingModel_ = nullptr;
};

} // namespace vorn
