// The parts archive through the real windows: save with its messages and the
// overwrite question, open from the part search window, delete, and the
// saved-parts query window with its tooling panel, diagram window and export.
#include "ArchiveFixture.h"
#include "CursorModel.h"
#include "DiagramRoutines.h"
#include "DiagramWindow.h"
#include "GivenPanel.h"
#include "MainWindow.h"
#include "MainWindowAccess.h"
#include "PartSearchWindow.h"
#include "PartsArchive.h"
#include "PlanWork.h"
#include "QueryWindow.h"
#include "SafeWrite.h"
#include "Startup.h"
#include "WindowTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>

using vorn::DiagramView;
using namespace vorn::test;

using vorn::test::DoubleClickRow;
using vorn::test::InModal;

namespace {

using vorn::test::SeenBox;
using vorn::test::Shot;
using vorn::test::Type;

// Answers the message boxes that come up, one answer each, in order, and
// records what they showed.
class BoxAnswerer : public QObject {
public:
    explicit BoxAnswerer(QList<QMessageBox::StandardButton> answers)
        : answers_(std::move(answers)) {
        connect(&timer_, &QTimer::timeout, this, [this] { Look(); });
        timer_.start(5);
    }
    QList<SeenBox> seen;

private:
    void Look() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || box == last_ || answers_.isEmpty())
            return;
        last_ = box;
        seen.append({box->windowTitle(), box->text(), box->icon(),
                     box->standardButton(box->defaultButton()), 1});
        QAbstractButton* b = box->button(answers_.takeFirst());
        if (b)
            b->click();
        else
            box->reject();
    }
    QList<QMessageBox::StandardButton> answers_;
    QPointer<QMessageBox> last_;
    QTimer timer_;
};

// The diagram window's title is read whole: inside its bar, beside the
// selectors or under them, nothing cut off.
bool TitleWhole(const vorn::TForm4* d) {
    const QRect title = d->Title()->geometry();
    const QWidget* bar = d->Title()->parentWidget();
    return d->rect().contains(bar->geometry()) && bar->rect().contains(title) &&
           (title.left() >= d->SelectorGroup()->width() ||
            title.top() >= d->SelectorGroup()->height()) &&
           d->Title()->sizeHint().width() <= title.width();
}

// A title as one line: its parts joined by "; ", however it was laid out.
QString OneLine(QString text) {
    return text.replace(u'\n', QStringLiteral("; "))
        .replace(QRegularExpression(QStringLiteral(";\\s+")), QStringLiteral("; "));
}

// Answers the save dialogs that come up: a file name accepts, an empty text
// cancels. An answer is given again until its dialog has closed (a busy
// machine may still be filling the dialog when it is first seen).
class FileDialogDriver : public QObject {
public:
    explicit FileDialogDriver(QStringList answers) : answers_(std::move(answers)) {
        connect(&timer_, &QTimer::timeout, this, [this] { Look(); });
        timer_.start(10);
    }

private:
    void Look() {
        auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!d || !d->isVisible()) {
            showing_ = false;
            return;
        }
        if (d != watched_) {
            // The same dialog may be shown again at once (after a "No").
            watched_ = d;
            connect(d, &QDialog::finished, this, [this] { showing_ = false; });
        }
        if (!showing_) {
            if (answers_.isEmpty())
                return;
            current_ = answers_.takeFirst();
            showing_ = true;
        }
        if (current_.isEmpty()) {
            d->reject();
        } else {
            // Accepted only once the dialog really holds the name.
            // Typed into the name field, as a user does (selectFile does not
            // always take a name that does not exist yet).
            d->setDirectory(QFileInfo(current_).absolutePath());
            if (auto* name = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                name->setText(QFileInfo(current_).fileName());
            else
                d->selectFile(current_);
            if (QFileInfo(d->selectedFiles().value(0)) == QFileInfo(current_))
                static_cast<QDialog*>(d)->accept();
        }
    }
    QStringList answers_;
    QString current_;
    bool showing_ = false;
    QPointer<QFileDialog> watched_;
    QTimer timer_;
};

} // namespace

