#include "Cursor.h"

#include "DbError.h"
#include "DisplayFormat.h"
#include "SqliteConnection.h"

#include <QLocale>
#include <QMetaMethod>

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace vorn {

namespace {

constexpr double kNull = std::numeric_limits<double>::quiet_NaN();

bool isNumberNull(double v) {
    return std::isnan(v);
}

FieldType typeFromDeclaration(const QString& declared, int& size) {
    const QString d = declared.trimmed().toUpper();
    size = 0;
    if (d.startsWith(u"VARCHAR") || d.startsWith(u"CHAR")) {
        const qsizetype open = d.indexOf(u'('), close = d.indexOf(u')');
        if (open > 0 && close > open)
            size = d.mid(open + 1, close - open - 1).toInt();
        return FieldType::Text;
    }
    if (d == u"TEXT" || d == u"MEMO" || d.startsWith(u"CLOB"))
        return FieldType::Memo;
    if (d == u"SMALLINT")
        return FieldType::Int16;
    if (d.contains(u"INT"))
        return FieldType::Int32;
    if (d == u"BOOLEAN" || d == u"BIT")
        return FieldType::Boolean;
    if (d.startsWith(u"DATE"))
        return FieldType::DateTime;
    return FieldType::Double;
}

double dateToNumber(const QDateTime& dt) {
    return dt.isValid() ? double(dt.toMSecsSinceEpoch()) : kNull;
}

QDateTime numberToDate(double v) {
    return isNumberNull(v) ? QDateTime() : QDateTime::fromMSecsSinceEpoch(qint64(v));
}

QDateTime parseDate(const QString& text) {
    QString t = text.trimmed();
    if (t.size() > 10 && t[10] == u' ')
        t[10] = u'T';
    QDateTime dt = QDateTime::fromString(t, Qt::ISODate);
    if (!dt.isValid()) {
        const QDate d = QDate::fromString(t, Qt::ISODate);
        if (d.isValid())
            dt = d.startOfDay();
    }
    if (!dt.isValid()) {
        const QDate d = QLocale().toDate(t, QLocale::ShortFormat);
        if (d.isValid())
            dt = d.startOfDay();
    }
    return dt;
}

QString lower(const QString& s) {
    return s.toLower();
}

QStringList splitColumns(const QString& text) {
    QStringList names;
    for (const QString& part : text.split(u';', Qt::SkipEmptyParts)) {
        const QString name = part.trimmed();
        if (!name.isEmpty())
            names << name;
    }
    return names;
}

int compareNumbers(double a, double b) {
    const bool na = isNumberNull(a), nb = isNumberNull(b);
    if (na || nb)
        return na == nb ? 0 : (na ? -1 : 1); // nulls first
    return a < b ? -1 : (a > b ? 1 : 0);
}

} // namespace

// ---- Row ------------------------------------------------------------------------

QVariant Cursor::Row::value(const QString& field) const {
    return m_cursor.rawValue(m_physical, m_cursor.fieldIndex(field));
}

double Cursor::Row::number(const QString& field) const {
    const QVariant v = value(field);
    return v.isNull() ? 0.0 : v.toDouble();
}

QString Cursor::Row::text(const QString& field) const {
    return m_cursor.rawText(m_physical, m_cursor.fieldIndex(field));
}

// ---- set-up ---------------------------------------------------------------------

Cursor::Cursor(SqliteConnection& connection, const QString& table, Policy policy, QObject* parent)
    : QObject(parent), m_connection(connection), m_name(table), m_policy(policy) {}

Cursor::~Cursor() {
    for (const ParamLink& link : m_links)
        if (link.master)
            std::erase(link.master->m_slaves, this);
    for (Cursor* slave : m_slaves)
        for (ParamLink& link : slave->m_links)
            if (link.master == this)
                link.master = nullptr;
    if (isOpen())
        m_connection.release();
}

void Cursor::setFieldProps(const QString& field, const FieldProps& props) {
    m_props.insert(lower(field), props);
    const int index = findField(field);
    if (index >= 0) {
        Field& f = m_fields[size_t(index)];
        f.label = props.label;
        f.format = props.format;
        f.width = props.width;
        f.visible = props.visible;
    }
}

QString Cursor::titleOf(const QString& field) const {
    const auto props = m_props.constFind(lower(field));
    return props != m_props.cend() && !props->label.isEmpty() ? props->label : field;
}

void Cursor::addCalculatedField(const QString& field, const QString& label, Calculation calc) {
    m_calculated.push_back({field, label, std::move(calc)});
}

void Cursor::setParam(const QString& name, const QVariant& value) {
    m_params.insert(lower(name), value);
}

QVariant Cursor::param(const QString& name) const {
    return m_params.value(lower(name));
}

void Cursor::linkParam(const QString& name, Cursor* master, const QString& masterField) {
    m_links.push_back({name, master, masterField});
    master->m_slaves.push_back(this);
}

// ---- open / close ---------------------------------------------------------------

void Cursor::open() {
    if (isOpen())
        return;
    m_connection.acquire();
    try {
        QString text;
        if (m_sql.isEmpty()) {
            text = QStringLiteral("SELECT * FROM [%1]").arg(m_name);
            // Working tables are empty in the file: read only their columns.
            if (m_policy == Policy::MemoryOnly)
                text += QStringLiteral(" LIMIT 0");
        } else {
            text = m_sql.join(u'\n');
        }
        SqliteStatement statement(m_connection, text);
        for (const ParamLink& link : m_links) {
            QVariant v;
            if (link.master && link.master->isOpen() && !link.master->isEmpty())
                v = link.master->value(link.field);
            m_params.insert(lower(link.param), v);
        }
        for (int i = 1; i <= statement.parameterCount(); ++i) {
            const QString name = statement.parameterName(i);
            if (!m_params.contains(lower(name)))
                throw DbError(
                    QStringLiteral("No value given for parameter \"%1\" of %2.").arg(name, m_name));
            statement.bind(i, m_params.value(lower(name)));
        }
        loadFields(statement);
        m_sortKeys = resolveSort(m_sortText);
        m_resolvedFilter = resolveFilter(m_filter);
        loadRows(statement);
    } catch (...) {
        clearRows();
        m_connection.release();
        throw;
    }
    m_state = State::Browse;
    m_modified = false;
    rebuildView();
    m_pos = m_view.empty() ? -1 : 0;
    m_currentPhysical = m_pos < 0 ? -1 : m_view[0];
    m_bof = true;
    m_eof = m_view.empty();
    notifyReset();
    if (!controlsDisabled())
        emit opened();
    if (afterOpen)
        afterOpen(*this);
    scrolled();
}

void Cursor::close() {
    if (!isOpen())
        return;
    m_state = State::Inactive;
    m_modified = false;
    m_appending = false;
    clearRows();
    m_connection.release();
    notifyReset();
    if (!controlsDisabled())
        emit closed();
    if (afterClose)
        afterClose(*this);
    runSlaves();
}

void Cursor::loadFields(SqliteStatement& statement) {
    sqlite3_stmt* st = statement.raw();
    m_fields.clear();
    m_fieldByName.clear();
    m_fieldByLowerName.clear();
    m_idField = -1;
    int numberSlots = 0, textSlots = 0;
    const int columns = statement.columnCount();
    for (int i = 0; i < columns; ++i) {
        Field f;
        f.name = QString::fromUtf8(sqlite3_column_name(st, i));
        const char* declared = sqlite3_column_decltype(st, i);
        f.type = typeFromDeclaration(QString::fromUtf8(declared ? declared : "DOUBLE"), f.size);
        const char* table = sqlite3_column_table_name(st, i);
        const char* origin = sqlite3_column_origin_name(st, i);
        if (table && origin) {
            int primary = 0, autoinc = 0;
            if (sqlite3_table_column_metadata(m_connection.handle(), nullptr, table, origin,
                                              nullptr, nullptr, nullptr, &primary,
                                              &autoinc) == SQLITE_OK &&
                primary && autoinc)
                f.type = FieldType::AutoInc;
        }
        if (f.type == FieldType::AutoInc && m_idField < 0)
            m_idField = i;
        f.readOnly = f.type == FieldType::AutoInc || m_policy == Policy::ReadOnly;
        f.slot = f.isText() ? textSlots++ : numberSlots++;
        m_fields.push_back(f);
    }
    for (const CalculatedDef& def : m_calculated) {
        Field f;
        f.name = def.name;
        f.type = FieldType::Calculated;
        f.label = def.label;
        f.readOnly = true;
        m_fields.push_back(f);
    }
    for (size_t i = 0; i < m_fields.size(); ++i) {
        Field& f = m_fields[i];
        const auto props = m_props.constFind(lower(f.name));
        if (props != m_props.cend()) {
            f.label = props->label;
            f.format = props->format;
            f.width = props->width;
            f.visible = props->visible;
        }
        const auto ro = m_readOnly.constFind(lower(f.name));
        if (ro != m_readOnly.cend())
            f.readOnly = f.readOnly || *ro;
        if (!m_fieldByName.contains(f.name))
            m_fieldByName.insert(f.name, int(i));
        if (!m_fieldByLowerName.contains(lower(f.name)))
            m_fieldByLowerName.insert(lower(f.name), int(i));
    }
    // Emptied by clearRows(), which may have left them their storage.
    m_numbers.resize(size_t(numberSlots));
    m_texts.resize(size_t(textSlots));
    for (auto& column : m_numbers)
        column.clear();
    for (auto& column : m_texts)
        column.clear();
}

void Cursor::loadRows(SqliteStatement& statement) {
    sqlite3_stmt* st = statement.raw();
    m_flags.clear();
    m_deletedIds.clear();
    m_nextId = 1;
    while (statement.step()) {
        const int row = newPhysicalRow();
        for (size_t i = 0; i < m_fields.size(); ++i) {
            const Field& f = m_fields[i];
            if (f.isCalculated())
                continue;
            const int c = int(i);
            const int type = sqlite3_column_type(st, c);
            if (f.isText()) {
                if (type != SQLITE_NULL) {
                    m_texts[size_t(f.slot)][size_t(row)] =
                        QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, c)),
                                          sqlite3_column_bytes(st, c));
                }
                continue;
            }
            double v = kNull;
            if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) {
                v = sqlite3_column_double(st, c);
            } else if (type == SQLITE_TEXT) {
                const QString t =
                    QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, c)),
                                      sqlite3_column_bytes(st, c));
                if (f.type == FieldType::DateTime) {
                    v = dateToNumber(parseDate(t));
                } else {
                    bool ok = false;
                    v = QLocale::c().toDouble(t, &ok);
                    if (!ok)
                        v = kNull;
                }
            }
            if (f.type == FieldType::Boolean && !isNumberNull(v))
                v = v != 0 ? 1 : 0;
            m_numbers[size_t(f.slot)][size_t(row)] = v;
        }
        if (m_idField >= 0) {
            const double id = m_numbers[size_t(m_fields[size_t(m_idField)].slot)][size_t(row)];
            if (!isNumberNull(id))
                m_nextId = std::max(m_nextId, qint64(id) + 1);
        }
    }
}

