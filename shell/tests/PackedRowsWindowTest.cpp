// Search rows laid out beyond the blocks, driven through the real main
// window: F2 with best packing on, the grid re-sorted, the packed row
// picked, drawn board by board, switched to millimetres and picked again,
// saved and opened; with the option off the tables are as before. Panel 2
// of a two-size row laid out beyond the blocks travels the same way, to the
// query window too.

#include "BestPacking.h"
#include "CursorModel.h"
#include "DataModule.h"
#include "DiagramWindow.h"
#include "JobCommands.h"
#include "MainWindow.h"
#include "MainWindowAccess.h"
#include "PanelSearch.h"
#include "PartsArchive.h"
#include "QueryWindow.h"
#include "VornTestSupport.h"
#include "WindowTestSupport.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <array>

using vorn::Cursor;
using vorn::DiagramView;
using vorn::PackingOption;
using vorn::test::EngineRows;
using vorn::test::InModal;

namespace {

double Num(const Cursor& c, const char* f) {
    return c.asDouble(QString::fromLatin1(f));
}

bool NoBlocks(const Cursor& t, int r) {
    for (const char* f : {"Set_La", "Set_Wb", "Set_Lb", "Set_Wa", "Set_sLa", "Set_sWb"})
        if (t.valueAt(r, t.fieldIndex(QString::fromLatin1(f))).toInt() != 0)
            return false;
    return true;
}

// Boards of 4 x 2 in, two panel kinds, every sheet: with best packing a
// few panels hold more boards than the blocks.
void TypeJob(TVornMF& w, PackingOption packing) {
    Cursor& j = w.Data()->TempInput;
    j.edit();
    for (const auto& [name, value] : {std::pair{"Set_L", 4.0},
                                      {"Set_W", 2.0},
                                      {"Set_C", 0.1},
                                      {"BorderX_L", 0.5},
                                      {"BorderX_W", 0.5},
                                      {"Min_PL", 8.0},
                                      {"Min_PW", 8.0},
                                      {"Max_PL", 24.0},
                                      {"Max_PW", 21.0},
                                      {"PLPW_ratio", 2.5},
                                      {"Min_lv", 0.0}})
        j.setValue(QString::fromLatin1(name), value);
    j.post();
    vorn::SearchOptions o = w.Options();
    o.panelKinds = QStringLiteral("2");
    o.autoPanel = true;
    o.bestBase = false;
    o.bothPanel = o.bothBase = true;
    o.packing = packing;
    w.SetOptions(o);
}

std::vector<vorn::Placement> Scaled(std::vector<vorn::Placement> placements, double unit) {
    for (vorn::Placement& p : placements)
        p = {p.x * unit, p.y * unit, p.length * unit, p.width * unit, p.turned};
    return placements;
}

// Panel 2 of the job row as the packing sees it; margins a hair short (the
// search's sums).
vorn::PackRequest SecondPanelRequest(const Cursor& j) {
    vorn::PackRequest q;
    q.containerL = Num(j, "Panel_L2");
    q.containerW = Num(j, "Panel_W2");
    q.pieceL = Num(j, "Set_L");
    q.pieceW = Num(j, "Set_W");
    q.gap = Num(j, "Set_C");
    q.marginL = Num(j, "Border_L2") - 1e-9;
    q.marginW = Num(j, "Border_W2") - 1e-9;
    return q;
}

} // namespace

class PackedRowsWindowTest : public QObject, protected vorn::test::MainWindowAccess {
    Q_OBJECT

