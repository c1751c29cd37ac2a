#include "PartsArchive.h"

#include "DataModule.h"
#include "DbError.h"
#include "FilterText.h"
#include "PanelJob.h"

#include <QLocale>

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

} // namespace

int ArchiveTime(const QTime& t) {
    return t.hour() * 10000 + t.minute() * 100 + t.second();
}

PartRecord JobPartRecord(TDataM1& dm, bool mm) {
    const Cursor& job = dm.TempInput;
    PartRecord r;
    const double toInches = 1.0 / Factor(mm);
    for (const char* c : kPartLengthColumns)
        r.job.insert(Name(c), Scaled(job.value(Name(c)), toInches));
    for (const char* c : kPartCountColumns)
        r.job.insert(Name(c), job.value(Name(c)));
    for (const char* c : kPartRateColumns)
        r.job.insert(Name(c), job.value(Name(c)));

    Cursor& tooling = dm.TempTooling;
    if (!tooling.isOpen())
        return r;
    // Every panel type: the filter only chooses what the tooling tab shows.
    const QString shown = tooling.filter();
    tooling.setFilter(QString());
    try {
        const int type = tooling.fieldIndex(QStringLiteral("PanelType"));
        const int serial = tooling.fieldIndex(QStringLiteral("SerialNumber"));
        const int x = tooling.fieldIndex(QStringLiteral("Xcoordinate"));
        const int y = tooling.fieldIndex(QStringLiteral("Ycoordinate"));
        const int d = tooling.fieldIndex(QStringLiteral("Diameter"));
        for (int row = 0; row < tooling.recordCount(); ++row) {
            r.holes.push_back({tooling.valueAt(row, type).toString(),
                               tooling.valueAt(row, serial).toInt(),
                               tooling.valueAt(row, x).toDouble() * toInches,
                               tooling.valueAt(row, y).toDouble() * toInches,
                               tooling.valueAt(row, d).toDouble() * toInches});
        }
    } catch (...) {
        tooling.setFilter(shown);
        throw;
    }
    tooling.setFilter(shown);
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
            holes.setValue(QStringLiteral("PanelType"), h.panelType);
            holes.setValue(QStringLiteral("SerialNumber"), h.serialNumber);
            holes.setValue(QStringLiteral("Xcoordinate"), h.x);
            holes.setValue(QStringLiteral("Ycoordinate"), h.y);
            holes.setValue(QStringLiteral("Diameter"), h.diameter);
            holes.post();
        }
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
    OpenFiltered(holes, HolesOf(parts.asInt(QStringLiteral("ID"))));
    while (!holes.isEmpty()) {
        holes.first();
        holes.remove();
    }
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
    Cursor& holes = dm.Data0005;
    {
        ClosedAfterwards closeHoles{holes};
        OpenFiltered(holes, HolesOf(saved.asInt(QStringLiteral("ID"))));
        const double factor = Factor(mm);
        const int type = holes.fieldIndex(QStringLiteral("PanelType"));
        const int serial = holes.fieldIndex(QStringLiteral("SerialNumber"));
        const int x = holes.fieldIndex(QStringLiteral("Xcoordinate"));
        const int y = holes.fieldIndex(QStringLiteral("Ycoordinate"));
        const int d = holes.fieldIndex(QStringLiteral("Diameter"));
        for (int row = 0; row < holes.recordCount(); ++row)
            r.holes.push_back({holes.valueAt(row, type).toString(),
                               holes.valueAt(row, serial).toInt(),
                               holes.valueAt(row, x).toDouble() * factor,
                               holes.valueAt(row, y).toDouble() * factor,
                               holes.valueAt(row, d).toDouble() * factor});
    }

    Cursor& tooling = dm.TempTooling;
    tooling.close(); // empties it
    loaded.hasHoles = !r.holes.empty();
    if (loaded.hasHoles) {
        const QString shown = tooling.filter();
        tooling.setFilter(QString());
        tooling.open();
        try {
            for (const SavedHole& h : r.holes) {
                // An empty insert mode numbers the row 1; the saved number follows.
                dm.setInsertMode(TDataM1::Numbered::TempTooling, QString());
                tooling.append();
                tooling.setValue(QStringLiteral("PanelType"), h.panelType);
                tooling.setValue(QStringLiteral("SerialNumber"), h.serialNumber);
                tooling.setValue(QStringLiteral("Xcoordinate"), h.x);
                tooling.setValue(QStringLiteral("Ycoordinate"), h.y);
                tooling.setValue(QStringLiteral("Diameter"), h.diameter);
                tooling.post();
            }
        } catch (...) {
            tooling.setFilter(shown);
            throw;
        }
        tooling.setFilter(shown);
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
        const int serial = t.fieldIndex(QStringLiteral("SerialNumber"));
        const int x = t.fieldIndex(QStringLiteral("Xcoordinate"));
        const int y = t.fieldIndex(QStringLiteral("Ycoordinate"));
        const int d = t.fieldIndex(QStringLiteral("Diameter"));
        for (int row = 0; row < t.recordCount(); ++row)
            holes.push_back({type, t.valueAt(row, serial).toInt(), t.valueAt(row, x).toDouble(),
                             t.valueAt(row, y).toDouble(), t.valueAt(row, d).toDouble()});
    } catch (...) {
        restore();
        throw;
    }
    restore();
    return holes;
}

} // namespace vorn
