// The parts archive on the data module: round trips in both units, the
// replacement of a part's holes, whole-or-nothing saves and deletes, part
// numbers that a filter text could misread, and the boards of a panel (the
// units of an array) laid out beyond the blocks.
#include "ArchiveFixture.h"
#include "DbError.h"
#include "FilterText.h"
#include "GivenPanel.h"
#include "SchemaCheck.h"
#include "SqliteConnection.h"
#include "TinyDisk.h"
#include "VornTestSupport.h"

#include <QtTest>

using namespace vorn;
using namespace vorn::test;

namespace {

int HoleRows(TDataM1& dm, int partId) {
    Cursor c(dm.connection(), QStringLiteral("Count"), Cursor::Policy::ReadOnly);
    c.setSql({QStringLiteral("select ID from Data0005 where D4_PTR=%1").arg(partId)});
    c.open();
    return c.recordCount();
}

// SavedPartsQuery in the unit, positioned on the part (as the search window
// leaves it before a double-click).
void ShowPart(TDataM1& dm, bool mm, const QString& number) {
    SetSavedPartsSql(dm, mm, QueryText::SavedPartsOrder);
    Cursor& q = dm.SavedPartsQuery;
    q.open();
    q.setFilter(QStringLiteral("Part_number=") + FilterText::quote(number));
    q.setFiltered(true);
}

void CloseQuery(TDataM1& dm) {
    dm.SavedPartsQuery.setFilter(QString());
    dm.SavedPartsQuery.setFiltered(false);
    dm.SavedPartsQuery.close();
}

// The tables and indexes of the file, as its own catalogue lists them.
QStringList Catalogue(TDataM1& dm) {
    Cursor c(dm.connection(), QStringLiteral("Catalogue"), Cursor::Policy::ReadOnly);
    c.setSql({QStringLiteral("select type, name, sql from sqlite_master order by name")});
    c.open();
    QStringList rows;
    for (int r = 0; r < c.recordCount(); ++r)
        rows << c.valueAt(r, 0).toString() + u'|' + c.valueAt(r, 1).toString() + u'|' +
                    c.valueAt(r, 2).toString();
    return rows;
}

// How PartBoards is declared in the file.
QString BoardsTableSql(TDataM1& dm) {
    const QStringList rows =
        Catalogue(dm).filter(QRegularExpression(QStringLiteral("^table\\|PartBoards\\|")));
    return rows.value(0);
}

int BoardRows(TDataM1& dm, int partId) {
    Cursor c(dm.connection(), QStringLiteral("Count"), Cursor::Policy::ReadOnly);
    c.setSql({QStringLiteral("select ID from PartBoards where D4_PTR=%1").arg(partId)});
    c.open();
    return c.recordCount();
}

// A panel the block routine leaves a board short on (52 boards where 53
// fit), laid out by the solver in millimetres: the plan's boards.
std::vector<Placement> PackedBoards() {
    GivenPanelJob job;
    job.Set_L = 68;
    job.Set_W = 28;
    job.Set_C = 2;
    job.BorderX_L = job.BorderX_W = 5;
    job.Panel_L = 438;
    job.Panel_W = 268;
    job.BothPanel = true;
    job.sheets = {{48, 42}};
    job.packing = PackingOption::Routed;
    return *PanelizeGivenPanel(job, DisplayUnit::Millimetre).boards;
}

// Saves the plan in millimetres with `boards` (mm) under `number`, and
// panel 2's `boards2` and the array's `units`.
std::optional<int> SaveBoards(TDataM1& dm, const QString& number,
                              const std::vector<Placement>& boards,
                              const std::vector<Placement>& boards2 = {},
                              const std::vector<Placement>& units = {}) {
    PutPlan(dm, true);
    PutHoles(dm, PlanHoles(1), true);
    PartRecord r = JobPartRecord(dm, true, boards, boards2, units);
    r.partNumber = number;
    r.customerPart = QStringLiteral("C");
    r.employee = QStringLiteral("LI");
    return SavePart(dm, r, QDateTime::currentDateTime(), [] { return true; });
}

std::vector<Placement> OpenBoards(TDataM1& dm, bool mm, const QString& number) {
    ShowPart(dm, mm, number);
    const LoadedPart loaded = LoadSavedPart(dm, mm);
    CloseQuery(dm);
    return loaded.record.boards;
}

// Both panels' boards of a part as the open restores them.
std::pair<std::vector<Placement>, std::vector<Placement>> OpenBothPanels(TDataM1& dm, bool mm,
                                                                         const QString& number) {
    ShowPart(dm, mm, number);
    const LoadedPart loaded = LoadSavedPart(dm, mm);
    CloseQuery(dm);
    return {loaded.record.boards, loaded.record.boards2};
}

// The part as the open restores it.
PartRecord OpenPart(TDataM1& dm, bool mm, const QString& number) {
    ShowPart(dm, mm, number);
    const LoadedPart loaded = LoadSavedPart(dm, mm);
    CloseQuery(dm);
    return loaded.record;
}

// The array's units (mm): a row of seven, the last two turned, so that a
// mix-up with either panel's boards shows.
std::vector<Placement> ArrayUnits() {
    std::vector<Placement> units;
    for (int i = 0; i < 7; ++i) {
        const bool turned = i >= 5;
        units.push_back(
            {5.08 + 33.02 * i, 3.81, turned ? 19.05 : 31.75, turned ? 31.75 : 19.05, turned});
    }
    return units;
}

// PartBoards' rows of the part with this Panel value.
int BoardRowsOfPanel(TDataM1& dm, int partId, int panel) {
    Cursor c(dm.connection(), QStringLiteral("Count"), Cursor::Policy::ReadOnly);
    c.setSql({QStringLiteral("select ID from PartBoards where D4_PTR=%1 and Panel=%2")
                  .arg(partId)
                  .arg(panel)});
    c.open();
    return c.recordCount();
}

// Panel 2's boards of the fixture: a few of panel 1's, turned the other way
// and moved, so that a mix-up of the panels shows.
std::vector<Placement> SecondPanelBoards() {
    std::vector<Placement> boards = PackedBoards();
    boards.resize(17);
    for (Placement& p : boards)
        p = {p.y + 3, p.x + 1, p.width, p.length, !p.turned};
    return boards;
}

void CompareNear(const std::vector<Placement>& got, const std::vector<Placement>& expected,
                 double u) {
    QCOMPARE(got.size(), expected.size());
    for (size_t i = 0; i < got.size(); ++i) {
        VORN_COMPARE_NEAR(got[i].x, expected[i].x * u, 1e-9);
        VORN_COMPARE_NEAR(got[i].y, expected[i].y * u, 1e-9);
        VORN_COMPARE_NEAR(got[i].length, expected[i].length * u, 1e-9);
        VORN_COMPARE_NEAR(got[i].width, expected[i].width * u, 1e-9);
        QCOMPARE(got[i].turned, expected[i].turned);
    }
}

} // namespace

class PartsArchiveTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ProgramDir> dir_;
    std::unique_ptr<TDataM1> dm_;

private slots:
    void init() {
        dir_ = std::make_unique<ProgramDir>();
        QVERIFY(dir_->isValid());
        dm_ = std::make_unique<TDataM1>(dir_->path());
        QVERIFY(dm_->isUsable());
    }
    void cleanup() {
        dm_.reset();
        dir_.reset();
    }

    // Saved in mm, opened in inches and in mm: every length within 1e-9
    // relative, every count and text, and exactly the saved holes.
    void roundTrip_data() {
        QTest::addColumn<bool>("openInMm");
        QTest::newRow("opened in inches") << false;
        QTest::newRow("opened in mm") << true;
    }
    void roundTrip() {
        QFETCH(bool, openInMm);
        TDataM1& dm = *dm_;
        PutPlan(dm, true);
        const std::vector<SavedHole> holes = PlanHoles(2);
        PutHoles(dm, holes, true);
        PartRecord r = JobPartRecord(dm, true);
        r.partNumber = QStringLiteral("PN-1");
        r.customerPart = QStringLiteral("CUST 7");
        r.employee = QStringLiteral("WANG");
        r.note = QStringLiteral("two lines\nof note");
        const std::optional<int> id =
            SavePart(dm, r, QDateTime(QDate(2026, 5, 6), QTime(14, 30, 5)), [] { return false; });
        QVERIFY(id);
        // The tooling tab still shows its panel type.
        QCOMPARE(dm.TempTooling.filter(), QStringLiteral("PanelType='Panel2'"));
        QVERIFY(!dm.data0004.isOpen() && !dm.Data0005.isOpen());
        QCOMPARE(dm.data0004.filter(), QString());
        // Stored in inches, time as digits.
        dm.data0004.open();
        QVERIFY(dm.data0004.locate("ID", {*id}));
        QCOMPARE(dm.data0004.asInt("Time"), 143005);
        QCOMPARE(dm.data0004.value("Date").toDate(), QDate(2026, 5, 6));
        VORN_COMPARE_NEAR(dm.data0004.asDouble("Panel_L"), 18.3, 1e-9 * 18.3);
        dm.data0004.close();

        // A different job in between, then the part opened again.
        dm.TempInput.edit();
        for (const auto& [column, value] : PlanColumns())
            dm.TempInput.setValue(QString::fromLatin1(column), QVariant());
        dm.TempInput.post();
        PutHoles(dm, PlanHoles(5), openInMm);
        ShowPart(dm, openInMm, QStringLiteral("PN-1"));
        const LoadedPart loaded = LoadSavedPart(dm, openInMm);
        CloseQuery(dm);

        QCOMPARE(loaded.record.partNumber, QStringLiteral("PN-1"));
        QCOMPARE(loaded.record.customerPart, QStringLiteral("CUST 7"));
        QCOMPARE(loaded.record.employee, QStringLiteral("WANG"));
        QCOMPARE(loaded.record.note, QStringLiteral("two lines\nof note"));
        QVERIFY(!loaded.dateText.isEmpty());
        QVERIFY(loaded.hasHoles);
        const double u = UnitOf(openInMm);
        for (const auto& [column, value] : PlanColumns()) {
            const QString c = QString::fromLatin1(column);
            const QVariant got = dm.TempInput.value(c);
            if (IsLength(column)) {
                const double want = value.toDouble() * u;
                VORN_COMPARE_NEAR(got.toDouble(), want, 1e-9 * want);
            } else if (value.typeId() == QMetaType::QString) {
                QCOMPARE(got.toString(), value.toString());
            } else {
                QCOMPARE(got.toDouble(), value.toDouble());
            }
        }
        // Exactly the saved holes, of every type, whatever the filter shows.
        Cursor& t = dm.TempTooling;
        QVERIFY(t.isOpen());
        QCOMPARE(t.filter(), QStringLiteral("PanelType='Panel2'"));
        t.setFilter(QString());
        QCOMPARE(t.recordCount(), int(holes.size()));
        std::vector<SavedHole> got;
        for (int row = 0; row < t.recordCount(); ++row)
            got.push_back({t.valueAt(row, t.fieldIndex("PanelType")).toString(),
                           t.valueAt(row, t.fieldIndex("SerialNumber")).toInt(),
                           t.valueAt(row, t.fieldIndex("Xcoordinate")).toDouble(),
                           t.valueAt(row, t.fieldIndex("Ycoordinate")).toDouble(),
                           t.valueAt(row, t.fieldIndex("Diameter")).toDouble()});
        for (const SavedHole& want : holes) {
            const auto it = std::find_if(got.begin(), got.end(), [&](const SavedHole& h) {
                return h.panelType == want.panelType && h.serialNumber == want.serialNumber;
            });
            QVERIFY2(it != got.end(), qPrintable(want.panelType));
            VORN_COMPARE_NEAR(it->x, want.x * u, 1e-9 * want.x * u);
            VORN_COMPARE_NEAR(it->y, want.y * u, 1e-9 * want.y * u);
            VORN_COMPARE_NEAR(it->diameter, want.diameter * u, 1e-9 * want.diameter * u);
        }
        QVERIFY(!dm.TempResult.isOpen());
    }

    // Re-saving replaces the holes: exactly one row per hole of the job.
    void resaveReplacesHoles_data() {
        QTest::addColumn<int>("perType");
        QTest::newRow("fewer (4 where 6 were)") << -1;
        QTest::newRow("more (8 where 6 were)") << -2;
        QTest::newRow("no tooling") << 0;
    }
    void resaveReplacesHoles() {
        QFETCH(int, perType);
        TDataM1& dm = *dm_;
        const std::optional<int> other = SavePlan(dm, QStringLiteral("OTHER"), QStringLiteral("X"));
        const std::optional<int> id = SavePlan(dm, QStringLiteral("P1"), QStringLiteral("C"));
        QVERIFY(other && id);
        QCOMPARE(HoleRows(dm, *id), 6);
        std::vector<SavedHole> holes = PlanHoles(3);
        if (perType == -1)
            holes.resize(4);
        else if (perType == -2)
            holes.resize(8);
        else
            holes.clear();
        PutHoles(dm, holes, false, QStringLiteral("PanelType='Array'"));
        PartRecord r = JobPartRecord(dm, false);
        r.partNumber = QStringLiteral("p1"); // the same part, whatever the case
        const std::optional<int> again =
            SavePart(dm, r, QDateTime::currentDateTime(), [] { return true; });
        QCOMPARE(again, id);
        QCOMPARE(HoleRows(dm, *id), int(holes.size()));
        QCOMPARE(HoleRows(dm, *other), 6);
        QCOMPARE(Dump(dm, QStringLiteral("data0004")).size(), 2);
    }

    void declinedOverwriteWritesNothing() {
        TDataM1& dm = *dm_;
        QVERIFY(SavePlan(dm, QStringLiteral("KEEP"), QStringLiteral("A")));
        const QStringList before = Archive(dm);
        int asked = 0;
        PutHoles(dm, PlanHoles(1), false);
        PartRecord r = JobPartRecord(dm, false);
        r.partNumber = QStringLiteral("KEEP");
        r.customerPart = QStringLiteral("CHANGED");
        QVERIFY(!SavePart(dm, r, QDateTime::currentDateTime(), [&] {
            ++asked;
            return false;
        }));
        QCOMPARE(asked, 1);
        QCOMPARE(Archive(dm), before);
        QVERIFY(!dm.data0004.isOpen());
        QCOMPARE(dm.data0004.filter(), QString());
    }

    // A hole the database refuses half-way, or a database that takes no
    // writes: the archive is exactly as before, for a new part and a re-save.
    void failedSaveChangesNothing_data() {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<bool>("existing");
        QTest::newRow("refused hole, new part") << "trigger" << false;
        QTest::newRow("refused hole, re-save") << "trigger" << true;
        QTest::newRow("read-only database, new part") << "readonly" << false;
        QTest::newRow("read-only database, re-save") << "readonly" << true;
    }
    void failedSaveChangesNothing() {
        QFETCH(QString, failure);
        QFETCH(bool, existing);
        TDataM1& dm = *dm_;
        QVERIFY(SavePlan(dm, QStringLiteral("BEFORE"), QStringLiteral("B"), 3));
        dm.connection().exec(QStringLiteral(
            "CREATE TRIGGER refuse AFTER INSERT ON Data0005 WHEN NEW.SerialNumber = 99 "
            "BEGIN SELECT RAISE(ABORT, 'hole refused'); END"));
        const QStringList before = Archive(dm);

        std::vector<SavedHole> holes = PlanHoles(4);
        Cursor keepOpen(dm.connection(), QStringLiteral("Hold"), Cursor::Policy::ReadOnly);
        if (failure == u"trigger") {
            holes.back().serialNumber = 99; // the last of 12: eleven went before it
        } else {
            keepOpen.setSql({QStringLiteral("select 1")});
            keepOpen.open(); // the connection stays, with its setting
            dm.connection().exec(QStringLiteral("PRAGMA query_only = 1"));
        }
        PutPlan(dm, false);
        PutHoles(dm, holes, false);
        PartRecord r = JobPartRecord(dm, false);
        r.partNumber = existing ? QStringLiteral("BEFORE") : QStringLiteral("NEW");
        r.customerPart = QStringLiteral("C");
        bool threw = false;
        try {
            SavePart(dm, r, QDateTime::currentDateTime(), [] { return true; });
        } catch (const DbError& e) {
            threw = true;
            QVERIFY(!e.text().isEmpty());
        }
        QVERIFY(threw);
        QVERIFY(!dm.data0004.isOpen() && !dm.Data0005.isOpen());
        if (failure == u"readonly")
            dm.connection().exec(QStringLiteral("PRAGMA query_only = 0"));
        keepOpen.close();
        QCOMPARE(Archive(dm), before);
        // The archive still takes a good save afterwards.
        holes.back().serialNumber = 4;
        PutHoles(dm, holes, false);
        r = JobPartRecord(dm, false);
        r.partNumber = QStringLiteral("NEW");
        r.customerPart = QStringLiteral("C");
        const std::optional<int> id = SavePart(dm, r, QDateTime::currentDateTime(), {});
        QVERIFY(id);
        QCOMPARE(HoleRows(dm, *id), 12);
    }

    // Quotes, percent signs and underscores are part numbers like any other.
    void unusualPartNumbers_data() {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("lookalike");
        QTest::newRow("quote") << "O'BRIEN-7"
                               << "OBRIEN-7";
        QTest::newRow("percent") << "50%"
                                 << "50X";
        QTest::newRow("underscore") << "A_B"
                                    << "AXB";
        QTest::newRow("quotes and brackets") << "X''[1]\""
                                             << "X'[1]\"";
    }
    void unusualPartNumbers() {
        QFETCH(QString, number);
        QFETCH(QString, lookalike);
        TDataM1& dm = *dm_;
        const std::optional<int> look = SavePlan(dm, lookalike, lookalike);
        const std::optional<int> id = SavePlan(dm, number, number + u'C');
        QVERIFY(look && id && *look != *id);
        QVERIFY(PartNumberSaved(dm, number));
        QVERIFY(PartNumberSaved(dm, number.toLower()));
        // Found by the search window's filter texts, on both columns.
        ShowPart(dm, false, number);
        QCOMPARE(dm.SavedPartsQuery.recordCount(), 1);
        QCOMPARE(dm.SavedPartsQuery.asInt("ID"), *id);
        dm.SavedPartsQuery.setFilter(QStringLiteral("Customer_Part=") +
                                     FilterText::quote(number + u'C'));
        QCOMPARE(dm.SavedPartsQuery.recordCount(), 1);
        const LoadedPart loaded = LoadSavedPart(dm, false);
        QCOMPARE(loaded.record.partNumber, number);
        CloseQuery(dm);
        // Saved again under the same number: the same row.
        QCOMPARE(SavePlan(dm, number, number), id);
        QCOMPARE(DeletePart(dm, number, [] { return true; }), DeleteOutcome::Deleted);
        QVERIFY(!PartNumberSaved(dm, number));
        QVERIFY(PartNumberSaved(dm, lookalike));
        QCOMPARE(HoleRows(dm, *id), 0);
        QCOMPARE(HoleRows(dm, *look), 6);
    }

    void deleteRemovesPartAndHoles() {
        TDataM1& dm = *dm_;
        const std::optional<int> keep = SavePlan(dm, QStringLiteral("KEEP"), QStringLiteral("K"));
        const std::optional<int> id = SavePlan(dm, QStringLiteral("ABC-1"), QStringLiteral("C"));
        QVERIFY(keep && id);
        const QStringList before = Archive(dm);
        QCOMPARE(DeletePart(dm, QStringLiteral("nothing"), [] { return true; }),
                 DeleteOutcome::NotFound);
        QCOMPARE(DeletePart(dm, QStringLiteral("abc-1"), [] { return false; }),
                 DeleteOutcome::Declined);
        QCOMPARE(Archive(dm), before);
        // Found whatever the case of the letters.
        QCOMPARE(DeletePart(dm, QStringLiteral("abc-1"), [] { return true; }),
                 DeleteOutcome::Deleted);
        QCOMPARE(HoleRows(dm, *id), 0);
        QCOMPARE(Dump(dm, QStringLiteral("data0004")).size(), 1);
        QCOMPARE(HoleRows(dm, *keep), 6);
        QVERIFY(!dm.data0004.isOpen() && !dm.Data0005.isOpen());
    }

    // The part row refused after its holes went: the holes come back too.
    void failedDeleteChangesNothing() {
        TDataM1& dm = *dm_;
        QVERIFY(SavePlan(dm, QStringLiteral("STAYS"), QStringLiteral("C")));
        dm.connection().exec(QStringLiteral("CREATE TRIGGER keep BEFORE DELETE ON data0004 "
                                            "BEGIN SELECT RAISE(ABORT, 'part kept'); END"));
        const QStringList before = Archive(dm);
        QVERIFY_THROWS_EXCEPTION(DbError,
                                 DeletePart(dm, QStringLiteral("STAYS"), [] { return true; }));
        QCOMPARE(Archive(dm), before);
        QVERIFY(!dm.data0004.isOpen() && !dm.Data0005.isOpen());
    }

    // The holes of one type through the shared tooling query, its Type and
    // open state put back.
    void savedHolesOfTypeKeepsTheQuery() {
        TDataM1& dm = *dm_;
        QVERIFY(SavePlan(dm, QStringLiteral("H"), QStringLiteral("C"), 3));
        SetSavedPartsSql(dm, true, QueryText::SavedPartsOrder);
        SetPartToolingSql(dm, true);
        dm.SavedPartsQuery.open();
        dm.PartToolingQuery.setParam("Type", "Panel2");
        dm.PartToolingQuery.open();
        const std::vector<SavedHole> holes = SavedHolesOfType(dm, QStringLiteral("Array"));
        QCOMPARE(int(holes.size()), 3);
        VORN_COMPARE_NEAR(holes[0].x, (0.3 + 1.7 + 0.02) * 25.4, 1e-9);
        QVERIFY(dm.PartToolingQuery.isOpen());
        QCOMPARE(dm.PartToolingQuery.param("Type").toString(), QStringLiteral("Panel2"));
        QCOMPARE(dm.PartToolingQuery.recordCount(), 3);
        dm.PartToolingQuery.close();
        QCOMPARE(SavedHolesOfType(dm, QStringLiteral("Panel1")).size(), size_t(3));
        QVERIFY(!dm.PartToolingQuery.isOpen());
        dm.SavedPartsQuery.close();
    }

    // A packed plan's boards, saved in mm and opened through a second
    // connection in either unit: the same placements. Re-saved as a block
    // plan they go; deleting the part removes them.
    void boardsRoundTrip_data() {
        QTest::addColumn<bool>("openInMm");
        QTest::newRow("opened in inches") << false;
        QTest::newRow("opened in mm") << true;
    }
    void boardsRoundTrip() {
        QFETCH(bool, openInMm);
        const std::vector<Placement> boards = PackedBoards();
        QCOMPARE(int(boards.size()), 53);
        QVERIFY(SavePlan(*dm_, QStringLiteral("BLOCKS"), QStringLiteral("B")));
        const std::optional<int> id = SaveBoards(*dm_, QStringLiteral("PACKED"), boards);
        QVERIFY(id);
        QVERIFY(!dm_->data0004.isOpen() && !dm_->Data0005.isOpen());
        // The file with its new table is still a Vorn database.
        QCOMPARE(CheckDatabaseSchema(dir_->databasePath()), QString());

        TDataM1 other(dir_->path());
        QVERIFY(other.isUsable());
        PutPlan(other, openInMm); // a job to open the part into
        const std::vector<Placement> got = OpenBoards(other, openInMm, QStringLiteral("PACKED"));
        CompareNear(got, boards, openInMm ? 1 : 1 / 25.4);
        QVERIFY(OpenBoards(other, openInMm, QStringLiteral("BLOCKS")).empty());

        QCOMPARE(SaveBoards(other, QStringLiteral("PACKED"), {}), id);
        QCOMPARE(BoardRows(other, *id), 0);
        QVERIFY(OpenBoards(*dm_, openInMm, QStringLiteral("PACKED")).empty());

        QCOMPARE(SaveBoards(*dm_, QStringLiteral("PACKED"), boards), id);
        QCOMPARE(BoardRows(other, *id), 53);
        QCOMPARE(DeletePart(other, QStringLiteral("packed"), [] { return true; }),
                 DeleteOutcome::Deleted);
        QCOMPARE(BoardRows(other, *id), 0);
    }

    // A two-size plan with both panels laid out beyond the blocks: each
    // panel's boards come back to their own panel through a second
    // connection; a re-save with panel 2's only and the delete leave none
    // behind.
    void bothPanelsRoundTrip() {
        const std::vector<Placement> boards = PackedBoards(), boards2 = SecondPanelBoards();
        const std::optional<int> id = SaveBoards(*dm_, QStringLiteral("TWO"), boards, boards2);
        QVERIFY(id);
        QCOMPARE(BoardRows(*dm_, *id), 53 + 17);
        QCOMPARE(CheckDatabaseSchema(dir_->databasePath()), QString());

        TDataM1 other(dir_->path());
        QVERIFY(other.isUsable());
        PutPlan(other, false);
        const auto [got1, got2] = OpenBothPanels(other, false, QStringLiteral("TWO"));
        CompareNear(got1, boards, 1 / 25.4);
        CompareNear(got2, boards2, 1 / 25.4);
        // The query window reads each panel of the current part.
        ShowPart(other, true, QStringLiteral("TWO"));
        CompareNear(SavedBoardsOfCurrentPart(other, true, 2), boards2, 1);
        CompareNear(SavedBoardsOfCurrentPart(other, true, 1), boards, 1);
        CloseQuery(other);

        QCOMPARE(SaveBoards(other, QStringLiteral("TWO"), {}, boards2), id);
        QCOMPARE(BoardRows(*dm_, *id), 17);
        const auto [only1, only2] = OpenBothPanels(*dm_, true, QStringLiteral("TWO"));
        QVERIFY(only1.empty());
        CompareNear(only2, boards2, 1);

        QCOMPARE(DeletePart(other, QStringLiteral("two"), [] { return true; }),
                 DeleteOutcome::Deleted);
        QCOMPARE(BoardRows(*dm_, *id), 0);
    }

    // An array laid out beyond the blocks, saved beside both panels' boards:
    // its units are PartBoards rows of their own Panel value, and come back
    // to the array alone through a second connection in either unit (the
    // open and the query window's read). A re-save without them removes
    // them and keeps the panels'; one with the units only keeps those; the
    // delete leaves none.
    void arrayUnitsRoundTrip_data() {
        QTest::addColumn<bool>("openInMm");
        QTest::newRow("opened in inches") << false;
        QTest::newRow("opened in mm") << true;
    }
    void arrayUnitsRoundTrip() {
        QFETCH(bool, openInMm);
        const double u = openInMm ? 1 : 1 / 25.4;
        const std::vector<Placement> boards = PackedBoards(), boards2 = SecondPanelBoards(),
                                     units = ArrayUnits();
        const std::optional<int> id =
            SaveBoards(*dm_, QStringLiteral("ARR"), boards, boards2, units);
        QVERIFY(id);
        QCOMPARE(BoardRows(*dm_, *id), 53 + 17 + 7);
        QCOMPARE(BoardRowsOfPanel(*dm_, *id, 1), 53);
        QCOMPARE(BoardRowsOfPanel(*dm_, *id, 2), 17);
        QCOMPARE(BoardRowsOfPanel(*dm_, *id, kArrayUnitsPanel), 7);
        QCOMPARE(CheckDatabaseSchema(dir_->databasePath()), QString());

        TDataM1 other(dir_->path());
        QVERIFY(other.isUsable());
        PutPlan(other, openInMm);
        const PartRecord got = OpenPart(other, openInMm, QStringLiteral("ARR"));
        CompareNear(got.boards, boards, u);
        CompareNear(got.boards2, boards2, u);
        CompareNear(got.units, units, u);
        ShowPart(other, openInMm, QStringLiteral("ARR"));
        CompareNear(SavedBoardsOfCurrentPart(other, openInMm, kArrayUnitsPanel), units, u);
        CloseQuery(other);

        QCOMPARE(SaveBoards(other, QStringLiteral("ARR"), boards, boards2), id);
        QCOMPARE(BoardRows(*dm_, *id), 53 + 17);
        const PartRecord panelsOnly = OpenPart(*dm_, openInMm, QStringLiteral("ARR"));
        QVERIFY(panelsOnly.units.empty());
        CompareNear(panelsOnly.boards2, boards2, u);

        QCOMPARE(SaveBoards(*dm_, QStringLiteral("ARR"), {}, {}, units), id);
        QCOMPARE(BoardRows(other, *id), 7);
        const PartRecord unitsOnly = OpenPart(other, openInMm, QStringLiteral("ARR"));
        QVERIFY(unitsOnly.boards.empty() && unitsOnly.boards2.empty());
        CompareNear(unitsOnly.units, units, u);

        QCOMPARE(DeletePart(other, QStringLiteral("arr"), [] { return true; }),
                 DeleteOutcome::Deleted);
        QCOMPARE(BoardRows(*dm_, *id), 0);
    }

    // PartBoards as an older build made it (no Panel column): its boards
    // open as panel 1's; the first save of panel 2's boards adds the column
    // in place, every older row kept, and the file still passes the check.
    void olderBoardsTableGainsPanelColumn() {
        TDataM1& dm = *dm_;
        const std::vector<Placement> boards = PackedBoards();
        const std::optional<int> old = SaveBoards(dm, QStringLiteral("OLD"), {});
        QVERIFY(old);
        dm.connection().exec(QStringLiteral(
            "CREATE TABLE PartBoards (ID INTEGER PRIMARY KEY AUTOINCREMENT, D4_PTR INTEGER, "
            "SerialNumber INTEGER, Xcoordinate DOUBLE, Ycoordinate DOUBLE, Length DOUBLE, "
            "Width DOUBLE, Turned BOOLEAN)"));
        for (size_t i = 0; i < boards.size(); ++i) {
            const Placement& p = boards[i];
            dm.connection().exec(QStringLiteral("INSERT INTO PartBoards (D4_PTR, SerialNumber, "
                                                "Xcoordinate, Ycoordinate, Length, Width, "
                                                "Turned) VALUES (%1, %2, %3, %4, %5, %6, %7)")
                                     .arg(*old)
                                     .arg(i + 1)
                                     .arg(p.x / 25.4, 0, 'g', 17)
                                     .arg(p.y / 25.4, 0, 'g', 17)
                                     .arg(p.length / 25.4, 0, 'g', 17)
                                     .arg(p.width / 25.4, 0, 'g', 17)
                                     .arg(p.turned ? 1 : 0));
        }
        const QStringList oldRows = Dump(dm, QStringLiteral("PartBoards"));
        {
            const PartRecord got = OpenPart(dm, true, QStringLiteral("OLD"));
            CompareNear(got.boards, boards, 1);
            QVERIFY(got.boards2.empty() && got.units.empty());
        }
        QVERIFY(BoardsTableSql(dm).contains(QStringLiteral("Turned BOOLEAN)")));

        QVERIFY(SaveBoards(dm, QStringLiteral("NEW"), {}, SecondPanelBoards()));
        QVERIFY(BoardsTableSql(dm).contains(QStringLiteral("Panel INTEGER")));
        QCOMPARE(CheckDatabaseSchema(dir_->databasePath()), QString());
        // The older rows as they were, their Panel null.
        QStringList kept = Dump(dm, QStringLiteral("PartBoards")).mid(0, oldRows.size());
        for (QString& row : kept) {
            QVERIFY(row.endsWith(u'|'));
            row.chop(1);
        }
        QCOMPARE(kept, oldRows);
        TDataM1 other(dir_->path());
        QVERIFY(other.isUsable());
        PutPlan(other, true);
        const PartRecord got = OpenPart(other, true, QStringLiteral("OLD"));
        CompareNear(got.boards, boards, 1);
        QVERIFY(got.boards2.empty() && got.units.empty());
        const auto [new1, new2] = OpenBothPanels(other, true, QStringLiteral("NEW"));
        QVERIFY(new1.empty());
        CompareNear(new2, SecondPanelBoards(), 1);
    }

    // A database written without the boards table: block plans save, open
    // and delete with its catalogue untouched and no boards anywhere.
    void databaseWithoutBoardsTableStaysAsWritten() {
        TDataM1& dm = *dm_;
        const QStringList catalogue = Catalogue(dm);
        QVERIFY(!catalogue.join(u'\n').contains(QStringLiteral("PartBoards")));
        QVERIFY(SavePlan(dm, QStringLiteral("OLD-1"), QStringLiteral("C")));
        QVERIFY(SavePlan(dm, QStringLiteral("OLD-2"), QStringLiteral("C")));
        QVERIFY(OpenBoards(dm, false, QStringLiteral("OLD-1")).empty());
        QCOMPARE(DeletePart(dm, QStringLiteral("OLD-2"), [] { return true; }),
                 DeleteOutcome::Deleted);
        QCOMPARE(Catalogue(dm), catalogue);
        QCOMPARE(CheckDatabaseSchema(dir_->databasePath()), QString());
    }

    // A board refused half-way through a re-save: the part, its holes and
    // its boards are as they were.
    void refusedBoardChangesNothing() {
        TDataM1& dm = *dm_;
        std::vector<Placement> boards = PackedBoards();
        const std::optional<int> id = SaveBoards(dm, QStringLiteral("P"), boards);
        QVERIFY(id);
        dm.connection().exec(QStringLiteral(
            "CREATE TRIGGER refuse AFTER INSERT ON PartBoards WHEN NEW.SerialNumber = 53 "
            "BEGIN SELECT RAISE(ABORT, 'board refused'); END"));
        const QStringList before = Archive(dm) + Dump(dm, QStringLiteral("PartBoards"));
        boards[0].x += 1;
        QVERIFY_THROWS_EXCEPTION(DbError, SaveBoards(dm, QStringLiteral("P"), boards));
        QCOMPARE(Archive(dm) + Dump(dm, QStringLiteral("PartBoards")), before);
        QVERIFY(!dm.data0004.isOpen() && !dm.Data0005.isOpen());
    }

    // The same on a disk that really fills: the database on a small tmpfs,
    // a re-save whose thousands of boards do not fit. The save says so and
    // the file, read through a second connection, is as it was.
    void fullDiskKeepsTheSavedBoards() {
        TinyDisk disk(512 * 1024);
        VORN_REQUIRE_MOUNTED(disk);
        QVERIFY(QFile::copy(builtDatabasePath(), disk.file(QStringLiteral("Vorn.mdb"))));
        QVERIFY(QFile::setPermissions(disk.file(QStringLiteral("Vorn.mdb")),
                                      QFile::ReadOwner | QFile::WriteOwner));
        const QString dir = disk.path() + u'/';
        std::vector<Placement> before;
        QStringList saved;
        {
            TDataM1 dm(dir);
            QVERIFY(dm.isUsable());
            QVERIFY(SaveBoards(dm, QStringLiteral("P"), PackedBoards()));
            saved = Archive(dm) + Dump(dm, QStringLiteral("PartBoards"));
            before = OpenBoards(dm, true, QStringLiteral("P"));
            QVERIFY(!before.empty());
            QVERIFY(disk.leaveFree(16 * 1024));
            // Ten thousand boards: some hundreds of KB of rows and journal.
            std::vector<Placement> many;
            for (int i = 0; i < 10000; ++i)
                many.push_back({double(i % 100) * 4, double(i / 100) * 3, 3.5, 2.5, i % 2 == 1});
            bool refused = false;
            try {
                refused = !SaveBoards(dm, QStringLiteral("P"), many);
            } catch (const DbError&) {
                refused = true;
            }
            QVERIFY2(refused, "a save that did not fit was reported as done");
        }
        TDataM1 other(dir);
        QVERIFY(other.isUsable());
        QCOMPARE(Archive(other) + Dump(other, QStringLiteral("PartBoards")), saved);
        PutPlan(other, true); // a job to open the part into
        QCOMPARE(OpenBoards(other, true, QStringLiteral("P")), before);
    }

    void orderLineRefusesWhatCannotSort() {
        TDataM1& dm = *dm_;
        SetSavedPartsSql(dm, false, QueryText::SavedPartsOrder);
        dm.SavedPartsQuery.open();
        QCOMPARE(SavedPartsOrderLine(dm, QStringLiteral("layer"), true),
                 QStringLiteral("Order By Layer desc;"));
        QVERIFY_THROWS_EXCEPTION(DbError,
                                 SavedPartsOrderLine(dm, QStringLiteral("BaseSize"), false));
        QVERIFY_THROWS_EXCEPTION(
            DbError, SavedPartsOrderLine(dm, QStringLiteral("Layer; drop table x"), false));
        dm.SavedPartsQuery.close();
    }
};

VORN_TEST_MAIN(PartsArchiveTest)
#include "PartsArchiveTest.moc"
