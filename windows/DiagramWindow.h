#pragma once
// The diagram window "图形显示": the four views of one saved part, drawn from
// whatever row source the caller gives (the saved-parts query window hands
// it the current saved part), redrawn on every selector change and resize.

#include "DiagramRoutines.h"
#include "PlanViews.h"

#include <QDialog>

#include <functional>
#include <vector>

class QFrame;
class QLabel;
class QRadioButton;

namespace vorn {

// What the window reads at each redraw; it keeps no copy.
struct SavedPlanSource {
    PlanFields plan;               // the part's columns; text() in plain shortest form
    std::function<QString()> unit; // "Inch" or "mm": the unit of the lengths
    // The saved holes of one panel type ("Panel1", "Panel2", "Array").
    std::function<std::vector<ToolingHole>(const QString& type)> holes;
    // The boards of panel 1 or 2 (or the array's units) laid out beyond the
    // blocks, for the view that shows them (empty for a block layout).
    std::function<std::vector<Placement>(DiagramView view)> boards;
};

class TForm4 : public QDialog {
    Q_OBJECT
public:
    TForm4(SavedPlanSource source, QWidget* parent = nullptr);

    QRadioButton* Selector(DiagramView view) const { return selectors_[int(view)]; }
    QFrame* SelectorGroup() const { return group_; }
    QLabel* Title() const { return panel4_; }
    QLabel* Image() const { return image1_; }
    DiagramView SelectedView() const;

    // The selectors' and the resize's common handler.
    void RadioButton1Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    QString TitleText(DiagramView view) const;
    // Shows `text` whole beside the selectors: on one line where it fits,
    // else one size a line, the bar growing to hold them.
    void FitTitle(const QString& text);

    SavedPlanSource source_;
    QLabel* image1_ = nullptr;
    QFrame* group_ = nullptr;
    QLabel* panel4_ = nullptr;
    QWidget* bar_ = nullptr;
    int titleX_ = 0; // where a title that fits begins, beside the selectors
    QRadioButton* selectors_[4] = {};
};

} // namespace vorn
