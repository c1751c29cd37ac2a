#include "SettingsWindow.h"

#include "Cursor.h"
#include "CursorModel.h"
#include "DataModule.h"
#include "PanelJob.h"
#include "Units.h"
#include "YesNoDelegate.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMessageBox>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolButton>
#include <exception>

namespace vorn {

namespace {

// The read-only number column on the 3-D light background.
class LightColumnDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->backgroundBrush = option->palette.color(QPalette::Midlight);
    }
};

double MillimetresPerInch() {
    return UnitFactor(DisplayUnit::Millimetre);
}

} // namespace

SettingsWindow::SettingsWindow(TDataM1& dm, const Table& table, QWidget* parent)
    : QDialog(parent), dm_(dm), table_(table) {
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    model_ = new CursorModel(this);
    model_->setCursor(table_.cursor);
    model_->setColumns(table_.columns);
    model_->setEditable(true);
    grid_->setModel(model_);
    model_->followSelection(grid_->selectionModel());
    model_->appendOnDownAtEnd(grid_);
    connect(model_, &CursorModel::error, this, [this](const QString& text) {
        QMessageBox::critical(this, QStringLiteral("Vorn"), text);
    });

    grid_->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
    grid_->verticalHeader()->setDefaultSectionSize(20);
    grid_->verticalHeader()->setVisible(false);
    grid_->horizontalHeader()->setHighlightSections(false);
    grid_->setTabKeyNavigation(true);

    for (int c = 0; c < table_.columns.size(); ++c) {
        if (table_.columns[c] == table_.yesNoColumn) {
            yesNo_ = new YesNoDelegate(grid_);
            grid_->setItemDelegateForColumn(c, yesNo_);
        } else if (table_.columns[c] == table_.readOnlyColumn) {
            grid_->setItemDelegateForColumn(c, new LightColumnDelegate(grid_));
        }
    }
    // A reset gives the header its default sizes again.
    connect(model_, &QAbstractItemModel::modelReset, this, &SettingsWindow::ApplyColumnWidths);
    model_->detach(); // until shown
}

void SettingsWindow::showEvent(QShowEvent* event) {
    model_->attach();
    QDialog::showEvent(event);
}

void SettingsWindow::ApplyColumnWidths() {
    // Display widths are in characters of the grid font the tables were laid
    // out for: 6 pixels each. (The hidden sheet window may outlive the data
    // module: the model's cursor is gone then.)
    constexpr int pixelsPerCharacter = 6;
    const Cursor* cursor = model_->cursor();
    if (!cursor)
        return;
    for (int c = 0; c < table_.columns.size(); ++c) {
        const int f = cursor->findField(table_.columns[c]);
        if (f >= 0 && cursor->field(f).width > 0)
            grid_->setColumnWidth(c, cursor->field(f).width * pixelsPerCharacter + 4);
    }
}

void SettingsWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Escape || event->modifiers() != Qt::NoModifier) {
        QDialog::keyPressEvent(event);
        return;
    }
    event->accept();
    Cursor& c = Data();
    if (c.isOpen() && c.state() != Cursor::State::Browse) {
        Guarded([&c] { c.cancel(); });
        return;
    }
    // Nothing being edited: Esc closes, as in every other window of the
    // program, but unsaved rows are not dropped without a question.
    if (c.isOpen() && c.hasPendingUpdates() &&
        QMessageBox::question(
            this, windowTitle(),
            QCoreApplication::translate("SettingsWindow", "修改尚未保存，确实要放弃吗？"),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;
    reject();
}

void SettingsWindow::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    model_->detach();
}

SettingsWindow::~SettingsWindow() {
    // The grid lets go of the cursor before the cursor closes.
    disconnect(model_, nullptr, this, nullptr);
    model_->setCursor(nullptr);
}

bool SettingsWindow::ShowsMm() const {
    return unitButton_ && unitButton_->text() == MmCaption();
}

QToolButton* SettingsWindow::MakeUnitButton(QWidget* parent) {
    unitButton_ = new QToolButton(parent);
    unitButton_->setObjectName(QStringLiteral("SpeedButton1"));
    unitButton_->setText(InchCaption()); // the window starts in inches, as stored
    unitButton_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    unitButton_->setFocusPolicy(Qt::NoFocus);
    connect(unitButton_, &QToolButton::clicked, this,
            [this] { Guarded([this] { UnitButtonClick(); }); });
    return unitButton_;
}

void SettingsWindow::Guarded(const std::function<void()>& command) {
    try {
        command();
    } catch (const std::exception& e) {
        if (!model_->isAttached())
            model_->attach();
        QMessageBox::critical(this, QStringLiteral("Vorn"), QString::fromUtf8(e.what()));
    }
}

void SettingsWindow::PostPending() {
    Cursor& c = Data();
    if (c.isOpen() && c.state() != Cursor::State::Browse)
        c.post();
}

int SettingsWindow::SelectedColumn() const {
    return qMax(0, grid_->currentIndex().column());
}

void SettingsWindow::FocusGrid(int column) {
    grid_->setFocus();
    const int row = Data().isOpen() ? Data().recNo() : -1;
    if (row >= 0 && row < model_->rowCount())
        grid_->setCurrentIndex(model_->index(row, column));
}

SettingsWindow::Place SettingsWindow::RememberPlace() {
    PostPending();
    Place place;
    place.column = SelectedColumn();
    if (!Data().isEmpty())
        place.key = Data().value(table_.placeKey);
    model_->detach();
    return place;
}

void SettingsWindow::ReturnToPlace(const Place& place) {
    if (place.key.isValid() && !place.key.isNull())
        Data().locate(table_.placeKey, {place.key});
    model_->attach();
    FocusGrid(place.column);
}

void SettingsWindow::WalkAll(bool toMm) {
    if (toMm)
        ConvertLengthColumns(Data(), table_.lengthColumns, MillimetresPerInch(), &memory_);
    else
        DivideLengthColumns(Data(), table_.lengthColumns, MillimetresPerInch(), &memory_);
}

void SettingsWindow::Save() {
    if (!Data().isOpen())
        return;
    if (!ShowsMm()) {
        PostPending();
        Data().applyUpdates();
        return;
    }
    // The file takes inches: walk there, commit, and walk back, also when the
    // commit fails (the screen keeps showing millimetres under "mm").
    const Place place = RememberPlace();
    WalkAll(false);
    try {
        Data().applyUpdates();
    } catch (...) {
        WalkAll(true);
        ReturnToPlace(place);
        throw;
    }
    WalkAll(true);
    ReturnToPlace(place);
}

void SettingsWindow::UnitButtonClick() {
    if (!Data().isOpen())
        return;
    const Place place = RememberPlace();
    const bool toMm = !ShowsMm();
    WalkAll(toMm);
    unitButton_->setText(toMm ? MmCaption() : InchCaption());
    ReturnToPlace(place);
}

} // namespace vorn
