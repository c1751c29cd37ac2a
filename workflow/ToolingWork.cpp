#include "ToolingWork.h"

#include "DataModule.h"
#include "PanelJob.h"

namespace vorn {

namespace {

// Filter and open state of a table, put back when the reader is done.
class KeptView {
public:
    explicit KeptView(Cursor& c)
        : m_c(c), m_open(c.isOpen()), m_filter(c.filter()), m_filtered(c.filtered()) {}
    ~KeptView() {
        try {
            if (!m_open)
                m_c.close();
            m_c.setFilter(m_filter);
            m_c.setFiltered(m_filtered);
        } catch (...) {
        }
    }

private:
    Cursor& m_c;
    bool m_open;
    QString m_filter;
    bool m_filtered;
};

} // namespace

std::vector<ToolingPreset> ReadToolingPresets(Cursor& SetTooling, const QString& type) {
    std::vector<ToolingPreset> out;
    KeptView kept(SetTooling);
    SetTooling.setFilter(QStringLiteral("Type='%1'").arg(type));
    SetTooling.setFiltered(true);
    if (!SetTooling.isOpen())
        SetTooling.open();
    const int n = SetTooling.fieldIndex(QStringLiteral("SerialNumber"));
    const int ref = SetTooling.fieldIndex(QStringLiteral("Level_Edge"));
    const int e = SetTooling.fieldIndex(QStringLiteral("EdgeSize"));
    const int o = SetTooling.fieldIndex(QStringLiteral("OtherSize"));
    const int d = SetTooling.fieldIndex(QStringLiteral("Diameter"));
    std::vector<std::pair<int, ToolingPreset>> rows;
    for (int r = 0; r < SetTooling.recordCount(); ++r) {
        ToolingPreset p;
        p.Level_Edge = SetTooling.valueAt(r, ref).toString().toStdString();
        p.EdgeSize = SetTooling.valueAt(r, e).toDouble();
        p.OtherSize = SetTooling.valueAt(r, o).toDouble();
        p.Diameter = SetTooling.valueAt(r, d).toDouble();
        rows.push_back({SetTooling.valueAt(r, n).toInt(), std::move(p)});
    }
    // The table may be shown in another order by its window.
    std::stable_sort(rows.begin(), rows.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& [number, p] : rows)
        out.push_back(std::move(p));
    return out;
}

ToolingOutlines OutlinesOf(const RowReader& job) {
    ToolingOutlines o;
    o.Set_L = job("Set_L");
    o.Set_W = job("Set_W");
    o.Panel_L = job("Panel_L");
    o.Panel_W = job("Panel_W");
    o.Panel = job("Panel");
    o.Panel_lv = job("Panel_lv");
    o.Panel_L2 = job("Panel_L2");
    o.Panel_W2 = job("Panel_W2");
    o.Panel2 = job("Panel2");
    o.Panel_lv2 = job("Panel_lv2");
    o.Part_L = job("Part_L");
    o.Part_W = job("Part_W");
    o.PanelCu = job("PanelCu");
    o.Panel_lvCu = job("Panel_lvCu");
    return o;
}

std::vector<PlacedHole> StoreToolingHoles(TDataM1& dm, bool mm) {
    const Cursor& job = dm.TempInput;
    const ToolingOutlines outlines = OutlinesOf(
        [&job](const char* f) { return job.isOpen() ? job.asDouble(QString::fromLatin1(f)) : 0; });
    const std::vector<ToolingPreset> panel = ReadToolingPresets(dm.SetTooling, "Panel");
    const std::vector<ToolingPreset> array = outlines.ArrayValid()
                                                 ? ReadToolingPresets(dm.SetTooling, "Array")
                                                 : std::vector<ToolingPreset>{};
    const std::vector<PlacedHole> holes =
        ComputeToolingHoles(panel, array, outlines, mm ? kMillimetresPerInch : 1.0);

    Cursor& t = dm.TempTooling;
    dm.setInsertMode(TDataM1::Numbered::TempTooling, QString());
    t.close(); // empties the working table
    const QString filter = t.filter();
    t.setFilter(QString());
    t.setSort(QString());
    t.open();
    t.disableControls();
    try {
        const int type = t.fieldIndex(QStringLiteral("PanelType"));
        const int n = t.fieldIndex(QStringLiteral("SerialNumber"));
        const int x = t.fieldIndex(QStringLiteral("Xcoordinate"));
        const int y = t.fieldIndex(QStringLiteral("Ycoordinate"));
        const int d = t.fieldIndex(QStringLiteral("Diameter"));
        for (const PlacedHole& h : holes) {
            t.append();
            t.setValue(type, QString::fromStdString(h.PanelType));
            t.setNumber(n, h.SerialNumber);
            t.setValue(x, h.Xcoordinate ? QVariant(*h.Xcoordinate) : QVariant());
            t.setValue(y, h.Ycoordinate ? QVariant(*h.Ycoordinate) : QVariant());
            t.setNumber(d, h.Diameter);
            t.post();
        }
        t.setSort(QStringLiteral("SerialNumber"));
        t.setFilter(filter);
        t.first();
    } catch (...) {
        t.setSort(QStringLiteral("SerialNumber"));
        t.setFilter(filter);
        t.enableControls();
        throw;
    }
    dm.setInsertMode(TDataM1::Numbered::TempTooling, QString());
    t.enableControls();
    return holes;
}

QString ToolingTypeOfFilter(const QString& filter) {
    for (const char* type : {"Panel1", "Panel2", "Array"})
        if (filter == QStringLiteral("PanelType='%1'").arg(QLatin1String(type)))
            return QString::fromLatin1(type);
    return {};
}

bool ToolingTypeValid(const ToolingOutlines& job, const QString& type) {
    if (type == u"Panel1")
        return job.Panel1Valid();
    if (type == u"Panel2")
        return job.Panel2Valid();
    if (type == u"Array")
        return job.ArrayValid();
    return false;
}

} // namespace vorn
