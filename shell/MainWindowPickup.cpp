// The main window's side of picking a result row (the views and panel fields
// it shows), the panel 1 / panel 2 toggle, the panel-kind count and the
// switch of grid and view selectors at the array tab.

#include "MainWindow.h"

#include "CursorModel.h"
#include "DataModule.h"
#include "Fields.h"
#include "JobCommands.h"
#include "ResultGrid.h"
#include "SearchProgress.h"
#include "Tolerance.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>

using vorn::Cursor;
using vorn::DiagramView;

namespace {

constexpr int kArrayPage = 1;

// The six result fields and the columns they show for panel 1 and panel 2.
struct PanelField {
    const char* name;
    const char* panel1;
    const char* panel2;
    bool size;
};
const PanelField kPanelFields[] = {
    {"DBEdit7", "Panel_L", "Panel_L2", true},    {"DBEdit8", "Panel_W", "Panel_W2", true},
    {"DBEdit9", "Border_L", "Border_L2", false}, {"DBEdit10", "Border_W", "Border_W2", false},
    {"DBEdit15", "Panel", "Panel2", false},      {"DBEdit16", "Panel_lv", "Panel_lv2", false},
};

// The array tab's grid: field and title of columns 0-6.
const char* const kArrayColumns[][2] = {{"Number", QT_TRANSLATE_NOOP("TVornMF", "序号")},
                                        {"Set_L", QT_TRANSLATE_NOOP("TVornMF", "成品板长")},
                                        {"Set_W", QT_TRANSLATE_NOOP("TVornMF", "成品板宽")},
                                        {"SetBorder_L", QT_TRANSLATE_NOOP("TVornMF", "左右边宽")},
                                        {"SetBorder_W", QT_TRANSLATE_NOOP("TVornMF", "上下边宽")},
                                        {"Panel", QT_TRANSLATE_NOOP("TVornMF", "拼版数")},
                                        {"Panel_lv", QT_TRANSLATE_NOOP("TVornMF", "拼板利用率")}};

} // namespace

QRadioButton* TVornMF::Selector(DiagramView view) const {
    static const char* const names[] = {"RadioButton1", "RadioButton5", "RadioButton2",
                                        "RadioButton8"};
    return findChild<QRadioButton*>(QString::fromLatin1(names[int(view)]));
}

QToolButton* TVornMF::PanelToggle() const {
    return findChild<QToolButton*>(QStringLiteral("SpeedButton11"));
}

namespace {
void MoveX(QWidget* w, int x) {
    w->move(x, w->y());
}
} // namespace

void TVornMF::ConnectJobControls() {
    // Esc presses are recorded from the start: a key held before a search
    // counts at its first progress step.
    esc_ = new vorn::EscWatcher(this);
    for (DiagramView v :
         {DiagramView::Panel1, DiagramView::Panel2, DiagramView::Cutting, DiagramView::Array}) {
        connect(Selector(v), &QRadioButton::clicked, this,
                [this] { RunCommand([this] { RadioButton1Click(); }); });
    }
    connect(PanelToggle(), &QToolButton::clicked, this,
            [this] { RunCommand([this] { SpeedButton11Click(); }); });
    connect(edit5_, &QSpinBox::textChanged, this,
            [this] { RunCommand([this] { Edit5Change(); }); });
    connect(tabs_, &QTabWidget::currentChanged, this,
            [this](int page) { RunCommand([this, page] { PageControl1Change(page); }); });
    connect(dbGrid1_, &QTableView::doubleClicked, this,
            [this] { RunCommand([this] { DBGrid1DblClick(); }); });
    if (auto* handOver = findChild<QWidget*>(QStringLiteral("BitBtn3")))
        connect(static_cast<QAbstractButton*>(handOver), &QAbstractButton::clicked, this,
                [this] { RunCommand([this] { SpeedButton12Click(); }); });
}

// Fields showing panel 1: sizes editable and cyan, the rest tooltip-coloured.
// Showing panel 2: all six in the menu colour, sizes read-only.
void TVornMF::ShowPanelLooks(bool panel2, const QString& label) {
    for (const PanelField& f : kPanelFields) {
        auto* e = findChild<QLineEdit*>(QString::fromLatin1(f.name));
        if (panel2) {
            vorn::SetLook(e, vorn::Look::Face);
            if (f.size)
                e->setReadOnly(true);
        } else {
            vorn::SetLook(e, f.size ? vorn::Look::Cyan : vorn::Look::Info);
            if (f.size)
                e->setReadOnly(false);
        }
    }
    findChild<QLabel*>(QStringLiteral("Label24"))->setText(label);
}

