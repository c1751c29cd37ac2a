#pragma once
// Tooling holes: registration holes placed in the border of a panel or an
// array from presets, each relative to one edge or to the middle of one edge.
// Values in, holes out, so the window, the report and the batch tool place
// the same holes.

#include <optional>
#include <string>
#include <vector>

namespace vorn {

// One preset as `SetTooling` holds it (inches).
struct ToolingPreset {
    std::string Level_Edge; // "Top_Edge", "Left_Center", ...; anything else places nothing
    double EdgeSize = 0;    // distance of the centre from the reference edge
    double OtherSize = 0;   // along the edge: from its start (>= 0) or end (< 0); from the
                            // middle, signed, at a "Center" reference
    double Diameter = 0;
};

// One hole of `TempTooling`: coordinates from the outline's top-left corner,
// X along its length, Y along its width. A preset without a known reference
// leaves them empty.
struct PlacedHole {
    std::string PanelType; // "Panel1", "Panel2" or "Array"
    int SerialNumber = 0;
    std::optional<double> Xcoordinate, Ycoordinate;
    double Diameter = 0;
};

// The centre of a preset's hole on an L x W outline, all in one unit; empty
// for an unknown reference.
struct HoleCentre {
    double X = 0, Y = 0;
};
std::optional<HoleCentre> PlaceHole(const std::string& reference, double L, double W, double E,
                                    double O);

// The job's outlines as the job record holds them (display unit).
struct ToolingOutlines {
    double Set_L = 0, Set_W = 0;
    double Panel_L = 0, Panel_W = 0, Panel = 0, Panel_lv = 0;
    double Panel_L2 = 0, Panel_W2 = 0, Panel2 = 0, Panel_lv2 = 0;
    double Part_L = 0, Part_W = 0, PanelCu = 0, Panel_lvCu = 0;

    bool Panel1Valid() const;
    bool Panel2Valid() const;
    bool ArrayValid() const;
};

// Holes of panel 1 (always), panel 2 and the array (each when its layout is
// valid), in the display unit: the presets (inches, each list in SerialNumber
// order) are multiplied by `unitFactor` (25.4 for millimetres) for the
// computation. A hole outside its outline is left out; on the outline counts
// as inside, compared with the program's tolerance. Holes are numbered per
// type by Y, then X (an empty coordinate counting as 0); the list comes out
// in that order, Panel1, Panel2, Array.
std::vector<PlacedHole> ComputeToolingHoles(const std::vector<ToolingPreset>& panelPresets,
                                            const std::vector<ToolingPreset>& arrayPresets,
                                            const ToolingOutlines& job, double unitFactor);

} // namespace vorn
