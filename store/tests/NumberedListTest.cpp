// Numbered lists: delete and move keep the numbers of the shown rows contiguous.
#include "NumberedList.h"
#include "DataModule.h"
#include "NumberedRows.h"
#include "VornTestSupport.h"

#include <QtTest>

using namespace vorn;
using vorn::test::panelsNumbered;
using vorn::test::rows;

class NumberedListTest : public QObject {
    Q_OBJECT
private slots:
    void commands_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("current");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QString>("currentAfter"); // "number:Panel_L" of the current row
        QTest::newRow("delete 2 of 4")
            << 4 << 2 << "delete" << QStringList{"1:10", "2:30", "3:40"} << "2:30";
        QTest::newRow("delete the last")
            << 3 << 3 << "delete" << QStringList{"1:10", "2:20"} << "2:20";
        QTest::newRow("delete the only") << 1 << 1 << "delete" << QStringList{} << "";
        QTest::newRow("up from 3")
            << 4 << 3 << "up" << QStringList{"1:10", "2:30", "3:20", "4:40"} << "2:30";
        QTest::newRow("up on 1 does nothing")
            << 3 << 1 << "up" << QStringList{"1:10", "2:20", "3:30"} << "1:10";
        QTest::newRow("down from 1")
            << 3 << 1 << "down" << QStringList{"1:20", "2:10", "3:30"} << "2:10";
        QTest::newRow("down on the last does nothing")
            << 3 << 3 << "down" << QStringList{"1:10", "2:20", "3:30"} << "3:30";
    }
    void commands() {
        QFETCH(int, count);
        QFETCH(int, current);
        QFETCH(QString, command);
        QFETCH(QStringList, expected);
        QFETCH(QString, currentAfter);
        test::ProgramDir dir;
        TDataM1 dm(dir.path());
        panelsNumbered(dm, count);
        Cursor& p = dm.SetPanel;
        QVERIFY(p.locate("Number", {current}));
        NumberedList list(dm, TDataM1::Numbered::SetPanel, p, "Number");
        if (command == "delete")
            list.removeCurrent();
        else if (command == "up")
            list.moveUp();
        else
            list.moveDown();
        QCOMPARE(rows(p, "Number", "Panel_L"), expected);
        if (!currentAfter.isEmpty())
            QCOMPARE(QStringLiteral("%1:%2").arg(p.asInt("Number")).arg(p.asDouble("Panel_L")),
                     currentAfter);
        QVERIFY(p.field(p.fieldIndex("Number")).readOnly); // read-only for the user again
        QVERIFY(!p.controlsDisabled());
    }

    void closedOrEmptyDoesNothing() {
        test::ProgramDir dir;
        TDataM1 dm(dir.path());
        Cursor& p = dm.SetPanel;
        p.close();
        NumberedList list(dm, TDataM1::Numbered::SetPanel, p, "Number");
        QCOMPARE(list.removeCurrent(), 0);
        QVERIFY(!list.moveUp());
        list.insertBelow();
        QVERIFY(!p.isOpen());
        panelsNumbered(dm, 0);
        QCOMPARE(list.removeCurrent(), 0);
        QVERIFY(!list.moveDown());
    }

    // Holes of other types keep their numbers; inserts go through the module.
    void onlyTheShownTypeIsRenumbered() {
        test::ProgramDir dir;
        TDataM1 dm(dir.path());
        Cursor& t = dm.TempTooling;
        t.setFilter(QString());
        t.open();
        for (const auto& [type, serial] : QList<std::pair<const char*, int>>{
                 {"Panel1", 1}, {"Array", 1}, {"Panel1", 2}, {"Array", 2}, {"Panel1", 3}}) {
            dm.setInsertMode(TDataM1::Numbered::TempTooling, QString());
            t.append();
            t.setValue("PanelType", type);
            t.setValue("SerialNumber", serial);
            t.setValue("Xcoordinate", double(serial));
            t.post();
        }
        t.setFilter("PanelType='Panel1'");
        NumberedList holes(dm, TDataM1::Numbered::TempTooling, t, "SerialNumber");
        QVERIFY(t.locate("SerialNumber", {1}));
        QCOMPARE(holes.removeCurrent(), 1);
        QCOMPARE(rows(t, "SerialNumber", "Xcoordinate"), (QStringList{"1:2", "2:3"}));
        QVERIFY(holes.moveDown());
        QCOMPARE(rows(t, "SerialNumber", "Xcoordinate"), (QStringList{"1:3", "2:2"}));
        holes.insertAbove(); // above hole 2: the new row is 2, the old 2 becomes 3
        QCOMPARE(t.asInt("SerialNumber"), 2);
        t.setValue("Xcoordinate", 7.0);
        t.post();
        QCOMPARE(rows(t, "SerialNumber", "Xcoordinate"), (QStringList{"1:3", "2:7", "3:2"}));
        t.setFilter("PanelType='Array'");
        QCOMPARE(rows(t, "SerialNumber", "Xcoordinate"), (QStringList{"1:1", "2:2"}));
    }
};

VORN_TEST_MAIN(NumberedListTest)
#include "NumberedListTest.moc"
