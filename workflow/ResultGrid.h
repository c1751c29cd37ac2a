#pragma once
// The result grid under the diagram: its columns on the main tabs.

#include <QCoreApplication>

class QTableView;

namespace vorn {

enum class ColumnColour { Face, Grid, Menu };

struct ResultColumn {
    const char* field;
    const char* title;
    int width;
    ColumnColour colour;
};

// Columns 5-8 are those of the second panel.
inline constexpr ResultColumn kResultColumns[] = {
    {"Number", QT_TRANSLATE_NOOP("ResultGrid", "序号"), 24, ColumnColour::Face},
    {"Panel1size", QT_TRANSLATE_NOOP("ResultGrid", "坯板1尺寸"), 95, ColumnColour::Grid},
    {"Panel1bian", QT_TRANSLATE_NOOP("ResultGrid", "边距(左右/上下)"), 95, ColumnColour::Grid},
    {"Panel", QT_TRANSLATE_NOOP("ResultGrid", "拼板数"), 45, ColumnColour::Grid},
    {"Panel_lv", QT_TRANSLATE_NOOP("ResultGrid", "拼版利用率"), 65, ColumnColour::Grid},
    {"Panel2size", QT_TRANSLATE_NOOP("ResultGrid", "坯板2尺寸"), 90, ColumnColour::Menu},
    {"Panel2bian", QT_TRANSLATE_NOOP("ResultGrid", "边距(左右/上下)"), 90, ColumnColour::Menu},
    {"Panel2", QT_TRANSLATE_NOOP("ResultGrid", "拼板数"), 27, ColumnColour::Menu},
    {"Panel_lv2", QT_TRANSLATE_NOOP("ResultGrid", "拼板利用率"), 58, ColumnColour::Menu},
    {"Basesize", QT_TRANSLATE_NOOP("ResultGrid", "板材尺寸"), 76, ColumnColour::Grid},
    {"Panel_N", QT_TRANSLATE_NOOP("ResultGrid", "开料数"), 38, ColumnColour::Grid},
    {"Base_lv", QT_TRANSLATE_NOOP("ResultGrid", "板材利用率"), 60, ColumnColour::Grid},
};

// Read-only, whole-row multi-selection, tooltip-coloured, resizable columns,
// each column painted in its colour. Until the result table is attached the
// grid shows the column titles over no rows.
void SetUpResultGrid(QTableView* grid);
// Widths of the table above.
void ApplyResultColumnWidths(QTableView* grid);
// A column's width: `width` pixels, or wider where its title or its shown
// texts need more in the grid's font (a clipped title reads as another word,
// a clipped size as another number).
void SetColumnWidth(QTableView* grid, int column, int width);

} // namespace vorn
