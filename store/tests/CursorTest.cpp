// The cursor layer against a fresh copy of the real database.
#include "Cursor.h"
#include "CursorModel.h"
#include "DbError.h"
#include "DisplayFormat.h"
#include "FilterText.h"
#include "SqliteConnection.h"
#include "VornTestSupport.h"

#include <QtTest>

#include <bit>
#include <cmath>

#include <sqlite3.h>

using namespace vorn;

namespace {

// Reads one number straight from the file through a connection of its own.
QVariant fileValue(const QString& database, const QString& sql) {
    SqliteConnection other;
    other.setPath(database);
    SqliteStatement statement(other, sql);
    if (!statement.step())
        return {};
    if (sqlite3_column_type(statement.raw(), 0) == SQLITE_NULL)
        return {};
    return sqlite3_column_double(statement.raw(), 0);
}

void addHole(Cursor& c, const QString& type, int serial, QVariant x, double diameter = 0.125) {
    c.append();
    c.setValue("PanelType", type);
    c.setValue("SerialNumber", serial);
    c.setValue("Xcoordinate", x);
    c.setValue("Diameter", diameter);
    c.post();
}

QList<int> column(Cursor& c, const QString& field) {
    QList<int> values;
    for (int row = 0; row < c.recordCount(); ++row)
        values << c.valueAt(row, c.fieldIndex(field)).toInt();
    return values;
}

} // namespace

class CursorTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void filterParsing_data();
    void filterParsing();
    void filterEvaluation_data();
    void filterEvaluation();
    void filterErrorsChangeNothing();
    void sortIsStableAndFollowsKeyChanges();
    void appendedRunIsPlacedInOrder();
    void locate_data();
    void locate();
    void navigationAndEditing();
    void archiveWritesThrough();
    void refusedArchiveWritesChangeNothing();
    void settingsWaitForCommit();
    void failedCommitRollsBack();
    void workingTablesNeverReachTheFile();
    void sortAndFilterSurviveReopen();
    void valuesAreChecked_data();
    void valuesAreChecked();
    void sixteenBitCountsDoNotWrap();
    void bulkWritersKeepTheChecks();
    void appendRowsMatchesOneByOne_data();
    void appendRowsMatchesOneByOne();
    void refusedAppendRowsChangesNothing();
    void valuesComeBackAcrossStorageWidths();
    void displayFormats_data();
    void displayFormats();
    void modelShowsCursorAndDetaches();

private:
    test::ProgramDir* m_dir = nullptr;
    SqliteConnection* m_connection = nullptr;
};

void CursorTest::init() {
    m_dir = new test::ProgramDir;
    QVERIFY(m_dir->isValid());
    m_connection = new SqliteConnection;
    m_connection->setPath(m_dir->databasePath());
}

void CursorTest::cleanup() {
    delete m_connection;
    delete m_dir;
}

void CursorTest::filterParsing_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("conditions");
    QTest::addColumn<QString>(
        "firstText"); // text value of the first condition, or "!" when the text is invalid
    QTest::newRow("empty") << "" << 0 << "";
    QTest::newRow("bool") << "Enbled=True" << 1 << "";
    QTest::newRow("null test") << "Panel2=Null" << 1 << "";
    QTest::newRow("quoted") << "PanelType='Panel1'" << 1 << "Panel1";
    QTest::newRow("doubled quote") << "Part_number='O''BRIEN'" << 1 << "O'BRIEN";
    QTest::newRow("and, blanks, exponent")
        << "Panel_L>1.5E-10 and  Panel_L<2 AND Panel_W>-3" << 3 << "";
    QTest::newRow("brackets") << "[Type]='Array'" << 1 << "Array";
    QTest::newRow("unclosed quote") << "Type='Array" << 0 << "!";
    QTest::newRow("no operator") << "Type 'Array'" << 0 << "!";
    QTest::newRow("no value") << "Panel_L>" << 0 << "!";
    QTest::newRow("or is not supported") << "A=1 or B=2" << 0 << "!";
    QTest::newRow("null needs =") << "Panel2>Null" << 0 << "!";
    QTest::newRow("bare word") << "Type=Array" << 0 << "!";
}

void CursorTest::filterParsing() {
    QFETCH(QString, text);
    QFETCH(int, conditions);
    QFETCH(QString, firstText);
    if (firstText == u"!") {
        QVERIFY_THROWS_EXCEPTION(DbError, FilterText::parse(text));
        return;
    }
    const FilterText parsed = FilterText::parse(text);
    QCOMPARE(int(parsed.conditions.size()), conditions);
    if (!parsed.conditions.empty() && !firstText.isEmpty()) // quoting gives back the same text
        QCOMPARE(FilterText::parse("A=" + FilterText::quote(firstText)).conditions.front().text,
                 firstText);
    if (!firstText.isEmpty())
        QCOMPARE(parsed.conditions.front().text, firstText);
}

