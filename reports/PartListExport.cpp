#include "PartListExport.h"

#include "Cursor.h"
#include "DataModule.h"
#include "DisplayFormat.h"
#include "PanelJob.h"
#include "SafeWrite.h"
#include "SqliteConnection.h"
#include "WorkbookCells.h"

#include <QFile>
#include <QHash>
#include <QLocale>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string_view>

namespace vorn {

namespace {

const char* const kHoleTypes[] = {"Array", "Panel1", "Panel2"};

// The tooling summary of every saved part by ID, read in one pass over the
// saved holes: "Array::#1:(x,y)Φd; …Panel1::…Panel2::…". The holes are read
// straight from the statement: tens of thousands of them, each formatted once.
QHash<int, QString> ToolingSummaries(TDataM1& dm, bool mm) {
    const double f = UnitFactor(mm ? DisplayUnit::Millimetre : DisplayUnit::Inch);
    SqliteStatement holes(dm.connection(),
                          QStringLiteral("select D4_PTR, PanelType, SerialNumber, Xcoordinate, "
                                         "Ycoordinate, Diameter from Data0005 "
                                         "order by D4_PTR, SerialNumber, ID"));
    sqlite3_stmt* st = holes.raw();
    QHash<int, std::array<QString, 3>> parts;
    const QString four = QStringLiteral("0.0000");
    while (holes.step()) {
        const char* type = reinterpret_cast<const char*>(sqlite3_column_text(st, 1));
        int k = 0;
        while (k < 3 && (!type || qstricmp(type, kHoleTypes[k]) != 0))
            ++k;
        if (k == 3)
            continue; // a hole of no panel type belongs to no view
        QString& s = parts[sqlite3_column_int(st, 0)][size_t(k)];
        s += u'#';
        s += QString::number(sqlite3_column_int(st, 2));
        s += QLatin1String(":(");
        s += DisplayFormat::formatNumber(sqlite3_column_double(st, 3) * f, four);
        s += u',';
        s += DisplayFormat::formatNumber(sqlite3_column_double(st, 4) * f, four);
        s += QStringLiteral(")Φ");
        s += DisplayFormat::formatNumber(sqlite3_column_double(st, 5) * f, four);
        s += QLatin1String("; ");
    }
    QHash<int, QString> summaries;
    summaries.reserve(parts.size());
    for (auto it = parts.cbegin(); it != parts.cend(); ++it) {
        QString s;
        for (int k = 0; k < 3; ++k) {
            if (!it.value()[size_t(k)].isEmpty()) {
                s += QLatin1String(kHoleTypes[k]);
                s += QLatin1String("::");
                s += it.value()[size_t(k)];
            }
        }
        summaries.insert(it.key(), s);
    }
    return summaries;
}

// The list as cells: titles, then one row of texts per part in query order.
struct PartList {
    QStringList titles;
    std::vector<QStringList> rows;
    std::vector<const Field*> fields; // of the 32 columns
    // The saved date and time of each part as stored, for the workbook's
    // date and time cells.
    std::vector<QVariant> dates, times;
};

constexpr int kDateColumn = 30;
constexpr int kTimeColumn = 31;
static_assert(std::string_view(kPartListColumns[kDateColumn]) == "Date" &&
              std::string_view(kPartListColumns[kTimeColumn]) == "Time");

PartList ReadList(TDataM1& dm, bool mm) {
    Cursor& q = dm.SavedPartsQuery;
    PartList list;
    std::vector<int> index;
    for (const char* c : kPartListColumns) {
        const int i = q.fieldIndex(QString::fromLatin1(c));
        index.push_back(i);
        list.fields.push_back(&q.field(i));
        list.titles << q.field(i).title();
    }
    list.titles << QStringLiteral("Tooling");
    const QHash<int, QString> tooling = ToolingSummaries(dm, mm);
    const int id = q.fieldIndex(QStringLiteral("ID"));
    list.rows.reserve(size_t(q.recordCount()));
    for (int row = 0; row < q.recordCount(); ++row) {
        QStringList cells;
        cells.reserve(33);
        for (int i : index)
            cells << q.displayTextAt(row, i);
        cells << tooling.value(q.valueAt(row, id).toInt());
        list.rows.push_back(std::move(cells));
        list.dates.push_back(q.valueAt(row, index[kDateColumn]));
        list.times.push_back(q.valueAt(row, index[kTimeColumn]));
    }
    return list;
}

QByteArray TextFile(const PartList& list, const QDateTime& now) {
    qsizetype size = 0;
    for (const QStringList& row : list.rows)
        for (const QString& cell : row)
            size += cell.size() + 3;
    QString out;
    out.reserve(size + 4096);
    // A quote inside a field is doubled, as CSV readers expect.
    auto quoted = [&out](const QString& text) {
        out += u'"';
        if (text.contains(u'"'))
            out += QString(text).replace(u'"', QLatin1String("\"\""));
        else
            out += text;
        out += QLatin1String("\",");
    };
    const QLatin1String crlf("\r\n");
    out += PartListCaption();
    out += crlf;
    out += u'"' + QCoreApplication::translate("PartList", "报表产生时间:") +
           QLocale().toString(now.date(), QLocale::ShortFormat) + u' ' +
           now.time().toString(QStringLiteral("HH:mm:ss")) + u'"';
    out += crlf;
    for (const QString& t : list.titles)
        quoted(t);
    out += crlf;
    for (const QStringList& row : list.rows) {
        for (const QString& cell : row)
            quoted(cell);
        out += crlf;
    }
    return out.toUtf8();
}

// Number cells keep the text's value and its look: the display format becomes
// the cell's number format ("0.000%" shows a percentage that is not scaled).
QString NumberFormatOf(const QString& displayFormat) {
    if (displayFormat.endsWith(u'%'))
        return displayFormat.chopped(1) + QStringLiteral("\"%\"");
    return displayFormat;
}

bool IsNumberColumn(const Field& f) {
    return !f.isText() && !f.isCalculated() && f.type != FieldType::DateTime &&
           f.format != QLatin1String("##:##:##");
}

// Width in the sheet's character units (the default font's digit): East
// Asian characters take two, capitals a little more than a digit.
double TextUnits(const QString& text) {
    double units = 0;
    for (QChar ch : text)
        units += ch.unicode() >= 0x2E80 ? 2 : ch.isUpper() ? 1.25 : 1;
    return units;
}

// Days since the sheet's day 0 (1899-12-30), the serial of a date cell.
double DateSerial(const QDate& date) {
    return double(QDate(1899, 12, 30).daysTo(date));
}

// A saved time (hour × 10000 + minute × 100 + second) as a fraction of a day;
// negative when it is not a time of day.
double TimeSerial(const QVariant& value) {
    bool ok = false;
    const int t = value.toInt(&ok);
    const int h = t / 10000, m = t / 100 % 100, sec = t % 100;
    if (!ok || t < 0 || h > 23 || m > 59 || sec > 59)
        return -1;
    return (h * 3600 + m * 60 + sec) / 86400.0;
}

// The cells of the list, written for the workbook writer program: widths
// from the texts, a bold header row that stays in view and repeats on every
// page, landscape and one page wide, dates and times as the report writes
// them (2026-12-10, 09:05:07).
bool WriteWorkbookCells(const PartList& list, const QDateTime& now, const QString& path,
                        QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("Cannot write \"%1\": %2").arg(path, file.errorString());
        return false;
    }
    constexpr int kHeaderRow = 2;
    const int columns = int(list.titles.size());
    const int tooling = columns - 1;
    WorkbookCells cells(file);
    cells.sheet({true, true, kHeaderRow + 1});
    const int header = cells.format({QString(), true, true});
    const int wrapped = cells.format({QString(), false, true});
    const int date = cells.format({QStringLiteral("yyyy-mm-dd")});
    const int time = cells.format({QStringLiteral("hh:mm:ss")});