void Cursor::clearRows() {
    // A working table keeps storage of moderate size for its next rows: a
    // search writes them into memory already there instead of faulting in
    // fresh pages (tens of milliseconds for some ten thousand rows).
    size_t bytes = m_flags.capacity() + m_view.capacity() * sizeof(int);
    for (const auto& column : m_numbers)
        bytes += column.bytes();
    for (const auto& column : m_texts)
        bytes += column.bytes();
    constexpr size_t kKeptBytes = size_t(64) << 20;
    if (m_policy == Policy::MemoryOnly && bytes <= kKeptBytes) {
        for (auto& column : m_numbers)
            column.clear();
        for (auto& column : m_texts)
            column.clear();
        m_flags.clear();
        m_view.clear();
    } else {
        for (auto& column : m_numbers)
            column.release();
        for (auto& column : m_texts)
            column.release();
        std::vector<unsigned char>().swap(m_flags);
        std::vector<int>().swap(m_view);
    }
    m_deletedIds.clear();
    m_sortedCount = 0;
    m_pos = -1;
    m_currentPhysical = -1;
    m_bof = m_eof = true;
    m_backupNumbers.clear();
    m_backupTexts.clear();
}

int Cursor::newPhysicalRow() {
    for (auto& column : m_numbers)
        column.push_back(kNull);
    for (auto& column : m_texts)
        column.emplace_back();
    m_flags.push_back(Live);
    return int(m_flags.size()) - 1;
}

// ---- fields ---------------------------------------------------------------------

int Cursor::findField(const QString& name) const {
    const auto exact = m_fieldByName.constFind(name);
    if (exact != m_fieldByName.cend())
        return *exact;
    return m_fieldByLowerName.value(lower(name), -1);
}

int Cursor::fieldIndex(const QString& name) const {
    const int index = findField(name);
    if (index < 0) {
        if (!isOpen())
            throw DbError(QStringLiteral("%1 is not open (column \"%2\").").arg(m_name, name));
        throw DbError(QStringLiteral("%1 has no column \"%2\".").arg(m_name, name));
    }
    return index;
}

void Cursor::setFieldReadOnly(const QString& name, bool readOnly) {
    m_readOnly.insert(lower(name), readOnly);
    const int index = findField(name);
    if (index >= 0) {
        Field& f = m_fields[size_t(index)];
        f.readOnly = readOnly || f.type == FieldType::AutoInc || f.isCalculated() ||
                     m_policy == Policy::ReadOnly;
    }
}

// ---- positions ------------------------------------------------------------------

int Cursor::currentPhysical() const {
    return m_currentPhysical;
}

