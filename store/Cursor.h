#pragma once

#include "CodedColumn.h"
#include "FilterText.h"

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <vector>

namespace vorn {

class SqliteConnection;

enum class FieldType { AutoInc, Int16, Int32, Double, Text, Memo, DateTime, Boolean, Calculated };

// Display properties of a column: title in grids and exports, display format
// (see DisplayFormat.h), grid width in characters, shown or not.
struct FieldProps {
    QString label;
    QString format;
    int width = 0;
    bool visible = true;
};

struct Field {
    QString name;
    FieldType type = FieldType::Double;
    int size = 0; // characters of a text column; 0 = no limit
    QString label;
    QString format;
    int width = 0;
    bool visible = true;
    bool readOnly = false;
    int slot = -1; // storage column (numbers or texts); -1 for calculated

    bool isText() const { return type == FieldType::Text || type == FieldType::Memo; }
    bool isCalculated() const { return type == FieldType::Calculated; }
    QString title() const { return label.isEmpty() ? name : label; }
};

// A client-side snapshot cursor over one table or one SELECT.
//
// Rows are read when the cursor opens and kept in memory (one column each for
// numbers and texts, repeated values as small codes: CodedColumn.h), so
// reading, appending and sorting never go back to the file. What a post does depends on the write
// policy:
//   WriteThrough  archive tables: every post and delete reaches the file at once
//   Cached        settings tables: posts stay in the cursor until applyUpdates()
//                 writes them in one transaction; close() drops them
//   MemoryOnly    working tables: rows never reach the file; close() empties them
//   ReadOnly      queries
// Sort order, filter text and the filter switch belong to the cursor and
// survive close() and open().
//
// Navigation follows the usual data-set rules: first() and prior() on the first
// row set bof(), last() and next() on the last row set eof(); an empty cursor
// is both. Moving, sorting, filtering and locating post a pending change first
// (an edit or insert that changed nothing is cancelled instead).
//
// Every failure (unknown column, a filter text that does not parse, a value
// of the wrong kind, a failed write) throws DbError and leaves the data as it
// was.
class Cursor : public QObject {
    Q_OBJECT
public:
    enum class Policy { WriteThrough, Cached, MemoryOnly, ReadOnly };
    enum class State { Inactive, Browse, Edit, Insert };
    enum LocateOption { CaseInsensitive = 1, PartialKey = 2 };
    Q_DECLARE_FLAGS(LocateOptions, LocateOption)

    // Read access to one stored row, for calculated columns.
    class Row {
    public:
        Row(const Cursor& cursor, int physical) : m_cursor(cursor), m_physical(physical) {}
        QVariant value(const QString& field) const;
        double number(const QString& field) const; // null reads 0
        QString text(const QString& field) const;  // display text in the column's format
    private:
        const Cursor& m_cursor;
        int m_physical;
    };
    using Calculation = std::function<QString(const Row&)>;

    // A table cursor: `table` names the table in the file.
    Cursor(SqliteConnection& connection, const QString& table, Policy policy,
           QObject* parent = nullptr);
    ~Cursor() override;

    const QString& name() const { return m_name; }
    Policy policy() const { return m_policy; }

    // ---- set-up (before open) ------------------------------------------------
    void setFieldProps(const QString& field, const FieldProps& props);
    // A column's grid title from its set-up, also while the cursor is closed
    // (a grid keeps its headers between jobs); the name when it has none.
    QString titleOf(const QString& field) const;
    void addCalculatedField(const QString& field, const QString& label, Calculation calc);

    // Queries: the SELECT as editable lines, joined by line breaks when run.
    QStringList& sql() { return m_sql; }
    const QStringList& sql() const { return m_sql; }
    void setSql(const QStringList& lines) { m_sql = lines; }
    void setParam(const QString& name, const QVariant& value);
    QVariant param(const QString& name) const;
    // Binds a parameter to a column of another cursor's current row: the query
    // takes that value when it opens and re-runs whenever it changes.
    void linkParam(const QString& name, Cursor* master, const QString& masterField);

    // ---- open / close -------------------------------------------------------
    void open();
    void close();
    bool isOpen() const { return m_state != State::Inactive; }
    State state() const { return m_state; }

