// The left pane as a user types into it, through the real main window: the
// key rings, the caption labels, the exit checks, the board size change, the
// part-number check, the panel-kind count, whole values, the window at its
// minimum size and Qt's own texts in Chinese.

#include "ParameterPanel.h"
#include "Cursor.h"
#include "DataModule.h"
#include "MainWindow.h"
#include "MainWindowAccess.h"
#include "Startup.h"
#include "WindowTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <cmath>
#include <memory>

using vorn::test::AnswerBoxes;
using vorn::test::SeenBox;
using vorn::test::Shot;
using vorn::test::Type;

class ParameterPanelTest : public QObject, protected vorn::test::MainWindowAccess {
    Q_OBJECT

    // The window's focus field (also while a message box has just closed and
    // the window is not yet active again).
    QString Focused() const {
        QWidget* f = w_->focusWidget();
        return f ? f->objectName() : QString();
    }
    // After a message box the desktop makes the window active again; the
    // offscreen platform needs to be told.
    void Activate() {
        if (!w_->isActiveWindow()) {
            w_->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(w_.get()));
        }
    }
    void Press(Qt::Key key) {
        Activate();
        QTest::keyClick(w_->focusWidget(), key);
    }
    void Focus(const char* name) {
        Activate();
        Child(name)->setFocus(Qt::TabFocusReason);
        QCOMPARE(Focused(), QString::fromLatin1(name));
    }
    void ShowTab(int page) { w_->Tabs()->setCurrentIndex(page); }

    // The caption `text` in the row of `field`: of the labels with that text,
    // the one nearest the field's middle line, then nearest to it.
    QLabel* CaptionBeside(const QString& text, const char* field) const {
        QWidget* f = Child(field);
        const QPoint mid = f->mapTo(w_.get(), f->rect().center());
        QLabel* best = nullptr;
        int bestDy = 0, bestDx = 0;
        for (QLabel* l : w_->findChildren<QLabel*>()) {
            if (l->text() != text || !l->isVisible())
                continue;
            const QPoint c = l->mapTo(w_.get(), l->rect().center());
            const int dy = std::abs(c.y() - mid.y()), dx = std::abs(c.x() - mid.x());
            if (!best || dy < bestDy || (dy == bestDy && dx < bestDx)) {
                best = l;
                bestDy = dy;
                bestDx = dx;
            }
        }
        return best;
    }

    // A search on a 4 × 3 board: a plan in the job and results in the grid.
    void SearchBoard() {
        Type(Child<QLineEdit>("DBEdit1"), QStringLiteral("4"));
        Type(Child<QLineEdit>("DBEdit2"), QStringLiteral("3"));
        w_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w_.get()));
        QTest::keyClick(w_.get(), Qt::Key_F2);
        QVERIFY(Dm().TempResult.isOpen());
        QVERIFY(Dm().TempResult.recordCount() > 0);
        QVERIFY(Command("ToolButton3")->isEnabled());
    }

