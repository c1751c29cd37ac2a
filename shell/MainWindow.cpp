#include "MainWindow.h"

#include "AboutBox.h"
#include "Calculator.h"
#include "CursorBinder.h"
#include "CursorModel.h"
#include "DataModule.h"
#include "DataRows.h"
#include "Fields.h"
#include "HelpWindow.h"
#include "Language.h"
#include "NewJob.h"
#include "ParameterPanel.h"
#include "ResultGrid.h"
#include "SearchInterfaces.h"
#include "SheetsWindow.h"
#include "ToolIcons.h"
#include "ToolingTab.h"
#include "Units.h"
#include "UserSettings.h"
#include "WelcomePicture.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QSplitter>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <iterator>

using vorn::BoundField;
using vorn::Input;
using vorn::kFieldWidth;
using vorn::kRowHeight;
using vorn::Look;
using vorn::SetLook;
using vorn::ToolPicture;

namespace {

constexpr int kToolingTab = 2; // the left-hand tabs: parameters, array, Tooling, parts

// Menus in menu order. A submenu's items follow it up to its end marker.
enum class Kind { Menu, Item, Submenu, EndSubmenu, Separator, TopItem };

struct MenuEntry {
    Kind kind;
    const char* name;
    const char* caption;
    const char* key;
    const char* handler;
};

const MenuEntry kMenus[] = {
    {Kind::Menu, "M01", QT_TRANSLATE_NOOP("TVornMF", "文件(&F)"), "", ""},
    {Kind::Item, "M01_01", QT_TRANSLATE_NOOP("TVornMF", "打开(&O)"), "Ctrl+O", "ToolButton5Click"},
    {Kind::Item, "M01_02", QT_TRANSLATE_NOOP("TVornMF", "保存(&B)"), "Ctrl+S", "ToolButton3Click"},
    {Kind::Item, "M01_03", QT_TRANSLATE_NOOP("TVornMF", "删除(&D)"), "Ctrl+D", "ToolButton12Click"},
    {Kind::Separator, "", "", "", ""},
    {Kind::Submenu, "M01_04", QT_TRANSLATE_NOOP("TVornMF", "打印&"), "", ""},
    {Kind::Item, "M01_04_01", QT_TRANSLATE_NOOP("TVornMF", "御览(&Y)"), "Ctrl+Y", "M01_04_01Click"},
    {Kind::Item, "M01_04_02", QT_TRANSLATE_NOOP("TVornMF", "打印(&P)"), "Ctrl+P",
     "ToolButton8Click"},
    {Kind::EndSubmenu, "", "", "", ""},
    {Kind::Submenu, "M01_05", QT_TRANSLATE_NOOP("TVornMF", "导出&"), "", ""},
    {Kind::Item, "M01_05_01", QT_TRANSLATE_NOOP("TVornMF", "导出Excel文档"), "F7",
     "ToolButton9Click"},
    {Kind::Item, "M01_05_02", QT_TRANSLATE_NOOP("TVornMF", "导出图片"), "F8", "PM04Click"},
    {Kind::Item, "M01_05_03", QT_TRANSLATE_NOOP("TVornMF", "导出PDF"), "", "M01_05_03Click"},
    {Kind::Item, "M01_05_04", QT_TRANSLATE_NOOP("TVornMF", "导出DXF/拼板坐标"), "",
     "M01_05_04Click"},
    {Kind::EndSubmenu, "", "", "", ""},
    {Kind::Separator, "", "", "", ""},
    {Kind::Item, "M01_06", QT_TRANSLATE_NOOP("TVornMF", "退出(&E)"), "Ctrl+Q", "M01_06Click"},
    {Kind::Menu, "M02", QT_TRANSLATE_NOOP("TVornMF", "拼板开料(&C)"), "", ""},
    {Kind::Item, "M02_01", QT_TRANSLATE_NOOP("TVornMF", "智能拼板开料(&P)"), "F2",
     "ToolButton1Click"},
    {Kind::Item, "M02_02", QT_TRANSLATE_NOOP("TVornMF", "拼板开料(&S)"), "F3", "ToolButton2Click"},
    {Kind::Menu, "M03", QT_TRANSLATE_NOOP("TVornMF", "设置(&S)"), "", ""},
    {Kind::Item, "M03_01", QT_TRANSLATE_NOOP("TVornMF", "Panels  设定"), "F5", "M03_01Click"},
    {Kind::Item, "M03_02", QT_TRANSLATE_NOOP("TVornMF", "Tooling 设定"), "F6", "M03_02Click"},
    {Kind::Item, "M03_03", QT_TRANSLATE_NOOP("TVornMF", "板  材  设定"), "F7", "M03_03Click"},
    {Kind::Separator, "", "", "", ""},
    {Kind::Item, "M03_04", QT_TRANSLATE_NOOP("TVornMF", "默认值  设定"), "F8", "M03_04Click"},
    {Kind::Menu, "M04", QT_TRANSLATE_NOOP("TVornMF", "工具(&T)"), "", ""},
    {Kind::Item, "M04_01", QT_TRANSLATE_NOOP("TVornMF", "查询"), "F4", "ToolButton6Click"},
    {Kind::Separator, "", "", "", ""},
    {Kind::Submenu, "M04_02", QT_TRANSLATE_NOOP("TVornMF", "边距补偿"), "", ""},
    {Kind::Item, "M04_02_01", QT_TRANSLATE_NOOP("TVornMF", "上传Panel边距补偿"), "F5", "PM01Click"},
    {Kind::Item, "M04_02_02", QT_TRANSLATE_NOOP("TVornMF", "所有Panel边距补偿"), "F6", "PM02Click"},
    {Kind::EndSubmenu, "", "", "", ""},
    {Kind::Separator, "", "", "", ""},
    {Kind::Item, "M04_03", QT_TRANSLATE_NOOP("TVornMF", "计算器"), "Ctrl+J", "M04_03Click"},
    {Kind::Item, "M04_04", QT_TRANSLATE_NOOP("TVornMF", "工具栏"), "Ctrl+G", "M04_04Click"},
    {Kind::Separator, "", "", "", ""},
    {Kind::Item, "M04_05", QT_TRANSLATE_NOOP("TVornMF", "数据备份"), "Ctrl+B", "M04_05Click"},
    {Kind::Item, "M04_06", QT_TRANSLATE_NOOP("TVornMF", "恢复数据"), "Ctrl+R", "M04_06Click"},
    {Kind::Menu, "M05", QT_TRANSLATE_NOOP("TVornMF", "帮助(&H)"), "", ""},
    {Kind::Item, "M05_03", QT_TRANSLATE_NOOP("TVornMF", "帮  助"), "", "M05_03Click"},
    {Kind::Item, "M05_02", QT_TRANSLATE_NOOP("TVornMF", "关于 Vorn"), "", "M05_02Click"},
    {Kind::TopItem, "M06", QT_TRANSLATE_NOOP("TVornMF", "退出(&U)"), "", "M01_06Click"},
};

struct ToolEntry {
    const char* name; // empty: a separator
    const char* caption;
    ToolPicture picture;
    const char* handler;
};

const ToolEntry kTools[] = {
    {"ToolButton5", QT_TRANSLATE_NOOP("TVornMF", "打 开"), ToolPicture::Open, "ToolButton5Click"},
    {"ToolButton3", QT_TRANSLATE_NOOP("TVornMF", "保 存"), ToolPicture::Save, "ToolButton3Click"},
    {"ToolButton12", QT_TRANSLATE_NOOP("TVornMF", "删除"), ToolPicture::Delete,
     "ToolButton12Click"},
    {"", "", ToolPicture::Open, ""},
    {"ToolButton1", QT_TRANSLATE_NOOP("TVornMF", "智能拼板"), ToolPicture::SmartPanel,
     "ToolButton1Click"},
    {"ToolButton2", QT_TRANSLATE_NOOP("TVornMF", "拼 板"), ToolPicture::Panelize,
     "ToolButton2Click"},
    {"ToolButton10", QT_TRANSLATE_NOOP("TVornMF", "边最小化"), ToolPicture::Minimize, "PM01Click"},
    {"ToolButton6", QT_TRANSLATE_NOOP("TVornMF", "查 询"), ToolPicture::Query, "ToolButton6Click"},
    {"", "", ToolPicture::Open, ""},
    {"ToolButton7", QT_TRANSLATE_NOOP("TVornMF", "打印御览"), ToolPicture::Preview,
     "M01_04_01Click"},
    {"ToolButton8", QT_TRANSLATE_NOOP("TVornMF", "打 印"), ToolPicture::Print, "ToolButton8Click"},
    {"ToolButton9", QT_TRANSLATE_NOOP("TVornMF", "导 出"), ToolPicture::Export, "ToolButton9Click"},
    {"ToolButton11", QT_TRANSLATE_NOOP("TVornMF", "退出"), ToolPicture::Exit, "M01_06Click"},
};

// The drop-down items of the two tool bar buttons that carry one.
struct PopupEntry {
    const char* button;
    const char* name;
    const char* caption;
    const char* handler;
};

const PopupEntry kPopups[] = {
    {"ToolButton10", "PM01", QT_TRANSLATE_NOOP("TVornMF", "边距最小化上传Panel"), "PM01Click"},
    {"ToolButton10", "PM02", QT_TRANSLATE_NOOP("TVornMF", "边距最小化所有Panel"), "PM02Click"},
    {"ToolButton9", "PM03", QT_TRANSLATE_NOOP("TVornMF", "Excel文件导出"), "ToolButton9Click"},
    {"ToolButton9", "PM04", QT_TRANSLATE_NOOP("TVornMF", "Bmp图片导出"), "PM04Click"},
};

// The twelve job commands, the archive commands and the delete command.
const char* const kJobCommands[] = {"ToolButton3",  "ToolButton8", "ToolButton7", "ToolButton9",
                                    "ToolButton10", "M01_02",      "M01_04",      "M01_05",
                                    "M04_02",       "M04_02_01",   "PM03",        "PM01"};
const char* const kArchiveCommands[] = {"ToolButton5", "ToolButton6", "M01_01", "M04_01"};
const char* const kDeleteCommands[] = {"ToolButton12", "M01_03"};
// The all-panels margin commands follow the result table, closed at start.
const char* const kAllPanelsCommands[] = {"PM02", "M04_02_02"};

constexpr int kLeftColumnWidth = 240;
// The tab captions carry their own blanks; the style adds little around them
// so that the four tabs fit the 240-pixel column.
class CompactTabStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_TabBarTabHSpace)
            return 4;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

