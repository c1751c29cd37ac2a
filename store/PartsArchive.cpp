#include "PartsArchive.h"

#include "DataModule.h"
#include "DbError.h"
#include "FilterText.h"
#include "PanelJob.h"
#include "SqliteConnection.h"

#include <QLocale>

#include <sqlite3.h>

namespace vorn {

namespace {

double Factor(bool mm) {
    return UnitFactor(mm ? DisplayUnit::Millimetre : DisplayUnit::Inch);
}

QString Name(const char* column) {
    return QString::fromLatin1(column);
}

QVariant Scaled(const QVariant& v, double by) {
    return v.isNull() ? QVariant() : QVariant(v.toDouble() * by);
}

// One transaction on the archive. Anything that leaves before commit() rolls
// everything back, so a part never reaches the file without its holes.
class ArchiveTransaction {
public:
    explicit ArchiveTransaction(SqliteConnection& connection) : m_connection(connection) {
        m_connection.exec(QStringLiteral("BEGIN IMMEDIATE"));
    }
    ~ArchiveTransaction() {
        if (m_open) {
            try {
                m_connection.exec(QStringLiteral("ROLLBACK"));
            } catch (...) {
            }
        }
    }
    void commit() {
        m_connection.exec(QStringLiteral("COMMIT"));
        m_open = false;
    }

private:
    SqliteConnection& m_connection;
    bool m_open = true;
};

// Leaves an archive cursor closed, unfiltered and without filter text, on
// every way out (the cursor keeps both across openings).
struct ClosedAfterwards {
    Cursor& cursor;
    ~ClosedAfterwards() {
        try {
            if (cursor.state() == Cursor::State::Edit || cursor.state() == Cursor::State::Insert)
                cursor.cancel();
            cursor.close();
            cursor.setFiltered(false);
            cursor.setFilter(QString());
        } catch (...) {
        }
    }
};

void OpenFiltered(Cursor& cursor, const QString& filter) {
    cursor.close();
    cursor.setFilter(filter);
    cursor.setFiltered(true);
    cursor.open();
}

QString HolesOf(int partId) {
    return QStringLiteral("D4_PTR=%1").arg(partId);
}

// Every row of a cursor while it lives: the filter text is cleared and put
// back on every way out (the tooling tab's filter only chooses what it shows).
class AllRows {
public:
    explicit AllRows(Cursor& cursor) : m_cursor(cursor), m_shown(cursor.filter()) {
        m_cursor.setFilter(QString());
    }
    ~AllRows() {
        try {
            m_cursor.setFilter(m_shown);
        } catch (...) {
        }
    }
    AllRows(const AllRows&) = delete;
    AllRows& operator=(const AllRows&) = delete;

private:
    Cursor& m_cursor;
    QString m_shown;
};

// The holes a cursor shows (the tooling table, Data0005 or the tooling
// query), lengths multiplied by `by`.
std::vector<SavedHole> ReadHoles(const Cursor& c, double by) {
    const int type = c.fieldIndex(QStringLiteral("PanelType"));
    const int serial = c.fieldIndex(QStringLiteral("SerialNumber"));
    const int x = c.fieldIndex(QStringLiteral("Xcoordinate"));
    const int y = c.fieldIndex(QStringLiteral("Ycoordinate"));
    const int d = c.fieldIndex(QStringLiteral("Diameter"));
    std::vector<SavedHole> holes;
    for (int row = 0; row < c.recordCount(); ++row)
        holes.push_back({c.valueAt(row, type).toString(), c.valueAt(row, serial).toInt(),
                         c.valueAt(row, x).toDouble() * by, c.valueAt(row, y).toDouble() * by,
                         c.valueAt(row, d).toDouble() * by});
    return holes;
}

// One hole into the cursor's row being edited or inserted, lengths times `by`.
void WriteHole(Cursor& c, const SavedHole& h, double by) {
    c.setValue(QStringLiteral("PanelType"), h.panelType);
    c.setValue(QStringLiteral("SerialNumber"), h.serialNumber);
    c.setValue(QStringLiteral("Xcoordinate"), h.x * by);
    c.setValue(QStringLiteral("Ycoordinate"), h.y * by);
    c.setValue(QStringLiteral("Diameter"), h.diameter * by);
}

// ---- the boards of a panel laid out beyond the blocks ----------------------------
// Kept apart from the schema script: the table is made by the first save
// that needs it, so databases written before keep their exact contents and
// pass the schema check as they are.

bool HasBoardsTable(SqliteConnection& db) {
    SqliteStatement q(db, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND "
                                         "name = 'PartBoards' COLLATE NOCASE"));
    return q.step();
}

// Whether PartBoards has the Panel column: a table made by an older build
// has not, and all its boards are panel 1's.
bool HasPanelColumn(SqliteConnection& db) {
    SqliteStatement q(db, QStringLiteral("SELECT 1 FROM pragma_table_info('PartBoards') "
                                         "WHERE name = 'Panel' COLLATE NOCASE"));
    return q.step();
}

void MakeBoardsTable(SqliteConnection& db) {
    if (HasBoardsTable(db)) {
        // Added in place: the rows already kept stay, their Panel null (1).
        if (!HasPanelColumn(db))
            db.exec(QStringLiteral("ALTER TABLE PartBoards ADD COLUMN Panel INTEGER"));
        return;
    }
    db.exec(QStringLiteral("CREATE TABLE PartBoards ("
                           "ID INTEGER PRIMARY KEY AUTOINCREMENT, D4_PTR INTEGER, "
                           "SerialNumber INTEGER, Xcoordinate DOUBLE, Ycoordinate DOUBLE, "
                           "Length DOUBLE, Width DOUBLE, Turned BOOLEAN, Panel INTEGER)"));
    db.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS PartBoards_D4_PTR ON PartBoards (D4_PTR)"));
}

void DeleteBoards(SqliteConnection& db, int partId) {
    if (!HasBoardsTable(db))
        return;
    SqliteStatement d(db, QStringLiteral("DELETE FROM PartBoards WHERE D4_PTR = ?"));
    d.bind(1, partId);
    d.step();
}

// Replaces the part's boards (inches) by panel 1's `boards`, panel 2's
// `boards2` and the array's `units`, each numbered from 1.
void WriteBoards(SqliteConnection& db, int partId, const std::vector<Placement>& boards,
                 const std::vector<Placement>& boards2, const std::vector<Placement>& units) {
    DeleteBoards(db, partId);
    if (boards.empty() && boards2.empty() && units.empty())
        return;
    MakeBoardsTable(db);
    SqliteStatement insert(db,
                           QStringLiteral("INSERT INTO PartBoards (D4_PTR, SerialNumber, "
                                          "Xcoordinate, Ycoordinate, Length, Width, Turned, Panel) "
                                          "VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
    for (const auto& [panel, placed] :
         {std::pair{1, &boards}, {2, &boards2}, {kArrayUnitsPanel, &units}}) {
        int serial = 0;
        for (const Placement& p : *placed) {
            insert.reset();
            const QVariant values[] = {partId,   ++serial, p.x,      p.y,
                                       p.length, p.width,  p.turned, panel};
            for (int i = 0; i < 8; ++i)
                insert.bind(i + 1, values[i]);
            insert.step();
        }
    }
}

// The part's boards of panel 1 or 2 (or the array's units) in stored order,
// lengths times `by`; none without the table. A null Panel is panel 1.
std::vector<Placement> ReadBoards(SqliteConnection& db, int partId, double by, int panel = 1) {
    std::vector<Placement> boards;
    if (!HasBoardsTable(db))
        return boards;
    const bool hasPanel = HasPanelColumn(db);
    if (!hasPanel && panel != 1)
        return boards;
    SqliteStatement q(
        db, QStringLiteral("SELECT Xcoordinate, Ycoordinate, Length, Width, Turned "
                           "FROM PartBoards WHERE D4_PTR = ?%1 ORDER BY SerialNumber")
                .arg(hasPanel ? QStringLiteral(" AND COALESCE(Panel, 1) = ?") : QString()));
    q.bind(1, partId);
    if (hasPanel)
        q.bind(2, panel);
    while (q.step()) {
        sqlite3_stmt* row = q.raw();
        boards.push_back({sqlite3_column_double(row, 0), sqlite3_column_double(row, 1),
                          sqlite3_column_double(row, 2), sqlite3_column_double(row, 3),
                          sqlite3_column_int(row, 4) != 0});
    }
    ScalePlacements(boards, [by](double v) { return v * by; });
    return boards;
}

} // namespace

std::vector<Placement> SavedBoardsOfCurrentPart(TDataM1& dm, bool mm, int panel) {
    const Cursor& q = dm.SavedPartsQuery;
    if (!q.isOpen() || q.isEmpty())
        return {};
    return ReadBoards(dm.connection(), q.asInt(QStringLiteral("ID")), Factor(mm), panel);
}

int ArchiveTime(const QTime& t) {
    return t.hour() * 10000 + t.minute() * 100 + t.second();
}

PartRecord JobPartRecord(TDataM1& dm, bool mm, const std::vector<Placement>& boards,
                         const std::vector<Placement>& boards2,
                         const std::vector<Placement>& units) {
    const Cursor& job = dm.TempInput;
    PartRecord r;
    const double toInches = 1.0 / Factor(mm);
    for (const char* c : kPartLengthColumns)
        r.job.insert(Name(c), Scaled(job.value(Name(c)), toInches));
    for (const char* c : kPartCountColumns)
        r.job.insert(Name(c), job.value(Name(c)));
    for (const char* c : kPartRateColumns)
        r.job.insert(Name(c), job.value(Name(c)));

    const auto inInches = [toInches](double v) { return v * toInches; };
    r.boards = boards;
    ScalePlacements(r.boards, inInches);
    r.boards2 = boards2;
    ScalePlacements(r.boards2, inInches);
    r.units = units;
    ScalePlacements(r.units, inInches);

    Cursor& tooling = dm.TempTooling;
    if (!tooling.isOpen())
        return r;
    {
        AllRows all(tooling);
        r.holes = ReadHoles(tooling, toInches);
    }
    tooling.first();
    return r;
}

std::optional<int> SavePart(TDataM1& dm, const PartRecord& record, const QDateTime& now,
                            const std::function<bool()>& overwrite) {
    Cursor& parts = dm.data0004;
    Cursor& holes = dm.Data0005;
    // Holes first in the list: they close before the part cursor that keeps
    // the connection (and the transaction) alive.
    ClosedAfterwards closeParts{parts};
    ClosedAfterwards closeHoles{holes};

    OpenFiltered(parts, QStringLiteral("Part_number=") + FilterText::quote(record.partNumber));
    const bool exists = !parts.isEmpty();
    if (exists && !(overwrite && overwrite()))
        return std::nullopt;

    std::optional<int> id;
    {
        ArchiveTransaction transaction(dm.connection());
        if (exists) {
            parts.first();
            parts.edit();
        } else {
            parts.append();
        }
        parts.setValue(QStringLiteral("Part_number"), record.partNumber);
        parts.setValue(QStringLiteral("Customer_Part"), record.customerPart);
        parts.setValue(QStringLiteral("Employee"), record.employee);
        parts.setValue(QStringLiteral("Note"), record.note);
        for (auto it = record.job.cbegin(); it != record.job.cend(); ++it)
            parts.setValue(it.key(), it.value());
        parts.setValue(QStringLiteral("Date"), now.date());
        parts.setValue(QStringLiteral("Time"), ArchiveTime(now.time()));
        parts.post();
        id = parts.asInt(QStringLiteral("ID"));

        // The part's holes: rows reused in order, surplus rows removed, missing
        // rows appended, so it ends with exactly one row per hole.
        OpenFiltered(holes, HolesOf(*id));
        const int wanted = int(record.holes.size());
        while (holes.recordCount() > wanted) {
            holes.last();
            holes.remove();
        }
        const int reused = holes.recordCount();
        for (int i = 0; i < wanted; ++i) {
            const SavedHole& h = record.holes[size_t(i)];
            if (i < reused) {
                holes.moveTo(i);
                holes.edit();
            } else {
                holes.append();
            }
            holes.setValue(QStringLiteral("D4_PTR"), *id);
            WriteHole(holes, h, 1);
            holes.post();
        }
        WriteBoards(dm.connection(), *id, record.boards, record.boards2, record.units);
        transaction.commit();
    }
    return id;
}

DeleteOutcome DeletePart(TDataM1& dm, const QString& partNumber,
                         const std::function<bool()>& confirm) {
    Cursor& parts = dm.data0004;
    Cursor& holes = dm.Data0005;
    ClosedAfterwards closeParts{parts};
    ClosedAfterwards closeHoles{holes};

    parts.close();
    parts.setFiltered(false);
    parts.open();
    if (!parts.locate(QStringLiteral("Part_number"), {partNumber}, Cursor::CaseInsensitive))
        return DeleteOutcome::NotFound;
    if (!(confirm && confirm()))
        return DeleteOutcome::Declined;

    ArchiveTransaction transaction(dm.connection());
    const int id = parts.asInt(QStringLiteral("ID"));
    OpenFiltered(holes, HolesOf(id));
    while (!holes.isEmpty()) {
        holes.first();
        holes.remove();
    }
    DeleteBoards(dm.connection(), id);
    parts.remove();
    transaction.commit();
    return DeleteOutcome::Deleted;
}

bool PartNumberSaved(TDataM1& dm, const QString& partNumber) {
    // The query sees every saved part whatever the part search window filters.
    Cursor& query = dm.SavedPartsQuery;
    const bool wasOpen = query.isOpen();
    if (!wasOpen)
        query.open();
    bool found = false;
    try {
        // An empty text names no part (locate would look for an empty number).
        found = !partNumber.isEmpty() &&
                query.locate(QStringLiteral("Part_number"), {partNumber}, Cursor::CaseInsensitive);
    } catch (...) {
        if (!wasOpen)
            query.close();
        throw;
    }
    if (!wasOpen)
        query.close();
    return found;
}

LoadedPart LoadSavedPart(TDataM1& dm, bool mm) {
    Cursor& saved = dm.SavedPartsQuery;
    LoadedPart loaded;
    PartRecord& r = loaded.record;
    r.partNumber = saved.asString(QStringLiteral("Part_number"));
    r.customerPart = saved.asString(QStringLiteral("Customer_Part"));
    r.employee = saved.asString(QStringLiteral("Employee"));
    r.note = saved.asString(QStringLiteral("Note"));
    const QDateTime date = saved.value(QStringLiteral("Date")).toDateTime();
    if (date.isValid())
        loaded.dateText = QLocale().toString(date.date(), QLocale::ShortFormat);

    // The query already shows lengths in the job's unit.
    Cursor& job = dm.TempInput;
    job.edit();
    auto copy = [&](const char* c) {
        const QVariant v = saved.value(Name(c));
        r.job.insert(Name(c), v);
        job.setValue(Name(c), v);
    };
    for (const char* c : kPartLengthColumns)
        copy(c);
    for (const char* c : kPartCountColumns)
        copy(c);
    for (const char* c : kPartRateColumns)
        copy(c);
    job.post();

    // The saved holes, in the order they were stored.
    const int id = saved.asInt(QStringLiteral("ID"));
    const double factor = Factor(mm);
    Cursor& holes = dm.Data0005;
    {
        ClosedAfterwards closeHoles{holes};
        OpenFiltered(holes, HolesOf(id));
        r.holes = ReadHoles(holes, factor);
    }
    r.boards = ReadBoards(dm.connection(), id, factor, 1);
    r.boards2 = ReadBoards(dm.connection(), id, factor, 2);
    r.units = ReadBoards(dm.connection(), id, factor, kArrayUnitsPanel);

    Cursor& tooling = dm.TempTooling;
    tooling.close(); // empties it
    loaded.hasHoles = !r.holes.empty();
    if (loaded.hasHoles) {
        {
            AllRows all(tooling);
            tooling.open();
            for (const SavedHole& h : r.holes) {
                // An empty insert mode numbers the row 1; the saved number follows.
                dm.setInsertMode(TDataM1::Numbered::TempTooling, QString());
                tooling.append();
                WriteHole(tooling, h, 1);
                tooling.post();
            }
        }
        tooling.first();
    }
    dm.TempResult.close();
    return loaded;
}

// ---- the saved-parts query --------------------------------------------------------

void SetSavedPartsSql(TDataM1& dm, bool mm, const QString& orderLine) {
    Cursor& q = dm.SavedPartsQuery;
    q.close();
    q.sql().clear();
    q.sql() << (mm ? QueryText::savedPartsMm() : QueryText::savedPartsInch()) << orderLine;
}

QString SavedPartsOrderLine(TDataM1& dm, const QString& column, bool descending) {
    Cursor& q = dm.SavedPartsQuery;
    const int index = q.findField(column.trimmed());
    if (index < 0 || q.field(index).isCalculated())
        throw DbError(QStringLiteral("The saved parts cannot be sorted by \"%1\".").arg(column));
    return QStringLiteral("Order By ") + q.field(index).name +
           (descending ? QStringLiteral(" desc;") : QStringLiteral(";"));
}

void SetPartToolingSql(TDataM1& dm, bool mm) {
    Cursor& t = dm.PartToolingQuery;
    t.close();
    t.sql() = QStringList{mm ? QueryText::partToolingMm() : QueryText::partToolingInch()};
}

std::vector<SavedHole> SavedHolesOfType(TDataM1& dm, const QString& type) {
    Cursor& t = dm.PartToolingQuery;
    const bool wasOpen = t.isOpen();
    const QVariant remembered = t.param(QStringLiteral("Type"));
    std::vector<SavedHole> holes;
    auto restore = [&] {
        t.close();
        t.setParam(QStringLiteral("Type"), remembered);
        if (wasOpen)
            t.open();
    };
    try {
        t.close();
        t.setParam(QStringLiteral("Type"), type);
        t.open();
        holes = ReadHoles(t, 1);
        for (SavedHole& h : holes)
            h.panelType = type;
    } catch (...) {
        restore();
        throw;
    }
    restore();
    return holes;
}

} // namespace vorn
