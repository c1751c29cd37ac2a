#include "DefaultsWindow.h"
#include "MainWindow.h"
#include "SafeWrite.h"
#include "Startup.h"
#include "WindowTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
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
    std::unique_ptr<vorn::test::ProgramDir> dir_;
    std::unique_ptr<TVornMF> window_;

    QString DefaultsPath() const { return vorn::test::DefaultsPath(*dir_); }
    vorn::Cursor& Job() const { return window_->Data()->TempInput; }
    vorn::Cursor& Array() const { return window_->Data()->TempInputCus; }

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
    // Types into a field and leaves it, as a user would.
    static void Type(QWidget* form, const char* field, const QString& text) {
        vorn::test::Type(Child<QLineEdit>(form, field), text);
    }

private slots:
    void init() {
        dir_ = NewProgramDir();
        QVERIFY(dir_);
        WriteFile(DefaultsPath(), "Custom=kept\r\nSet_L=10\r\nSet_W=4\r\nSet_C=0.1\r\nMax_PL=24\r\n"
                                  "Max_PW=20\r\nMin_lv=70.00\r\nPart_L=1\r\nPanelNumber=1\r\n"
                                  "AUTOPanel=True\r\nGoodBase=True\r\nBothPanel=True\r\n"
                                  "BothBase=False\r\nTooling=False\r\nCompName=Acme PCB\r\n");
        window_ = vorn::CreateMainWindow(dir_->path());
        QVERIFY(window_);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }
    void cleanup() {
        window_.reset();
        dir_.reset();
    }

    void opensOnTheJobRowsWithTheMainWindowsOptions() {
        // An edit not yet posted is posted by the opening.
        Job().setValue("Set_C", 0.2);
        Child<QCheckBox>(window_.get(), "CheckBox3")->setChecked(true);
        WithWindow([&](TForm9* form) {
            QCOMPARE(form->windowTitle(), QStringLiteral("默认参数值设置"));
            QCOMPARE(form->size(), QSize(550, 438));
            QCOMPARE(Job().state(), vorn::Cursor::State::Browse);
            QCOMPARE(Array().state(), vorn::Cursor::State::Browse);
            QCOMPARE(Job().asDouble("Set_C"), 0.2);
            QCOMPARE(Child<QLineEdit>(form, "DBEdit1")->text(), QStringLiteral("10.0000"));
            QCOMPARE(Child<QLineEdit>(form, "DBEdit3")->text(), QStringLiteral("0.2000"));
            QCOMPARE(Child<QLineEdit>(form, "DBEdit12")->text(), QStringLiteral("1.0000"));
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
        QCOMPARE(Job().asDouble("Set_L"), 254.0);
        WithWindow([&](TForm9* form) {
            Type(form, "DBEdit1", QStringLiteral("127"));
            QCOMPARE(Job().asDouble("Set_L"), 127.0);
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
            QCOMPARE(Job().asDouble("Set_L"), 127.0);
            QCOMPARE(Child<QLineEdit>(form, "DBEdit1")->text(), QStringLiteral("127.0000"));
        });
        QCOMPARE(Job().asDouble("Set_L"), 127.0);
    }

    void undoAndCloseLeaveTheJobAsItWas_data() {
        QTest::addColumn<bool>("byUndo");
        QTest::newRow("undo") << true;
        QTest::newRow("close") << false;
    }
    void undoAndCloseLeaveTheJobAsItWas() {
        QFETCH(bool, byUndo);
        PutValidPlan(*window_->Data());
        window_->UpdateJobCommands();
        const QVariantList jobBefore = RowValues(Job());
        const QVariantList arrayBefore = RowValues(Array());
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
            QCOMPARE(Job().asDouble("Max_PL"), 30.0);
            if (byUndo) {
                form->UndoAction()->trigger();
                QCOMPARE(form->State(), stateBefore);
                QVERIFY(!form->UndoAction()->isEnabled());
                QCOMPARE(Child<QLineEdit>(form, "DBEdit6")->text(), QStringLiteral("24.000"));
            } else {
                form->CloseAction()->trigger();
            }
        });
        QCOMPARE(RowValues(Job()), jobBefore);
        QCOMPARE(RowValues(Array()), arrayBefore);
        QVERIFY(Job().isOpen() && Array().isOpen());
        QCOMPARE(window_->Options(), optionsBefore);
        // The plan is untouched and still enables its commands.
        QVERIFY(window_->Command(QStringLiteral("ToolButton3"))->isEnabled());
        QCOMPARE(ReadFile(DefaultsPath()).left(12), QByteArray("Custom=kept\r"));
        QVERIFY(!ReadFile(DefaultsPath()).contains("Max_PL=30"));
    }

    void storingOnlyTheCompanyKeepsThePlan() {
        PutValidPlan(*window_->Data());
        QVERIFY(window_->UpdateJobCommands());
        window_->Data()->TempResult.open();
        const qint64 picture = window_->DiagramImage()->pixmap().cacheKey();
        WithWindow([&](TForm9* form) {
            Child<QLineEdit>(form, "Edit2")->setText(QStringLiteral("New Co"));
            form->StoreAction()->trigger();
        });
        QVERIFY(ReadFile(DefaultsPath()).contains("\r\nCompName=New Co\r\n"));
        QCOMPARE(Job().asDouble("Panel_L"), 18.0);
        QVERIFY(window_->Data()->TempResult.isOpen());
        QVERIFY(window_->Command(QStringLiteral("ToolButton3"))->isEnabled());
        // The diagram was not replaced by the welcome picture.
        QCOMPARE(window_->DiagramImage()->pixmap().cacheKey(), picture);
    }

    void storingAChangedLimitClearsThePlan() {
        PutValidPlan(*window_->Data());
        QVERIFY(window_->UpdateJobCommands());
        window_->Data()->TempResult.open();
        window_->Data()->TempTooling.open();
        auto* whole = Child<QRadioButton>(window_.get(), "RadioButton8");
        whole->show();
        whole->setChecked(true);
        WithWindow([&](TForm9* form) {
            Type(form, "DBEdit6", QStringLiteral("30"));
            Child<QSpinBox>(form, "Edit1")->setValue(2);
            form->StoreAction()->trigger();
        });
        QVERIFY(ReadFile(DefaultsPath()).contains("\r\nMax_PL=30\r\n"));
        // Inputs stay, the plan and the results go.
        QCOMPARE(Job().state(), vorn::Cursor::State::Browse);
        QCOMPARE(Job().asDouble("Max_PL"), 30.0);
        QCOMPARE(Job().asDouble("Set_L"), 4.0);
        QCOMPARE(Job().asDouble("Min_lv"), 70.0);
        for (const char* c : {"Panel_L", "Panel_lv", "Base_L", "Panel", "Layer"})
            QVERIFY2(Job().isNull(c), c);
        QVERIFY(!window_->Data()->TempResult.isOpen());
        QVERIFY(!window_->Data()->TempTooling.isOpen());
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
            QCOMPARE(Child<QLineEdit>(form, "DBEdit12")->text(), QString());
            form->StoreAction()->trigger();
        });
        const QByteArray file = ReadFile(DefaultsPath());
        QVERIFY(!file.contains("CompName"));
        QVERIFY(!file.contains("Part_L="));
        QVERIFY(file.contains("Set_L=10"));
    }

    // The best-packing choice of the job panel goes to the defaults file
    // only when on: with it off the file is written exactly as before.
    void bestPackingIsStoredOnlyWhenOn() {
        auto* packing = Child<QComboBox>(window_.get(), "ComboBoxPacking");
        QCOMPARE(packing->currentIndex(), 0);
        WithWindow([&](TForm9* form) { form->StoreAction()->trigger(); });
        const QByteArray off = ReadFile(DefaultsPath());
        QVERIFY(!off.contains("BestPacking"));
        packing->setCurrentIndex(2);
        WithWindow([&](TForm9* form) { form->StoreAction()->trigger(); });
        QVERIFY(ReadFile(DefaultsPath()).endsWith("\r\nBestPacking=VScored\r\n"));
        QCOMPARE(packing->currentIndex(), 2); // storing keeps the choice
        window_->StartNewJob();               // a new job takes it from the file
        QCOMPARE(window_->Options().packing, vorn::PackingOption::VScored);
        packing->setCurrentIndex(0);
        WithWindow([&](TForm9* form) { form->StoreAction()->trigger(); });
        QCOMPARE(ReadFile(DefaultsPath()), off);

        struct Case {
            const char* entry;
            vorn::PackingOption packing;
            bool problem;
        };
        for (const Case& c : {Case{"", vorn::PackingOption::Off, false},
                              Case{"BestPacking=Routed\r\n", vorn::PackingOption::Routed, false},
                              Case{"BestPacking=Off\r\n", vorn::PackingOption::Off, false},
                              Case{"BestPacking=Maybe\r\n", vorn::PackingOption::Off, true}}) {
            WriteFile(DefaultsPath(), QByteArray("Set_L=10\r\n") + c.entry);
            vorn::DefaultsList list;
            list.Load(DefaultsPath());
            QStringList problems;
            QCOMPARE(vorn::OptionsFromDefaults(list, &problems).packing, c.packing);
            QCOMPARE(problems.size(), c.problem ? 1 : 0);
            if (c.problem)
                QVERIFY2(vorn::test::SpeaksChinese(problems.first()), qPrintable(problems.first()));
        }
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
            QTRY_COMPARE(QApplication::focusWidget(), Child<QLineEdit>(form, "DBEdit2"));
        });
    }

    void menuDoesNothingWhileTheRowsAreClosed() {
        Job().close();
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

    // A bad entry is reported once, naming the file, the entry and the value;
    // that field takes its built-in value, the rest of the file loads, and
    // the defaults window opens so that the user can mend and store it.
    void badEntriesTakeTheirBuiltInValues_data() {
        QTest::addColumn<QByteArray>("entry");
        QTest::addColumn<QByteArray>("column");
        QTest::addColumn<double>("builtIn");
        QTest::newRow("negative margin")
            << QByteArray("BorderX_L=-5") << QByteArray("BorderX_L") << 0.6;
        QTest::newRow("text") << QByteArray("Set_C=abc") << QByteArray("Set_C") << 0.1;
        QTest::newRow("overflow") << QByteArray("Max_PL=1e999") << QByteArray("Max_PL") << 24.5;
        QTest::newRow("nan") << QByteArray("Min_lv=nan") << QByteArray("Min_lv") << 70.0;
        QTest::newRow("ratio below 1")
            << QByteArray("PLPW_ratio=0.5") << QByteArray("PLPW_ratio") << 1.5;
        QTest::newRow("above 100 %") << QByteArray("Min_lv=150") << QByteArray("Min_lv") << 70.0;
        QTest::newRow("huge length") << QByteArray("Min_PL=1e9") << QByteArray("Min_PL") << 12.0;
    }
    void badEntriesTakeTheirBuiltInValues() {
        QFETCH(QByteArray, entry);
        QFETCH(QByteArray, column);
        QFETCH(double, builtIn);
        window_.reset();
        WriteFile(DefaultsPath(), "Set_L=10\r\n" + entry +
                                      "\r\nMax_PW=20\r\nPart_C=0.3\r\n"
                                      "PanelNumber=2\r\nCompName=Acme PCB\r\n");
        QStringList shown;
        QTimer::singleShot(0, this, [&] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(w)) {
                    shown << box->text();
                    box->accept();
                }
        });
        window_ = vorn::CreateMainWindow(dir_->path());
        QVERIFY(window_);
        QCOMPARE(shown.size(), 1);
        const QString name = QString::fromLatin1(entry.left(entry.indexOf('=')));
        const QString value = QString::fromLatin1(entry.mid(entry.indexOf('=') + 1));
        QVERIFY2(shown.first().startsWith(QStringLiteral("VornInitS.int: %1=%2 ").arg(name, value)),
                 qPrintable(shown.first()));
        QVERIFY2(vorn::test::SpeaksChinese(shown.first()), qPrintable(shown.first()));
        QCOMPARE(Job().asDouble(column.constData()), builtIn);
        // Later entries still load.
        QCOMPARE(Job().asDouble("Max_PW"), 20.0);
        QCOMPARE(Array().asDouble("Part_C"), 0.3);
        QCOMPARE(Child<QSpinBox>(window_.get(), "Edit5")->value(), 2);
        // The window opens, and storing writes the mended value.
        WithWindow([&](TForm9* form) { form->StoreAction()->trigger(); });
        const QByteArray file = ReadFile(DefaultsPath());
        QVERIFY2(!file.contains(entry), file.constData());
        QVERIFY(file.contains("\r\nCompName=Acme PCB\r\n"));
    }

    // A full disk while storing: the old file survives byte for byte and the
    // message names the file and the real reason.
    void storingOnAFullDiskKeepsTheOldFile() {
        const QByteArray before = ReadFile(DefaultsPath());
        QString shown;
        WithWindow([&](TForm9* form) {
            Type(form, "DBEdit6", QStringLiteral("30"));
            QTimer::singleShot(0, this, [&] {
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                    shown = box->text();
                    box->accept();
                }
            });
            vorn::InjectWriteFailure(20, QStringLiteral("No space left on device"));
            form->StoreAction()->trigger();
            vorn::ClearInjectedWriteFailure();
        });
        QCOMPARE(ReadFile(DefaultsPath()), before);
        QVERIFY2(shown.contains(QStringLiteral("No space left on device")), qPrintable(shown));
        QVERIFY2(shown.contains(QStringLiteral("VornInitS.int")), qPrintable(shown));
        QCOMPARE(QDir(dir_->path())
                     .entryList(QDir::Files | QDir::Hidden)
                     .filter(QStringLiteral("VornInitS")),
                 QStringList{QStringLiteral("VornInitS.int")});
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