QLabel* Label(QWidget* parent, const QString& text, Qt::Alignment align = Qt::AlignLeft) {
    auto* l = new QLabel(text, parent);
    l->setAlignment(align | Qt::AlignVCenter);
    return l;
}

QLabel* Times(QWidget* parent) {
    return Label(parent, QStringLiteral("×"), Qt::AlignHCenter);
}

// A grid of captions and fields: column 0 caption, 1 sub-caption, 2 first
// field, 3 "×" or sub-caption, 4 second field, 5 unit.
QGridLayout* FieldGrid(QWidget* page) {
    auto* grid = new QGridLayout;
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(2);
    grid->setVerticalSpacing(3);
    grid->setColumnStretch(6, 1);
    Q_UNUSED(page);
    return grid;
}

// A pair of one-line rows (caption spanning columns 0-1, "×" between).
void SizeRow(QGridLayout* g, int row, QWidget* page, const QString& caption, QLineEdit* a,
             QLineEdit* b) {
    g->addWidget(Label(page, caption), row, 0, 1, 2);
    g->addWidget(a, row, 2);
    if (b) {
        g->addWidget(Times(page), row, 3);
        g->addWidget(b, row, 4);
    }
}

void MarginRow(QGridLayout* g, int row, QWidget* page, const QString& caption, const QString& first,
               QLineEdit* a, QLineEdit* b) {
    if (first.isEmpty()) {
        g->addWidget(Label(page, caption), row, 0, 1, 2);
    } else {
        g->addWidget(Label(page, caption), row, 0);
        g->addWidget(Label(page, first), row, 1);
    }
    g->addWidget(a, row, 2);
    g->addWidget(Label(page, QCoreApplication::translate("TVornMF", "上下"), Qt::AlignHCenter), row,
                 3);
    g->addWidget(b, row, 4);
}

QFrame* Line(QWidget* parent) {
    auto* f = new QFrame(parent);
    f->setFrameShape(QFrame::HLine);
    f->setFrameShadow(QFrame::Sunken);
    return f;
}

// Tab pages scroll when the window is too low to show them whole.
QWidget* Scrolled(QWidget* page) {
    auto* area = new QScrollArea;
    area->setWidget(page);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return area;
}

} // namespace

TVornMF::TVornMF(const QString& programDir, QWidget* parent)
    : QMainWindow(parent), programDir_(programDir) {
    setObjectName(QStringLiteral("TVornMF"));
    setWindowTitle(QStringLiteral("Vorn"));
    setMinimumSize(617, 482);
    resize(800, 589);
    setContextMenuPolicy(Qt::NoContextMenu);

    BuildMenus();
    BuildToolBar();
    // Narrower than its tool bar, the window would hide 导出 and 退出 behind
    // the bar's overflow button.
    setMinimumWidth(std::max(minimumWidth(), toolBar_->sizeHint().width()));
    BuildCentre();
    SetUpCommandEnabling();
    SetInitialStates();
    // Fields are made out of order inside their rows; the tab order follows the
    // pages top to bottom.
    static const char* const order[] = {
        "DBEdit1",      "DBEdit2",      "DBEdit3",   "DBEdit4",   "DBEdit5",   "Edit5",
        "DBEdit17",     "DBEdit18",     "DBEdit19",  "DBEdit20",  "DBEdit21",  "DBEdit22",
        "RadioButton3", "RadioButton4", "CheckBox1", "CheckBox2", "CheckBox3", "RadioButton6",
        "RadioButton7", "DBEdit7",      "DBEdit8",   "DBEdit23",  "DBEdit24",  "DBEdit25",
        "DBEdit26",     "DBEdit27",     "DBEdit28",  "DBEdit29",  "DBEdit30",  "DBEdit31",
        "DBEdit32",     "DBEdit33",     "BitBtn3",   "Edit1",     "Edit2",     "DBEdit6",
        "Edit3",        "Memo1"};
    vorn::ChainTabOrder(this, order, int(std::size(order)));

    // The data module tests its connection as it is made; without a
    // database the program cannot run.
    data_ = std::make_unique<vorn::TDataM1>(programDir_);
    if (!data_->isUsable())
        return;
    AttachData();
    ConnectJobControls();
    ConnectParameterPanel();
    ConnectToolingControls();
    move(0, 0);
    RunCommand([this] { StartNewJob(); });
}