void CursorTest::filterEvaluation_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("serials");
    QTest::newRow("text equal, any case") << "PanelType='panel1'" << QList<int>{1, 2, 3};
    QTest::newRow("quote inside") << "PanelType='O''Hole'" << QList<int>{7};
    QTest::newRow("range") << "Xcoordinate>1 and Xcoordinate<3" << QList<int>{2};
    QTest::newRow("null") << "Xcoordinate=Null" << QList<int>{3};
    QTest::newRow("not null") << "Xcoordinate<>Null and PanelType='Array'" << QList<int>{5};
    QTest::newRow("null never compares") << "Xcoordinate<100" << QList<int>{1, 2, 5, 7};
    QTest::newRow("text and number") << "PanelType='Panel1' and SerialNumber>1" << QList<int>{2, 3};
}

void CursorTest::filterEvaluation() {
    QFETCH(QString, text);
    QFETCH(QList<int>, serials);
    Cursor holes(*m_connection, "TempTooling", Cursor::Policy::MemoryOnly);
    holes.setSort("SerialNumber");
    holes.open();
    addHole(holes, "Panel1", 1, 0.5);
    addHole(holes, "Panel1", 2, 2.0);
    addHole(holes, "Panel1", 3, QVariant());
    addHole(holes, "Array", 5, 4.0);
    addHole(holes, "O'Hole", 7, 1.0);
    holes.setFilter(text);
    holes.setFiltered(true);
    QCOMPARE(column(holes, "SerialNumber"), serials);
    // A row edited out of the filter stays shown until the filter is set again.
    if (!holes.isEmpty()) {
        holes.first();
        holes.edit();
        holes.setValue("PanelType", "Elsewhere");
        holes.setValue("Xcoordinate", 1000.0);
        holes.setValue("SerialNumber", 8);
        holes.post();
        QCOMPARE(holes.recordCount(), serials.size());
        QCOMPARE(holes.asString("PanelType"), QString("Elsewhere"));
        holes.setFilter(text);
        QCOMPARE(holes.recordCount(), serials.size() - 1);
    }
    holes.setFiltered(false);
    QCOMPARE(holes.recordCount(), 5);
}

void CursorTest::filterErrorsChangeNothing() {
    Cursor sheets(*m_connection, "SetBase", Cursor::Policy::Cached);
    sheets.setFilter("Enbled=True");
    sheets.setFiltered(true);
    sheets.open();
    QCOMPARE(sheets.recordCount(), 6);
    QVERIFY_THROWS_EXCEPTION(DbError, sheets.setFilter("Enbled=Tru"));
    try {
        sheets.setFilter("Enabled=True"); // SetPanel's spelling, not SetBase's
        QFAIL("unknown column accepted");
    } catch (const DbError& e) {
        QVERIFY2(e.text().contains("Enabled"), qPrintable(e.text()));
    }
    QVERIFY_THROWS_EXCEPTION(DbError, sheets.setFilter("Base_L='wide'"));
    QCOMPARE(sheets.filter(), QString("Enbled=True"));
    QCOMPARE(sheets.recordCount(), 6);
    QVERIFY_THROWS_EXCEPTION(DbError, sheets.setSort("Base_L;Nope"));
    QCOMPARE(sheets.sort(), QString());
}

void CursorTest::sortIsStableAndFollowsKeyChanges() {
    Cursor results(*m_connection, "TempResult", Cursor::Policy::MemoryOnly);
    results.setSort("Base_down;Panel_down");
    results.open();
    // (Base_down, Panel_down, Number as the row's name)
    const QList<std::tuple<double, double, int>> rows{
        {1.2, 1.1, 1}, {1.1, 1.3, 2}, {1.2, 1.1, 3}, {1.1, 1.2, 4}, {1.2, 1.1, 5}};
    for (const auto& [base, panel, number] : rows) {
        results.append();
        results.setValue("Base_down", base);
        results.setValue("Panel_down", panel);
        results.setValue("Number", number);
        results.post();
        QCOMPARE(results.asInt("Number"), number); // the posted row stays current
    }
    QCOMPARE(column(results, "Number"), (QList<int>{4, 2, 1, 3, 5}));
    // Row 3 gets a better sheet utilization and moves to the top.
    QVERIFY(results.locate("Number", {3}));
    results.edit();
    results.setValue("Base_down", 1.0);
    results.post();
    QCOMPARE(results.recNo(), 0);
    QCOMPARE(column(results, "Number"), (QList<int>{3, 4, 2, 1, 5}));
    // Back to an equal key: it goes back among its equals in the order added.
    results.edit();
    results.setValue("Base_down", 1.2);
    results.setValue("Panel_down", 1.1);
    results.post();
    QCOMPARE(column(results, "Number"), (QList<int>{4, 2, 1, 3, 5}));
    QCOMPARE(results.asInt("Number"), 3);
    // Switching the sort off keeps the order the rows have now.
    results.setSort("Panel_down");
    results.setSort("");
    QCOMPARE(column(results, "Number"), (QList<int>{1, 3, 5, 4, 2}));
}