    void PressF2() {
        w_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w_.get()));
        QTest::keyClick(w_.get(), Qt::Key_F2);
    }
    int RowNumbered(int number) const {
        const Cursor& t = Dm().TempResult;
        for (int r = 0; r < t.recordCount(); ++r)
            if (t.valueAt(r, t.fieldIndex(QStringLiteral("Number"))).toInt() == number)
                return r;
        return -1;
    }
    QStringList VisibleColumns() const {
        QStringList titles;
        QTableView* grid = w_->ResultGrid();
        for (int c = 0; c < grid->model()->columnCount(); ++c)
            if (!grid->isColumnHidden(c))
                titles << grid->model()->headerData(c, Qt::Horizontal).toString();
        return titles;
    }
    // The panel view of the picked plan: every board of the row placed
    // inside the panel's least margins with the gap kept, and drawn as shown.
    void CheckPanelView(int boards, double margin) {
        const Cursor& j = Dm().TempInput;
        const vorn::LayoutDrawing args = w_->GatherLayoutArgs(DiagramView::Panel1);
        QCOMPARE(int(args.Boards.size()), boards);
        QCOMPARE(int(Num(j, "Panel")), boards);
        vorn::PackRequest q;
        q.containerL = Num(j, "Panel_L");
        q.containerW = Num(j, "Panel_W");
        q.pieceL = Num(j, "Set_L");
        q.pieceW = Num(j, "Set_W");
        q.gap = Num(j, "Set_C");
        // The search's margins are its sums: 0.5 may come out a few ulps short.
        q.marginL = q.marginW = margin - 1e-9;
        CheckDrawn(args, q);
    }
    // Boards drawn where `saved` were, turned alike.
    static void SameBoardsAt(const std::vector<vorn::Placement>& opened,
                             const std::vector<vorn::Placement>& saved) {
        QCOMPARE(opened.size(), saved.size());
        for (std::size_t i = 0; i < opened.size(); ++i) {
            VORN_COMPARE_NEAR(opened[i].x, saved[i].x, 1e-9);
            VORN_COMPARE_NEAR(opened[i].y, saved[i].y, 1e-9);
            QCOMPARE(opened[i].turned, saved[i].turned);
        }
    }
    // The job saved under `part` with 4 layers, as the save button does.
    void SavePart(const QString& part, const QString& customer) {
        Child<QLineEdit>("Edit1")->setText(part);
        Child<QLineEdit>("Edit2")->setText(customer);
        Child<QLineEdit>("Edit3")->setText(QStringLiteral("LI"));
        Dm().TempInput.edit();
        Dm().TempInput.setValue(QStringLiteral("Layer"), 4);
        Dm().TempInput.post();
        w_->ToolButton3Click();
        QCOMPARE(w_->statusBar()->currentMessage(), QStringLiteral("部件\"%1\" 已保存").arg(part));
    }
    // The only saved part opened into the job.
    void OpenOnlyPart() {
        Dm().SavedPartsQuery.close();
        vorn::SetSavedPartsSql(Dm(), true, vorn::QueryText::SavedPartsOrder);
        Dm().SavedPartsQuery.open();
        QCOMPARE(Dm().SavedPartsQuery.recordCount(), 1);
        vorn::LoadSavedPartIntoJob(*w_);
    }
    // Every board of the view inside the container's margins with the gap
    // kept, and the view shown as the diagram draws it.
    void CheckDrawn(const vorn::LayoutDrawing& args, const vorn::PackRequest& q) {
        const std::string fault = vorn::PlacementFault(args.Boards, q, false);
        QVERIFY2(fault.empty(), fault.c_str());
        const QImage shown = w_->DiagramImage()->pixmap().toImage();
        QImage plain(shown.size(), QImage::Format_RGB32);
        plain.fill(Qt::white);
        vorn::DrawLayoutDiagram(args, plain);
        QCOMPARE(shown, plain.convertToFormat(shown.format()));
    }