bool TVornMF::IsUsable() const {
    return data_ && data_->isUsable();
}

void TVornMF::ShowDataError(const QString& text) {
    QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Vorn"), text);
}

void TVornMF::AttachData() {
    dataRows_ = std::make_unique<vorn::DataJobRows>(*data_);
    for (vorn::WorkRow* row : {dataRows_->Job(), dataRows_->Array()}) {
        connect(&static_cast<vorn::CursorWorkRow*>(row)->Binder(), &vorn::CursorBinder::error, this,
                &TVornMF::ShowDataError);
    }
    SetJobRows(dataRows_.get());

    resultModel_ = new vorn::CursorModel(dbGrid1_);
    // The grid's own titles, also while the table is closed.
    ShowPlanColumns(data_->TempResult);
    QAbstractItemModel* titles = dbGrid1_->model();
    dbGrid1_->setModel(resultModel_);
    delete titles;
    resultModel_->followSelection(dbGrid1_->selectionModel());
    vorn::ApplyResultColumnWidths(dbGrid1_);
    // New rows, a unit switch or the other tab's table: texts may have grown.
    vorn::FitColumnsToContents(dbGrid1_, true);
    connect(resultModel_, &vorn::CursorModel::error, this, &TVornMF::ShowDataError);

    // The all-panels margin commands follow the result table.
    connect(data_.get(), &vorn::TDataM1::allPanelsCommandsEnabled, this, [this](bool on) {
        for (const char* n : kAllPanelsCommands)
            commands_.value(QString::fromLatin1(n))->setEnabled(on);
    });
}

TVornMF::~TVornMF() {
    // The panel watches focus changes, which closing the window still sends;
    // it goes before the rows it reads.
    delete panel_;
}

QString TVornMF::DefaultsPath() const {
    return QDir(programDir_).filePath(vorn::DefaultsList::FileName());
}

QAction* TVornMF::NewCommand(const QString& name, const QString& caption, const char* handler) {
    auto* a = new QAction(caption, this);
    a->setObjectName(name);
    commands_.insert(name, a);
    if (handler && *handler) {
        const auto run = FindCommand(handler);
        if (!run)
            qFatal("no command %s", handler);
        a->setProperty("vornHandler", QString::fromLatin1(handler));
        connect(a, &QAction::triggered, this,
                [this, run] { RunCommand([this, run] { (this->*run)(); }); });
    }
    return a;
}

TVornMF::CommandFn TVornMF::FindCommand(const char* name) {
    // Called directly, never through the meta-object system, so that an error
    // reaches RunCommand intact.
    static const QHash<QByteArray, CommandFn> handlers{
        {"ToolButton5Click", &TVornMF::ToolButton5Click},
        {"ToolButton3Click", &TVornMF::ToolButton3Click},
        {"ToolButton12Click", &TVornMF::ToolButton12Click},
        {"ToolButton6Click", &TVornMF::ToolButton6Click},
        {"ToolButton1Click", &TVornMF::ToolButton1Click},
        {"ToolButton2Click", &TVornMF::ToolButton2Click},
        {"PM01Click", &TVornMF::PM01Click},
        {"PM02Click", &TVornMF::PM02Click},
        {"M01_04_01Click", &TVornMF::M01_04_01Click},
        {"ToolButton8Click", &TVornMF::ToolButton8Click},
        {"ToolButton9Click", &TVornMF::ToolButton9Click},
        {"PM04Click", &TVornMF::PM04Click},
        {"M01_05_03Click", &TVornMF::M01_05_03Click},
        {"M01_05_04Click", &TVornMF::M01_05_04Click},
        {"M03_01Click", &TVornMF::M03_01Click},
        {"M03_02Click", &TVornMF::M03_02Click},
        {"M03_03Click", &TVornMF::M03_03Click},
        {"M03_04Click", &TVornMF::M03_04Click},
        {"M04_05Click", &TVornMF::M04_05Click},
        {"M04_06Click", &TVornMF::M04_06Click},
        {"M01_06Click", &TVornMF::M01_06Click},
        {"M04_03Click", &TVornMF::M04_03Click},
        {"M04_04Click", &TVornMF::M04_04Click},
        {"M05_02Click", &TVornMF::M05_02Click},
        {"M05_03Click", &TVornMF::M05_03Click},
    };
    return handlers.value(QByteArray(name), nullptr);
}

QString TVornMF::HandlerOf(const QAction* action) {
    return action->property("vornHandler").toString();
}

QString TVornMF::Caption(const QAction* action) {
    return action->text().section(u'\t', 0, 0);
}

QKeySequence TVornMF::ShownShortcut(const QAction* action) {
    return action->property("vornKey").value<QKeySequence>();
}

void TVornMF::BuildMenus() {
    QMenu* menu = nullptr;
    QMenu* sub = nullptr;
    QAction* subAction = nullptr;
    QList<QKeySequence> taken;
    for (const MenuEntry& e : kMenus) {
        const QString name = QString::fromLatin1(e.name);
        const QString caption = QCoreApplication::translate("TVornMF", e.caption);
        QMenu* into = sub ? sub : menu;
        switch (e.kind) {
        case Kind::Menu:
            menu = menuBar()->addMenu(caption);
            menu->setObjectName(name);
            break;
        case Kind::Submenu: {
            sub = new QMenu(caption, this);
            sub->setObjectName(name + QStringLiteral("Menu"));
            subAction = NewCommand(name, caption, "");
            subAction->setMenu(sub);
            menu->addAction(subAction);
            break;
        }
        case Kind::EndSubmenu:
            sub = nullptr;
            subAction = nullptr;
            break;
        case Kind::Separator:
            into->addSeparator();
            break;
        case Kind::Item:
        case Kind::TopItem: {
            QAction* a = NewCommand(name, caption, e.handler);
            const QKeySequence key(QString::fromLatin1(e.key));
            if (!key.isEmpty()) {
                a->setProperty("vornKey", key);
                if (taken.contains(key)) {
                    // A key given to two items belongs to the first in menu
                    // order; the later one only shows it.
                    a->setText(caption + u'\t' + key.toString(QKeySequence::NativeText));
                } else {
                    taken.append(key);
                    OwnedKey owned{a, key, {}};
                    if (subAction)
                        owned.parents.append(subAction);
                    ownedKeys_.append(owned);
                    a->setShortcut(key);
                }
            }
            if (e.kind == Kind::TopItem)
                menuBar()->addAction(a);
            else
                into->addAction(a);
            break;
        }
        }
    }
    BuildLanguageMenu();
    // A disabled submenu keeps its items' keys from acting.
    for (const OwnedKey& k : ownedKeys_) {
        for (QAction* parent : k.parents)
            connect(parent, &QAction::enabledChanged, this, &TVornMF::RefreshOwnedShortcuts);
    }
    // Shortcuts act while the window is active, whether or not the bar shows.
    addActions(commands_.values());

    QAction* toolBarItem = commands_.value(QStringLiteral("M04_04"));
    toolBarItem->setCheckable(true);
    toolBarItem->setChecked(true);
}

void TVornMF::RefreshOwnedShortcuts() {
    for (const OwnedKey& k : ownedKeys_) {
        bool reachable = true;
        for (const QAction* parent : k.parents)
            reachable = reachable && parent->isEnabled();
        k.action->setShortcut(reachable ? k.key : QKeySequence());
    }
}

