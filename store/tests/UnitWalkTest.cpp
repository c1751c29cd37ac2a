// The unit walk over a settings table: every length converted, rows kept in
// place, nulls kept, and an untouched value back exactly after a round trip.
#include "UnitWalk.h"
#include "Cursor.h"
#include "DataModule.h"
#include "VornTestSupport.h"

#include <QSignalSpy>
#include <QtTest>

using namespace vorn;

namespace {

// "L×W" of every shown row, in the order shown, with full precision.
QStringList sizes(const Cursor& c, const char* l, const char* w) {
    QStringList out;
    for (int r = 0; r < c.recordCount(); ++r) {
        const QVariant a = c.valueAt(r, c.fieldIndex(l));
        const QVariant b = c.valueAt(r, c.fieldIndex(w));
        out << (a.isNull() ? QStringLiteral("null") : QString::number(a.toDouble(), 'g', 17)) +
                   u'x' +
                   (b.isNull() ? QStringLiteral("null") : QString::number(b.toDouble(), 'g', 17));
    }
    return out;
}

} // namespace

class UnitWalkTest : public QObject {
    Q_OBJECT
private slots:
    // SetBase is sorted by its lengths: the walk converts every row, rows keep
    // their order, the sort comes back, the grids are told once at the end.
    void convertsEveryRowInPlace() {
        test::ProgramDir dir;
        TDataM1 dm(dir.path());
        Cursor& sheets = dm.SetBase;
        sheets.open();
        sheets.append();
        sheets.setValue("Base_W", 20.0); // Base_L stays null
        sheets.post();
        const QStringList before = sizes(sheets, "Base_L", "Base_W");
        QCOMPARE(before.size(), 7);
        QSignalSpy resets(&sheets, &Cursor::reset);
        QSignalSpy changes(&sheets, &Cursor::rowChanged);

        ConvertLengthColumns(sheets, {"Base_L", "Base_W"}, 25.4);
        QCOMPARE(sheets.sort(), QStringLiteral("base_L;base_W"));
        QCOMPARE(changes.count(), 0);
        QVERIFY(resets.count() >= 1);
        QCOMPARE(sheets.state(), Cursor::State::Browse);
        for (int r = 0; r < sheets.recordCount(); ++r) {
            const QVariant l = sheets.valueAt(r, sheets.fieldIndex("Base_L"));
            const QVariant w = sheets.valueAt(r, sheets.fieldIndex("Base_W"));
            if (l.isNull()) {
                QCOMPARE(w.toDouble(), 20.0 * 25.4);
                continue;
            }
            QCOMPARE(l.toDouble(), before[r].section(u'x', 0, 0).toDouble() * 25.4);
            QCOMPARE(w.toDouble(), before[r].section(u'x', 1, 1).toDouble() * 25.4);
        }
        // The file holds inches until a save.
        QVERIFY(sheets.hasPendingUpdates());
        DivideLengthColumns(sheets, {"Base_L", "Base_W"}, 25.4);
        QCOMPARE(sheets.recordCount(), before.size());
    }

    // A plain round trip changes values in the last bit; with the memory,
    // untouched cells come back exactly and an edited cell is converted.
    void memoryGivesExactRoundTrips() {
        test::ProgramDir dir;
        TDataM1 dm(dir.path());
        Cursor& sheets = dm.SetBase;
        sheets.open();
        const QStringList inches = sizes(sheets, "Base_L", "Base_W");
        QVERIFY(inches.contains("48x36"));

        ConvertLengthColumns(sheets, {"Base_L", "Base_W"}, 25.4);
        DivideLengthColumns(sheets, {"Base_L", "Base_W"}, 25.4);
        QVERIFY(sizes(sheets, "Base_L", "Base_W") != inches); // 48 comes back as 47.99999999999999
        sheets.close();
        sheets.open();

        UnitWalkMemory memory;
        for (int trip = 0; trip < 3; ++trip) {
            ConvertLengthColumns(sheets, {"Base_L", "Base_W"}, 25.4, &memory);
            DivideLengthColumns(sheets, {"Base_L", "Base_W"}, 25.4, &memory);
        }
        QCOMPARE(sizes(sheets, "Base_L", "Base_W"), inches);

        // A cell typed in millimetres is converted from what was typed.
        ConvertLengthColumns(sheets, {"Base_L", "Base_W"}, 25.4, &memory);
        QVERIFY(sheets.locate("Base_W", {36.0 * 25.4}));
        sheets.edit();
        sheets.setValue("Base_W", 1000.0);
        sheets.post();
        DivideLengthColumns(sheets, {"Base_L", "Base_W"}, 25.4, &memory);
        QStringList expected = inches;
        expected[expected.indexOf("48x36")] =
            QStringLiteral("48x%1").arg(1000.0 / 25.4, 0, 'g', 17);
        QCOMPARE(sizes(sheets, "Base_L", "Base_W"), expected);
    }

    // SetPanel keeps its number order; a row being typed is posted first.
    void postsPendingRowAndKeepsNumbers() {
        test::ProgramDir dir;
        TDataM1 dm(dir.path());
        Cursor& panels = dm.SetPanel;
        panels.open();
        const int rows = panels.recordCount();
        panels.last();
        panels.edit();
        panels.setValue("Panel_L", 10.0);
        ConvertLengthColumns(panels, {"Panel_L", "Panel_W"}, 25.4);
        QCOMPARE(panels.recordCount(), rows);
        for (int r = 0; r < rows; ++r)
            QCOMPARE(panels.valueAt(r, panels.fieldIndex("Number")).toInt(), r + 1);
        QCOMPARE(panels.valueAt(rows - 1, panels.fieldIndex("Panel_L")).toDouble(), 254.0);
        // A closed cursor is left alone.
        panels.close();
        ConvertLengthColumns(panels, {"Panel_L"}, 25.4);
        QVERIFY(!panels.isOpen());
    }
};

VORN_TEST_MAIN(UnitWalkTest)
#include "UnitWalkTest.moc"
