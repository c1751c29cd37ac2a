#include "SheetsWindow.h"

#include "Cursor.h"
#include "DataModule.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QStyle>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace vorn {

TForm5::TForm5(TDataM1& dm, QWidget* parent)
    : SettingsWindow(
          dm,
          {&dm.SetBase,
           {QStringLiteral("Base_L"), QStringLiteral("Base_W"), QStringLiteral("Enbled")},
           QStringLiteral("Enbled"),
           QString(),
           {QStringLiteral("Base_L"), QStringLiteral("Base_W")},
           QStringLiteral("ID")},
          parent) {
    setObjectName(QStringLiteral("TForm5"));
    setWindowTitle(QCoreApplication::translate("TForm5", "板材设定"));
    setFixedSize(278, 486);

    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    auto* top = new QHBoxLayout;
    top->setContentsMargins(0, 0, 6, 0);
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setIconSize(QSize(20, 20));
    QStyle* st = style();
    save_ = bar->addAction(st->standardIcon(QStyle::SP_DialogSaveButton),
                           QCoreApplication::translate("TForm5", "保存Updata"));
    insert_ = bar->addAction(st->standardIcon(QStyle::SP_FileDialogNewFolder),
                             QCoreApplication::translate("TForm5", "插入"));
    delete_ = bar->addAction(st->standardIcon(QStyle::SP_TrashIcon),
                             QCoreApplication::translate("TForm5", "删除"));
    bar->addSeparator();
    exit_ = bar->addAction(st->standardIcon(QStyle::SP_DialogCloseButton),
                           QCoreApplication::translate("TForm5", "退出"));
    save_->setObjectName(QStringLiteral("ToolButton1"));
    insert_->setObjectName(QStringLiteral("ToolButton2"));
    delete_->setObjectName(QStringLiteral("ToolButton3"));
    exit_->setObjectName(QStringLiteral("ToolButton5"));
    // Picture buttons: the captions are their hints.
    for (QAction* a : {save_, insert_, delete_, exit_})
        a->setToolTip(a->text());
    connect(save_, &QAction::triggered, this, [this] { Guarded([this] { ToolButton1Click(); }); });
    connect(insert_, &QAction::triggered, this,
            [this] { Guarded([this] { ToolButton2Click(); }); });
    connect(delete_, &QAction::triggered, this,
            [this] { Guarded([this] { ToolButton3Click(); }); });
    connect(exit_, &QAction::triggered, this, &QDialog::reject);
    top->addWidget(bar, 1);
    QToolButton* unit = MakeUnitButton(this);
    unit->setFixedSize(44, 24);
    top->addWidget(unit);
    v->addLayout(top);
    v->addWidget(Grid(), 1);

    // Leaving the grid posts a pending change of the current row.
    leaveGrid_ =
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
            auto inGrid = [this](QWidget* w) {
                return w && (w == Grid() || Grid()->isAncestorOf(w));
            };
            if (inGrid(old) && !inGrid(now))
                Guarded([this] { PostPending(); });
        });
}

TForm5::~TForm5() {
    disconnect(leaveGrid_); // children going away move the focus
}

void TForm5::ToolButton1Click() {
    Save();
}

void TForm5::ToolButton2Click() {
    Cursor& sheets = Data();
    if (!sheets.isOpen())
        return;
    sheets.insert();
    sheets.setValue(QStringLiteral("Enbled"), true);
    FocusGrid(0);
}

void TForm5::ToolButton3Click() {
    Cursor& sheets = Data();
    if (!sheets.isOpen() || sheets.isEmpty())
        return;
    sheets.remove(); // a row being inserted is dropped
    FocusGrid(0);
}

} // namespace vorn
