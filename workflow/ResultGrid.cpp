#include "ResultGrid.h"

#include "Cursor.h"
#include "CursorModel.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <algorithm>
#include <iterator>

namespace vorn {

namespace {

// Paints each cell in its column's colour.
class ColumnColourDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.column() < 0 || index.column() >= int(std::size(kResultColumns)))
            return;
        const QPalette& pal = option->palette;
        switch (kResultColumns[index.column()].colour) {
        case ColumnColour::Face:
            option->backgroundBrush = pal.color(QPalette::Midlight);
            break;
        case ColumnColour::Menu:
            option->backgroundBrush = pal.color(QPalette::Window);
            break;
        case ColumnColour::Grid:
            break;
        }
    }
};

} // namespace

void SetColumnWidth(QTableView* grid, int column, int width) {
    const QHeaderView* header = grid->horizontalHeader();
    int title = 0;
    if (grid->model()) {
        const QString text = grid->model()->headerData(column, Qt::Horizontal).toString();
        const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
        title = header->fontMetrics().horizontalAdvance(text) + 2 * margin + 2;
    }
    grid->setColumnWidth(column, std::max({width, title, ColumnContentWidth(grid, column)}));
}

void ApplyResultColumnWidths(QTableView* grid) {
    for (int i = 0; i < int(std::size(kResultColumns)); ++i)
        SetColumnWidth(grid, i, kResultColumns[i].width);
}

void SetUpResultGrid(QTableView* grid) {
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    grid->horizontalHeader()->setHighlightSections(false);
    grid->verticalHeader()->setDefaultSectionSize(20);
    grid->verticalHeader()->setVisible(false);
    QPalette pal = grid->palette();
    pal.setColor(QPalette::Base, pal.color(QPalette::ToolTipBase));
    grid->setPalette(pal);
    grid->setItemDelegate(new ColumnColourDelegate(grid));

    auto* titles = new QStandardItemModel(0, int(std::size(kResultColumns)), grid);
    for (int i = 0; i < int(std::size(kResultColumns)); ++i)
        titles->setHeaderData(i, Qt::Horizontal,
                              QCoreApplication::translate("ResultGrid", kResultColumns[i].title));
    grid->setModel(titles);
    ApplyResultColumnWidths(grid);
}

} // namespace vorn
