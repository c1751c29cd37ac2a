// The placement list agrees with the diagrams: every piece the diagram draws
// is a placement, at the pixels its lower-left corner and extents round to.
// The drawing goes to a device that records each rectangle it is asked for.

#include "DiagramGeometry.h"
#include "DiagramRoutines.h"
#include "PlanViews.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using vorn::Placement;

// Records the filled rectangles (with their brush) and text in drawing order.
class RecordingEngine : public QPaintEngine {
public:
    struct Fill {
        QRect box;
        QColor color;
        bool solid = false;
        bool text = false; // a label drawn here
    };
    std::vector<Fill> fills;

    RecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }
    void updateState(const QPaintEngineState& s) override {
        if (s.state() & DirtyBrush)
            brush_ = s.brush();
    }
    void drawRects(const QRectF* r, int n) override {
        for (int i = 0; i < n; ++i)
            fills.push_back(
                {r[i].toAlignedRect(), brush_.color(), brush_.style() == Qt::SolidPattern, false});
    }
    void drawRects(const QRect* r, int n) override {
        for (int i = 0; i < n; ++i)
            fills.push_back({r[i], brush_.color(), brush_.style() == Qt::SolidPattern, false});
    }
    void drawTextItem(const QPointF&, const QTextItem&) override {
        fills.push_back({{}, {}, false, true});
    }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}

private:
    QBrush brush_;
};

class RecordingDevice : public QPaintDevice {
public:
    explicit RecordingDevice(QSize size) : size_(size) {}
    QPaintEngine* paintEngine() const override { return &engine; }
    mutable RecordingEngine engine;

protected:
    int metric(PaintDeviceMetric m) const override {
        switch (m) {
        case PdmWidth:
            return size_.width();
        case PdmHeight:
            return size_.height();
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(QPaintDevice::devicePixelRatioFScale());
        default:
            return QPaintDevice::metric(m);
        }
    }

private:
    QSize size_;
};

constexpr QSize kSize(2400, 1800);

// The pieces a drawing drew: rectangles filled solid in the piece colour and
// then outlined (a black strip along their top edge follows), less the
// container's own outline.
std::vector<QRect> DrawnPieces(const RecordingEngine& e, const QRect& container) {
    std::vector<QRect> out;
    for (std::size_t i = 0; i + 1 < e.fills.size(); ++i) {
        const auto& f = e.fills[i];
        const auto& next = e.fills[i + 1];
        if (f.text || !f.solid || f.color == Qt::black || f.box == container)
            continue;
        if (!next.text && next.color == Qt::black && next.box.topLeft() == f.box.topLeft() &&
            next.box.width() == f.box.width())
            out.push_back(f.box);
    }
    return out;
}

// An edge drawn at `got` pixels agrees with the exact position when it is
// its rounding, or the other neighbour of an exact half (the carried
// remainder of the diagrams may round such a tie either way).
bool Agrees(int got, double exact) {
    if (got == vorn::Rnd(exact))
        return true;
    return std::abs(std::abs(exact - std::floor(exact)) - 0.5) < 1e-6 &&
           std::abs(got - exact) < 0.5 + 1e-6;
}

// Every placement is one drawn piece, and every drawn piece a placement.
void ExpectSame(const std::vector<Placement>& placed, std::vector<QRect> drawn, double CL,
                double CW) {
    vorn::Frame f;
    ASSERT_TRUE(vorn::MakeFrame(kSize.width(), kSize.height(), CL, CW, f));
    ASSERT_EQ(placed.size(), drawn.size());
    for (const Placement& p : placed) {
        const double v = CW - p.y - p.width; // from the top, as the diagrams measure
        const auto same = [&](const QRect& r) {
            return Agrees(r.left(), f.ExactX(p.x)) && Agrees(r.top(), f.ExactY(v)) &&
                   Agrees(r.left() + r.width(), f.ExactX(p.x + p.length)) &&
                   Agrees(r.top() + r.height(), f.ExactY(v + p.width));
        };
        const auto it = std::find_if(drawn.begin(), drawn.end(), same);
        ASSERT_NE(it, drawn.end())
            << "no piece drawn at " << p.x << "," << p.y << " " << p.length << "x" << p.width;
        drawn.erase(it);
    }
}

QRect ContainerBox(double CL, double CW) {
    vorn::Frame f;
    vorn::MakeFrame(kSize.width(), kSize.height(), CL, CW, f);
    return QRect(QPoint(f.X0, f.Y0), QPoint(f.Right - 1, f.Bottom - 1));
}

struct LayoutCase {
    const char* name;
    const char* kind;
    const char* pattern;
    int counts[6];
};