void Cursor::settle() const {
    if (m_sortKeys.empty() || m_state == State::Edit || (m_state == State::Insert && !m_appending))
        return;
    size_t end = m_view.size();
    if (m_state == State::Insert && m_appending && end > 0)
        --end; // the row being appended stays last until it is posted
    if (m_sortedCount >= end)
        return;
    auto less = [this](int a, int b) { return lessRow(a, b); };
    sortRange(m_view.begin() + qsizetype(m_sortedCount), m_view.begin() + qsizetype(end));
    std::inplace_merge(m_view.begin(), m_view.begin() + qsizetype(m_sortedCount),
                       m_view.begin() + qsizetype(end), less);
    m_sortedCount = end;
    if (m_currentPhysical >= 0 && !(m_state == State::Insert && m_appending)) {
        const auto it = std::lower_bound(m_view.begin(), m_view.begin() + qsizetype(end),
                                         m_currentPhysical, less);
        m_pos = int(it - m_view.begin());
    }
}

int Cursor::recNo() const {
    settle();
    return m_pos;
}

void Cursor::requireCurrent(const char* what) const {
    if (!isOpen())
        throw DbError(
            QStringLiteral("Cannot %1: %2 is not open.").arg(QLatin1String(what), m_name));
    if (m_currentPhysical < 0)
        throw DbError(
            QStringLiteral("Cannot %1: %2 has no current row.").arg(QLatin1String(what), m_name));
}

void Cursor::requireEditing() const {
    if (m_state != State::Edit && m_state != State::Insert)
        throw DbError(QStringLiteral("%1 is not in edit or insert state.").arg(m_name));
}

void Cursor::checkBrowse() {
    if (m_state == State::Edit || m_state == State::Insert) {
        if (m_modified)
            post();
        else
            cancel();
    }
}

void Cursor::scrolled() {
    notifyCurrent();
    if (afterScroll && isOpen())
        afterScroll(*this);
    runSlaves();
}

void Cursor::first() {
    if (!isOpen())
        return;
    checkBrowse();
    settle();
    m_pos = m_view.empty() ? -1 : 0;
    m_currentPhysical = m_pos < 0 ? -1 : m_view[0];
    m_bof = true;
    m_eof = m_view.empty();
    scrolled();
}

void Cursor::last() {
    if (!isOpen())
        return;
    checkBrowse();
    settle();
    m_pos = int(m_view.size()) - 1;
    m_currentPhysical = m_pos < 0 ? -1 : m_view[size_t(m_pos)];
    m_eof = true;
    m_bof = m_view.empty();
    scrolled();
}

void Cursor::next() {
    if (!isOpen())
        return;
    checkBrowse();
    settle();
    if (m_eof)
        return;
    if (m_pos + 1 >= int(m_view.size())) {
        m_eof = true;
    } else {
        ++m_pos;
        m_currentPhysical = m_view[size_t(m_pos)];
        m_bof = false;
    }
    scrolled();
}

void Cursor::prior() {
    if (!isOpen())
        return;
    checkBrowse();
    settle();
    if (m_bof)
        return;
    if (m_pos <= 0) {
        m_bof = true;
    } else {
        --m_pos;
        m_currentPhysical = m_view[size_t(m_pos)];
        m_eof = false;
    }
    scrolled();
}

void Cursor::moveTo(int row) {
    if (!isOpen())
        return;
    checkBrowse();
    settle();
    if (m_view.empty())
        return;
    row = std::clamp(row, 0, int(m_view.size()) - 1);
    if (row == m_pos && !m_bof && !m_eof)
        return;
    m_pos = row;
    m_currentPhysical = m_view[size_t(row)];
    m_bof = m_eof = false;
    scrolled();
}

// ---- values ---------------------------------------------------------------------

QVariant Cursor::rawValue(int physical, int field) const {
    const Field& f = m_fields[size_t(field)];
    if (f.isCalculated())
        return rawText(physical, field);
    if (f.isText()) {
        const QString& t = m_texts[size_t(f.slot)][size_t(physical)];
        return t.isNull() ? QVariant() : QVariant(t);
    }
    const double v = m_numbers[size_t(f.slot)][size_t(physical)];
    if (isNumberNull(v))
        return {};
    switch (f.type) {
    case FieldType::AutoInc:
    case FieldType::Int16:
    case FieldType::Int32:
        return QVariant(int(v));
    case FieldType::Boolean:
        return QVariant(v != 0);
    case FieldType::DateTime:
        return QVariant(numberToDate(v));
    default:
        return QVariant(v);
    }
}

QString Cursor::rawText(int physical, int field) const {
    const Field& f = m_fields[size_t(field)];
    QString text;
    if (f.isCalculated()) {
        const CalculatedDef& def =
            m_calculated[size_t(field) - (m_fields.size() - m_calculated.size())];
        text = def.calc ? def.calc(Row(*this, physical)) : QString();
    } else if (f.isText()) {
        text = m_texts[size_t(f.slot)][size_t(physical)];
    } else {
        const double v = m_numbers[size_t(f.slot)][size_t(physical)];
        if (!isNumberNull(v)) {
            if (f.type == FieldType::Boolean)
                text = DisplayFormat::formatBool(v != 0, f.format);
            else if (f.type == FieldType::DateTime)
                text = DisplayFormat::formatDateTime(numberToDate(v), f.format);
            else
                text = DisplayFormat::formatNumber(v, f.format);
        }
    }
    if (onDisplayText)
        text = onDisplayText(*this, field, text);
    return text;
}

QVariant Cursor::value(int field) const {
    if (m_currentPhysical < 0 || !isOpen())
        return {};
    return rawValue(m_currentPhysical, field);
}

bool Cursor::isNull(const QString& field) const {
    const QVariant v = value(field);
    return v.isNull() || (v.typeId() == QMetaType::QString && v.toString().isEmpty());
}

double Cursor::asDouble(const QString& field) const {
    const QVariant v = value(field);
    return v.isNull() ? 0.0 : v.toDouble();
}

int Cursor::asInt(const QString& field) const {
    const QVariant v = value(field);
    if (v.isNull())
        return 0;
    return int(std::nearbyint(v.toDouble()));
}

QString Cursor::asString(const QString& field) const {
    const int index = fieldIndex(field);
    const QVariant v = value(index);
    if (v.isNull())
        return {};
    const Field& f = m_fields[size_t(index)];
    if (f.type == FieldType::Boolean)
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    if (f.type == FieldType::DateTime)
        return DisplayFormat::formatDateTime(v.toDateTime(), QString());
    if (f.isText() || f.isCalculated())
        return v.toString();
    return DisplayFormat::formatNumber(v.toDouble(), QString());
}

bool Cursor::asBool(const QString& field) const {
    const QVariant v = value(field);
    return !v.isNull() && v.toBool();
}

QString Cursor::displayText(int field) const {
    if (m_currentPhysical < 0 || !isOpen())
        return {};
    return rawText(m_currentPhysical, field);
}

