#include "FakeRows.h"
#include "ProgramDir.h"
#include "Startup.h"
#include "Unit2.h"
#include "Unit9.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>

using vorn::TForm9;

class DefaultsWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<TVornMF> window_;
    FakeRows rows_;

    QString DefaultsPath() const { return dir_->filePath(QStringLiteral("VornInitS.int")); }

    // Opens the window from its menu item, runs the body on it while it is
    // shown, and returns once it is closed.
    void WithWindow(const std::function<void(TForm9*)>& body) {
        bool ran = false;
        QTimer::singleShot(0, this, [&] {
            auto* form = window_->findChild<TForm9*>();
            QVERIFY(form);
            QVERIFY(form->isVisible());
            ran = true;
            body(form);
            if (form->isVisible())
                form->reject();
        });
        window_->Command(QStringLiteral("M03_04"))->trigger();
        QVERIFY(ran);
        QVERIFY(!window_->findChild<TForm9*>());
    }
    template <class T> static T* Child(QWidget* w, const char* name) {
        return w->findChild<T*>(QString::fromLatin1(name));
    }
    static void Type(QWidget* form, const char* field, const QString& text) {
        auto* e = Child<QLineEdit>(form, field);
        e->selectAll();
        QTest::keyClicks(e, text);
    }

private slots:
    void init() {
        dir_ = NewProgramDir();
        QVERIFY(dir_);
        WriteFile(DefaultsPath(), "Custom=kept\r\nSet_L=10\r\nSet_W=4\r\nSet_C=0.1\r\nMax_PL=24\r\n"
                                  "Max_PW=20\r\nMin_lv=70.00\r\nPart_L=1\r\nPanelNumber=1\r\n"
                                  "AUTOPanel=True\r\nGoodBase=True\r\nBothPanel=True\r\n"
                                  "BothBase=False\r\nTooling=False\r\nCompName=Acme PCB\r\n");
        rows_ = FakeRows();
        window_ = vorn::CreateMainWindow(dir_->path());
        window_->SetJobRows(&rows_);
        window_->StartNewJob();
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }
    void cleanup() {
        window_.reset();
        dir_.reset();
    }

    void opensOnTheJobRowsWithTheMainWindowsOptions() {
        // An edit not yet posted is posted by the opening.
        rows_.job.SetNumber("Set_C", 0.2);
        Child<QCheckBox>(window_.get(), "CheckBox3")->setChecked(true);
        WithWindow([&](TForm9* form) {
            QCOMPARE(form->windowTitle(), QStringLiteral("默认参数值设置"));
            QCOMPARE(form->size(), QSize(550, 438));
            QVERIFY(!rows_.job.IsModified());
            QCOMPARE(rows_.job.posted.value("Set_C"), std::optional<double>(0.2));
            QCOMPARE(Child<QLineEdit>(form, "DBEdit1")->text(), QStringLiteral("10"));
            QCOMPARE(Child<QLineEdit>(form, "DBEdit12")->text(), QStringLiteral("1"));
            QCOMPARE(form->State().company, QStringLiteral("Acme PCB"));
            QVERIFY(form->State().options.tooling);
            QVERIFY(!form->UndoAction()->isEnabled());
            // Any change allows undo.
            Child<QCheckBox>(form, "CheckBox2")->setChecked(true);
            QVERIFY(form->UndoAction()->isEnabled());
            QTest::qWait(20);
            QVERIFY(form->grab().save(QStringLiteral(VORN_SCREENSHOT_DIR "/defaults_window.png")));
        });
    }

    void storeInMillimetresWritesInchesAndRestoreShowsThemAgain() {
        window_->UnitButton()->setText(QStringLiteral("mm"));
        window_->StartNewJob();
        QCOMPARE(rows_.job.Number("Set_L"), 254.0);
        WithWindow([&](TForm9* form) {
            Type(form, "DBEdit1", QStringLiteral("127"));
            QCOMPARE(rows_.job.Number("Set_L"), 127.0);
            form->StoreAction()->trigger();
            const QByteArray file = ReadFile(DefaultsPath());
            QVERIFY2(file.contains("\r\nSet_L=5\r\n"), file.constData());
            // Unknown lines stay in place.
            QVERIFY(file.startsWith("Custom=kept\r\n"));
            QVERIFY(file.contains("\r\nPanelNumber=1\r\n"));
            QVERIFY(file.contains("\r\nAUTOPanel=True\r\n"));
            QVERIFY(file.contains("\r\nBothBase=False\r\n"));
            QVERIFY(file.contains("\r\nMin_lv=70.00\r\n"));
            QVERIFY(!form->UndoAction()->isEnabled());

            // Restore takes the list, not the file.
            Type(form, "DBEdit1", QStringLiteral("300"));
            WriteFile(DefaultsPath(), "Set_L=1\r\n");
            form->RestoreAction()->trigger();
            QCOMPARE(rows_.job.Number("Set_L"), 127.0);
            QCOMPARE(Child<QLineEdit>(form, "DBEdit1")->text(), QStringLiteral("127"));
        });
        QCOMPARE(rows_.job.Number("Set_L"), 127.0);
    }

    void undoAndCloseLeaveTheJobAsItWas_data() {
        QTest::addColumn<bool>("byUndo");
        QTest::newRow("undo") << true;
        QTest::newRow("close") << false;
    }
    void undoAndCloseLeaveTheJobAsItWas() {
        QFETCH(bool, byUndo);
        PutValidPlan(rows_.job);
        window_->UpdateJobCommands();
        const auto jobBefore = rows_.job.current;
        const auto arrayBefore = rows_.array.current;
        const vorn::SearchOptions optionsBefore = window_->Options();
        WithWindow([&](TForm9* form) {
            const vorn::DefaultsWindowState stateBefore = form->State();
            Type(form, "DBEdit6", QStringLiteral("30"));   // Max_PL
            Type(form, "DBEdit13", QStringLiteral("2.5")); // Part_W
            Child<QRadioButton>(form, "RadioButton2")->setChecked(true);
            Child<QCheckBox>(form, "CheckBox3")->setChecked(true);
            Child<QLineEdit>(form, "Edit2")->setText(QStringLiteral("Other"));
            Child<QSpinBox>(form, "Edit1")->setValue(2);
            QVERIFY(form->UndoAction()->isEnabled());
            QCOMPARE(rows_.job.Number("Max_PL"), 30.0);
            if (byUndo) {
                form->UndoAction()->trigger();
                QCOMPARE(form->State(), stateBefore);
                QVERIFY(!form->UndoAction()->isEnabled());
                QCOMPARE(Child<QLineEdit>(form, "DBEdit6")->text(), QStringLiteral("24"));
            } else {
                form->CloseAction()->trigger();
            }
        });
        QCOMPARE(rows_.job.current, jobBefore);
        QCOMPARE(rows_.array.current, arrayBefore);
        QVERIFY(rows_.job.IsOpen() && rows_.array.IsOpen());
        QCOMPARE(window_->Options(), optionsBefore);
        // The plan is untouched and still enables its commands.
        QVERIFY(window_->Command(QStringLiteral("ToolButton3"))->isEnabled());
        QCOMPARE(ReadFile(DefaultsPath()).left(12), QByteArray("Custom=kept\r"));
        QVERIFY(!ReadFile(DefaultsPath()).contains("Max_PL=30"));
    }

    void storingOnlyTheCompanyKeepsThePlan() {
        PutValidPlan(rows_.job);
        QVERIFY(window_->UpdateJobCommands());
        const int closes = rows_.resultCloses;
        const qint64 picture = window_->DiagramImage()->pixmap().cacheKey();
        WithWindow([&](TForm9* form) {
            Child<QLineEdit>(form, "Edit2")->setText(QStringLiteral("New Co"));
            form->StoreAction()->trigger();
        });
        QVERIFY(ReadFile(DefaultsPath()).contains("\r\nCompName=New Co\r\n"));
        QCOMPARE(rows_.job.Number("Panel_L"), 18.0);
        QCOMPARE(rows_.resultCloses, closes);
        QVERIFY(window_->Command(QStringLiteral("ToolButton3"))->isEnabled());
        // The diagram was not replaced by the welcome picture.
        QCOMPARE(window_->DiagramImage()->pixmap().cacheKey(), picture);
    }

    void storingAChangedLimitClearsThePlan() {
        PutValidPlan(rows_.job);
        QVERIFY(window_->UpdateJobCommands());
        auto* whole = Child<QRadioButton>(window_.get(), "RadioButton8");
        whole->show();
        whole->setChecked(true);
        const int closes = rows_.resultCloses;
        WithWindow([&](TForm9* form) {
            Type(form, "DBEdit6", QStringLiteral("30"));
            Child<QSpinBox>(form, "Edit1")->setValue(2);
            form->StoreAction()->trigger();
        });
        QVERIFY(ReadFile(DefaultsPath()).contains("\r\nMax_PL=30\r\n"));
        // Inputs stay, the plan and the results go.
        QCOMPARE(rows_.job.posted.value("Max_PL"), std::optional<double>(30));
        QCOMPARE(rows_.job.posted.value("Set_L"), std::optional<double>(4));
        QVERIFY(rows_.job.IsNull("Panel_L"));
        QVERIFY(rows_.job.IsNull("Panel_lv"));
        QVERIFY(rows_.job.IsNull("Base_L"));
        QCOMPARE(rows_.resultCloses, closes + 1);
        for (const char* c : {"ToolButton3", "ToolButton8", "ToolButton9", "M01_02", "M01_05"})
            QVERIFY2(!window_->Command(QString::fromLatin1(c))->isEnabled(), c);
        QVERIFY(window_->ShowsWelcome());
        QVERIFY(whole->isHidden());
        QVERIFY(Child<QRadioButton>(window_.get(), "RadioButton1")->isChecked());
        // The window's options reach the main window.
        QCOMPARE(Child<QSpinBox>(window_.get(), "Edit5")->value(), 2);
    }

    void emptyValuesRemoveTheirLines() {
        WithWindow([&](TForm9* form) {
            Child<QLineEdit>(form, "Edit2")->clear();
            auto* partL = Child<QLineEdit>(form, "DBEdit12");
            partL->selectAll();
            QTest::keyClick(partL, Qt::Key_Backspace);
            QVERIFY(rows_.array.IsNull("Part_L"));
            form->StoreAction()->trigger();
        });
        const QByteArray file = ReadFile(DefaultsPath());
        QVERIFY(!file.contains("CompName"));
        QVERIFY(!file.contains("Part_L="));
        QVERIFY(file.contains("Set_L=10"));
    }

    void panelKindFieldTakesOneTwoAndBackspace() {
        WithWindow([&](TForm9* form) {
            auto* spin = Child<QSpinBox>(form, "Edit1");
            auto* edit = spin->findChild<QLineEdit*>();
            QCOMPARE(spin->value(), 1);
            QTest::keyClick(edit, Qt::Key_2);
            QCOMPARE(spin->value(), 2);
            QCOMPARE(edit->text(), QStringLiteral("2"));
            for (Qt::Key k : {Qt::Key_3, Qt::Key_A, Qt::Key_0, Qt::Key_Minus}) {
                QTest::keyClick(edit, k);
                QCOMPARE(edit->text(), QStringLiteral("2"));
            }
            QTest::keyClick(edit, Qt::Key_1);
            QCOMPARE(spin->value(), 1);
            // Backspace edits only the text.
            edit->end(false);
            QTest::keyClick(edit, Qt::Key_Backspace);
            QCOMPARE(edit->text(), QString());
            QCOMPARE(spin->value(), 1);
        });
    }

    void enterMovesToTheNextField() {
        WithWindow([&](TForm9* form) {
            auto* first = Child<QLineEdit>(form, "DBEdit1");
            // The offscreen platform does not hand activation to a dialog.
            QApplication::setActiveWindow(form);
            first->setFocus();
            QTest::keyClick(first, Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget(), Child<QLineEdit>(form, "DBEdit2"));
        });
    }

    void menuDoesNothingWhileTheRowsAreClosed() {
        rows_.job.open = false;
        bool shown = false;
        QTimer::singleShot(0, this, [&] {
            if (auto* form = window_->findChild<TForm9*>()) {
                shown = true;
                form->reject();
            }
        });
        window_->Command(QStringLiteral("M03_04"))->trigger();
        QCoreApplication::processEvents();
        QVERIFY(!shown);
    }
};

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    vorn::SetUpApplication(app);
    app.setQuitOnLastWindowClosed(false);
    DefaultsWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "DefaultsWindowTest.moc"
