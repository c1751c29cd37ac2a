// The data module: start-up, the module's own rules and the three queries.
#include "DataModule.h"
#include "DbError.h"
#include "NumberedRows.h"
#include "SqliteConnection.h"
#include "VornTestSupport.h"

#include <QFile>
#include <QSignalSpy>
#include <QtTest>

using namespace vorn;
using vorn::test::panelsNumbered;
using vorn::test::rows;

class DataModuleTest : public QObject {
    Q_OBJECT
private slots:
    void cursorsStartClosed();
    void startupFailure_data();
    void startupFailure();
    void numbering_data();
    void numbering();
    void insertIntoEmptyPresets();
    void movingPastTheEndAppendsNextNumber();
    void toolingHolesNumberWithinTheirType();
    void toolingPresetKeepsItsTypeAndStaysInView();
    void newSheetIsEnabled();
    void workingTablesEmptyOnReopen();
    void resultTableCalculatedColumns_data();
    void resultTableCalculatedColumns();
    void savedPartsQueryInBothUnits();
    void partToolingFollowsSavedPart();
    void enabledPanelsQuery();
};

void DataModuleTest::cursorsStartClosed() {
    test::ProgramDir dir;
    TDataM1 dm(dir.path());
    QVERIFY(dm.isUsable());
    QCOMPARE(dm.databasePath(), dir.databasePath());
    for (Cursor* c :
         {&dm.TempInput, &dm.TempResult, &dm.SetBase, &dm.data0004, &dm.SavedPartsQuery})
        QVERIFY(!c->isOpen());
    QCOMPARE(dm.TempTooling.filter(), QString("PanelType='Panel1'"));
    QVERIFY(dm.TempTooling.filtered());
    QVERIFY(dm.SetTooling.filtered());
    QCOMPARE(dm.SetBase.sort(), QString("base_L;base_W"));
    QVERIFY(!dm.connection().isOpen()); // tested once, then closed
}

void DataModuleTest::startupFailure_data() {
    QTest::addColumn<QByteArray>("content"); // empty: no file at all
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << QByteArray() << "unable to open";
    QTest::newRow("not a database") << QByteArray(4096, 'x') << "not a database";
    QTest::newRow("zero bytes") << QByteArray("-") << "lacks table data0004";
    QTest::newRow("a table missing") << QByteArray("drop TempInput") << "lacks table TempInput";
    QTest::newRow("a column missing")
        << QByteArray("drop SetBase.Enbled") << "lacks column SetBase.Enbled";
}

void DataModuleTest::startupFailure() {
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath("Vorn.mdb");
    if (content == "-") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    } else if (content.startsWith("drop ")) {
        // A real database with one table or column taken away.
        QVERIFY(QFile::copy(test::builtDatabasePath(), path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        const QStringList what = QString::fromLatin1(content.mid(5)).split('.');
        SqliteConnection c;
        c.setPath(path);
        c.exec(what.size() == 1
                   ? QStringLiteral("DROP TABLE %1").arg(what[0])
                   : QStringLiteral("ALTER TABLE %1 DROP COLUMN %2").arg(what[0], what[1]));
        c.close();
    } else if (!content.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    QStringList shown;
    TDataM1::setStartupFailureHandler([&](const QString& text) { shown << text; });
    TDataM1 dm(dir.path());
    TDataM1::setStartupFailureHandler(nullptr);
    QVERIFY(!dm.isUsable());
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown[0].contains(reason, Qt::CaseInsensitive), qPrintable(shown[0]));
    QVERIFY2(shown[0].contains("Vorn.mdb"), qPrintable(shown[0]));
    // The program never creates its database.
    QCOMPARE(QFile::exists(dir.filePath("Vorn.mdb")), !content.isEmpty());
}

void DataModuleTest::numbering_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("current"); // number of the current row
    QTest::addColumn<QStringList>("expected");
    // The new row has Panel_L 0 until typed; old rows keep their Panel_L.
    QTest::newRow("up on row 1") << "Up" << 1 << QStringList{"1:0", "2:10", "3:20", "4:30"};
    QTest::newRow("up on row 2") << "Up" << 2 << QStringList{"1:10", "2:0", "3:20", "4:30"};
    QTest::newRow("down on row 3") << "Down" << 3 << QStringList{"1:10", "2:20", "3:30", "4:0"};
    QTest::newRow("down on row 1") << "Down" << 1 << QStringList{"1:10", "2:0", "3:20", "4:30"};
    // Number 1 whatever the position; equal numbers keep the order rows were added.
    QTest::newRow("empty mode") << "" << 2 << QStringList{"1:10", "1:0", "2:20", "3:30"};
}

