// Plans beyond the search driven through the real windows: "拼 板" (F3) on
// the main and the array tab, tooling holes on the tab and on every view,
// border minimization, the tooling presets window.

#include "BestPacking.h"
#include "CursorModel.h"
#include "DataModule.h"
#include "GivenPanel.h"
#include "MainWindow.h"
#include "MainWindowAccess.h"
#include "PlanWork.h"
#include "ReportContent.h"
#include "Startup.h"
#include "Tolerance.h"
#include "ToolingPresetsWindow.h"
#include "ToolingTab.h"
#include "ToolingWork.h"
#include "VornTestSupport.h"
#include "WindowTestSupport.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>
#include <random>

using vorn::Cursor;
using vorn::DiagramView;

namespace {

using vorn::test::AnswerNextBox;
using vorn::test::Shot;
using vorn::test::Type;

double Num(const Cursor& c, const char* f) {
    return c.asDouble(QString::fromLatin1(f));
}

bool PanelOneValid(const Cursor& j) {
    return vorn::PanelGood(Num(j, "Set_L"), Num(j, "Set_W"), Num(j, "Panel_L"), Num(j, "Panel_W"),
                           Num(j, "Panel"), Num(j, "Panel_lv"));
}

// The holes of one type as the working table holds them: (number, x, y).
struct Hole {
    int n;
    double x, y, d;
};
std::vector<Hole> HolesOf(Cursor& t, const QString& type) {
    std::vector<Hole> out;
    const QString filter = t.filter();
    t.setFilter(QStringLiteral("PanelType='%1'").arg(type));
    for (int r = 0; r < t.recordCount(); ++r)
        out.push_back({t.valueAt(r, t.fieldIndex("SerialNumber")).toInt(),
                       t.valueAt(r, t.fieldIndex("Xcoordinate")).toDouble(),
                       t.valueAt(r, t.fieldIndex("Ycoordinate")).toDouble(),
                       t.valueAt(r, t.fieldIndex("Diameter")).toDouble()});
    t.setFilter(filter);
    return out;
}

} // namespace

class PlansWindowTest : public QObject, protected vorn::test::MainWindowAccess {
    Q_OBJECT

    void Press(Qt::Key key) {
        w_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w_.get()));
        QTest::keyClick(w_.get(), key);
    }
    void UseMm() {
        w_->UnitButton()->setText(QStringLiteral("mm"));
        w_->StartNewJob();
    }
    void TypePanelJob(double f, const QString& sl, const QString& sw, const QString& pl,
                      const QString& pw) {
        auto t = [f](const QString& v) { return QString::number(v.toDouble() * f, 'g', 10); };
        Type(Child<QLineEdit>("DBEdit1"), t(sl));
        Type(Child<QLineEdit>("DBEdit2"), t(sw));
        Type(Child<QLineEdit>("DBEdit3"), t(QStringLiteral("0.1")));
        Type(Child<QLineEdit>("DBEdit4"), t(QStringLiteral("0.5")));
        Type(Child<QLineEdit>("DBEdit5"), t(QStringLiteral("0.4")));
        Type(Child<QLineEdit>("DBEdit7"), t(pl));
        Type(Child<QLineEdit>("DBEdit8"), t(pw));
    }
    // The shown picture against the same view drawn without marks: every
    // hole of the view's type leaves a black dot at its centre.
    void CheckMarks(DiagramView view, const QString& type, bool expectHoles, bool drawn = true) {
        w_->Selector(view)->click();
        const QImage shown = w_->DiagramImage()->pixmap().toImage();
        QImage plain(shown.size(), QImage::Format_RGB32);
        plain.fill(Qt::white);
        const vorn::LayoutDrawing args = w_->GatherLayoutArgs(view);
        const double S = vorn::DrawLayoutDiagram(args, plain);
        const std::vector<Hole> holes = HolesOf(Dm().TempTooling, type);
        QCOMPARE(!holes.empty(), expectHoles);
        if (!drawn) { // a cutting plan carries no marks
            QCOMPARE(shown, plain.convertToFormat(shown.format()));
            return;
        }
        const double ox = (shown.width() - args.ContainerL * S) / 2;
        const double oy = (shown.height() - args.ContainerW * S) / 2;
        for (const Hole& h : holes) {
            const QPoint c(int(std::lround(h.x * S + ox)), int(std::lround(h.y * S + oy)));
            QCOMPARE(QColor(shown.pixel(c)), QColor(Qt::black));
        }
        QCOMPARE(shown == plain.convertToFormat(shown.format()), holes.empty());
    }