private slots:
    // The program's font and texts, as the program starts.
    void initTestCase() {
        vorn::test::IsolateUserSettings();
        vorn::SetUpApplication(*qApp);
        QVERIFY(vorn::LoadQtTranslations(*qApp));
    }
    void init() {
        QVERIFY(OpenWindow());
        QVERIFY(QTest::qWaitForWindowActive(w_.get()));
    }
    void cleanup() { CloseWindow(); }

    // Enter and Down walk each ring forward, Up backward; the rings close.
    void keysWalkTheRings_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QStringList>("ring");
        QTest::newRow("parameters") << 0 << vorn::ParametersRing();
        QTest::newRow("array") << 1 << vorn::ArrayRing();
        QTest::newRow("parts") << 3 << vorn::PartsRing();
    }
    void keysWalkTheRings() {
        QFETCH(int, page);
        QFETCH(QStringList, ring);
        ShowTab(page);
        Focus(ring[0].toLatin1().constData());
        const Qt::Key forward[] = {Qt::Key_Return, Qt::Key_Down, Qt::Key_Enter};
        for (qsizetype i = 1; i <= ring.size(); ++i) {
            Press(forward[i % 3]);
            QCOMPARE(Focused(), ring[i % ring.size()]);
        }
        // Back round with Up; on the array tab Up stops at the first field.
        Focus(ring.last().toLatin1().constData());
        for (qsizetype i = ring.size() - 2; i >= 0; --i) {
            Press(Qt::Key_Up);
            QCOMPARE(Focused(), ring[i]);
        }
        Press(Qt::Key_Up);
        QCOMPARE(Focused(), page == 1 ? ring.first() : ring.last());
        // Up and Down do not change the check boxes, radio buttons and count.
        if (page == 0) {
            QVERIFY(Child<QCheckBox>("CheckBox1")->isChecked());
            QVERIFY(Child<QRadioButton>("RadioButton6")->isChecked());
            QCOMPARE(Child<QSpinBox>("Edit5")->value(), 1);
        }
    }

    // Each caption moves the focus to its field; shown results' captions to
    // nothing.
    void captionsMoveTheFocus() {
        struct Case {
            int page;
            const char* text;
            const char* beside;
            const char* target; // empty: the focus stays
        };
        const Case cases[] = {
            {0, "成品尺寸", "DBEdit1", "DBEdit1"},
            {0, "×", "DBEdit2", "DBEdit2"},
            {0, "拼板间距", "DBEdit3", "DBEdit3"},
            {0, "边距限制", "DBEdit4", "DBEdit4"},
            {0, "左右", "DBEdit4", "DBEdit4"},
            {0, "上下", "DBEdit5", "DBEdit5"},
            {0, "Panel种类", "Edit5", "DBEdit19"},
            {0, "最大Panel", "DBEdit17", "DBEdit17"},
            {0, "×", "DBEdit18", "DBEdit18"},
            {0, "最小Panel", "DBEdit19", "DBEdit19"},
            {0, "×", "DBEdit20", "DBEdit20"},
            {0, "Panel 最大长宽比例", "DBEdit21", "DBEdit21"},
            {0, "最低板材利用率限制", "DBEdit22", "DBEdit22"},
            {0, "%", "DBEdit22", "DBEdit20"},
            {0, "Panel尺寸", "DBEdit7", "DBEdit7"},
            {0, "×", "DBEdit8", "DBEdit8"},
            {0, "Pas/Panel", "DBEdit15", "DBEdit18"},
            {0, "%", "DBEdit16", "DBEdit18"},
            {0, "×", "DBEdit12", "DBEdit18"},
            {0, "Panel/Sheet", "DBEdit13", "DBEdit18"},
            {0, "%", "DBEdit14", "DBEdit18"},
            {0, "示意图", "Label33", "DBEdit17"},
            {0, "边  距", "DBEdit9", ""},
            {0, "左右", "DBEdit9", ""},
            {0, "上下", "DBEdit10", ""},
            {0, "拼板数量 ", "DBEdit15", ""},
            {0, "拼板利用率", "DBEdit16", ""},
            {0, "板材尺寸", "DBEdit11", ""},
            {0, "开板数量", "DBEdit13", ""},
            {0, "板材利用率", "DBEdit14", ""},
            {1, "单元尺寸", "DBEdit23", "DBEdit23"},
            {1, "×", "DBEdit24", "DBEdit24"},
            {1, "拼板间距", "DBEdit25", "DBEdit25"},
            {1, "边距  左右", "DBEdit26", "DBEdit26"},
            {1, "上下", "DBEdit27", "DBEdit27"},
            {1, "最大成品尺寸", "DBEdit28", "DBEdit28"},
            {1, "×", "DBEdit29", "DBEdit29"},
            {1, "最小成品尺寸", "DBEdit30", "DBEdit30"},
            {1, "×", "DBEdit31", "DBEdit31"},
            {1, "成品尺寸", "DBEdit32", "DBEdit32"},
            {1, "×", "DBEdit33", "DBEdit33"},
            {1, "拼板数量", "DBEdit34", "DBEdit34"},
            {1, "利 用 率", "DBEdit35", "DBEdit35"},
            {3, "部件编号", "Edit1", "Edit1"},
            {3, "客户型号", "Edit2", "Edit2"},
            {3, "板  层  数", "DBEdit6", "DBEdit6"},
            {3, "操  作  员", "Edit3", "Edit3"},
            {3, "备注", "Memo1", "Memo1"},
        };
        const char* start[] = {"DBEdit3", "DBEdit25", "", "Edit3"};
        for (const Case& c : cases) {
            ShowTab(c.page);
            // Start elsewhere: the text beside a caption may be its own target.
            const char* from = qstrcmp(c.target, start[c.page]) == 0 && c.page == 0 ? "DBEdit4"
                               : qstrcmp(c.target, start[c.page]) == 0              ? "Edit1"
                                                                                    : start[c.page];
            if (c.page == 1 && qstrcmp(c.target, start[1]) == 0)
                from = "DBEdit23";
            Focus(from);
            QLabel* caption = CaptionBeside(QString::fromUtf8(c.text), c.beside);
            QVERIFY2(caption, c.text);
            // Scrolled into view first: a click lands where the user sees.
            for (QWidget* p = caption->parentWidget(); p; p = p->parentWidget())
                if (auto* area = qobject_cast<QScrollArea*>(p))
                    area->ensureWidgetVisible(caption);
            QTest::mouseClick(caption, Qt::LeftButton);
            const QString expected =
                *c.target ? QString::fromLatin1(c.target) : QString::fromLatin1(from);
            QVERIFY2(Focused() == expected,
                     qPrintable(
                         QStringLiteral("%1 beside %2: focus in %3")
                             .arg(QString::fromUtf8(c.text), QLatin1String(c.beside), Focused())));
        }
    }

    // Limit pairs leave the larger value as the length, on both tabs.
    void limitPairsAreOrderedOnLeaving_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("lengthField");
        QTest::addColumn<QString>("widthField");
        QTest::addColumn<QString>("lengthColumn");
        QTest::addColumn<QString>("widthColumn");
        QTest::addColumn<QString>("length");
        QTest::addColumn<QString>("width");
        QTest::addColumn<double>("expectedLength");
        QTest::addColumn<double>("expectedWidth");
        QTest::newRow("max exchanged") << 0 << "DBEdit17"
                                       << "DBEdit18"
                                       << "Max_PL"
                                       << "Max_PW"
                                       << "500"
                                       << "600" << 600.0 << 500.0;
        QTest::newRow("max equal") << 0 << "DBEdit17"
                                   << "DBEdit18"
                                   << "Max_PL"
                                   << "Max_PW"
                                   << "20"
                                   << "20" << 20.0 << 20.0;
        QTest::newRow("min exchanged") << 0 << "DBEdit19"
                                       << "DBEdit20"
                                       << "Min_PL"
                                       << "Min_PW"
                                       << "8"
                                       << "9.5" << 9.5 << 8.0;
        QTest::newRow("array max") << 1 << "DBEdit28"
                                   << "DBEdit29"
                                   << "Max_SetL"
                                   << "Max_SetW"
                                   << "6"
                                   << "9" << 9.0 << 6.0;
        QTest::newRow("array min") << 1 << "DBEdit30"
                                   << "DBEdit31"
                                   << "Min_SetL"
                                   << "Min_SetW"
                                   << "1"
                                   << "2" << 2.0 << 1.0;
    }
    void limitPairsAreOrderedOnLeaving() {
        QFETCH(int, page);
        QFETCH(QString, lengthField);
        QFETCH(QString, widthField);
        QFETCH(QString, lengthColumn);
        QFETCH(QString, widthColumn);
        QFETCH(QString, length);
        QFETCH(QString, width);
        QFETCH(double, expectedLength);
        QFETCH(double, expectedWidth);
        ShowTab(page);
        vorn::Cursor& row = page == 1 ? Dm().TempInputCus : Dm().TempInput;
        // A small width first, so that the typed length alone exchanges nothing.
        row.edit();
        row.setValue(widthColumn, 1.0);
        row.post();
        Type(w_->findChild<QLineEdit*>(lengthField), length); // Enter: on to the width
        QCOMPARE(Focused(), widthField);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(QApplication::focusWidget(), width);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); // leaving the width
        QCOMPARE(row.asDouble(lengthColumn), expectedLength);
        QCOMPARE(row.asDouble(widthColumn), expectedWidth);
        QCOMPARE(w_->findChild<QLineEdit*>(lengthField)->text().toDouble(), expectedLength);
        QCOMPARE(w_->findChild<QLineEdit*>(widthField)->text().toDouble(), expectedWidth);
    }

    // A ratio below 1 keeps the focus: Enter, Tab, a click elsewhere and F2
    // are all refused with the message; 1 is accepted.
    void ratioBelowOneKeepsTheFocus() {
        auto* ratio = Child<QLineEdit>("DBEdit21");
        SeenBox seen;
        AnswerBoxes(&seen, QMessageBox::Ok);
        Type(ratio, QStringLiteral("0.8"));
        QCOMPARE(seen.count, 1);
        QCOMPARE(seen.text, vorn::RatioMessage());
        QCOMPARE(seen.icon, QMessageBox::Information);
        QCOMPARE(Focused(), QStringLiteral("DBEdit21"));
        QCOMPARE(Dm().TempInput.asDouble("PLPW_ratio"), 0.8); // the value stays

        AnswerBoxes(&seen, QMessageBox::Ok);
        Press(Qt::Key_Tab);
        QCOMPARE(seen.count, 2);
        QCOMPARE(Focused(), QStringLiteral("DBEdit21"));

        // Clicks on other controls: no focus, no toggle, no caption move.
        auto* both = Child<QCheckBox>("CheckBox1");
        const bool checked = both->isChecked();
        AnswerBoxes(&seen, QMessageBox::Ok);
        Activate();
        QTest::mouseClick(both, Qt::LeftButton, {}, QPoint(6, both->height() / 2));
        QCOMPARE(seen.count, 3);
        QCOMPARE(both->isChecked(), checked);
        QCOMPARE(Focused(), QStringLiteral("DBEdit21"));
        AnswerBoxes(&seen, QMessageBox::Ok);
        Activate();
        QTest::mouseClick(Child("DBEdit22"), Qt::LeftButton);
        QCOMPARE(seen.count, 4);
        QCOMPARE(Focused(), QStringLiteral("DBEdit21"));

        // F2 with the refused ratio: no search.
        Dm().TempInput.edit();
        Dm().TempInput.setValue("Set_L", 4.0);
        Dm().TempInput.setValue("Set_W", 3.0);
        Dm().TempInput.post();
        AnswerBoxes(&seen, QMessageBox::Ok);
        Activate();
        QTest::keyClick(w_.get(), Qt::Key_F2);
        QCOMPARE(seen.count, 5);
        QCOMPARE(seen.text, vorn::RatioMessage());
        QVERIFY(!Dm().TempResult.isOpen());
        QCOMPARE(Focused(), QStringLiteral("DBEdit21"));

        // Corrected: Enter moves on without a word.
        ratio->selectAll();
        QTest::keyClicks(ratio, QStringLiteral("1"));
        Press(Qt::Key_Return);
        QCOMPARE(seen.count, 5);
        QCOMPARE(Focused(), QStringLiteral("DBEdit22"));
        QCOMPARE(Dm().TempInput.asDouble("PLPW_ratio"), 1.0);
    }

    // Passing through the board size keeps the plan; changing it drops the
    // plan and every field but the inputs of the search.
    void boardSizeChangeDropsThePlan() {
        SearchBoard();
        vorn::Cursor& job = Dm().TempInput;
        job.edit();
        job.setValue("Layer", 6);
        job.post();
        Dm().TempTooling.open();
        Focus("DBEdit1");
        Press(Qt::Key_Tab);
        Press(Qt::Key_Tab);
        QCOMPARE(Focused(), QStringLiteral("DBEdit3"));
        QVERIFY(Dm().TempResult.isOpen());
        QVERIFY(Dm().TempTooling.isOpen());
        QVERIFY(Command("ToolButton3")->isEnabled());
        QCOMPARE(job.asDouble("Layer"), 6.0);

        const char* kept[] = {"Set_W",  "Set_C",  "BorderX_L", "BorderX_W",  "Max_PL",
                              "Max_PW", "Min_PL", "Min_PW",    "PLPW_ratio", "Min_lv"};
        QList<double> before;
        for (const char* c : kept)
            before << job.asDouble(c);
        Focus("DBEdit1");
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("5"));
        Press(Qt::Key_Tab);
        QVERIFY(!Dm().TempResult.isOpen());
        QVERIFY(!Dm().TempTooling.isOpen());
        QCOMPARE(job.asDouble("Set_L"), 5.0);
        for (int i = 0; i < int(std::size(kept)); ++i)
            QCOMPARE(job.asDouble(kept[i]), before[i]);
        for (const char* c :
             {"Panel_L", "Panel_W", "Border_L", "Panel", "Panel_lv", "Panel_L2", "Panel2", "Base_L",
              "Base_W", "Panel_N", "Base_lv", "Up", "P_La", "Part_L", "PanelCu", "Layer"})
            QVERIFY2(job.isNull(c), c);
        QCOMPARE(job.state(), vorn::Cursor::State::Browse);
        QVERIFY(Child<QLineEdit>("DBEdit7")->text().isEmpty());
        QVERIFY(Child<QLineEdit>("DBEdit6")->text().isEmpty());
        for (const char* c : {"ToolButton3", "M01_02", "ToolButton8", "ToolButton7", "ToolButton9",
                              "M01_05", "ToolButton10"})
            QVERIFY2(!Command(c)->isEnabled(), c);
        QVERIFY(w_->ShowsWelcome());
        QVERIFY(!Child<QRadioButton>("RadioButton8")->isVisible());
        QCOMPARE(w_->ResultGrid()->model()->rowCount(), 0);
    }

    // A board size still being typed when the defaults window opens drops
    // the plan first (the window posts the job row).
    void boardSizeTypedBeforeTheDefaultsWindow() {
        SearchBoard();
        Focus("DBEdit1");
        QTest::keyClicks(w_->focusWidget(), QStringLiteral("6"));
        QTimer::singleShot(50, qApp, [] {
            if (QWidget* dialog = QApplication::activeModalWidget())
                dialog->close();
        });
        w_->M03_04Click();
        QCOMPARE(Dm().TempInput.asDouble("Set_L"), 6.0);
        QVERIFY(!Dm().TempResult.isOpen());
        QVERIFY(!Command("ToolButton3")->isEnabled());
    }

    // Delete follows the typed part number, whatever the case of the letters.
    void partNumberEnablesDelete() {
        vorn::Cursor& parts = Dm().data0004;
        parts.open();
        parts.append();
        parts.setValue("Part_number", QStringLiteral("Pcb-7a"));
        parts.post();
        parts.close();
        ShowTab(3);
        auto* number = Child<QLineEdit>("Edit1");
        number->setFocus();
        QTest::keyClicks(number, QStringLiteral("pcb-7"));
        QCOMPARE(number->text(), QStringLiteral("PCB-7"));
        QVERIFY(!Command("ToolButton12")->isEnabled());
        QTest::keyClicks(number, QStringLiteral("a"));
        QCOMPARE(number->text(), QStringLiteral("PCB-7A"));
        QVERIFY(Command("ToolButton12")->isEnabled());
        QVERIFY(Command("M01_03")->isEnabled());
        QVERIFY(!Dm().SavedPartsQuery.isOpen());
        QTest::keyClick(number, Qt::Key_Backspace);
        QVERIFY(!Command("ToolButton12")->isEnabled());
        QVERIFY(!Command("M01_03")->isEnabled());
        auto* customer = Child<QLineEdit>("Edit2");
        customer->setFocus();
        QTest::keyClicks(customer, QStringLiteral("x1y"));
        QCOMPARE(customer->text(), QStringLiteral("X1Y"));
        // Leaving the array tab tests the number again.
        number->setText(QStringLiteral("PCB-7A"));
        ShowTab(1);
        QVERIFY(!Command("ToolButton12")->isEnabled());
        ShowTab(0);
        QVERIFY(Command("ToolButton12")->isEnabled());
    }

    // The panel-kind count: the keys walk on, the wheel and the page keys do
    // nothing, "2" and "1" set it, other characters are dropped.
    void panelKindCountChangesOnlyWhenTold() {
        auto* count = Child<QSpinBox>("Edit5");
        QTableView* grid = w_->ResultGrid();
        QVERIFY(grid->isColumnHidden(5));
        Focus("Edit5");
        Press(Qt::Key_PageUp);
        QTest::keyClicks(count, QStringLiteral("x9"));
        QWheelEvent wheel(QPointF(5, 5), count->mapToGlobal(QPointF(5, 5)), {}, {0, 120},
                          Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(count, &wheel);
        QCOMPARE(count->value(), 1);
        QVERIFY(grid->isColumnHidden(5));
        QTest::keyClicks(count, QStringLiteral("2"));
        QCOMPARE(count->value(), 2);
        QVERIFY(!grid->isColumnHidden(5));
        QVERIFY(Child<QToolButton>("SpeedButton11")->isEnabled());
        Press(Qt::Key_Down);
        QCOMPARE(Focused(), QStringLiteral("DBEdit17"));
        QCOMPARE(count->value(), 2);
        Focus("Edit5");
        QTest::keyClicks(count, QStringLiteral("1"));
        QCOMPARE(count->value(), 1);
        QVERIFY(grid->isColumnHidden(5));
        // Its arrows are still there for the mouse.
        QTest::keyClick(count, Qt::Key_Up);
        QCOMPARE(count->value(), 1);
        count->stepUp();
        QCOMPARE(count->value(), 2);
    }

    // The panel size fields showing panel 2: the key walks on, then the
    // warning.
    void panel2SizeFieldsWarn() {
        Child<QSpinBox>("Edit5")->setValue(2);
        QTest::mouseClick(Child<QToolButton>("SpeedButton11"), Qt::LeftButton);
        QVERIFY(Child<QLineEdit>("DBEdit7")->isReadOnly());
        Focus("DBEdit7");
        SeenBox seen;
        AnswerBoxes(&seen, QMessageBox::Ok);
        Press(Qt::Key_5);
        QCOMPARE(seen.count, 1);
        QCOMPARE(seen.text, vorn::Panel2SizeMessage());
        QCOMPARE(seen.icon, QMessageBox::Warning);
        QCOMPARE(Focused(), QStringLiteral("DBEdit7"));
        AnswerBoxes(&seen, QMessageBox::Ok);
        Press(Qt::Key_Down);
        QCOMPARE(seen.count, 2);
        QCOMPARE(Focused(), QStringLiteral("DBEdit8"));
        AnswerBoxes(&seen, QMessageBox::Ok);
        Press(Qt::Key_Return);
        QCOMPARE(seen.count, 3);
        QCOMPARE(Focused(), QStringLiteral("DBEdit1"));
    }

    // A field shows its whole value or refuses it: the seven typed
    // characters stop where the shown value would no longer fit, and a value
    // that arrives otherwise is shown in a smaller font.
    void fieldsShowWholeValues() {
        auto* length = Child<QLineEdit>("DBEdit1");
        length->setFocus();
        length->selectAll();
        QTest::keyClicks(length, QStringLiteral("1000000"));
        QVERIFY(QStringLiteral("1000000").startsWith(length->text()));
        QVERIFY(length->text().size() < 7);
        Press(Qt::Key_Return);
        auto fits = [](QLineEdit* e) {
            return e->fontMetrics().horizontalAdvance(e->text()) <= e->width() - 6;
        };
        QVERIFY2(fits(length), qPrintable(length->text()));
        // 999.5 inches shown in millimetres: 25387.3000.
        vorn::Cursor& job = Dm().TempInput;
        job.edit();
        job.setValue("Set_L", 25387.3);
        job.post();
        QCOMPARE(length->text(), QStringLiteral("25387.3000"));
        QVERIFY(length->font().pixelSize() < 11);
        QVERIFY2(fits(length), qPrintable(length->text()));
        job.edit();
        job.setValue("Set_L", 4.0);
        job.post();
        QCOMPARE(length->font().pixelSize(), 11);
    }

    // At the minimum size every field can be reached and nothing is covered
    // by the scroll bar.
    void minimumSizeWindow() {
        w_->resize(w_->minimumSize());
        QTest::qWait(50);
        auto* area = qobject_cast<QScrollArea*>(w_->Tabs()->widget(0));
        QVERIFY(area);
        QVERIFY(area->verticalScrollBar()->isVisible());
        const int bar = area->verticalScrollBar()->mapTo(w_.get(), QPoint(0, 0)).x();
        for (QWidget* w : area->widget()->findChildren<QWidget*>()) {
            if (!w->isVisible() || qobject_cast<QScrollBar*>(w))
                continue;
            const int right = w->mapTo(w_.get(), QPoint(w->width(), 0)).x();
            QVERIFY2(right <= bar,
                     qPrintable(w->objectName() + u' ' +
                                (qobject_cast<QLabel*>(w) ? qobject_cast<QLabel*>(w)->text()
                                                          : QString())));
        }
        // The last field of the ring is scrolled into view when reached.
        Focus("DBEdit7");
        auto* panelW = Child("DBEdit8");
        Press(Qt::Key_Down);
        QCOMPARE(Focused(), QStringLiteral("DBEdit8"));
        const QRect seen(QPoint(0, 0), area->viewport()->size());
        QVERIFY(
            seen.contains(QRect(panelW->mapTo(area->viewport(), QPoint(0, 0)), panelW->size())));
        Shot(w_.get(), QStringLiteral("panel_minimum_size"));
        area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum());
        Shot(w_.get(), QStringLiteral("panel_minimum_size_scrolled"));
    }

    // Qt's own buttons speak Chinese.
    void standardButtonsInChinese() {
        QMessageBox box(QMessageBox::Question, QStringLiteral("Vorn"), QStringLiteral("?"),
                        QMessageBox::Yes | QMessageBox::No);
        QVERIFY2(box.button(QMessageBox::Yes)->text().contains(QStringLiteral("是")),
                 qPrintable(box.button(QMessageBox::Yes)->text()));
        QVERIFY(box.button(QMessageBox::No)->text().contains(QStringLiteral("否")));
        QMessageBox ok(QMessageBox::Information, QStringLiteral("Vorn"), QStringLiteral("!"),
                       QMessageBox::Ok | QMessageBox::Cancel);
        QVERIFY(ok.button(QMessageBox::Cancel)->text().contains(QStringLiteral("取消")));
        // The file dialogs too (Qt's own dialog, as the offscreen platform
        // and desktops without a native one show it).
        QFileDialog files(w_.get());
        files.setOption(QFileDialog::DontUseNativeDialog);
        files.setAcceptMode(QFileDialog::AcceptSave);
        auto* buttons = files.findChild<QDialogButtonBox*>();
        QVERIFY(buttons);
        QVERIFY2(buttons->button(QDialogButtonBox::Cancel)->text().contains(QStringLiteral("取消")),
                 qPrintable(buttons->button(QDialogButtonBox::Cancel)->text()));
        QVERIFY2(buttons->button(QDialogButtonBox::Save)->text().contains(QStringLiteral("保存")),
                 qPrintable(buttons->button(QDialogButtonBox::Save)->text()));
    }
};

QTEST_MAIN(ParameterPanelTest)
#include "ParameterPanelTest.moc"
