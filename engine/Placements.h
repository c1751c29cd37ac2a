#pragma once
// Where every piece of a layout sits: boards in a panel, units in an array,
// panels on a sheet. One list of placements serves the diagrams' agreement
// tests, the DXF drawing and the placement list, and the best-packing solver
// hands over the same list, so a picture and a file never disagree.

#include "Layout.h"
#include "Placement.h"

#include <vector>

namespace vorn {

// A block layout in its container: the six counts and pattern letter of
// the routine, an upright piece pieceL x pieceW (pieceL along the container
// length), the gap and the margins as the plan row holds them.
struct BlockLayout {
    Layout layout;
    double pieceL = 0, pieceW = 0;
    double gap = 0;
    double marginL = 0, marginW = 0;
    double containerL = 0, containerW = 0;
    // Boards in a panel and units in an array: the blocks of a mixed layout
    // are centred across the container. Panels on a sheet: false, every
    // block starts at the sheet's edge.
    bool centred = true;
};

// The pieces where the layout diagram draws them, in its drawing order
// (block by block). Pattern 'N' holds one block (none when both are given);
// any other letter, a negative count, a length that is negative or not
// finite, or more than a million pieces places nothing.
std::vector<Placement> PlaceBlocks(const BlockLayout& b);

// A sheet cut into two panel sizes, each one single-orientation block:
// pattern 'L' side by side, 'W' one above the other (from the sheet's
// top-left corner, as the cutting diagram draws them).
struct TwoSizeCut {
    double sheetL = 0, sheetW = 0;
    double panel1L = 0, panel1W = 0, panel2L = 0, panel2W = 0;
    int La1 = 0, Wb1 = 0, Lb1 = 0, Wa1 = 0;
    int La2 = 0, Wb2 = 0, Lb2 = 0, Wa2 = 0;
    char pattern = 'L';
};
struct TwoSizePlacements {
    std::vector<Placement> panel1, panel2;
};
// Both blocks empty when the counts fit none of the diagram's cases.
TwoSizePlacements PlaceTwoSizes(const TwoSizeCut& c);

// The order in which lists number the pieces: lower-left first, by y, then x.
std::vector<Placement> InListOrder(std::vector<Placement> pieces);

} // namespace vorn