void DataModuleTest::numbering() {
    QFETCH(QString, mode);
    QFETCH(int, current);
    QFETCH(QStringList, expected);
    test::ProgramDir dir;
    TDataM1 dm(dir.path());
    panelsNumbered(dm, 3);
    QSignalSpy inserted(&dm, &TDataM1::numberedRowInserted);
    QVERIFY(dm.SetPanel.locate("Number", {current}));
    dm.setInsertMode(TDataM1::Numbered::SetPanel, mode);
    dm.SetPanel.insert();
    // The new row is posted with its number and left open for typing.
    QCOMPARE(dm.SetPanel.state(), Cursor::State::Edit);
    QVERIFY(dm.SetPanel.asBool("Enabled"));
    QCOMPARE(dm.SetPanel.displayText("Enabled"), QString("√"));
    QCOMPARE(dm.insertMode(TDataM1::Numbered::SetPanel), QString());
    QVERIFY(dm.SetPanel.field(dm.SetPanel.fieldIndex("Number")).readOnly);
    QVERIFY(!dm.SetPanel.controlsDisabled());
    QCOMPARE(inserted.count(), 1);
    dm.SetPanel.post();
    QCOMPARE(rows(dm.SetPanel, "Number", "Panel_L"), expected);
}

void DataModuleTest::insertIntoEmptyPresets() {
    test::ProgramDir dir;
    TDataM1 dm(dir.path());
    for (const QString mode : {"Up", "Down"}) {
        panelsNumbered(dm, 0);
        dm.setInsertMode(TDataM1::Numbered::SetPanel, mode);
        dm.SetPanel.insert();
        QCOMPARE(dm.SetPanel.asInt("Number"), 1);
        QCOMPARE(dm.SetPanel.displayText("Enabled"), QString("√"));
        QCOMPARE(dm.insertMode(TDataM1::Numbered::SetPanel), mode); // stays
        dm.SetPanel.close();
    }
}

void DataModuleTest::movingPastTheEndAppendsNextNumber() {
    test::ProgramDir dir;
    TDataM1 dm(dir.path());
    panelsNumbered(dm, 3);
    dm.SetPanel.first();
    dm.setInsertMode(TDataM1::Numbered::SetPanel, QString());
    for (int i = 0; i < 3; ++i)
        dm.SetPanel.next();
    QCOMPARE(dm.insertMode(TDataM1::Numbered::SetPanel), QString("Down"));
    dm.SetPanel.append();
    QCOMPARE(dm.SetPanel.asInt("Number"), 4);
    QCOMPARE(rows(dm.SetPanel, "Number", "Panel_L"), (QStringList{"1:10", "2:20", "3:30", "4:0"}));
}

void DataModuleTest::toolingHolesNumberWithinTheirType() {
    test::ProgramDir dir;
    TDataM1 dm(dir.path());
    Cursor& t = dm.TempTooling;
    t.setFilter(QString());
    t.open();
    dm.setInsertMode(TDataM1::Numbered::TempTooling, QString());
    const QList<std::tuple<const char*, int, double>> holes{
        {"Panel1", 1, 1.0}, {"Panel1", 2, 2.0}, {"Array", 1, 9.0}};
    for (const auto& [type, serial, x] : holes) {
        t.append();
        t.setValue("PanelType", type);
        t.setValue("SerialNumber", serial);
        t.setValue("Xcoordinate", x);
        t.post();
    }
    t.setFilter("PanelType='Array'");
    QCOMPARE(t.recordCount(), 1);
    // A hole posted without a type takes the type its filter shows.
    dm.setInsertMode(TDataM1::Numbered::TempTooling, "Up");
    t.insert();
    t.setValue("PanelType", QString());
    t.setValue("Xcoordinate", 5.0);
    t.post();
    QCOMPARE(t.asString("PanelType"), QString("Array"));
    QCOMPARE(rows(t, "SerialNumber", "Xcoordinate"), (QStringList{"1:5", "2:9"}));
    // Only the shown type was renumbered.
    t.setFilter("PanelType='Panel1'");
    QCOMPARE(rows(t, "SerialNumber", "Xcoordinate"), (QStringList{"1:1", "2:2"}));
}

void DataModuleTest::toolingPresetKeepsItsTypeAndStaysInView() {
    test::ProgramDir dir;
    TDataM1 dm(dir.path());
    Cursor& s = dm.SetTooling;
    s.setFilter("Type='Array'");
    s.open();
    const int arrays = s.recordCount();
    dm.setToolingPresetType("Array");
    int redraws = 0;
    // The preview walks the presets; the posted one is current again afterwards.
    connect(&dm, &TDataM1::toolingPresetPosted, this, [&] {
        ++redraws;
        s.first();
        while (!s.eof())
            s.next();
    });
    s.last();
    dm.setInsertMode(TDataM1::Numbered::SetTooling, "Down");
    s.insert();
    QCOMPARE(s.asString("Type"), QString("Array"));
    s.setValue("Level_Edge", "Left_Edge");
    s.post();
    QCOMPARE(redraws, 2); // the numbering post and the user's post
    QCOMPARE(s.recordCount(), arrays + 1);
    QCOMPARE(s.asInt("SerialNumber"), arrays + 1);
    QCOMPARE(s.asString("Level_Edge"), QString("Left_Edge"));
}

