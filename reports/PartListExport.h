#pragma once
// The part list export: every saved part that SavedPartsQuery shows, in its
// current order and unit, with a summary of its saved tooling holes, as
// quoted comma-separated text or as a spreadsheet workbook (.xlsx).

#include <QCoreApplication>
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace vorn {

class TDataM1;

enum class PartListFormat { Text, Workbook };

// The query's columns written for each part, in order; the tooling summary
// follows them.
inline constexpr const char* kPartListColumns[] = {
    "Part_number", "Customer_Part", "Layer",     "Employee",   "Part_L",    "Part_W",   "Part_C",
    "SetBorder_L", "SetBorder_W",   "PanelCu",   "Panel_lvCu", "Set_L",     "Set_W",    "Set_C",
    "Panel_L",     "Panel_W",       "Border_L",  "Border_W",   "Panel",     "Panel_lv", "Panel_L2",
    "Panel_W2",    "Border_L2",     "Border_W2", "Panel2",     "Panel_lv2", "Base_L",   "Base_W",
    "Panel_N",     "Base_lv",       "Date",      "Time"};
static_assert(std::size(kPartListColumns) == 32);

// The export's caption line (the query window's caption).
inline QString PartListCaption() {
    return QCoreApplication::translate("PartList", "部件拼板查询");
}

// A file name's format: ".xlsx" a workbook, anything else text.
PartListFormat PartListFormatOf(const QString& path);

// Writes the list of the open SavedPartsQuery to `path`. `mm`: the query and
// the hole coordinates are in millimetres. The file is whole or untouched:
// on failure returns false with the reason in `error`. PartToolingQuery is
// closed while the list is read and left as it was (open or closed, its
// Type); SavedPartsQuery ends on its first row.
bool ExportPartList(TDataM1& dm, const QString& path, PartListFormat format, bool mm,
                    const QDateTime& now, QString* error);

} // namespace vorn
