#include "PartSearchWindow.h"

#include "CursorModel.h"
#include "DataModule.h"
#include "FilterText.h"

#include <QApplication>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QStyle>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace vorn {

TForm6::TForm6(TDataM1& dm, std::function<void()> loadCurrent, QWidget* parent)
    : QDialog(parent), dm_(dm), loadCurrent_(std::move(loadCurrent)) {
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QCoreApplication::translate("TForm6", "部件搜索"));
    setProperty("helpContext", 400);
    setMinimumSize(271, 172);
    setMaximumSize(350, 550);
    resize(306, 519);
    if (parent)
        move(parent->geometry().center() - rect().center());

    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(2, 2, 2, 2);
    v->setSpacing(2);
    auto* band = new QHBoxLayout;
    band->setSpacing(4);
    band->addWidget(new QLabel(QCoreApplication::translate("TForm6", "筛选："), this));
    radioButton1_ = new QRadioButton(QCoreApplication::translate("TForm6", "部件编号"), this);
    radioButton1_->setObjectName(QStringLiteral("RadioButton1"));
    radioButton1_->setChecked(true);
    radioButton2_ = new QRadioButton(QCoreApplication::translate("TForm6", "客户型号"), this);
    radioButton2_->setObjectName(QStringLiteral("RadioButton2"));
    band->addWidget(radioButton1_);
    band->addWidget(radioButton2_);
    edit1_ = new QLineEdit(this);
    edit1_->setObjectName(QStringLiteral("Edit1"));
    band->addWidget(edit1_, 1);
    speedButton1_ = new QToolButton(this);
    speedButton1_->setObjectName(QStringLiteral("SpeedButton1"));
    speedButton1_->setIcon(style()->standardIcon(QStyle::SP_LineEditClearButton));
    speedButton1_->setAutoRaise(true);
    band->addWidget(speedButton1_);
    v->addLayout(band);

    dbGrid1_ = new QTableView(this);
    dbGrid1_->setObjectName(QStringLiteral("DBGrid1"));
    dbGrid1_->setToolTip(QCoreApplication::translate("TForm6", "双击选定行到确定！"));
    dbGrid1_->setSelectionBehavior(QAbstractItemView::SelectRows);
    dbGrid1_->setSelectionMode(QAbstractItemView::SingleSelection);
    dbGrid1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dbGrid1_->verticalHeader()->setDefaultSectionSize(20);
    v->addWidget(dbGrid1_, 1);

    model_ = new CursorModel(this);
    model_->setCursor(&dm_.SavedPartsQuery);
    model_->setColumns({QStringLiteral("Part_number"), QStringLiteral("Customer_Part")});
    model_->setColumnTitle(0, QCoreApplication::translate("TForm6", "部件编号"));
    model_->setColumnTitle(1, QCoreApplication::translate("TForm6", "客户型号"));
    dbGrid1_->setModel(model_);
    model_->followSelection(dbGrid1_->selectionModel());
    dbGrid1_->setColumnWidth(0, 80);
    dbGrid1_->setColumnWidth(1, 182);

    connect(edit1_, &QLineEdit::textChanged, this, [this] { Edit1Change(); });
    connect(speedButton1_, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
    connect(dbGrid1_, &QTableView::doubleClicked, this, [this] { DBGrid1DblClick(); });
}

void TForm6::Edit1Change() {
    // Whole values only; the text is quoted, so any part number is looked up.
    const QString column = radioButton1_->isChecked() ? QStringLiteral("Part_number")
                                                      : QStringLiteral("Customer_Part");
    const QString text = edit1_->text();
    Cursor& q = dm_.SavedPartsQuery;
    try {
        if (text.isEmpty()) {
            q.setFilter(QString());
            q.setFiltered(false);
        } else {
            q.setFilter(column + u'=' + FilterText::quote(text));
            q.setFiltered(true);
        }
    } catch (const std::exception& e) {
        QMessageBox::critical(this, QStringLiteral("Vorn"), QString::fromUtf8(e.what()));
    }
}

void TForm6::SpeedButton1Click() {
    edit1_->clear(); // clears the filter through the change handler
    Edit1Change();
}

void TForm6::DBGrid1DblClick() {
    Cursor& q = dm_.SavedPartsQuery;
    if (!q.isOpen() || q.isEmpty())
        return;
    try {
        if (loadCurrent_)
            loadCurrent_();
    } catch (const std::exception& e) {
        QMessageBox::critical(this, QStringLiteral("Vorn"), QString::fromUtf8(e.what()));
        return;
    }
    accept();
}

} // namespace vorn
