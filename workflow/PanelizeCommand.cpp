// The search command (F2, "智能拼板"): the panel search on the main tabs, the
// array search on the array tab, the progress box and the Esc question.

#include "JobCommands.h"

#include "DataModule.h"
#include "DomainMessages.h"
#include "InputDomain.h"
#include "PanelSearch.h"
#include "PlanWork.h"
#include "ResultSinks.h"
#include "SearchBounds.h"
#include "SearchProgress.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMessageBox>

#include <cmath>
#include <memory>

namespace vorn {

PanelJob PanelJobOf(const Cursor& job, const SearchOptions& options) {
    PanelJob in;
    in.Set_L = job.asDouble(QStringLiteral("Set_L"));
    in.Set_W = job.asDouble(QStringLiteral("Set_W"));
    in.Set_C = job.asDouble(QStringLiteral("Set_C"));
    in.BorderX_L = job.asDouble(QStringLiteral("BorderX_L"));
    in.BorderX_W = job.asDouble(QStringLiteral("BorderX_W"));
    in.Max_PL = job.asDouble(QStringLiteral("Max_PL"));
    in.Max_PW = job.asDouble(QStringLiteral("Max_PW"));
    in.Min_PL = job.asDouble(QStringLiteral("Min_PL"));
    in.Min_PW = job.asDouble(QStringLiteral("Min_PW"));
    in.PLPW_ratio = job.asDouble(QStringLiteral("PLPW_ratio"));
    in.Min_lv = job.asDouble(QStringLiteral("Min_lv"));
    in.PanelNumber = options.panelKinds.toStdString();
    in.AUTOPanel = options.autoPanel;
    in.GoodBase = options.bestBase;
    in.BothPanel = options.bothPanel;
    in.BothBase = options.bothBase;
    in.packing = options.packing;
    return in;
}

namespace {

std::vector<vorn::PresetSize> EnabledPresets(Cursor& query) {
    const bool wasOpen = query.isOpen();
    if (!wasOpen)
        query.open();
    std::vector<vorn::PresetSize> out;
    const int l = query.fieldIndex(QStringLiteral("Panel_L"));
    const int w = query.fieldIndex(QStringLiteral("Panel_W"));
    for (int r = 0; r < query.recordCount(); ++r)
        out.push_back({query.valueAt(r, l).toDouble(), query.valueAt(r, w).toDouble()});
    if (!wasOpen)
        query.close();
    return out;
}

void Warn(QWidget* parent, const std::string& text) {
    QMessageBox::warning(parent, QStringLiteral("Vorn"), vorn::RefusalMessage(text),
                         QMessageBox::Ok);
}

// A value outside the engine's input domain: an information box naming the
// field and the allowed range, and nothing changes.
bool RefusedByDomain(QWidget* parent, const vorn::DomainProblem& why) {
    if (!why)
        return false;
    QMessageBox::information(parent, QStringLiteral("Vorn"),
                             QStringLiteral("   %1   ").arg(vorn::DomainMessage(why)),
                             QMessageBox::Ok);
    return true;
}

QString Len(double v) {
    return QString::number(v, 'g', 10);
}

// Why a panel search wrote no row, in a short line for the status bar: the
// bounds the job itself sets first (a panel no sheet or limit can hold before
// the utilization the panels allow), then the limits in general.
QString NoPanelPlanReason(const vorn::PanelJob& job, vorn::DisplayUnit unit) {
    const QString none = QCoreApplication::translate("JobCommands", "没有找到拼板方案：");
    const QString u =
        unit == vorn::DisplayUnit::Millimetre ? QStringLiteral("mm") : QStringLiteral("in");
    if (vorn::NoPanelFitsAnySheet(job, unit))
        return none +
               QCoreApplication::translate(
                   "JobCommands", "最小的Panel（Min_PL × Min_PW = %1 × %2 %3）放不进任何有效板材")
                   .arg(Len(job.Min_PL), Len(job.Min_PW), u);
    if (job.AUTOPanel && job.Max_PL > 0 && job.Max_PW > 0) {
        // A panel (long side PL, short side PW) holds at least one board with
        // a margin all round; the smaller margin keeps this a sure bound.
        const double margin = 2 * std::min(job.BorderX_L, job.BorderX_W);
        const double longSide = std::max(job.Set_L, job.Set_W) + margin;
        const double shortSide = std::min(job.Set_L, job.Set_W) + margin;
        const double slack = 1 + 1e-9;
        if (longSide > job.Max_PL * slack || shortSide > std::min(job.Max_PL, job.Max_PW) * slack)
            return none +
                   QCoreApplication::translate("JobCommands",
                                               "成品板加板边至少 %1 × %2 %3，超出Panel尺寸上限 "
                                               "Max_PL × Max_PW = %4 × %5 %3")
                       .arg(Len(longSide), Len(shortSide), u, Len(job.Max_PL), Len(job.Max_PW));
    }
    if (vorn::NoPlanReachesMinimum(job, unit)) {
        if (const std::optional<double> best = vorn::BestUtilizationBound(job, unit))
            return none +
                   QCoreApplication::translate(
                       "JobCommands",
                       "利用率下限 Min_lv = %1% 高于此成品板连同间距、板边在Panel尺寸上限内可达到的"
                       "最高利用率 %2%")
                       .arg(Len(job.Min_lv),
                            QString::number(std::floor(*best * 100) / 100, 'f', 2));
    }
    if (!job.AUTOPanel)
        return none + QCoreApplication::translate(
                          "JobCommands", "Panel设定中的尺寸都达不到利用率下限 Min_lv = %1%，"
                                         "或放不进有效板材")
                          .arg(Len(job.Min_lv));
    return none + QCoreApplication::translate(
                      "JobCommands", "Panel尺寸上下限、长宽比 PLPW_ratio 和利用率下限 Min_lv = %1% "
                                     "之内没有可行的方案")
                      .arg(Len(job.Min_lv));
}

void FinishSearchCommand(JobWindow& w, std::int64_t sinkNs);

void PanelSearchCommand(JobWindow& w) {
    TDataM1& dm = *w.Data();
    // A ratio the panel refused is not searched with.
    if (!w.ParameterChecksPass())
        return;
    if (w.JobRow())
        w.JobRow()->CommitFields();
    Cursor& job = dm.TempInput;
    const double factor = w.UnitIsMm() ? 25.4 : 1.0;

    // Checks first: a refused job leaves the previous results in place.
    vorn::PanelJob in = PanelJobOf(job, w.Options());
    if (in.Set_L == 0 || in.Set_W == 0) {
        Warn(w.Parent(), vorn::PanelJobRefusal(in));
        return;
    }
    in.sheets = vorn::EnabledSheetSizes(dm.SetBase);
    if (in.sheets.empty()) {
        Warn(w.Parent(), vorn::PanelJobRefusal(in));
        return;
    }
    if (!in.AUTOPanel)
        in.presets = EnabledPresets(dm.EnabledPanelsQuery);
    const auto unit = w.UnitIsMm() ? vorn::DisplayUnit::Millimetre : vorn::DisplayUnit::Inch;
    if (RefusedByDomain(w.Parent(), vorn::PanelJobDomainProblem(in, unit)))
        return;

    const double L = std::max(in.Set_L, in.Set_W) / factor;
    const double W = std::min(in.Set_L, in.Set_W) / factor;
    std::int64_t sinkNs = 0;
    bool done = false;
    try {
        done = w.RunSearch(dm.TempResult, "Base_down;Panel_down", vorn::EstimateSteps(L, W),
                           [&](vorn::SearchProgress& progress) {
                               dm.Temp_inner.close();
                               vorn::ResultTableSink sink(dm.TempResult, &dm.resultBoards);
                               QElapsedTimer clock;
                               clock.start();
                               vorn::RunPanelSearch(in, unit, sink, progress);
                               sink.Finish();
                               w.Timings().engine = clock.nsecsElapsed();
                               sinkNs = sink.Nanoseconds();
                               w.Timings().rows = sink.Rows();
                               dm.Temp_inner.close();
                               progress.EndPhase();
                               clock.restart();
                               vorn::NumberInSortOrder(dm.TempResult, "Base_down;Panel_down");
                               w.Timings().tableWrites = sinkNs + clock.nsecsElapsed();
                           });
    } catch (const vorn::SearchTooLarge& e) {
        // The table is empty again (RunInProgressFrame); say what to change.
        w.ShowWelcomePicture();
        QMessageBox::warning(
            w.Parent(), QStringLiteral("Vorn"),
            QCoreApplication::translate(
                "JobCommands",
                "达到利用率下限 Min_lv = %1% 的方案超过 %2 个，内存容纳不下，未列出。"
                "请提高 Min_lv，或缩小Panel尺寸上限（Max_PL、Max_PW）。")
                .arg(QString::number(in.Min_lv, 'g', 10), QString::number(e.Rows())),
            QMessageBox::Ok);
        return;
    }
    if (!done)
        return;
    FinishSearchCommand(w, sinkNs);
    if (dm.TempResult.recordCount() == 0)
        w.ShowStatus(NoPanelPlanReason(in, unit));
}

// Attaches the grid again and picks up the first row.
void FinishSearchCommand(JobWindow& w, std::int64_t sinkNs) {
    // The engine's clock ran while rows were appended and the box was shown.
    w.Timings().engine -= sinkNs + w.Timings().looks;
    QElapsedTimer pick;
    pick.start();
    w.AttachResults();
    w.PickUpResult();
    w.Timings().pickUp = pick.nsecsElapsed();
    w.Timings().total += w.Timings().pickUp;
}

void ArraySearchCommand(JobWindow& w) {
    TDataM1& dm = *w.Data();
    if (w.ArrayRow())
        w.ArrayRow()->CommitFields();
    Cursor& cus = dm.TempInputCus;
    const double factor = w.UnitIsMm() ? 25.4 : 1.0;

    vorn::ArrayJob in;
    in.Part_L = cus.asDouble(QStringLiteral("Part_L"));
    in.Part_W = cus.asDouble(QStringLiteral("Part_W"));
    if (const std::string refusal = vorn::ArrayJobRefusal(in); !refusal.empty()) {
        Warn(w.Parent(), refusal);
        return;
    }
    in.Part_C = cus.asDouble(QStringLiteral("Part_C"));
    in.SetBorder_L = cus.asDouble(QStringLiteral("SetBorder_L"));
    in.SetBorder_W = cus.asDouble(QStringLiteral("SetBorder_W"));
    in.Min_SetL = cus.asDouble(QStringLiteral("Min_SetL"));
    in.Min_SetW = cus.asDouble(QStringLiteral("Min_SetW"));
    in.Max_SetL = cus.asDouble(QStringLiteral("Max_SetL"));
    in.Max_SetW = cus.asDouble(QStringLiteral("Max_SetW"));
    in.packing = w.Options().packing;
    const auto unit = w.UnitIsMm() ? vorn::DisplayUnit::Millimetre : vorn::DisplayUnit::Inch;
    if (RefusedByDomain(w.Parent(), vorn::ArrayJobDomainProblem(in, unit)))
        return;

    const double L = std::max(in.Part_L, in.Part_W) / factor;
    const double W = std::min(in.Part_L, in.Part_W) / factor;
    const std::int64_t maximum = std::llrint(double(vorn::EstimateSteps(L, W)) / 20.0);
    std::int64_t sinkNs = 0;
    const bool done =
        w.RunSearch(dm.TempResultCus, "Panel_Down", maximum, [&](vorn::SearchProgress& progress) {
            vorn::ArrayTableSink sink(dm.TempResultCus, &dm.arrayResultUnits);
            QElapsedTimer clock;
            clock.start();
            vorn::RunArraySearch(in, unit, sink, progress);
            sink.Finish();
            w.Timings().engine = clock.nsecsElapsed();
            sinkNs = sink.Nanoseconds();
            w.Timings().rows = sink.Rows();
            progress.EndPhase();
            clock.restart();
            vorn::NumberInSortOrder(dm.TempResultCus, "Panel_Down");
            w.Timings().tableWrites = sinkNs + clock.nsecsElapsed();
        });
    if (!done)
        return;
    FinishSearchCommand(w, sinkNs);
    if (dm.TempResultCus.recordCount() == 0)
        w.ShowStatus(QCoreApplication::translate(
            "JobCommands", "没有找到Array方案：Array尺寸上下限（Min_SetL × Min_SetW 至 Max_SetL × "
                           "Max_SetW）之内排不出单元"));
}

} // namespace

void SearchCommand(JobWindow& w) {
    // A second search never starts inside the first.
    if (w.SearchRunning() || !w.Data())
        return;
    if (w.OnArrayPage())
        ArraySearchCommand(w);
    else
        PanelSearchCommand(w);
}

} // namespace vorn