void CursorTest::appendedRunIsPlacedInOrder() {
    Cursor results(*m_connection, "TempResult", Cursor::Policy::MemoryOnly);
    results.setSort("Base_down");
    results.open();
    const int base = results.fieldIndex("Base_down");
    const int number = results.fieldIndex("Number");
    for (int i = 0; i < 1000; ++i) {
        results.append();
        results.setValue(base, double((i * 7919) % 1000));
        results.setValue(number, i);
        results.post();
    }
    results.first();
    double previous = -1;
    int count = 0;
    while (!results.eof()) {
        QVERIFY(results.asDouble("Base_down") > previous);
        previous = results.asDouble("Base_down");
        ++count;
        results.next();
    }
    QCOMPARE(count, 1000);
}

void CursorTest::locate_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<int>("options");
    QTest::addColumn<int>("expectedSerial"); // 0: not found
    const int ci = Cursor::CaseInsensitive, prefix = Cursor::PartialKey;
    QTest::newRow("two keys") << "Type;SerialNumber" << QVariantList{"Array", 2} << 0 << 2;
    QTest::newRow("case differs") << "Level_Edge" << QVariantList{"left_center"} << 0 << 0;
    QTest::newRow("case-blind") << "Level_Edge" << QVariantList{"left_center"} << ci << 3;
    QTest::newRow("prefix") << "Level_Edge" << QVariantList{"Bottom"} << prefix << 4;
    QTest::newRow("prefix, case-blind")
        << "Level_Edge" << QVariantList{"top_c"} << (ci | prefix) << 1;
    QTest::newRow("number as text prefix") << "SerialNumber" << QVariantList{"1"} << prefix << 1;
    QTest::newRow("none") << "Type;SerialNumber" << QVariantList{"Panel", 9} << 0 << 0;
}

void CursorTest::locate() {
    QFETCH(QString, keys);
    QFETCH(QVariantList, values);
    QFETCH(int, options);
    QFETCH(int, expectedSerial);
    Cursor presets(*m_connection, "SetTooling", Cursor::Policy::Cached);
    presets.open();
    while (!presets.isEmpty())
        presets.remove();
    const QList<std::tuple<QString, int, QString>> rows{{"Array", 1, "Top_Center"},
                                                        {"Array", 2, "Top_Edge"},
                                                        {"Array", 3, "Left_Center"},
                                                        {"Array", 4, "Bottom_Edge"}};
    for (const auto& [type, serial, edge] : rows) {
        presets.append();
        presets.setValue("Type", type);
        presets.setValue("SerialNumber", serial);
        presets.setValue("Level_Edge", edge);
        presets.post();
    }
    presets.last();
    const bool found = presets.locate(keys, values, Cursor::LocateOptions::fromInt(options));
    QCOMPARE(found, expectedSerial != 0);
    QCOMPARE(presets.asInt("SerialNumber"), found ? expectedSerial : 4); // a miss stays put
}

void CursorTest::navigationAndEditing() {
    Cursor holes(*m_connection, "TempTooling", Cursor::Policy::MemoryOnly);
    holes.open();
    QVERIFY(holes.bof() && holes.eof());
    for (int i = 1; i <= 3; ++i)
        addHole(holes, "Panel1", i, i);
    holes.first();
    QVERIFY(holes.bof() && !holes.eof());
    holes.prior();
    QVERIFY(holes.bof());
    QCOMPARE(holes.asInt("SerialNumber"), 1);
    holes.last();
    QVERIFY(holes.eof());
    holes.next();
    QCOMPARE(holes.asInt("SerialNumber"), 3);

    // Insert goes above the current row; moving away posts it.
    holes.moveTo(1);
    holes.insert();
    holes.setValue("SerialNumber", 9);
    holes.next();
    QCOMPARE(column(holes, "SerialNumber"), (QList<int>{1, 9, 2, 3}));
    QCOMPARE(holes.asInt("SerialNumber"), 2);
    QVERIFY(holes.value("ID").toInt() > 0);

    // An insert that was never typed into is dropped when the cursor moves.
    holes.insert();
    holes.first();
    QCOMPARE(holes.recordCount(), 4);

    // Cancel restores an edit.
    holes.edit();
    holes.setValue("Xcoordinate", 42.0);
    holes.cancel();
    QCOMPARE(holes.asDouble("Xcoordinate"), 1.0);

    // Setting outside edit state is an error.
    QVERIFY_THROWS_EXCEPTION(DbError, holes.setValue("Xcoordinate", 2.0));

    // Delete: the following row becomes current, or the new last row.
    holes.moveTo(1);
    holes.remove();
    QCOMPARE(holes.asInt("SerialNumber"), 2);
    holes.last();
    holes.remove();
    QCOMPARE(holes.asInt("SerialNumber"), 2);
    QCOMPARE(holes.recordCount(), 2);
}

void CursorTest::archiveWritesThrough() {
    const QString db = m_dir->databasePath();
    Cursor parts(*m_connection, "data0004", Cursor::Policy::WriteThrough);
    parts.open();
    parts.append();
    parts.setValue("Part_number", "A-100");
    parts.setValue("Date", QDate(2026, 12, 10));
    parts.setValue("Time", 143005);
    parts.post();
    const int id = parts.value("ID").toInt();
    QVERIFY(id > 0); // the autonumber is readable at once
    QCOMPARE(fileValue(db, "SELECT count(*) FROM data0004").toInt(), 1);
    parts.edit();
    parts.setValue("Layer", 4);
    parts.post();
    QCOMPARE(fileValue(db, QString("SELECT Layer FROM data0004 WHERE ID=%1").arg(id)).toInt(), 4);
    parts.remove();
    QCOMPARE(fileValue(db, "SELECT count(*) FROM data0004").toInt(), 0);
    parts.close();
    QCOMPARE(m_connection->isOpen(), false); // no cursor open, no connection
}

