#include "CursorBinder.h"

#include "Cursor.h"
#include "DbError.h"

#include <QAbstractButton>
#include <QLineEdit>

namespace vorn {

CursorBinder::CursorBinder(Cursor* cursor, QObject* parent) : QObject(parent), m_cursor(cursor) {
    connect(cursor, &Cursor::reset, this, &CursorBinder::refresh);
    connect(cursor, &Cursor::currentChanged, this, &CursorBinder::refresh);
    connect(cursor, &Cursor::stateChanged, this, &CursorBinder::refresh);
    connect(cursor, &Cursor::rowChanged, this, [this](int row) {
        if (m_cursor && row == m_cursor->recNo())
            refresh();
    });
}

void CursorBinder::bind(QLineEdit* edit, const QString& field) {
    const bool known = m_bindings.contains(edit);
    m_bindings.insert(edit, {field, false});
    if (!known) {
        connect(edit, &QLineEdit::textEdited, this, [this, edit] {
            auto it = m_bindings.find(edit);
            if (it == m_bindings.end() || m_updating || !m_cursor)
                return;
            it->dirty = true; // set first: the refresh that edit() sends keeps the text
            if (m_cursor->isOpen() && m_cursor->state() == Cursor::State::Browse) {
                try {
                    m_cursor->edit();
                } catch (const DbError& e) {
                    emit error(e.text());
                } catch (const std::exception& e) {
                    emit error(QString::fromUtf8(e.what()));
                }
            }
        });
        connect(edit, &QLineEdit::editingFinished, this, [this, edit] { writeBack(edit); });
        connect(edit, &QObject::destroyed, this, [this, edit] { m_bindings.remove(edit); });
    }
    refreshWidget(edit);
}

void CursorBinder::bind(QAbstractButton* checkBox, const QString& field) {
    const bool known = m_bindings.contains(checkBox);
    m_bindings.insert(checkBox, {field, false});
    if (!known) {
        connect(checkBox, &QAbstractButton::toggled, this, [this, checkBox](bool on) {
            const auto it = m_bindings.constFind(checkBox);
            if (it == m_bindings.cend() || m_updating || !m_cursor)
                return;
            try {
                m_cursor->edit();
                m_cursor->setValue(it->field, on);
            } catch (const DbError& e) {
                emit error(e.text());
                refreshWidget(checkBox);
            } catch (const std::exception& e) {
                emit error(QString::fromUtf8(e.what()));
                refreshWidget(checkBox);
            }
        });
        connect(checkBox, &QObject::destroyed, this,
                [this, checkBox] { m_bindings.remove(checkBox); });
    }
    refreshWidget(checkBox);
}

void CursorBinder::unbind(QWidget* widget) {
    m_bindings.remove(widget);
    disconnect(widget, nullptr, this, nullptr);
}

QString CursorBinder::fieldOf(QWidget* widget) const {
    return m_bindings.value(widget).field;
}

void CursorBinder::writeBack(QLineEdit* edit) {
    auto it = m_bindings.find(edit);
    if (it == m_bindings.end() || !it->dirty || !m_cursor)
        return;
    // Still marked as being typed while the cursor changes state, so the
    // refresh that follows edit() does not overwrite the text.
    const QString field = it->field;
    const QString text = edit->text();
    try {
        m_cursor->edit();
        m_cursor->setText(field, text);
    } catch (const DbError& e) {
        emit error(e.text());
    } catch (const std::exception& e) {
        // Nothing may travel on through the event delivery.
        emit error(QString::fromUtf8(e.what()));
    }
    it = m_bindings.find(edit);
    if (it != m_bindings.end())
        it->dirty = false;
    refreshWidget(edit);
}

void CursorBinder::commitPending() {
    const QList<QWidget*> widgets = m_bindings.keys();
    for (QWidget* w : widgets)
        if (auto* edit = qobject_cast<QLineEdit*>(w))
            writeBack(edit);
}

void CursorBinder::refresh() {
    const QList<QWidget*> widgets = m_bindings.keys();
    for (QWidget* w : widgets)
        refreshWidget(w);
}

void CursorBinder::refreshWidget(QWidget* widget) {
    const auto it = m_bindings.constFind(widget);
    if (it == m_bindings.cend() || it->dirty)
        return; // the user is still typing there
    m_updating = true;
    const bool live = m_cursor && m_cursor->isOpen() && m_cursor->findField(it->field) >= 0;
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        const QString text = live ? m_cursor->displayText(it->field) : QString();
        if (edit->text() != text)
            edit->setText(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setChecked(live && m_cursor->asBool(it->field));
    }
    m_updating = false;
}

} // namespace vorn
