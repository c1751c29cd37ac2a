// The parameter panel's handlers on the main window, the unit button and the
// part-number check.

#include "MainWindow.h"

#include "CursorModel.h"
#include "DataModule.h"
#include "ParameterPanel.h"
#include "PartsArchive.h"
#include "UnitSwitch.h"

#include <QAction>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>

namespace {

constexpr int kArrayPage = 1;

vorn::CursorModel* GridModel(QTableView* grid) {
    return grid ? qobject_cast<vorn::CursorModel*>(grid->model()) : nullptr;
}

} // namespace

void TVornMF::ConnectParameterPanel() {
    vorn::ParameterPanel::Hooks hooks;
    hooks.job = [this] { return JobRow(); };
    hooks.array = [this] { return ArrayRow(); };
    hooks.boardSizeEntered = [this] { RunCommand([this] { BoardSizeEnter(); }); };
    hooks.boardSizeLeft = [this] { RunCommand([this] { BoardSizeExit(); }); };
    panel_ = new vorn::ParameterPanel(this, std::move(hooks));
    // A click on a page's blank space or on a caption that reacts to nothing
    // leaves the focus where it is (a scroll area would take it).
    for (QScrollArea* area : tabs_->findChildren<QScrollArea*>())
        area->setFocusPolicy(Qt::NoFocus);
    // When a page scrolls, its scroll bar takes room beside the page instead
    // of covering the page's right column.
    const int paneWidth = tabs_->minimumWidth();
    auto fitPane = [this, paneWidth] {
        auto* area = qobject_cast<QScrollArea*>(tabs_->currentWidget());
        const QScrollBar* bar = area ? area->verticalScrollBar() : nullptr;
        const int extra = bar && bar->maximum() > 0 ? bar->sizeHint().width() : 0;
        tabs_->setFixedWidth(paneWidth + extra);
    };
    for (QScrollArea* area : tabs_->findChildren<QScrollArea*>())
        connect(area->verticalScrollBar(), &QScrollBar::rangeChanged, this, fitPane);
    connect(tabs_, &QTabWidget::currentChanged, this, fitPane);

    connect(unitButton_, &QToolButton::clicked, this,
            [this] { RunCommand([this] { UnitButtonClick(); }); });
    connect(partNumber_, &QLineEdit::textChanged, this,
            [this] { RunCommand([this] { CheckPartNumber(); }); });
    // The grid and the selectors follow the count from the start, not only
    // after its first change.
    Edit5Change();
}

void TVornMF::BoardSizeEnter() {
    // A later "modified" state belongs to this field alone.
    if (vorn::WorkRow* job = JobRow(); job && job->IsOpen())
        job->Post();
}

void TVornMF::BoardSizeExit() {
    // A changed board: the plan and the candidates no longer fit.
    ApplyJobParameterChanges();
}

bool TVornMF::ParameterChecksPass() {
    return !panel_ || panel_->AcceptRatio();
}

void TVornMF::CheckPartNumber() {
    if (!Data())
        return;
    const bool saved = vorn::PartNumberSaved(*Data(), partNumber_->text());
    for (const char* name : {"ToolButton12", "M01_03"})
        commands_.value(QString::fromLatin1(name))->setEnabled(saved);
}

void TVornMF::UnitButtonClick() {
    vorn::TDataM1* dm = Data();
    if (!dm || searching_)
        return;
    // What is being typed belongs to the unit shown now; a changed board size
    // drops the plan before anything is converted.
    if (panel_)
        panel_->SettleFocusedField();
    for (vorn::WorkRow* row : {JobRow(), ArrayRow()})
        if (row && row->IsOpen())
            row->CommitFields();

    vorn::CursorModel* tooling = GridModel(findChild<QTableView*>(QStringLiteral("DBGrid4")));
    resultModel_->detach();
    if (tooling)
        tooling->detach();
    const vorn::UnitStep step = vorn::NextUnit(unitButton_->text());
    try {
        vorn::ConvertWorkingTables(*dm, step, &givenBoards_, &givenUnits_, &givenBoards2_);
    } catch (...) {
        resultModel_->attach();
        if (tooling)
            tooling->attach();
        throw;
    }
    if (step.converts)
        unitButton_->setText(step.caption);
    resultModel_->setCursor(tabs_->currentIndex() == kArrayPage ? &dm->TempResultCus
                                                                : &dm->TempResult);
    resultModel_->attach();
    RadioButton1Click();
    if (tooling)
        tooling->attach();
}