private slots:
    void init() { QVERIFY(OpenWindow()); }
    void cleanup() { CloseWindow(); }

    // F3 on the parameters tab: the engine's plan of the typed panel in the
    // job row, in both units (mm = inch x 25.4), valid, drawn, with holes.
    void f3PlansTheTypedPanel_data() {
        QTest::addColumn<bool>("mm");
        QTest::newRow("inch") << false;
        QTest::newRow("mm") << true;
    }
    void f3PlansTheTypedPanel() {
        QFETCH(bool, mm);
        if (mm)
            UseMm();
        const double f = mm ? 25.4 : 1.0;
        Child<QCheckBox>("CheckBox3")->click();    // "允许Tooking" on
        TypePanelJob(f, "3", "5", "16.2", "20.7"); // typed width first: stored as 20.7 x 16.2
        Press(Qt::Key_F3);
        const Cursor& j = Dm().TempInput;
        QCOMPARE(Num(j, "Panel_L"), 20.7 * f);
        QVERIFY(vorn::TolEq(Num(j, "Panel_W"), 16.2 * f));
        QCOMPARE(Num(j, "Set_L"), 5 * f);
        QVERIFY(PanelOneValid(j));
        // The same plan as the engine's, from inch values.
        vorn::GivenPanelJob in{5, 3, 0.1, 0.5, 0.4, 20.7, 16.2, true, true, {}};
        in.sheets = {{48, 36}, {48, 40}, {48, 42}, {49, 37}, {49, 41}, {49, 43}};
        const vorn::ResultRow e = vorn::PanelizeGivenPanel(in, vorn::DisplayUnit::Inch);
        QCOMPARE(int(Num(j, "Panel")), e.Panel);
        QCOMPARE(int(Num(j, "Panel_N")), e.Panel_N);
        VORN_COMPARE_NEAR(Num(j, "Border_L"), e.Border_L * f, 1e-9);
        VORN_COMPARE_NEAR(Num(j, "Border_W"), e.Border_W * f, 1e-9);
        VORN_COMPARE_NEAR(Num(j, "Base_L"), e.Base_L * f, 1e-9);
        VORN_COMPARE_NEAR(Num(j, "Base_lv"), e.Base_lv, 1e-9);
        VORN_COMPARE_NEAR(Num(j, "Panel_lv"), e.Panel_lv, 1e-9);
        QVERIFY(!w_->ShowsWelcome());
        QVERIFY(Command("ToolButton3")->isEnabled());
        // The holes: mm = inch x 25.4; the tab is enabled.
        QVERIFY(w_->Tabs()->isTabEnabled(2));
        const std::vector<Hole> holes = HolesOf(Dm().TempTooling, "Panel1");
        QCOMPARE(holes.size(), size_t(4));
        VORN_COMPARE_NEAR(holes[0].x, 0.3 * f, 1e-9);
        VORN_COMPARE_NEAR(holes[0].y, 0.2 * f, 1e-9);
        VORN_COMPARE_NEAR(holes[1].x, 20.4 * f, 1e-9);
        VORN_COMPARE_NEAR(holes[3].x, 20.2 * f, 1e-9);
        VORN_COMPARE_NEAR(holes[3].y, 16.0 * f, 1e-9);
        VORN_COMPARE_NEAR(holes[3].d, 0.125 * f, 1e-12);
        // The presets were not converted in the table.
        QVERIFY(!Dm().SetTooling.isOpen());
        CheckMarks(DiagramView::Panel1, "Panel1", true);
        CheckMarks(DiagramView::Cutting, "Panel1", true, false); // holes exist, none on a cut
        Shot(w_.get(), mm ? QStringLiteral("plans_f3_mm") : QStringLiteral("plans_f3_inch"));
    }

    // The job panel's best-packing choice: off by default (the plan as
    // before); routed or V-scored lay a hard panel out with more boards,
    // carried as placements and drawn board by board.
    void f3BestPackingOnTheJobPanel() {
        auto* packing = Child<QComboBox>("ComboBoxPacking");
        QCOMPARE(packing->count(), 3);
        QCOMPARE(packing->currentIndex(), 0);
        const QStringList captions{QStringLiteral("常规排版"), QStringLiteral("最优·锣板"),
                                   QStringLiteral("最优·V-CUT")};
        const QStringList hints{QStringLiteral("最优排版：关（按常规方块排列）"),
                                QStringLiteral("最优排版：锣板（任意排列）"),
                                QStringLiteral("最优排版：V-CUT（直通切割）")};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(packing->itemText(i), captions[i]);
            QCOMPARE(packing->itemData(i, Qt::ToolTipRole).toString(), hints[i]);
        }
        QCOMPARE(w_->Options().packing, vorn::PackingOption::Off);
        // Boxes 7 x 3 in 43 x 26 at 10 mm a unit, 2 mm gap, 5 mm margins.
        UseMm();
        Type(Child<QLineEdit>("DBEdit1"), "68");
        Type(Child<QLineEdit>("DBEdit2"), "28");
        Type(Child<QLineEdit>("DBEdit3"), "2");
        Type(Child<QLineEdit>("DBEdit4"), "5");
        Type(Child<QLineEdit>("DBEdit5"), "5");
        Type(Child<QLineEdit>("DBEdit7"), "438");
        Type(Child<QLineEdit>("DBEdit8"), "268");
        const Cursor& j = Dm().TempInput;
        struct Case {
            int index, boards;
            const char* shot;
        };
        for (const Case c : {Case{0, 52, nullptr}, Case{1, 53, "bestpacking/window_routed"},
                             Case{2, 52, nullptr}, Case{0, 52, nullptr}}) {
            packing->setCurrentIndex(c.index);
            Press(Qt::Key_F3);
            QCOMPARE(int(Num(j, "Panel")), c.boards);
            QVERIFY(PanelOneValid(j));
            const vorn::LayoutDrawing args = w_->GatherLayoutArgs(DiagramView::Panel1);
            const bool placed = c.shot != nullptr;
            QCOMPARE(args.Boards.size(), placed ? std::size_t(c.boards) : std::size_t(0));
            QCOMPARE(Num(j, "Set_La") + Num(j, "Set_Lb") > 0, !placed);
            VORN_COMPARE_NEAR(Num(j, "Panel_lv"), c.boards * 68.0 * 28 * 100 / (438 * 268), 1e-9);
            // The shown picture is the view's record drawn.
            const QImage shown = w_->DiagramImage()->pixmap().toImage();
            QImage plain(shown.size(), QImage::Format_RGB32);
            plain.fill(Qt::white);
            vorn::DrawLayoutDiagram(args, plain);
            QCOMPARE(shown, plain.convertToFormat(shown.format()));
            // The report's panel picture draws the same boards.
            vorn::report::ReportJob job;
            const Cursor* row = &j;
            job.plan = {[row](const char* n) { return Num(*row, n); },
                        [row](const char* n) { return row->asString(QString::fromLatin1(n)); }};
            job.boards = args.Boards;
            const vorn::report::ReportContent content =
                vorn::report::MakeReportContent(job, QStringLiteral("Acme"), {}, {});
            QImage report(shown.size(), QImage::Format_RGB32);
            report.fill(Qt::white);
            content.drawings.at(QStringLiteral("Panel1"))(vorn::DiagramCanvas(report));
            QCOMPARE(report, plain);
            if (placed) {
                QDir().mkpath(vorn::test::screenshotDir() + QStringLiteral("/bestpacking"));
                Shot(w_.get(), QString::fromLatin1(c.shot));
            }
        }
        // A roomier panel shrunk to the minimum margins keeps the layout,
        // moved to the new margins.
        packing->setCurrentIndex(1);
        Type(Child<QLineEdit>("DBEdit7"), "444");
        Type(Child<QLineEdit>("DBEdit8"), "270");
        Press(Qt::Key_F3);
        QCOMPARE(int(Num(j, "Panel")), 53);
        QCOMPARE(Num(j, "Border_L"), 8.0);
        Command("PM01")->trigger();
        QCOMPARE(Num(j, "Panel_L"), 438.0);
        QCOMPARE(Num(j, "Border_L"), 5.0);
        const vorn::LayoutDrawing shrunk = w_->GatherLayoutArgs(DiagramView::Panel1);
        QCOMPARE(shrunk.Boards.size(), std::size_t(53));
        vorn::PackRequest q;
        q.containerL = 438;
        q.containerW = 268;
        q.pieceL = 68;
        q.pieceW = 28;
        q.gap = 2;
        q.marginL = q.marginW = 5;
        QCOMPARE(vorn::PlacementFault(shrunk.Boards, q, false), std::string());
        // The placement list and the DXF for machines carry the same boards.
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        for (const QString& name : {QStringLiteral("boards.csv"), QStringLiteral("boards.dxf")}) {
            const QString path = dir.filePath(name);
            QTimer::singleShot(0, this, [path] {
                auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                QCOMPARE(dialog->objectName(), QStringLiteral("SaveCamDialog"));
                dialog->selectFile(path);
                static_cast<QDialog*>(dialog)->accept(); // the file dialog's own accept
            });
            Command("M01_05_04")->trigger();
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray text = file.readAll();
            if (name.endsWith(QLatin1String(".csv"))) {
                const QList<QByteArray> lines = text.trimmed().split('\n');
                QCOMPARE(lines.size(), 1 + 53);
                QVERIFY(lines.last().startsWith("1,53,"));
            } else {
                QVERIFY(text.size() > 1000);
            }
        }
    }

    void f3RefusesMissingSizesAndClearsASecondPanel() {
        QString text;
        Type(Child<QLineEdit>("DBEdit1"), "0");
        AnswerNextBox(&text);
        Press(Qt::Key_F3);
        QCOMPARE(text, QStringLiteral("   请给出适当的\"成品尺寸\" ！   "));
        TypePanelJob(1, "5", "3", "0", "16");
        AnswerNextBox(&text);
        Press(Qt::Key_F3);
        QCOMPARE(text, QStringLiteral("   请给出适当的\"Panel尺寸\" ！   "));
        QVERIFY(w_->ShowsWelcome());

        // A two-size job loses its panel 2 at once, also when the sheets are refused.
        Cursor& j = Dm().TempInput;
        j.edit();
        j.setValue("Panel2", 3);
        j.setValue("Panel_L2", 12.0);
        j.setValue("Up2", "N");
        j.post();
        w_->Selector(DiagramView::Panel2)->show();
        w_->Selector(DiagramView::Panel2)->setChecked(true);
        Type(Child<QLineEdit>("DBEdit7"), "20");
        Dm().SetBase.open();
        for (Dm().SetBase.first(); !Dm().SetBase.eof(); Dm().SetBase.next()) {
            Dm().SetBase.edit();
            Dm().SetBase.setValue("Enbled", false);
            Dm().SetBase.post();
        }
        AnswerNextBox(&text);
        Press(Qt::Key_F3);
        QCOMPARE(text, QStringLiteral("   请选定有效板材！！   "));
        QCOMPARE(Num(j, "Panel2"), 0.0);
        QCOMPARE(Num(j, "Panel_L2"), 0.0);
        QVERIFY(w_->Selector(DiagramView::Panel1)->isChecked());
        QVERIFY(!w_->Selector(DiagramView::Panel2)->isVisibleTo(w_.get()));
        QCOMPARE(Num(j, "Panel"), 0.0); // no plan written
        Dm().SetBase.close();           // the edits were never saved
    }

    // A value outside the input domain: F3 answers in Chinese with the field
    // and its range (or the count along a side), and plans nothing.
    void f3RefusesValuesOutsideTheDomainInChinese_data() {
        QTest::addColumn<bool>("mm");
        QTest::addColumn<bool>("array");
        QTest::addColumn<QStringList>("typed"); // "DBEditN=text" over a sound job
        QTest::addColumn<QString>("expected");  // part of the box text
        QTest::newRow("panel below the smallest side")
            << false << false << QStringList{"DBEdit7=0.0005"}
            << QStringLiteral("Panel_L = 0.0005 超出允许范围 0.001 ~ 10000 in");
        QTest::newRow("panel above the largest side in mm")
            << true << false << QStringList{"DBEdit8=300000"}
            << QStringLiteral("Panel_W = 300000 超出允许范围 0.0254 ~ 254000 mm");
        QTest::newRow("too many boards along a side")
            << false << false
            << QStringList{"DBEdit1=0.01", "DBEdit2=0.01", "DBEdit3=0", "DBEdit7=24", "DBEdit8=20"}
            << QStringLiteral("Panel_L, Panel_W：所给Panel一边可排的成品板太多（2320，最多 2000）");
        QTest::newRow("array gap") << false << true << QStringList{"DBEdit25=20000"}
                                   << QStringLiteral("Part_C = 20000 超出允许范围 0 ~ 10000 in");
        QTest::newRow("array side in mm")
            << true << true << QStringList{"DBEdit32=0.01"}
            << QStringLiteral("Set_L = 0.01 超出允许范围 0.0254 ~ 254000 mm");
    }
    void f3RefusesValuesOutsideTheDomainInChinese() {
        QFETCH(bool, mm);
        QFETCH(bool, array);
        QFETCH(QStringList, typed);
        QFETCH(QString, expected);
        if (mm)
            UseMm();
        const double f = mm ? 25.4 : 1;
        auto t = [f](double v) { return QString::number(v * f, 'g', 10); };
        if (array) {
            w_->Tabs()->setCurrentIndex(1);
            for (const auto& [edit, value] : {std::pair{"DBEdit23", 1.0},
                                              {"DBEdit24", 2.0},
                                              {"DBEdit25", 0.1},
                                              {"DBEdit26", 0.2},
                                              {"DBEdit27", 0.2},
                                              {"DBEdit32", 2.5},
                                              {"DBEdit33", 4.5}})
                Type(Child<QLineEdit>(edit), t(value));
        } else {
            TypePanelJob(f, "5", "3", "24", "20");
        }
        for (const QString& entry : typed)
            Type(Child<QLineEdit>(qPrintable(entry.section(u'=', 0, 0))), entry.section(u'=', 1));
        QString text;
        AnswerNextBox(&text, QStringLiteral("plans_f3_refused_") +
                                 QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'_'));
        Press(Qt::Key_F3);
        QVERIFY2(text.contains(expected), qPrintable(text));
        QVERIFY2(vorn::test::SpeaksChinese(text), qPrintable(text));
        QCOMPARE(Num(array ? Dm().TempInputCus : Dm().TempInput, "Panel"), 0.0);
    }

    // No board fits the typed panel: no plan, the welcome picture, no crash.
    void f3WithNothingFittingLeavesNoPlan() {
        TypePanelJob(1, "30", "20", "10", "8");
        Press(Qt::Key_F3);
        QCOMPARE(Num(Dm().TempInput, "Panel"), 0.0);
        QCOMPARE(Num(Dm().TempInput, "Panel_lv"), 0.0);
        QVERIFY(w_->ShowsWelcome());
        QVERIFY(!Command("ToolButton3")->isEnabled());
        QVERIFY(!Command("ToolButton10")->isEnabled());
    }

    // F3 on the array tab: the typed array centred around its units.
    void f3OnTheArrayTab() {
        w_->Tabs()->setCurrentIndex(1);
        Type(Child<QLineEdit>("DBEdit23"), "1");
        Type(Child<QLineEdit>("DBEdit24"), "2");
        Type(Child<QLineEdit>("DBEdit25"), "0.1");
        Type(Child<QLineEdit>("DBEdit26"), "0.2");
        Type(Child<QLineEdit>("DBEdit27"), "0.2");
        Type(Child<QLineEdit>("DBEdit32"), "2.5");
        Type(Child<QLineEdit>("DBEdit33"), "4.5");
        Press(Qt::Key_F3);
        const Cursor& a = Dm().TempInputCus;
        QCOMPARE(Num(a, "Part_L"), 2.0);
        QCOMPARE(Num(a, "Set_L"), 4.5);
        QCOMPARE(Num(a, "Panel"), 4.0);
        VORN_COMPARE_NEAR(Num(a, "SetBorder_L"), 0.2, 1e-12);
        QVERIFY(vorn::PanelGood(Num(a, "Part_L"), Num(a, "Part_W"), Num(a, "Set_L"),
                                Num(a, "Set_W"), Num(a, "Panel"), Num(a, "Panel_lv")));
        QVERIFY(!w_->ShowsWelcome());
        QVERIFY(!Command("ToolButton3")->isEnabled()); // job commands stay off on this tab
        Shot(w_.get(), QStringLiteral("plans_f3_array"));
        QString text;
        Type(Child<QLineEdit>("DBEdit33"), "0");
        AnswerNextBox(&text);
        Press(Qt::Key_F3);
        QCOMPARE(text, QStringLiteral("   请给出适当的\"Arrey尺寸\" ！   "));
    }

    // Holes on panel 2 and on the array, each in its own view.
    void marksOnEveryView() {
        Child<QCheckBox>("CheckBox3")->click();
        w_->findChild<QSpinBox*>("Edit5")->setValue(2);
        Type(Child<QLineEdit>("DBEdit1"), "4");
        Type(Child<QLineEdit>("DBEdit2"), "3");
        Press(Qt::Key_F2);
        Cursor& r = Dm().TempResult;
        int two = -1;
        for (int i = 0; i < r.recordCount() && two < 0; ++i)
            if (r.valueAt(i, r.fieldIndex("Panel2")).toInt() > 0)
                two = i;
        QVERIFY(two >= 0);
        r.moveTo(two);
        // The board is an array of 6 units 1.5 x 1.2 (valid array of the job).
        Cursor& j = Dm().TempInput;
        j.edit();
        j.setValue("Part_L", 1.5);
        j.setValue("Part_W", 1.2);
        j.setValue("PanelCu", 6);
        j.setValue("Panel_lvCu", 1.5 * 1.2 * 6 * 100 / 12.0);
        j.post();
        w_->DBGrid1DblClick();
        QVERIFY(!HolesOf(Dm().TempTooling, "Panel2").empty());
        QCOMPARE(HolesOf(Dm().TempTooling, "Array").size(), size_t(3));
        CheckMarks(DiagramView::Panel1, "Panel1", true);
        CheckMarks(DiagramView::Panel2, "Panel2", true);
        Shot(w_.get(), QStringLiteral("plans_marks_panel2"));
        w_->Selector(DiagramView::Array)->show();
        CheckMarks(DiagramView::Array, "Array", true);
        Shot(w_.get(), QStringLiteral("plans_marks_array"));
        // The two-size cutting plan: no marks at all.
        w_->Selector(DiagramView::Cutting)->click();
        QImage cut(w_->DiagramImage()->pixmap().size(), QImage::Format_RGB32);
        cut.fill(Qt::white);
        vorn::DrawTwoPanelCutting(w_->GatherTwoPanelCuttingArgs(), cut);
        QCOMPARE(w_->DiagramImage()->pixmap().toImage().convertToFormat(QImage::Format_RGB32), cut);
        // The tab's filter is as it was.
        QCOMPARE(Dm().TempTooling.filter(), QStringLiteral("PanelType='Panel1'"));

        // "允许Tooking" cleared: the table closes, the tab is disabled, no marks.
        w_->Selector(DiagramView::Panel1)->click();
        Child<QCheckBox>("CheckBox3")->click();
        QVERIFY(!Dm().TempTooling.isOpen());
        QVERIFY(!w_->Tabs()->isTabEnabled(2));
        CheckMarks(DiagramView::Panel1, "Panel1", false);
        w_->DBGrid1DblClick();
        QVERIFY(!Dm().TempTooling.isOpen());
    }

    // The tab: type cycling with validity, and the numbered-list commands.
    void toolingTabCommands() {
        Child<QCheckBox>("CheckBox3")->click();
        TypePanelJob(1, "5", "3", "20", "16");
        Press(Qt::Key_F3);
        w_->Tabs()->setCurrentIndex(2);
        vorn::ToolingPage* page = w_->ToolingTab();
        QLabel* label = page->TypeLabel();
        QCOMPARE(label->text(), QStringLiteral("Panel 1 Tooling"));
        QWidget* bar = Child<QWidget>("ToolingBar");
        QVERIFY(bar->isEnabled());
        Shot(w_.get(), QStringLiteral("plans_tooling_tab"));
        auto* type = Child<QToolButton>("ToolingType");
        type->click();
        QCOMPARE(label->text(), QStringLiteral("Panel 2 Tooling"));
        QCOMPARE(Dm().TempTooling.filter(), QStringLiteral("PanelType='Panel2'"));
        QVERIFY(!bar->isEnabled()); // no second panel
        type->click();
        QCOMPARE(label->text(), QStringLiteral("Array Tooling"));
        QVERIFY(!page->Grid()->isEnabled());
        type->click();
        QCOMPARE(label->text(), QStringLiteral("Panel 1 Tooling"));
        QVERIFY(bar->isEnabled());

        Cursor& t = Dm().TempTooling;
        auto numbers = [&t] {
            QList<QPair<int, double>> out;
            for (int r = 0; r < t.recordCount(); ++r)
                out << qMakePair(t.valueAt(r, t.fieldIndex("SerialNumber")).toInt(),
                                 t.valueAt(r, t.fieldIndex("Xcoordinate")).toDouble());
            return out;
        };
        QCOMPARE(t.recordCount(), 4);
        const auto before = numbers();
        // Hole 2 moved up: it is hole 1 now and stays current.
        t.locate("SerialNumber", {2});
        Child<QToolButton>("ToolingUp")->click();
        QCOMPARE(t.asInt("SerialNumber"), 1);
        QCOMPARE(t.asDouble("Xcoordinate"), before[1].second);
        Child<QToolButton>("ToolingDown")->click();
        QCOMPARE(numbers(), before);
        // Insert above hole 2: the new hole takes 2 and the panel type of the tab.
        t.locate("SerialNumber", {2});
        Child<QToolButton>("ToolingInsertAbove")->click();
        QCOMPARE(t.asInt("SerialNumber"), 2);
        t.setValue("Xcoordinate", 7.0);
        t.setValue("Ycoordinate", 0.2);
        t.setValue("Diameter", 0.1);
        Child<QToolButton>("ToolingSave")->click();
        QCOMPARE(t.state(), Cursor::State::Browse);
        QCOMPARE(t.asString("PanelType"), QStringLiteral("Panel1"));
        QCOMPARE(t.recordCount(), 5);
        for (int r = 0; r < 5; ++r)
            QCOMPARE(t.valueAt(r, t.fieldIndex("SerialNumber")).toInt(), r + 1);
        // Deleting hole 2 of 5 renumbers the rest and leaves the new 2 current.
        t.locate("SerialNumber", {2});
        Child<QToolButton>("ToolingDelete")->click();
        QCOMPARE(numbers(), before);
        QCOMPARE(t.asInt("SerialNumber"), 2);
        // The redraw button draws the edited holes.
        t.locate("SerialNumber", {1});
        t.edit();
        t.setValue("Xcoordinate", 10.0);
        t.post();
        Child<QToolButton>("ToolingRedraw")->click();
        CheckMarks(DiagramView::Panel1, "Panel1", true);
    }

    // Both minimization commands; a second run changes nothing.
    void borderMinimization() {
        Type(Child<QLineEdit>("DBEdit1"), "4");
        Type(Child<QLineEdit>("DBEdit2"), "3");
        Press(Qt::Key_F2);
        Cursor& j = Dm().TempInput;
        Cursor& r = Dm().TempResult;
        const double xl = Num(j, "BorderX_L"), xw = Num(j, "BorderX_W");
        // Pick a candidate with spare margins, the grid then moves elsewhere.
        int wide = -1;
        for (int i = 0; i < r.recordCount() && wide < 0; ++i)
            if (vorn::TolGt(r.valueAt(i, r.fieldIndex("Border_L")).toDouble(), xl))
                wide = i;
        QVERIFY(wide >= 0);
        r.moveTo(wide);
        w_->DBGrid1DblClick();
        const double panelL = Num(j, "Panel_L"), borderL = Num(j, "Border_L");
        r.moveTo(0);
        QVector<double> keys;
        for (int i = 0; i < r.recordCount(); ++i)
            keys << r.valueAt(i, r.fieldIndex("Base_down")).toDouble();
        QAction* all = Command("PM02");
        QVERIFY(all->isEnabled());
        all->trigger();
        VORN_COMPARE_NEAR(Num(j, "Panel_L"), panelL - 2 * borderL + 2 * xl, 1e-9);
        QCOMPARE(Num(j, "Border_L"), xl);
        QVERIFY(PanelOneValid(j));
        QCOMPARE(r.recNo(), 0);
        for (int i = 0; i < r.recordCount(); ++i) {
            auto v = [&](const char* f) { return r.valueAt(i, r.fieldIndex(f)).toDouble(); };
            QCOMPARE(v("Base_down"), keys[i]);
            QVERIFY(vorn::TolLe(v("Border_L"), xl) && vorn::TolLe(v("Border_W"), xw));
            QVERIFY(vorn::PanelGood(v("Set_L"), v("Set_W"), v("Panel_L"), v("Panel_W"), v("Panel"),
                                    v("Panel_lv")));
            if (v("Panel2") > 0)
                QVERIFY(vorn::PanelGood(v("Set_L"), v("Set_W"), v("Panel_L2"), v("Panel_W2"),
                                        v("Panel2"), v("Panel_lv2")));
        }
        // Again: nothing changes, nothing is redrawn.
        const qint64 picture = w_->DiagramImage()->pixmap().cacheKey();
        Command("ToolButton10")->trigger();
        QCOMPARE(w_->DiagramImage()->pixmap().cacheKey(), picture);
        QCOMPARE(vorn::MinimizeCandidateBorders(r, j), 0);
    }

    // Every plan F3 and the picked-plan minimization write passes the
    // program's validity test, in both units, over many random jobs.
    void randomTypedPanelsStayValid() {
        std::mt19937 rng(1210);
        std::uniform_real_distribution<double> board(0.3, 8), panel(6, 26), gap(0, 0.3),
            margin(0, 1);
        Cursor& j = Dm().TempInput;
        int plans = 0;
        for (int i = 0; i < 80; ++i) {
            const bool mm = i % 2;
            w_->UnitButton()->setText(mm ? QStringLiteral("mm") : QStringLiteral("Inch"));
            const double f = mm ? 25.4 : 1.0;
            j.edit();
            j.setValue("Set_L", board(rng) * f);
            j.setValue("Set_W", board(rng) * f);
            j.setValue("Set_C", gap(rng) * f);
            j.setValue("BorderX_L", margin(rng) * f);
            j.setValue("BorderX_W", margin(rng) * f);
            j.setValue("Panel_L", panel(rng) * f);
            j.setValue("Panel_W", panel(rng) * f);
            j.post();
            w_->ToolButton2Click();
            if (Num(j, "Panel") == 0)
                continue;
            ++plans;
            QVERIFY(PanelOneValid(j));
            QVERIFY(w_->UpdateJobCommands());
            w_->PM01Click();
            QVERIFY(PanelOneValid(j));
            QVERIFY(vorn::TolLe(Num(j, "Border_L"), Num(j, "BorderX_L")));
            QVERIFY(!vorn::MinimizeJobBorders(j)); // a second run changes nothing
        }
        QVERIFY(plans > 40);
    }

    // ---- the tooling presets window ----

    void presetsWindowOpensFromF6() {
        bool seen = false;
        QTimer::singleShot(50, this, [&seen] {
            auto* window = qobject_cast<vorn::TForm8*>(QApplication::activeModalWidget());
            seen = window && window->windowTitle() == QStringLiteral("Tooling 设定") &&
                   window->size() == QSize(436, 538);
            if (window)
                window->close();
        });
        Press(Qt::Key_F6);
        QVERIFY(seen);
        QVERIFY(!Dm().SetTooling.isOpen());
    }

    // The preview fills its place from the first show (not a corner of
    // some 70 x 35 pixels) and follows every posted preset.
    void presetsPreviewFitsAndFollowsPosts() {
        QSize label, picture;
        QImage before, after;
        QTimer::singleShot(50, this, [&] {
            auto* window = qobject_cast<vorn::TForm8*>(QApplication::activeModalWidget());
            if (!window)
                return;
            QLabel* preview = window->Preview();
            label = preview->size();
            picture = preview->pixmap().size();
            before = preview->pixmap().toImage();
            Cursor& t = Dm().SetTooling;
            t.first();
            t.edit();
            t.setValue("Level_Edge", "Left_Center");
            t.setValue("EdgeSize", 2.5);
            t.post();
            after = window->Preview()->pixmap().toImage();
            Shot(window, QStringLiteral("plans_presets_window_opened"));
            window->close();
        });
        Press(Qt::Key_F6);
        QVERIFY(label.width() > 300 && label.height() > 200);
        QCOMPARE(picture, label);
        QCOMPARE(after.size(), before.size());
        QVERIFY(after != before);
    }

    void presetsWindowUnitSwitchAndSaveStoreInches() {
        Cursor& t = Dm().SetTooling;
        {
            vorn::TForm8 window(Dm(), w_.get());
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QCOMPARE(t.recordCount(), 4);
            window.UnitButton()->click();
            QCOMPARE(window.UnitButton()->text(), QStringLiteral("mm"));
            VORN_COMPARE_NEAR(t.valueAt(0, t.fieldIndex("Diameter")).toDouble(), 3.175, 1e-12);
            // Typed in mm in the grid.
            QAbstractItemModel* m = window.Grid()->model();
            QVERIFY(m->setData(m->index(0, 4), QStringLiteral("6.35")));
            window.findChild<QToolButton*>("SaveButton")->click();
            QCOMPARE(window.UnitButton()->text(), QStringLiteral("mm"));
            VORN_COMPARE_NEAR(t.valueAt(0, t.fieldIndex("Diameter")).toDouble(), 6.35, 1e-12);
            // The reference list lies over the focused cell of its column.
            window.Grid()->setFocus();
            window.Grid()->setCurrentIndex(m->index(1, 1));
            auto* list = window.Grid()->findChild<QComboBox*>("ComboBox1");
            QVERIFY(list && list->isVisible());
            QCOMPARE(list->count(), 8);
            QCOMPARE(list->itemText(0), QStringLiteral("Top_Edge"));
            // Typed keys go to the list; leaving the column writes what it shows.
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Left_Center"));
            QCOMPARE(list->currentText(), QStringLiteral("Left_Center"));
            window.Grid()->setCurrentIndex(m->index(1, 2));
            QCOMPARE(t.valueAt(1, t.fieldIndex("Level_Edge")).toString(),
                     QStringLiteral("Left_Center"));
            QTRY_VERIFY(!window.Grid()->findChild<QComboBox*>("ComboBox1") ||
                        !window.Grid()->findChild<QComboBox*>("ComboBox1")->isVisible());
            // An unsaved edit is dropped when the window closes.
            QVERIFY(m->setData(m->index(1, 4), QStringLiteral("9")));
        }
        QVERIFY(!t.isOpen());
        t.setFilter(QStringLiteral("Type='Panel'"));
        t.open();
        QCOMPARE(t.valueAt(0, t.fieldIndex("Diameter")).toDouble(), 0.25);
        QCOMPARE(t.valueAt(1, t.fieldIndex("Diameter")).toDouble(), 0.125);
        QCOMPARE(t.valueAt(1, t.fieldIndex("Level_Edge")).toString(), QStringLiteral("Top_Edge"));
        VORN_COMPARE_NEAR(t.valueAt(2, t.fieldIndex("EdgeSize")).toDouble(), 0.2, 1e-15);
        t.close();
        // Stored in the file, not only in the cache.
        vorn::TDataM1 other(dir_->path());
        other.SetTooling.setFilter(QStringLiteral("Type='Panel'"));
        other.SetTooling.open();
        QCOMPARE(other.SetTooling.valueAt(0, other.SetTooling.fieldIndex("Diameter")).toDouble(),
                 0.25);
    }

    // Lengths in inches cannot all go to millimetres and back unchanged
    // (3 × 25.4 ÷ 25.4 is not 3): switching the unit, or saving while the
    // window shows millimetres, must leave every untouched value exactly as
    // it was stored.
    void presetsWindowUnitSwitchesKeepUntouchedValuesExactly() {
        auto stored = [this] {
            vorn::TDataM1 other(dir_->path());
            Cursor& s = other.SetTooling;
            s.open();
            QList<double> values;
            for (int r = 0; r < s.recordCount(); ++r)
                for (const char* c : {"EdgeSize", "OtherSize", "Diameter"})
                    values << s.valueAt(r, s.fieldIndex(c)).toDouble();
            return values;
        };
        {
            // Lengths that do not survive a plain walk there and back.
            vorn::TDataM1 other(dir_->path());
            Cursor& s = other.SetTooling;
            s.open();
            s.first();
            s.edit();
            s.setValue("EdgeSize", 3.0);
            s.setValue("OtherSize", 0.7);
            s.setValue("Diameter", 0.125);
            s.post();
            s.applyUpdates();
        }
        const QList<double> before = stored();
        QVERIFY(before.contains(3.0));
        {
            vorn::TForm8 window(Dm(), w_.get());
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            for (int i = 0; i < 3; ++i) {
                window.UnitButton()->click();
                QCOMPARE(window.UnitButton()->text(), QStringLiteral("mm"));
                window.findChild<QToolButton*>("SaveButton")->click();
                window.UnitButton()->click();
                QCOMPARE(window.UnitButton()->text(), QStringLiteral("Inch"));
            }
            window.UnitButton()->click();
            window.findChild<QToolButton*>("SaveButton")->click();
        }
        const QList<double> after = stored();
        QCOMPARE(after.size(), before.size());
        for (qsizetype i = 0; i < before.size(); ++i)
            QVERIFY2(after[i] == before[i], qPrintable(QStringLiteral("value %1: %2, stored %3")
                                                           .arg(i)
                                                           .arg(after[i], 0, 'g', 17)
                                                           .arg(before[i], 0, 'g', 17)));
    }

    void presetsWindowTypesAndInsertions() {
        Cursor& t = Dm().SetTooling;
        vorn::TForm8 window(Dm(), w_.get());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.TypeButton()->click();
        QCOMPARE(window.TypeButton()->text(), QStringLiteral("Array"));
        QCOMPARE(t.recordCount(), 3);
        t.locate("SerialNumber", {3});
        window.findChild<QToolButton*>("InsertAboveButton")->click();
        QCOMPARE(t.asInt("SerialNumber"), 3);
        QCOMPARE(t.asString("Type"), QStringLiteral("Array"));
        QCOMPARE(window.Grid()->currentIndex().column(), 1);
        t.setValue("Level_Edge", "Right_Center");
        t.setValue("EdgeSize", 0.15);
        t.setValue("OtherSize", 0.0);
        t.setValue("Diameter", 0.1);
        t.post();
        QCOMPARE(t.recordCount(), 4);
        window.findChild<QToolButton*>("UpButton")->click();
        QCOMPARE(t.asInt("SerialNumber"), 2);
        QCOMPARE(t.asString("Level_Edge"), QStringLiteral("Right_Center"));
        window.findChild<QToolButton*>("SaveButton")->click();
        window.resize(436, 538);
        window.RedrawPreview();
        Shot(&window, QStringLiteral("plans_presets_window_array"));
        window.findChild<QToolButton*>("DeleteButton")->click();
        QCOMPARE(t.recordCount(), 3);
        QCOMPARE(t.asInt("SerialNumber"), 2);
        window.TypeButton()->click();
        QCOMPARE(t.recordCount(), 4);
        Shot(&window, QStringLiteral("plans_presets_window_panel"));
    }

    void presetsWindowUnitButtonIdleOnAnEmptyTable() {
        Cursor& t = Dm().SetTooling;
        vorn::TForm8 window(Dm(), w_.get());
        t.setFilter(QString());
        while (!t.isEmpty())
            t.remove();
        t.setFilter(QStringLiteral("Type='Panel'"));
        window.UnitButton()->click();
        QCOMPARE(window.UnitButton()->text(), QStringLiteral("Inch"));
        window.findChild<QToolButton*>("DeleteButton")->click();
        window.findChild<QToolButton*>("UpButton")->click();
    }

    // The preview: the outline rules and the drawn picture.
    void previewOutlineAndPicture() {
        struct Case {
            std::vector<vorn::ToolingPreset> presets;
            bool mm;
            double Lv, Wv;
        };
        const Case cases[] = {
            {{{"Top_Edge", 0.2, 1, 0.1}}, false, 6, 4},
            {{{"Top_Edge", 0.2 * 25.4, 25.4, 2.54}}, true, 6 * 25.4, 4 * 25.4},
            {{{"Left_Center", 10, 0, 0.1}}, false, 22, 22 / 1.5}, // beyond the cap of 18
            {{{"Top_Center", 0.5, 4, 0.1}}, false, 18, 12},       // 24 x 16 capped to 18 x 12
            {{{"Bottom_Edge", 3, -1, 0.1}}, false, 18, 12},       // 27 x 18 capped
            {{}, false, 6, 4},
        };
        for (const Case& c : cases) {
            const vorn::PreviewOutline o = vorn::ToolingPreviewOutline(c.presets, c.mm);
            VORN_COMPARE_NEAR(o.Lv, c.Lv, 1e-9);
            VORN_COMPARE_NEAR(o.Wv, c.Wv, 1e-9);
        }
        // A 6 x 4 outline in a 310 x 210 picture: scale (310 - 10) / 6 = 50.
        QImage image(310, 210, QImage::Format_RGB32);
        vorn::DrawToolingPreview(image, {{"Top_Edge", 0.5, 1, 0.4}}, {7}, false);
        const int ox = 5, oy = 5;
        QCOMPARE(QColor(image.pixel(ox, oy + 50)), QColor(Qt::black)); // left side of the outline
        QCOMPARE(QColor(image.pixel(ox + 50, oy + 25 - 11)), QColor(Qt::black)); // ring top
        QCOMPARE(QColor(image.pixel(ox + 50, oy + 25)), QColor(Qt::white));      // no fill
        image.save(vorn::test::screenshotDir() + QStringLiteral("/plans_preview.png"));
    }
};

VORN_TEST_MAIN(PlansWindowTest)
#include "PlansWindowTest.moc"