void DataModuleTest::newSheetIsEnabled() {
    test::ProgramDir dir;
    TDataM1 dm(dir.path());
    dm.SetBase.open();
    dm.SetBase.insert();
    QVERIFY(dm.SetBase.asBool("Enbled"));
    QCOMPARE(dm.SetBase.displayText("Enbled"), QString("√"));
}

void DataModuleTest::workingTablesEmptyOnReopen() {
    test::ProgramDir dir;
    TDataM1 dm(dir.path());
    QSignalSpy commands(&dm, &TDataM1::allPanelsCommandsEnabled);
    for (Cursor* c : {&dm.TempInput, &dm.TempResult, &dm.TempTooling, &dm.Temp_inner,
                      &dm.TempResultCus, &dm.TempInputCus}) {
        c->open();
        c->append();
        c->post();
        QVERIFY(c->value("ID").toInt() > 0);
        QCOMPARE(c->recordCount(), 1);
        c->close();
        c->open();
        QCOMPARE(c->recordCount(), 0);
        c->close();
    }
    // TempResult opened and closed twice: the all-panels commands follow it.
    QCOMPARE(commands.count(), 4);
    QCOMPARE(commands[0][0].toBool(), true);
    QCOMPARE(commands[3][0].toBool(), false);
}

void DataModuleTest::resultTableCalculatedColumns_data() {
    QTest::addColumn<int>("panel2");
    QTest::addColumn<QStringList>(
        "texts"); // Panel1size, Panel1bian, Panel2size, Panel2bian, Basesize
    QTest::newRow("single size") << 0
                                 << QStringList{"12.500×18.000", "0.3000/0.2500", "", "",
                                                "48.0×36.0"};
    QTest::newRow("two sizes") << 6
                               << QStringList{"12.500×18.000", "0.3000/0.2500", "10.000×12.250",
                                              "0.1250/0.5000", "48.0×36.0"};
}

void DataModuleTest::resultTableCalculatedColumns() {
    QFETCH(int, panel2);
    QFETCH(QStringList, texts);
    test::ProgramDir dir;
    TDataM1 dm(dir.path());
    Cursor& r = dm.TempResult;
    r.open();
    r.append();
    r.setValue("Panel_L", 12.5);
    r.setValue("Panel_W", 18.0);
    r.setValue("Border_L", 0.3);
    r.setValue("Border_W", 0.25);
    r.setValue("Panel_L2", 10.0);
    r.setValue("Panel_W2", 12.25);
    r.setValue("Border_L2", 0.125);
    r.setValue("Border_W2", 0.5);
    r.setValue("Panel2", panel2);
    r.setValue("Base_L", 48.0);
    r.setValue("Base_W", 36.0);
    r.post();
    const QStringList names{"Panel1size", "Panel1bian", "Panel2size", "Panel2bian", "Basesize"};
    for (int i = 0; i < names.size(); ++i)
        QCOMPARE(r.displayText(names[i]), texts[i]);
    QCOMPARE(r.field(r.fieldIndex("Panel1bian")).title(), QString("边距(左右/上下)"));
    // Recomputed as soon as the row changes.
    r.edit();
    r.setValue("Panel_W", 17.0);
    QCOMPARE(r.displayText("Panel1size"), QString("12.500×17.000"));
}