QVariant Cursor::valueAt(int row, int field) const {
    settle();
    if (row < 0 || row >= int(m_view.size()))
        return {};
    return rawValue(m_view[size_t(row)], field);
}

QString Cursor::displayTextAt(int row, int field) const {
    settle();
    if (row < 0 || row >= int(m_view.size()))
        return {};
    return rawText(m_view[size_t(row)], field);
}

void Cursor::storeValue(int physical, int field, const QVariant& value) {
    const Field& f = m_fields[size_t(field)];
    if (f.isText()) {
        storeText(physical, f, value.isNull() ? QString() : value.toString());
        return;
    }
    double v = kNull;
    if (!value.isNull() && value.isValid()) {
        const int type = value.typeId();
        if (f.type == FieldType::DateTime) {
            const QDateTime dt =
                type == QMetaType::QDate ? value.toDate().startOfDay() : value.toDateTime();
            if (!dt.isValid())
                throw DbError(QStringLiteral("Not a date for %1.%2.").arg(m_name, f.name));
            v = dateToNumber(dt);
        } else if (f.type == FieldType::Boolean) {
            v = value.toBool() ? 1 : 0;
        } else {
            bool ok = false;
            v = value.toDouble(&ok);
            if (!ok)
                throw DbError(QStringLiteral("\"%1\" is not a valid number for %2.%3.")
                                  .arg(value.toString(), m_name, f.name));
            v = checkedNumber(f, v);
        }
    }
    m_numbers[size_t(f.slot)][size_t(physical)] = v;
}

void Cursor::storeText(int physical, const Field& f, QString text) {
    if (text.isEmpty())
        text = QString();
    if (f.size > 0 && text.size() > f.size)
        throw DbError(QStringLiteral("\"%1\" is too long for %2.%3 (at most %4 characters).")
                          .arg(text, m_name, f.name)
                          .arg(f.size));
    m_texts[size_t(f.slot)][size_t(physical)] = std::move(text);
}

double Cursor::checkedNumber(const Field& f, double v) const {
    if (!std::isfinite(v))
        throw DbError(QStringLiteral("\"%1\" is not a valid number for %2.%3.")
                          .arg(QString::number(v), m_name, f.name));
    if (f.type != FieldType::Double) {
        v = std::nearbyint(v);
        // 16-bit columns are held as 32-bit: counts a search produces (a tiny
        // board on a large panel) exceed 32767.
        if (v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<qint32>::max())
            throw DbError(QStringLiteral("%1 is out of range for %2.%3.")
                              .arg(QString::number(v, 'g', 17), m_name, f.name));
    }
    return v;
}

void Cursor::setNumber(int field, double value) {
    const Field& f = m_fields[size_t(field)];
    if (f.isText() || f.type == FieldType::DateTime || f.type == FieldType::Boolean ||
        f.isCalculated()) {
        setValue(field, value); // their own conversions and messages
        return;
    }
    requireEditing();
    if (f.readOnly)
        throw DbError(QStringLiteral("%1.%2 cannot be modified.").arg(m_name, f.name));
    m_numbers[size_t(f.slot)][size_t(m_currentPhysical)] = checkedNumber(f, value);
    m_modified = true;
    if (observed())
        emit rowChanged(m_pos);
}

void Cursor::numberRows(int field) {
    const Field& f = m_fields[size_t(field)];
    if (m_policy != Policy::MemoryOnly || f.isText() || f.isCalculated() ||
        f.type == FieldType::DateTime || f.type == FieldType::Boolean)
        throw DbError(QStringLiteral("%1.%2 cannot be numbered in place.").arg(m_name, f.name));
    if (!isOpen())
        throw DbError(QStringLiteral("Cannot number: %1 is not open.").arg(m_name));
    if (m_state != State::Browse)
        throw DbError(QStringLiteral("Cannot number %1 while a row is edited.").arg(m_name));
    settle();
    NumberColumn& column = m_numbers[size_t(f.slot)];
    double n = 0;
    for (const int physical : m_view)
        column[size_t(physical)] = ++n;
    // A sort on this column would now be out of order: put the rows in place.
    if (std::find_if(m_sortKeys.begin(), m_sortKeys.end(),
                     [field](const auto& k) { return k.field == field; }) != m_sortKeys.end())
        m_sortedCount = 0;
    if (observed())
        emit reset();
}

void Cursor::RowWriter::setNumber(int field, double value) {
    Cursor& c = m_cursor;
    const Field& f = c.m_fields[size_t(field)];
    if (f.readOnly || f.isCalculated())
        throw DbError(QStringLiteral("%1.%2 cannot be modified.").arg(c.m_name, f.name));
    if (f.isText() || f.type == FieldType::DateTime || f.type == FieldType::Boolean)
        c.storeValue(m_physical, field, value); // their own conversions and messages
    else
        c.m_numbers[size_t(f.slot)][size_t(m_physical)] = c.checkedNumber(f, value);
}

void Cursor::RowWriter::setText(int field, const QString& text) {
    Cursor& c = m_cursor;
    const Field& f = c.m_fields[size_t(field)];
    if (f.readOnly || f.isCalculated())
        throw DbError(QStringLiteral("%1.%2 cannot be modified.").arg(c.m_name, f.name));
    if (!f.isText())
        throw DbError(QStringLiteral("%1.%2 is not a text column.").arg(c.m_name, f.name));
    c.storeText(m_physical, f, text);
}

qint64 Cursor::appendRows(int count, const std::function<void(int, RowWriter&)>& fill) {
    if (!isOpen())
        throw DbError(QStringLiteral("Cannot insert: %1 is not open.").arg(m_name));
    if (m_policy != Policy::MemoryOnly)
        throw DbError(QStringLiteral("%1 takes its rows one by one.").arg(m_name));
    if (beforeInsert || afterInsert || beforePost || afterPost)
        throw DbError(QStringLiteral("%1 has row events: its rows go one by one.").arg(m_name));
    checkBrowse();
    if (count <= 0)
        return 0;
    const size_t from = m_flags.size(), to = from + size_t(count);
    // Batches of rows: the storage grows geometrically, as push_back would.
    auto grow = [to](auto& column, auto empty) {
        if (column.capacity() < to)
            column.reserve(std::max(to, 2 * column.capacity()));
        column.resize(to, empty);
    };
    const qint64 nextId = m_nextId;
    const int idSlot = m_idField >= 0 ? m_fields[size_t(m_idField)].slot : -1;
    try {
        for (auto& column : m_numbers)
            grow(column, kNull);
        for (auto& column : m_texts)
            grow(column, QString());
        grow(m_flags, static_cast<unsigned char>(Live));
        RowWriter writer(*this);
        for (int i = 0; i < count; ++i) {
            writer.m_physical = int(from) + i;
            fill(i, writer);
            if (idSlot >= 0)
                m_numbers[size_t(idSlot)][from + size_t(i)] = double(m_nextId++);
        }
    } catch (...) {
        for (auto& column : m_numbers)
            column.resize(from);
        for (auto& column : m_texts)
            column.resize(from);
        m_flags.resize(from);
        m_nextId = nextId;
        throw;
    }
    const size_t shown = m_view.size() + size_t(count);
    if (m_view.capacity() < shown)
        m_view.reserve(std::max(shown, 2 * m_view.capacity()));
    for (size_t physical = from; physical < to; ++physical)
        m_view.push_back(int(physical));
    // The last row is current, behind the sorted rows until positions are needed.
    m_pos = int(m_view.size()) - 1;
    m_currentPhysical = int(to) - 1;
    m_bof = m_eof = false;
    if (observed()) {
        settle();
        emit reset();
        emit currentChanged(m_pos);
    }
    if (!controlsDisabled())
        emit stateChanged();
    runSlaves();
    return idSlot >= 0 ? nextId : 0;
}

