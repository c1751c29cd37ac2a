#include "CursorModel.h"

#include "Cursor.h"
#include "DbError.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QStyledItemDelegate>
#include <QTableView>
#include <algorithm>

namespace vorn {

CursorModel::CursorModel(QObject* parent) : QAbstractTableModel(parent) {}

void CursorModel::setCursor(Cursor* cursor) {
    beginResetModel();
    disconnectCursor();
    m_cursor = cursor;
    resolveColumns();
    if (m_attached)
        connectCursor();
    m_rows = m_attached && m_cursor && m_cursor->isOpen() ? m_cursor->recordCount() : 0;
    endResetModel();
}

void CursorModel::setColumns(const QStringList& fields) {
    beginResetModel();
    m_columnNames = fields;
    m_titles.clear();
    resolveColumns();
    endResetModel();
}

QStringList CursorModel::columns() const {
    QStringList names;
    for (int f : m_fields)
        names << (m_cursor && f >= 0 ? m_cursor->field(f).name : QString());
    return names;
}

void CursorModel::setColumnTitle(int column, const QString& title) {
    m_titles.insert(column, title);
    emit headerDataChanged(Qt::Horizontal, column, column);
}

int CursorModel::fieldAt(int column) const {
    return column >= 0 && column < int(m_fields.size()) ? m_fields[size_t(column)] : -1;
}

int CursorModel::columnOf(const QString& field) const {
    for (size_t i = 0; i < m_fields.size(); ++i)
        if (m_cursor && m_fields[i] >= 0 &&
            m_cursor->field(m_fields[i]).name.compare(field, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

void CursorModel::setEditable(bool editable) {
    m_editable = editable;
}

void CursorModel::resolveColumns() {
    m_fields.clear();
    if (!m_cursor || !m_cursor->isOpen()) {
        // Fields are known once the cursor has opened; keep the names until then.
        for (int i = 0; i < m_columnNames.size(); ++i)
            m_fields.push_back(-1);
        return;
    }
    if (m_columnNames.isEmpty()) {
        for (int i = 0; i < m_cursor->fieldCount(); ++i)
            if (m_cursor->field(i).visible)
                m_fields.push_back(i);
        return;
    }
    for (const QString& name : m_columnNames)
        m_fields.push_back(m_cursor->findField(name));
}

void CursorModel::attach() {
    if (m_attached)
        return;
    m_attached = true;
    connectCursor();
    cursorReset();
}

void CursorModel::detach() {
    if (!m_attached)
        return;
    beginResetModel();
    disconnectCursor();
    m_attached = false;
    m_rows = 0;
    endResetModel();
}

void CursorModel::connectCursor() {
    if (!m_cursor)
        return;
    m_connections << connect(m_cursor, &Cursor::reset, this, &CursorModel::cursorReset);
    m_connections << connect(m_cursor, &Cursor::rowInserted, this, [this](int row) {
        if (row < 0 || row > m_rows) {
            cursorReset();
            return;
        }
        beginInsertRows({}, row, row);
        m_rows = m_cursor->recordCount();
        endInsertRows();
    });
    m_connections << connect(m_cursor, &Cursor::rowChanged, this, [this](int row) {
        if (row >= 0 && row < m_rows)
            emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    });
    m_connections << connect(m_cursor, &Cursor::currentChanged, this, [this](int row) {
        if (!m_selection || m_syncing || row < 0 || row >= m_rows)
            return;
        m_syncing = true;
        const int column = qMax(0, m_selection->currentIndex().column());
        m_selection->setCurrentIndex(index(row, column), QItemSelectionModel::ClearAndSelect |
                                                             QItemSelectionModel::Rows);
        m_syncing = false;
    });
    m_connections << connect(m_cursor, &QObject::destroyed, this, [this] { setCursor(nullptr); });
}

void CursorModel::disconnectCursor() {
    for (const auto& c : std::as_const(m_connections))
        disconnect(c);
    m_connections.clear();
}

void CursorModel::cursorReset() {
    // The user's column survives (a posted row moving to its place resets).
    const int column = m_selection && m_selection->currentIndex().isValid()
                           ? m_selection->currentIndex().column()
                           : 0;
    // A view may pick a current cell of its own while it resets (an editor
    // closed by the reset hands the focus back): that must not move the cursor.
    const bool syncing = m_syncing;
    m_syncing = true;
    beginResetModel();
    resolveColumns();
    m_rows = m_attached && m_cursor && m_cursor->isOpen() ? m_cursor->recordCount() : 0;
    endResetModel();
    m_syncing = syncing;
    if (m_selection && m_rows > 0 && m_cursor) {
        m_syncing = true;
        m_selection->setCurrentIndex(
            index(qMax(0, m_cursor->recNo()), qBound(0, column, qMax(0, columnCount() - 1))),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        m_syncing = syncing;
    }
}

void CursorModel::followSelection(QItemSelectionModel* selection) {
    m_selection = selection;
    connect(selection, &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (m_syncing || !m_cursor || !m_attached || !current.isValid())
                    return;
                m_syncing = true;
                try {
                    m_cursor->moveTo(current.row());
                } catch (const DbError& e) {
                    // Moving posts a pending change; a refused post stays on its row.
                    emit error(e.text());
                }
                m_syncing = false;
            });
}

void CursorModel::appendOnDownAtEnd(QAbstractItemView* view) {
    view->installEventFilter(this);
}

bool CursorModel::eventFilter(QObject* watched, QEvent* event) {
    auto* view = qobject_cast<QAbstractItemView*>(watched);
    if (!view || event->type() != QEvent::KeyPress || !m_editable || !m_cursor || !m_attached)
        return QAbstractTableModel::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Down || key->modifiers() != Qt::NoModifier ||
        m_cursor->state() == Cursor::State::Insert ||
        (m_rows > 0 && view->currentIndex().row() != m_rows - 1))
        return QAbstractTableModel::eventFilter(watched, event);
    const int column = qMax(0, view->currentIndex().column());
    try {
        m_cursor->last();
        m_cursor->next(); // past the end: numbered tables prepare the next number
        m_cursor->append();
    } catch (const DbError& e) {
        emit error(e.text());
    }
    if (m_rows > 0)
        view->setCurrentIndex(index(qMax(0, m_cursor->recNo()), column));
    return true;
}

int CursorModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int CursorModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_fields.size());
}

QVariant CursorModel::data(const QModelIndex& index, int role) const {
    if (!m_cursor || !m_attached || !index.isValid() || index.row() >= m_rows)
        return {};
    const int field = fieldAt(index.column());
    if (field < 0 || index.row() >= m_cursor->recordCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return m_cursor->displayTextAt(index.row(), field);
    case Qt::TextAlignmentRole: {
        const FieldType type = m_cursor->field(field).type;
        const bool number = type != FieldType::Text && type != FieldType::Memo &&
                            type != FieldType::Calculated && type != FieldType::Boolean;
        return QVariant::fromValue(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
    }
    case ValueRole:
        return m_cursor->valueAt(index.row(), field);
    default:
        return {};
    }
}

QVariant CursorModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    const auto title = m_titles.constFind(section);
    if (title != m_titles.cend())
        return *title;
    const int field = fieldAt(section);
    if (field >= 0 && m_cursor)
        return m_cursor->field(field).title();
    if (section >= m_columnNames.size())
        return QVariant();
    return m_cursor ? m_cursor->titleOf(m_columnNames[section]) : m_columnNames[section];
}

Qt::ItemFlags CursorModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    const int field = fieldAt(index.column());
    if (m_editable && m_cursor && field >= 0 && !m_cursor->field(field).readOnly)
        f |= Qt::ItemIsEditable;
    return f;
}