    // Widths: the longest text of a column, its title over at most two lines.
    // A column whose texts are wider than its bound wraps them instead of
    // cutting them off; the tooling summary always wraps.
    std::vector<double> widths(std::size_t(columns), 0);
    std::vector<bool> wraps(std::size_t(columns), false);
    for (int c = 0; c < columns; ++c) {
        double w = std::ceil(TextUnits(list.titles[c]) / 2);
        for (const QStringList& row : list.rows)
            w = std::max(w, TextUnits(row.value(c)));
        if (c == kDateColumn)
            w = std::max(w, 10.0);
        else if (c == kTimeColumn)
            w = std::max(w, 8.0);
        const double bound = c == tooling ? 60.0 : 48.0;
        widths[std::size_t(c)] = std::clamp(w + 2, 6.0, bound);
        wraps[std::size_t(c)] = c == tooling || w + 2 > bound;
        cells.column(c, widths[std::size_t(c)], wraps[std::size_t(c)] ? wrapped : -1);
    }
    // Rows of wrapped text as tall as their lines (15 points a line, a
    // little spare for breaks at word ends), up to the tallest row a
    // spreadsheet keeps.
    auto lines = [&widths](const QString& text, int c) {
        return std::max(1.0, std::ceil(TextUnits(text) * 1.15 / (widths[std::size_t(c)] - 1)));
    };
    constexpr double kTallestRow = 409;
    double headerLines = 1;
    for (int c = 0; c < columns; ++c)
        headerLines = std::max(headerLines, lines(list.titles[c], c));

