#pragma once
// The raster surface every diagram is drawn on: a QImage painted with
// antialiasing off, offering only the primitives the diagrams need, so that
// every position in a diagram is an exact, testable pixel.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>

namespace vorn {

// Where a diagram is drawn: a raster image (the usual case, exact pixels), or
// a painter already active on a vector device (SVG, PDF) of the given size,
// so that one drawing code gives both.
struct DiagramCanvas {
    explicit DiagramCanvas(QImage& picture) : image(&picture), size(picture.size()) {}
    DiagramCanvas(QPainter& vectorPainter, QSize vectorSize)
        : painter(&vectorPainter), size(vectorSize) {}
    QImage* image = nullptr;
    QPainter* painter = nullptr;
    QSize size;
};

// The one font of all diagram labels, chosen on first use.
const QFont& DiagramFont();

class DrawingSurface {
public:
    enum class FillStyle { Solid, DiagonalHatch, Clear };

    // Paints onto `image` as it is; Clear() starts a fresh picture.
    explicit DrawingSurface(QImage& image);
    explicit DrawingSurface(const DiagramCanvas& canvas);
    ~DrawingSurface();
    DrawingSurface(const DrawingSurface&) = delete;
    DrawingSurface& operator=(const DrawingSurface&) = delete;

    int Width() const { return image_ ? image_->width() : size_.width(); }
    int Height() const { return image_ ? image_->height() : size_.height(); }

    // Replaces the picture with a white one of the same size (RGB32).
    void Clear();

    void SetPenWidth(int width) { penWidth_ = width < 1 ? 1 : width; }
    void SetFillColor(const QColor& color) { fillColor_ = color; }
    void SetFillStyle(FillStyle style) { fillStyle_ = style; }
    FillStyle CurrentFillStyle() const { return fillStyle_; }

    // Segments cover their start point and stop one pixel short of the end.
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Line(int x1, int y1, int x2, int y2) {
        MoveTo(x1, y1);
        LineTo(x2, y2);
    }

    // Fills [left, right) x [top, bottom) with the current fill and draws the
    // outline with the pen width along the inside of that box.
    void Rectangle(int left, int top, int right, int bottom);
    // Filled oval inside [left, right) x [top, bottom), black outline.
    void Ellipse(int left, int top, int right, int bottom);

    // Text with its top-left corner at (x, y); opaque in the fill colour while
    // the fill is solid, transparent otherwise.
    void Text(int x, int y, const QString& text);
    int TextWidth(const QString& text) const;
    int TextHeight(const QString& text) const;

private:
    void Begin();

    QImage* image_ = nullptr;
    QSize size_;
    QPainter own_;                // on the image
    QPainter* painter_ = nullptr; // own_, or the vector device's painter
    int penWidth_ = 1;
    QColor fillColor_ = Qt::white;
    FillStyle fillStyle_ = FillStyle::Solid;
    int penX_ = 0;
    int penY_ = 0;
};

} // namespace vorn
