#pragma once
// Grids over a numbered table (tooling holes, tooling presets): the number
// column is read-only with the 3-D light background; the numbered-list
// commands keep it contiguous.

#include "Cursor.h"
#include "CursorModel.h"

namespace vorn {

class NumberedGridModel : public CursorModel {
    Q_OBJECT
public:
    using CursorModel::CursorModel;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
};

} // namespace vorn