TEST(Placements, AgreeWithTheLayoutDiagram) {
    const LayoutCase cases[] = {
        {"N upright", "Panel", "N", {4, 8, 0, 0, 0, 0}},
        {"N turned", "Panel", "N", {0, 0, 9, 4, 0, 0}},
        {"L", "Panel", "L", {3, 8, 2, 4, 0, 0}},
        {"L, narrower extra block", "Panel", "L", {3, 8, 3, 3, 1, 2}},
        {"L, wider extra block", "Panel", "L", {3, 8, 1, 3, 1, 2}},
        {"W", "Panel", "W", {4, 4, 9, 2, 0, 0}},
        {"W with extra block", "Panel", "W", {4, 4, 9, 2, 2, 1}},
        {"N sheet", "Base", "N", {4, 8, 0, 0, 0, 0}},
        {"L sheet", "Base", "L", {3, 8, 3, 3, 1, 2}},
        {"W sheet", "Base", "W", {4, 4, 9, 2, 2, 1}},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.name);
        vorn::LayoutDrawing a;
        a.Kind = QString::fromLatin1(c.kind);
        a.Pattern = QString::fromLatin1(c.pattern);
        a.ContainerL = 21.37;
        a.ContainerW = 17.93;
        const bool panel = a.Kind == QLatin1String("Panel");
        a.MarginL = panel ? 0.43 : 0;
        a.MarginW = panel ? 0.51 : 0;
        a.PieceL = 4.07;
        a.PieceW = 1.93;
        a.Spacing = panel ? 0.11 : 0;
        a.La = c.counts[0], a.Wb = c.counts[1], a.Lb = c.counts[2], a.Wa = c.counts[3];
        a.sLa = c.counts[4], a.sWb = c.counts[5];
        RecordingDevice device(kSize);
        QPainter painter(&device);
        ASSERT_GT(vorn::DrawLayoutDiagram(a, vorn::DiagramCanvas(painter, kSize)), 0);
        painter.end();
        const std::vector<Placement> placed = vorn::PlacementsOf(a);
        const long long pieces = 1LL * a.La * a.Wb + 1LL * a.Lb * a.Wa + 1LL * a.sLa * a.sWb;
        EXPECT_EQ(static_cast<long long>(placed.size()), pieces);
        for (const Placement& p : placed)
            EXPECT_EQ(p.turned, p.length == a.PieceW && p.width == a.PieceL);
        ExpectSame(placed, DrawnPieces(device.engine, ContainerBox(a.ContainerL, a.ContainerW)),
                   a.ContainerL, a.ContainerW);
    }
}

TEST(Placements, AgreeWithTheTwoSizeCuttingDiagram) {
    struct Case {
        const char* pattern;
        int c1[4], c2[4];
    };
    const Case cases[] = {
        {"L", {2, 3, 0, 0}, {0, 0, 1, 3}}, // upright P1, turned P2 to its right
        {"L", {0, 0, 3, 1}, {2, 2, 0, 0}},
        {"W", {0, 0, 3, 1}, {4, 2, 0, 0}}, // turned P1, upright P2 below
        {"W", {2, 1, 0, 0}, {0, 0, 5, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern);
        vorn::TwoPanelCutting a;
        a.Pattern = QString::fromLatin1(c.pattern);
        a.SheetL = 48.3, a.SheetW = 40.7;
        a.P1L = 20.1, a.P1W = 12.3, a.P2L = 10.2, a.P2W = 8.1;
        a.La1 = c.c1[0], a.Wb1 = c.c1[1], a.Lb1 = c.c1[2], a.Wa1 = c.c1[3];
        a.La2 = c.c2[0], a.Wb2 = c.c2[1], a.Lb2 = c.c2[2], a.Wa2 = c.c2[3];
        RecordingDevice device(kSize);
        QPainter painter(&device);
        vorn::DrawTwoPanelCutting(a, vorn::DiagramCanvas(painter, kSize));
        painter.end();
        const vorn::TwoSizePlacements placed = vorn::PlacementsOf(a);
        std::vector<Placement> all = placed.panel1;
        all.insert(all.end(), placed.panel2.begin(), placed.panel2.end());
        EXPECT_EQ(all.size(),
                  std::size_t(a.La1 * a.Wb1 + a.Lb1 * a.Wa1 + a.La2 * a.Wb2 + a.Lb2 * a.Wa2));
        ExpectSame(all, DrawnPieces(device.engine, ContainerBox(a.SheetL, a.SheetW)), a.SheetL,
                   a.SheetW);
    }
}

TEST(Placements, NothingForWhatTheDiagramsDoNotDraw) {
    vorn::LayoutDrawing a;
    a.Kind = QStringLiteral("Panel");
    a.ContainerL = 20, a.ContainerW = 16, a.PieceL = 4, a.PieceW = 2;
    a.La = 2, a.Wb = 2, a.Lb = 2, a.Wa = 2;
    a.Pattern = QStringLiteral("N"); // both blocks: the diagram draws none
    EXPECT_TRUE(vorn::PlacementsOf(a).empty());
    a.Pattern = QStringLiteral("X");
    EXPECT_TRUE(vorn::PlacementsOf(a).empty());
    a.Pattern = QStringLiteral("L");
    a.La = -1;
    EXPECT_TRUE(vorn::PlacementsOf(a).empty());
    a.La = 2;
    a.Spacing = std::nan("");
    EXPECT_TRUE(vorn::PlacementsOf(a).empty());
    vorn::TwoPanelCutting t;
    t.Pattern = QStringLiteral("L");
    t.SheetL = 48, t.SheetW = 40, t.P1L = 20, t.P1W = 12, t.P2L = 10, t.P2W = 8;
    t.La1 = 1, t.Wb1 = 1, t.Lb1 = 1, t.Wa1 = 1, t.La2 = 1, t.Wb2 = 1; // P1 both ways
    EXPECT_TRUE(vorn::PlacementsOf(t).panel1.empty());
}

TEST(Placements, ListedLowerLeftFirst) {
    const std::vector<Placement> listed =
        vorn::InListOrder({{5, 2, 1, 1, false}, {0, 2, 1, 1, false}, {3, 0, 1, 1, true}});
    EXPECT_EQ(listed, (std::vector<Placement>{
                          {3, 0, 1, 1, true}, {0, 2, 1, 1, false}, {5, 2, 1, 1, false}}));
}

} // namespace