bool CursorModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !m_cursor || !index.isValid())
        return false;
    const int field = fieldAt(index.column());
    if (field < 0 || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const bool wasBrowsing = m_cursor->state() == Cursor::State::Browse;
    try {
        // Moving posts: a row being inserted is written into where it is.
        m_syncing = true;
        if (m_cursor->recNo() != index.row())
            m_cursor->moveTo(index.row());
        m_syncing = false;
        m_cursor->edit();
        if (value.typeId() == QMetaType::QString)
            m_cursor->setText(field, value.toString());
        else
            m_cursor->setValue(field, value);
        // A cell typed into a resting row is posted at once; a row being
        // inserted stays open until the user leaves it.
        if (wasBrowsing)
            m_cursor->post();
    } catch (const DbError& e) {
        m_syncing = false;
        if (wasBrowsing && m_cursor->state() != Cursor::State::Browse)
            m_cursor->cancel();
        emit error(e.text());
        return false;
    }
    emit dataChanged(index.siblingAtColumn(0), index.siblingAtColumn(columnCount() - 1));
    return true;
}

int ColumnContentWidth(const QTableView* grid, int column) {
    // QTableView hides the measure behind its base class.
    return static_cast<const QAbstractItemView*>(grid)->sizeHintForColumn(column);
}

namespace {

// The plain delegate's size for a cell of a CursorModel follows from its
// column and text alone (the model gives no other role per cell): measured
// once per distinct text while a grid is fitted, as a result grid repeats a
// few values over thousands of rows.
class RememberingDelegate : public QStyledItemDelegate {
public:
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QHash<QString, QSize>& sizes = m_sizes[index.column()];
        const QString text = index.data(Qt::DisplayRole).toString();
        const auto known = sizes.constFind(text);
        if (known != sizes.cend())
            return *known;
        const QSize size = QStyledItemDelegate::sizeHint(option, index);
        sizes.insert(text, size);
        return size;
    }

private:
    mutable QHash<int, QHash<QString, QSize>> m_sizes;
};

} // namespace

void FitColumnsToContents(QTableView* grid, bool follow) {
    QAbstractItemModel* model = grid->model();
    if (!model)
        return;
    QAbstractItemDelegate* plain = grid->itemDelegate();
    const bool remember = qobject_cast<CursorModel*>(model) && plain &&
                          plain->metaObject() == &QStyledItemDelegate::staticMetaObject;
    RememberingDelegate remembering;
    if (remember)
        grid->setItemDelegate(&remembering);
    for (int c = 0; c < model->columnCount(); ++c)
        if (!grid->isColumnHidden(c))
            grid->setColumnWidth(c, std::max(grid->columnWidth(c), ColumnContentWidth(grid, c)));
    if (remember)
        grid->setItemDelegate(plain);
    if (follow)
        QObject::connect(model, &QAbstractItemModel::modelReset, grid,
                         [grid] { FitColumnsToContents(grid); });
}

} // namespace vorn