void TVornMF::BindPanelFields(bool panel2) {
    vorn::WorkRow* job = JobRow();
    if (!job)
        return;
    for (const PanelField& f : kPanelFields)
        job->Bind(findChild<QLineEdit*>(QString::fromLatin1(f.name)), panel2 ? f.panel2 : f.panel1);
}

void TVornMF::PlaceWholeSelector() {
    QRadioButton* whole = Selector(DiagramView::Array);
    if (tabs_->currentIndex() == kArrayPage)
        MoveX(whole, 70);
    else
        MoveX(whole, Selector(DiagramView::Panel2)->isVisibleTo(this) ? 344 : 214);
}

void TVornMF::DBGrid1DblClick() {
    vorn::TDataM1* dm = Data();
    if (!dm || searching_)
        return;
    if (tabs_->currentIndex() == kArrayPage) {
        if (!vorn::PickUpArrayRow(*dm, givenUnits_))
            return;
        DrawView(DiagramView::Array);
        PlaceWholeSelector();
        return;
    }

    if (!vorn::PickUpPlanRow(*dm, givenBoards_, &givenBoards2_))
        return;
    const Cursor& from = dm->TempResult;

    QToolButton* toggle = PanelToggle();
    QRadioButton* first = Selector(DiagramView::Panel1);
    QRadioButton* second = Selector(DiagramView::Panel2);
    QRadioButton* cutting = Selector(DiagramView::Cutting);
    if (from.asDouble(QStringLiteral("Panel2")) != 0) {
        toggle->setEnabled(true);
        second->show();
        first->setText(QCoreApplication::translate("TVornMF", "Panel1 拼版图"));
        first->adjustSize();
        MoveX(cutting, 270);
        if (toggle->text() == QLatin1String("Panel 2"))
            ShowPanelLooks(false, QCoreApplication::translate("TVornMF", "Panel1尺寸"));
        else if (toggle->text() == QLatin1String("Panel 1"))
            ShowPanelLooks(true, QCoreApplication::translate("TVornMF", "Panel2尺寸"));
    } else {
        ShowOnePanelSize();
    }

    const DiagramView view = SelectedView();
    const double scale = DrawView(view);
    vorn::ComputeToolingHoles(*this);
    DrawViewTooling(view, scale);
    UpdateJobCommands();
    PlaceWholeSelector();
}

// The panel display for a plan of one panel size: the fields on panel 1, the
// toggle off, the panel-2 view hidden.
void TVornMF::ShowOnePanelSize() {
    QToolButton* toggle = PanelToggle();
    QRadioButton* first = Selector(DiagramView::Panel1);
    QRadioButton* second = Selector(DiagramView::Panel2);
    toggle->setText(QStringLiteral("Panel 2"));
    BindPanelFields(false);
    toggle->setEnabled(false);
    if (second->isChecked())
        first->setChecked(true);
    second->hide();
    first->setText(QCoreApplication::translate("TVornMF", "拼版图"));
    first->adjustSize();
    MoveX(Selector(DiagramView::Cutting), 140);
    ShowPanelLooks(false, QCoreApplication::translate("TVornMF", "Panel尺寸"));
}

void TVornMF::SpeedButton11Click() {
    QToolButton* toggle = PanelToggle();
    if (toggle->text() == QLatin1String("Panel 2")) {
        toggle->setText(QStringLiteral("Panel 1"));
        ShowPanelLooks(true, QCoreApplication::translate("TVornMF", "Panel2尺寸"));
        BindPanelFields(true);
    } else if (toggle->text() == QLatin1String("Panel 1")) {
        toggle->setText(QStringLiteral("Panel 2"));
        ShowPanelLooks(false, QCoreApplication::translate("TVornMF", "Panel1尺寸"));
        BindPanelFields(false);
    }
}

void TVornMF::Edit5Change() {
    const bool one = edit5_->text() == QLatin1String("1");
    // On the array tab the grid shows arrays; leaving the tab sets its columns.
    if (!arrayTabActive_) {
        vorn::SetColumnWidth(dbGrid1_, 3, one ? 45 : 29);
        vorn::SetColumnWidth(dbGrid1_, 4, one ? 65 : 58);
        vorn::SetColumnWidth(dbGrid1_, 10, one ? 40 : 29);
        for (int c = 5; c <= 8; ++c)
            dbGrid1_->setColumnHidden(c, one);
    }
    PanelToggle()->setEnabled(!one);
    QRadioButton* first = Selector(DiagramView::Panel1);
    QRadioButton* second = Selector(DiagramView::Panel2);
    if (one && second->isChecked())
        first->setChecked(true); // a hidden view cannot stay selected
    second->setVisible(!one && !arrayTabActive_);
    first->setText(one ? QCoreApplication::translate("TVornMF", "拼版图")
                       : QCoreApplication::translate("TVornMF", "Panel1 拼版图"));
    first->adjustSize();
    MoveX(Selector(DiagramView::Cutting), one ? 140 : 270);
    QRadioButton* whole = Selector(DiagramView::Array);
    if (whole->isVisibleTo(this) && !arrayTabActive_)
        MoveX(whole, one ? 214 : 344);
}

