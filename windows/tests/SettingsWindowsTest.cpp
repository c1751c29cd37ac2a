// The settings windows of sheets and panel presets, and backup and restore,
// driven through the real main window: menu commands, tool buttons, typed
// cells, the space bar on the yes/no column, the file dialogs answered.

#include "BackupRestore.h"
#include "Cursor.h"
#include "CursorModel.h"
#include "MainWindow.h"
#include "PanelPresetsWindow.h"
#include "SafeWrite.h"
#include "SchemaCheck.h"
#include "SheetsWindow.h"
#include "SqliteConnection.h"
#include "Startup.h"
#include "WindowTestSupport.h"
#include "YesNoDelegate.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <memory>

using vorn::Cursor;

namespace {

using vorn::test::Shot;

// Runs `step` on each modal window in turn as it comes up: the first step on
// the first window, and so on. A step may close its window or leave it.
class ModalScript : public QObject {
public:
    using Step = std::function<void(QWidget*)>;
    explicit ModalScript(QList<Step> steps) : steps_(std::move(steps)) {
        timer_.setInterval(5);
        connect(&timer_, &QTimer::timeout, this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || modal == last_ || steps_.isEmpty() || !modal->isVisible())
                return;
            last_ = modal;
            const Step step = steps_.takeFirst();
            step(modal);
            if (steps_.isEmpty())
                timer_.stop();
        });
        timer_.start();
    }
    bool done() const { return steps_.isEmpty(); }

private:
    QList<Step> steps_;
    QTimer timer_;
    QPointer<QWidget> last_;
};

// A file dialog answered with `path`, or cancelled when it is empty.
ModalScript::Step AnswerFile(const QString& path, QString* title = nullptr) {
    return [=](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        QVERIFY(dialog);
        if (title)
            *title = dialog->objectName() + u'|' + dialog->nameFilters().join(u';') + u'|' +
                     dialog->defaultSuffix() + u'|' + dialog->selectedFiles().value(0);
        if (path.isEmpty()) {
            dialog->reject();
            return;
        }
        dialog->selectFile(path);
        QMetaObject::invokeMethod(dialog, "accept");
    };
}

// A message box answered with `button`; its text is kept in `text`.
ModalScript::Step AnswerBox(QMessageBox::StandardButton button, QString* text,
                            QMessageBox::Icon* icon = nullptr) {
    return [=](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        QVERIFY(box);
        *text = box->text();
        if (icon)
            *icon = box->icon();
        box->button(button)->click();
    };
}

// Typed into the grid's current cell as a user does: the first key opens the
// editor, the rest go to it, Return writes the cell.
void TypeIntoCell(QTableView* grid, const QString& text) {
    grid->setFocus();
    QTest::keyClick(grid, text.at(0).toLatin1());
    QLineEdit* editor = nullptr;
    for (QLineEdit* e : grid->viewport()->findChildren<QLineEdit*>())
        if (e->isVisible())
            editor = e;
    QVERIFY(editor);
    QCOMPARE(editor->text(), text.left(1));
    QTest::keyClicks(editor, text.mid(1));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents(); // the delegate commits on a queued call
}

void Click(QTableView* grid, int row, int column) {
    const QModelIndex index = grid->model()->index(row, column);
    grid->scrollTo(index);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
}

QString Cell(QTableView* grid, int row, int column) {
    return grid->model()->index(row, column).data().toString();
}

// "L×W:flag" of every row of a table in the file, in the window's order.
QStringList Stored(const QString& programDir, const char* table) {
    vorn::TDataM1 dm(programDir);
    const bool sheets = QLatin1String(table) == QLatin1String("SetBase");
    Cursor& c = sheets ? dm.SetBase : dm.SetPanel;
    c.open();
    QStringList out;
    for (c.first(); !c.eof(); c.next()) {
        QString row = sheets ? QString() : c.asString("Number") + u':';
        row += QString::number(c.asDouble(sheets ? "Base_L" : "Panel_L"), 'g', 17) + u'x' +
               QString::number(c.asDouble(sheets ? "Base_W" : "Panel_W"), 'g', 17);
        row +=
            c.asBool(sheets ? "Enbled" : "Enabled") ? QStringLiteral(":y") : QStringLiteral(":n");
        out << row;
    }
    return out;
}

} // namespace

class SettingsWindowsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<vorn::test::ProgramDir> dir_;
    std::unique_ptr<TVornMF> w_;

    vorn::TDataM1& Dm() const { return *w_->Data(); }
    QAction* Command(const char* name) const { return w_->Command(QString::fromLatin1(name)); }
    template <class T> T* Child(const char* name) const {
        return w_->findChild<T*>(QString::fromLatin1(name));
    }
    void Activate() {
        w_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w_.get()));
    }
    // Runs `body` inside the modal window that `command` shows, then closes it
    // with its exit button if the body left it open.
    template <class W> void InWindow(const char* command, const std::function<void(W&)>& body) {
        InWindowOpenedBy<W>([&] { Command(command)->trigger(); }, body);
    }
    template <class W>
    void InWindowOpenedBy(const std::function<void()>& open, const std::function<void(W&)>& body) {
        bool ran = false;
        ModalScript script({[&](QWidget* modal) {
            auto* window = qobject_cast<W*>(modal);
            ran = window != nullptr;
            if (!window) {
                modal->close();
                return;
            }
            // Offscreen windows do not take the activation from the main
            // window by themselves.
            QApplication::setActiveWindow(window);
            if (QTest::qWaitForWindowActive(window)) {
                body(*window);
            }
            if (window->isVisible())
                window->reject();
        }});
        open();
        QVERIFY(ran);
    }
    void TypeBoard(const QString& l, const QString& w) {
        for (auto [name, text] : {std::pair{"DBEdit1", l}, std::pair{"DBEdit2", w}}) {
            auto* e = Child<QLineEdit>(name);
            e->setFocus();
            e->selectAll();
            QTest::keyClicks(e, text);
            QTest::keyClick(e, Qt::Key_Return);
        }
    }
    // The distinct "L×W" sheets of the result rows.
    QSet<QString> ResultSheets() {
        QSet<QString> out;
        Cursor& t = Dm().TempResult;
        for (int r = 0; r < t.recordCount(); ++r)
            out.insert(QStringLiteral("%1x%2")
                           .arg(t.valueAt(r, t.fieldIndex("Base_L")).toDouble())
                           .arg(t.valueAt(r, t.fieldIndex("Base_W")).toDouble()));
        return out;
    }