void CursorTest::refusedArchiveWritesChangeNothing() {
    const QString db = m_dir->databasePath();
    {
        SqliteConnection other;
        other.setPath(db);
        other.exec("CREATE TRIGGER refuseInsert BEFORE INSERT ON data0004 "
                   "WHEN NEW.Part_number = 'BAD' BEGIN SELECT RAISE(ABORT, 'no BAD parts'); END");
        other.exec("CREATE TRIGGER refuseDelete BEFORE DELETE ON data0004 "
                   "WHEN OLD.Part_number = 'KEEP' BEGIN SELECT RAISE(ABORT, 'kept'); END");
    }
    Cursor parts(*m_connection, "data0004", Cursor::Policy::WriteThrough);
    parts.open();
    parts.append();
    parts.setValue("Part_number", "KEEP");
    parts.post();
    parts.append();
    parts.setValue("Part_number", "BAD");
    QVERIFY_THROWS_EXCEPTION(DbError, parts.post());
    // The refused row is still being inserted, as typed, and nothing reached the file.
    QCOMPARE(parts.state(), Cursor::State::Insert);
    QCOMPARE(parts.asString("Part_number"), QString("BAD"));
    QCOMPARE(fileValue(db, "SELECT count(*) FROM data0004").toInt(), 1);
    parts.setValue("Part_number", "GOOD");
    parts.post();
    QCOMPARE(fileValue(db, "SELECT count(*) FROM data0004").toInt(), 2);

    QVERIFY(parts.locate("Part_number", {"KEEP"}));
    QVERIFY_THROWS_EXCEPTION(DbError, parts.remove());
    QCOMPARE(parts.recordCount(), 2);
    QCOMPARE(parts.asString("Part_number"), QString("KEEP"));
    QCOMPARE(fileValue(db, "SELECT count(*) FROM data0004").toInt(), 2);
}

void CursorTest::settingsWaitForCommit() {
    const QString db = m_dir->databasePath();
    Cursor panels(*m_connection, "SetPanel", Cursor::Policy::Cached);
    panels.setSort("Number");
    panels.open();
    const int before = fileValue(db, "SELECT count(*) FROM SetPanel").toInt();
    panels.append();
    panels.setValue("Number", 50);
    panels.setValue("Panel_L", 30.0);
    panels.post();
    panels.first();
    panels.edit();
    panels.setValue("Panel_L", 99.5);
    panels.post();
    QCOMPARE(fileValue(db, "SELECT count(*) FROM SetPanel").toInt(), before);
    QVERIFY(fileValue(db, "SELECT max(Panel_L) FROM SetPanel").toDouble() < 99);
    panels.close(); // drops what was not committed
    panels.open();
    QCOMPARE(panels.recordCount(), before);
    panels.last();
    panels.edit();
    panels.setValue("Panel_W", 11.0);
    panels.post();
    panels.append();
    panels.setValue("Number", 51);
    panels.post();
    const int provisional = panels.value("ID").toInt();
    panels.first();
    panels.remove();
    panels.applyUpdates();
    QVERIFY(!panels.hasPendingUpdates());
    QCOMPARE(fileValue(db, "SELECT count(*) FROM SetPanel").toInt(), before);
    QCOMPARE(fileValue(db, "SELECT count(*) FROM SetPanel WHERE Panel_W=11").toInt(), 1);
    QCOMPARE(fileValue(db, "SELECT count(*) FROM SetPanel WHERE Number=1").toInt(), 0);
    QVERIFY(panels.locate("Number", {51}));
    QCOMPARE(fileValue(db, "SELECT ID FROM SetPanel WHERE Number=51").toInt(),
             panels.value("ID").toInt());
    QVERIFY(provisional > 0);
}

void CursorTest::failedCommitRollsBack() {
    const QString db = m_dir->databasePath();
    {
        SqliteConnection other;
        other.setPath(db);
        other.exec("CREATE TRIGGER refuse BEFORE INSERT ON SetPanel WHEN NEW.Panel_L = 99 "
                   "BEGIN SELECT RAISE(ABORT, 'refused by the test'); END");
    }
    Cursor panels(*m_connection, "SetPanel", Cursor::Policy::Cached);
    panels.setSort("Number");
    panels.open();
    panels.first();
    panels.edit();
    panels.setValue("Panel_L", 77.0); // an update that comes before the failing insert
    panels.post();
    panels.append();
    panels.setValue("Panel_L", 99.0);
    panels.post();
    try {
        panels.applyUpdates();
        QFAIL("commit did not fail");
    } catch (const DbError& e) {
        QVERIFY2(e.text().contains("refused by the test"), qPrintable(e.text()));
    }
    QCOMPARE(fileValue(db, "SELECT count(*) FROM SetPanel WHERE Panel_L=77").toInt(), 0);
    QVERIFY(panels.hasPendingUpdates()); // kept, so the user may fix and save again
    QVERIFY(panels.locate("Panel_L", {99.0}));
    panels.edit();
    panels.setValue("Panel_L", 98.0);
    panels.post();
    panels.applyUpdates();
    QCOMPARE(fileValue(db, "SELECT count(*) FROM SetPanel WHERE Panel_L=77").toInt(), 1);
    QCOMPARE(fileValue(db, "SELECT count(*) FROM SetPanel WHERE Panel_L=98").toInt(), 1);
}