void TVornMF::BuildLanguageMenu() {
    // Before the bar's own exit item. Each language is named in itself; the
    // choice is remembered and the windows speak it from the next start.
    auto* menu = new QMenu(QCoreApplication::translate("TVornMF", "语言 / Language(&L)"), this);
    menu->setObjectName(QStringLiteral("LanguageMenu"));
    auto* group = new QActionGroup(menu);
    const struct {
        vorn::Language language;
        const char* name;
        const char* objectName;
        const char* message;
    } choices[] = {
        {vorn::Language::Chinese, "中文", "LanguageChinese",
         "重新启动 Vorn 后，界面将使用中文。\nVorn will speak Chinese from its next start."},
        {vorn::Language::English, "English", "LanguageEnglish",
         "Vorn will speak English from its next start.\n重新启动 Vorn 后，界面将使用英文。"}};
    for (const auto& c : choices) {
        QAction* a = menu->addAction(QString::fromUtf8(c.name));
        a->setObjectName(QString::fromLatin1(c.objectName));
        a->setCheckable(true);
        a->setChecked(vorn::CurrentLanguage() == c.language);
        group->addAction(a);
        const vorn::Language language = c.language;
        const QString message = QString::fromUtf8(c.message);
        connect(a, &QAction::triggered, this, [this, language, message] {
            vorn::RememberLanguage(language);
            if (language != vorn::CurrentLanguage())
                QMessageBox::information(this, QStringLiteral("Vorn"), message, QMessageBox::Ok);
        });
    }
    menuBar()->insertMenu(commands_.value(QStringLiteral("M06")), menu);
}

void TVornMF::BuildToolBar() {
    toolBar_ = new QToolBar(QStringLiteral("ToolBar1"), this);
    toolBar_->setObjectName(QStringLiteral("ToolBar1"));
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);
    toolBar_->setIconSize(QSize(18, 18));
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolBar_->toggleViewAction()->setVisible(false);
    addToolBar(Qt::TopToolBarArea, toolBar_);

    for (const ToolEntry& t : kTools) {
        if (!*t.name) {
            toolBar_->addSeparator();
            continue;
        }
        QAction* a = NewCommand(QString::fromLatin1(t.name),
                                QCoreApplication::translate("TVornMF", t.caption), t.handler);
        a->setIcon(vorn::ToolIcon(t.picture));
        toolBar_->addAction(a);
        if (auto* button = qobject_cast<QToolButton*>(toolBar_->widgetForAction(a)))
            button->setFixedSize(55, 38);
    }

    for (const char* buttonName : {"ToolButton10", "ToolButton9"}) {
        QAction* button = commands_.value(QString::fromLatin1(buttonName));
        auto* menu = new QMenu(this);
        menu->setObjectName(QStringLiteral("PopupMenu_") + QString::fromLatin1(buttonName));
        for (const PopupEntry& p : kPopups) {
            if (qstrcmp(p.button, buttonName) == 0)
                menu->addAction(NewCommand(QString::fromLatin1(p.name),
                                           QCoreApplication::translate("TVornMF", p.caption),
                                           p.handler));
        }
        button->setMenu(menu);
        if (auto* tb = qobject_cast<QToolButton*>(toolBar_->widgetForAction(button))) {
            tb->setPopupMode(QToolButton::MenuButtonPopup);
            // Room for the drop-down arrow beside the picture.
            tb->setFixedSize(67, 38);
        }
    }
}

void TVornMF::BuildCentre() {
    auto* centre = new QWidget(this);
    auto* row = new QHBoxLayout(centre);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(3);

    tabs_ = new QTabWidget(centre);
    tabs_->setObjectName(QStringLiteral("PageControl1"));
    tabs_->setFixedWidth(kLeftColumnWidth);
    auto* tabStyle = new CompactTabStyle(QApplication::style()->name());
    tabStyle->setParent(tabs_);
    tabs_->tabBar()->setStyle(tabStyle);
    tabs_->setUsesScrollButtons(false);
    tabs_->addTab(Scrolled(BuildParametersTab()),
                  QCoreApplication::translate("TVornMF", "   参   数  "));
    tabs_->addTab(Scrolled(BuildArrayTab()), QCoreApplication::translate("TVornMF", " 成品拼板 "));
    tabs_->addTab(BuildToolingTab(), QStringLiteral(" Tooling "));
    tabs_->addTab(Scrolled(BuildPartsTab()), QCoreApplication::translate("TVornMF", "   部   件 "));
    tabs_->setTabEnabled(kToolingTab, false);
    BuildPaneButtons();
    row->addWidget(tabs_);
    row->addWidget(BuildRightArea(), 1);
    setCentralWidget(centre);
    // Where a finished export went and other quiet news.
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
}

void TVornMF::BuildPaneButtons() {
    const struct {
        QToolButton** button;
        const char* name;
        Qt::ArrowType arrow;
        const char* hint;
        void (TVornMF::*handler)();
    } buttons[] = {{&bitBtn1_, "BitBtn1", Qt::DownArrow, QT_TRANSLATE_NOOP("TVornMF", "显示下部"),
                    &TVornMF::BitBtn1Click},
                   {&bitBtn2_, "BitBtn2", Qt::UpArrow, QT_TRANSLATE_NOOP("TVornMF", "显示上部"),
                    &TVornMF::BitBtn2Click}};
    for (const auto& b : buttons) {
        auto* button = new QToolButton(tabs_);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setArrowType(b.arrow);
        button->setToolTip(QCoreApplication::translate("TVornMF", b.hint));
        button->setFixedSize(16, 16);
        button->hide();
        connect(button, &QToolButton::clicked, this, [this, handler = b.handler] {
            RunCommand([this, handler] { (this->*handler)(); });
        });
        *b.button = button;
    }
    // Scrolling by wheel or keys, a page that grows or a tab change moves
    // them as well.
    for (int i = 0; i < tabs_->count(); ++i)
        if (auto* area = qobject_cast<QScrollArea*>(tabs_->widget(i))) {
            connect(area->verticalScrollBar(), &QScrollBar::valueChanged, this,
                    &TVornMF::UpdatePaneButtons);
            connect(area->verticalScrollBar(), &QScrollBar::rangeChanged, this,
                    &TVornMF::UpdatePaneButtons);
        }
    connect(tabs_, &QTabWidget::currentChanged, this, &TVornMF::UpdatePaneButtons);
}