    cells.text(0, 0, PartListCaption());
    cells.text(1, 0,
               QCoreApplication::translate("PartList", "报表产生时间：") +
                   now.date().toString(QStringLiteral("yyyy-MM-dd")) + u' ' +
                   now.time().toString(QStringLiteral("HH:mm:ss")));
    cells.row(kHeaderRow, std::min(16 * headerLines, kTallestRow));
    for (int c = 0; c < columns; ++c)
        cells.text(kHeaderRow, c, list.titles[c], header);
    for (size_t r = 0; r < list.rows.size(); ++r) {
        const QStringList& row = list.rows[r];
        const int at = int(r) + kHeaderRow + 1;
        double n = 1;
        for (int c = 0; c < columns; ++c)
            if (wraps[std::size_t(c)])
                n = std::max(n, lines(row.value(c), c));
        if (n > 1)
            cells.row(at, std::min(15 * n, kTallestRow));
        for (int c = 0; c < row.size(); ++c) {
            const QString& cell = row[c];
            if (cell.isEmpty())
                continue;
            if (c == kDateColumn && list.dates[r].toDate().isValid()) {
                cells.number(at, c, DateSerial(list.dates[r].toDate()), date);
                continue;
            }
            if (c == kTimeColumn && TimeSerial(list.times[r]) >= 0) {
                cells.number(at, c, TimeSerial(list.times[r]), time);
                continue;
            }
            if (c < int(list.fields.size()) && IsNumberColumn(*list.fields[size_t(c)])) {
                // The shown text is plain ASCII digits: read back without a locale.
                const QByteArray n = cell.toLatin1();
                double v = 0;
                const char* end = n.constData() + n.size() - (n.endsWith('%') ? 1 : 0);
                const auto [ptr, ec] = std::from_chars(n.constData(), end, v);
                if (ec == std::errc() && ptr == end) {
                    cells.number(at, c, v,
                                 cells.format({NumberFormatOf(list.fields[size_t(c)]->format)}));
                    continue;
                }
            }
            cells.text(at, c, cell, wraps[std::size_t(c)] ? wrapped : -1);
        }
    }
    if (!cells.finish() || !file.flush()) {
        *error = QStringLiteral("Cannot write \"%1\": %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace

PartListFormat PartListFormatOf(const QString& path) {
    return path.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive) ? PartListFormat::Workbook
                                                                      : PartListFormat::Text;
}

bool ExportPartList(TDataM1& dm, const QString& path, PartListFormat format, bool mm,
                    const QDateTime& now, QString* error) {
    QString reason;
    Cursor& q = dm.SavedPartsQuery;
    if (!q.isOpen()) {
        if (error)
            *error = QStringLiteral("The saved parts are not open.");
        return false;
    }
    // The tooling query would re-run at every part: closed while the list is
    // read, then as it was.
    Cursor& tooling = dm.PartToolingQuery;
    struct ToolingAsBefore {
        Cursor& t;
        bool wasOpen;
        QVariant type;
        ~ToolingAsBefore() {
            try {
                t.close();
                t.setParam(QStringLiteral("Type"), type);
                if (wasOpen)
                    t.open();
            } catch (...) {
            }
        }
    } asBefore{tooling, tooling.isOpen(),
               tooling.isOpen() ? tooling.param(QStringLiteral("Type"))
                                : QVariant(QStringLiteral("Panel1"))};
    tooling.close();

    bool ok = false;
    try {
        const PartList list = ReadList(dm, mm);
        if (format == PartListFormat::Text) {
            ok = SafeWriteFile(path, TextFile(list, now), &reason);
        } else {
            // The library writes a whole file of its own; it replaces the
            // target only once it is complete.
            QTemporaryDir temp;
            const QString cells = temp.filePath(QStringLiteral("list.cells"));
            const QString made = temp.filePath(QStringLiteral("list.xlsx"));
            ok = temp.isValid() && WriteWorkbookCells(list, now, cells, &reason) &&
                 RunWorkbookWriter(cells, made, &reason);
            if (!temp.isValid())
                reason = QStringLiteral("No temporary folder for the workbook.");
            if (ok)
                ok = SafeCopyFile(made, path, &reason);
        }
    } catch (const std::exception& e) {
        reason = QString::fromUtf8(e.what());
        ok = false;
    }
    q.first();
    if (!ok && error)
        *error = reason;
    return ok;
}

} // namespace vorn
