#include "PlanWork.h"

#include "DataModule.h"

namespace vorn {

std::vector<SheetSize> EnabledSheetSizes(Cursor& sheets) {
    const bool wasOpen = sheets.isOpen();
    const QString filter = sheets.filter();
    const bool filtered = sheets.filtered();
    sheets.setFilter(QStringLiteral("Enbled=True"));
    sheets.setFiltered(true);
    if (!wasOpen)
        sheets.open();
    std::vector<SheetSize> out;
    const int l = sheets.fieldIndex(QStringLiteral("Base_L"));
    const int w = sheets.fieldIndex(QStringLiteral("Base_W"));
    for (int r = 0; r < sheets.recordCount(); ++r)
        out.push_back({sheets.valueAt(r, l).toDouble(), sheets.valueAt(r, w).toDouble()});
    if (!wasOpen)
        sheets.close();
    sheets.setFilter(filter);
    sheets.setFiltered(filtered);
    return out;
}

GivenPanelJob GivenPanelJobOf(const Cursor& job, bool bothPanel, bool bothBase) {
    auto n = [&job](const char* f) { return job.asDouble(QString::fromLatin1(f)); };
    GivenPanelJob in;
    in.Set_L = n("Set_L");
    in.Set_W = n("Set_W");
    in.Set_C = n("Set_C");
    in.BorderX_L = n("BorderX_L");
    in.BorderX_W = n("BorderX_W");
    in.Panel_L = n("Panel_L");
    in.Panel_W = n("Panel_W");
    in.BothPanel = bothPanel;
    in.BothBase = bothBase;
    return in;
}

GivenArrayJob GivenArrayJobOf(const Cursor& array) {
    auto n = [&array](const char* f) { return array.asDouble(QString::fromLatin1(f)); };
    return {n("Part_L"),      n("Part_W"), n("Part_C"), n("SetBorder_L"),
            n("SetBorder_W"), n("Set_L"),  n("Set_W")};
}

namespace {

void Set(Cursor& c, const char* field, const QVariant& value) {
    c.setValue(QString::fromLatin1(field), value);
}
QString Letter(char c) {
    return QString(QChar::fromLatin1(c));
}

} // namespace

void ClearSecondPanel(Cursor& job) {
    job.edit();
    for (const char* f : {"Set_La2", "Set_Wb2", "Set_Lb2", "Set_Wa2", "Set_sLa2", "Set_sWb2",
                          "Panel2", "P_La2", "P_Wb2", "P_Lb2", "P_Wa2"})
        Set(job, f, 0);
    for (const char* f : {"Panel_L2", "Panel_W2", "Border_L2", "Border_W2", "Panel_lv2"})
        Set(job, f, 0.0);
    Set(job, "Up2", QVariant());
}

void WriteGivenPanelPlan(Cursor& job, const ResultRow& r) {
    job.edit();
    Set(job, "Set_La", r.Set_La);
    Set(job, "Set_Lb", r.Set_Lb);
    Set(job, "Set_Wa", r.Set_Wa);
    Set(job, "Set_Wb", r.Set_Wb);
    Set(job, "Set_sLa", r.Set_sLa);
    Set(job, "Set_sWb", r.Set_sWb);
    Set(job, "Up", Letter(r.Up));
    Set(job, "Panel", r.Panel);
    Set(job, "Panel_lv", r.Panel_lv);
    Set(job, "Set_L", r.Set_L);
    Set(job, "Set_W", r.Set_W);
    Set(job, "Set_C", r.Set_C);
    Set(job, "Panel_L", r.Panel_L);
    Set(job, "Panel_W", r.Panel_W);
    Set(job, "Border_L", r.Border_L);
    Set(job, "Border_W", r.Border_W);
    Set(job, "P_La", r.P_La);
    Set(job, "P_Wb", r.P_Wb);
    Set(job, "P_Lb", r.P_Lb);
    Set(job, "P_Wa", r.P_Wa);
    Set(job, "P_sLa", r.P_sLa.value_or(0));
    Set(job, "P_sWb", r.P_sWb.value_or(0));
    Set(job, "P_up", Letter(r.P_up));
    Set(job, "Panel_N", r.Panel_N);
    Set(job, "Base_L", r.Base_L);
    Set(job, "Base_W", r.Base_W);
    Set(job, "Base_lv", r.Base_lv);
    job.post();
}

void WriteGivenArrayPlan(Cursor& array, const ArrayRow& r) {
    array.edit();
    Set(array, "Part_L", r.Part_L);
    Set(array, "Part_W", r.Part_W);
    Set(array, "Part_C", r.Part_C);
    Set(array, "SetBorder_L", r.SetBorder_L);
    Set(array, "SetBorder_W", r.SetBorder_W);
    Set(array, "Set_L", r.Set_L);
    Set(array, "Set_W", r.Set_W);
    Set(array, "Part_La", r.Part_La);
    Set(array, "Part_Wb", r.Part_Wb);
    Set(array, "Part_Lb", r.Part_Lb);
    Set(array, "Part_Wa", r.Part_Wa);
    Set(array, "Panel", r.Panel);
    Set(array, "Panel_lv", r.Panel_lv);
}

namespace {

// Field indices of one panel's six columns.
struct PanelColumns {
    int L, W, BL, BW, count, lv;
    PanelColumns(const Cursor& c, bool second) {
        auto f = [&](const char* name) {
            return c.fieldIndex(QString::fromLatin1(name) +
                                (second ? QStringLiteral("2") : QString()));
        };
        L = f("Panel_L");
        W = f("Panel_W");
        BL = f("Border_L");
        BW = f("Border_W");
        count = f("Panel");
        lv = f("Panel_lv");
    }
};

double Number(const Cursor& c, int field) {
    const QVariant v = c.value(field);
    return v.isNull() ? 0.0 : v.toDouble();
}

// Shrinks one panel of the current row; the row is put into edit state only
// when something changes.
bool ShrinkRowPanel(Cursor& c, const PanelColumns& p, int setL, int setW, double xl, double xw) {
    PanelBorders b{Number(c, p.L),  Number(c, p.W),     Number(c, p.BL),
                   Number(c, p.BW), Number(c, p.count), Number(c, p.lv)};
    if (!ShrinkToMinimumBorders(b, Number(c, setL), Number(c, setW), xl, xw))
        return false;
    if (c.state() == Cursor::State::Browse)
        c.edit();
    c.setNumber(p.L, b.Panel_L);
    c.setNumber(p.W, b.Panel_W);
    c.setNumber(p.BL, b.Border_L);
    c.setNumber(p.BW, b.Border_W);
    c.setNumber(p.lv, b.Panel_lv);
    return true;
}

} // namespace

bool MinimizeJobBorders(Cursor& job) {
    const double xl = job.asDouble(QStringLiteral("BorderX_L"));
    const double xw = job.asDouble(QStringLiteral("BorderX_W"));
    const int setL = job.fieldIndex(QStringLiteral("Set_L"));
    const int setW = job.fieldIndex(QStringLiteral("Set_W"));
    bool changed = ShrinkRowPanel(job, PanelColumns(job, false), setL, setW, xl, xw);
    // Tested whether or not the job has a second panel: without one its
    // margins are zero and nothing happens.
    changed |= ShrinkRowPanel(job, PanelColumns(job, true), setL, setW, xl, xw);
    if (changed)
        job.post();
    return changed;
}

int MinimizeCandidateBorders(Cursor& results, const Cursor& job) {
    if (!results.isOpen() || results.isEmpty())
        return 0;
    const double xl = job.asDouble(QStringLiteral("BorderX_L"));
    const double xw = job.asDouble(QStringLiteral("BorderX_W"));
    const PanelColumns one(results, false), two(results, true);
    const int setL = results.fieldIndex(QStringLiteral("Set_L"));
    const int setW = results.fieldIndex(QStringLiteral("Set_W"));
    int changed = 0;
    results.disableControls();
    try {
        results.first();
        while (!results.eof()) {
            bool row = ShrinkRowPanel(results, one, setL, setW, xl, xw);
            row |= ShrinkRowPanel(results, two, setL, setW, xl, xw);
            if (row) {
                results.post();
                ++changed;
            }
            results.next();
        }
        results.first();
    } catch (...) {
        results.enableControls();
        throw;
    }
    results.enableControls();
    return changed;
}

} // namespace vorn
