// Plans beyond the search on the main window: the tooling holes, "拼 板"
// (F3) for a typed panel or array, and border minimization.

#include "JobCommands.h"

#include "DataModule.h"
#include "DomainMessages.h"
#include "GivenPanel.h"
#include "InputDomain.h"
#include "PlanWork.h"
#include "ToolingWork.h"

#include <QMessageBox>

namespace vorn {

namespace {

void Inform(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, QStringLiteral("Vorn"), text, QMessageBox::Ok);
}

void Inform(QWidget* parent, const std::string& text) {
    Inform(parent, vorn::RefusalMessage(text));
}

} // namespace

// ---- tooling holes ----

void ComputeToolingHoles(JobWindow& w) {
    TDataM1* dm = w.Data();
    if (!dm)
        return;
    if (!w.Options().tooling) {
        dm->TempTooling.close();
        w.ShowToolingTab(false);
        return;
    }
    w.ShowToolingTab(true);
    StoreToolingHoles(*dm, w.UnitIsMm());
    w.ShowToolingTab(true);
}

// ---- "拼 板" ----

namespace {

void GivenPanelCommand(JobWindow& w) {
    TDataM1& dm = *w.Data();
    if (w.JobRow())
        w.JobRow()->CommitFields();
    Cursor& job = dm.TempInput;
    if (!job.isOpen())
        return;
    vorn::GivenPanelJob in = GivenPanelJobOf(job, w.Options().bothPanel, w.Options().bothBase);
    in.packing = w.Options().packing;
    in.sheets = {vorn::SheetSize{1, 1}}; // checked below, after the second panel is gone
    if (const std::string refusal = vorn::GivenPanelRefusal(in); !refusal.empty()) {
        Inform(w.Parent(), refusal);
        return;
    }
    const vorn::DisplayUnit unit =
        w.UnitIsMm() ? vorn::DisplayUnit::Millimetre : vorn::DisplayUnit::Inch;
    {
        vorn::GivenPanelJob checked = in;
        checked.sheets = vorn::EnabledSheetSizes(dm.SetBase);
        if (const vorn::DomainProblem why = vorn::GivenPanelDomainProblem(checked, unit)) {
            Inform(w.Parent(), QStringLiteral("   %1   ").arg(vorn::DomainMessage(why)));
            return;
        }
    }
    if (job.asDouble(QStringLiteral("Panel2")) > 0) {
        vorn::ClearSecondPanel(job);
        job.post();
        w.ShowPanelSizes(false);
        w.SelectView(DiagramView::Panel1);
    }
    in.sheets = vorn::EnabledSheetSizes(dm.SetBase);
    if (const std::string refusal = vorn::GivenPanelRefusal(in); !refusal.empty()) {
        Inform(w.Parent(), refusal);
        return;
    }
    const vorn::ResultRow plan = vorn::PanelizeGivenPanel(in, unit);
    vorn::WriteGivenPanelPlan(job, plan);
    w.GivenBoards() = *plan.boards;
    w.GivenBoards2().clear(); // a typed panel has no panel 2

    // Drawn like a picked plan; the holes of the shown view only (none over
    // a cutting plan).
    const DiagramView view = w.SelectedView();
    const double scale = w.DrawView(view);
    ComputeToolingHoles(w);
    w.DrawViewTooling(view, scale);
    w.UpdateJobCommands();
}

void GivenArrayCommand(JobWindow& w) {
    TDataM1& dm = *w.Data();
    if (w.ArrayRow())
        w.ArrayRow()->CommitFields();
    Cursor& array = dm.TempInputCus;
    if (!array.isOpen())
        return;
    const vorn::GivenArrayJob in = vorn::GivenArrayJobOf(array);
    if (const std::string refusal = vorn::GivenArrayRefusal(in); !refusal.empty()) {
        Inform(w.Parent(), refusal);
        return;
    }
    const vorn::DisplayUnit unit =
        w.UnitIsMm() ? vorn::DisplayUnit::Millimetre : vorn::DisplayUnit::Inch;
    if (const vorn::DomainProblem why = vorn::GivenArrayDomainProblem(in, unit)) {
        Inform(w.Parent(), QStringLiteral("   %1   ").arg(vorn::DomainMessage(why)));
        return;
    }
    const vorn::ArrayRow plan = vorn::PanelizeGivenArray(in, unit);
    vorn::WriteGivenArrayPlan(array, plan);
    w.GivenUnits().clear();
    if (w.UpdateJobCommands())
        w.DrawView(DiagramView::Array);
}

} // namespace

void PanelizeCommand(JobWindow& w) {
    if (w.SearchRunning() || !w.Data())
        return;
    if (w.OnArrayPage())
        GivenArrayCommand(w);
    else
        GivenPanelCommand(w);
}

// ---- border minimization ----

void MinimizeBorders(JobWindow& w) {
    TDataM1* dm = w.Data();
    if (w.SearchRunning() || !dm || !dm->TempInput.isOpen())
        return;
    if (w.JobRow())
        w.JobRow()->CommitFields();
    if (!vorn::MinimizeJobBorders(dm->TempInput))
        return; // nothing to shrink: no redraw, no new holes
    const DiagramView view = w.SelectedView();
    const double scale = w.DrawView(view);
    ComputeToolingHoles(w);
    w.DrawViewTooling(view, scale);
}

void MinimizeAllBorders(JobWindow& w) {
    TDataM1* dm = w.Data();
    if (w.SearchRunning() || !dm)
        return;
    MinimizeBorders(w);
    if (!dm->TempInput.isOpen())
        return;
    const bool attached = w.ResultsAttached();
    if (attached)
        w.DetachResults();
    try {
        vorn::MinimizeCandidateBorders(dm->TempResult, dm->TempInput);
    } catch (...) {
        if (attached)
            w.AttachResults();
        throw;
    }
    if (attached)
        w.AttachResults();
}

} // namespace vorn