private slots:
    void initTestCase() { vorn::test::IsolateUserSettings(); }
    void init() { QVERIFY(OpenWindow()); }
    void cleanup() { CloseWindow(); }

    void packedRowPickedSwitchedSavedAndOpened() {
        TypeJob(*w_, PackingOption::Off);
        PressF2();
        const QStringList columnsOff = VisibleColumns();
        QVERIFY(Dm().resultBoards.Empty());

        TypeJob(*w_, PackingOption::Routed);
        PressF2();
        const std::vector<vorn::ResultRow> expected = EngineRows(*w_);
        Cursor& t = Dm().TempResult;
        QCOMPARE(t.recordCount(), int(expected.size()));
        const auto packed =
            std::count_if(expected.begin(), expected.end(),
                          [](const vorn::ResultRow& r) { return !r.boards.empty(); });
        QVERIFY(packed > 0);
        QCOMPARE(Dm().resultBoards.Size(), std::size_t(packed));
        QCOMPARE(VisibleColumns(), columnsOff);

        // Another order: the packed row with the most boards, wherever it is.
        t.setSort(QStringLiteral("Panel_lv"));
        int row = -1;
        for (int r = 0; r < t.recordCount(); ++r)
            if (NoBlocks(t, r) && (row < 0 || t.valueAt(r, t.fieldIndex("Panel")).toInt() >
                                                  t.valueAt(row, t.fieldIndex("Panel")).toInt()))
                row = r;
        QVERIFY(row > 0);
        const int number = t.valueAt(row, t.fieldIndex("Number")).toInt();
        const vorn::ResultRow& e = expected[std::size_t(number - 1)];
        QVERIFY(!e.boards.empty());
        PickResultRow(row);
        QCOMPARE(w_->GivenBoards(), *e.boards);
        CheckPanelView(e.Panel, 0.5);
        QDir().mkpath(vorn::test::screenshotDir() + QStringLiteral("/bestpacking"));
        vorn::test::Shot(w_.get(), QStringLiteral("bestpacking/search_row_routed"));

        // A block row picked after it: no boards of the other row remain.
        const int block = row == 0 ? 1 : 0;
        QVERIFY(!NoBlocks(t, block));
        PickResultRow(block);
        QVERIFY(w_->GivenBoards().empty());
        QVERIFY(w_->GatherLayoutArgs(DiagramView::Panel1).Boards.empty());

        // Picked again and switched to millimetres: the job's boards and the
        // kept rows' scaled as their lengths.
        PickResultRow(row);
        QCOMPARE(w_->GivenBoards(), *e.boards);
        QTest::mouseClick(w_->UnitButton(), Qt::LeftButton);
        QCOMPARE(w_->UnitButton()->text(), QStringLiteral("mm"));
        std::vector<vorn::Placement> mm = *e.boards;
        for (vorn::Placement& p : mm)
            p = {p.x * 25.4, p.y * 25.4, p.length * 25.4, p.width * 25.4, p.turned};
        QCOMPARE(w_->GivenBoards(), mm);
        CheckPanelView(e.Panel, 0.5 * 25.4);
        w_->GivenBoards().clear();
        PickResultRow(RowNumbered(number));
        QCOMPARE(w_->GivenBoards(), mm);
        CheckPanelView(e.Panel, 0.5 * 25.4);
        vorn::test::Shot(w_.get(), QStringLiteral("bestpacking/search_row_routed_mm"));

        // Saved under a part number and opened into a new job.
        SavePart(QStringLiteral("PACK-F2"), QStringLiteral("C-F2"));
        const vorn::LayoutDrawing saved = w_->GatherLayoutArgs(DiagramView::Panel1);
        w_->StartNewJob();
        QVERIFY(w_->GivenBoards().empty());
        OpenOnlyPart();
        w_->Selector(DiagramView::Panel1)->click();
        const vorn::LayoutDrawing opened = w_->GatherLayoutArgs(DiagramView::Panel1);
        SameBoardsAt(opened.Boards, saved.Boards);
        CheckPanelView(e.Panel, 0.5 * 25.4);
    }

    // A two-size row of F2 whose panel 2 is laid out beyond the blocks
    // (boards of 4.6 x 3.1 in: some panels 2 hold more packed): picked,
    // panel 2 drawn board by board, a block row clearing it, the unit
    // switch, the placement list, saved, opened again and drawn by the query
    // window from the archive.
    void twoSizeRowPanel2PickedSwitchedSavedAndOpened() {
        TypeJob(*w_, PackingOption::Routed);
        Cursor& j = Dm().TempInput;
        j.edit();
        j.setValue(QStringLiteral("Set_L"), 4.6);
        j.setValue(QStringLiteral("Set_W"), 3.1);
        j.post();
        PressF2();
        const std::vector<vorn::ResultRow> expected = EngineRows(*w_);
        Cursor& t = Dm().TempResult;
        QCOMPARE(t.recordCount(), int(expected.size()));
        const auto panel2Packed = [](const vorn::ResultRow& r) {
            return r.second && !r.second->boards.empty();
        };
        QVERIFY(std::any_of(expected.begin(), expected.end(), panel2Packed));
        // The first such row in the grid's order, and a row of blocks on
        // panel 2 (or of one panel size).
        int row = -1, block = -1;
        for (int r = 0; r < t.recordCount(); ++r) {
            const int n = t.valueAt(r, t.fieldIndex("Number")).toInt();
            const bool packed2 = panel2Packed(expected[std::size_t(n - 1)]);
            if (packed2 && row < 0)
                row = r;
            else if (!packed2 && block < 0)
                block = r;
        }
        QVERIFY(row >= 0 && block >= 0);
        t.moveTo(row);
        const int number = t.asInt(QStringLiteral("Number"));
        const vorn::ResultRow& e = expected[std::size_t(number - 1)];
        const int count = e.second->Panel2;
        QCOMPARE(int(e.second->boards.size()), count);
        QCOMPARE(int(Num(t, "Set_La2") + Num(t, "Set_Lb2") + Num(t, "Set_sLa2")), 0);

        PickResultRow(row);
        QCOMPARE(w_->GivenBoards2(), *e.second->boards);
        QCOMPARE(w_->GivenBoards(), *e.boards);
        w_->Selector(DiagramView::Panel2)->click();
        QVERIFY(w_->Selector(DiagramView::Panel2)->isChecked());
        vorn::LayoutDrawing args = w_->GatherLayoutArgs(DiagramView::Panel2);
        QCOMPARE(int(args.Boards.size()), count);
        CheckDrawn(args, SecondPanelRequest(Dm().TempInput));
        QDir().mkpath(vorn::test::screenshotDir() + QStringLiteral("/bestpacking"));
        vorn::test::Shot(w_.get(), QStringLiteral("bestpacking/two_size_panel2_routed"));

        // A block row picked after it: panel 2 is drawn from its counts.
        PickResultRow(block);
        QVERIFY(w_->GivenBoards2().empty());
        QVERIFY(w_->GatherLayoutArgs(DiagramView::Panel2).Boards.empty());

        // Picked again and switched to millimetres.
        PickResultRow(RowNumbered(number));
        QTest::mouseClick(w_->UnitButton(), Qt::LeftButton);
        QCOMPARE(w_->UnitButton()->text(), QStringLiteral("mm"));
        const std::vector<vorn::Placement> mm = Scaled(*e.second->boards, 25.4);
        QCOMPARE(w_->GivenBoards2(), mm);
        w_->GivenBoards2().clear();
        PickResultRow(RowNumbered(number));
        QCOMPARE(w_->GivenBoards2(), mm);
        w_->Selector(DiagramView::Panel2)->click();
        args = w_->GatherLayoutArgs(DiagramView::Panel2);
        QCOMPARE(int(args.Boards.size()), count);
        CheckDrawn(args, SecondPanelRequest(Dm().TempInput));
        vorn::test::Shot(w_.get(), QStringLiteral("bestpacking/two_size_panel2_routed_mm"));
        // The placement list for the machines: panel 2's rows are its boards.
        {
            QTemporaryDir out;
            const QString csv = out.filePath(QStringLiteral("plan.csv"));
            QString error;
            QVERIFY2(vorn::SavePlanForMachines(*w_, csv, &error), qPrintable(error));
            QFile f(csv);
            QVERIFY(f.open(QIODevice::ReadOnly));
            std::vector<std::array<double, 4>> listed, drawn;
            for (const QByteArray& line : f.readAll().split('\n')) {
                const QList<QByteArray> cells = line.split(',');
                if (cells.size() == 7 && cells[0] == "2")
                    listed.push_back({cells[2].toDouble(), cells[3].toDouble(), cells[4].toDouble(),
                                      cells[5].toDouble()});
            }
            for (const vorn::Placement& p : args.Boards)
                drawn.push_back({p.x, p.y, p.length, p.width});
            std::sort(listed.begin(), listed.end());
            std::sort(drawn.begin(), drawn.end());
            QCOMPARE(int(listed.size()), count);
            for (std::size_t i = 0; i < listed.size(); ++i)
                for (int k = 0; k < 4; ++k)
                    VORN_COMPARE_NEAR(listed[i][std::size_t(k)], drawn[i][std::size_t(k)], 1e-3);
        }

        // Saved, a new job, opened again: panel 2's boards come back.
        SavePart(QStringLiteral("PACK-P2"), QStringLiteral("C-P2"));
        const vorn::LayoutDrawing saved = w_->GatherLayoutArgs(DiagramView::Panel2);
        w_->StartNewJob();
        QVERIFY(w_->GivenBoards2().empty());
        OpenOnlyPart();
        QCOMPARE(w_->GivenBoards().size(), e.boards.size());
        w_->Selector(DiagramView::Panel2)->click();
        const vorn::LayoutDrawing opened = w_->GatherLayoutArgs(DiagramView::Panel2);
        SameBoardsAt(opened.Boards, saved.Boards);
        CheckDrawn(opened, SecondPanelRequest(Dm().TempInput));
        Dm().SavedPartsQuery.close();

        // The query window's diagram of panel 2: the stored boards.
        vorn::TForm3 f(Dm(), w_.get());
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        Cursor& saved2 = Dm().SavedPartsQuery;
        QVERIFY(saved2.locate("Part_number", {QStringLiteral("PACK-P2")}));
        QCOMPARE(saved2.asInt(QStringLiteral("Set_La2")), 0);
        bool drawn = false;
        // The query window shows its own unit (inches here).
        const double unit =
            saved2.asDouble(QStringLiteral("Panel_L2")) / Num(Dm().TempInput, "Panel_L2");
        vorn::LayoutDrawing inQuery = vorn::LayoutArgsOf(
            DiagramView::Panel2,
            {[&saved2](const char* c) { return saved2.asDouble(QString::fromLatin1(c)); },
             [&saved2](const char* c) { return saved2.asString(QString::fromLatin1(c)); }});
        inQuery.Boards = vorn::BoardsOfRow(Scaled(opened.Boards, unit), inQuery, count);
        QCOMPARE(int(inQuery.Boards.size()), count);
        InModal<vorn::TForm4>([&](vorn::TForm4* d) {
            d->Selector(DiagramView::Panel2)->click();
            const QImage inWindow = d->Image()->pixmap().toImage();
            QImage boardByBoard(inWindow.size(), QImage::Format_RGB32);
            boardByBoard.fill(Qt::white);
            vorn::DrawLayoutDiagram(inQuery, boardByBoard);
            drawn = inWindow == boardByBoard.convertToFormat(inWindow.format());
            vorn::test::Shot(d, QStringLiteral("bestpacking/two_size_panel2_archive"));
            d->reject();
        });
        f.DiagramButton()->click();
        QVERIFY(drawn);
    }

    // The array tab: an array row laid out beyond the blocks (53 units of
    // 0.7 x 0.3 in 4.3 x 2.6, where the blocks hold 52) with its units as a
    // picked array row leaves them, drawn unit by unit in either unit.
    void arrayRowDrawnByItsUnits() {
        vorn::PackRequest q;
        q.containerL = 4.3;
        q.containerW = 2.6;
        q.pieceL = 0.7;
        q.pieceW = 0.3;
        q.seconds = 10;
        const vorn::PackResult packed = vorn::BestPacking(q);
        QCOMPARE(packed.count, std::int64_t(53));
        w_->Tabs()->setCurrentIndex(1);
        Cursor& a = Dm().TempInputCus;
        a.edit();
        for (const auto& [name, value] : {std::pair{"Part_L", 0.7},
                                          {"Part_W", 0.3},
                                          {"Part_C", 0.0},
                                          {"SetBorder_L", 0.0},
                                          {"SetBorder_W", 0.0},
                                          {"Set_L", 4.3},
                                          {"Set_W", 2.6},
                                          {"Part_La", 0.0},
                                          {"Part_Wb", 0.0},
                                          {"Part_Lb", 0.0},
                                          {"Part_Wa", 0.0},
                                          {"Panel", 53.0}})
            a.setValue(QString::fromLatin1(name), value);
        a.post();
        w_->GivenUnits() = packed.placements;
        for (const double unit : {1.0, 25.4}) {
            if (unit != 1)
                QTest::mouseClick(w_->UnitButton(), Qt::LeftButton);
            w_->DrawView(DiagramView::Array);
            const vorn::LayoutDrawing args = w_->GatherLayoutArgs(DiagramView::Array);
            QCOMPARE(args.Boards.size(), std::size_t(53));
            q.containerL = 4.3 * unit;
            q.containerW = 2.6 * unit;
            q.pieceL = 0.7 * unit;
            q.pieceW = 0.3 * unit;
            CheckDrawn(args, q);
            if (QTest::currentTestFailed())
                return;
        }
        vorn::test::Shot(w_.get(), QStringLiteral("bestpacking/array_row_units_mm"));
    }
};

QTEST_MAIN(PackedRowsWindowTest)
#include "PackedRowsWindowTest.moc"
