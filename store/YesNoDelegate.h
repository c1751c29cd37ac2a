#pragma once

#include <QStyledItemDelegate>

namespace vorn {

// The yes/no column of an editable grid ("√" or nothing). The focused cell of
// the column carries a check box over it, in the window's background colour:
// as wide as the cell less 2 pixels, as high as the cell, 3 pixels right of
// and 2 below its corner. Any character typed there goes to the check box
// (so the space bar toggles it; other characters do nothing), a click on the
// check box toggles it, and no text editor ever opens in the column. Other
// cells of the column show the grid's own text.
//
// Install with QAbstractItemView::setItemDelegateForColumn; the model takes
// the new value as a bool through setData (Qt::EditRole) and reports the
// stored value as CursorModel::ValueRole (or else shows "√" for true).
class YesNoDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit YesNoDelegate(QObject* parent = nullptr) : QStyledItemDelegate(parent) {}

    // Where the check box lies over a cell.
    static QRect CheckBoxRect(const QRect& cell);
    static bool IsChecked(const QModelIndex& index);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

signals:
    // The value was toggled in the grid (after the model took it).
    void toggled(const QModelIndex& index, bool checked);

private:
    bool toggle(QAbstractItemModel* model, const QModelIndex& index);
    QPersistentModelIndex m_pressed;
};

} // namespace vorn
