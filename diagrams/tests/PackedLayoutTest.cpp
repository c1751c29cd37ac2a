// A typed panel laid out beyond the block patterns: the plan's boards reach
// the panel view through the plan row, and the diagram draws each of them.

#include "DiagramGeometry.h"
#include "DiagramRoutines.h"
#include "GivenPanel.h"
#include "PixelProbe.h"
#include "PlanViews.h"

#include <QDir>
#include <QMap>
#include <gtest/gtest.h>

#include <type_traits>

using namespace vorn;
using vorn::test::At;
using vorn::test::Rgb;

namespace {

// Boxes l x w in an L x W container at 10 mm a unit, 2 mm gap, 5 mm margins.
ResultRow Plan(PackingOption packing, int L, int W, int l, int w) {
    GivenPanelJob j;
    j.Set_L = l * 10 - 2;
    j.Set_W = w * 10 - 2;
    j.Set_C = 2;
    j.BorderX_L = 5;
    j.BorderX_W = 5;
    j.Panel_L = L * 10 + 8;
    j.Panel_W = W * 10 + 8;
    j.BothPanel = true;
    j.BothBase = true;
    j.sheets = {{48, 36}};
    j.packing = packing;
    return PanelizeGivenPanel(j, DisplayUnit::Millimetre);
}

// The plan row's columns as a record would hand them to the views.
PlanFields FieldsOf(const ResultRow& r) {
    auto values = std::make_shared<QMap<QString, QVariant>>();
    ForEachColumn(r, [&](const char* name, const auto& v) {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, char>)
            values->insert(QString::fromLatin1(name), QString(QChar::fromLatin1(v)));
        else if constexpr (!std::is_same_v<T, std::nullopt_t>)
            values->insert(QString::fromLatin1(name), v);
    });
    return {[values](const char* c) { return values->value(QString::fromLatin1(c)).toDouble(); },
            [values](const char* c) { return values->value(QString::fromLatin1(c)).toString(); }};
}

LayoutDrawing PanelView(const ResultRow& r) {
    LayoutDrawing a = LayoutArgsOf(DiagramView::Panel1, FieldsOf(r));
    a.Boards = BoardsOfRow(*r.boards, a, r.Panel);
    return a;
}

} // namespace

TEST(PackedLayout, EveryBoardDrawnWhereItWasPlaced) {
    struct Case {
        PackingOption option;
        int L, W, l, w, boards;
        const char* file;
    };
    const QString dir = QStringLiteral(VORN_SCREENSHOT_DIR "/bestpacking");
    QDir().mkpath(dir);
    for (const Case& c : {Case{PackingOption::Routed, 43, 26, 7, 3, 53, "routed-53.png"},
                          Case{PackingOption::VScored, 63, 44, 8, 5, 67, "vscored-67.png"}}) {
        SCOPED_TRACE(c.file);
        const ResultRow r = Plan(c.option, c.L, c.W, c.l, c.w);
        ASSERT_EQ(r.Panel, c.boards);
        const LayoutDrawing a = PanelView(r);
        ASSERT_EQ(a.Boards.size(), std::size_t(c.boards));
        EXPECT_EQ(PlacementsOf(a), r.boards); // the margins of the row are the layout's

        QImage image(900, 620, QImage::Format_RGB32);
        const double S = DrawLayoutDiagram(a, image);
        ASSERT_GT(S, 0);
        Frame f;
        ASSERT_TRUE(MakeFrame(900, 620, a.ContainerL, a.ContainerW, f));
        // Each board: a black outline around the panel's green; the margin
        // strip outside the boards stays green too.
        int inside = 0;
        for (const Placement& p : a.Boards) {
            const int x = Rnd(f.ExactX(p.x + p.length / 2));
            const int y = Rnd(f.ExactY(a.ContainerW - p.y - p.width / 2));
            inside += At(image, x, y) == Rgb(kPanelGreen);
            EXPECT_EQ(At(image, Rnd(f.ExactX(p.x)), y), Rgb(Qt::black));
        }
        EXPECT_EQ(inside, c.boards);
        EXPECT_EQ(At(image, Rnd(f.ExactX(a.MarginL / 2)), Rnd(f.ExactY(a.ContainerW / 2))),
                  Rgb(kPanelGreen));
        EXPECT_TRUE(image.save(dir + QLatin1Char('/') + QLatin1String(c.file)));
    }
}

TEST(PackedLayout, BoardsOfRowOnlyForTheirOwnPlan) {
    const ResultRow r = Plan(PackingOption::Routed, 43, 26, 7, 3);
    const LayoutDrawing a = LayoutArgsOf(DiagramView::Panel1, FieldsOf(r));
    ASSERT_EQ(BoardsOfRow(*r.boards, a, r.Panel).size(), r.boards.size());
    struct Case {
        const char* what;
        LayoutDrawing a;
        double count;
    };
    LayoutDrawing blocks = a, board = a, small = a;
    blocks.La = blocks.Wb = 1;
    board.PieceW += 1;
    small.ContainerL -= 20;
    for (const Case& c : {Case{"a block layout", blocks, double(r.Panel)},
                          Case{"another count", a, double(r.Panel - 1)},
                          Case{"another board", board, double(r.Panel)},
                          Case{"a panel too small", small, double(r.Panel)}}) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(BoardsOfRow(*r.boards, c.a, c.count).empty());
    }
    // A panel shrunk to smaller margins keeps the layout at its new margins.
    LayoutDrawing shrunk = a;
    const double d = a.MarginL - 3;
    shrunk.ContainerL -= 2 * d;
    shrunk.MarginL = 3;
    const std::vector<Placement> moved = BoardsOfRow(*r.boards, shrunk, r.Panel);
    ASSERT_EQ(moved.size(), r.boards.size());
    for (std::size_t i = 0; i < moved.size(); ++i) {
        EXPECT_NEAR(moved[i].x, r.boards[i].x - d, 1e-9);
        EXPECT_EQ(moved[i].y, r.boards[i].y);
    }
    // The option off draws the blocks as before.
    const ResultRow off = Plan(PackingOption::Off, 43, 26, 7, 3);
    EXPECT_TRUE(PanelView(off).Boards.empty());
    EXPECT_EQ(PlacementsOf(PanelView(off)).size(), std::size_t(off.Panel));
}
