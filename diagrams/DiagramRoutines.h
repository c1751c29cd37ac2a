#pragma once
// The diagram routines: panel, array and sheet layouts drawn to scale with
// dimension marks, the two-size cutting plan and tooling hole marks. They take
// plain argument records and an image and read no table; the callers gather
// the records from whatever row they show.

#include "Placement.h"

#include <QImage>
#include <QString>
#include <vector>

namespace vorn {

struct DiagramCanvas; // DrawingSurface.h: an image, or a painter on a vector device

// One layout view: a container (panel, array or sheet) with its pieces.
// Lengths are in the job's unit; the length is drawn horizontally.
struct LayoutDrawing {
    QString Kind;    // "Panel" (margins and spacing shown) or "Base" (hatched sheet)
    QString Pattern; // "N", "L" or "W"
    double ContainerL = 0;
    double ContainerW = 0;
    double MarginL = 0;
    double MarginW = 0;
    double PieceL = 0;
    double PieceW = 0;
    double Spacing = 0;
    int La = 0;
    int Wb = 0;
    int Lb = 0;
    int Wa = 0;
    int sLa = 0;
    int sWb = 0;
    // A layout beyond the block patterns (kind "Panel"): every board as
    // placed, drawn instead of the counts' blocks. Empty for a block layout.
    std::vector<Placement> Boards;
};

// A sheet cut into two panel sizes, each a single-orientation block.
struct TwoPanelCutting {
    double SheetL = 0;
    double SheetW = 0;
    double P1L = 0;
    double P1W = 0;
    double P2L = 0;
    double P2W = 0;
    int La1 = 0;
    int Wb1 = 0;
    int Lb1 = 0;
    int Wa1 = 0;
    int La2 = 0;
    int Wb2 = 0;
    int Lb2 = 0;
    int Wa2 = 0;
    QString Pattern; // "L" or "W"
};

// One tooling hole: centre measured from the container's top-left corner.
struct ToolingHole {
    int SerialNumber = 0;
    double Xcoordinate = 0;
    double Ycoordinate = 0;
    double Diameter = 0;
};

// Replaces the picture with the layout drawn to fit the image's size and
// returns the scale in pixels per length unit (0 when nothing could be drawn).
double DrawLayoutDiagram(const LayoutDrawing& args, QImage& image);
double DrawLayoutDiagram(const LayoutDrawing& args, const DiagramCanvas& canvas);

// Replaces the picture with the two-size cutting plan.
void DrawTwoPanelCutting(const TwoPanelCutting& args, QImage& image);
void DrawTwoPanelCutting(const TwoPanelCutting& args, const DiagramCanvas& canvas);

// Draws tooling holes over the layout just drawn into `image`; `Scale` is what
// DrawLayoutDiagram returned for the same container and kind. Only kind
// "Panel" carries holes. The holes are drawn in the order given.
void DrawToolingMarks(QImage& image, double ContainerL, double ContainerW, const QString& Kind,
                      double Scale, const std::vector<ToolingHole>& holes);
void DrawToolingMarks(const DiagramCanvas& canvas, double ContainerL, double ContainerW,
                      const QString& Kind, double Scale, const std::vector<ToolingHole>& holes);
// The same for the saved holes of a part (the diagram window's row source).
void DrawSavedToolingMarks(QImage& image, double ContainerL, double ContainerW, const QString& Kind,
                           double Scale, const std::vector<ToolingHole>& holes);

// Writes the picture; the format follows the name: PNG for ".png", JPEG for
// ".jpg"/".jpeg", a bitmap for anything else. On failure returns false and
// sets `error` when given.
bool SavePicture(const QImage& image, const QString& fileName, QString* error = nullptr);

// True when the name's suffix picks a picture format: ".bmp", ".png", ".jpg",
// ".jpeg" (pixels, SavePicture) or ".svg", ".pdf" (vectors, VectorPicture.h).
bool IsPictureName(const QString& fileName);

} // namespace vorn