    // ---- fields --------------------------------------------------------------
    int fieldCount() const { return int(m_fields.size()); }
    const Field& field(int index) const { return m_fields[size_t(index)]; }
    int findField(const QString& name) const;  // -1 when absent
    int fieldIndex(const QString& name) const; // throws DbError when absent
    void setFieldReadOnly(const QString& name, bool readOnly);

    // ---- navigation ---------------------------------------------------------
    int recordCount() const { return int(m_view.size()); }
    bool isEmpty() const { return m_view.empty(); }
    int recNo() const; // 0-based position of the current row, -1 when empty
    bool bof() const { return m_bof; }
    bool eof() const { return m_eof; }
    void first();
    void last();
    void next();
    void prior();
    void moveTo(int row);

    // ---- values of the current row -------------------------------------------
    QVariant value(const QString& field) const { return value(fieldIndex(field)); }
    QVariant value(int field) const;
    bool isNull(const QString& field) const;
    double asDouble(const QString& field) const;  // null reads 0
    int asInt(const QString& field) const;        // null reads 0
    QString asString(const QString& field) const; // null reads ""; numbers in general form
    bool asBool(const QString& field) const;      // null reads false
    QString displayText(const QString& field) const { return displayText(fieldIndex(field)); }
    QString displayText(int field) const;

    // Setting needs the edit or insert state. Empty text makes a column null.
    void setValue(const QString& field, const QVariant& value) {
        setValue(fieldIndex(field), value);
    }
    void setValue(int field, const QVariant& value);
    void setText(const QString& field, const QString& text) { setText(fieldIndex(field), text); }
    void setText(int field, const QString& text);
    // A number column without the detour through QVariant, for writers of
    // many rows; the same checks as setValue.
    void setNumber(int field, double value);

    // ---- values of any shown row without moving (grids) -----------------------
    QVariant valueAt(int row, int field) const;
    QString displayTextAt(int row, int field) const;

    // ---- editing ------------------------------------------------------------
    void edit();
    void insert(); // a new row above the current one
    void append(); // a new row at the end
    void post();
    void cancel();
    void remove(); // the following row, or the new last row, becomes current
    bool isModified() const { return m_modified; }
    // A memory-only table: sets a number column to 1..n in the order shown,
    // without visiting the rows one by one (a search numbers tens of
    // thousands). Needs the browse state.
    void numberRows(int field);

    // Sets the columns of one new row of appendRows().
    class RowWriter {
    public:
        void setNumber(int field, double value);      // the checks of setNumber()
        void setText(int field, const QString& text); // a text column; the checks of setValue()
    private:
        friend class Cursor;
        explicit RowWriter(Cursor& cursor) : m_cursor(cursor) {}
        Cursor& m_cursor;
        int m_physical = -1;
    };
    // A memory-only table: appends `count` rows at the end in one go, each
    // filled by fill(i, row), leaving what append(), the same sets and
    // post() per row would, with one notification instead of a few per row
    // (a search writes tens of thousands). Needs no insert or post events.
    // When fill throws, none of the rows stay. Returns the ID given to the
    // first new row (the next ones follow on), 0 for a table without IDs or
    // no rows.
    qint64 appendRows(int count, const std::function<void(int, RowWriter&)>& fill);

    // Cached cursors: write every posted change to the file in one transaction.
    // On failure the file is rolled back and the changes stay cached.
    void applyUpdates();
    bool hasPendingUpdates() const;

    // ---- sort, filter, locate ------------------------------------------------
    // "Base_down;Panel_down": ascending by each column, equal keys in the order
    // the rows were added. Empty text: rows keep the order they have now.
    void setSort(const QString& columns);
    const QString& sort() const { return m_sortText; }
    void setFilter(const QString& text);
    const QString& filter() const { return m_filterText; }
    void setFiltered(bool on);
    bool filtered() const { return m_filtered; }
    // Moves to the first row whose key columns ("Type;SerialNumber") equal the
    // values; returns false and stays put when there is none.
    bool locate(const QString& keys, const QVariantList& values, LocateOptions options = {});

    // ---- controls ------------------------------------------------------------
    // While disabled, grids and bound fields stop following the cursor; the
    // last enableControls() makes them catch up at once.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_disabled > 0; }