void CursorTest::workingTablesNeverReachTheFile() {
    const QString db = m_dir->databasePath();
    Cursor results(*m_connection, "TempResult", Cursor::Policy::MemoryOnly);
    results.open();
    for (int i = 0; i < 3; ++i) {
        results.append();
        results.setValue("Panel", i);
        results.post();
    }
    results.first();
    results.remove();
    QCOMPARE(results.recordCount(), 2);
    QCOMPARE(fileValue(db, "SELECT count(*) FROM TempResult").toInt(), 0);
    results.close();
    results.open();
    QCOMPARE(results.recordCount(), 0);
    // Even rows slipped into the file by someone else are not read.
    {
        SqliteConnection other;
        other.setPath(db);
        other.exec("INSERT INTO TempResult (Panel) VALUES (5)");
    }
    results.close();
    results.open();
    QCOMPARE(results.recordCount(), 0);
}

void CursorTest::sortAndFilterSurviveReopen() {
    Cursor sheets(*m_connection, "SetBase", Cursor::Policy::Cached);
    sheets.setSort("base_W;base_L"); // names match whatever their case
    sheets.setFilter("Base_W>40");
    sheets.setFiltered(true);
    sheets.open();
    QCOMPARE(sheets.recordCount(), 3);
    QCOMPARE(sheets.asDouble("Base_W"), 41.0);
    sheets.close();
    QCOMPARE(sheets.filter(), QString("Base_W>40"));
    sheets.open();
    QCOMPARE(sheets.recordCount(), 3);
    QCOMPARE(sheets.asDouble("Base_W"), 41.0);
    QVERIFY(sheets.filtered());
    QCOMPARE(sheets.sort(), QString("base_W;base_L"));
}

void CursorTest::valuesAreChecked_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("number") << "Panel_L"
                            << "12.5" << true;
    QTest::newRow("formatted number") << "Panel_L"
                                      << "1,234.5000" << true;
    QTest::newRow("percent") << "Panel_lv"
                             << "85.250%" << true;
    QTest::newRow("not a number") << "Panel_L"
                                  << "12,5x" << false;
    QTest::newRow("integer") << "Panel"
                             << "7" << true;
    QTest::newRow("integer too large") << "Panel"
                                       << "3000000000" << false;
    QTest::newRow("integer with fraction") << "Panel"
                                           << "7.5" << false;
    QTest::newRow("text fits") << "Up"
                               << "N" << true;
    QTest::newRow("text too long") << "Up"
                                   << "ABCDEF" << false;
    QTest::newRow("unknown column") << "Panel_X"
                                    << "1" << false;
    QTest::newRow("calculated column") << "Panel1size"
                                       << "1" << false;
}

void CursorTest::valuesAreChecked() {
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    Cursor results(*m_connection, "TempResult", Cursor::Policy::MemoryOnly);
    results.addCalculatedField("Panel1size", "", [](const Cursor::Row&) { return QString(); });
    results.open();
    results.append();
    results.setValue("Panel_L", 3.0);
    results.post();
    results.edit();
    bool threw = false;
    try {
        results.setText(field, text);
    } catch (const DbError& e) {
        threw = true;
        QVERIFY(!e.text().isEmpty());
    }
    QCOMPARE(!threw, accepted);
    if (!accepted) {
        QCOMPARE(results.asDouble("Panel_L"), 3.0);
        QVERIFY(results.isNull("Panel"));
        QVERIFY(results.isNull("Up"));
    }
    results.setText("Panel_L", ""); // empty text makes a column null
    QVERIFY(results.isNull("Panel_L"));
    QCOMPARE(results.asDouble("Panel_L"), 0.0);
}

void CursorTest::sixteenBitCountsDoNotWrap() {
    Cursor results(*m_connection, "TempResult", Cursor::Policy::MemoryOnly);
    results.open();
    QCOMPARE(results.field(results.fieldIndex("Panel")).type, FieldType::Int16);
    results.append();
    for (const char* name : {"Number", "Set_La", "Set_Wb", "Set_Lb", "Set_Wa", "Panel", "Panel_N"})
        results.setValue(name, 40000 + int(qstrlen(name)));
    results.post();
    QCOMPARE(results.asInt("Panel"), 40005);
    QCOMPARE(results.asInt("Panel_N"), 40007);
    QCOMPARE(results.displayText("Number"), QString("40006"));
}