QWidget* TVornMF::BuildParametersTab() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet1"));
    auto* v = new QVBoxLayout(page);
    v->setContentsMargins(3, 4, 2, 2);
    v->setSpacing(4);

    const char* job = "TempInput";
    auto* g = FieldGrid(page);
    SizeRow(g, 0, page, QCoreApplication::translate("TVornMF", "成品尺寸"),
            BoundField(page, "DBEdit1", job, "Set_L", Look::Cyan, Input::Number, 7),
            BoundField(page, "DBEdit2", job, "Set_W", Look::Cyan, Input::Number, 7));
    SizeRow(g, 1, page, QCoreApplication::translate("TVornMF", "拼板间距"),
            BoundField(page, "DBEdit3", job, "Set_C", Look::Cyan, Input::Number, 7), nullptr);
    MarginRow(g, 2, page, QCoreApplication::translate("TVornMF", "边距限制"),
              QCoreApplication::translate("TVornMF", "左右"),
              BoundField(page, "DBEdit4", job, "BorderX_L", Look::Plain, Input::Number, 7),
              BoundField(page, "DBEdit5", job, "BorderX_W", Look::Plain, Input::Number, 7));

    edit5_ = new QSpinBox(page);
    edit5_->setObjectName(QStringLiteral("Edit5"));
    edit5_->setRange(1, 2);
    edit5_->setValue(1);
    edit5_->setFixedSize(kFieldWidth, kRowHeight);
    edit5_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    g->addWidget(Label(page, QCoreApplication::translate("TVornMF", "Panel种类")), 3, 0, 1, 2);
    g->addWidget(edit5_, 3, 2);

    SizeRow(g, 4, page, QCoreApplication::translate("TVornMF", "最大Panel"),
            BoundField(page, "DBEdit17", job, "Max_PL", Look::Plain, Input::Number),
            BoundField(page, "DBEdit18", job, "Max_PW", Look::Plain, Input::Number));
    SizeRow(g, 5, page, QCoreApplication::translate("TVornMF", "最小Panel"),
            BoundField(page, "DBEdit19", job, "Min_PL", Look::Plain, Input::Number),
            BoundField(page, "DBEdit20", job, "Min_PW", Look::Plain, Input::Number));
    g->addWidget(Label(page, QCoreApplication::translate("TVornMF", "Panel 最大长宽比例")), 6, 0, 1,
                 4);
    g->addWidget(BoundField(page, "DBEdit21", job, "PLPW_ratio", Look::Plain, Input::Number), 6, 4);
    g->addWidget(Label(page, QCoreApplication::translate("TVornMF", "最低板材利用率限制")), 7, 0, 1,
                 4);
    g->addWidget(BoundField(page, "DBEdit22", job, "Min_lv", Look::Plain, Input::Number), 7, 4);
    g->addWidget(Label(page, QStringLiteral("%")), 7, 5);

    // Search options.
    auto* options = new QFrame(page);
    options->setFrameShape(QFrame::StyledPanel);
    auto* og = new QGridLayout(options);
    og->setContentsMargins(4, 2, 2, 2);
    og->setVerticalSpacing(1);
    autoPanel_ = new QRadioButton(QCoreApplication::translate("TVornMF", "自动Panel"), options);
    autoPanel_->setObjectName(QStringLiteral("RadioButton3"));
    setPanel_ = new QRadioButton(QCoreApplication::translate("TVornMF", "设定Panel"), options);
    setPanel_->setObjectName(QStringLiteral("RadioButton4"));
    auto* panelMode = new QButtonGroup(options);
    panelMode->addButton(autoPanel_);
    panelMode->addButton(setPanel_);
    bothPanel_ = new QCheckBox(QCoreApplication::translate("TVornMF", "允许异向拼板"), options);
    bothPanel_->setObjectName(QStringLiteral("CheckBox1"));
    bothBase_ = new QCheckBox(QCoreApplication::translate("TVornMF", "允许异向开料"), options);
    bothBase_->setObjectName(QStringLiteral("CheckBox2"));
    tooling_ = new QCheckBox(QCoreApplication::translate("TVornMF", "允许Tooking"), options);
    tooling_->setObjectName(QStringLiteral("CheckBox3"));
    bestBase_ = new QRadioButton(QCoreApplication::translate("TVornMF", "获取最佳板材"), options);
    bestBase_->setObjectName(QStringLiteral("RadioButton6"));
    allBases_ = new QRadioButton(QCoreApplication::translate("TVornMF", "扫描所有板材"), options);
    allBases_->setObjectName(QStringLiteral("RadioButton7"));
    auto* baseMode = new QButtonGroup(options);
    baseMode->addButton(bestBase_);
    baseMode->addButton(allBases_);
    og->addWidget(autoPanel_, 0, 0);
    og->addWidget(setPanel_, 0, 1);
    og->addWidget(Line(options), 1, 0, 1, 2);
    og->addWidget(bothPanel_, 2, 0);
    og->addWidget(bothBase_, 2, 1);
    og->addWidget(tooling_, 3, 0);
    og->addWidget(Line(options), 4, 0, 1, 2);
    og->addWidget(bestBase_, 5, 0);
    og->addWidget(allBases_, 5, 1);
    // Best packing of a typed panel: more boards where the blocks leave room.
    // Short captions beside "允许Tooking"; each item's hint says it whole.
    packing_ = new QComboBox(options);
    packing_->setObjectName(QStringLiteral("ComboBoxPacking"));
    const struct {
        const char* caption;
        const char* hint;
        vorn::PackingOption option;
    } packings[] = {
        {QT_TRANSLATE_NOOP("TVornMF", "常规排版"),
         QT_TRANSLATE_NOOP("TVornMF", "最优排版：关（按常规方块排列）"), vorn::PackingOption::Off},
        {QT_TRANSLATE_NOOP("TVornMF", "最优·锣板"),
         QT_TRANSLATE_NOOP("TVornMF", "最优排版：锣板（任意排列）"), vorn::PackingOption::Routed},
        {QT_TRANSLATE_NOOP("TVornMF", "最优·V-CUT"),
         QT_TRANSLATE_NOOP("TVornMF", "最优排版：V-CUT（直通切割）"), vorn::PackingOption::VScored},
    };
    for (const auto& p : packings) {
        packing_->addItem(QCoreApplication::translate("TVornMF", p.caption), int(p.option));
        packing_->setItemData(packing_->count() - 1, QCoreApplication::translate("TVornMF", p.hint),
                              Qt::ToolTipRole);
    }
    packing_->setToolTip(QCoreApplication::translate(
        "TVornMF", "最优排版：\"拼 板\"时（允许异向拼板）寻找比常规排列更多的拼板数。\n"
                   "锣板：任意排列；V-CUT：只用贯穿整板的直线切割"));
    packing_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    packing_->setMinimumContentsLength(6);
    og->addWidget(packing_, 3, 1);
    g->addWidget(options, 8, 0, 1, 7);

    // The chosen plan, in the same columns as the inputs.
    const int top = 9;
    auto* r = g;
    auto* panelSize = Label(page, QCoreApplication::translate("TVornMF", "Panel尺寸"));
    panelSize->setObjectName(QStringLiteral("Label24"));
    r->addWidget(panelSize, top + 0, 0, 1, 2);
    r->addWidget(BoundField(page, "DBEdit7", job, "Panel_L", Look::Cyan, Input::Number), top + 0,
                 2);
    r->addWidget(Times(page), top + 0, 3);
    r->addWidget(BoundField(page, "DBEdit8", job, "Panel_W", Look::Cyan, Input::Number), top + 0,
                 4);
    MarginRow(r, top + 1, page, QCoreApplication::translate("TVornMF", "边  距"),
              QCoreApplication::translate("TVornMF", "左右"),
              BoundField(page, "DBEdit9", job, "Border_L", Look::Info, Input::Shown),
              BoundField(page, "DBEdit10", job, "Border_W", Look::Info, Input::Shown));
    r->addWidget(Label(page, QCoreApplication::translate("TVornMF", "拼板数量 ")), top + 2, 0, 1,
                 2);
    r->addWidget(BoundField(page, "DBEdit15", job, "Panel", Look::Info, Input::Shown), top + 2, 2);
    r->addWidget(Label(page, QStringLiteral("Pas/Panel")), top + 2, 3, 1, 3);
    r->addWidget(Label(page, QCoreApplication::translate("TVornMF", "拼板利用率")), top + 3, 0, 1,
                 2);
    r->addWidget(BoundField(page, "DBEdit16", job, "Panel_lv", Look::Info, Input::Shown), top + 3,
                 2);
    r->addWidget(Label(page, QStringLiteral("%")), top + 3, 3);
    // The panel 1 / panel 2 toggle sits under the second field column.
    auto* toggle = new QToolButton(page);
    toggle->setObjectName(QStringLiteral("SpeedButton11"));
    toggle->setText(QStringLiteral("Panel 2"));
    toggle->setFixedSize(kFieldWidth, kRowHeight + 2);
    toggle->setEnabled(false);
    r->addWidget(toggle, top + 3, 4);
    r->addWidget(Line(page), top + 4, 0, 1, 6);
    SizeRow(r, top + 5, page, QCoreApplication::translate("TVornMF", "板材尺寸"),
            BoundField(page, "DBEdit11", job, "Base_L", Look::Info, Input::Shown),
            BoundField(page, "DBEdit12", job, "Base_W", Look::Info, Input::Shown));
    r->addWidget(Label(page, QCoreApplication::translate("TVornMF", "开板数量")), top + 6, 0, 1, 2);
    r->addWidget(BoundField(page, "DBEdit13", job, "Panel_N", Look::Info, Input::Shown), top + 6,
                 2);
    r->addWidget(Label(page, QStringLiteral("Panel/Sheet")), top + 6, 3, 1, 3);
    r->addWidget(Label(page, QCoreApplication::translate("TVornMF", "板材利用率")), top + 7, 0, 1,
                 2);
    r->addWidget(BoundField(page, "DBEdit14", job, "Base_lv", Look::Info, Input::Shown), top + 7,
                 2);
    r->addWidget(Label(page, QStringLiteral("%")), top + 7, 3);
    v->addLayout(g);
    v->addStretch();
    return page;
}

