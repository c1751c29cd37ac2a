#pragma once

#include <QAbstractTableModel>
#include <QPointer>
#include <QStringList>

class QAbstractItemView;
class QItemSelectionModel;

class QTableView;

namespace vorn {

class Cursor;

// The one table model behind every grid: a view of a cursor's shown rows.
// Headers are the columns' display labels, cells their display texts. A
// detached model shows no rows and ignores the cursor until attached again
// (bulk rewrites detach the grid, as does a search filling TempResult).
// Edits go through the cursor; a rejected value is reported through error()
// and changes nothing.
class CursorModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The stored value of a cell (null as an invalid variant), beside its display text.
    static constexpr int ValueRole = Qt::UserRole + 1;

    explicit CursorModel(QObject* parent = nullptr);

    // The cursor shown; nullptr detaches for good.
    void setCursor(Cursor* cursor);
    Cursor* cursor() const { return m_cursor; }

    // Fields shown, in order; empty: every visible field of the cursor.
    void setColumns(const QStringList& fields);
    QStringList columns() const;
    // A title other than the display label (some grids retitle a column).
    void setColumnTitle(int column, const QString& title);
    // Field index in the cursor of a model column, -1 when unknown.
    int fieldAt(int column) const;
    int columnOf(const QString& field) const;

    void setEditable(bool editable);
    bool isEditable() const { return m_editable; }

    void attach();
    void detach();
    bool isAttached() const { return m_attached; }

    // Keeps a view's current row and the cursor's current row together.
    void followSelection(QItemSelectionModel* selection);
    // Down on the last row of an editable grid moves the cursor past its end
    // and appends a row there, as data-entry grids do (an untouched row is
    // dropped again when the user moves away).
    void appendOnDownAtEnd(QAbstractItemView* view);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    // A value the cursor refused, with the data layer's text.
    void error(const QString& text);

private:
    void connectCursor();
    void disconnectCursor();
    void resolveColumns();
    void cursorReset();

    QPointer<Cursor> m_cursor;
    QStringList m_columnNames;
    std::vector<int> m_fields;
    QHash<int, QString> m_titles;
    bool m_editable = false;
    bool m_attached = true;
    int m_rows = 0;
    QList<QMetaObject::Connection> m_connections;
    QPointer<QItemSelectionModel> m_selection;
    bool m_syncing = false;
};

// What a column's shown texts need in the grid's font: the rows Qt measures
// for a column (those around the shown ones, up to the header's
// resizeContentsPrecision).
int ColumnContentWidth(const QTableView* grid, int column);

// Widens every shown column whose texts are wider than it (sizes in
// millimetres run longer than in inches, a long part number longer than its
// column); no column gets narrower. With `follow`, again at every reset of the
// grid's model (new rows, a unit switch).
void FitColumnsToContents(QTableView* grid, bool follow = false);

} // namespace vorn
