#include "ToolingTab.h"

#include "CommandEnabling.h"
#include "DataModule.h"
#include "NumberedGrid.h"
#include "NumberedList.h"
#include "ToolingWork.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace vorn {

namespace {

struct ShownType {
    const char* label;
    const char* type;
};
// In the order the type button cycles through them.
const ShownType kTypes[] = {
    {"Panel 1 Tooling", "Panel1"}, {"Panel 2 Tooling", "Panel2"}, {"Array Tooling", "Array"}};

} // namespace

ToolingPage::ToolingPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheet3"));
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(2, 2, 2, 2);
    v->setSpacing(2);

    auto* head = new QHBoxLayout;
    label_ = new QLabel(QString::fromLatin1(kTypes[0].label), this);
    label_->setObjectName(QStringLiteral("Label45"));
    head->addWidget(label_, 1);
    auto* type = new QToolButton(this);
    type->setObjectName(QStringLiteral("ToolingType"));
    type->setText(QStringLiteral("Type"));
    type->setToolTip(QCoreApplication::translate("ToolingTab", "返回"));
    connect(type, &QToolButton::clicked, this, [this] { Run([this] { TypeClick(); }); });
    head->addWidget(type);
    v->addLayout(head);

    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("DBGrid4"));
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setDefaultSectionSize(18);
    grid_->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    v->addWidget(grid_, 1);

    bar_ = new QWidget(this);
    bar_->setObjectName(QStringLiteral("ToolingBar"));
    auto* b = new QHBoxLayout(bar_);
    b->setContentsMargins(0, 0, 0, 0);
    b->setSpacing(1);
    b->addWidget(Button("ToolingUp", QCoreApplication::translate("ToolingTab", "上移"),
                        QCoreApplication::translate("ToolingTab", "上移"),
                        &ToolingPage::MoveUpClick));
    b->addWidget(Button("ToolingDown", QCoreApplication::translate("ToolingTab", "下移"),
                        QCoreApplication::translate("ToolingTab", "下移"),
                        &ToolingPage::MoveDownClick));
    b->addWidget(Button("ToolingInsertAbove", QCoreApplication::translate("ToolingTab", "上插"),
                        QCoreApplication::translate("ToolingTab", "上插记录"),
                        &ToolingPage::InsertAboveClick));
    QToolButton* below = Button(
        "ToolingInsertBelow", QCoreApplication::translate("ToolingTab", "下插"),
        QCoreApplication::translate("ToolingTab", "下插记录"), &ToolingPage::InsertBelowClick);
    below->hide(); // present but hidden
    b->addWidget(below);
    b->addWidget(Button("ToolingDelete", QCoreApplication::translate("ToolingTab", "删除"),
                        QCoreApplication::translate("ToolingTab", "删除"),
                        &ToolingPage::DeleteClick));
    b->addWidget(Button("ToolingSave", QCoreApplication::translate("ToolingTab", "保存"),
                        QCoreApplication::translate("ToolingTab", "保存"),
                        &ToolingPage::SaveClick));
    auto* redraw = new QToolButton(bar_);
    redraw->setObjectName(QStringLiteral("ToolingRedraw"));
    redraw->setText(QCoreApplication::translate("ToolingTab", "刷新"));
    redraw->setToolTip(QCoreApplication::translate("ToolingTab", "图像刷新"));
    connect(redraw, &QToolButton::clicked, this, [this] { emit redrawRequested(); });
    b->addWidget(redraw);
    b->addStretch(1);
    v->addWidget(bar_);
}

QToolButton* ToolingPage::Button(const char* name, const QString& text, const QString& hint,
                                 void (ToolingPage::*command)()) {
    auto* button = new QToolButton(this);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(text);
    button->setToolTip(hint);
    connect(button, &QToolButton::clicked, this,
            [this, command] { Run([=, this] { (this->*command)(); }); });
    return button;
}

void ToolingPage::Run(const std::function<void()>& command) {
    if (run_)
        run_(command);
    else
        command();
}

void ToolingPage::SetData(TDataM1* dm) {
    dm_ = dm;
    model_ = new NumberedGridModel(grid_);
    model_->setCursor(&dm->TempTooling);
    model_->setColumns({QStringLiteral("SerialNumber"), QStringLiteral("Xcoordinate"),
                        QStringLiteral("Ycoordinate"), QStringLiteral("Diameter")});
    model_->setEditable(true);
    grid_->setModel(model_);
    model_->followSelection(grid_->selectionModel());
    model_->appendOnDownAtEnd(grid_);
    grid_->setColumnWidth(0, 32);
    for (int c = 1; c <= 3; ++c)
        grid_->setColumnWidth(c, 62);
    // A new hole is typed from its first value on.
    connect(dm, &TDataM1::numberedRowInserted, this, [this](Cursor* c) {
        if (!dm_ || c != &dm_->TempTooling || dm_->TempTooling.recNo() < 0)
            return;
        const QModelIndex at = model_->index(dm_->TempTooling.recNo(), 1);
        grid_->setCurrentIndex(at);
    });
}

void ToolingPage::UpdateEnabling() {
    if (!dm_)
        return;
    const QString type = ToolingTypeOfFilter(dm_->TempTooling.filter());
    if (type.isEmpty())
        return;
    const Cursor& job = dm_->TempInput;
    const bool valid =
        ToolingTypeValid(OutlinesOf([&job](const char* f) {
                             return job.isOpen() ? job.asDouble(QString::fromLatin1(f)) : 0.0;
                         }),
                         type);
    bar_->setEnabled(valid);
    grid_->setEnabled(valid);
}

void ToolingPage::TypeClick() {
    if (!dm_)
        return;
    size_t i = 0;
    while (i < std::size(kTypes) && label_->text() != QLatin1String(kTypes[i].label))
        ++i;
    const ShownType& next = kTypes[i < std::size(kTypes) ? (i + 1) % std::size(kTypes) : 0];
    label_->setText(QString::fromLatin1(next.label));
    dm_->TempTooling.setFilter(QStringLiteral("PanelType='%1'").arg(QLatin1String(next.type)));
    UpdateEnabling();
}

namespace {
NumberedList Holes(TDataM1& dm) {
    return NumberedList(dm, TDataM1::Numbered::TempTooling, dm.TempTooling,
                        QStringLiteral("SerialNumber"));
}
} // namespace

void ToolingPage::MoveUpClick() {
    if (dm_)
        Holes(*dm_).moveUp();
}

void ToolingPage::MoveDownClick() {
    if (dm_)
        Holes(*dm_).moveDown();
}

void ToolingPage::InsertAboveClick() {
    if (dm_)
        Holes(*dm_).insertAbove();
}

void ToolingPage::InsertBelowClick() {
    if (dm_)
        Holes(*dm_).insertBelow();
}

void ToolingPage::DeleteClick() {
    if (dm_)
        Holes(*dm_).removeCurrent();
}

void ToolingPage::SaveClick() {
    if (!dm_)
        return;
    Cursor& t = dm_->TempTooling;
    if (t.isOpen() && t.state() != Cursor::State::Browse)
        t.post();
}

} // namespace vorn
