#include "DrawingSurface.h"

#include <QFontMetrics>
#include <algorithm>
#include <cstdlib>

namespace vorn {

const QFont& DiagramFont() {
    // A CJK-capable sans whose line height (13 pixels at this size) fits the
    // gaps the dimension marks leave for a label; no antialiasing, so every
    // pixel of a diagram is one of its few colours.
    static const QFont font = [] {
        QFont f(QStringLiteral("WenQuanYi Micro Hei"));
        f.setStyleHint(QFont::SansSerif);
        f.setPixelSize(11);
        f.setStyleStrategy(QFont::NoAntialias);
        f.setHintingPreference(QFont::PreferFullHinting);
        return f;
    }();
    return font;
}

DrawingSurface::DrawingSurface(QImage& image) : image_(&image), painter_(&own_) {
    Begin();
}

DrawingSurface::DrawingSurface(const DiagramCanvas& canvas)
    : image_(canvas.image), size_(canvas.size), painter_(canvas.image ? &own_ : canvas.painter) {
    Begin();
}

DrawingSurface::~DrawingSurface() {
    if (own_.isActive())
        own_.end();
}

void DrawingSurface::Begin() {
    if (image_) {
        if (image_->isNull())
            return;
        own_.begin(image_);
    } else if (!painter_ || !painter_->isActive()) {
        return;
    }
    painter_->setRenderHint(QPainter::Antialiasing, false);
    painter_->setRenderHint(QPainter::TextAntialiasing, false);
    painter_->setFont(DiagramFont());
    painter_->setPen(Qt::black);
}

void DrawingSurface::Clear() {
    if (image_) {
        if (own_.isActive())
            own_.end();
        const QSize size = image_->size();
        *image_ = QImage(size, QImage::Format_RGB32);
        image_->fill(Qt::white);
    } else if (painter_ && painter_->isActive()) {
        painter_->fillRect(QRect(QPoint(0, 0), size_), Qt::white);
    }
    penWidth_ = 1;
    fillColor_ = Qt::white;
    fillStyle_ = FillStyle::Solid;
    penX_ = penY_ = 0;
    Begin();
}

void DrawingSurface::MoveTo(int x, int y) {
    penX_ = x;
    penY_ = y;
}

void DrawingSurface::LineTo(int x, int y) {
    if (!painter_->isActive()) {
        MoveTo(x, y);
        return;
    }
    const int x0 = penX_;
    const int y0 = penY_;
    if (y0 == y && x0 != x) {
        const int from = x > x0 ? x0 : x + 1;
        painter_->fillRect(from, y0, std::abs(x - x0), penWidth_, Qt::black);
    } else if (x0 == x && y0 != y) {
        const int from = y > y0 ? y0 : y + 1;
        painter_->fillRect(x0, from, penWidth_, std::abs(y - y0), Qt::black);
    } else if (x0 != x || y0 != y) {
        // Any other direction: Bresenham, leaving out the end point.
        int cx = x0, cy = y0;
        const int dx = std::abs(x - x0), dy = -std::abs(y - y0);
        const int sx = x0 < x ? 1 : -1, sy = y0 < y ? 1 : -1;
        int err = dx + dy;
        while (cx != x || cy != y) {
            painter_->fillRect(cx, cy, penWidth_, penWidth_, Qt::black);
            const int e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                cx += sx;
            }
            if (e2 <= dx) {
                err += dx;
                cy += sy;
            }
        }
    }
    MoveTo(x, y);
}

void DrawingSurface::Rectangle(int left, int top, int right, int bottom) {
    if (!painter_->isActive() || right <= left || bottom <= top)
        return;
    const QRect box(left, top, right - left, bottom - top);
    if (fillStyle_ == FillStyle::Solid)
        painter_->fillRect(box, fillColor_);
    else if (fillStyle_ == FillStyle::DiagonalHatch)
        painter_->fillRect(box, QBrush(fillColor_, Qt::FDiagPattern));
    const int w = std::min(penWidth_, (box.width() + 1) / 2);
    const int h = std::min(penWidth_, (box.height() + 1) / 2);
    painter_->fillRect(left, top, box.width(), h, Qt::black);
    painter_->fillRect(left, bottom - h, box.width(), h, Qt::black);
    painter_->fillRect(left, top, w, box.height(), Qt::black);
    painter_->fillRect(right - w, top, w, box.height(), Qt::black);
}

void DrawingSurface::Ellipse(int left, int top, int right, int bottom) {
    if (!painter_->isActive() || right <= left || bottom <= top)
        return;
    const QRect box(left, top, right - left, bottom - top);
    if (box.width() <= 2 || box.height() <= 2) {
        // Too small for a curve: the outline alone covers the box.
        painter_->fillRect(box, Qt::black);
        return;
    }
    painter_->save();
    painter_->setPen(QPen(Qt::black, 1));
    if (fillStyle_ == FillStyle::Solid)
        painter_->setBrush(fillColor_);
    else if (fillStyle_ == FillStyle::DiagonalHatch)
        painter_->setBrush(QBrush(fillColor_, Qt::FDiagPattern));
    else
        painter_->setBrush(Qt::NoBrush);
    // A 1-pixel outline of QRect(x, y, w, h) covers w + 1 pixels.
    painter_->drawEllipse(box.adjusted(0, 0, -1, -1));
    painter_->restore();
}

void DrawingSurface::Text(int x, int y, const QString& text) {
    if (!painter_->isActive() || text.isEmpty())
        return;
    const QFontMetrics fm = painter_->fontMetrics();
    if (fillStyle_ == FillStyle::Solid)
        painter_->fillRect(x, y, fm.horizontalAdvance(text), fm.height(), fillColor_);
    painter_->setPen(Qt::black);
    painter_->drawText(x, y + fm.ascent(), text);
}

int DrawingSurface::TextWidth(const QString& text) const {
    if (!painter_->isActive())
        return QFontMetrics(DiagramFont()).horizontalAdvance(text);
    return painter_->fontMetrics().horizontalAdvance(text);
}

int DrawingSurface::TextHeight(const QString& text) const {
    Q_UNUSED(text); // one line of one font: the height does not depend on the text
    if (!painter_->isActive())
        return QFontMetrics(DiagramFont()).height();
    return painter_->fontMetrics().height();
}

} // namespace vorn