void CursorTest::bulkWritersKeepTheChecks() {
    Cursor results(*m_connection, "TempResult", Cursor::Policy::MemoryOnly);
    results.setSort("Base_down;Number");
    results.open();
    const int base = results.fieldIndex("Base_down");
    const int panel = results.fieldIndex("Panel");
    for (double key : {3.0, 1.0, 2.0, 1.0}) {
        results.append();
        results.setNumber(base, key);
        results.setNumber(panel, 7.4); // a count is stored whole
        results.post();
    }
    // Typed writes refuse what setValue refuses, and change nothing.
    results.first();
    results.edit();
    QVERIFY_THROWS_EXCEPTION(DbError, results.setNumber(panel, 3e9));
    QVERIFY_THROWS_EXCEPTION(DbError, results.setNumber(base, std::nan("")));
    results.cancel();
    QCOMPARE(results.asInt("Panel"), 7);

    // Numbered in the order shown (equal keys in the order added); the sort,
    // which includes Number, still holds afterwards.
    results.numberRows(results.fieldIndex("Number"));
    results.first();
    QList<QPair<double, int>> seen;
    while (!results.eof()) {
        seen << qMakePair(results.asDouble("Base_down"), results.asInt("Number"));
        results.next();
    }
    const QList<QPair<double, int>> expected{{1.0, 1}, {1.0, 2}, {2.0, 3}, {3.0, 4}};
    QCOMPARE(seen, expected);

    results.first();
    results.edit();
    QVERIFY_THROWS_EXCEPTION(DbError, results.numberRows(results.fieldIndex("Number")));
    results.cancel();
    Cursor sheets(*m_connection, "SetBase", Cursor::Policy::Cached);
    sheets.open();
    QVERIFY_THROWS_EXCEPTION(DbError, sheets.numberRows(sheets.fieldIndex("Base_L")));
}

namespace {

// (Base_down, Panel_down, Up, Panel): equal keys, null keys and texts.
struct TestRow {
    double base;
    double panel; // NaN: left null
    char up;
    int count;
};

QList<TestRow> testRows(int from, int count) {
    QList<TestRow> rows;
    for (int i = from; i < from + count; ++i)
        rows << TestRow{double((i * 37) % 11) / 4, i % 5 == 0 ? std::nan("") : double(i % 3),
                        "NYA"[i % 3], i};
    return rows;
}

// Every shown row, in order, as text (the id included), then the current row.
QStringList dump(Cursor& c) {
    QStringList lines;
    for (int row = 0; row < c.recordCount(); ++row) {
        QStringList cells;
        for (int field = 0; field < c.fieldCount(); ++field) {
            const QVariant v = c.valueAt(row, field);
            cells << (v.isNull() ? QStringLiteral("null") : v.toString());
        }
        lines << cells.join(u'|');
    }
    lines << QStringLiteral("current %1 %2").arg(c.recNo()).arg(c.value("Number").toString());
    return lines;
}

} // namespace

void CursorTest::appendRowsMatchesOneByOne_data() {
    QTest::addColumn<QString>("sort");
    QTest::addColumn<bool>("observed");
    QTest::newRow("unsorted") << "" << false;
    QTest::newRow("two number keys") << "Base_down;Panel_down" << false;
    QTest::newRow("one number key, shown") << "Panel_down" << true;
    QTest::newRow("text key") << "Up;Base_down" << false;
    QTest::newRow("three keys, shown") << "Base_down;Panel_down;Panel" << true;
}

void CursorTest::appendRowsMatchesOneByOne() {
    QFETCH(QString, sort);
    QFETCH(bool, observed);
    Cursor single(*m_connection, "TempResult", Cursor::Policy::MemoryOnly);
    Cursor bulk(*m_connection, "TempResult", Cursor::Policy::MemoryOnly);
    int resets = 0;
    for (Cursor* c : {&single, &bulk}) {
        c->setSort(sort);
        c->open();
    }
    if (observed)
        connect(&bulk, &Cursor::reset, this, [&resets] { ++resets; });
    const int base = bulk.fieldIndex("Base_down"), panelDown = bulk.fieldIndex("Panel_down");
    const int up = bulk.fieldIndex("Up"), panel = bulk.fieldIndex("Panel");
    // Two runs: the second lands behind rows already there (and sorted).
    for (const auto& [from, count] : {std::pair{0, 700}, std::pair{700, 1300}}) {
        const QList<TestRow> rows = testRows(from, count);
        for (const TestRow& r : rows) {
            single.append();
            single.setNumber(base, r.base);
            if (!std::isnan(r.panel))
                single.setNumber(panelDown, r.panel);
            single.setValue(up, QString(QChar::fromLatin1(r.up)));
            single.setNumber(panel, r.count);
            single.post();
        }
        bulk.appendRows(count, [&](int i, Cursor::RowWriter& w) {
            const TestRow& r = rows[i];
            w.setNumber(base, r.base);
            if (!std::isnan(r.panel))
                w.setNumber(panelDown, r.panel);
            w.setText(up, QString(QChar::fromLatin1(r.up)));
            w.setNumber(panel, r.count);
        });
        QCOMPARE(bulk.state(), Cursor::State::Browse);
        QCOMPARE(dump(bulk), dump(single));
    }
    if (observed)
        QCOMPARE(resets, 2); // once per run, not per row
    // Sorted again by another key, and numbered: still the same table.
    for (Cursor* c : {&single, &bulk}) {
        c->setSort("Panel_down;Up");
        c->numberRows(c->fieldIndex("Number"));
        c->first();
    }
    QCOMPARE(dump(bulk), dump(single));
    // Reopened, the table that kept its storage starts empty, ids from 1.
    single.close();
    single.open();
    bulk.close();
    bulk.open();
    QCOMPARE(bulk.recordCount(), 0);
    single.append();
    single.setNumber(base, 2.5);
    single.post();
    bulk.appendRows(1, [&](int, Cursor::RowWriter& w) { w.setNumber(base, 2.5); });
    QCOMPARE(dump(bulk), dump(single));
}

