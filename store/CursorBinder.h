#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>

class QAbstractButton;
class QLineEdit;
class QWidget;

namespace vorn {

class Cursor;

// Binds form fields to columns of a cursor's current row, once, instead of
// copying values in each handler. A line edit shows the column's display
// text; typing puts the cursor into edit state and leaving the field (or
// pressing Return) sets the column from the text. A check box sets a yes/no
// column when clicked. The fields follow the cursor: another current row,
// a posted or cancelled change, closing and reopening all refresh them.
// Binding a widget again moves it to the new column. A value the cursor
// refuses is reported through error() and the field shows the stored value.
class CursorBinder : public QObject {
    Q_OBJECT
public:
    explicit CursorBinder(Cursor* cursor, QObject* parent = nullptr);

    Cursor* cursor() const { return m_cursor; }
    void bind(QLineEdit* edit, const QString& field);
    void bind(QAbstractButton* checkBox, const QString& field);
    void unbind(QWidget* widget);
    QString fieldOf(QWidget* widget) const;

    // Writes every field still being typed into the cursor.
    void commitPending();
    // Shows the cursor's values again in every bound field.
    void refresh();

signals:
    void error(const QString& text);

private:
    struct Binding {
        QString field;
        bool dirty = false;
    };
    void refreshWidget(QWidget* widget);
    void writeBack(QLineEdit* edit);

    QPointer<Cursor> m_cursor;
    QHash<QWidget*, Binding> m_bindings;
    bool m_updating = false;
};

} // namespace vorn