void DataModuleTest::savedPartsQueryInBothUnits() {
    test::ProgramDir dir;
    TDataM1 dm(dir.path());
    dm.data0004.open();
    const QList<std::tuple<const char*, double, int>> parts{{"B-200", 4.0, 0}, {"a-100", 2.0, 3}};
    for (const auto& [number, length, panel2] : parts) {
        dm.data0004.append();
        dm.data0004.setValue("Part_number", number);
        dm.data0004.setValue("Set_L", length);
        dm.data0004.setValue("Set_W", 1.5);
        dm.data0004.setValue("Panel2", panel2);
        dm.data0004.setValue("Panel_L2", 20.0);
        dm.data0004.setValue("Panel_W2", 16.0);
        dm.data0004.setValue("Date", QDate(2026, 12, 10));
        dm.data0004.setValue("Time", 143005);
        dm.data0004.post();
    }
    dm.data0004.close();

    Cursor& q = dm.SavedPartsQuery;
    q.open(); // design-time lines
    QCOMPARE(q.recordCount(), 2);
    QCOMPARE(q.asString("Part_number"), QString("a-100")); // text sorts without regard to case
    QCOMPARE(q.displayText("SetSize"), QString("2.000×1.500"));
    QCOMPARE(q.displayText("Panel2Size"), QString("20.000×16.000"));
    QCOMPARE(q.displayText("Time"), QString("14:30:05"));
    QCOMPARE(q.field(q.fieldIndex("Panel_lv")).title(), QString("Panel1拼板利用率"));
    q.close();

    q.sql().clear();
    q.sql() << QueryText::savedPartsMm() << "Order By Part_number desc;";
    q.open();
    QCOMPARE(q.asString("Part_number"), QString("B-200"));
    QCOMPARE(q.displayText("SetSize"), QString("101.600×38.100"));
    QCOMPARE(q.displayText("Panel2Size"), QString()); // Panel2 = 0
    QCOMPARE(q.field(q.fieldIndex("Set_L")).title(), QString("成品板长"));
    QCOMPARE(q.asInt("Time"), 143005);
    QVERIFY(q.locate("Part_number", {"A-1"}, Cursor::CaseInsensitive | Cursor::PartialKey));
    QCOMPARE(q.recNo(), 1);
    q.close();

    q.sql().clear();
    q.sql() << QueryText::savedPartsInch() << QueryText::SavedPartsOrder;
    q.open();
    QCOMPARE(q.asDouble("Set_L"), 2.0);
    QVERIFY_THROWS_EXCEPTION(DbError, q.edit()); // queries are not edited
}

void DataModuleTest::partToolingFollowsSavedPart() {
    test::ProgramDir dir;
    TDataM1 dm(dir.path());
    dm.data0004.open();
    QList<int> ids;
    for (const char* number : {"P1", "P2"}) {
        dm.data0004.append();
        dm.data0004.setValue("Part_number", number);
        dm.data0004.post();
        ids << dm.data0004.value("ID").toInt();
    }
    dm.data0004.close();
    dm.Data0005.open();
    const QList<std::tuple<int, const char*, int, double>> holes{{ids[0], "Panel1", 1, 0.5},
                                                                 {ids[0], "Panel1", 2, 1.5},
                                                                 {ids[0], "Array", 1, 0.25},
                                                                 {ids[1], "Panel1", 1, 2.0}};
    for (const auto& [part, type, serial, x] : holes) {
        dm.Data0005.append();
        dm.Data0005.setValue("D4_PTR", part);
        dm.Data0005.setValue("PanelType", type);
        dm.Data0005.setValue("SerialNumber", serial);
        dm.Data0005.setValue("Xcoordinate", x);
        dm.Data0005.post();
    }
    dm.Data0005.close();

    dm.SavedPartsQuery.open();
    Cursor& t = dm.PartToolingQuery;
    t.setParam("Type", "Panel1");
    t.open();
    QCOMPARE(t.recordCount(), 2);
    QCOMPARE(t.displayText("Xcoordinate"), QString("0.5000"));
    dm.SavedPartsQuery.next(); // P2
    QVERIFY(t.isOpen());
    QCOMPARE(t.recordCount(), 1);
    QCOMPARE(t.asDouble("Xcoordinate"), 2.0);
    dm.SavedPartsQuery.first();
    t.close();
    t.sql() = QStringList{QueryText::partToolingMm()};
    t.open();
    QCOMPARE(t.recordCount(), 2);
    QCOMPARE(t.displayText("Xcoordinate"), QString("12.7000"));
    QCOMPARE(t.field(t.fieldIndex("SerialNumber")).title(), QString("序号"));
    t.close();
    t.sql() = QStringList{QueryText::partToolingInch()};
    t.setParam("Type", "Array");
    t.open();
    QCOMPARE(t.recordCount(), 1);
}

void DataModuleTest::enabledPanelsQuery() {
    test::ProgramDir dir;
    TDataM1 dm(dir.path());
    dm.SetPanel.open();
    dm.SetPanel.last();
    dm.setInsertMode(TDataM1::Numbered::SetPanel, "Down");
    dm.SetPanel.insert(); // enabled, but no size: not offered to the search
    dm.SetPanel.post();
    dm.SetPanel.applyUpdates();
    dm.SetPanel.close();
    Cursor& q = dm.EnabledPanelsQuery;
    q.open();
    QStringList sizes;
    while (!q.eof()) {
        QVERIFY(q.asBool("Enabled"));
        sizes << QStringLiteral("%1:%2x%3")
                     .arg(q.asInt("Number"))
                     .arg(q.asDouble("Panel_L"))
                     .arg(q.asDouble("Panel_W"));
        q.next();
    }
    QCOMPARE(sizes, (QStringList{"1:24x18", "2:20x16", "3:24.5x20.5", "4:21x16"}));
}

VORN_TEST_MAIN(DataModuleTest)
#include "DataModuleTest.moc"