QWidget* TVornMF::BuildArrayTab() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet2"));
    auto* v = new QVBoxLayout(page);
    v->setContentsMargins(4, 6, 4, 4);
    v->setSpacing(6);
    const char* cus = "TempInputCus";
    auto* g = FieldGrid(page);
    SizeRow(g, 0, page, QCoreApplication::translate("TVornMF", "单元尺寸"),
            BoundField(page, "DBEdit23", cus, "Part_L", Look::Cyan, Input::Number, 7),
            BoundField(page, "DBEdit24", cus, "Part_W", Look::Cyan, Input::Number, 7));
    SizeRow(g, 1, page, QCoreApplication::translate("TVornMF", "拼板间距"),
            BoundField(page, "DBEdit25", cus, "Part_C", Look::Cyan, Input::Number, 7), nullptr);
    MarginRow(g, 2, page, QCoreApplication::translate("TVornMF", "边距  左右"), QString(),
              BoundField(page, "DBEdit26", cus, "SetBorder_L", Look::Cyan, Input::Number, 7),
              BoundField(page, "DBEdit27", cus, "SetBorder_W", Look::Cyan, Input::Number, 7));
    SizeRow(g, 3, page, QCoreApplication::translate("TVornMF", "最大成品尺寸"),
            BoundField(page, "DBEdit28", cus, "Max_SetL", Look::Plain, Input::Number),
            BoundField(page, "DBEdit29", cus, "Max_SetW", Look::Plain, Input::Number));
    SizeRow(g, 4, page, QCoreApplication::translate("TVornMF", "最小成品尺寸"),
            BoundField(page, "DBEdit30", cus, "Min_SetL", Look::Plain, Input::Number),
            BoundField(page, "DBEdit31", cus, "Min_SetW", Look::Plain, Input::Number));
    g->addWidget(Line(page), 5, 0, 1, 6);
    SizeRow(g, 6, page, QCoreApplication::translate("TVornMF", "成品尺寸"),
            BoundField(page, "DBEdit32", cus, "Set_L", Look::Cyan, Input::Number, 7),
            BoundField(page, "DBEdit33", cus, "Set_W", Look::Cyan, Input::Number, 7));
    SizeRow(g, 7, page, QCoreApplication::translate("TVornMF", "拼板数量"),
            BoundField(page, "DBEdit34", cus, "Panel", Look::Info, Input::Shown), nullptr);
    SizeRow(g, 8, page, QCoreApplication::translate("TVornMF", "利 用 率"),
            BoundField(page, "DBEdit35", cus, "Panel_lv", Look::Info, Input::Shown), nullptr);
    v->addLayout(g);
    auto* go =
        new QPushButton(QCoreApplication::translate("TVornMF", "到 智 能 拼 板 开 料 处 理"), page);
    go->setObjectName(QStringLiteral("BitBtn3"));
    v->addSpacing(6);
    v->addWidget(go);
    v->addStretch();
    return page;
}

QWidget* TVornMF::BuildToolingTab() {
    toolingPage_ = new vorn::ToolingPage;
    return toolingPage_;
}

QWidget* TVornMF::BuildPartsTab() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet4"));
    auto* v = new QVBoxLayout(page);
    v->setContentsMargins(4, 6, 4, 4);
    auto* g = new QGridLayout;
    g->setHorizontalSpacing(6);
    g->setVerticalSpacing(4);
    auto text = [page](const char* name) {
        auto* e = new QLineEdit(page);
        e->setObjectName(QString::fromLatin1(name));
        return e;
    };
    partNumber_ = text("Edit1");
    partNumber_->setMaxLength(50);
    customerPart_ = text("Edit2");
    customerPart_->setMaxLength(50);
    // Part numbers are kept in capitals.
    for (QLineEdit* e : {partNumber_, customerPart_}) {
        connect(e, &QLineEdit::textEdited, e, [e](const QString& t) {
            if (t != t.toUpper()) {
                const int pos = e->cursorPosition();
                e->setText(t.toUpper());
                e->setCursorPosition(pos);
            }
        });
    }
    auto* layer = BoundField(page, "DBEdit6", "TempInput", "Layer", Look::Plain, Input::Integer, 4);
    layer->setFixedWidth(kFieldWidth);
    operator_ = text("Edit3");
    operator_->setMaxLength(50);
    date_ = text("Edit4");
    date_->setReadOnly(true);
    date_->setFocusPolicy(Qt::NoFocus);
    SetLook(date_, Look::Face);
    g->addWidget(Label(page, QCoreApplication::translate("TVornMF", "部件编号")), 0, 0);
    g->addWidget(partNumber_, 0, 1);
    g->addWidget(Label(page, QCoreApplication::translate("TVornMF", "客户型号")), 1, 0);
    g->addWidget(customerPart_, 1, 1);
    g->addWidget(Label(page, QCoreApplication::translate("TVornMF", "板  层  数")), 2, 0);
    g->addWidget(layer, 2, 1, Qt::AlignLeft);
    g->addWidget(Label(page, QCoreApplication::translate("TVornMF", "操  作  员")), 3, 0);
    g->addWidget(operator_, 3, 1);
    g->addWidget(Label(page, QCoreApplication::translate("TVornMF", "日        期")), 4, 0);
    g->addWidget(date_, 4, 1);
    v->addLayout(g);
    v->addWidget(Label(page, QCoreApplication::translate("TVornMF", "备注")));
    note_ = new QPlainTextEdit(page);
    note_->setObjectName(QStringLiteral("Memo1"));
    v->addWidget(note_, 1);
    return page;
}

