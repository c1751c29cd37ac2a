#pragma once
// Small helpers for asserting pixels of a drawn diagram.

#include "DrawingSurface.h"

#include <QImage>
#include <QString>

namespace vorn::test {

inline QRgb Rgb(const QColor& c) {
    return c.rgb() | 0xff000000u;
}

inline QRgb At(const QImage& image, int x, int y) {
    return image.pixel(x, y) | 0xff000000u;
}

// True when `text` drawn on `background` at (x, y) matches the image there.
inline bool LabelAt(const QImage& image, int x, int y, const QString& text,
                    const QColor& background) {
    QImage probe(image.size(), QImage::Format_RGB32);
    {
        DrawingSurface s(probe);
        s.Clear();
        s.SetFillColor(background);
        s.Text(x, y, text);
        const int w = s.TextWidth(text), h = s.TextHeight(text);
        for (int yy = y; yy < y + h; ++yy)
            for (int xx = x; xx < x + w; ++xx) {
                if (!image.rect().contains(xx, yy))
                    continue;
                if (At(probe, xx, yy) != At(image, xx, yy))
                    return false;
            }
    }
    return true;
}

inline int TextWidth(const QString& text) {
    QImage probe(10, 10, QImage::Format_RGB32);
    DrawingSurface s(probe);
    return s.TextWidth(text);
}

} // namespace vorn::test
