// A real grid and real edit fields on the data module's cursors.
#include "CursorBinder.h"
#include "CursorModel.h"
#include "DataModule.h"
#include "VornTestSupport.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableView>
#include <QVBoxLayout>
#include <QWidget>
#include <QtTest>

using namespace vorn;

class CursorWidgetsTest : public QObject {
    Q_OBJECT
private slots:
    void gridFollowsCursorAndBack();
    void boundFieldsEditTheCurrentRow();
    void resetWithAnOpenEditorKeepsTheCurrentRow();
    void fittingGivesTheWidthsTheGridMeasures();
};

// A post resets the grid; the cell editor open on the posted row closes and
// the focus returns to the grid. The cursor stays on the posted row.
void CursorWidgetsTest::resetWithAnOpenEditorKeepsTheCurrentRow() {
    test::ProgramDir dir;
    TDataM1 dm(dir.path());
    dm.SetPanel.open();
    QTableView grid;
    CursorModel model;
    model.setCursor(&dm.SetPanel);
    model.setEditable(true);
    grid.setModel(&model);
    model.followSelection(grid.selectionModel());
    grid.setEditTriggers(QAbstractItemView::CurrentChanged);
    grid.resize(360, 240);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    grid.setFocus();
    grid.setCurrentIndex(model.index(3, 1)); // opens the editor on row 3
    QCOMPARE(dm.SetPanel.recNo(), 3);
    dm.SetPanel.edit();
    dm.SetPanel.setValue("Panel_L", 30.0);
    dm.SetPanel.post();
    QCOMPARE(dm.SetPanel.recNo(), 3);
    QCOMPARE(grid.currentIndex().row(), 3);
}

// Fitting measures each distinct text of a column once; the widths are
// those the grid's own measure gives, cell by cell.
void CursorWidgetsTest::fittingGivesTheWidthsTheGridMeasures() {
    test::ProgramDir dir;
    TDataM1 dm(dir.path());
    Cursor& results = dm.TempResult;
    results.open();
    const int base = results.fieldIndex("Base_down"), panel = results.fieldIndex("Panel");
    const int up = results.fieldIndex("Up"), length = results.fieldIndex("Panel_L");
    results.appendRows(3000, [&](int i, Cursor::RowWriter& w) {
        w.setNumber(base, (i % 7) * 1234.5678);
        w.setNumber(panel, i % 13 == 0 ? 123456 : i % 5);
        w.setText(up, i % 11 == 0 ? "WWWWW" : "N");
        if (i % 3)
            w.setNumber(length, 10 + i % 17 / 8.0);
    });
    results.moveTo(1500); // rows above and below the shown ones are measured
    CursorModel model;
    model.setCursor(&results);
    QTableView measured, fitted;
    for (QTableView* grid : {&measured, &fitted}) {
        grid->setModel(&model);
        grid->horizontalHeader()->setMinimumSectionSize(4);
        grid->horizontalHeader()->setDefaultSectionSize(8); // every text is wider
        grid->resize(400, 300);
        grid->show();
        QVERIFY(QTest::qWaitForWindowExposed(grid));
        grid->scrollTo(model.index(1500, 0));
    }
    QAbstractItemDelegate* plain = fitted.itemDelegate();
    for (int c = 0; c < model.columnCount(); ++c)
        measured.setColumnWidth(
            c, std::max(measured.columnWidth(c), ColumnContentWidth(&measured, c)));
    FitColumnsToContents(&fitted);
    QCOMPARE(fitted.itemDelegate(), plain);
    QSet<int> widths;
    for (int c = 0; c < model.columnCount(); ++c) {
        QCOMPARE(fitted.columnWidth(c), measured.columnWidth(c));
        widths << fitted.columnWidth(c);
    }
    QVERIFY(widths.size() >= 4); // null, one letter, short and long numbers
}