void Cursor::setValue(int field, const QVariant& value) {
    requireEditing();
    const Field& f = m_fields[size_t(field)];
    if (f.readOnly)
        throw DbError(QStringLiteral("%1.%2 cannot be modified.").arg(m_name, f.name));
    if (value.typeId() == QMetaType::QString && !f.isText()) {
        setText(field, value.toString());
        return;
    }
    storeValue(m_currentPhysical, field, value);
    m_modified = true;
    if (observed())
        emit rowChanged(m_pos);
}

void Cursor::setText(int field, const QString& text) {
    requireEditing();
    const Field& f = m_fields[size_t(field)];
    if (f.readOnly)
        throw DbError(QStringLiteral("%1.%2 cannot be modified.").arg(m_name, f.name));
    const QString t = text.trimmed();
    QVariant v;
    if (f.isText()) {
        v = text;
    } else if (!t.isEmpty()) {
        auto invalid = [&] {
            return DbError(
                QStringLiteral("\"%1\" is not a valid value for %2.%3.").arg(text, m_name, f.name));
        };
        if (f.type == FieldType::Boolean) {
            if (t.compare(u"true", Qt::CaseInsensitive) == 0 || t == u"1" || t == u"√" ||
                t.compare(u"yes", Qt::CaseInsensitive) == 0)
                v = true;
            else if (t.compare(u"false", Qt::CaseInsensitive) == 0 || t == u"0" ||
                     t.compare(u"no", Qt::CaseInsensitive) == 0)
                v = false;
            else
                throw invalid();
        } else if (f.type == FieldType::DateTime) {
            const QDateTime dt = parseDate(t);
            if (!dt.isValid())
                throw invalid();
            v = dt;
        } else {
            QString n = t;
            n.remove(u',');
            if (n.endsWith(u'%'))
                n.chop(1);
            bool ok = false;
            const double d = QLocale::c().toDouble(n, &ok);
            // A count typed with a fraction is a typing error, not something to round.
            if (!ok || (f.type != FieldType::Double && d != std::trunc(d)))
                throw invalid();
            v = d;
        }
    }
    storeValue(m_currentPhysical, field, v);
    m_modified = true;
    if (observed())
        emit rowChanged(m_pos);
}

// ---- editing --------------------------------------------------------------------

void Cursor::edit() {
    if (m_state == State::Edit || m_state == State::Insert)
        return;
    if (m_policy == Policy::ReadOnly)
        throw DbError(QStringLiteral("%1 cannot be edited.").arg(m_name));
    requireCurrent("edit");
    settle();
    m_backupNumbers.clear();
    m_backupTexts.clear();
    for (const auto& column : m_numbers)
        m_backupNumbers.push_back(column[size_t(m_currentPhysical)]);
    for (const auto& column : m_texts)
        m_backupTexts.push_back(column[size_t(m_currentPhysical)]);
    m_backupFlag = m_flags[size_t(m_currentPhysical)];
    m_state = State::Edit;
    m_modified = false;
    if (!controlsDisabled())
        emit stateChanged();
}

void Cursor::insert() {
    insertRow(false);
}

void Cursor::append() {
    insertRow(true);
}

void Cursor::insertRow(bool appending) {
    if (!isOpen())
        throw DbError(QStringLiteral("Cannot insert: %1 is not open.").arg(m_name));
    if (m_policy == Policy::ReadOnly)
        throw DbError(QStringLiteral("%1 cannot be edited.").arg(m_name));
    checkBrowse();
    if (beforeInsert)
        beforeInsert(*this);
    if (!appending)
        settle(); // an append leaves the waiting rows where they are
    const int physical = newPhysicalRow();
    if (appending) {
        m_view.push_back(physical);
        m_pos = int(m_view.size()) - 1;
    } else {
        m_pos = std::max(m_pos, 0);
        m_view.insert(m_view.begin() + m_pos, physical);
        ++m_sortedCount;
    }
    m_appending = appending;
    m_currentPhysical = physical;
    m_state = State::Insert;
    m_modified = false;
    m_bof = m_eof = false;
    if (observed()) {
        emit rowInserted(m_pos);
        emit currentChanged(m_pos);
    }
    if (!controlsDisabled())
        emit stateChanged();
    if (afterInsert)
        afterInsert(*this);
}

void Cursor::post() {
    if (m_state != State::Edit && m_state != State::Insert)
        return;
    if (beforePost)
        beforePost(*this);
    const int physical = m_currentPhysical;
    const bool isNew = m_state == State::Insert;
    const int idSlot = m_idField >= 0 ? m_fields[size_t(m_idField)].slot : -1;
    switch (m_policy) {
    case Policy::WriteThrough:
        writeRow(physical, isNew); // throws with the row still in edit state
        break;
    case Policy::Cached:
        if (isNew) {
            m_flags[size_t(physical)] = Inserted;
            if (idSlot >= 0)
                m_numbers[size_t(idSlot)][size_t(physical)] = double(m_nextId++);
        } else if (!(m_flags[size_t(physical)] & Inserted)) {
            m_flags[size_t(physical)] = Modified;
        }
        break;
    case Policy::MemoryOnly:
        if (isNew && idSlot >= 0)
            m_numbers[size_t(idSlot)][size_t(physical)] = double(m_nextId++);
        break;
    case Policy::ReadOnly:
        break;
    }
    const bool wasAppending = m_appending;
    m_state = State::Browse;
    m_modified = false;
    m_appending = false;
    m_backupNumbers.clear();
    m_backupTexts.clear();

    // A posted row stays shown even when it no longer passes the filter, until
    // the filter is set again: the row being worked on never vanishes under
    // the user or under the code that goes on editing it.
    if (wasAppending && !m_sortKeys.empty() && !observed()) {
        // Leave it behind the sorted rows; settle() places a whole run at once.
    } else {
        placeRow(m_pos);
    }
    if (observed()) {
        emit reset();
        emit currentChanged(m_pos);
    }
    if (!controlsDisabled())
        emit stateChanged();
    if (afterPost)
        afterPost(*this);
    runSlaves();
}