void CursorTest::refusedAppendRowsChangesNothing() {
    Cursor results(*m_connection, "TempResult", Cursor::Policy::MemoryOnly);
    results.setSort("Base_down");
    results.open();
    const int base = results.fieldIndex("Base_down"), panel = results.fieldIndex("Panel");
    const auto fill = [&](int i, Cursor::RowWriter& w) {
        w.setNumber(base, 10 - i);
        w.setNumber(panel, i);
    };
    results.appendRows(5, fill);
    const QStringList before = dump(results);
    // A value out of range in the fourth row: none of the run stays.
    QVERIFY_THROWS_EXCEPTION(DbError, results.appendRows(6, [&](int i, Cursor::RowWriter& w) {
        fill(i, w);
        w.setNumber(panel, i == 3 ? 3e9 : i);
    }));
    QCOMPARE(dump(results), before);
    QVERIFY_THROWS_EXCEPTION(DbError, results.appendRows(1, [&](int, Cursor::RowWriter& w) {
        w.setText(base, "1"); // not a text column
    }));
    QVERIFY_THROWS_EXCEPTION(DbError, results.appendRows(1, [&](int, Cursor::RowWriter& w) {
        w.setText(results.fieldIndex("Up"), "too long for the column");
    }));
    QCOMPARE(dump(results), before);
    // The next run goes on as if the refused ones never came.
    Cursor single(*m_connection, "TempResult", Cursor::Policy::MemoryOnly);
    single.setSort("Base_down");
    single.open();
    for (int i = 0; i < 10; ++i) {
        single.append();
        single.setNumber(base, 10 - i % 5);
        single.setNumber(panel, i % 5);
        single.post();
    }
    results.appendRows(5, fill);
    QCOMPARE(dump(results), dump(single));
    // Tables that write through, or run events per row, take rows one by one.
    Cursor sheets(*m_connection, "SetBase", Cursor::Policy::Cached);
    sheets.open();
    QVERIFY_THROWS_EXCEPTION(DbError, sheets.appendRows(1, [](int, Cursor::RowWriter&) {}));
    results.afterPost = [](Cursor&) {};
    QVERIFY_THROWS_EXCEPTION(DbError, results.appendRows(1, fill));
}

// A column keeps small codes while its values repeat and the values
// themselves past 65,536 distinct ones: every value comes back bit for bit
// (-0.0 and 0.0 apart, nulls as nulls) on each side of those limits, through
// sorting, numbering, an edit posted and one cancelled.
void CursorTest::valuesComeBackAcrossStorageWidths() {
    Cursor t(*m_connection, "TempResult", Cursor::Policy::MemoryOnly);
    t.open();
    const int id = t.fieldIndex("ID"), many = t.fieldIndex("Base_down"),
              some = t.fieldIndex("Panel_down"), one = t.fieldIndex("Set_L"),
              up = t.fieldIndex("Up"), pUp = t.fieldIndex("P_up");
    constexpr int kRows = 70'000;
    const auto manyOf = [](int i) { return i % 7 == 0 ? -0.0 : i % 7 == 1 ? 0.0 : i * 1e-3; };
    const auto someOf = [](int i) { return i % 11 == 0 ? NAN : (i % 300) * 0.5; };
    const auto upOf = [](int i) { return i % 5 == 0 ? QString() : QString::number(i % 1000); };
    const auto pUpOf = [](int i) { return QString::number(i, 36); };
    for (int from = 0; from < kRows; from += 1024)
        t.appendRows(std::min(1024, kRows - from), [&](int k, Cursor::RowWriter& w) {
            const int i = from + k;
            w.setNumber(many, manyOf(i));
            if (!std::isnan(someOf(i)))
                w.setNumber(some, someOf(i));
            w.setNumber(one, 0.378);
            if (!upOf(i).isNull())
                w.setText(up, upOf(i));
            w.setText(pUp, pUpOf(i));
        });
    t.setSort("Panel_down;Base_down");
    t.moveTo(5);
    const int edited = t.value(id).toInt() - 1;
    t.edit();
    t.setValue(some, 1234.25);
    t.setText(up, "new");
    t.post();
    t.moveTo(6);
    t.edit();
    t.setValue(one, 2.0);
    t.setValue(pUp, "x");
    t.cancel();
    t.numberRows(t.fieldIndex("Number"));

    const auto bits = [](const QVariant& v) {
        return v.isNull() ? ~quint64(0) : std::bit_cast<quint64>(v.toDouble());
    };
    const auto bitsOf = [](double v) {
        return std::isnan(v) ? ~quint64(0) : std::bit_cast<quint64>(v);
    };
    QCOMPARE(t.recordCount(), kRows);
    double previous = -INFINITY;
    for (int r = 0; r < kRows; ++r) {
        const int i = t.valueAt(r, id).toInt() - 1;
        const bool wasEdited = i == edited;
        const double someWanted = wasEdited ? 1234.25 : someOf(i);
        const QString what = QStringLiteral("row %1 (written %2)").arg(r).arg(i);
        if (bits(t.valueAt(r, many)) != bitsOf(manyOf(i)) ||
            bits(t.valueAt(r, some)) != bitsOf(someWanted) ||
            t.valueAt(r, one).toDouble() != 0.378 ||
            t.valueAt(r, up).toString() != (wasEdited ? QStringLiteral("new") : upOf(i)) ||
            t.valueAt(r, up).isNull() != (!wasEdited && upOf(i).isNull()) ||
            t.valueAt(r, pUp).toString() != pUpOf(i) ||
            t.valueAt(r, t.fieldIndex("Number")).toInt() != r + 1)
            QFAIL(qPrintable(what));
        // Nulls sort first, then by value.
        const double key = std::isnan(someWanted) ? -INFINITY : someWanted;
        QVERIFY2(key >= previous, qPrintable(what));
        previous = key;
    }
}

