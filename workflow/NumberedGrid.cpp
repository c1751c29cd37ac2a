#include "NumberedGrid.h"

#include <QApplication>
#include <QPalette>

namespace vorn {

QVariant NumberedGridModel::data(const QModelIndex& index, int role) const {
    if (role == Qt::BackgroundRole && index.column() == 0)
        return QApplication::palette().color(QPalette::Midlight);
    return CursorModel::data(index, role);
}

Qt::ItemFlags NumberedGridModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = CursorModel::flags(index);
    if (index.column() == 0)
        f &= ~Qt::ItemIsEditable;
    return f;
}

} // namespace vorn