void TVornMF::PageControl1Change(int page) {
    vorn::TDataM1* dm = Data();
    if (!dm)
        return;
    const DiagramView views[] = {DiagramView::Panel1, DiagramView::Panel2, DiagramView::Cutting,
                                 DiagramView::Array};
    if (page != kArrayPage && arrayTabActive_) {
        // Back to the plans.
        ShowPlanColumns(dm->TempResult);
        for (int c = 0; c < resultModel_->columnCount(); ++c)
            dbGrid1_->setColumnHidden(c, false);
        Cursor& results = dm->TempResult;
        const bool noSecond = !results.isOpen() || results.isEmpty() ||
                              results.asDouble(QStringLiteral("Panel2")) <= 0;
        if (edit5_->text() == QLatin1String("1") && noSecond)
            for (int c = 5; c <= 8; ++c)
                dbGrid1_->setColumnHidden(c, true);
        const bool fifth = !dbGrid1_->isColumnHidden(5);
        vorn::SetColumnWidth(dbGrid1_, 0, vorn::kResultColumns[0].width);
        vorn::SetColumnWidth(dbGrid1_, 1, 95);
        vorn::SetColumnWidth(dbGrid1_, 2, 95);
        vorn::SetColumnWidth(dbGrid1_, 3, fifth ? 29 : 45);
        vorn::SetColumnWidth(dbGrid1_, 4, fifth ? 58 : 65);
        vorn::SetColumnWidth(dbGrid1_, 5, 90);
        vorn::SetColumnWidth(dbGrid1_, 6, 90);
        for (int c = 7; c < int(std::size(vorn::kResultColumns)); ++c)
            vorn::SetColumnWidth(dbGrid1_, c, vorn::kResultColumns[c].width);

        arrayTabActive_ = false;
        for (int i = 0; i < 4; ++i) {
            Selector(views[i])->setVisible(savedSelectors_[size_t(i)].visible);
            if (savedSelectors_[size_t(i)].checked)
                Selector(views[i])->setChecked(true);
        }
        Cursor& job = dm->TempInput;
        auto n = [&job](const char* f) { return job.asDouble(QString::fromLatin1(f)); };
        QRadioButton* whole = Selector(DiagramView::Array);
        if (job.isOpen() && vorn::PanelGood(n("Part_L"), n("Part_W"), n("Set_L"), n("Set_W"),
                                            n("PanelCu"), n("Panel_lvCu"))) {
            whole->show();
            PlaceWholeSelector();
        } else {
            if (whole->isChecked())
                Selector(DiagramView::Panel1)->setChecked(true);
            whole->hide();
        }
        UpdateArchiveCommands();
        CheckPartNumber();
        RadioButton1Click();
    } else if (page == kArrayPage) {
        resultModel_->setCursor(&dm->TempResultCus);
        QStringList columns;
        for (const auto& c : kArrayColumns)
            columns << QString::fromLatin1(c[0]);
        resultModel_->setColumns(columns);
        for (int i = 0; i < int(std::size(kArrayColumns)); ++i) {
            resultModel_->setColumnTitle(
                i, QCoreApplication::translate("TVornMF", kArrayColumns[i][1]));
            dbGrid1_->setColumnHidden(i, false);
        }
        vorn::SetColumnWidth(dbGrid1_, 0, vorn::kResultColumns[0].width);
        for (int c = 1; c <= 6; ++c)
            vorn::SetColumnWidth(dbGrid1_, c, 80);

        if (!arrayTabActive_) {
            for (int i = 0; i < 4; ++i)
                savedSelectors_[size_t(i)] = {Selector(views[i])->isVisibleTo(this),
                                              Selector(views[i])->isChecked()};
        }
        arrayTabActive_ = true;
        for (DiagramView v : {DiagramView::Panel1, DiagramView::Cutting, DiagramView::Panel2})
            Selector(v)->hide();
        QRadioButton* whole = Selector(DiagramView::Array);
        whole->show();
        whole->setChecked(true);
        MoveX(whole, 70);
        for (const char* name :
             {"ToolButton5", "M01_01", "ToolButton6", "M04_01", "ToolButton12", "M01_03"})
            commands_.value(QString::fromLatin1(name))->setEnabled(false);
        RadioButton1Click();
    }
}