QWidget* TVornMF::BuildRightArea() {
    splitter_ = new QSplitter(Qt::Vertical);
    splitter_->setObjectName(QStringLiteral("Splitter1"));
    splitter_->setChildrenCollapsible(false);

    auto* top = new QWidget(splitter_);
    auto* tv = new QVBoxLayout(top);
    tv->setContentsMargins(0, 0, 0, 0);
    tv->setSpacing(0);

    // Header line: the view selectors sit at fixed places that the view
    // handling moves; the unit button keeps to the right edge.
    auto* header = new QFrame(top);
    header->setObjectName(QStringLiteral("Panel1"));
    header->setFrameShape(QFrame::StyledPanel);
    header->setFixedHeight(26);
    auto* hl = new QHBoxLayout(header);
    hl->setContentsMargins(6, 0, 6, 0);
    auto* selectors = new QWidget(header);
    selectors->setObjectName(QStringLiteral("ViewSelectors"));
    selectors->setFixedSize(440, 24);
    auto* title = new QLabel(QCoreApplication::translate("TVornMF", "示意图"), selectors);
    title->setObjectName(QStringLiteral("Label33"));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    title->setGeometry(0, 0, 50, 24);
    struct Selector {
        const char* name;
        const char* caption;
        int x;
        bool visible;
    };
    const Selector views[] = {
        {"RadioButton1", QT_TRANSLATE_NOOP("TVornMF", "拼版图"), 54, true},
        {"RadioButton5", QT_TRANSLATE_NOOP("TVornMF", "Panel2 拼版图"), 160, false},
        {"RadioButton2", QT_TRANSLATE_NOOP("TVornMF", "开料图"), 140, true},
        {"RadioButton8", QT_TRANSLATE_NOOP("TVornMF", "成品拼版图"), 214, false}};
    auto* viewGroup = new QButtonGroup(selectors);
    for (const Selector& s : views) {
        auto* b = new QRadioButton(QCoreApplication::translate("TVornMF", s.caption), selectors);
        b->setObjectName(QString::fromLatin1(s.name));
        b->adjustSize();
        b->move(s.x, (24 - b->height()) / 2);
        b->setVisible(s.visible);
        viewGroup->addButton(b);
    }
    selectors->findChild<QRadioButton*>(QStringLiteral("RadioButton1"))->setChecked(true);
    hl->addWidget(selectors);
    hl->addStretch();
    hl->addWidget(new QLabel(QStringLiteral("Unit :"), header));
    unitButton_ = new QToolButton(header);
    unitButton_->setObjectName(QStringLiteral("UnitButton"));
    unitButton_->setText(vorn::InchCaption());
    unitButton_->setMinimumWidth(44);
    hl->addWidget(unitButton_);
    tv->addWidget(header);

    image1_ = new QLabel(top);
    image1_->setObjectName(QStringLiteral("Image1"));
    image1_->setMinimumSize(1, 1);
    image1_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    image1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    image1_->setAutoFillBackground(true);
    image1_->installEventFilter(this);
    tv->addWidget(image1_, 1);
    BuildProgressBox(image1_);

    dbGrid1_ = new QTableView(splitter_);
    dbGrid1_->setObjectName(QStringLiteral("DBGrid1"));
    dbGrid1_->setToolTip(QCoreApplication::translate("TVornMF", "“双击”到“上传数据”"));
    vorn::SetUpResultGrid(dbGrid1_);

    splitter_->setStretchFactor(0, 3);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({340, 150});
    return splitter_;
}

void TVornMF::BuildProgressBox(QWidget* over) {
    progressBox_ = new QFrame(over);
    progressBox_->setObjectName(QStringLiteral("Panel3"));
    progressBox_->setFrameShape(QFrame::Panel);
    progressBox_->setFrameShadow(QFrame::Raised);
    progressBox_->setAutoFillBackground(true);
    progressBox_->setFixedSize(400, 48);
    auto* v = new QVBoxLayout(progressBox_);
    v->setContentsMargins(10, 3, 12, 5);
    v->setSpacing(2);
    auto* line = new QHBoxLayout;
    line->addWidget(
        new QLabel(QCoreApplication::translate("TVornMF", "拼板开料进度："), progressBox_));
    progressPercent_ = new QLabel(QStringLiteral("0%"), progressBox_);
    progressPercent_->setObjectName(QStringLiteral("Label40"));
    progressPercent_->setMinimumWidth(48);
    line->addWidget(progressPercent_);
    progressTime_ = new QLabel(progressBox_);
    progressTime_->setObjectName(QStringLiteral("ProgressTime"));
    line->addWidget(progressTime_);
    line->addStretch();
    line->addWidget(
        new QLabel(QCoreApplication::translate("TVornMF", "按\"Esc\"键取消"), progressBox_));
    v->addLayout(line);
    progressBar_ = new QProgressBar(progressBox_);
    progressBar_->setObjectName(QStringLiteral("ProgressBar1"));
    progressBar_->setRange(0, 1000);
    progressBar_->setValue(0);
    progressBar_->setTextVisible(false);
    progressBar_->setFixedHeight(14);
    v->addWidget(progressBar_);
    progressBox_->hide();
}

bool TVornMF::eventFilter(QObject* watched, QEvent* event) {
    if (watched == image1_ && event->type() == QEvent::Resize) {
        // The banner always fills the area.
        if (showsWelcome_)
            image1_->setPixmap(QPixmap::fromImage(vorn::WelcomePicture(image1_->size())));
        FormResize();
    }
    return QMainWindow::eventFilter(watched, event);
}

void TVornMF::SetUpCommandEnabling() {
    auto list = [this](auto& names) {
        QList<QAction*> out;
        for (const char* n : names)
            out.append(commands_.value(QString::fromLatin1(n)));
        return out;
    };
    enabling_.SetJobCommands(list(kJobCommands));
    enabling_.SetArchiveCommands(list(kArchiveCommands));
    enabling_.SetShowWelcome([this] { ShowWelcomePicture(); });
}

void TVornMF::SetInitialStates() {
    autoPanel_->setChecked(true);
    bothPanel_->setChecked(true);
    bothBase_->setChecked(true);
    tooling_->setChecked(false);
    bestBase_->setChecked(true);
    enabling_.DisableJobCommands();
    enabling_.UpdateArchiveCommands(false);
    for (const char* n : kDeleteCommands)
        commands_.value(QString::fromLatin1(n))->setEnabled(false);
    for (const char* n : kAllPanelsCommands)
        commands_.value(QString::fromLatin1(n))->setEnabled(false);
}

void TVornMF::CreateSheetWindow() {
    if (!sheetWindow_ && IsUsable())
        sheetWindow_ = new vorn::TForm5(*data_, this);
}

bool TVornMF::UnitIsMm() const {
    return unitButton_->text() == vorn::MmCaption();
}

void TVornMF::ShowWelcomePicture() {
    showsWelcome_ = true;
    image1_->setPixmap(QPixmap::fromImage(vorn::WelcomePicture(image1_->size())));
}

void TVornMF::RunCommand(const std::function<void()>& command) {
    try {
        command();
    } catch (const vorn::SearchCancelled&) {
        // A cancelled search ends its command without a word.
    } catch (const std::exception& e) {
        QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Vorn"),
                              QString::fromUtf8(e.what()));
    } catch (...) {
        // Nothing may leave a command through Qt's event delivery.
        QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Vorn"),
                              QCoreApplication::translate("TVornMF", "命令意外出错，未能完成。"));
    }
}

