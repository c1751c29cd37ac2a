#include "PanelPresetsWindow.h"

#include "Cursor.h"
#include "DataModule.h"

#include <QAction>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QStyle>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>

namespace vorn {

TForm7::TForm7(TDataM1& dm, QWidget* parent)
    : SettingsWindow(dm,
                     {&dm.SetPanel,
                      {QStringLiteral("Number"), QStringLiteral("Panel_L"),
                       QStringLiteral("Panel_W"), QStringLiteral("Enabled")},
                      QStringLiteral("Enabled"),
                      QStringLiteral("Number"),
                      {QStringLiteral("Panel_L"), QStringLiteral("Panel_W")},
                      QStringLiteral("Number")},
                     parent),
      list_(dm, TDataM1::Numbered::SetPanel, dm.SetPanel, QStringLiteral("Number")) {
    setObjectName(QStringLiteral("TForm7"));
    setWindowTitle(QCoreApplication::translate("TForm7", "Panel设定"));
    setFixedSize(365, 552);

    auto* h = new QHBoxLayout(this);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(0);
    h->addWidget(Grid(), 1);

    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("Panel1"));
    bar->setOrientation(Qt::Vertical);
    bar->setIconSize(QSize(20, 20));
    QStyle* st = style();
    auto button = [&](const char* name, QStyle::StandardPixmap picture, const char* hint,
                      void (TForm7::*handler)()) {
        QAction* a =
            bar->addAction(st->standardIcon(picture), QCoreApplication::translate("TForm7", hint));
        a->setObjectName(QString::fromLatin1(name));
        a->setToolTip(a->text());
        connect(a, &QAction::triggered, this,
                [this, handler] { Guarded([=, this] { (this->*handler)(); }); });
        return a;
    };
    exit_ = button("SpeedButton1", QStyle::SP_DialogCloseButton,
                   QT_TRANSLATE_NOOP("TForm7", "退出"), &TForm7::SpeedButton1Click);
    QToolButton* unit = MakeUnitButton(bar);
    unit->setToolTip(QCoreApplication::translate("TForm7", "单位转换"));
    unit->setFixedSize(40, 28);
    bar->addWidget(unit);
    save_ = button("SpeedButton3", QStyle::SP_DialogSaveButton, QT_TRANSLATE_NOOP("TForm7", "保存"),
                   &TForm7::SpeedButton3Click);
    insertAbove_ = button("SpeedButton4", QStyle::SP_ArrowUp,
                          QT_TRANSLATE_NOOP("TForm7", "上插记录"), &TForm7::SpeedButton4Click);
    insertBelow_ = button("SpeedButton5", QStyle::SP_ArrowDown,
                          QT_TRANSLATE_NOOP("TForm7", "下插记录"), &TForm7::SpeedButton5Click);
    delete_ = button("SpeedButton6", QStyle::SP_TrashIcon, QT_TRANSLATE_NOOP("TForm7", "删除记录"),
                     &TForm7::SpeedButton6Click);
    moveUp_ = button("SpeedButton7", QStyle::SP_TitleBarShadeButton,
                     QT_TRANSLATE_NOOP("TForm7", "上移记录"), &TForm7::SpeedButton7Click);
    moveDown_ = button("SpeedButton8", QStyle::SP_TitleBarUnshadeButton,
                       QT_TRANSLATE_NOOP("TForm7", "下移记录"), &TForm7::SpeedButton8Click);
    h->addWidget(bar);

    // A new row is numbered, posted and left open: typing starts at its length.
    connect(&dm, &TDataM1::numberedRowInserted, this, [this](Cursor* cursor) {
        if (cursor == &Data())
            FocusGrid(1);
    });
}

void TForm7::SpeedButton1Click() {
    reject();
}

void TForm7::SpeedButton3Click() {
    Save();
}

void TForm7::SpeedButton4Click() {
    list_.insertAbove();
}

void TForm7::SpeedButton5Click() {
    list_.insertBelow();
}

void TForm7::SpeedButton6Click() {
    const int column = SelectedColumn();
    list_.removeCurrent();
    FocusGrid(column);
}

void TForm7::SpeedButton7Click() {
    const int column = SelectedColumn();
    PostPending();
    list_.moveUp();
    FocusGrid(column);
}

void TForm7::SpeedButton8Click() {
    const int column = SelectedColumn();
    PostPending();
    list_.moveDown();
    FocusGrid(column);
}

} // namespace vorn