void Cursor::placeRow(int position) {
    if (m_sortKeys.empty() || position < 0 || position >= int(m_view.size()))
        return;
    const int physical = m_view[size_t(position)];
    if (size_t(position) < m_sortedCount) {
        // Most edits leave the key alone: nothing to move.
        const bool afterPrevious = position == 0 || lessRow(m_view[size_t(position) - 1], physical);
        const bool beforeNext = size_t(position) + 1 >= m_sortedCount ||
                                lessRow(physical, m_view[size_t(position) + 1]);
        if (afterPrevious && beforeNext)
            return;
        --m_sortedCount;
    }
    m_view.erase(m_view.begin() + position);
    settle();
    const auto it = m_view.insert(std::lower_bound(m_view.begin(), m_view.end(), physical,
                                                   [this](int a, int b) { return lessRow(a, b); }),
                                  physical);
    ++m_sortedCount;
    m_pos = int(it - m_view.begin());
    m_currentPhysical = physical;
}

void Cursor::cancel() {
    if (m_state == State::Edit) {
        for (size_t i = 0; i < m_numbers.size(); ++i)
            m_numbers[i][size_t(m_currentPhysical)] = m_backupNumbers[i];
        for (size_t i = 0; i < m_texts.size(); ++i)
            m_texts[i][size_t(m_currentPhysical)] = m_backupTexts[i];
        m_flags[size_t(m_currentPhysical)] = m_backupFlag;
    } else if (m_state == State::Insert) {
        const int physical = m_currentPhysical;
        m_view.erase(m_view.begin() + m_pos);
        if (!m_appending && m_sortedCount > 0)
            --m_sortedCount;
        m_flags[size_t(physical)] = Dead;
        if (physical == int(m_flags.size()) - 1) {
            for (auto& column : m_numbers)
                column.pop_back();
            for (auto& column : m_texts)
                column.pop_back();
            m_flags.pop_back();
        }
        if (m_pos >= int(m_view.size()))
            m_pos = int(m_view.size()) - 1;
        m_currentPhysical = m_pos >= 0 ? m_view[size_t(m_pos)] : -1;
        m_bof = m_eof = m_view.empty();
    } else {
        return;
    }
    m_state = State::Browse;
    m_modified = false;
    m_appending = false;
    m_backupNumbers.clear();
    m_backupTexts.clear();
    notifyReset();
    notifyCurrent();
    if (!controlsDisabled())
        emit stateChanged();
}

void Cursor::remove() {
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (m_policy == Policy::ReadOnly)
        throw DbError(QStringLiteral("%1 cannot be edited.").arg(m_name));
    requireCurrent("delete");
    checkBrowse();
    settle();
    const int physical = m_currentPhysical;
    switch (m_policy) {
    case Policy::WriteThrough:
        deleteFromFile(physical);
        m_flags[size_t(physical)] = Dead;
        break;
    case Policy::Cached:
        if (!(m_flags[size_t(physical)] & Inserted) && m_idField >= 0) {
            const double id = m_numbers[size_t(m_fields[size_t(m_idField)].slot)][size_t(physical)];
            if (!isNumberNull(id))
                m_deletedIds.push_back(qint64(id));
        }
        m_flags[size_t(physical)] = Dead;
        break;
    default:
        m_flags[size_t(physical)] = Dead;
    }
    m_view.erase(m_view.begin() + m_pos);
    if (size_t(m_pos) < m_sortedCount)
        --m_sortedCount;
    if (m_pos >= int(m_view.size()))
        m_pos = int(m_view.size()) - 1;
    m_currentPhysical = m_pos >= 0 ? m_view[size_t(m_pos)] : -1;
    m_bof = m_eof = m_view.empty();
    notifyReset();
    scrolled();
}

QString Cursor::columnList(bool withId) const {
    QStringList names;
    for (const Field& f : m_fields)
        if (!f.isCalculated() && (withId || f.type != FieldType::AutoInc))
            names << QStringLiteral("[%1]").arg(f.name);
    return names.join(u", ");
}

void Cursor::writeRow(int physical, bool isNew) {
    QString sql;
    std::vector<int> bound;
    for (size_t i = 0; i < m_fields.size(); ++i)
        if (!m_fields[i].isCalculated() && m_fields[i].type != FieldType::AutoInc)
            bound.push_back(int(i));
    if (isNew) {
        QStringList marks;
        for (size_t i = 0; i < bound.size(); ++i)
            marks << QStringLiteral("?");
        sql = QStringLiteral("INSERT INTO [%1] (%2) VALUES (%3)")
                  .arg(m_name, columnList(false), marks.join(u", "));
    } else {
        if (m_idField < 0)
            throw DbError(QStringLiteral("%1 has no key column to update by.").arg(m_name));
        QStringList sets;
        for (int i : bound)
            sets << QStringLiteral("[%1] = ?").arg(m_fields[size_t(i)].name);
        sql = QStringLiteral("UPDATE [%1] SET %2 WHERE [%3] = ?")
                  .arg(m_name, sets.join(u", "), m_fields[size_t(m_idField)].name);
    }
    SqliteStatement statement(m_connection, sql);
    int index = 1;
    for (int i : bound) {
        QVariant v = rawValue(physical, i);
        if (m_fields[size_t(i)].type == FieldType::Boolean && !v.isNull())
            v = v.toBool() ? 1 : 0;
        statement.bind(index++, v);
    }
    if (!isNew)
        statement.bind(index, rawValue(physical, m_idField));
    statement.step();
    if (isNew && m_idField >= 0) {
        const qint64 id = sqlite3_last_insert_rowid(m_connection.handle());
        m_numbers[size_t(m_fields[size_t(m_idField)].slot)][size_t(physical)] = double(id);
    }
}

void Cursor::deleteFromFile(int physical) {
    if (m_idField < 0)
        throw DbError(QStringLiteral("%1 has no key column to delete by.").arg(m_name));
    SqliteStatement statement(m_connection, QStringLiteral("DELETE FROM [%1] WHERE [%2] = ?")
                                                .arg(m_name, m_fields[size_t(m_idField)].name));
    statement.bind(1, rawValue(physical, m_idField));
    statement.step();
}

