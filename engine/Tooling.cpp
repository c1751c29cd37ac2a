#include "Tooling.h"

#include "Tolerance.h"

#include <algorithm>

namespace vorn {

std::optional<HoleCentre> PlaceHole(const std::string& reference, double L, double W, double E,
                                    double O) {
    // At an "Edge" reference a negative offset counts from the far end.
    const double alongL = O >= 0 ? O : L + O;
    const double alongW = O >= 0 ? O : W + O;
    if (reference == "Top_Edge")
        return HoleCentre{alongL, E};
    if (reference == "Top_Center")
        return HoleCentre{L / 2 + O, E};
    if (reference == "Bottom_Edge")
        return HoleCentre{alongL, W - E};
    if (reference == "Bottom_Center")
        return HoleCentre{L / 2 + O, W - E};
    if (reference == "Left_Edge")
        return HoleCentre{E, alongW};
    if (reference == "Left_Center")
        return HoleCentre{E, W / 2 + O};
    if (reference == "Right_Edge")
        return HoleCentre{L - E, alongW};
    if (reference == "Right_Center")
        return HoleCentre{L - E, W / 2 + O};
    return std::nullopt;
}

bool ToolingOutlines::Panel1Valid() const {
    return PanelGood(Set_L, Set_W, Panel_L, Panel_W, Panel, Panel_lv);
}
bool ToolingOutlines::Panel2Valid() const {
    return PanelGood(Set_L, Set_W, Panel_L2, Panel_W2, Panel2, Panel_lv2);
}
bool ToolingOutlines::ArrayValid() const {
    return PanelGood(Part_L, Part_W, Set_L, Set_W, PanelCu, Panel_lvCu);
}

namespace {

void AddHoles(std::vector<PlacedHole>& out, const char* type,
              const std::vector<ToolingPreset>& presets, double L, double W, double factor) {
    std::vector<PlacedHole> holes;
    for (const ToolingPreset& p : presets) {
        PlacedHole h;
        h.PanelType = type;
        h.Diameter = p.Diameter * factor;
        const auto c = PlaceHole(p.Level_Edge, L, W, p.EdgeSize * factor, p.OtherSize * factor);
        if (c) {
            h.Xcoordinate = c->X;
            h.Ycoordinate = c->Y;
        }
        // On the outline is inside; an empty coordinate counts as 0.
        const double x = h.Xcoordinate.value_or(0), y = h.Ycoordinate.value_or(0);
        if (!TolGe(x, 0) || !TolLe(x, L) || !TolGe(y, 0) || !TolLe(y, W))
            continue;
        holes.push_back(std::move(h));
    }
    // By Y, then X; equal positions keep the preset order.
    std::stable_sort(holes.begin(), holes.end(), [](const PlacedHole& a, const PlacedHole& b) {
        const double ay = a.Ycoordinate.value_or(0), by = b.Ycoordinate.value_or(0);
        if (ay != by)
            return ay < by;
        return a.Xcoordinate.value_or(0) < b.Xcoordinate.value_or(0);
    });
    int n = 0;
    for (PlacedHole& h : holes) {
        h.SerialNumber = ++n;
        out.push_back(std::move(h));
    }
}

} // namespace

std::vector<PlacedHole> ComputeToolingHoles(const std::vector<ToolingPreset>& panelPresets,
                                            const std::vector<ToolingPreset>& arrayPresets,
                                            const ToolingOutlines& job, double unitFactor) {
    std::vector<PlacedHole> out;
    AddHoles(out, "Panel1", panelPresets, job.Panel_L, job.Panel_W, unitFactor);
    if (job.Panel2Valid())
        AddHoles(out, "Panel2", panelPresets, job.Panel_L2, job.Panel_W2, unitFactor);
    if (job.ArrayValid())
        AddHoles(out, "Array", arrayPresets, job.Set_L, job.Set_W, unitFactor);
    return out;
}

} // namespace vorn