private slots:
    // The window's start asks the store for Chinese messages (SetUpApplication).
    void initTestCase() {
        vorn::test::IsolateUserSettings();
        vorn::SpeakChineseInMessages(true);
    }
    void init() {
        dir_ = NewProgramDir();
        QVERIFY(dir_);
        w_ = vorn::CreateMainWindow(dir_->path());
        QVERIFY(w_);
        w_->show();
        QVERIFY(QTest::qWaitForWindowExposed(w_.get()));
    }
    void cleanup() {
        w_.reset();
        dir_.reset();
    }

    // The sheet window: insert, type, toggle with the space bar, delete, the
    // unit button and a save in millimetres, which stores inches.
    void sheetWindowEditsAndSavesInches() {
        QVERIFY(w_->SheetWindow() && !w_->SheetWindow()->isVisible());
        QVERIFY(qobject_cast<vorn::TForm5*>(w_->SheetWindow()));
        InWindow<vorn::TForm5>("M03_03", [&](vorn::TForm5& f) {
            QCOMPARE(f.windowTitle(), QStringLiteral("板材设定"));
            QCOMPARE(f.size(), QSize(278, 486));
            QVERIFY(Dm().SetBase.isOpen());
            QTableView* grid = f.Grid();
            QCOMPARE(grid->model()->rowCount(), 6);
            QCOMPARE(grid->model()->headerData(2, Qt::Horizontal).toString(),
                     QStringLiteral("有效"));
            QCOMPARE(f.UnitButton()->text(), QStringLiteral("Inch"));
            QCOMPARE(f.SaveAction()->toolTip(), QStringLiteral("保存Updata"));
            QCOMPARE(Cell(grid, 0, 0), QStringLiteral("48.000"));

            // A new row starts enabled, with the cursor on its first column.
            f.InsertAction()->trigger();
            QCOMPARE(Dm().SetBase.state(), Cursor::State::Insert);
            QCOMPARE(grid->currentIndex().column(), 0);
            QVERIFY(grid->hasFocus());
            const int fresh = grid->currentIndex().row();
            QCOMPARE(Cell(grid, fresh, 2), QStringLiteral("√"));
            TypeIntoCell(grid, QStringLiteral("50"));
            QTest::keyClick(grid, Qt::Key_Right);

            TypeIntoCell(grid, QStringLiteral("30.5"));
            QCOMPARE(Dm().SetBase.asDouble("Base_L"), 50.0);
            QCOMPARE(Dm().SetBase.asDouble("Base_W"), 30.5);

            // The space bar on the focused yes/no cell toggles it; other
            // characters do nothing there and open no editor.
            QVERIFY(Dm().SetBase.locate("Base_L;Base_W", {48.0, 40.0}));
            const int row4840 = Dm().SetBase.recNo();
            Click(grid, row4840, 2);
            QCOMPARE(grid->currentIndex(), grid->model()->index(row4840, 2));
            QTest::keyClick(grid, Qt::Key_Space);
            QVERIFY(!Dm().SetBase.asBool("Enbled"));
            QCOMPARE(Cell(grid, row4840, 2), QString());
            QCOMPARE(grid->currentIndex().column(), 2);
            QTest::keyClick(grid, Qt::Key_X);
            QCOMPARE(QApplication::focusWidget(), grid);
            QVERIFY(!Dm().SetBase.asBool("Enbled"));
            QTest::keyClick(grid, Qt::Key_Space);
            QVERIFY(Dm().SetBase.asBool("Enbled"));
            QTest::keyClick(grid, Qt::Key_Space);
            QVERIFY(!Dm().SetBase.asBool("Enbled"));
            // A click on the focused cell's check box toggles it as well.
            const QRect box = vorn::YesNoDelegate::CheckBoxRect(
                grid->visualRect(grid->model()->index(row4840, 2)));
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, box.topLeft() + QPoint(6, 6));
            QVERIFY(Dm().SetBase.asBool("Enbled"));
            QTest::keyClick(grid, Qt::Key_Space);
            Shot(&f, QStringLiteral("settings_sheets_inch"));

            // Delete without a question; the grid is on the first column.
            QVERIFY(Dm().SetBase.locate("Base_L;Base_W", {49.0, 43.0}));
            Click(grid, Dm().SetBase.recNo(), 1);
            f.DeleteAction()->trigger();
            QCOMPARE(grid->model()->rowCount(), 6);
            QCOMPARE(grid->currentIndex().column(), 0);
            QVERIFY(!Dm().SetBase.locate("Base_L;Base_W", {49.0, 43.0}));

            // Millimetres on screen; the place is kept.
            QVERIFY(Dm().SetBase.locate("Base_L;Base_W", {48.0, 42.0}));
            Click(grid, Dm().SetBase.recNo(), 1);
            const int id = Dm().SetBase.asInt("ID");
            QTest::mouseClick(f.UnitButton(), Qt::LeftButton);
            QCOMPARE(f.UnitButton()->text(), QStringLiteral("mm"));
            QCOMPARE(Dm().SetBase.asInt("ID"), id);
            QCOMPARE(grid->currentIndex().column(), 1);
            QCOMPARE(grid->currentIndex().row(), Dm().SetBase.recNo());
            QCOMPARE(Cell(grid, grid->currentIndex().row(), 0), QStringLiteral("1219.200"));
            QCOMPARE(Cell(grid, grid->currentIndex().row(), 1), QStringLiteral("1066.800"));
            // A size typed in millimetres.
            TypeIntoCell(grid, QStringLiteral("1000"));
            // The row moved to its place in the sort order and stays current.
            QCOMPARE(grid->currentIndex(), grid->model()->index(1, 1));
            QCOMPARE(Dm().SetBase.recNo(), 1);
            f.SaveAction()->trigger();
            QCOMPARE(f.UnitButton()->text(), QStringLiteral("mm"));
            QCOMPARE(Cell(grid, grid->currentIndex().row(), 1), QStringLiteral("1000.000"));
            QCOMPARE(grid->currentIndex().column(), 1);
            Shot(&f, QStringLiteral("settings_sheets_mm"));
        });
        QVERIFY(!Dm().SetBase.isOpen());
        // Stored in inches: untouched sizes exactly as they were.
        QCOMPARE(Stored(dir_->path(), "SetBase"),
                 (QStringList{"48x36:y", QStringLiteral("48x%1:y").arg(1000 / 25.4, 0, 'g', 17),
                              "48x40:n", "49x37:y", "49x41:y", "50x30.5:y"}));
        // Reopened, the window shows inches again.
        InWindow<vorn::TForm5>("M03_03", [&](vorn::TForm5& f) {
            QCOMPARE(f.UnitButton()->text(), QStringLiteral("Inch"));
            QCOMPARE(Cell(f.Grid(), 0, 1), QStringLiteral("36.000"));
            QCOMPARE(Cell(f.Grid(), 1, 1), QStringLiteral("39.370"));
        });
    }

    // Closing either window without saving leaves the file untouched.
    void closingWithoutSavingDropsEverything() {
        const QByteArray before = ReadFile(dir_->databasePath());
        InWindow<vorn::TForm5>("M03_03", [&](vorn::TForm5& f) {
            // Esc takes back a row being inserted and keeps the window open.
            f.InsertAction()->trigger();
            QCOMPARE(f.Grid()->model()->rowCount(), 7);
            QTest::keyClick(f.Grid(), Qt::Key_Escape);
            QCOMPARE(f.Grid()->model()->rowCount(), 6);
            QVERIFY(f.isVisible());
            f.InsertAction()->trigger();
            TypeIntoCell(f.Grid(), QStringLiteral("60"));
            Click(f.Grid(), 1, 2);
            QTest::keyClick(f.Grid(), Qt::Key_Space);
            Click(f.Grid(), 2, 0);
            f.DeleteAction()->trigger();
            QTest::mouseClick(f.UnitButton(), Qt::LeftButton);
            f.close();
        });
        InWindow<vorn::TForm7>("M03_01", [&](vorn::TForm7& f) {
            Click(f.Grid(), 1, 1);
            f.InsertBelowAction()->trigger();
            f.MoveUpAction()->trigger();
            Click(f.Grid(), 0, 3);
            QTest::keyClick(f.Grid(), Qt::Key_Space);
            QTest::mouseClick(f.UnitButton(), Qt::LeftButton);
            f.ExitAction()->trigger();
        });
        QVERIFY(!Dm().SetBase.isOpen() && !Dm().SetPanel.isOpen());
        QCOMPARE(ReadFile(dir_->databasePath()), before);
    }

    // Esc as in the program's other windows: an edited row is taken back
    // first; then the window closes, after a question (No by default) when
    // changes are not saved. Nothing is saved either way.
    void escapeClosesTheSettingsWindows() {
        const QByteArray before = ReadFile(dir_->databasePath());
        Activate();
        InWindowOpenedBy<vorn::TForm7>([&] { QTest::keyClick(w_.get(), Qt::Key_F5); },
                                       [&](vorn::TForm7& f) {
                                           QTest::keyClick(f.Grid(), Qt::Key_Escape);
                                           QVERIFY(!f.isVisible());
                                       });
        InWindow<vorn::TForm5>("M03_03", [&](vorn::TForm5& f) {
            f.InsertAction()->trigger();
            QTest::keyClick(f.Grid(), Qt::Key_Escape);
            QVERIFY(f.isVisible());
            QCOMPARE(f.Grid()->model()->rowCount(), 6);
            Click(f.Grid(), 1, 2);
            QTest::keyClick(f.Grid(), Qt::Key_Space);
            Click(f.Grid(), 2, 0); // the toggled row is posted to the cache
            QString question;
            for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
                ModalScript script({AnswerBox(answer, &question)});
                QTest::keyClick(f.Grid(), Qt::Key_Escape);
                QVERIFY(script.done());
                QCOMPARE(question, QStringLiteral("修改尚未保存，确实要放弃吗？"));
                QCOMPARE(f.isVisible(), answer == QMessageBox::No);
            }
        });
        QCOMPARE(ReadFile(dir_->databasePath()), before);
    }

    // The panel presets: the numbered-list buttons, the read-only number,
    // the space bar, and a save in millimetres.
    void panelWindowNumberedList() {
        Activate();
        InWindowOpenedBy<vorn::TForm7>(
            [&] { QTest::keyClick(w_.get(), Qt::Key_F5); },
            [&](vorn::TForm7& window) {
                vorn::TForm7* f = &window;
                QCOMPARE(f->windowTitle(), QStringLiteral("Panel设定"));
                QCOMPARE(f->size(), QSize(365, 552));
                QCOMPARE(f->UnitButton()->toolTip(), QStringLiteral("单位转换"));
                QCOMPARE(f->MoveDownAction()->toolTip(), QStringLiteral("下移记录"));
                QTableView* grid = f->Grid();
                auto numbers = [&] {
                    QStringList out;
                    for (int r = 0; r < grid->model()->rowCount(); ++r)
                        out << Cell(grid, r, 0) + u':' + Cell(grid, r, 1);
                    return out;
                };
                QCOMPARE(numbers(),
                         (QStringList{"1:24.000", "2:20.000", "3:24.500", "4:21.000", "5:18.000"}));
                // The number cannot be typed over.
                Click(grid, 1, 0);
                QTest::keyClick(grid, Qt::Key_7);
                QCOMPARE(QApplication::focusWidget(), grid);
                QCOMPARE(Cell(grid, 1, 0), QStringLiteral("2"));

                // Insert above row 2: the new row is 2, typing starts at its length.
                f->InsertAboveAction()->trigger();
                QCOMPARE(grid->currentIndex(), grid->model()->index(1, 1));
                QCOMPARE(Dm().SetPanel.state(), Cursor::State::Edit);
                QCOMPARE(Cell(grid, 1, 3), QStringLiteral("√"));
                TypeIntoCell(grid, QStringLiteral("22"));
                QTest::keyClick(grid, Qt::Key_Right);
                TypeIntoCell(grid, QStringLiteral("17"));
                QCOMPARE(numbers(), (QStringList{"1:24.000", "2:22.000", "3:20.000", "4:24.500",
                                                 "5:21.000", "6:18.000"}));
                // Insert below the last row.
                Click(grid, 5, 2);
                f->InsertBelowAction()->trigger();
                QCOMPARE(grid->currentIndex(), grid->model()->index(6, 1));
                TypeIntoCell(grid, QStringLiteral("26"));
                QCOMPARE(Cell(grid, 6, 0), QStringLiteral("7"));

                // Delete row 3 of 7: the rows after it close up, the row now 3 is current.
                Click(grid, 2, 2);
                f->DeleteAction()->trigger();
                QCOMPARE(numbers(), (QStringList{"1:24.000", "2:22.000", "3:24.500", "4:21.000",
                                                 "5:18.000", "6:26.000"}));
                QCOMPARE(grid->currentIndex(), grid->model()->index(2, 2));

                // Move row 3 up: it swaps with row 2 and stays selected.
                f->MoveUpAction()->trigger();
                QCOMPARE(numbers(), (QStringList{"1:24.000", "2:24.500", "3:22.000", "4:21.000",
                                                 "5:18.000", "6:26.000"}));
                QCOMPARE(grid->currentIndex(), grid->model()->index(1, 2));
                QCOMPARE(Dm().SetPanel.asDouble("Panel_L"), 24.5);
                f->MoveDownAction()->trigger();
                QCOMPARE(grid->currentIndex(), grid->model()->index(2, 2));
                QCOMPARE(Cell(grid, 2, 1), QStringLiteral("24.500"));
                // Nothing moves past either end.
                Click(grid, 0, 1);
                f->MoveUpAction()->trigger();
                Click(grid, 5, 1);
                f->MoveDownAction()->trigger();
                QCOMPARE(numbers(), (QStringList{"1:24.000", "2:22.000", "3:24.500", "4:21.000",
                                                 "5:18.000", "6:26.000"}));

                // The space bar on "有效" of row 1; row 5 was seeded disabled.
                Click(grid, 0, 3);
                QTest::keyClick(grid, Qt::Key_Space);
                QCOMPARE(Cell(grid, 0, 3), QString());
                Click(grid, 4, 3);
                QTest::keyClick(grid, Qt::Key_Space);
                QCOMPARE(Cell(grid, 4, 3), QStringLiteral("√"));

                // Millimetres, then save: inches in the file, millimetres on screen.
                Click(grid, 3, 2);
                QTest::mouseClick(f->UnitButton(), Qt::LeftButton);
                QCOMPARE(f->UnitButton()->text(), QStringLiteral("mm"));
                QCOMPARE(Cell(grid, 0, 1), QStringLiteral("609.600"));
                QCOMPARE(grid->currentIndex(), grid->model()->index(3, 2));
                Shot(f, QStringLiteral("settings_panels_mm"));
                f->SaveAction()->trigger();
                QCOMPARE(Cell(grid, 0, 1), QStringLiteral("609.600"));
                QCOMPARE(grid->currentIndex(), grid->model()->index(3, 2));
                f->ExitAction()->trigger();
            });
        QVERIFY(!Dm().SetPanel.isOpen());
        QCOMPARE(Stored(dir_->path(), "SetPanel"),
                 (QStringList{"1:24x18:n", "2:22x17:y", "3:24.5x20.5:y", "4:21x16:y", "5:18x12:y",
                              "6:26x0:y"}));
    }

    // Sheets and presets disabled in the windows and saved are no longer used
    // by the next search: the panel search, the array hand-over's search,
    // and the data-layer lists that panelizing with a given panel reads.
    void savedSettingsTakeEffectAtTheNextSearch() {
        Child<QRadioButton>("RadioButton7")->setChecked(true); // every sheet
        TypeBoard(QStringLiteral("4"), QStringLiteral("3"));
        Activate();
        QTest::keyClick(w_.get(), Qt::Key_F2);
        QVERIFY(ResultSheets().size() > 1);

        // 48 × 36 and 49 × 37 are switched off.
        InWindow<vorn::TForm5>("M03_03", [&](vorn::TForm5& f) {
            QTableView* grid = f.Grid();
            for (int r = 0; r < grid->model()->rowCount(); ++r) {
                const QString size = Cell(grid, r, 0) + u'x' + Cell(grid, r, 1);
                if (size != QLatin1String("48.000x36.000") &&
                    size != QLatin1String("49.000x37.000"))
                    continue;
                Click(grid, r, 2);
                QTest::keyClick(grid, Qt::Key_Space);
            }
            f.SaveAction()->trigger();
        });
        Activate();
        QTest::keyClick(w_.get(), Qt::Key_F2);
        const QSet<QString> enabled{"48x40", "48x42", "49x41", "49x43"};
        QVERIFY(!ResultSheets().isEmpty());
        QVERIFY(enabled.contains(ResultSheets()));

        // The array tab's search hands its array over to the panel search.
        w_->Tabs()->setCurrentIndex(1);
        for (auto [name, text] : {std::pair{"DBEdit23", "1"}, std::pair{"DBEdit24", "0.8"}}) {
            auto* e = Child<QLineEdit>(name);
            e->setFocus();
            e->selectAll();
            QTest::keyClicks(e, QString::fromLatin1(text));
            QTest::keyClick(e, Qt::Key_Return);
        }
        Activate();
        QTest::keyClick(w_.get(), Qt::Key_F2);
        QVERIFY(Dm().TempResultCus.recordCount() > 2);
        {
            // The second array (as the main job tests use it) into the array row.
            QTableView* arrays = w_->ResultGrid();
            const QModelIndex second = arrays->model()->index(1, 1);
            const QPoint at = arrays->visualRect(second).center();
            QTest::mouseClick(arrays->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(arrays->viewport(), Qt::LeftButton, {}, at);
        }
        QTest::mouseClick(Child<QPushButton>("BitBtn3"), Qt::LeftButton);
        QCOMPARE(w_->Tabs()->currentIndex(), 0);
        QVERIFY(Dm().TempResult.recordCount() > 0);
        QVERIFY(enabled.contains(ResultSheets()));

        // The set-panel search: preset 1 (24 × 18) switched off.
        InWindow<vorn::TForm7>("M03_01", [&](vorn::TForm7& f) {
            Click(f.Grid(), 0, 3);
            QTest::keyClick(f.Grid(), Qt::Key_Space);
            f.SaveAction()->trigger();
        });
        Cursor& presets = Dm().EnabledPanelsQuery;
        presets.open();
        QStringList tried;
        for (presets.first(); !presets.eof(); presets.next())
            tried << presets.asString("Number");
        presets.close();
        QCOMPARE(tried, (QStringList{"2", "3", "4"}));
        Cursor& sheets = Dm().SetBase;
        sheets.setFilter(QStringLiteral("Enbled=True"));
        sheets.setFiltered(true);
        sheets.open();
        QCOMPARE(sheets.recordCount(), 4);
        sheets.close();
        Child<QRadioButton>("RadioButton4")->setChecked(true);
        TypeBoard(QStringLiteral("4"), QStringLiteral("3"));
        Activate();
        QTest::keyClick(w_.get(), Qt::Key_F2);
        Cursor& t = Dm().TempResult;
        QVERIFY(t.recordCount() > 0);
        for (int r = 0; r < t.recordCount(); ++r) {
            const double l = t.valueAt(r, t.fieldIndex("Panel_L")).toDouble();
            const double w = t.valueAt(r, t.fieldIndex("Panel_W")).toDouble();
            QVERIFY2(!(l == 24 && w == 18), "a disabled preset was used");
        }
    }

    // Backup and restore with the file dialogs answered: the copy, the new
    // job with the welcome picture, the restored archive in Open and Query.
    void backupAndRestoreThroughTheDialogs() {
        QTemporaryDir backups;
        const QString backup = backups.filePath(QStringLiteral("Vorn_BackUp.mdb"));
        // A job with a plan, so that the new job afterwards shows.
        TypeBoard(QStringLiteral("4"), QStringLiteral("3"));
        Activate();
        QTest::keyClick(w_.get(), Qt::Key_F2);
        QVERIFY(Command("ToolButton3")->isEnabled());
        QVERIFY(!w_->ShowsWelcome());
        QVERIFY(!Command("ToolButton5")->isEnabled()); // no saved parts yet

        QString dialog;
        {
            ModalScript script({AnswerFile(backup, &dialog)});
            Activate();
            QTest::keyClick(w_.get(), Qt::Key_B, Qt::ControlModifier);
            QVERIFY(script.done());
        }
        QCOMPARE(dialog, QStringLiteral("SaveDialog1|mdb DataBase(*.mdb)|mdb|") +
                             QDir(QDir::currentPath()).filePath("Vorn_BackUp.mdb"));
        QCOMPARE(vorn::CheckDatabaseSchema(backup), QString());
        QCOMPARE(w_->statusBar()->currentMessage(), QStringLiteral("数据备份完成"));
        QVERIFY(w_->ShowsWelcome());
        QVERIFY(!Command("ToolButton3")->isEnabled());
        QCOMPARE(Dm().TempInput.asDouble("Set_L"), 0.0);

        // Saved parts in the backup only: restoring it enables Open and Query.
        {
            QTemporaryDir work;
            QVERIFY(QFile::copy(backup, work.filePath("Vorn.mdb")));
            {
                vorn::TDataM1 other(work.path() + u'/');
                QVERIFY(other.isUsable());
                other.data0004.open();
                other.data0004.append();
                other.data0004.setValue("Part_number", "RESTORED-1");
                other.data0004.post();
                other.data0004.close();
            }
            QVERIFY(QFile::remove(backup));
            QVERIFY(QFile::copy(work.filePath("Vorn.mdb"), backup));
        }
        // The open dialog starts in the folder of the last backup, and a hasty
        // Enter at the question answers No: nothing is restored.
        QString startedIn;
        {
            ModalScript script({[&](QWidget* w) {
                                    startedIn = qobject_cast<QFileDialog*>(w)->directory().path();
                                    AnswerFile(backup)(w);
                                },
                                [](QWidget* box) { QTest::keyClick(box, Qt::Key_Return); }});
            Activate();
            QTest::keyClick(w_.get(), Qt::Key_R, Qt::ControlModifier);
            QVERIFY(script.done());
        }
        QCOMPARE(QFileInfo(startedIn).canonicalFilePath(),
                 QFileInfo(backups.path()).canonicalFilePath());
        Dm().SavedPartsQuery.open();
        QVERIFY(!Dm().SavedPartsQuery.locate("Part_number", {"RESTORED-1"}));
        Dm().SavedPartsQuery.close();
        QString confirm;
        {
            ModalScript script({AnswerFile(backup), AnswerBox(QMessageBox::Yes, &confirm)});
            Activate();
            QTest::keyClick(w_.get(), Qt::Key_R, Qt::ControlModifier);
            QVERIFY(script.done());
        }
        QCOMPARE(confirm, QStringLiteral("    请再次确认源文件是否正确，此操作将不能撤销！  "));
        QCOMPARE(w_->statusBar()->currentMessage(), QStringLiteral("数据恢复完成"));
        QVERIFY(Command("ToolButton5")->isEnabled());
        QVERIFY(Command("ToolButton6")->isEnabled());
        Dm().SavedPartsQuery.open();
        QVERIFY(Dm().SavedPartsQuery.locate("Part_number", {"RESTORED-1"}));
        Dm().SavedPartsQuery.close();
        QVERIFY(w_->ShowsWelcome());

        // A text file is refused with a message; the live file stays.
        const QString text = backups.filePath(QStringLiteral("notes.mdb"));
        WriteFile(text, "not a database\n");
        const QByteArray live = ReadFile(dir_->databasePath());
        QString message;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        {
            ModalScript script({AnswerFile(text), AnswerBox(QMessageBox::Ok, &message, &icon)});
            Activate();
            QTest::keyClick(w_.get(), Qt::Key_R, Qt::ControlModifier);
            QVERIFY(script.done());
        }
        QVERIFY2(message.startsWith(QStringLiteral("恢复数据失败，现有数据库未改变：")),
                 qPrintable(message));
        QVERIFY(message.contains(QDir::toNativeSeparators(text)));
        QCOMPARE(icon, QMessageBox::Warning);
        QCOMPARE(ReadFile(dir_->databasePath()), live);
        QVERIFY(Command("ToolButton5")->isEnabled());

        // A second window on the file is in the middle of a save: after a
        // short wait the restore is refused with the message; the live file
        // stays, the job too, and the other window's save lands.
        TypeBoard(QStringLiteral("4"), QStringLiteral("3"));
        {
            vorn::TDataM1 other(dir_->path());
            QVERIFY(other.isUsable());
            other.data0004.open();
            other.connection().exec(QStringLiteral("BEGIN IMMEDIATE"));
            other.data0004.append();
            other.data0004.setValue("Part_number", "OTHER-WINDOW");
            other.data0004.post();
            {
                ModalScript script({AnswerFile(backup), AnswerBox(QMessageBox::Yes, &confirm),
                                    AnswerBox(QMessageBox::Ok, &message, &icon)});
                Activate();
                QTest::keyClick(w_.get(), Qt::Key_R, Qt::ControlModifier);
                QVERIFY(script.done());
            }
            QVERIFY2(message.contains(QStringLiteral("数据库正被另一程序使用，请稍后重试。")),
                     qPrintable(message));
            QCOMPARE(icon, QMessageBox::Warning);
            QCOMPARE(ReadFile(dir_->databasePath()), live);
            other.connection().exec(QStringLiteral("COMMIT"));
            other.data0004.close();
        }
        QCOMPARE(Dm().TempInput.asDouble("Set_L"), 4.0);
        Dm().SavedPartsQuery.open();
        QVERIFY(Dm().SavedPartsQuery.locate("Part_number", {"RESTORED-1"}));
        QVERIFY(Dm().SavedPartsQuery.locate("Part_number", {"OTHER-WINDOW"}));
        Dm().SavedPartsQuery.close();

        // Restore from a path that does not exist: the message with the path.
        const QString missing = backups.filePath(QStringLiteral("gone.mdb"));
        {
            ModalScript script({AnswerFile(missing), AnswerBox(QMessageBox::Ok, &message, &icon)});
            Activate();
            QTest::keyClick(w_.get(), Qt::Key_R, Qt::ControlModifier);
            QVERIFY(script.done());
        }
        QCOMPARE(message,
                 QStringLiteral("源文件") + missing + QStringLiteral("不存在，此操作失败!"));
        QCOMPARE(icon, QMessageBox::Question);

        // Backup onto the existing file: No opens the dialog again; cancel copies nothing.
        const QByteArray old = ReadFile(backup);
        {
            ModalScript script(
                {AnswerFile(backup), AnswerBox(QMessageBox::No, &message), AnswerFile(QString())});
            Activate();
            QTest::keyClick(w_.get(), Qt::Key_B, Qt::ControlModifier);
            QVERIFY(script.done());
        }
        QCOMPARE(message, QStringLiteral("    目标文件已存在，是否覆盖它？  "));
        QCOMPARE(ReadFile(backup), old);
        Shot(w_.get(), QStringLiteral("settings_after_restore"));
    }

    // A file that cannot be restored is refused in the window's Chinese,
    // naming the file and what is wrong with it; the live file stays.
    void restoreRefusalsSpeakChinese_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("text file") << "text" << QStringLiteral("不是可用的数据库：文件不是数据库");
        QTest::newRow("empty file") << "empty" << QStringLiteral("不是 Vorn 的数据库：缺少表");
        QTest::newRow("database lacking a table")
            << "foreign" << QStringLiteral("不是 Vorn 的数据库：缺少表 SetTooling");
        QTest::newRow("the live database") << "live" << QStringLiteral("是程序正在使用的数据库");
    }
    void restoreRefusalsSpeakChinese() {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QTemporaryDir files;
        QString source = files.filePath(QStringLiteral("backup.mdb"));
        if (kind == QLatin1String("text")) {
            WriteFile(source, "not a database\n");
        } else if (kind == QLatin1String("empty")) {
            WriteFile(source, QByteArray());
        } else if (kind == QLatin1String("foreign")) {
            QVERIFY(QFile::copy(dir_->databasePath(), source));
            vorn::SqliteConnection db;
            db.setPath(source);
            db.exec(QStringLiteral("DROP TABLE SetTooling"));
        } else {
            source = dir_->databasePath();
        }
        const QByteArray live = ReadFile(dir_->databasePath());
        QString message;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        {
            ModalScript script({AnswerFile(source), [&](QWidget* box) {
                                    Shot(box, QStringLiteral("restore_refused_") + kind);
                                    AnswerBox(QMessageBox::Ok, &message, &icon)(box);
                                }});
            Activate();
            QTest::keyClick(w_.get(), Qt::Key_R, Qt::ControlModifier);
            QVERIFY(script.done());
        }
        QVERIFY2(message.startsWith(QStringLiteral("恢复数据失败，现有数据库未改变：")),
                 qPrintable(message));
        QVERIFY2(message.contains(reason), qPrintable(message));
        QVERIFY2(message.contains(QDir::toNativeSeparators(source)), qPrintable(message));
        QVERIFY2(vorn::test::SpeaksChinese(message), qPrintable(message));
        QCOMPARE(icon, QMessageBox::Warning);
        QCOMPARE(ReadFile(dir_->databasePath()), live);
    }
};

VORN_TEST_MAIN(SettingsWindowsTest)
#include "SettingsWindowsTest.moc"
#include "VornTestSupport.h"