void Cursor::applyUpdates() {
    if (m_policy != Policy::Cached || !isOpen())
        return;
    checkBrowse();
    if (!hasPendingUpdates())
        return;
    const int idSlot = m_idField >= 0 ? m_fields[size_t(m_idField)].slot : -1;
    std::vector<std::pair<int, qint64>> newIds;
    // The IDs of new rows stay provisional until the commit holds.
    std::vector<double> provisional;
    if (idSlot >= 0)
        for (size_t row = 0; row < m_flags.size(); ++row)
            provisional.push_back(m_numbers[size_t(idSlot)][row]);
    // The write lock first: another program's lock is waited for here, before
    // anything is read, and never mid-way.
    m_connection.exec(QStringLiteral("BEGIN IMMEDIATE"));
    try {
        for (qint64 id : m_deletedIds) {
            SqliteStatement statement(m_connection,
                                      QStringLiteral("DELETE FROM [%1] WHERE [%2] = ?")
                                          .arg(m_name, m_fields[size_t(m_idField)].name));
            statement.bind(1, id);
            statement.step();
        }
        for (size_t row = 0; row < m_flags.size(); ++row) {
            const unsigned char flag = m_flags[row];
            if (flag == Inserted) {
                writeRow(int(row), true);
                if (idSlot >= 0) {
                    const double written = m_numbers[size_t(idSlot)][row];
                    m_numbers[size_t(idSlot)][row] = provisional[row];
                    provisional[row] = written;
                    newIds.emplace_back(int(row), qint64(provisional[row]));
                }
            } else if (flag == Modified) {
                writeRow(int(row), false);
            }
        }
        m_connection.exec(QStringLiteral("COMMIT"));
    } catch (...) {
        try {
            m_connection.exec(QStringLiteral("ROLLBACK"));
        } catch (...) {
        }
        throw;
    }
    for (const auto& [row, id] : newIds) {
        m_numbers[size_t(idSlot)][size_t(row)] = double(id);
        m_nextId = std::max(m_nextId, id + 1);
    }
    for (unsigned char& flag : m_flags)
        if (flag == Inserted || flag == Modified)
            flag = Live;
    m_deletedIds.clear();
    notifyReset();
}

bool Cursor::hasPendingUpdates() const {
    if (!m_deletedIds.empty())
        return true;
    return std::any_of(m_flags.begin(), m_flags.end(),
                       [](unsigned char f) { return f == Inserted || f == Modified; });
}

// ---- sort, filter, locate --------------------------------------------------------

std::vector<Cursor::SortKey> Cursor::resolveSort(const QString& text) const {
    std::vector<SortKey> keys;
    for (const QString& name : splitColumns(text)) {
        const int index = fieldIndex(name);
        if (m_fields[size_t(index)].isCalculated())
            throw DbError(QStringLiteral("%1 cannot be sorted by the calculated column \"%2\".")
                              .arg(m_name, name));
        keys.push_back({index});
    }
    return keys;
}

int Cursor::compareField(int field, int a, int b) const {
    const Field& f = m_fields[size_t(field)];
    if (f.isText()) {
        const auto& column = m_texts[size_t(f.slot)];
        return column[size_t(a)].compare(column[size_t(b)], Qt::CaseInsensitive);
    }
    const auto& column = m_numbers[size_t(f.slot)];
    return compareNumbers(column[size_t(a)], column[size_t(b)]);
}

bool Cursor::lessRow(int a, int b) const {
    for (const SortKey& key : m_sortKeys) {
        const int c = compareField(key.field, a, b);
        if (c != 0)
            return c < 0;
    }
    return a < b; // equal keys keep the order in which the rows were added
}

void Cursor::sortRange(std::vector<int>::iterator begin, std::vector<int>::iterator end) const {
    if (m_sortKeys.empty() || end - begin < 2)
        return;
    const auto isText = [this](const SortKey& k) { return m_fields[size_t(k.field)].isText(); };
    if (m_sortKeys.size() > 2 || std::any_of(m_sortKeys.begin(), m_sortKeys.end(), isText)) {
        std::sort(begin, end, [this](int a, int b) { return lessRow(a, b); });
        return;
    }
    // One or two number keys (a search's tens of thousands of rows): the keys
    // read once into one array, compared as lessRow does.
    const auto column = [this](const SortKey& k) {
        return &m_numbers[size_t(m_fields[size_t(k.field)].slot)];
    };
    const NumberColumn* first = column(m_sortKeys[0]);
    const NumberColumn* second = m_sortKeys.size() > 1 ? column(m_sortKeys[1]) : nullptr;
    struct Keyed {
        double first, second;
        int physical;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(size_t(end - begin));
    for (auto it = begin; it != end; ++it)
        keyed.push_back({(*first)[size_t(*it)], second ? (*second)[size_t(*it)] : 0.0, *it});
    std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        if (const int c = compareNumbers(a.first, b.first))
            return c < 0;
        if (const int c = compareNumbers(a.second, b.second))
            return c < 0;
        return a.physical < b.physical;
    });
    for (const Keyed& k : keyed)
        *begin++ = k.physical;
}

void Cursor::sortView() {
    sortRange(m_view.begin(), m_view.end());
    m_sortedCount = m_view.size();
}

void Cursor::rebuildView() {
    m_view.clear();
    for (size_t row = 0; row < m_flags.size(); ++row) {
        if (m_flags[row] & (Deleted | Dead))
            continue;
        if (m_filtered && !passesFilter(int(row)))
            continue;
        m_view.push_back(int(row));
    }
    sortView();
}

void Cursor::setSort(const QString& columns) {
    if (!isOpen()) {
        // Names are checked against the columns when the cursor opens.
        m_sortText = columns;
        return;
    }
    std::vector<SortKey> keys = resolveSort(columns);
    checkBrowse();
    settle();
    m_sortText = columns;
    m_sortKeys = std::move(keys);
    sortView();
    if (m_currentPhysical >= 0)
        m_pos = int(std::find(m_view.begin(), m_view.end(), m_currentPhysical) - m_view.begin());
    notifyReset();
    notifyCurrent();
}

std::vector<Cursor::ResolvedCondition> Cursor::resolveFilter(const FilterText& filter) const {
    std::vector<ResolvedCondition> resolved;
    for (const FilterCondition& c : filter.conditions) {
        ResolvedCondition r;
        r.field = findField(c.column);
        if (r.field < 0)
            throw DbError(QStringLiteral("The filter text \"%1\" names the column \"%2\", which "
                                         "%3 does not have.")
                              .arg(m_filterText, c.column, m_name));
        r.condition = c;
        const Field& f = m_fields[size_t(r.field)];
        using Kind = FilterCondition::Kind;
        if (!f.isText() && !f.isCalculated()) {
            if (c.kind == Kind::Number) {
                r.number = c.number;
            } else if (c.kind == Kind::Boolean) {
                r.number = c.flag ? 1 : 0;
            } else if (c.kind == Kind::Text) {
                bool ok = false;
                if (f.type == FieldType::DateTime) {
                    const QDateTime dt = parseDate(c.text);
                    ok = dt.isValid();
                    r.number = dateToNumber(dt);
                } else {
                    r.number = QLocale::c().toDouble(c.text, &ok);
                }
                if (!ok)
                    throw DbError(QStringLiteral("The filter compares the column \"%1\" of %2 "
                                                 "with the text '%3', which is not a %4.")
                                      .arg(f.name, m_name, c.text,
                                           f.type == FieldType::DateTime
                                               ? QStringLiteral("date")
                                               : QStringLiteral("number")));
            }
            if (f.type == FieldType::Boolean && c.kind == Kind::Number)
                r.number = c.number != 0 ? 1 : 0;
        } else if (c.kind == Kind::Boolean) {
            throw DbError(QStringLiteral("The filter compares the text column \"%1\" of %2 "
                                         "with True or False.")
                              .arg(f.name, m_name));
        }
        resolved.push_back(r);
    }
    return resolved;
}

