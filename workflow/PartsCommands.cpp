// The archive commands of the main window: save, open (with the part search
// window), delete and the saved-parts query window. The archive work itself
// is store/PartsArchive; here are the messages and the window's controls.

#include "JobCommands.h"

#include "DataModule.h"
#include "DbError.h"
#include "NewJob.h"
#include "PartsArchive.h"
#include "Tolerance.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QLocale>
#include <QMessageBox>

namespace vorn {

namespace {

void Warn(QWidget* parent, const QString& text) {
    QMessageBox::warning(parent, QStringLiteral("Vorn"), text, QMessageBox::Ok);
}

// Deleting or overwriting a part cannot be undone: Enter answers No.
bool Ask(QWidget* parent, const QString& text) {
    return QMessageBox::question(parent, QStringLiteral("Vorn"), text,
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

} // namespace

void SavePartCommand(JobWindow& w) {
    TDataM1* dm = w.Data();
    if (!dm)
        return;
    if (w.JobRow())
        w.JobRow()->CommitFields();
    // 1. Only a consistent plan is kept.
    if (!w.UpdateJobCommands()) {
        QMessageBox::information(
            w.Parent(), QStringLiteral("Vorn"),
            QCoreApplication::translate("JobCommands",
                                        "保存信息有误或不全，请您 \"上传数据\" 后保存！"),
            QMessageBox::Ok);
        return;
    }
    // 2. The identifying fields, in this order.
    JobIdentity identity = w.Identity();
    const struct {
        QString text;
        const char* message;
    } required[] = {
        {identity.partNumber, QT_TRANSLATE_NOOP("JobCommands", "请给出“部件编号”，保存失败！！")},
        {identity.customerPart,
         QT_TRANSLATE_NOOP("JobCommands", "请给出“客户部件编号”，保存失败！！")},
        {dm->TempInput.displayText(QStringLiteral("Layer")),
         QT_TRANSLATE_NOOP("JobCommands", "请给出“板层数”，保存失败！！")},
        {identity.operatorName, QT_TRANSLATE_NOOP("JobCommands", "请给出“操作员”，保存失败！！")},
    };
    for (const auto& r : required) {
        if (r.text.isEmpty()) {
            Warn(w.Parent(), QCoreApplication::translate("JobCommands", r.message));
            return;
        }
    }

    // 3-9. The part row and its holes, in one transaction.
    // The panels' boards and the job's array's units beyond the blocks, as
    // their views draw them (none where they are not the job row's).
    PartRecord record = JobPartRecord(
        *dm, w.UnitIsMm(), ViewLayoutArgs(*dm, DiagramView::Panel1, false, w.GivenBoards()).Boards,
        ViewLayoutArgs(*dm, DiagramView::Panel2, false, {}, {}, w.GivenBoards2()).Boards,
        ViewLayoutArgs(*dm, DiagramView::Array, false, {}, w.GivenUnits()).Boards);
    record.partNumber = identity.partNumber;
    record.customerPart = identity.customerPart;
    record.employee = identity.operatorName;
    record.note = identity.note;
    const QDateTime now = QDateTime::currentDateTime();
    std::optional<int> id;
    try {
        id = vorn::SavePart(*dm, record, now, [&w] {
            return Ask(w.Parent(),
                       QCoreApplication::translate("JobCommands", "部件已存在，是否覆盖？"));
        });
    } catch (const vorn::DbError& e) {
        QMessageBox::critical(
            w.Parent(), QStringLiteral("Vorn"),
            QCoreApplication::translate("JobCommands", "部件未能保存，存档未作任何更改！\n") +
                e.text());
        return;
    }
    if (!id) {
        QMessageBox box(
            QMessageBox::Question, QStringLiteral("Vorn"),
            QCoreApplication::translate("JobCommands", "    没有对原数据进行更改！！   "),
            QMessageBox::Ok, w.Parent());
        box.exec();
        return;
    }
    identity.date = QLocale().toString(now.date(), QLocale::ShortFormat);
    w.SetIdentity(identity);

    // 10. The archive has a part now.
    w.EnableCommands({"ToolButton5", "M01_01", "ToolButton6", "M04_01"}, true);
    w.CheckPartNumber();
    w.ShowStatus(
        QCoreApplication::translate("JobCommands", "部件\"%1\" 已保存").arg(record.partNumber));
}

void BrowseSavedParts(JobWindow& w, const std::function<void()>& browse) {
    TDataM1* dm = w.Data();
    if (!dm)
        return;
    if (w.JobRow())
        w.JobRow()->CommitFields();
    Cursor& q = dm->SavedPartsQuery;
    SetSavedPartsSql(*dm, w.UnitIsMm(), QueryText::SavedPartsOrder);
    // The query is left closed and unfiltered however the window ends.
    struct Unfiltered {
        Cursor& q;
        ~Unfiltered() {
            try {
                q.setFilter(QString());
                q.setFiltered(false);
                q.close();
            } catch (...) {
            }
        }
    } unfiltered{q};
    q.open();
    browse();
}

void LoadSavedPartIntoJob(JobWindow& w) {
    TDataM1* dm = w.Data();
    if (!dm)
        return;
    const bool mm = w.UnitIsMm();
    // 1-4. Identity, job columns, holes; the old candidates are dropped.
    const vorn::LoadedPart part = vorn::LoadSavedPart(*dm, mm);
    w.GivenBoards() = part.record.boards;
    w.GivenBoards2() = part.record.boards2;
    w.GivenUnits() = part.record.units;
    w.SetIdentity({part.record.partNumber, part.record.customerPart, part.record.employee,
                   part.dateText, part.record.note});
    w.SetToolingAllowed(part.hasHoles);

    Cursor& job = dm->TempInput;
    auto n = [&job](const char* f) { return job.asDouble(QString::fromLatin1(f)); };

    // 5. Panel 2.
    w.ShowPanelSizes(PanelGood(n("Set_L"), n("Set_W"), n("Panel_L2"), n("Panel_W2"), n("Panel2"),
                               n("Panel_lv2")));

    // 6. The array: the part's own, or the defaults' unit, spacing and borders.
    Cursor& cus = dm->TempInputCus;
    cus.edit();
    if (PanelGood(n("Part_L"), n("Part_W"), n("Set_L"), n("Set_W"), n("PanelCu"),
                  n("Panel_lvCu"))) {
        w.OfferArrayView(true);
        for (const char* f : {"Part_L", "Part_W", "Part_C", "SetBorder_L", "SetBorder_W", "Part_La",
                              "Part_Wb", "Part_Lb", "Part_Wa", "Set_L", "Set_W"})
            cus.setValue(QString::fromLatin1(f), job.value(QString::fromLatin1(f)));
        cus.setValue(QStringLiteral("Panel"), job.value(QStringLiteral("PanelCu")));
        cus.setValue(QStringLiteral("Panel_lv"), job.value(QStringLiteral("Panel_lvCu")));
    } else {
        w.OfferArrayView(false);
        for (const char* f : {"Part_L", "Part_W", "Part_C", "SetBorder_L", "SetBorder_W"}) {
            const std::optional<double> v = DefaultLength(w.Defaults(), f, mm);
            cus.setValue(QString::fromLatin1(f), v ? QVariant(*v) : QVariant());
        }
        for (const char* f :
             {"Part_La", "Part_Wb", "Part_Lb", "Part_Wa", "Panel", "Panel_lv", "Set_L", "Set_W"})
            cus.setValue(QString::fromLatin1(f), QVariant());
    }
    cus.post();

    // 7-8. Redraw, commands.
    w.RedrawIfPlan();
    w.CheckPartNumber();
    w.EnableCommands({"PM02", "M04_02_02"}, false);
}

void DeletePartCommand(JobWindow& w) {
    TDataM1* dm = w.Data();
    if (!dm)
        return;
    const QString number = w.Identity().partNumber;
    vorn::DeleteOutcome outcome = vorn::DeleteOutcome::NotFound;
    try {
        outcome = vorn::DeletePart(*dm, number, [&] {
            return Ask(w.Parent(),
                       QCoreApplication::translate("JobCommands", "   确实要删除\"%1\"记录吗？  ")
                           .arg(number));
        });
    } catch (const vorn::DbError& e) {
        QMessageBox::critical(
            w.Parent(), QStringLiteral("Vorn"),
            QCoreApplication::translate("JobCommands", "部件未能删除，存档未作任何更改！\n") +
                e.text());
        return;
    }
    switch (outcome) {
    case vorn::DeleteOutcome::NotFound:
        Warn(w.Parent(),
             QCoreApplication::translate("JobCommands", "部件\"%1\" 不存在，此操作失败!")
                 .arg(number));
        break;
    case vorn::DeleteOutcome::Declined:
        break;
    case vorn::DeleteOutcome::Deleted:
        w.StartNewJob();
        w.ShowStatus(QCoreApplication::translate("JobCommands", "部件\"%1\" 已删除").arg(number));
        break;
    }
}

} // namespace vorn