class ArchiveWindowTest : public QObject, protected vorn::test::MainWindowAccess {
    Q_OBJECT
    void Key(int key, Qt::KeyboardModifiers mods = Qt::ControlModifier) {
        w_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w_.get()));
        QTest::keyClick(w_.get(), Qt::Key(key), mods);
    }
    // The job holds the plan with two holes of each type; the window accepts it.
    void PlanInWindow() {
        PutPlan(Dm(), false);
        PutHoles(Dm(), PlanHoles(2), false);
        QVERIFY(w_->UpdateJobCommands());
    }
    int Parts() { return Dump(Dm(), QStringLiteral("data0004")).size(); }
    int Holes() { return Dump(Dm(), QStringLiteral("Data0005")).size(); }

    // The main window's diagram is the drawing of `args` alone.
    void ShownAsDrawn(const vorn::LayoutDrawing& args) {
        const QImage shown = w_->DiagramImage()->pixmap().toImage();
        QImage drawn(shown.size(), QImage::Format_RGB32);
        drawn.fill(Qt::white);
        vorn::DrawLayoutDiagram(args, drawn);
        QCOMPARE(shown, drawn.convertToFormat(shown.format()));
    }
    // The query window's diagram of `part` in `view` draws its stored
    // placements (`saved`, in inches), not its counts (0), in either unit;
    // pictures `shot` and `shot`_mm.
    void QueryDrawsStored(const QString& part, DiagramView view,
                          const std::vector<vorn::Placement>& saved, const QString& shot) {
        vorn::TForm3 f(Dm(), w_.get());
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        vorn::Cursor& q = Dm().SavedPartsQuery;
        for (const double unit : {1.0, 25.4}) {
            if (unit != 1)
                f.UnitButton()->click();
            QVERIFY(q.locate("Part_number", {part}));
            vorn::LayoutDrawing expected = vorn::LayoutArgsOf(
                view, {[&q](const char* c) { return q.asDouble(QString::fromLatin1(c)); },
                       [&q](const char* c) { return q.asString(QString::fromLatin1(c)); }});
            QCOMPARE(expected.La + expected.Lb, 0);
            std::vector<vorn::Placement> scaled = saved;
            vorn::ScalePlacements(scaled, [unit](double v) { return v * unit; });
            expected.Boards = vorn::BoardsOfRow(scaled, expected, int(saved.size()));
            QCOMPARE(expected.Boards.size(), saved.size());
            InModal<vorn::TForm4>([&](vorn::TForm4* d) {
                d->Selector(view)->click();
                const QImage inWindow = d->Image()->pixmap().toImage();
                QImage oneByOne(inWindow.size(), QImage::Format_RGB32);
                oneByOne.fill(Qt::white);
                vorn::DrawLayoutDiagram(expected, oneByOne);
                QCOMPARE(inWindow, oneByOne.convertToFormat(inWindow.format()));
                Shot(d, unit == 1 ? shot : shot + QStringLiteral("_mm"));
                d->reject();
            });
            f.DiagramButton()->click();
        }
    }
    // Saves the job as `part` (the only part), starts a new job with no
    // placements, and opens the part again through the part search window.
    void SaveThenReopen(const QString& part, const QString& customer) {
        Child<QLineEdit>("Edit1")->setText(part);
        Child<QLineEdit>("Edit2")->setText(customer);
        Child<QLineEdit>("Edit3")->setText(QStringLiteral("LI"));
        w_->ToolButton3Click();
        QCOMPARE(Parts(), 1);

        w_->StartNewJob();
        w_->GivenBoards().clear();
        w_->GivenBoards2().clear();
        w_->GivenUnits().clear();
        InModal<vorn::TForm6>([](vorn::TForm6* f) {
            QCOMPARE(f->Grid()->model()->rowCount(), 1);
            DoubleClickRow(f->Grid(), 0);
        });
        Key(Qt::Key_O);
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QCOMPARE(Child<QLineEdit>("Edit1")->text(), part);
    }

    // "BBB-2": one panel size, no array, no holes, 4 layers.
    void SaveSimplePart() {
        PutPlan(Dm(), false);
        vorn::Cursor& job = Dm().TempInput;
        job.edit();
        job.setValue("Layer", 4);
        for (const char* f : {"Panel2", "Panel_L2", "Panel_W2", "Panel_lv2", "PanelCu",
                              "Panel_lvCu", "Part_La", "Part_Wb"})
            job.setValue(QString::fromLatin1(f), QVariant());
        job.post();
        PutHoles(Dm(), {}, false);
        vorn::PartRecord r = vorn::JobPartRecord(Dm(), false);
        r.partNumber = QStringLiteral("BBB-2");
        r.customerPart = QStringLiteral("CB2");
        r.employee = QStringLiteral("SUN");
        QVERIFY(vorn::SavePart(Dm(), r, QDateTime::currentDateTime(), {}));
    }

