// Plans beyond the search on the main window: the tooling holes and their
// tab, "拼 板" (F3) for a typed panel or array, border minimization and the
// tooling presets window.

#include "MainWindow.h"

#include "CursorModel.h"
#include "DataModule.h"
#include "DomainMessages.h"
#include "GivenPanel.h"
#include "InputDomain.h"
#include "PlanWork.h"
#include "ToolingPresetsWindow.h"
#include "ToolingTab.h"
#include "ToolingWork.h"

#include <QCheckBox>
#include <QMessageBox>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>

using vorn::Cursor;
using vorn::DiagramView;

namespace {

constexpr int kArrayPage = 1;
constexpr int kToolingPage = 2;

void Inform(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, QStringLiteral("Vorn"), text, QMessageBox::Ok);
}

void Inform(QWidget* parent, const std::string& text) {
    Inform(parent, QString::fromStdString(text));
}

} // namespace

void TVornMF::ConnectToolingControls() {
    toolingPage_->SetData(Data());
    toolingPage_->SetRunner([](const std::function<void()>& command) { RunCommand(command); });
    connect(toolingPage_, &vorn::ToolingPage::redrawRequested, this,
            [this] { RunCommand([this] { RadioButton1Click(); }); });
    connect(tooling_, &QCheckBox::clicked, this,
            [this] { RunCommand([this] { CheckBox3Click(); }); });
}

// ---- tooling holes ----

void TVornMF::ComputeToolingHoles() {
    vorn::TDataM1* dm = Data();
    if (!dm)
        return;
    if (!tooling_->isChecked()) {
        dm->TempTooling.close();
        tabs_->setTabEnabled(kToolingPage, false);
        return;
    }
    tabs_->setTabEnabled(kToolingPage, true);
    vorn::StoreToolingHoles(*dm, UnitIsMm());
    toolingPage_->UpdateEnabling();
}

void TVornMF::CheckBox3Click() {
    if (tooling_->isChecked())
        return; // the next plan computes the holes
    if (vorn::TDataM1* dm = Data())
        dm->TempTooling.close();
    tabs_->setTabEnabled(kToolingPage, false);
    RadioButton1Click();
}

// ---- "拼 板" ----

void TVornMF::ToolButton2Click() {
    if (searching_ || !Data())
        return;
    if (tabs_->currentIndex() == kArrayPage)
        GivenArrayCommand();
    else
        GivenPanelCommand();
}

void TVornMF::GivenPanelCommand() {
    vorn::TDataM1& dm = *Data();
    if (JobRow())
        JobRow()->CommitFields();
    Cursor& job = dm.TempInput;
    if (!job.isOpen())
        return;
    vorn::GivenPanelJob in =
        vorn::GivenPanelJobOf(job, bothPanel_->isChecked(), bothBase_->isChecked());
    in.packing = Options().packing;
    in.sheets = {vorn::SheetSize{1, 1}}; // checked below, after the second panel is gone
    if (const std::string refusal = vorn::GivenPanelRefusal(in); !refusal.empty()) {
        Inform(this, refusal);
        return;
    }
    const vorn::DisplayUnit unit =
        UnitIsMm() ? vorn::DisplayUnit::Millimetre : vorn::DisplayUnit::Inch;
    {
        vorn::GivenPanelJob checked = in;
        checked.sheets = vorn::EnabledSheetSizes(dm.SetBase);
        if (const vorn::DomainProblem why = vorn::GivenPanelDomainProblem(checked, unit)) {
            Inform(this, QStringLiteral("   %1   ").arg(vorn::DomainMessage(why)));
            return;
        }
    }
    if (job.asDouble(QStringLiteral("Panel2")) > 0) {
        vorn::ClearSecondPanel(job);
        job.post();
        ShowOnePanelSize();
        Selector(DiagramView::Panel1)->setChecked(true);
    }
    in.sheets = vorn::EnabledSheetSizes(dm.SetBase);
    if (const std::string refusal = vorn::GivenPanelRefusal(in); !refusal.empty()) {
        Inform(this, refusal);
        return;
    }
    const vorn::ResultRow plan = vorn::PanelizeGivenPanel(in, unit);
    vorn::WriteGivenPanelPlan(job, plan);
    givenBoards_ = plan.boards;

    // Drawn like a picked plan; the holes of the shown view only (none over
    // a cutting plan).
    const DiagramView view = SelectedView();
    const double scale = DrawSelectedView(view);
    ComputeToolingHoles();
    DrawSelectedViewTooling(view, scale);
    UpdateJobCommands();
}

void TVornMF::GivenArrayCommand() {
    vorn::TDataM1& dm = *Data();
    if (ArrayRow())
        ArrayRow()->CommitFields();
    Cursor& array = dm.TempInputCus;
    if (!array.isOpen())
        return;
    const vorn::GivenArrayJob in = vorn::GivenArrayJobOf(array);
    if (const std::string refusal = vorn::GivenArrayRefusal(in); !refusal.empty()) {
        Inform(this, refusal);
        return;
    }
    const vorn::DisplayUnit unit =
        UnitIsMm() ? vorn::DisplayUnit::Millimetre : vorn::DisplayUnit::Inch;
    if (const vorn::DomainProblem why = vorn::GivenArrayDomainProblem(in, unit)) {
        Inform(this, QStringLiteral("   %1   ").arg(vorn::DomainMessage(why)));
        return;
    }
    const vorn::ArrayRow plan = vorn::PanelizeGivenArray(in, unit);
    vorn::WriteGivenArrayPlan(array, plan);
    if (UpdateJobCommands()) {
        const vorn::LayoutDrawing args = GatherLayoutArgs(DiagramView::Array);
        ShowDiagram([&args](QImage& image) { return vorn::DrawLayoutDiagram(args, image); });
    }
}

// ---- border minimization ----

void TVornMF::PM01Click() {
    vorn::TDataM1* dm = Data();
    if (searching_ || !dm || !dm->TempInput.isOpen())
        return;
    if (JobRow())
        JobRow()->CommitFields();
    if (!vorn::MinimizeJobBorders(dm->TempInput))
        return; // nothing to shrink: no redraw, no new holes
    const DiagramView view = SelectedView();
    const double scale = DrawSelectedView(view);
    ComputeToolingHoles();
    DrawSelectedViewTooling(view, scale);
}

void TVornMF::PM02Click() {
    vorn::TDataM1* dm = Data();
    if (searching_ || !dm)
        return;
    PM01Click();
    if (!dm->TempInput.isOpen())
        return;
    const bool attached = resultModel_->isAttached();
    if (attached)
        resultModel_->detach();
    try {
        vorn::MinimizeCandidateBorders(dm->TempResult, dm->TempInput);
    } catch (...) {
        if (attached)
            resultModel_->attach();
        throw;
    }
    if (attached)
        resultModel_->attach();
}

// ---- tooling presets window ----

void TVornMF::M03_02Click() {
    vorn::TDataM1* dm = Data();
    if (!dm)
        return;
    vorn::TForm8 window(*dm, this);
    window.exec();
}
