// The archive commands of the main window: save, open (with the part search
// window), delete and the saved-parts query window. The archive work itself
// is store/PartsArchive; here are the messages and the window's controls.

#include "MainWindow.h"

#include "DataModule.h"
#include "DbError.h"
#include "NewJob.h"
#include "PartSearchWindow.h"
#include "PartsArchive.h"
#include "QueryWindow.h"
#include "Tolerance.h"

#include <QAction>
#include <QCheckBox>
#include <QDateTime>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>

using vorn::Cursor;
using vorn::DiagramView;

namespace {

constexpr int kToolingPage = 2;
const QChar DQ = u'"';

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

void TVornMF::ToolButton3Click() {
    vorn::TDataM1* dm = Data();
    if (!dm)
        return;
    if (JobRow())
        JobRow()->CommitFields();
    // 1. Only a consistent plan is kept.
    if (!UpdateJobCommands()) {
        QMessageBox::information(this, QStringLiteral("Vorn"),
                                 QStringLiteral("保存信息有误或不全，请您 ") + DQ +
                                     QStringLiteral("上传数据") + DQ + QStringLiteral(" 后保存！"),
                                 QMessageBox::Ok);
        return;
    }
    // 2. The identifying fields, in this order.
    const struct {
        QString text;
        const char* message;
    } required[] = {
        {partNumber_->text(), "请给出“部件编号”，保存失败！！"},
        {customerPart_->text(), "请给出“客户部件编号”，保存失败！！"},
        {dm->TempInput.displayText(QStringLiteral("Layer")), "请给出“板层数”，保存失败！！"},
        {operator_->text(), "请给出“操作员”，保存失败！！"},
    };
    for (const auto& r : required) {
        if (r.text.isEmpty()) {
            Warn(this, QString::fromUtf8(r.message));
            return;
        }
    }

    // 3-9. The part row and its holes, in one transaction.
    vorn::PartRecord record = vorn::JobPartRecord(*dm, UnitIsMm());
    record.partNumber = partNumber_->text();
    record.customerPart = customerPart_->text();
    record.employee = operator_->text();
    record.note = note_->toPlainText();
    const QDateTime now = QDateTime::currentDateTime();
    std::optional<int> id;
    try {
        id = vorn::SavePart(*dm, record, now,
                            [this] { return Ask(this, QStringLiteral("部件已存在，是否覆盖？")); });
    } catch (const vorn::DbError& e) {
        QMessageBox::critical(this, QStringLiteral("Vorn"),
                              QStringLiteral("部件未能保存，存档未作任何更改！\n") + e.text());
        return;
    }
    if (!id) {
        QMessageBox box(QMessageBox::Question, QStringLiteral("Vorn"),
                        QStringLiteral("    没有对原数据进行更改！！   "), QMessageBox::Ok, this);
        box.exec();
        return;
    }
    date_->setText(QLocale().toString(now.date(), QLocale::ShortFormat));

    // 10. The archive has a part now.
    for (const char* name : {"ToolButton5", "M01_01", "ToolButton6", "M04_01"})
        commands_.value(QString::fromLatin1(name))->setEnabled(true);
    CheckPartNumber();
    statusBar()->showMessage(QStringLiteral("部件") + DQ + record.partNumber + DQ +
                             QStringLiteral(" 已保存"));
}

void TVornMF::ToolButton5Click() {
    vorn::TDataM1* dm = Data();
    if (!dm)
        return;
    if (JobRow())
        JobRow()->CommitFields();
    Cursor& q = dm->SavedPartsQuery;
    vorn::SetSavedPartsSql(*dm, UnitIsMm(), vorn::QueryText::SavedPartsOrder);
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
    vorn::TForm6 window(
        *dm, [this] { LoadSavedPartIntoJob(); }, this);
    window.exec();
}

void TVornMF::LoadSavedPartIntoJob() {
    vorn::TDataM1* dm = Data();
    if (!dm)
        return;
    const bool mm = UnitIsMm();
    // 1-4. Identity, job columns, holes; the old candidates are dropped.
    const vorn::LoadedPart part = vorn::LoadSavedPart(*dm, mm);
    partNumber_->setText(part.record.partNumber);
    customerPart_->setText(part.record.customerPart);
    operator_->setText(part.record.employee);
    date_->setText(part.dateText);
    note_->setPlainText(part.record.note);
    tooling_->setChecked(part.hasHoles);
    tabs_->setTabEnabled(kToolingPage, part.hasHoles);

    Cursor& job = dm->TempInput;
    auto n = [&job](const char* f) { return job.asDouble(QString::fromLatin1(f)); };

    // 5. Panel 2.
    QToolButton* toggle = PanelToggle();
    QRadioButton* first = Selector(DiagramView::Panel1);
    QRadioButton* second = Selector(DiagramView::Panel2);
    QRadioButton* cutting = Selector(DiagramView::Cutting);
    toggle->setText(QStringLiteral("Panel 2"));
    BindPanelFields(false);
    if (vorn::PanelGood(n("Set_L"), n("Set_W"), n("Panel_L2"), n("Panel_W2"), n("Panel2"),
                        n("Panel_lv2"))) {
        toggle->setEnabled(true);
        second->show();
        first->setText(QStringLiteral("Panel1 拼版图"));
        cutting->move(270, cutting->y());
        ShowPanelLooks(false, QStringLiteral("Panel1尺寸"));
    } else {
        toggle->setEnabled(false);
        if (second->isChecked())
            first->setChecked(true);
        second->hide();
        first->setText(QStringLiteral("拼版图"));
        cutting->move(140, cutting->y());
        ShowPanelLooks(false, QStringLiteral("Panel尺寸"));
    }
    first->adjustSize();

    // 6. The array: the part's own, or the defaults' unit, spacing and borders.
    QRadioButton* whole = Selector(DiagramView::Array);
    Cursor& cus = dm->TempInputCus;
    cus.edit();
    if (vorn::PanelGood(n("Part_L"), n("Part_W"), n("Set_L"), n("Set_W"), n("PanelCu"),
                        n("Panel_lvCu"))) {
        whole->show();
        PlaceWholeSelector();
        for (const char* f : {"Part_L", "Part_W", "Part_C", "SetBorder_L", "SetBorder_W", "Part_La",
                              "Part_Wb", "Part_Lb", "Part_Wa", "Set_L", "Set_W"})
            cus.setValue(QString::fromLatin1(f), job.value(QString::fromLatin1(f)));
        cus.setValue(QStringLiteral("Panel"), job.value(QStringLiteral("PanelCu")));
        cus.setValue(QStringLiteral("Panel_lv"), job.value(QStringLiteral("Panel_lvCu")));
    } else {
        if (whole->isChecked())
            first->setChecked(true);
        whole->hide();
        for (const char* f : {"Part_L", "Part_W", "Part_C", "SetBorder_L", "SetBorder_W"}) {
            const std::optional<double> v = vorn::DefaultLength(DefaultsList_, f, mm);
            cus.setValue(QString::fromLatin1(f), v ? QVariant(*v) : QVariant());
        }
        for (const char* f :
             {"Part_La", "Part_Wb", "Part_Lb", "Part_Wa", "Panel", "Panel_lv", "Set_L", "Set_W"})
            cus.setValue(QString::fromLatin1(f), QVariant());
    }
    cus.post();

    // 7-8. Redraw, commands.
    RadioButton1Click();
    CheckPartNumber();
    for (const char* name : {"PM02", "M04_02_02"})
        commands_.value(QString::fromLatin1(name))->setEnabled(false);
}

void TVornMF::ToolButton12Click() {
    vorn::TDataM1* dm = Data();
    if (!dm)
        return;
    const QString number = partNumber_->text();
    vorn::DeleteOutcome outcome = vorn::DeleteOutcome::NotFound;
    try {
        outcome = vorn::DeletePart(*dm, number, [&] {
            return Ask(this, QStringLiteral("   确实要删除") + DQ + number + DQ +
                                 QStringLiteral("记录吗？  "));
        });
    } catch (const vorn::DbError& e) {
        QMessageBox::critical(this, QStringLiteral("Vorn"),
                              QStringLiteral("部件未能删除，存档未作任何更改！\n") + e.text());
        return;
    }
    switch (outcome) {
    case vorn::DeleteOutcome::NotFound:
        Warn(this,
             QStringLiteral("部件") + DQ + number + DQ + QStringLiteral(" 不存在，此操作失败!"));
        break;
    case vorn::DeleteOutcome::Declined:
        break;
    case vorn::DeleteOutcome::Deleted:
        StartNewJob();
        statusBar()->showMessage(QStringLiteral("部件") + DQ + number + DQ +
                                 QStringLiteral(" 已删除"));
        break;
    }
}

void TVornMF::ToolButton6Click() {
    vorn::TDataM1* dm = Data();
    if (!dm)
        return;
    vorn::TForm3 window(*dm, this);
    if (window.IsUsable())
        window.exec();
}