bool Cursor::passesFilter(int physical) const {
    using Op = FilterCondition::Op;
    using Kind = FilterCondition::Kind;
    for (const ResolvedCondition& r : m_resolvedFilter) {
        const Field& f = m_fields[size_t(r.field)];
        const FilterCondition& c = r.condition;
        int cmp = 0;
        bool null = false;
        if (f.isText() || f.isCalculated()) {
            const QString text =
                f.isText() ? m_texts[size_t(f.slot)][size_t(physical)] : rawText(physical, r.field);
            null = text.isEmpty();
            if (c.kind != Kind::Null) {
                const QString other = c.kind == Kind::Text
                                          ? c.text
                                          : DisplayFormat::formatNumber(c.number, QString());
                cmp = text.compare(other, Qt::CaseInsensitive);
            }
        } else {
            const double v = m_numbers[size_t(f.slot)][size_t(physical)];
            null = isNumberNull(v);
            if (!null && c.kind != Kind::Null) {
                if (f.type == FieldType::Boolean)
                    cmp = (v != 0 ? 1 : 0) - int(r.number);
                else
                    cmp = v < r.number ? -1 : (v > r.number ? 1 : 0);
            }
        }
        bool pass = false;
        if (c.kind == Kind::Null) {
            pass = c.op == Op::Equal ? null : !null;
        } else if (!null) {
            switch (c.op) {
            case Op::Equal:
                pass = cmp == 0;
                break;
            case Op::NotEqual:
                pass = cmp != 0;
                break;
            case Op::Greater:
                pass = cmp > 0;
                break;
            case Op::Less:
                pass = cmp < 0;
                break;
            case Op::GreaterEqual:
                pass = cmp >= 0;
                break;
            case Op::LessEqual:
                pass = cmp <= 0;
                break;
            }
        }
        if (!pass)
            return false;
    }
    return true;
}

void Cursor::setFilter(const QString& text) {
    FilterText parsed = FilterText::parse(text);
    if (!isOpen()) {
        m_filterText = text;
        m_filter = std::move(parsed);
        return;
    }
    const QString previous = m_filterText;
    m_filterText = text; // named in the error text
    std::vector<ResolvedCondition> resolved;
    try {
        resolved = resolveFilter(parsed);
    } catch (...) {
        m_filterText = previous;
        throw;
    }
    checkBrowse();
    m_filter = std::move(parsed);
    m_resolvedFilter = std::move(resolved);
    if (m_filtered) {
        rebuildView();
        m_pos = -1;
        notifyReset();
        first();
    }
}

void Cursor::setFiltered(bool on) {
    if (on == m_filtered)
        return;
    if (!isOpen()) {
        m_filtered = on;
        return;
    }
    checkBrowse();
    m_filtered = on;
    rebuildView();
    notifyReset();
    first();
}

bool Cursor::locate(const QString& keys, const QVariantList& values, LocateOptions options) {
    if (!isOpen())
        throw DbError(QStringLiteral("Cannot locate: %1 is not open.").arg(m_name));
    std::vector<int> fields;
    for (const QString& name : splitColumns(keys))
        fields.push_back(fieldIndex(name));
    if (fields.empty() || int(fields.size()) != values.size())
        throw DbError(QStringLiteral("Locate in %1: %2 key columns but %3 values.")
                          .arg(m_name)
                          .arg(fields.size())
                          .arg(values.size()));
    checkBrowse();
    settle();
    const Qt::CaseSensitivity cs =
        options.testFlag(CaseInsensitive) ? Qt::CaseInsensitive : Qt::CaseSensitive;
    const bool partial = options.testFlag(PartialKey);
    auto matches = [&](int physical) {
        for (size_t k = 0; k < fields.size(); ++k) {
            const Field& f = m_fields[size_t(fields[k])];
            const QVariant& wanted = values[qsizetype(k)];
            const QVariant have = rawValue(physical, fields[k]);
            if (wanted.isNull() || !wanted.isValid() ||
                (wanted.typeId() == QMetaType::QString && wanted.toString().isEmpty())) {
                if (!have.isNull())
                    return false;
                continue;
            }
            if (have.isNull())
                return false;
            const bool asText =
                f.isText() || f.isCalculated() || partial || wanted.typeId() == QMetaType::QString;
            if (asText) {
                QString text;
                if (f.isText() || f.isCalculated())
                    text = have.toString();
                else if (f.type == FieldType::DateTime)
                    text = have.toDateTime().date().toString(QStringLiteral("yyyy-MM-dd"));
                else if (f.type == FieldType::Boolean)
                    text = have.toBool() ? QStringLiteral("True") : QStringLiteral("False");
                else
                    text = DisplayFormat::formatNumber(have.toDouble(), QString());
                const QString w = wanted.toString();
                if (partial ? !text.startsWith(w, cs) : text.compare(w, cs) != 0)
                    return false;
            } else if (f.type == FieldType::DateTime) {
                if (have.toDateTime() != wanted.toDateTime())
                    return false;
            } else if (have.toDouble() != wanted.toDouble()) {
                return false;
            }
        }
        return true;
    };
    for (size_t i = 0; i < m_view.size(); ++i) {
        if (matches(m_view[i])) {
            m_pos = int(i);
            m_currentPhysical = m_view[i];
            m_bof = m_eof = false;
            scrolled();
            return true;
        }
    }
    return false;
}

// ---- controls and notifications ------------------------------------------------

void Cursor::disableControls() {
    ++m_disabled;
}

void Cursor::enableControls() {
    if (m_disabled > 0 && --m_disabled == 0) {
        emit reset();
        emit currentChanged(recNo());
    }
}

bool Cursor::observed() const {
    if (m_disabled > 0)
        return false;
    static const QMetaMethod resetSignal = QMetaMethod::fromSignal(&Cursor::reset);
    return isSignalConnected(resetSignal);
}

void Cursor::notifyReset() {
    if (m_disabled == 0)
        emit reset();
}

void Cursor::notifyCurrent() {
    if (m_disabled > 0)
        return;
    static const QMetaMethod currentSignal = QMetaMethod::fromSignal(&Cursor::currentChanged);
    if (isSignalConnected(currentSignal))
        emit currentChanged(recNo());
}

void Cursor::runSlaves() {
    for (Cursor* slave : m_slaves)
        slave->runLinkedParams();
}

void Cursor::runLinkedParams() {
    bool changed = false;
    for (const ParamLink& link : m_links) {
        QVariant v;
        if (link.master && link.master->isOpen() && !link.master->isEmpty())
            v = link.master->value(link.field);
        if (m_params.value(lower(link.param)) != v) {
            m_params.insert(lower(link.param), v);
            changed = true;
        }
    }
    if (changed && isOpen()) {
        close();
        open();
    }
}

} // namespace vorn