void CursorTest::displayFormats_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("text");
    QTest::newRow("0.000") << 12.5 << "0.000"
                           << "12.500";
    QTest::newRow("#0.000") << 0.25 << "#0.000"
                            << "0.250";
    QTest::newRow("0.0") << 48.0 << "0.0"
                         << "48.0";
    QTest::newRow("0.00 rounds") << 2.675 << "0.00"
                                 << "2.67"; // 2.675 is 2.67499… in binary
    QTest::newRow("0.0000") << 0.3 << "0.0000"
                            << "0.3000";
    QTest::newRow("thousands") << 1234.5 << "#,##0.0000"
                               << "1,234.5000";
    QTest::newRow("small with thousands format") << -0.00001 << "#,##0.0000"
                                                 << "0.0000";
    QTest::newRow("percent not scaled") << 85.2567 << "0.000%"
                                        << "85.257%";
    QTest::newRow("time") << 143005.0 << "##:##:##"
                          << "14:30:05";
    QTest::newRow("early time") << 90005.0 << "##:##:##"
                                << "9:00:05";
    QTest::newRow("general") << 0.1 << ""
                             << "0.1";
    QTest::newRow("general integer") << 18.0 << ""
                                     << "18";
    QTest::newRow("general 15 digits") << 1.0 / 3.0 << ""
                                       << "0.333333333333333";
    QTest::newRow("yes") << 1.0 << DisplayFormat::YesNoCheck << "√";
    QTest::newRow("no") << 0.0 << DisplayFormat::YesNoCheck << "";
}

void CursorTest::displayFormats() {
    QFETCH(double, value);
    QFETCH(QString, format);
    QFETCH(QString, text);
    QCOMPARE(DisplayFormat::formatNumber(value, format), text);
}

void CursorTest::modelShowsCursorAndDetaches() {
    Cursor sheets(*m_connection, "SetBase", Cursor::Policy::Cached);
    sheets.setFieldProps("Base_L", {"材料长", "#0.000", 15, true});
    sheets.setFieldProps("Base_W", {"材料宽", "#0.000", 15, true});
    sheets.setFieldProps("Enbled", {"有效", DisplayFormat::YesNoCheck, 6, true});
    sheets.setFieldProps("ID", {"", "", 0, false});
    sheets.setSort("base_L;base_W");
    sheets.open();
    CursorModel model;
    model.setCursor(&sheets);
    model.setEditable(true);
    QCOMPARE(model.columnCount(), 3);
    QCOMPARE(model.rowCount(), 6);
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QString("材料长"));
    QCOMPARE(model.data(model.index(0, 0)).toString(), QString("48.000"));
    QCOMPARE(model.data(model.index(0, 2)).toString(), QString("√"));

    // A typed cell is posted and the row moves to its sorted place.
    QVERIFY(model.setData(model.index(0, 0), "50"));
    QCOMPARE(model.data(model.index(5, 0)).toString(), QString("50.000"));
    QSignalSpy errors(&model, &CursorModel::error);
    QVERIFY(!model.setData(model.index(0, 1), "wide"));
    QCOMPARE(errors.count(), 1);
    QCOMPARE(model.data(model.index(0, 1)).toString(), QString("40.000"));

    model.detach();
    QCOMPARE(model.rowCount(), 0);
    sheets.append();
    sheets.setValue("Base_L", 60.0);
    sheets.post();
    model.attach();
    QCOMPARE(model.rowCount(), 7);
    QCOMPARE(model.data(model.index(6, 0)).toString(), QString("60.000"));
}

VORN_TEST_MAIN(CursorTest)
#include "CursorTest.moc"
