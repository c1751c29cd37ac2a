#include "DiagramGeometry.h"

#include <cstdio>

namespace vorn {

QString FormatDirect(double value) {
    // The C library's "%.3f" (QString::asprintf rounds ties differently).
    char text[64];
    std::snprintf(text, sizeof text, "%.3f", value);
    return QString::fromLatin1(text);
}

QString FormatLength(double value) {
    // Adding 0.0 turns a rounded -0 into 0 so that no label reads "-0.000".
    return FormatDirect(std::nearbyint(value * 1000.0) / 1000.0 + 0.0);
}

bool MakeFrame(int width, int height, double containerL, double containerW, Frame& f) {
    if (width <= 2 * kFrameBand || height <= 2 * kFrameBand)
        return false;
    if (!std::isfinite(containerL) || !std::isfinite(containerW) || containerL <= 0 ||
        containerW <= 0)
        return false;
    f.W = width;
    f.H = height;
    f.AW = width - 2 * kFrameBand;
    f.AH = height - 2 * kFrameBand;
    // Exact comparison: equal proportions fit the height.
    f.S = (f.AW / f.AH >= containerL / containerW) ? f.AH / containerW : f.AW / containerL;
    if (!std::isfinite(f.S) || f.S <= 0)
        return false;
    f.gx = (f.AW - containerL * f.S) / 2;
    f.gy = (f.AH - containerW * f.S) / 2;
    f.X0 = Rnd(f.gx) + kFrameBand;
    f.Y0 = Rnd(f.gy) + kFrameBand;
    f.Right = static_cast<int>(f.AW) - Rnd(f.gx) + kFrameBand;
    f.Bottom = static_cast<int>(f.AH) - Rnd(f.gy) + kFrameBand;
    return true;
}

void DrawOverallMarks(DrawingSurface& s, const Frame& f, double containerL, double containerW,
                      bool marginMarks, double marginL, double marginW) {
    const int X0 = f.X0, Y0 = f.Y0;
    const int R = X0 + Rnd(containerL * f.S);
    const int B = Y0 + Rnd(containerW * f.S);

    // Overall length, top band.
    s.Line(X0, Y0 - 5, X0, Y0 - 50);
    s.Line(R, Y0 - 5, R, Y0 - 50);
    s.Line(X0, Y0 - 42, R, Y0 - 42);
    s.Line(X0, Y0 - 43, X0 + 8, Y0 - 43);
    s.Line(R - 8, Y0 - 41, R, Y0 - 41);
    QString t = FormatLength(containerL);
    s.Text(Rnd(f.AW / 2) - Rnd(s.TextWidth(t) / 2.0) + 50, Y0 - 50, t);

    if (marginMarks) {
        // Length margin, right end of the bottom band, outside form.
        const int xm = static_cast<int>(f.AW) - Rnd(f.gx + marginL * f.S) + 50;
        s.Line(xm, B + 5, xm, B + 30);
        s.Line(R, B + 5, R, B + 30);
        s.Line(xm - 7, B + 26, xm, B + 26);
        s.Line(xm, B + 25, xm - 10, B + 25);
        s.Line(R, B + 25, R + 42, B + 25);
        s.Line(R, B + 24, R + 8, B + 24);
        s.Text(R + 8, B + 12, FormatLength(marginL));
    }

    // Overall width, left band.
    s.Line(X0 - 5, Y0, X0 - 50, Y0);
    s.Line(X0 - 5, B, X0 - 50, B);
    s.Line(X0 - 42, Y0, X0 - 42, B);
    s.Line(X0 - 41, Y0, X0 - 41, Y0 + 8);
    s.Line(X0 - 43, B, X0 - 43, B - 8);
    s.Text(X0 - 50, Rnd(f.AH / 2) + 56, FormatLength(containerW));

    if (marginMarks) {
        // Width margin, right band, outside form.
        const int yw = static_cast<int>(f.AH) - Rnd(f.gy + marginW * f.S) + 50;
        s.Line(R + 3, B, R + 15, B);
        s.Line(R + 3, yw, R + 15, yw);
        s.Line(R + 9, B, R + 9, B + 8);
        s.Line(R + 8, B, R + 8, B + 10);
        s.Line(R + 8, yw, R + 8, yw - 20);
        s.Line(R + 7, yw, R + 7, yw - 8);
        s.Text(R + 15, static_cast<int>(f.AH) - Rnd(f.gy + marginW * f.S / 2 + 6) + 50,
               FormatLength(marginW));
    }
}

void DrawContainer(DrawingSurface& s, const Frame& f, const QString& kind) {
    s.SetPenWidth(2);
    if (kind == QLatin1String("Panel")) {
        s.SetFillColor(kPanelGreen);
        s.SetFillStyle(DrawingSurface::FillStyle::Solid);
        s.Rectangle(f.X0, f.Y0, f.Right, f.Bottom);
    } else if (kind == QLatin1String("Base")) {
        s.SetFillColor(kSheetOrange);
        s.SetFillStyle(DrawingSurface::FillStyle::Solid);
        s.Rectangle(f.X0, f.Y0, f.Right, f.Bottom);
        s.SetFillColor(Qt::black);
        s.SetFillStyle(DrawingSurface::FillStyle::DiagonalHatch);
        s.Rectangle(f.X0, f.Y0, f.Right, f.Bottom);
        s.SetFillColor(kSheetOrange);
        s.SetFillStyle(DrawingSurface::FillStyle::Solid);
    }
    s.SetPenWidth(1);
}

} // namespace vorn