private slots:
    // The window's start asks the store for Chinese messages (SetUpApplication).
    void initTestCase() { vorn::SpeakChineseInMessages(true); }
    void init() {
        dir_ = NewProgramDir();
        QVERIFY(dir_);
        w_ = vorn::CreateMainWindow(dir_->path());
        QVERIFY(w_ && w_->Data());
        w_->show();
        QVERIFY(QTest::qWaitForWindowExposed(w_.get()));
    }
    void cleanup() {
        w_.reset();
        dir_.reset();
    }

    void saveWithItsMessages() {
        // No plan: the job is not worth saving.
        {
            BoxAnswerer a({QMessageBox::Ok});
            w_->ToolButton3Click();
            QCOMPARE(a.seen.size(), 1);
            QCOMPARE(a.seen[0].icon, QMessageBox::Information);
            QCOMPARE(a.seen[0].text,
                     QStringLiteral("保存信息有误或不全，请您 \"上传数据\" 后保存！"));
        }
        PlanInWindow();
        QVERIFY(Command("ToolButton3")->isEnabled());
        w_->Tabs()->setCurrentIndex(3);
        auto* number = Child<QLineEdit>("Edit1");
        auto* customer = Child<QLineEdit>("Edit2");
        auto* layer = Child<QLineEdit>("DBEdit6");
        auto* employee = Child<QLineEdit>("Edit3");
        // The four fields in order, each with its warning.
        struct Step {
            std::function<void()> before;
            const char* warning;
        };
        const Step steps[] = {
            {[] {}, "请给出“部件编号”，保存失败！！"},
            {[&] { Type(number, QStringLiteral("pn-1")); }, "请给出“客户部件编号”，保存失败！！"},
            {[&] {
                 Type(customer, QStringLiteral("cust a"));
                 Type(layer, QString());
             },
             "请给出“板层数”，保存失败！！"},
            {[&] { Type(layer, QStringLiteral("6")); }, "请给出“操作员”，保存失败！！"},
        };
        for (const Step& s : steps) {
            s.before();
            BoxAnswerer a({QMessageBox::Ok});
            Key(Qt::Key_S);
            QTRY_COMPARE(a.seen.size(), 1);
            QCOMPARE(a.seen[0].icon, QMessageBox::Warning);
            QCOMPARE(a.seen[0].text, QString::fromUtf8(s.warning));
            QCOMPARE(Parts(), 0);
        }
        QCOMPARE(number->text(), QStringLiteral("PN-1")); // typed in capitals
        Type(employee, QStringLiteral("Li Lei"));
        Child<QPlainTextEdit>("Memo1")->setPlainText(QStringLiteral("first"));
        {
            BoxAnswerer a({});
            Key(Qt::Key_S);
            QCOMPARE(a.seen.size(), 0);
        }
        QCOMPARE(Parts(), 1);
        QCOMPARE(Holes(), 6);
        QCOMPARE(w_->statusBar()->currentMessage(), QStringLiteral("部件\"PN-1\" 已保存"));
        QVERIFY(!Child<QLineEdit>("Edit4")->text().isEmpty());
        QVERIFY(Command("ToolButton12")->isEnabled() && Command("M01_03")->isEnabled());
        QVERIFY(Command("ToolButton5")->isEnabled() && Command("ToolButton6")->isEnabled());
        Shot(w_.get(), QStringLiteral("archive_part_tab"));

        // Saved again: the question; No writes nothing.
        Type(employee, QStringLiteral("Zhang"));
        const QStringList before = Archive(Dm());
        {
            BoxAnswerer a({QMessageBox::No, QMessageBox::Ok});
            Key(Qt::Key_S);
            QTRY_COMPARE(a.seen.size(), 2);
            QCOMPARE(a.seen[0].text, QStringLiteral("部件已存在，是否覆盖？"));
            QCOMPARE(a.seen[0].icon, QMessageBox::Question);
            QCOMPARE(a.seen[1].text, QStringLiteral("    没有对原数据进行更改！！   "));
        }
        QCOMPARE(Archive(Dm()), before);
        // Yes overwrites the same row, now with four holes.
        std::vector<vorn::SavedHole> four = PlanHoles(2);
        four.resize(4);
        PutHoles(Dm(), four, false);
        {
            BoxAnswerer a({QMessageBox::Yes});
            Key(Qt::Key_S);
            QTRY_COMPARE(a.seen.size(), 1);
        }
        QCOMPARE(Parts(), 1);
        QCOMPARE(Holes(), 4);
        QVERIFY(Dump(Dm(), QStringLiteral("data0004")).first().contains(QStringLiteral("|Zhang|")));
    }

    // Another window on the same file is in the middle of a save: after a
    // short wait the save is refused with a message saying so, the part's
    // fields are kept, and saving again once the other window is done works.
    void saveWhileAnotherWindowSaves() {
        PlanInWindow();
        w_->Tabs()->setCurrentIndex(3);
        Type(Child<QLineEdit>("Edit1"), QStringLiteral("pn-2"));
        Type(Child<QLineEdit>("Edit2"), QStringLiteral("cust b"));
        Type(Child<QLineEdit>("DBEdit6"), QStringLiteral("4"));
        Type(Child<QLineEdit>("Edit3"), QStringLiteral("Li Lei"));
        {
            vorn::TDataM1 other(dir_->path());
            QVERIFY(other.isUsable());
            other.TempInput.open(); // its connection stays open, as a window's does
            other.connection().exec(QStringLiteral("BEGIN IMMEDIATE"));
            BoxAnswerer a({QMessageBox::Ok});
            Key(Qt::Key_S);
            QTRY_COMPARE(a.seen.size(), 1);
            QCOMPARE(a.seen[0].icon, QMessageBox::Critical);
            QVERIFY2(
                a.seen[0].text.startsWith(QStringLiteral("部件未能保存，存档未作任何更改！\n"
                                                         "数据库正被另一程序使用，请稍后重试。")),
                qPrintable(a.seen[0].text));
            other.connection().exec(QStringLiteral("COMMIT"));
        }
        QCOMPARE(Parts(), 0);
        QCOMPARE(Child<QLineEdit>("Edit1")->text(), QStringLiteral("PN-2"));
        {
            BoxAnswerer a({});
            Key(Qt::Key_S);
            QCOMPARE(a.seen.size(), 0);
        }
        QCOMPARE(Parts(), 1);
        QCOMPARE(w_->statusBar()->currentMessage(), QStringLiteral("部件\"PN-2\" 已保存"));
    }

    // A panel laid out beyond the blocks (53 boards where the blocks hold
    // 52), saved, the job cleared and the part opened again: the same boards
    // drawn in the panel view.
    void packedPlanSavedAndOpened() {
        vorn::GivenPanelJob in;
        in.Set_L = 6.8;
        in.Set_W = 2.8;
        in.Set_C = 0.2;
        in.BorderX_L = in.BorderX_W = 0.5;
        in.Panel_L = 43.8;
        in.Panel_W = 26.8;
        in.BothPanel = true;
        in.sheets = {{48, 42}};
        in.packing = vorn::PackingOption::Routed;
        const vorn::ResultRow plan = vorn::PanelizeGivenPanel(in, vorn::DisplayUnit::Inch);
        QCOMPARE(plan.Panel, 53);
        PlanInWindow();
        vorn::Cursor& job = Dm().TempInput;
        job.edit();
        // One panel size, no array: the plan is the typed panel's alone.
        for (const char* f : {"Panel2", "Panel_L2", "Panel_W2", "Panel_lv2", "PanelCu",
                              "Panel_lvCu", "Part_La", "Part_Wb"})
            job.setValue(QString::fromLatin1(f), QVariant());
        vorn::WriteGivenPanelPlan(job, plan);
        if (job.state() != vorn::Cursor::State::Browse)
            job.post();
        w_->GivenBoards() = *plan.boards;
        PutHoles(Dm(), {}, false); // the picture is the boards' alone
        QVERIFY(w_->UpdateJobCommands());
        const vorn::LayoutDrawing saved = w_->GatherLayoutArgs(DiagramView::Panel1);
        QCOMPARE(saved.Boards.size(), std::size_t(53));
        SaveThenReopen(QStringLiteral("PACK-53"), QStringLiteral("C53"));
        w_->Selector(DiagramView::Panel1)->click();
        const vorn::LayoutDrawing opened = w_->GatherLayoutArgs(DiagramView::Panel1);
        QCOMPARE(opened.Boards.size(), std::size_t(53));
        for (std::size_t i = 0; i < opened.Boards.size(); ++i) {
            VORN_COMPARE_NEAR(opened.Boards[i].x, saved.Boards[i].x, 1e-9);
            VORN_COMPARE_NEAR(opened.Boards[i].y, saved.Boards[i].y, 1e-9);
            QCOMPARE(opened.Boards[i].turned, saved.Boards[i].turned);
        }
        ShownAsDrawn(opened);
        Shot(w_.get(), QStringLiteral("archive_packed_plan_opened"));

        // The query window's diagram draws the stored boards, not the
        // counts (0), in either unit.
        QueryDrawsStored(QStringLiteral("PACK-53"), DiagramView::Panel1, saved.Boards,
                         QStringLiteral("archive_diagram_packed"));
    }

    // The job's array laid out beyond the blocks (7 units of 1.25 x 0.75 in
    // 4.2 x 2.8 where the blocks hold 6: three rows of two and one turned
    // beside them), saved, the job cleared and the part opened again: the
    // same units drawn in the array view, and in the query window's array
    // diagram in either unit.
    void packedArraySavedAndOpened() {
        std::vector<vorn::Placement> units;
        for (const double y : {0.15, 1.0, 1.85})
            for (const double x : {0.2, 1.55})
                units.push_back({x, y, 1.25, 0.75, false});
        units.push_back({2.9, 0.15, 0.75, 1.25, true});
        PlanInWindow();
        vorn::Cursor& job = Dm().TempInput;
        job.edit();
        for (const char* f : {"Part_La", "Part_Wb", "Part_Lb", "Part_Wa"})
            job.setValue(QString::fromLatin1(f), 0);
        job.setValue("PanelCu", 7);
        job.setValue("Panel_lvCu", 1.25 * 0.75 * 7 * 100 / (4.2 * 2.8));
        job.post();
        w_->GivenUnits() = units;
        PutHoles(Dm(), {}, false); // the picture is the units' alone
        QVERIFY(w_->UpdateJobCommands());
        const vorn::LayoutDrawing saved = w_->GatherLayoutArgs(DiagramView::Array);
        QCOMPARE(saved.Boards.size(), std::size_t(7));
        SaveThenReopen(QStringLiteral("ARRAY-7"), QStringLiteral("CA7"));
        QCOMPARE(w_->GivenUnits().size(), std::size_t(7));
        w_->Selector(DiagramView::Array)->click();
        const vorn::LayoutDrawing opened = w_->GatherLayoutArgs(DiagramView::Array);
        QCOMPARE(opened.La + opened.Lb, 0);
        QCOMPARE(opened.Boards, saved.Boards);
        ShownAsDrawn(opened);
        Shot(w_.get(), QStringLiteral("archive_packed_array_opened"));

        QueryDrawsStored(QStringLiteral("ARRAY-7"), DiagramView::Array, saved.Boards,
                         QStringLiteral("archive_diagram_packed_array"));
    }

    void openFromTheSearchWindow() {
        PlanInWindow();
        vorn::PartRecord r = vorn::JobPartRecord(Dm(), false);
        r.partNumber = QStringLiteral("AAA-1");
        r.customerPart = QStringLiteral("CA1");
        r.employee = QStringLiteral("LI");
        r.note = QStringLiteral("kept note");
        QVERIFY(vorn::SavePart(Dm(), r, QDateTime::currentDateTime(), {}));
        SaveSimplePart();
        w_->StartNewJob();
        QVERIFY(Command("ToolButton5")->isEnabled());
        QVERIFY(!Command("ToolButton12")->isEnabled());

        // The simple part, found by its part number typed in small letters.
        InModal<vorn::TForm6>([this](vorn::TForm6* f) {
            QCOMPARE(f->windowTitle(), QStringLiteral("部件搜索"));
            QCOMPARE(f->size(), QSize(306, 519));
            QCOMPARE(f->Grid()->model()->rowCount(), 2);
            QCOMPARE(f->Grid()->columnWidth(0), 80);
            QCOMPARE(f->Grid()->columnWidth(1), 182);
            QVERIFY(f->PartNumberOption()->isChecked());
            QTest::keyClicks(f->FilterEdit(), QStringLiteral("bbb-"));
            QCOMPARE(f->Grid()->model()->rowCount(), 0); // whole values only
            QTest::keyClicks(f->FilterEdit(), QStringLiteral("2"));
            QCOMPARE(f->Grid()->model()->rowCount(), 1);
            Shot(f, QStringLiteral("archive_search_window"));
            DoubleClickRow(f->Grid(), 0);
        });
        Key(Qt::Key_O);
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QCOMPARE(Child<QLineEdit>("Edit1")->text(), QStringLiteral("BBB-2"));
        QCOMPARE(Child<QLineEdit>("Edit3")->text(), QStringLiteral("SUN"));
        QVERIFY(!Child<QLineEdit>("Edit4")->text().isEmpty());
        QCOMPARE(Dm().TempInput.asInt("Layer"), 4);
        QVERIFY(!Dm().TempTooling.isOpen());
        QVERIFY(!Child<QCheckBox>("CheckBox3")->isChecked());
        QVERIFY(!w_->Tabs()->isTabEnabled(2));
        QVERIFY(!w_->Selector(DiagramView::Panel2)->isVisibleTo(w_.get()));
        QVERIFY(!w_->Selector(DiagramView::Array)->isVisibleTo(w_.get()));
        QCOMPARE(w_->Selector(DiagramView::Panel1)->text(), QStringLiteral("拼版图"));
        QCOMPARE(w_->Selector(DiagramView::Cutting)->x(), 140);
        // The array row takes the defaults' unit, spacing and borders.
        vorn::DefaultsList defaults;
        defaults.Load(dir_->file(QStringLiteral("VornInitS.int")));
        QCOMPARE(Dm().TempInputCus.asDouble("Part_C"),
                 defaults.Value(QStringLiteral("Part_C")).toDouble());
        QVERIFY(Dm().TempInputCus.isNull("Set_L"));
        QVERIFY(Command("ToolButton12")->isEnabled());
        QVERIFY(Command("ToolButton3")->isEnabled()); // a valid plan again
        QVERIFY(!w_->ShowsWelcome());
        QVERIFY(!Dm().SavedPartsQuery.isOpen());
        QVERIFY(!Dm().SavedPartsQuery.filtered());
        QCOMPARE(Dm().SavedPartsQuery.filter(), QString());

        // The full part, by its customer part; the clear button first.
        InModal<vorn::TForm6>([](vorn::TForm6* f) {
            f->CustomerPartOption()->setChecked(true);
            QTest::keyClicks(f->FilterEdit(), QStringLiteral("x"));
            QCOMPARE(f->Grid()->model()->rowCount(), 0);
            f->ClearButton()->click();
            QCOMPARE(f->FilterEdit()->text(), QString());
            QCOMPARE(f->Grid()->model()->rowCount(), 2);
            QTest::keyClicks(f->FilterEdit(), QStringLiteral("ca1"));
            QCOMPARE(f->Grid()->model()->rowCount(), 1);
            DoubleClickRow(f->Grid(), 0);
        });
        Key(Qt::Key_O);
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QCOMPARE(Child<QLineEdit>("Edit1")->text(), QStringLiteral("AAA-1"));
        QCOMPARE(Child<QPlainTextEdit>("Memo1")->toPlainText(), QStringLiteral("kept note"));
        QVERIFY(Child<QCheckBox>("CheckBox3")->isChecked());
        QVERIFY(w_->Tabs()->isTabEnabled(2));
        vorn::Cursor& t = Dm().TempTooling;
        QVERIFY(t.isOpen());
        const QString shown = t.filter();
        t.setFilter(QString());
        QCOMPARE(t.recordCount(), 6);
        t.setFilter(shown);
        QVERIFY(w_->Selector(DiagramView::Panel2)->isVisibleTo(w_.get()));
        QVERIFY(w_->Selector(DiagramView::Array)->isVisibleTo(w_.get()));
        QCOMPARE(w_->Selector(DiagramView::Panel1)->text(), QStringLiteral("Panel1 拼版图"));
        QCOMPARE(w_->Selector(DiagramView::Cutting)->x(), 270);
        QCOMPARE(w_->Selector(DiagramView::Array)->x(), 344);
        QVERIFY(Child<QToolButton>("SpeedButton11")->isEnabled());
        QCOMPARE(Dm().TempInputCus.asDouble("Set_L"), 4.2);
        QCOMPARE(Dm().TempInputCus.asInt("Panel"), 6);
        w_->Tabs()->setCurrentIndex(3);
        Shot(w_.get(), QStringLiteral("archive_opened_part"));

        // A new job (as after Delete or a restore) has no plan: the tooling
        // tab waits for one, and its grid keeps its own titles.
        w_->StartNewJob();
        QVERIFY(!Child<QCheckBox>("CheckBox3")->isChecked());
        QVERIFY(!w_->Tabs()->isTabEnabled(2));
        QVERIFY(!Dm().TempTooling.isOpen());
        const QAbstractItemModel* holes = Child<QTableView>("DBGrid4")->model();
        QStringList titles;
        for (int c = 0; c < holes->columnCount(); ++c)
            titles << holes->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(titles, (QStringList{"序号", "X 坐标", "Y 坐标", "孔 径"}));
    }

    void deleteCommand() {
        PlanInWindow();
        vorn::PartRecord r = vorn::JobPartRecord(Dm(), false);
        r.partNumber = QStringLiteral("DEL-1");
        r.customerPart = QStringLiteral("C");
        QVERIFY(vorn::SavePart(Dm(), r, QDateTime::currentDateTime(), {}));
        // The part-number check enables Delete for the saved part, whatever the case.
        Child<QLineEdit>("Edit1")->setText(QStringLiteral("del-1"));
        QVERIFY(Command("ToolButton12")->isEnabled() && Command("M01_03")->isEnabled());
        {
            BoxAnswerer a({QMessageBox::No});
            Key(Qt::Key_D);
            QTRY_COMPARE(a.seen.size(), 1);
            QCOMPARE(a.seen[0].text, QStringLiteral("   确实要删除\"del-1\"记录吗？  "));
            QCOMPARE(a.seen[0].icon, QMessageBox::Question);
            // A hasty Enter keeps the part.
            QCOMPARE(a.seen[0].byDefault, QMessageBox::No);
        }
        QCOMPARE(Parts(), 1);
        {
            BoxAnswerer a({QMessageBox::Yes});
            Key(Qt::Key_D);
            QTRY_COMPARE(a.seen.size(), 1);
        }
        QCOMPARE(Parts(), 0);
        QCOMPARE(Holes(), 0);
        QCOMPARE(w_->statusBar()->currentMessage(), QStringLiteral("部件\"del-1\" 已删除"));
        QCOMPARE(Child<QLineEdit>("Edit1")->text(), QString()); // a new job
        QVERIFY(!Command("ToolButton12")->isEnabled());
        QVERIFY(!Command("ToolButton5")->isEnabled()); // nothing left to open
        // A part number that is not saved.
        Child<QLineEdit>("Edit1")->setText(QStringLiteral("NOPE"));
        BoxAnswerer a({QMessageBox::Ok});
        w_->ToolButton12Click();
        QCOMPARE(a.seen.size(), 1);
        QCOMPARE(a.seen[0].icon, QMessageBox::Warning);
        QCOMPARE(a.seen[0].text, QStringLiteral("部件\"NOPE\" 不存在，此操作失败!"));
    }

    void queryWindow() {
        QVERIFY(SavePlan(Dm(), QStringLiteral("A-1"), QStringLiteral("CA"), 2));
        SaveSimplePart(); // BBB-2, 4 layers
        PutPlan(Dm(), false);
        Dm().TempInput.edit();
        Dm().TempInput.setValue("Layer", 10);
        Dm().TempInput.post();
        PutHoles(Dm(), PlanHoles(3), false);
        vorn::PartRecord r = vorn::JobPartRecord(Dm(), false);
        r.partNumber = QStringLiteral("C-3");
        r.customerPart = QStringLiteral("CC");
        QVERIFY(vorn::SavePart(Dm(), r, QDateTime::currentDateTime(), {}));

        // F4 opens the window modally; it leaves the query closed.
        InModal<vorn::TForm3>([](vorn::TForm3* f) {
            QCOMPARE(f->PartsGrid()->model()->rowCount(), 3);
            f->reject();
        });
        Key(Qt::Key_F4, Qt::NoModifier);
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QVERIFY(!Dm().SavedPartsQuery.isOpen());

        vorn::TForm3 f(Dm(), w_.get());
        QVERIFY(f.IsUsable());
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QCOMPARE(f.windowTitle(), QStringLiteral("部件拼板查询"));
        QCOMPARE(f.size(), QSize(791, 539));
        QTableView* grid = f.PartsGrid();
        QAbstractItemModel* m = grid->model();
        QCOMPARE(m->columnCount(), 19);
        QCOMPARE(m->headerData(6, Qt::Horizontal).toString(), QStringLiteral("边距(左右/上下)"));
        QCOMPARE(m->headerData(12, Qt::Horizontal).toString(), QStringLiteral("拼板利用率"));
        QCOMPARE(m->headerData(13, Qt::Horizontal).toString(), QStringLiteral("板材尺寸"));
        // The set widths, or wider where a text needs more.
        QCOMPARE(grid->columnWidth(0), 63);
        QCOMPARE(grid->columnWidth(18), std::max(60, vorn::ColumnContentWidth(grid, 18)));
        QCOMPARE(f.UnitButton()->text(), QStringLiteral("Inch"));
        QCOMPARE(m->index(0, 0).data().toString(), QStringLiteral("A-1"));
        vorn::Cursor& q = Dm().SavedPartsQuery;

        // Sorting: a first click descending, the next click on another column
        // ascending; a calculated column refuses.
        QHeaderView* header = grid->horizontalHeader();
        auto clickTitle = [&](int column) {
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                              QPoint(header->sectionViewportPosition(column) + 5, 5));
        };
        clickTitle(2);
        QCOMPARE(f.OrderLine(), QStringLiteral("Order By Layer desc;"));
        QCOMPARE(m->index(0, 0).data().toString(), QStringLiteral("C-3"));
        clickTitle(0);
        QCOMPARE(f.OrderLine(), QStringLiteral("Order By Part_number;"));
        {
            BoxAnswerer a({QMessageBox::Ok});
            clickTitle(13);
            QTRY_COMPARE(a.seen.size(), 1);
            QCOMPARE(a.seen[0].title, QStringLiteral("用户信息"));
            QCOMPARE(a.seen[0].text, QStringLiteral("   此列不能排序        "));
            QCOMPARE(a.seen[0].icon, QMessageBox::Information);
        }
        QCOMPARE(f.OrderLine(), QStringLiteral("Order By Part_number;"));

        // Search: a field is needed; a prefix found whatever its case.
        {
            BoxAnswerer a({QMessageBox::Ok});
            f.SearchButton()->click();
            QTRY_COMPARE(a.seen.size(), 1);
            QCOMPARE(a.seen[0].text, QStringLiteral("     请选择适当的“查询项”！      "));
        }
        f.SearchField()->setCurrentText(QStringLiteral("部件编号"));
        f.SearchText()->setText(QStringLiteral("bb"));
        f.SearchButton()->click();
        QCOMPARE(q.asString("Part_number"), QStringLiteral("BBB-2"));
        QCOMPARE(grid->currentIndex().row(), 1);
        f.SearchField()->setCurrentText(QStringLiteral("层数"));
        f.SearchText()->setText(QStringLiteral("1"));
        f.SearchButton()->click();
        QCOMPARE(f.OrderLine(), QStringLiteral("Order By Layer;"));
        QCOMPARE(q.asString("Part_number"), QStringLiteral("C-3"));
        {
            BoxAnswerer a({QMessageBox::Ok});
            f.SearchText()->setText(QStringLiteral("zz"));
            f.SearchButton()->click();
            QTRY_COMPARE(a.seen.size(), 1);
            QCOMPARE(a.seen[0].text, QStringLiteral("     没有找到 “层数='zz...'”的纪录！    "));
        }

        // The tooling panel and its panel types.
        q.locate("Part_number", {QStringLiteral("C-3")});
        f.ToolingButton()->click();
        QVERIFY(f.ToolingPanel()->isVisible());
        QCOMPARE(f.ToolingPanel()->width(), 215);
        QVERIFY(f.TypeButton()->isEnabled());
        QCOMPARE(f.ToolingButton()->toolTip(), QStringLiteral("关闭Tooling"));
        QCOMPARE(f.ToolingHeader()->text(), QStringLiteral("Panel1Tooling"));
        QCOMPARE(f.ToolingGrid()->model()->rowCount(), 3);
        const QStringList cycle{QStringLiteral("Panel2Tooling"), QStringLiteral("ArrayTooling"),
                                QStringLiteral("Panel1Tooling")};
        for (const QString& next : cycle) {
            f.TypeButton()->click();
            QCOMPARE(f.ToolingHeader()->text(), next);
            QCOMPARE(f.ToolingGrid()->model()->rowCount(), 3);
        }
        f.TypeButton()->click(); // Panel2
        QCOMPARE(Dm().PartToolingQuery.param("Type").toString(), QStringLiteral("Panel2"));
        // Another part: its holes of the same type.
        q.locate("Part_number", {QStringLiteral("A-1")});
        QCOMPARE(f.ToolingGrid()->model()->rowCount(), 2);
        const double x1 = Dm().PartToolingQuery.asDouble("Xcoordinate");
        Shot(&f, QStringLiteral("archive_query_window_tooling"));

        // Millimetres: the same part and order, lengths and holes converted.
        const QString order = f.OrderLine();
        f.UnitButton()->click();
        QCOMPARE(f.UnitButton()->text(), QStringLiteral("mm"));
        QCOMPARE(f.OrderLine(), order);
        QCOMPARE(q.asString("Part_number"), QStringLiteral("A-1"));
        VORN_COMPARE_NEAR(q.asDouble("Set_L"), 4.2 * 25.4, 1e-9);
        QCOMPARE(f.ToolingHeader()->text(), QStringLiteral("Panel2Tooling"));
        QCOMPARE(Dm().PartToolingQuery.param("Type").toString(), QStringLiteral("Panel2"));
        VORN_COMPARE_NEAR(Dm().PartToolingQuery.asDouble("Xcoordinate"), x1 * 25.4, 1e-9);
        QCOMPARE(m->index(q.recNo(), 3).data().toString(), QStringLiteral("106.680×71.120"));
        // Every text is read whole in millimetres, sizes and holes alike.
        for (QTableView* g : {grid, f.ToolingGrid()})
            for (int c = 0; c < g->model()->columnCount(); ++c)
                if (!g->isColumnHidden(c))
                    QVERIFY2(g->columnWidth(c) >= vorn::ColumnContentWidth(g, c),
                             qPrintable(g->model()->headerData(c, Qt::Horizontal).toString()));
        Shot(&f, QStringLiteral("archive_query_window_mm"));

        // The diagram window in each view, sizes in the window's unit.
        q.locate("Part_number", {QStringLiteral("C-3")});
        QStringList titles;
        InModal<vorn::TForm4>([&](vorn::TForm4* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("图形显示"));
            QCOMPARE(d->size(), QSize(524, 395));
            QCOMPARE(d->Selector(DiagramView::Panel1)->text(), QStringLiteral("Panel1拼板图"));
            QVERIFY(d->Selector(DiagramView::Panel2)->isVisible());
            QVERIFY(d->Selector(DiagramView::Array)->isVisible());
            QCOMPARE(d->Selector(DiagramView::Cutting)->x(), 232);
            QCOMPARE(d->Selector(DiagramView::Array)->x(), 305);
            QVERIFY(TitleWhole(d));
            const char* names[] = {"panel1", "panel2", "cutting", "array"};
            for (DiagramView v : {DiagramView::Panel1, DiagramView::Panel2, DiagramView::Cutting,
                                  DiagramView::Array}) {
                QTest::mouseClick(d->Selector(v), Qt::LeftButton, {},
                                  QPoint(6, d->Selector(v)->height() / 2));
                QVERIFY(d->Selector(v)->isChecked());
                QVERIFY(TitleWhole(d));
                titles << OneLine(d->Title()->text());
                Shot(d, QStringLiteral("archive_diagram_") + QLatin1String(names[int(v)]));
            }
            const QSize before = d->Image()->pixmap().size();
            d->resize(700, 500);
            QTRY_VERIFY(d->Image()->pixmap().size() != before);
            QCOMPARE(d->Image()->pixmap().size(), d->Image()->size());
            d->reject();
        });
        f.DiagramButton()->click();
        QCOMPARE(titles.size(), 4);
        QCOMPARE(titles[0], QStringLiteral("Panel Size: 464.82×322.58 (mm); Pcb Size: "
                                           "106.68×71.12 (mm)"));
        QVERIFY(titles[1].startsWith(QStringLiteral("Panel Size: 510.54×261.62 (mm)")));
        QVERIFY(titles[2].startsWith(QStringLiteral("Material Size: 1219.2×1066.8 (mm); "
                                                    "Panel1 Size: 464.82×322.58 (mm); Panel2")));
        QVERIFY(titles[3].startsWith(QStringLiteral("Array Size: 106.68×71.12 (mm); Part Size: ")));
        // The tooling panel shows what it showed.
        QVERIFY(Dm().PartToolingQuery.isOpen());
        QCOMPARE(Dm().PartToolingQuery.param("Type").toString(), QStringLiteral("Panel2"));
        QCOMPARE(f.ToolingGrid()->model()->rowCount(), 3);

        // A part without panel 2 or array: only two views.
        q.locate("Part_number", {QStringLiteral("BBB-2")});
        InModal<vorn::TForm4>([](vorn::TForm4* d) {
            QCOMPARE(d->Selector(DiagramView::Panel1)->text(), QStringLiteral("拼板图"));
            QVERIFY(!d->Selector(DiagramView::Panel2)->isVisible());
            QVERIFY(!d->Selector(DiagramView::Array)->isVisible());
            QCOMPARE(d->Selector(DiagramView::Cutting)->x(), 88);
            QCOMPARE(d->SelectorGroup()->width(), 165);
            QVERIFY(TitleWhole(d));
            QVERIFY(d->Title()->x() == 173 || d->Title()->y() >= d->SelectorGroup()->height());
            d->reject();
        });
        DoubleClickRow(grid, q.recNo());
        QTRY_VERIFY(!QApplication::activeModalWidget());

        // Export through the window; the same name again: No, then cancel.
        const QString file = dir_->file(QStringLiteral("parts.txt"));
        {
            FileDialogDriver files({file});
            BoxAnswerer a({QMessageBox::Ok});
            f.ExportButton()->click();
            QTRY_COMPARE(a.seen.size(), 1);
            QCOMPARE(a.seen[0].title, QStringLiteral("用户信息"));
            QCOMPARE(a.seen[0].text, QStringLiteral("   数据导出成功        "));
        }
        const QByteArray written = ReadFile(file);
        QVERIFY(written.contains("106.680"));
        QCOMPARE(q.recNo(), 0);
        QCOMPARE(grid->model()->rowCount(), 3);
        // The first part in the window's order (by layers) is selected: it has no holes.
        QCOMPARE(q.asString("Part_number"), QStringLiteral("BBB-2"));
        QCOMPARE(f.ToolingGrid()->model()->rowCount(), 0);
        // A write that fails: the reason, no success box, the grids back on
        // their queries and no file.
        vorn::InjectWriteFailure(50, QStringLiteral("No space left on device"));
        const QString failing = dir_->file(QStringLiteral("failing.txt"));
        {
            FileDialogDriver files({failing});
            BoxAnswerer a({QMessageBox::Ok});
            f.ExportButton()->click();
            QTRY_COMPARE(a.seen.size(), 1);
            QCOMPARE(a.seen[0].icon, QMessageBox::Critical);
            QVERIFY(a.seen[0].text.contains(QStringLiteral("No space left on device")));
        }
        vorn::ClearInjectedWriteFailure();
        QVERIFY(!QFile::exists(failing));
        QCOMPARE(grid->model()->rowCount(), 3);
        QVERIFY(Dm().PartToolingQuery.isOpen());
        QCOMPARE(Dm().PartToolingQuery.param("Type").toString(), QStringLiteral("Panel2"));
        WriteFile(file, "old");
        {
            FileDialogDriver files({file, QString()});
            BoxAnswerer a({QMessageBox::No});
            f.ExportButton()->click();
            QTRY_COMPARE(a.seen.size(), 1);
            QCOMPARE(a.seen[0].text, QStringLiteral("   文件已存在，是否覆盖它？        "));
            QCOMPARE(a.seen[0].title, QStringLiteral("用户信息"));
        }
        QCOMPARE(ReadFile(file), QByteArray("old"));
        f.reject();
        QVERIFY(!Dm().SavedPartsQuery.isOpen());
    }
};

VORN_TEST_MAIN(ArchiveWindowTest)
#include "ArchiveWindowTest.moc"
#include "VornTestSupport.h"
