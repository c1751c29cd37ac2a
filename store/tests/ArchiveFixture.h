#pragma once
// A plan worth keeping, for the archive's tests: two panel sizes, an array,
// and tooling holes of all three panel types, in either display unit.

#include "Cursor.h"
#include "DataModule.h"
#include "PartsArchive.h"

#include <QStringList>

#include <utility>
#include <vector>

namespace vorn::test {

// The job columns of the plan, lengths in inches; the utilizations agree
// with the sizes, so the plan is one the main window accepts.
inline std::vector<std::pair<const char*, QVariant>> PlanColumns() {
    std::vector<std::pair<const char*, QVariant>> columns{
        {"Layer", 6},         {"Part_L", 1.25},      {"Part_W", 0.75},    {"Part_C", 0.1},
        {"SetBorder_L", 0.2}, {"SetBorder_W", 0.15}, {"Part_La", 3},      {"Part_Wb", 2},
        {"Part_Lb", 0},       {"Part_Wa", 0},        {"PanelCu", 6},      {"Panel_lvCu", 71.7},
        {"Set_L", 4.2},       {"Set_W", 2.8},        {"Set_C", 0.1},      {"Panel_L", 18.3},
        {"Panel_W", 12.7},    {"Border_L", 0.45},    {"Border_W", 0.55},  {"Set_La", 4},
        {"Set_Wb", 4},        {"Set_Lb", 0},         {"Set_Wa", 0},       {"Set_sLa", 0},
        {"Set_sWb", 0},       {"Up", "N"},           {"Panel", 16},       {"Panel_lv", 80.123},
        {"Panel_L2", 20.1},   {"Panel_W2", 10.3},    {"Border_L2", 0.35}, {"Border_W2", 0.25},
        {"Set_La2", 4},       {"Set_Wb2", 3},        {"Set_Lb2", 0},      {"Set_Wa2", 0},
        {"Set_sLa2", 0},      {"Set_sWb2", 0},       {"Up2", "N"},        {"Panel2", 12},
        {"Panel_lv2", 68.25}, {"P_La", 2},           {"P_Wb", 1},         {"P_Lb", 0},
        {"P_Wa", 0},          {"P_sLa", 0},          {"P_sWb", 0},        {"P_La2", 1},
        {"P_Wb2", 2},         {"P_Lb2", 0},          {"P_Wa2", 0},        {"P_up", "L"},
        {"Panel_N", 3},       {"Base_L", 48.0},      {"Base_W", 42.0},    {"Base_lv", 85.512}};
    for (auto& [column, value] : columns) {
        if (qstrcmp(column, "Panel_lv") == 0)
            value = 4.2 * 2.8 * 16 * 100 / (18.3 * 12.7);
        else if (qstrcmp(column, "Panel_lv2") == 0)
            value = 4.2 * 2.8 * 12 * 100 / (20.1 * 10.3);
        else if (qstrcmp(column, "Panel_lvCu") == 0)
            value = 1.25 * 0.75 * 6 * 100 / (4.2 * 2.8);
    }
    return columns;
}

inline bool IsLength(const char* column) {
    for (const char* c : kPartLengthColumns)
        if (qstrcmp(c, column) == 0)
            return true;
    return false;
}

inline double UnitOf(bool mm) {
    return mm ? 25.4 : 1.0;
}

// The job row holds the plan, shown in mm or inches.
inline void PutPlan(TDataM1& dm, bool mm) {
    Cursor& job = dm.TempInput;
    if (!job.isOpen()) {
        job.open();
        job.append();
        job.post();
    }
    job.edit();
    for (const auto& [column, value] : PlanColumns())
        job.setValue(QString::fromLatin1(column),
                     IsLength(column) ? QVariant(value.toDouble() * UnitOf(mm)) : value);
    job.post();
}

// `count` holes per panel type, inches given, shown in the display unit.
inline std::vector<SavedHole> PlanHoles(int count) {
    std::vector<SavedHole> holes;
    const char* types[] = {"Panel1", "Panel2", "Array"};
    for (int t = 0; t < 3; ++t)
        for (int n = 1; n <= count; ++n)
            holes.push_back({QString::fromLatin1(types[t]), n, 0.3 + 1.7 * n + t * 0.01,
                             0.25 + 0.1 * n, 0.125 + 0.001 * t});
    return holes;
}

// The working tooling table holds these holes (in the display unit), shown
// with the given filter; an empty list closes it.
inline void PutHoles(TDataM1& dm, const std::vector<SavedHole>& holes, bool mm,
                     const QString& filter = QStringLiteral("PanelType='Panel2'")) {
    Cursor& t = dm.TempTooling;
    t.close();
    if (holes.empty())
        return;
    t.setFilter(QString());
    t.open();
    for (const SavedHole& h : holes) {
        dm.setInsertMode(TDataM1::Numbered::TempTooling, QString());
        t.append();
        t.setValue("PanelType", h.panelType);
        t.setValue("SerialNumber", h.serialNumber);
        t.setValue("Xcoordinate", h.x * UnitOf(mm));
        t.setValue("Ycoordinate", h.y * UnitOf(mm));
        t.setValue("Diameter", h.diameter * UnitOf(mm));
        t.post();
    }
    t.setFilter(filter);
}

// Saves the plan and holes under `number` (the job is in inches).
inline std::optional<int> SavePlan(TDataM1& dm, const QString& number, const QString& customer,
                                   int holesPerType = 2, bool overwrite = true) {
    PutPlan(dm, false);
    PutHoles(dm, PlanHoles(holesPerType), false);
    PartRecord r = JobPartRecord(dm, false);
    r.partNumber = number;
    r.customerPart = customer;
    r.employee = QStringLiteral("LI");
    r.note = QStringLiteral("note of ") + number;
    return SavePart(dm, r, QDateTime(QDate(2026, 3, 4), QTime(9, 5, 7)),
                    [overwrite] { return overwrite; });
}

// Every stored row of a table, as text, in ID order: the archive before and after.
inline QStringList Dump(TDataM1& dm, const QString& table) {
    Cursor c(dm.connection(), QStringLiteral("Dump"), Cursor::Policy::ReadOnly);
    c.setSql({QStringLiteral("select * from %1 order by ID").arg(table)});
    c.open();
    QStringList rows;
    for (int r = 0; r < c.recordCount(); ++r) {
        QStringList cells;
        for (int f = 0; f < c.fieldCount(); ++f)
            cells << c.valueAt(r, f).toString();
        rows << cells.join(u'|');
    }
    return rows;
}

inline QStringList Archive(TDataM1& dm) {
    return Dump(dm, QStringLiteral("data0004")) + QStringList{QStringLiteral("--")} +
           Dump(dm, QStringLiteral("Data0005"));
}

} // namespace vorn::test
