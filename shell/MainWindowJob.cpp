// The main window's side of the job's commands: what the workflow's
// operations see of it (workflow/JobWindow.h), and the handlers that call
// them.

#include "MainWindow.h"

#include "CursorModel.h"
#include "DataModule.h"
#include "JobCommands.h"
#include "ParameterPanel.h"
#include "PartSearchWindow.h"
#include "QueryWindow.h"
#include "ToolingPresetsWindow.h"
#include "ToolingTab.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>

using vorn::DiagramView;

namespace {

constexpr int kArrayPage = 1;
constexpr int kToolingPage = 2;

void SetIfChanged(QLineEdit* field, const QString& text) {
    if (field->text() != text)
        field->setText(text);
}

} // namespace

// ---- The job's operations' view of the window ----

bool TVornMF::OnArrayPage() const {
    return tabs_->currentIndex() == kArrayPage;
}

QString TVornMF::UnitCaption() const {
    return unitButton_->text();
}

void TVornMF::SetUnitCaption(const QString& caption) {
    unitButton_->setText(caption);
}

void TVornMF::ShowStatus(const QString& text) {
    statusBar()->showMessage(text);
}

vorn::JobIdentity TVornMF::Identity() const {
    return {partNumber_->text(), customerPart_->text(), operator_->text(), date_->text(),
            note_->toPlainText()};
}

// Only changed fields are set: a field set again would lose its cursor and
// undo history for nothing.
void TVornMF::SetIdentity(const vorn::JobIdentity& identity) {
    SetIfChanged(partNumber_, identity.partNumber);
    SetIfChanged(customerPart_, identity.customerPart);
    SetIfChanged(operator_, identity.operatorName);
    SetIfChanged(date_, identity.date);
    if (note_->toPlainText() != identity.note)
        note_->setPlainText(identity.note);
}

void TVornMF::SetToolingAllowed(bool allowed) {
    tooling_->setChecked(allowed);
    tabs_->setTabEnabled(kToolingPage, allowed);
}

void TVornMF::ShowToolingTab(bool enabled) {
    tabs_->setTabEnabled(kToolingPage, enabled);
    if (enabled)
        toolingPage_->UpdateEnabling();
}

bool TVornMF::ResultsAttached() const {
    return resultModel_->isAttached();
}

void TVornMF::DetachResults() {
    resultModel_->detach();
}

void TVornMF::AttachResults() {
    resultModel_->attach();
}

void TVornMF::SelectView(DiagramView view) {
    Selector(view)->setChecked(true);
}

QImage TVornMF::DiagramPicture() const {
    return image1_->pixmap().toImage();
}

QSize TVornMF::DiagramSize() const {
    return image1_->size();
}

void TVornMF::ShowPanelSizes(bool two) {
    if (!two) {
        ShowOnePanelSize();
        return;
    }
    QToolButton* toggle = PanelToggle();
    QRadioButton* first = Selector(DiagramView::Panel1);
    QRadioButton* cutting = Selector(DiagramView::Cutting);
    toggle->setText(QStringLiteral("Panel 2"));
    BindPanelFields(false);
    toggle->setEnabled(true);
    Selector(DiagramView::Panel2)->show();
    first->setText(QCoreApplication::translate("TVornMF", "Panel1 拼版图"));
    cutting->move(270, cutting->y());
    ShowPanelLooks(false, QCoreApplication::translate("TVornMF", "Panel1尺寸"));
    first->adjustSize();
}

void TVornMF::OfferArrayView(bool offered) {
    QRadioButton* whole = Selector(DiagramView::Array);
    if (offered) {
        whole->show();
        PlaceWholeSelector();
        return;
    }
    if (whole->isChecked())
        Selector(DiagramView::Panel1)->setChecked(true);
    whole->hide();
}

void TVornMF::EnableCommands(std::initializer_list<const char*> names, bool enabled) {
    for (const char* name : names)
        commands_.value(QString::fromLatin1(name))->setEnabled(enabled);
}

void TVornMF::SettleTyping() {
    if (panel_)
        panel_->SettleFocusedField();
}

// ---- Handlers ----

void TVornMF::ToolButton1Click() {
    vorn::SearchCommand(*this);
}

void TVornMF::SpeedButton12Click() {
    if (!vorn::HandOverArray(*this))
        return;
    // The tab change runs its own handling (the grid back on the plans).
    tabs_->setCurrentIndex(0);
    SelectView(DiagramView::Panel1);
    ToolButton1Click();
}

void TVornMF::ToolButton2Click() {
    vorn::PanelizeCommand(*this);
}

void TVornMF::PM01Click() {
    vorn::MinimizeBorders(*this);
}

void TVornMF::PM02Click() {
    vorn::MinimizeAllBorders(*this);
}

void TVornMF::ConnectToolingControls() {
    toolingPage_->SetData(Data());
    toolingPage_->SetRunner([](const std::function<void()>& command) { RunCommand(command); });
    connect(toolingPage_, &vorn::ToolingPage::redrawRequested, this,
            [this] { RunCommand([this] { RadioButton1Click(); }); });
    connect(tooling_, &QCheckBox::clicked, this,
            [this] { RunCommand([this] { CheckBox3Click(); }); });
}

void TVornMF::CheckBox3Click() {
    if (tooling_->isChecked())
        return; // the next plan computes the holes
    if (vorn::TDataM1* dm = Data())
        dm->TempTooling.close();
    tabs_->setTabEnabled(kToolingPage, false);
    RadioButton1Click();
}

void TVornMF::M03_02Click() {
    vorn::TDataM1* dm = Data();
    if (!dm)
        return;
    vorn::TForm8 window(*dm, this);
    window.exec();
}

// The report commands: preview, print, the workbook and the PDF, one path.
void TVornMF::M01_04_01Click() {
    vorn::ReportCommand(*this, vorn::ReportOutput::Preview);
}

void TVornMF::ToolButton8Click() {
    vorn::ReportCommand(*this, vorn::ReportOutput::Print);
}

void TVornMF::ToolButton9Click() {
    vorn::ReportCommand(*this, vorn::ReportOutput::Workbook);
}

void TVornMF::M01_05_03Click() {
    vorn::ReportCommand(*this, vorn::ReportOutput::Pdf);
}

void TVornMF::PM04Click() {
    vorn::SavePictureCommand(*this);
}

void TVornMF::M01_05_04Click() {
    vorn::ExportPlanForMachinesCommand(*this);
}

// ---- The parts archive ----

void TVornMF::ToolButton3Click() {
    vorn::SavePartCommand(*this);
}

void TVornMF::ToolButton5Click() {
    vorn::BrowseSavedParts(*this, [this] {
        vorn::TForm6 window(
            *Data(), [this] { LoadSavedPartIntoJob(); }, this);
        window.exec();
    });
}

void TVornMF::LoadSavedPartIntoJob() {
    vorn::LoadSavedPartIntoJob(*this);
}

void TVornMF::ToolButton12Click() {
    vorn::DeletePartCommand(*this);
}

void TVornMF::ToolButton6Click() {
    vorn::TDataM1* dm = Data();
    if (!dm)
        return;
    vorn::TForm3 window(*dm, this);
    if (window.IsUsable())
        window.exec();
}