void CursorWidgetsTest::gridFollowsCursorAndBack() {
    test::ProgramDir dir;
    TDataM1 dm(dir.path());
    dm.SetPanel.open();
    QWidget window;
    auto* grid = new QTableView(&window);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(grid);
    CursorModel model;
    model.setCursor(&dm.SetPanel);
    model.setEditable(true);
    grid->setModel(&model);
    model.followSelection(grid->selectionModel());
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    window.resize(360, 240);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(model.rowCount(), 5);
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QString("序号"));

    // Clicking a row makes it the cursor's current row.
    const QRect cell = grid->visualRect(model.index(2, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(dm.SetPanel.recNo(), 2);
    QCOMPARE(dm.SetPanel.asInt("Number"), 3);
    // Moving the cursor moves the grid's current row.
    dm.SetPanel.last();
    QCOMPARE(grid->currentIndex().row(), 4);

    // An insertion below row 2 through the numbering rule shows in the grid.
    dm.SetPanel.moveTo(1);
    dm.setInsertMode(TDataM1::Numbered::SetPanel, "Down");
    dm.SetPanel.insert();
    dm.SetPanel.setValue("Panel_L", 22.0);
    dm.SetPanel.setValue("Panel_W", 17.0);
    dm.SetPanel.post();
    QCOMPARE(model.rowCount(), 6);
    QCOMPARE(model.data(model.index(2, 0)).toString(), QString("3"));
    QCOMPARE(model.data(model.index(2, 1)).toString(), QString("22.000"));
    QCOMPARE(model.data(model.index(2, 3)).toString(), QString("√"));
    QCOMPARE(grid->currentIndex().row(), 2);
    // The number column is not editable in the grid.
    QVERIFY(!(model.flags(model.index(0, 0)) & Qt::ItemIsEditable));
    QVERIFY(model.flags(model.index(0, 1)) & Qt::ItemIsEditable);

    // Down on the last row appends a row numbered one more than the last.
    model.appendOnDownAtEnd(grid);
    grid->setFocus();
    grid->setCurrentIndex(model.index(5, 1));
    QTest::keyClick(grid, Qt::Key_Down);
    QCOMPARE(dm.SetPanel.state(), Cursor::State::Edit);
    QCOMPARE(model.rowCount(), 7);
    QCOMPARE(dm.SetPanel.asInt("Number"), 7);
    QCOMPARE(grid->currentIndex().row(), 6);
    QVERIFY(model.setData(model.index(6, 1), "30"));
    QCOMPARE(model.data(model.index(6, 1)).toString(), QString("30.000"));

    grid->resizeColumnsToContents();
    QVERIFY(window.grab().save(test::screenshotDir() + "/store_setpanel_grid.png"));
}

void CursorWidgetsTest::boundFieldsEditTheCurrentRow() {
    test::ProgramDir dir;
    TDataM1 dm(dir.path());
    dm.TempInput.open();
    dm.TempInput.append();
    dm.TempInput.setValue("Panel_L", 18.0);
    dm.TempInput.setValue("Panel_L2", 20.0);
    dm.TempInput.setValue("Panel_lv", 85.25);
    dm.TempInput.post();

    QWidget window;
    auto* length = new QLineEdit(&window);
    auto* utilization = new QLineEdit(&window);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(length);
    layout->addWidget(utilization);
    CursorBinder binder(&dm.TempInput);
    QSignalSpy errors(&binder, &CursorBinder::error);
    binder.bind(length, "Panel_L");
    binder.bind(utilization, "Panel_lv");
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(length->text(), QString("18.000"));
    QCOMPARE(utilization->text(), QString("85.250%"));

    // Typing puts the row into edit state; leaving the field sets the column.
    length->setFocus();
    length->selectAll();
    QTest::keyClicks(length, "24.5");
    QCOMPARE(dm.TempInput.state(), Cursor::State::Edit);
    QCOMPARE(dm.TempInput.asDouble("Panel_L"), 18.0);
    QTest::keyClick(length, Qt::Key_Return);
    QCOMPARE(dm.TempInput.state(), Cursor::State::Edit);
    QCOMPARE(dm.TempInput.asDouble("Panel_L"), 24.5);
    QCOMPARE(length->text(), QString("24.500"));
    dm.TempInput.post();

    // A value the column refuses is reported and the stored one comes back.
    length->selectAll();
    QTest::keyClicks(length, "24,5 in");
    QTest::keyClick(length, Qt::Key_Return);
    QCOMPARE(errors.count(), 1);
    QCOMPARE(dm.TempInput.asDouble("Panel_L"), 24.5);
    QCOMPARE(length->text(), QString("24.500"));

    // Rebinding moves a field to another column (panel 1 / panel 2 toggle).
    binder.bind(length, "Panel_L2");
    QCOMPARE(length->text(), QString("20.000"));
    // A change made elsewhere shows at once.
    dm.TempInput.edit();
    dm.TempInput.setValue("Panel_L2", 21.0);
    QCOMPARE(length->text(), QString("21.000"));
    dm.TempInput.cancel();
    QCOMPARE(length->text(), QString("20.000"));
    QVERIFY(window.grab().save(test::screenshotDir() + "/store_bound_fields.png"));
    // Closing empties the fields.
    dm.TempInput.close();
    QCOMPARE(length->text(), QString());
}

VORN_TEST_MAIN(CursorWidgetsTest)
#include "CursorWidgetsTest.moc"