void TVornMF::SetJobRows(JobRows* rows) {
    jobRows_ = rows;
    if (!rows)
        return;
    for (QLineEdit* e : findChildren<QLineEdit*>()) {
        const QString table = e->property("vornTable").toString();
        const QByteArray column = e->property("vornColumn").toString().toLatin1();
        if (table == QLatin1String("TempInput"))
            rows->Job()->Bind(e, column.constData());
        else if (table == QLatin1String("TempInputCus"))
            rows->Array()->Bind(e, column.constData());
    }
}

vorn::WorkRow* TVornMF::JobRow() {
    return jobRows_ ? jobRows_->Job() : nullptr;
}

vorn::WorkRow* TVornMF::ArrayRow() {
    return jobRows_ ? jobRows_->Array() : nullptr;
}

vorn::SearchOptions TVornMF::Options() const {
    vorn::SearchOptions o;
    o.panelKinds = edit5_->text();
    o.autoPanel = autoPanel_->isChecked();
    o.bestBase = bestBase_->isChecked();
    o.bothPanel = bothPanel_->isChecked();
    o.bothBase = bothBase_->isChecked();
    o.tooling = tooling_->isChecked();
    o.packing = static_cast<vorn::PackingOption>(packing_->currentData().toInt());
    return o;
}

void TVornMF::SetOptions(const vorn::SearchOptions& o) {
    bool ok = false;
    const int kinds = o.panelKinds.toInt(&ok);
    edit5_->setValue(ok ? kinds : 1);
    (o.autoPanel ? autoPanel_ : setPanel_)->setChecked(true);
    (o.bestBase ? bestBase_ : allBases_)->setChecked(true);
    bothPanel_->setChecked(o.bothPanel);
    bothBase_->setChecked(o.bothBase);
    tooling_->setChecked(o.tooling);
    packing_->setCurrentIndex(std::max(0, packing_->findData(int(o.packing))));
}

void TVornMF::StartNewJob() {
    // The last plan's boards go with it.
    givenBoards_.clear();
    givenBoards2_.clear();
    givenUnits_.clear();
    // 1. The defaults file is reread for every new job.
    DefaultsList_.Load(DefaultsPath());
    const bool mm = UnitIsMm();
    // A bad entry takes its built-in value and the rest still loads: the
    // user is told once and can mend the file in the defaults window.
    QStringList problems;

    // 2-3. A fresh job row from the defaults.
    if (jobRows_) {
        jobRows_->CloseResults();
        jobRows_->Job()->Restart();
        vorn::ApplyJobDefaults(DefaultsList_, *jobRows_->Job(), mm, &problems);
    }

    // 4-5. Panel kinds and search options.
    SetOptions(vorn::OptionsFromDefaults(DefaultsList_, &problems));

    // 6. Part identification.
    partNumber_->clear();
    customerPart_->clear();
    operator_->clear();
    date_->clear();
    note_->clear();

    // 7. A fresh array row.
    if (jobRows_) {
        jobRows_->Array()->Restart();
        vorn::ApplyArrayDefaults(DefaultsList_, *jobRows_->Array(), mm, &problems);
    }

    // 8. Commands. A new job has no plan and so no holes: the tooling tab
    // waits for the next plan, as after a search with 允许Tooking off.
    if (Data())
        Data()->TempTooling.close();
    tabs_->setTabEnabled(kToolingTab, false);
    ShowWelcomePicture();
    DisableJobCommands();
    UpdateArchiveCommands();
    for (const char* n : kDeleteCommands)
        commands_.value(QString::fromLatin1(n))->setEnabled(false);
    vorn::ReportDefaultsProblems(this, problems);
}

void TVornMF::ApplyJobParameterChanges() {
    vorn::WorkRow* job = JobRow();
    if (!job || !job->IsModified())
        return; // an unedited job keeps its plan
    job->Post();
    jobRows_->CloseResults();
    ShowWelcomePicture();
    auto* whole = findChild<QRadioButton*>(QStringLiteral("RadioButton8"));
    if (whole->isChecked())
        findChild<QRadioButton*>(QStringLiteral("RadioButton1"))->setChecked(true);
    whole->hide();
    // The plan no longer fits the parameters: only the inputs stay.
    job->Edit();
    job->ClearAllExcept({"ID", "Set_L", "Set_W", "Set_C", "BorderX_L", "BorderX_W", "Max_PL",
                         "Max_PW", "Min_PL", "Min_PW", "PLPW_ratio", "Min_lv"});
    job->Post();
    UpdateJobCommands();
}

bool TVornMF::UpdateJobCommands() {
    const bool arrayTab = tabs_->currentIndex() == 1;
    vorn::WorkRow* job = JobRow();
    vorn::WorkRow* array = ArrayRow();
    auto none = [](const char*) { return 0.0; };
    if (!job || !job->IsOpen() || !array || !array->IsOpen()) {
        // Without the rows there is no plan.
        enabling_.UpdateJobCommands(arrayTab, none, none);
        return false;
    }
    return enabling_.UpdateJobCommands(
        arrayTab, [job](const char* c) { return job->Number(c); },
        [array](const char* c) { return array->Number(c); });
}

void TVornMF::DisableJobCommands() {
    enabling_.DisableJobCommands();
}

void TVornMF::UpdateArchiveCommands() {
    enabling_.UpdateArchiveCommands(jobRows_ && jobRows_->SavedPartsExist());
}

void TVornMF::M03_04Click() {
    vorn::WorkRow* job = JobRow();
    vorn::WorkRow* array = ArrayRow();
    if (!job || !job->IsOpen() || !array || !array->IsOpen())
        return;
    // A board size still being typed drops the plan before the window posts it.
    if (panel_)
        panel_->SettleFocusedField();
    job->CommitFields();
    array->CommitFields();
    vorn::TForm9 window(*this, this);
    window.exec();
}

void TVornMF::M01_06Click() {
    close();
}

void TVornMF::M04_03Click() {
    vorn::StartCalculator();
}

void TVornMF::M04_04Click() {
    toolBar_->setVisible(commands_.value(QStringLiteral("M04_04"))->isChecked());
}

void TVornMF::M05_02Click() {
    TForm1 about(this);
    about.exec();
}

void TVornMF::M05_03Click() {
    // Help is a window of its own beside the program; one at a time.
    if (help_) {
        help_->raise();
        help_->activateWindow();
        static_cast<vorn::HelpWindow*>(help_.data())->ShowContext(9999);
        return;
    }
    auto* help = vorn::HelpWindow::Open(QDir(programDir_).filePath(vorn::HelpWindow::FileName()),
                                        9999, this);
    if (help)
        help_ = help;
}

void TVornMF::closeEvent(QCloseEvent* event) {
    if (SearchRunning()) {
        // The search unwinds at its next progress step, then the window closes.
        closeRequested_ = true;
        event->ignore();
        return;
    }
    // No question: the job lives only in memory and is not kept.
    if (help_)
        help_->close();
    event->accept();
    QApplication::quit();
}

void TVornMF::ShowPlanColumns(vorn::Cursor& plans) {
    resultModel_->setCursor(&plans);
    QStringList columns;
    for (const vorn::ResultColumn& c : vorn::kResultColumns)
        columns << QString::fromLatin1(c.field);
    resultModel_->setColumns(columns);
    for (int i = 0; i < int(std::size(vorn::kResultColumns)); ++i)
        resultModel_->setColumnTitle(
            i, QCoreApplication::translate("ResultGrid", vorn::kResultColumns[i].title));
}
