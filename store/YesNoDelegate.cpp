#include "YesNoDelegate.h"

#include "Cursor.h"
#include "CursorModel.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>

namespace vorn {

QRect YesNoDelegate::CheckBoxRect(const QRect& cell) {
    return {cell.left() + 3, cell.top() + 2, cell.width() - 2, cell.height()};
}

bool YesNoDelegate::IsChecked(const QModelIndex& index) {
    const QVariant value = index.data(CursorModel::ValueRole);
    if (value.isValid())
        return value.toBool();
    return index.data(Qt::DisplayRole).toString() == QStringLiteral("√");
}

void YesNoDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const {
    if (!(option.state & QStyle::State_HasFocus)) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    // The focused cell: the check box over it, on the window's background.
    const QRect box = CheckBoxRect(option.rect);
    painter->save();
    painter->fillRect(box, option.palette.window());
    QStyleOptionButton button;
    button.initFrom(option.widget);
    button.rect = box;
    button.state = QStyle::State_Enabled | QStyle::State_HasFocus |
                   (IsChecked(index) ? QStyle::State_On : QStyle::State_Off);
    QStyle* style = option.widget ? option.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_CheckBox, &button, painter, option.widget);
    painter->restore();
}

QWidget* YesNoDelegate::createEditor(QWidget*, const QStyleOptionViewItem&,
                                     const QModelIndex&) const {
    return nullptr; // the column is edited through the check box only
}

bool YesNoDelegate::toggle(QAbstractItemModel* model, const QModelIndex& index) {
    if (!(model->flags(index) & Qt::ItemIsEditable))
        return false;
    const bool checked = !IsChecked(index);
    if (!model->setData(index, checked, Qt::EditRole))
        return false;
    emit toggled(index, checked);
    return true;
}

bool YesNoDelegate::editorEvent(QEvent* event, QAbstractItemModel* model,
                                const QStyleOptionViewItem& option, const QModelIndex& index) {
    const bool focused = option.state & QStyle::State_HasFocus;
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!focused || key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
            return false;
        const QString text = key->text();
        if (text.isEmpty() || !text.at(0).isPrint())
            return false; // moves and commands act as everywhere in the grid
        if (text == QLatin1String(" "))
            toggle(model, index);
        return true; // a check box takes no other character
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        m_pressed = QPersistentModelIndex();
        if (focused && mouse->button() == Qt::LeftButton &&
            CheckBoxRect(option.rect).contains(mouse->position().toPoint())) {
            m_pressed = index;
            return true;
        }
        return event->type() == QEvent::MouseButtonDblClick; // no text editor here
    }
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const bool hit = m_pressed.isValid() && m_pressed == index &&
                         CheckBoxRect(option.rect).contains(mouse->position().toPoint());
        m_pressed = QPersistentModelIndex();
        if (hit && mouse->button() == Qt::LeftButton) {
            toggle(model, index);
            return true;
        }
        return false;
    }
    default:
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    }
}

} // namespace vorn
