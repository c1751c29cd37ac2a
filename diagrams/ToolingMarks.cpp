// Tooling holes drawn over a panel or array layout.

#include "DiagramGeometry.h"
#include "DiagramRoutines.h"

namespace vorn {

void DrawToolingMarks(QImage& image, double ContainerL, double ContainerW, const QString& Kind,
                      double Scale, const std::vector<ToolingHole>& holes) {
    DrawToolingMarks(DiagramCanvas(image), ContainerL, ContainerW, Kind, Scale, holes);
}

void DrawToolingMarks(const DiagramCanvas& canvas, double ContainerL, double ContainerW,
                      const QString& Kind, double Scale, const std::vector<ToolingHole>& holes) {
    if (Kind != QLatin1String("Panel") || holes.empty() || (canvas.image && canvas.image->isNull()))
        return;
    if (!std::isfinite(Scale) || Scale <= 0 || !std::isfinite(ContainerL) ||
        !std::isfinite(ContainerW))
        return;
    DrawingSurface s(canvas);
    const double S = Scale;
    // Origin at the container's top-left corner as the layout placed it.
    const double ox = (s.Width() - ContainerL * S) / 2;
    const double oy = (s.Height() - ContainerW * S) / 2;
    const int th = s.TextHeight(QStringLiteral("6"));
    for (const ToolingHole& h : holes) {
        if (!std::isfinite(h.Xcoordinate) || !std::isfinite(h.Ycoordinate) ||
            !std::isfinite(h.Diameter) || h.Diameter < 0)
            continue; // a hole that cannot be placed is left out, not guessed
        const double X = h.Xcoordinate, Y = h.Ycoordinate, r = h.Diameter / 2;
        s.SetFillColor(Qt::black);
        s.SetFillStyle(DrawingSurface::FillStyle::Solid);
        s.Ellipse(Rnd((X - r) * S + ox) - 1, Rnd((Y - r) * S + oy) - 1, Rnd((X + r) * S + ox) + 1,
                  Rnd((Y + r) * S + oy) + 1);
        s.SetFillStyle(DrawingSurface::FillStyle::Clear);
        s.Text(Rnd((X + r) * S + ox), Rnd(Y * S + oy - th), QString::number(h.SerialNumber));
    }
}

void DrawSavedToolingMarks(QImage& image, double ContainerL, double ContainerW, const QString& Kind,
                           double Scale, const std::vector<ToolingHole>& holes) {
    DrawToolingMarks(image, ContainerL, ContainerW, Kind, Scale, holes);
}

} // namespace vorn