    // ---- events (the data module's rules) ------------------------------------
    // An exception thrown from a before-event stops the operation.
    std::function<void(Cursor&)> afterOpen, afterClose, beforeInsert, afterInsert, beforePost,
        afterPost, afterScroll;
    // Last word on the text shown for a column.
    std::function<QString(const Cursor&, int field, const QString& text)> onDisplayText;

signals:
    // For grids and bound fields; not sent while controls are disabled.
    void reset();
    void rowInserted(int row);
    void rowChanged(int row);
    void currentChanged(int row);
    void stateChanged();
    void opened();
    void closed();

private:
    friend class Row;
    struct SortKey {
        int field;
    };
    struct ResolvedCondition {
        int field;
        FilterCondition condition;
        double number = 0;
        QDateTime date;
    };
    enum RowFlag : unsigned char { Live = 0, Inserted = 1, Modified = 2, Deleted = 4, Dead = 8 };

    void loadFields(class SqliteStatement& statement);
    void loadRows(class SqliteStatement& statement);
    void clearRows();
    int newPhysicalRow();
    int currentPhysical() const;
    void requireCurrent(const char* what) const;
    void requireEditing() const;
    void checkBrowse();
    void insertRow(bool appending);
    void settle() const;
    void placeRow(int position);
    void rebuildView();
    void sortView();
    void sortRange(std::vector<int>::iterator begin, std::vector<int>::iterator end) const;
    bool lessRow(int a, int b) const;
    int compareField(int field, int a, int b) const;
    bool passesFilter(int physical) const;
    std::vector<ResolvedCondition> resolveFilter(const FilterText& filter) const;
    std::vector<SortKey> resolveSort(const QString& text) const;
    QVariant rawValue(int physical, int field) const;
    QString rawText(int physical, int field) const;
    void storeValue(int physical, int field, const QVariant& value);
    void storeText(int physical, const Field& f, QString text);
    double checkedNumber(const Field& f, double v) const; // finite; counts whole and 32-bit
    void writeRow(int physical, bool isNew);
    void deleteFromFile(int physical);
    void scrolled();
    bool observed() const;
    void notifyReset();
    void notifyCurrent();
    void runLinkedParams();
    void runSlaves();
    QString columnList(bool withId) const;

    SqliteConnection& m_connection;
    QString m_name;
    Policy m_policy;
    QStringList m_sql;
    QHash<QString, QVariant> m_params; // lower-case name
    struct ParamLink {
        QString param;
        Cursor* master;
        QString field;
    };
    std::vector<ParamLink> m_links;
    std::vector<Cursor*> m_slaves; // queries whose parameters follow this cursor

    QHash<QString, FieldProps> m_props; // lower-case name
    struct CalculatedDef {
        QString name;
        QString label;
        Calculation calc;
    };
    std::vector<CalculatedDef> m_calculated;
    QHash<QString, bool> m_readOnly; // lower-case name

    std::vector<Field> m_fields;
    QHash<QString, int> m_fieldByName;      // as spelled
    QHash<QString, int> m_fieldByLowerName; // lower-case, for other spellings
    int m_idField = -1;

    // Storage: one column per number column (NaN = null) and per text column.
    std::vector<NumberColumn> m_numbers;
    std::vector<TextColumn> m_texts;
    std::vector<unsigned char> m_flags;
    std::vector<qint64> m_deletedIds; // cached deletes of stored rows
    qint64 m_nextId = 1;

    // Shown rows as physical indexes. The first m_sortedCount are in sort
    // order; posted rows appended behind them wait there until an operation
    // needs positions (settle), so a long run of appends costs one sort.
    mutable std::vector<int> m_view;
    mutable size_t m_sortedCount = 0;
    mutable int m_pos = -1;
    mutable int m_currentPhysical = -1;
    bool m_bof = true;
    bool m_eof = true;

    State m_state = State::Inactive;
    bool m_modified = false;
    bool m_appending = false;
    std::vector<double> m_backupNumbers;
    std::vector<QString> m_backupTexts;
    unsigned char m_backupFlag = 0;

    QString m_sortText;
    std::vector<SortKey> m_sortKeys;
    QString m_filterText;
    FilterText m_filter;
    std::vector<ResolvedCondition> m_resolvedFilter;
    bool m_filtered = false;
    int m_disabled = 0;
    bool m_inEvent = false;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(Cursor::LocateOptions)

} // namespace vorn
