#pragma once
// A diagram saved as vectors (SVG or PDF) from the same drawing code as the
// raster picture, so it stays sharp at any zoom.

#include "DrawingSurface.h"

#include <QSize>
#include <QString>

#include <functional>

namespace vorn {

// True for names ending in ".svg" or ".pdf" (any case).
bool IsVectorPictureName(const QString& fileName);

// Draws with `draw` onto a canvas of `size` pixels and writes it whole (or not
// at all) as SVG or PDF by the name's suffix; one pixel is one point (PDF) or
// one SVG user unit. On failure returns false and sets `error` when given.
bool SaveVectorPicture(const QString& fileName, QSize size,
                       const std::function<void(const DiagramCanvas&)>& draw,
                       QString* error = nullptr);

} // namespace vorn
