#include "MainWindow.h"
#include "AboutBox.h"
#include "HelpWindow.h"
#include "SearchInterfaces.h"
#include "SingleInstance.h"
#include "Startup.h"
#include "VornApplication.h"
#include "WindowTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocalSocket>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUuid>
#include <atomic>
#include <stdexcept>
#include <thread>

namespace {

// Takes the desktop's "open this file", so that no program starts.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

using vorn::test::Shot;

// Dismisses the next modal dialog a command opens (the export's file
// dialog, the search's warning).
void DismissNextModal() {
    auto* timer = new QTimer(qApp);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            timer->deleteLater();
            dialog->reject();
        }
    });
    timer->start();
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    // Every test gets its own program directory with the shipped files.
    std::unique_ptr<vorn::test::ProgramDir> dir_;
    std::unique_ptr<TVornMF> window_;

    void WriteDefaults(const QByteArray& text) { vorn::test::WriteDefaults(*dir_, text); }
    template <class T> T* Child(const char* name) const {
        T* w = window_->findChild<T*>(QString::fromLatin1(name));
        if (!w)
            qWarning("no child %s", name);
        return w;
    }
    QAction* Command(const char* name) const { return window_->Command(QString::fromLatin1(name)); }

private slots:
    void init() {
        dir_ = NewProgramDir();
        QVERIFY(dir_);
    }
    void cleanup() {
        window_.reset();
        dir_.reset();
    }

    void startUpBuildsTheFrame() {
        window_ = vorn::CreateMainWindow(dir_->path());
        QVERIFY(window_);
        // The sheet-materials window exists, hidden, once the main window does.
        QVERIFY(window_->SheetWindow());
        QVERIFY(!window_->SheetWindow()->isVisible());
        // The data module and a new job from the shipped defaults.
        vorn::TDataM1* data = window_->Data();
        QVERIFY(data && data->isUsable());
        QVERIFY(data->TempInput.isOpen());
        QVERIFY(data->TempInputCus.isOpen());
        QVERIFY(!data->TempResult.isOpen());
        QCOMPARE(data->TempInput.asDouble("Set_C"), 0.1);
        QCOMPARE(Child<QLineEdit>("DBEdit3")->text(), QStringLiteral("0.1000"));
        QCOMPARE(Child<QLineEdit>("DBEdit17")->text(), QStringLiteral("24.500"));
        QVERIFY(Child<QCheckBox>("CheckBox1")->isChecked());
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        QCOMPARE(window_->windowTitle(), QStringLiteral("Vorn"));
        QCOMPARE(window_->size(), QSize(800, 589));
        QCOMPARE(window_->minimumSize().height(), 482);
        QVERIFY(window_->minimumSize().width() >= 617);
        {
            // At its smallest the window shows every tool-bar command.
            const QSize size = window_->size();
            window_->resize(window_->minimumSize());
            QTRY_COMPARE(window_->size(), window_->minimumSize());
            auto* bar = window_->findChild<QToolBar*>(QStringLiteral("ToolBar1"));
            for (QAction* a : bar->actions()) {
                if (a->isSeparator())
                    continue;
                const QWidget* button = bar->widgetForAction(a);
                QVERIFY2(button && button->isVisible() && bar->rect().contains(button->geometry()),
                         qPrintable(a->text()));
            }
            vorn::test::Shot(window_.get(), QStringLiteral("main_window_smallest"));
            // The parameters page is taller than the window now: the lower
            // pane button shows its lower end, the upper one its upper end.
            auto* down = Child<QToolButton>("BitBtn1");
            auto* up = Child<QToolButton>("BitBtn2");
            auto* page = qobject_cast<QScrollArea*>(window_->Tabs()->currentWidget());
            QVERIFY(page);
            QTRY_VERIFY(down->isVisible());
            QVERIFY(!up->isVisible());
            QVERIFY(page->widget()->height() > page->viewport()->height());
            QTest::mouseClick(down, Qt::LeftButton);
            QCOMPARE(page->verticalScrollBar()->value(), page->verticalScrollBar()->maximum());
            QVERIFY(up->isVisible() && !down->isVisible());
            QVERIFY(window_->Tabs()->rect().contains(up->geometry()));
            vorn::test::Shot(window_.get(), QStringLiteral("main_window_smallest_lower_end"));
            QTest::mouseClick(up, Qt::LeftButton);
            QCOMPARE(page->verticalScrollBar()->value(), 0);
            QVERIFY(down->isVisible() && !up->isVisible());
            window_->resize(size);
            QTRY_COMPARE(window_->size(), size);
            // Tall enough for the whole page: no pane button.
            window_->resize(size.width(), 900);
            QTRY_VERIFY(!down->isVisible() && !up->isVisible());
            window_->resize(size);
            QTRY_COMPARE(window_->size(), size);
        }
        QCOMPARE(window_->pos(), QPoint(0, 0));
        QVERIFY(!window_->SheetWindow()->isVisible());

        // Tabs in order with their blanks.
        QTabWidget* tabs = window_->Tabs();
        QCOMPARE(tabs->width(), 240);
        const QStringList captions{QStringLiteral("   参   数  "), QStringLiteral(" 成品拼板 "),
                                   QStringLiteral(" Tooling "), QStringLiteral("   部   件 ")};
        QCOMPARE(tabs->count(), 4);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(tabs->tabText(i), captions[i]);
        QVERIFY(!tabs->isTabEnabled(2));

        // Right area: header, selectors, unit button, welcome picture.
        QCOMPARE(Child<QRadioButton>("RadioButton1")->text(), QStringLiteral("拼版图"));
        QVERIFY(Child<QRadioButton>("RadioButton1")->isChecked());
        QVERIFY(Child<QRadioButton>("RadioButton2")->isVisible());
        QVERIFY(!Child<QRadioButton>("RadioButton5")->isVisible());
        QVERIFY(!Child<QRadioButton>("RadioButton8")->isVisible());
        QCOMPARE(window_->UnitButton()->text(), QStringLiteral("Inch"));
        QVERIFY(window_->ShowsWelcome());
        QCOMPARE(window_->DiagramImage()->pixmap().size(), window_->DiagramImage()->size());

        // Result grid columns, titles and widths.
        QTableView* grid = window_->ResultGrid();
        QCOMPARE(grid->toolTip(), QStringLiteral("“双击”到“上传数据”"));
        QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
        const QList<QPair<QString, int>> columns{
            {"序号", 24},       {"坯板1尺寸", 95}, {"边距(左右/上下)", 95}, {"拼板数", 45},
            {"拼版利用率", 65}, {"坯板2尺寸", 90}, {"边距(左右/上下)", 90}, {"拼板数", 27},
            {"拼板利用率", 58}, {"板材尺寸", 76},  {"开料数", 38},          {"板材利用率", 60}};
        QCOMPARE(grid->model()->columnCount(), columns.size());
        // The widths are minimums: a title the font makes wider widens its
        // column. With one panel kind the panel-2 columns are hidden from the
        // start; columns 3, 4 and 10 have their one-kind widths.
        const QList<int> oneKind{24, 95, 95, 45, 65, 90, 90, 27, 58, 76, 40, 60};
        for (int i = 0; i < columns.size(); ++i) {
            QCOMPARE(grid->model()->headerData(i, Qt::Horizontal).toString(), columns[i].first);
            QCOMPARE(grid->isColumnHidden(i), i >= 5 && i <= 8);
            if (grid->isColumnHidden(i))
                continue;
            QVERIFY(grid->columnWidth(i) >= oneKind[i]);
            const int title =
                grid->horizontalHeader()->fontMetrics().horizontalAdvance(columns[i].first);
            QVERIFY2(grid->columnWidth(i) >= title + 4, qPrintable(columns[i].first));
            if (grid->columnWidth(i) > oneKind[i])
                QVERIFY2(grid->columnWidth(i) <= title + 20, qPrintable(columns[i].first));
        }

        // Progress box: hidden, 400 × 48, range 0..1000.
        QVERIFY(!window_->ProgressBox()->isVisible());
        QCOMPARE(window_->ProgressBox()->size(), QSize(400, 48));
        QCOMPARE(window_->ProgressBar()->minimum(), 0);
        QCOMPARE(window_->ProgressBar()->maximum(), 1000);

        Shot(window_.get(), QStringLiteral("main_start"));
        const char* tabShots[] = {"main_tab_parameters", "main_tab_array", "main_tab_tooling",
                                  "main_tab_parts"};
        for (int i = 0; i < 4; ++i) {
            tabs->setCurrentIndex(i);
            QCoreApplication::processEvents();
            Shot(window_.get(), QString::fromLatin1(tabShots[i]));
        }
        // The progress box as a search shows it.
        tabs->setCurrentIndex(0);
        window_->ProgressBox()->show();
        window_->ProgressBar()->setValue(420);
        window_->ProgressPercent()->setText(QStringLiteral("42%"));
        Shot(window_.get(), QStringLiteral("main_progress"));
        window_->ProgressBox()->hide();
        // Smallest size still shows the frame.
        window_->resize(window_->minimumSize());
        QCoreApplication::processEvents();
        Shot(window_.get(), QStringLiteral("main_minimum"));
        window_->resize(1100, 760);
        QCoreApplication::processEvents();
        QCOMPARE(window_->DiagramImage()->pixmap().size(), window_->DiagramImage()->size());
        Shot(window_.get(), QStringLiteral("main_large"));
    }

    // A missing, empty or foreign database file: one message naming the file
    // and what is wrong, and the program does not start (main ends with 1).
    void missingDatabaseIsReportedAndNothingStarts_data() {
        QTest::addColumn<QByteArray>("content"); // empty: no file at all
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << QByteArray() << "Vorn.mdb";
        QTest::newRow("zero bytes") << QByteArray("-") << "缺少表";
        QTest::newRow("not a database") << QByteArray(4096, 'x') << "文件不是数据库";
    }
    void missingDatabaseIsReportedAndNothingStarts() {
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        QVERIFY(QFile::remove(dir_->databasePath()));
        if (!content.isEmpty())
            WriteFile(dir_->databasePath(), content == "-" ? QByteArray() : content);
        QString reported;
        vorn::TDataM1::setStartupFailureHandler(
            [&reported](const QString& text) { reported = text; });
        window_ = vorn::CreateMainWindow(dir_->path());
        vorn::TDataM1::setStartupFailureHandler(nullptr);
        QVERIFY(!window_);
        QVERIFY2(reported.contains(reason), qPrintable(reported));
        QVERIFY2(reported.contains(QStringLiteral("Vorn.mdb")), qPrintable(reported));
        QVERIFY2(vorn::test::SpeaksChinese(reported), qPrintable(reported));
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
    }

    void fieldsRefuseTextThatIsNotANumber() {
        window_ = vorn::CreateMainWindow(dir_->path());
        struct Case {
            const char* field;
            const char* typed;
            const char* shown;
        };
        const Case cases[] = {
            {"DBEdit1", "12.5", "12.5"},           {"DBEdit1", "1a2", "12"},
            {"DBEdit1", "1.2.3", "1.23"},          {"DBEdit1", "-3", "3"},
            {"DBEdit3", "0.123456789", "0.12345"}, // at most seven characters
            {"DBEdit21", "1.5x", "1.5"},           {"DBEdit6", "4.5", "45"}, // layers are whole
        };
        for (const Case& c : cases) {
            auto* e = Child<QLineEdit>(c.field);
            QVERIFY(e);
            e->clear();
            QTest::keyClicks(e, QString::fromLatin1(c.typed));
            QCOMPARE(e->text(), QString::fromLatin1(c.shown));
        }
        // Results are shown, not typed.
        QVERIFY(Child<QLineEdit>("DBEdit15")->isReadOnly());
        // Part numbers are kept in capitals.
        auto* part = Child<QLineEdit>("Edit1");
        QTest::keyClicks(part, QStringLiteral("ab-12c"));
        QCOMPARE(part->text(), QStringLiteral("AB-12C"));
    }

    void typedValuesReachTheJobRow() {
        window_ = vorn::CreateMainWindow(dir_->path());
        QVERIFY(window_);
        window_->Data()->TempInput.post();
        struct Case {
            const char* field;
            const char* column;
            const char* typed;
            const char* shown;
        };
        const Case cases[] = {{"DBEdit1", "Set_L", "12.5", "12.5000"},
                              {"DBEdit17", "Max_PL", "30", "30.000"},
                              {"DBEdit6", "Layer", "6", "6"}};
        for (const Case& c : cases) {
            auto* e = Child<QLineEdit>(c.field);
            e->selectAll();
            QTest::keyClicks(e, QString::fromLatin1(c.typed));
            QTest::keyClick(e, Qt::Key_Return);
            QCOMPARE(window_->Data()->TempInput.asDouble(c.column), QString(c.typed).toDouble());
            QCOMPARE(e->text(), QString::fromLatin1(c.shown));
        }
        auto* partL = Child<QLineEdit>("DBEdit23");
        QTest::keyClicks(partL, QStringLiteral("2"));
        QTest::keyClick(partL, Qt::Key_Return);
        QCOMPARE(window_->Data()->TempInputCus.asDouble("Part_L"), 2.0);
    }

    void resultGridShowsTheResultTable() {
        window_ = vorn::CreateMainWindow(dir_->path());
        QVERIFY(window_);
        QVERIFY(!Command("PM02")->isEnabled());
        vorn::Cursor& results = window_->Data()->TempResult;
        results.open();
        // Opening the results allows the all-panels margin commands.
        QVERIFY(Command("PM02")->isEnabled());
        QVERIFY(Command("M04_02_02")->isEnabled());
        results.append();
        results.setValue("Number", 1);
        results.setValue("Panel_L", 12.5);
        results.setValue("Panel_W", 18.0);
        results.setValue("Border_L", 0.3);
        results.setValue("Border_W", 0.25);
        results.setValue("Panel", 12);
        results.setValue("Panel_lv", 66.6666);
        results.setValue("Base_L", 48.0);
        results.setValue("Base_W", 36.0);
        results.post();
        QAbstractItemModel* model = window_->ResultGrid()->model();
        QCOMPARE(model->rowCount(), 1);
        QCOMPARE(model->index(0, 0).data().toString(), QStringLiteral("1"));
        QCOMPARE(model->index(0, 1).data().toString(), QStringLiteral("12.500×18.000"));
        QCOMPARE(model->index(0, 2).data().toString(), QStringLiteral("0.3000/0.2500"));
        QCOMPARE(model->index(0, 4).data().toString(), QStringLiteral("66.667%"));
        QCOMPARE(model->index(0, 5).data().toString(), QString()); // no second panel
        QCOMPARE(model->index(0, 9).data().toString(), QStringLiteral("48.0×36.0"));
        QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("坯板1尺寸"));
        QCOMPARE(window_->ResultGrid()->columnWidth(1), 95);
        QVERIFY(!(model->flags(model->index(0, 1)) & Qt::ItemIsEditable));
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        Shot(window_.get(), QStringLiteral("main_result_row"));
        results.close();
        QCOMPARE(model->rowCount(), 0);
        QVERIFY(!Command("PM02")->isEnabled());
    }

    void menuAndToolBarMatchTheTables() {
        window_ = vorn::CreateMainWindow(dir_->path());
        struct Row {
            const char* path; // menu captions joined by " > "
            const char* key;
            const char* handler;
            bool enabled;
        };
        const Row menus[] = {
            {"文件(&F) > 打开(&O)", "Ctrl+O", "ToolButton5Click", false},
            {"文件(&F) > 保存(&B)", "Ctrl+S", "ToolButton3Click", false},
            {"文件(&F) > 删除(&D)", "Ctrl+D", "ToolButton12Click", false},
            {"文件(&F) > -", "", "", true},
            {"文件(&F) > 打印&", "", "", false},
            {"文件(&F) > 打印& > 御览(&Y)", "Ctrl+Y", "M01_04_01Click", true},
            {"文件(&F) > 打印& > 打印(&P)", "Ctrl+P", "ToolButton8Click", true},
            {"文件(&F) > 导出&", "", "", false},
            {"文件(&F) > 导出& > 导出Excel文档", "F7", "ToolButton9Click", true},
            {"文件(&F) > 导出& > 导出图片", "F8", "PM04Click", true},
            {"文件(&F) > 导出& > 导出PDF", "", "M01_05_03Click", true},
            {"文件(&F) > 导出& > 导出DXF/拼板坐标", "", "M01_05_04Click", true},
            {"文件(&F) > -", "", "", true},
            {"文件(&F) > 退出(&E)", "Ctrl+Q", "M01_06Click", true},
            {"拼板开料(&C) > 智能拼板开料(&P)", "F2", "ToolButton1Click", true},
            {"拼板开料(&C) > 拼板开料(&S)", "F3", "ToolButton2Click", true},
            {"设置(&S) > Panels  设定", "F5", "M03_01Click", true},
            {"设置(&S) > Tooling 设定", "F6", "M03_02Click", true},
            {"设置(&S) > 板  材  设定", "F7", "M03_03Click", true},
            {"设置(&S) > -", "", "", true},
            {"设置(&S) > 默认值  设定", "F8", "M03_04Click", true},
            {"工具(&T) > 查询", "F4", "ToolButton6Click", false},
            {"工具(&T) > -", "", "", true},
            {"工具(&T) > 边距补偿", "", "", false},
            {"工具(&T) > 边距补偿 > 上传Panel边距补偿", "F5", "PM01Click", false},
            {"工具(&T) > 边距补偿 > 所有Panel边距补偿", "F6", "PM02Click", false},
            {"工具(&T) > -", "", "", true},
            {"工具(&T) > 计算器", "Ctrl+J", "M04_03Click", true},
            {"工具(&T) > 工具栏", "Ctrl+G", "M04_04Click", true},
            {"工具(&T) > -", "", "", true},
            {"工具(&T) > 数据备份", "Ctrl+B", "M04_05Click", true},
            {"工具(&T) > 恢复数据", "Ctrl+R", "M04_06Click", true},
            {"帮助(&H) > 帮  助", "", "M05_03Click", true},
            {"帮助(&H) > 关于 Vorn", "", "M05_02Click", true},
            {"语言 / Language(&L) > 中文", "", "", true},
            {"语言 / Language(&L) > English", "", "", true},
            {"退出(&U)", "", "M01_06Click", true},
        };
        // Walk the built menus in order, submenus in place.
        QStringList built;
        QList<QAction*> actions;
        std::function<void(const QString&, const QList<QAction*>&)> walk =
            [&](const QString& prefix, const QList<QAction*>& list) {
                for (QAction* a : list) {
                    const QString path =
                        prefix.isEmpty()
                            ? TVornMF::Caption(a)
                            : prefix + QStringLiteral(" > ") +
                                  (a->isSeparator() ? QStringLiteral("-") : TVornMF::Caption(a));
                    const bool top = prefix.isEmpty();
                    if (!(top && a->menu())) {
                        built << path;
                        actions << a;
                    }
                    if (a->menu())
                        walk(path, a->menu()->actions());
                }
            };
        walk(QString(), window_->menuBar()->actions());
        QCOMPARE(built.size(), int(std::size(menus)));
        for (int i = 0; i < built.size(); ++i) {
            const Row& r = menus[i];
            QAction* a = actions[i];
            QCOMPARE(built[i], QString::fromUtf8(r.path));
            if (a->isSeparator())
                continue;
            QCOMPARE(TVornMF::ShownShortcut(a), QKeySequence(QString::fromLatin1(r.key)));
            QCOMPARE(TVornMF::HandlerOf(a), QString::fromLatin1(r.handler));
            QVERIFY2(a->isEnabled() == r.enabled, r.path);
        }
        QVERIFY(Command("M04_04")->isCheckable());
        QVERIFY(Command("M04_04")->isChecked());

        struct Tool {
            const char* caption; // "|" a separator
            const char* handler;
            bool enabled;
        };
        const Tool tools[] = {
            {"打 开", "ToolButton5Click", false},
            {"保 存", "ToolButton3Click", false},
            {"删除", "ToolButton12Click", false},
            {"|", "", true},
            {"智能拼板", "ToolButton1Click", true},
            {"拼 板", "ToolButton2Click", true},
            {"边最小化", "PM01Click", false},
            {"查 询", "ToolButton6Click", false},
            {"|", "", true},
            {"打印御览", "M01_04_01Click", false},
            {"打 印", "ToolButton8Click", false},
            {"导 出", "ToolButton9Click", false},
            {"退出", "M01_06Click", true},
        };
        const QList<QAction*> bar = window_->ToolBar()->actions();
        QCOMPARE(bar.size(), int(std::size(tools)));
        for (int i = 0; i < bar.size(); ++i) {
            const Tool& t = tools[i];
            if (QByteArray(t.caption) == "|") {
                QVERIFY(bar[i]->isSeparator());
                continue;
            }
            QCOMPARE(bar[i]->text(), QString::fromUtf8(t.caption));
            QCOMPARE(TVornMF::HandlerOf(bar[i]), QString::fromLatin1(t.handler));
            QCOMPARE(bar[i]->isEnabled(), t.enabled);
            QVERIFY(!bar[i]->icon().isNull());
            auto* button = qobject_cast<QToolButton*>(window_->ToolBar()->widgetForAction(bar[i]));
            QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
            QCOMPARE(button->height(), 38);
        }
        QCOMPARE(window_->ToolBar()->iconSize(), QSize(18, 18));

        // The two drop-down buttons.
        struct Drop {
            const char* button;
            QList<QPair<QString, QString>> items; // caption, handler
        };
        const Drop drops[] = {
            {"ToolButton10",
             {{"边距最小化上传Panel", "PM01Click"}, {"边距最小化所有Panel", "PM02Click"}}},
            {"ToolButton9", {{"Excel文件导出", "ToolButton9Click"}, {"Bmp图片导出", "PM04Click"}}},
        };
        for (const Drop& d : drops) {
            QMenu* menu = Command(d.button)->menu();
            QVERIFY(menu);
            const QList<QAction*> items = menu->actions();
            QCOMPARE(items.size(), d.items.size());
            for (int i = 0; i < items.size(); ++i) {
                QCOMPARE(items[i]->text(), d.items[i].first);
                QCOMPARE(TVornMF::HandlerOf(items[i]), d.items[i].second);
            }
            auto* button =
                qobject_cast<QToolButton*>(window_->ToolBar()->widgetForAction(Command(d.button)));
            QCOMPARE(button->popupMode(), QToolButton::MenuButtonPopup);
        }
        QVERIFY(!Command("PM01")->isEnabled());
        QVERIFY(!Command("PM02")->isEnabled());
        QVERIFY(!Command("PM03")->isEnabled());
    }

    void sharedKeysGoToTheFirstEnabledItemOnly() {
        window_ = vorn::CreateMainWindow(dir_->path());
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        QHash<QString, int> fired;
        for (QAction* a : window_->findChildren<QAction*>()) {
            connect(a, &QAction::triggered, this, [&fired, a] { ++fired[a->objectName()]; });
        }
        auto press = [&](Qt::Key key) {
            fired.clear();
            QTest::keyClick(window_.get(), key);
            QCoreApplication::processEvents();
            return fired;
        };
        // Exports are disabled at start: F7 and F8 do nothing, and the sheet
        // window (the later item with F7) is not opened.
        QCOMPARE(press(Qt::Key_F7), (QHash<QString, int>{}));
        QVERIFY(!window_->SheetWindow()->isVisible());
        QCOMPARE(press(Qt::Key_F8), (QHash<QString, int>{}));
        // F5 and F6 reach the settings windows, never the margin items.
        DismissNextModal();
        QCOMPARE(press(Qt::Key_F5), (QHash<QString, int>{{"M03_01", 1}}));
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        DismissNextModal(); // the tooling presets window
        QCOMPARE(press(Qt::Key_F6), (QHash<QString, int>{{"M03_02", 1}}));
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));

        // With a valid plan the export items own F7 and F8.
        PutValidPlan(*window_->Data());
        QVERIFY(window_->UpdateJobCommands());
        QVERIFY(Command("M01_05")->isEnabled());
        // The export runs: this folder has no template, so it warns (a
        // workbook would be caught here rather than opened on the desktop).
        UrlCatcher opened;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &opened, "open");
        DismissNextModal();
        QCOMPARE(press(Qt::Key_F7), (QHash<QString, int>{{"M01_05_01", 1}}));
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QVERIFY(opened.urls.isEmpty());
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        DismissNextModal();
        QCOMPARE(press(Qt::Key_F8), (QHash<QString, int>{{"M01_05_02", 1}}));
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        // And F5 still goes to the panel presets, not to the enabled margin item.
        DismissNextModal();
        QCOMPARE(press(Qt::Key_F5), (QHash<QString, int>{{"M03_01", 1}}));
    }

    void toolBarToggle() {
        window_ = vorn::CreateMainWindow(dir_->path());
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        QAction* item = Command("M04_04");
        QVERIFY(window_->ToolBar()->isVisible());
        QTest::keyClick(window_.get(), Qt::Key_G, Qt::ControlModifier);
        QVERIFY(!item->isChecked());
        QVERIFY(!window_->ToolBar()->isVisible());
        // The menus still work without the bar.
        QSignalSpy f2(Command("M02_01"), &QAction::triggered);
        DismissNextModal();
        QTest::keyClick(window_.get(), Qt::Key_F2);
        QCOMPARE(f2.count(), 1);
        item->trigger();
        QVERIFY(item->isChecked());
        QVERIFY(window_->ToolBar()->isVisible());
    }

    void startNewJobFromTheDefaults_data() {
        QTest::addColumn<bool>("mm");
        QTest::newRow("Inch") << false;
        QTest::newRow("mm") << true;
    }
    void startNewJobFromTheDefaults() {
        QFETCH(bool, mm);
        WriteDefaults("Set_L=10\r\nset_w=4.5\r\nSet_C=0.1\r\nBorderX_L=0.5\r\nMax_PL=24\r\n"
                      "PLPW_ratio=1.25\r\nMin_lv=70.00\r\nPart_L=1.5\r\nSetBorder_W=0.2\r\n"
                      "PanelNumber=2\r\nAUTOPanel=False\r\nGoodBase=True\r\nBothPanel=True\r\n"
                      "BothBase=true\r\nTooling=True\r\n");
        window_ = vorn::CreateMainWindow(dir_->path());
        QVERIFY(window_);
        window_->UnitButton()->setText(mm ? QStringLiteral("mm") : QStringLiteral("Inch"));
        Child<QLineEdit>("Edit1")->setText(QStringLiteral("OLD-PART"));
        Child<QLineEdit>("Edit4")->setText(QStringLiteral("2026-01-01"));
        window_->StartNewJob();

        const double f = mm ? 25.4 : 1.0;
        const vorn::Cursor& job = window_->Data()->TempInput;
        const vorn::Cursor& array = window_->Data()->TempInputCus;
        QVERIFY(job.isOpen() && array.isOpen());
        QCOMPARE(job.recordCount(), 1);
        QCOMPARE(array.recordCount(), 1);
        QCOMPARE(job.state(), vorn::Cursor::State::Insert); // the job row stays in insert state
        QCOMPARE(job.asDouble("Set_L"), 10 * f);
        QCOMPARE(job.asDouble("Set_W"), 4.5 * f);
        QCOMPARE(job.asDouble("BorderX_L"), 0.5 * f);
        QCOMPARE(job.asDouble("Max_PL"), 24 * f);
        QVERIFY(job.isNull("Max_PW"));
        // Ratio and utilization are not lengths.
        QCOMPARE(job.asDouble("PLPW_ratio"), 1.25);
        QCOMPARE(job.asDouble("Min_lv"), 70.0);
        QCOMPARE(array.asDouble("Part_L"), 1.5 * f);
        QCOMPARE(array.asDouble("SetBorder_W"), 0.2 * f);
        QVERIFY(array.isNull("Max_SetL"));
        // The bound fields show the new job in the columns' display formats.
        QCOMPARE(Child<QLineEdit>("DBEdit1")->text(),
                 mm ? QStringLiteral("254.0000") : QStringLiteral("10.0000"));
        QCOMPARE(Child<QLineEdit>("DBEdit22")->text(), QStringLiteral("70.00"));
        QCOMPARE(Child<QLineEdit>("DBEdit23")->text(),
                 mm ? QStringLiteral("38.1000") : QStringLiteral("1.5000"));

        if (mm) {
            window_->show();
            QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
            Shot(window_.get(), QStringLiteral("main_new_job_mm"));
        }
        QCOMPARE(Child<QSpinBox>("Edit5")->value(), 2);
        QVERIFY(Child<QRadioButton>("RadioButton4")->isChecked()); // 设定Panel
        QVERIFY(Child<QRadioButton>("RadioButton6")->isChecked()); // 获取最佳板材
        QVERIFY(Child<QCheckBox>("CheckBox1")->isChecked());
        QVERIFY(!Child<QCheckBox>("CheckBox2")->isChecked()); // "true" is not "True"
        QVERIFY(Child<QCheckBox>("CheckBox3")->isChecked());
        QVERIFY(Child<QLineEdit>("Edit1")->text().isEmpty());
        QVERIFY(Child<QLineEdit>("Edit4")->text().isEmpty());
        QVERIFY(window_->ShowsWelcome());
        for (const char* c :
             {"ToolButton3", "M01_05", "ToolButton5", "M04_01", "ToolButton12", "M01_03"})
            QVERIFY2(!Command(c)->isEnabled(), c);
    }

    void startNewJobWithoutDefaultsFile() {
        QVERIFY(QFile::remove(vorn::test::DefaultsPath(*dir_)));
        window_ = vorn::CreateMainWindow(dir_->path());
        QVERIFY(window_);
        // A saved part exists: Open and Query follow it.
        vorn::Cursor& parts = window_->Data()->data0004;
        parts.open();
        parts.append();
        parts.setValue("Part_number", QStringLiteral("P-1"));
        parts.post();
        parts.close();
        window_->StartNewJob();
        const vorn::Cursor& job = window_->Data()->TempInput;
        for (const char* c : {"Set_L", "Set_C", "Max_PW", "PLPW_ratio", "Min_lv"})
            QVERIFY2(job.isNull(c), c);
        QVERIFY(window_->Data()->TempInputCus.isNull("Part_L"));
        QCOMPARE(Child<QSpinBox>("Edit5")->value(), 1);
        QVERIFY(Child<QRadioButton>("RadioButton4")->isChecked()); // 设定Panel
        QVERIFY(Child<QRadioButton>("RadioButton7")->isChecked()); // 扫描所有板材
        for (const char* c : {"CheckBox1", "CheckBox2", "CheckBox3"})
            QVERIFY(!Child<QCheckBox>(c)->isChecked());
        QVERIFY(Command("ToolButton5")->isEnabled());
        QVERIFY(Command("M01_01")->isEnabled());
        QVERIFY(Command("ToolButton6")->isEnabled());
        QVERIFY(Command("M04_01")->isEnabled());
        QVERIFY(!Command("ToolButton12")->isEnabled());
        QVERIFY(!Command("M01_03")->isEnabled());
        QVERIFY(!window_->Data()->SavedPartsQuery.isOpen());
    }

    void badNumberInTheDefaultsIsShownAndTheProgramRunsOn() {
        WriteDefaults("Set_L=ten\r\nSet_W=2\r\nMax_PL=30\r\n");
        QString shown;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QTimer::singleShot(0, this, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* box = qobject_cast<QMessageBox*>(w)) {
                    shown = box->windowTitle() + QLatin1Char('|') + box->text();
                    icon = box->icon();
                    box->accept();
                }
            }
        });
        // The new job of the start-up meets the bad entry: one warning naming
        // the file, the entry and its value; the rest of the file still loads.
        window_ = vorn::CreateMainWindow(dir_->path());
        QVERIFY(window_);
        QCOMPARE(icon, QMessageBox::Warning);
        QVERIFY2(shown.startsWith(QStringLiteral("Vorn|VornInitS.int: Set_L=ten ")),
                 qPrintable(shown));
        QVERIFY(window_->Data()->TempInput.isNull("Set_L"));
        QCOMPARE(window_->Data()->TempInput.asDouble("Set_W"), 2.0);
        QCOMPARE(window_->Data()->TempInput.asDouble("Max_PL"), 30.0);
        QVERIFY(window_->Data()->TempInputCus.isOpen());
    }

    void panelKindsFromTheDefaults_data() {
        QTest::addColumn<QByteArray>("entry");
        QTest::addColumn<int>("kinds");
        QTest::newRow("missing") << QByteArray() << 1;
        QTest::newRow("two") << QByteArray("PanelNumber=2\r\n") << 2;
        // Another value is reported (one box) and the built-in 1 is used.
        QTest::newRow("text") << QByteArray("PanelNumber=x\r\n") << 1;
        QTest::newRow("too big") << QByteArray("PanelNumber=7\r\n") << 1;
    }
    void panelKindsFromTheDefaults() {
        QFETCH(QByteArray, entry);
        QFETCH(int, kinds);
        WriteDefaults(entry);
        QStringList shown;
        // A timer of this scope: with no box it must not fire in a later row.
        QTimer answer;
        answer.setSingleShot(true);
        connect(&answer, &QTimer::timeout, this, [&shown] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                    shown << box->text();
                    box->accept();
                }
        });
        answer.start(0);
        window_ = vorn::CreateMainWindow(dir_->path());
        QCOMPARE(Child<QSpinBox>("Edit5")->value(), kinds);
        const bool bad = entry.contains("x") || entry.contains("7");
        QCOMPARE(shown.size(), bad ? 1 : 0);
        if (bad)
            QVERIFY2(shown.first().startsWith(QStringLiteral("VornInitS.int: PanelNumber=")),
                     qPrintable(shown.first()));
    }

    void errorInACommandIsShownAndEndsOnlyTheCommand() {
        window_ = vorn::CreateMainWindow(dir_->path());
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QTimer::singleShot(0, this, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* box = qobject_cast<QMessageBox*>(w)) {
                    title = box->windowTitle();
                    text = box->text();
                    icon = box->icon();
                    box->accept();
                }
            }
        });
        bool after = false;
        TVornMF::RunCommand([&after] {
            throw std::runtime_error("disk full");
            after = true;
        });
        QCOMPARE(title, QStringLiteral("Vorn"));
        QCOMPARE(text, QStringLiteral("disk full"));
        QCOMPARE(icon, QMessageBox::Critical);
        QVERIFY(!after);
        // Anything else thrown stops at the command too, never in Qt's event
        // delivery.
        text.clear();
        QTimer::singleShot(0, this, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                text = box->text();
                box->accept();
            }
        });
        TVornMF::RunCommand([] { throw 42; });
        QCOMPARE(text, QStringLiteral("命令意外出错，未能完成。"));
        // A cancelled search ends silently.
        title.clear();
        TVornMF::RunCommand([] { throw vorn::SearchCancelled(); });
        QCoreApplication::processEvents();
        QVERIFY(title.isEmpty());
        // The program runs on.
        bool ran = false;
        TVornMF::RunCommand([&ran] { ran = true; });
        QVERIFY(ran);
    }

    void errorEscapingAnEventHandlerIsShown() {
        // A handler outside the command table (a field signal, a selector)
        // runs through the same boundary; nothing reaches Qt's delivery.
        QPushButton button;
        connect(&button, &QPushButton::clicked,
                [] { TVornMF::RunCommand([] { throw std::runtime_error("no such sheet"); }); });
        QString text;
        QTimer::singleShot(0, this, [&text] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* box = qobject_cast<QMessageBox*>(w)) {
                    text = box->windowTitle() + QLatin1Char('|') + box->text();
                    box->accept();
                }
            }
        });
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(text, QStringLiteral("Vorn|no such sheet"));
    }

    void aboutBox() {
        window_ = vorn::CreateMainWindow(dir_->path());
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        bool seen = false;
        QTimer::singleShot(50, this, [&] {
            auto* about = window_->findChild<TForm1*>();
            QVERIFY(about);
            QCOMPARE(about->windowTitle(), QStringLiteral("关于 Vorn"));
            QCOMPARE(about->size(), QSize(412, 246));
            QVERIFY(!(about->windowFlags() & Qt::WindowCloseButtonHint));
            QVERIFY(!(about->windowFlags() & Qt::WindowSystemMenuHint));
            QCOMPARE(about->VersionLabel()->text(), QStringLiteral(VORN_VERSION));
            QVERIFY(!about->VersionLabel()->text().isEmpty());
            Shot(about, QStringLiteral("about_box"));
            auto* ok = about->findChild<QPushButton*>(QStringLiteral("OKButton"));
            QCOMPARE(ok->text(), QStringLiteral("确  定"));
            seen = true;
            QTest::mouseClick(ok, Qt::LeftButton);
        });
        Command("M05_02")->trigger();
        QVERIFY(seen);
        // Closing frees it.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!window_->findChild<TForm1*>());
    }

    void helpOpensAtContext9999() {
        window_ = vorn::CreateMainWindow(dir_->path());
        Command("M05_03")->trigger();
        auto* help = window_->findChild<vorn::HelpWindow*>();
        QVERIFY(help);
        QVERIFY(help->isVisible());
        QCOMPARE(help->Browser()->source().fragment(), QStringLiteral("9999"));
        QVERIFY(help->Browser()->toPlainText().contains(QStringLiteral("F2")));
        Shot(help, QStringLiteral("help"));
        help->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        // Without the file: nothing opens, nothing is reported.
        QVERIFY(QFile::remove(dir_->file(QStringLiteral("Vorn.html"))));
        Command("M05_03")->trigger();
        QVERIFY(!window_->findChild<vorn::HelpWindow*>());
    }

    void exitClosesWithoutAQuestion() {
        window_ = vorn::CreateMainWindow(dir_->path());
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        Command("ToolButton11")->trigger();
        QVERIFY(!window_->isVisible());
    }

    void secondCopyRaisesTheFirst() {
        const QString key =
            QStringLiteral("vorn-test-") + QUuid::createUuid().toString(QUuid::Id128);
        window_ = vorn::CreateMainWindow(dir_->path());
        window_->show();
        window_->showMinimized();
        vorn::SingleInstance first(key);
        QVERIFY(first.Listen());
        connect(&first, &vorn::SingleInstance::raiseRequested, window_.get(),
                [this] { vorn::BringToFront(*window_); });

        // The second copy blocks on its socket, so it runs beside this loop.
        std::atomic<int> answer{-1};
        std::thread second([&] {
            vorn::SingleInstance other(key);
            answer = other.AskRunningCopy(5000) ? 1 : 0;
        });
        QTRY_VERIFY_WITH_TIMEOUT(answer != -1, 6000);
        second.join();
        QCOMPARE(answer.load(), 1);
        QVERIFY(!(window_->windowState() & Qt::WindowMinimized));
        QVERIFY(window_->isVisible());

        // With no copy running the ask fails and the caller starts as first.
        vorn::SingleInstance lone(key + QStringLiteral("-none"));
        QVERIFY(!lone.AskRunningCopy(200));
        QVERIFY(lone.Listen());
        QVERIFY(lone.IsListening());
    }
};

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    vorn::VornApplication app(argc, argv);
    vorn::SetUpApplication(app);
    // Closing a test's main window must not end the test run.
    app.setQuitOnLastWindowClosed(false);
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "MainWindowTest.moc"
#include "VornTestSupport.h"
