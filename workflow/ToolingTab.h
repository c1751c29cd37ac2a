#pragma once
// The " Tooling " tab of the main window: the working holes of one type
// (panel 1, panel 2 or the array) in a grid with the numbered-list commands.

#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;
class QTableView;
class QToolButton;

namespace vorn {

class NumberedGridModel;
class TDataM1;

class ToolingPage : public QWidget {
    Q_OBJECT
public:
    explicit ToolingPage(QWidget* parent = nullptr);

    // The data module; the grid shows `TempTooling` from then on.
    void SetData(TDataM1* dm);
    // Runs a command of the page (the window shows what escapes it).
    void SetRunner(std::function<void(const std::function<void()>&)> run) { run_ = std::move(run); }

    // The button bar and the grid enabled by the validity of the shown type's
    // layout; a filter that names no type leaves them as they are.
    void UpdateEnabling();

    // Commands of the page.
    void TypeClick();        // "Type": panel 1 -> panel 2 -> array -> panel 1
    void MoveUpClick();      // "上移"
    void MoveDownClick();    // "下移"
    void InsertAboveClick(); // "上插记录"
    void InsertBelowClick(); // "下插记录" (hidden)
    void DeleteClick();      // "删除"
    void SaveClick();        // "保存"

    QTableView* Grid() const { return grid_; }
    QLabel* TypeLabel() const { return label_; }

signals:
    // "图像刷新": the window redraws the diagram and its marks.
    void redrawRequested();

private:
    QToolButton* Button(const char* name, const QString& text, const QString& hint,
                        void (ToolingPage::*command)());
    void Run(const std::function<void()>& command);

    TDataM1* dm_ = nullptr;
    NumberedGridModel* model_ = nullptr;
    QLabel* label_ = nullptr;
    QTableView* grid_ = nullptr;
    QWidget* bar_ = nullptr;
    std::function<void(const std::function<void()>&)> run_;
};

} // namespace vorn
