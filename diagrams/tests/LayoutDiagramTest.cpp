#include "DiagramGeometry.h"
#include "DiagramRoutines.h"
#include "PixelProbe.h"

#include <gtest/gtest.h>

using namespace vorn;
using vorn::test::At;
using vorn::test::LabelAt;
using vorn::test::Rgb;

namespace {

const QRgb kBlack = Rgb(Qt::black);
const QRgb kWhite = Rgb(Qt::white);
const QRgb kGreen = Rgb(kPanelGreen);
const QRgb kOrange = Rgb(kSheetOrange);

LayoutDrawing PanelN(int La, int Wb, int Lb = 0, int Wa = 0) {
    LayoutDrawing a;
    a.Kind = QStringLiteral("Panel");
    a.Pattern = QStringLiteral("N");
    a.ContainerL = 21;
    a.ContainerW = 18;
    a.MarginL = 0.5;
    a.MarginW = 0.5;
    a.PieceL = 4;
    a.PieceW = 2;
    a.Spacing = 0.1;
    a.La = La;
    a.Wb = Wb;
    a.Lb = Lb;
    a.Wa = Wa;
    return a;
}

struct Drawn {
    QImage image;
    Frame f;
    double S = 0;
};

Drawn Draw(const LayoutDrawing& a, int W = 800, int H = 600) {
    Drawn d;
    d.image = QImage(W, H, QImage::Format_RGB32);
    d.S = DrawLayoutDiagram(a, d.image);
    MakeFrame(W, H, a.ContainerL, a.ContainerW, d.f);
    return d;
}

bool ColumnIsWhite(const QImage& img, int x, int y1, int y2) {
    for (int y = y1; y < y2; ++y)
        if (At(img, x, y) != kWhite)
            return false;
    return true;
}

} // namespace

TEST(LayoutDiagram, PanelOutlineFillAndFirstPiece) {
    const Drawn d = Draw(PanelN(3, 2));
    const QImage& img = d.image;
    const Frame& f = d.f;
    EXPECT_DOUBLE_EQ(d.S, 500.0 / 18);
    EXPECT_EQ(img.size(), QSize(800, 600));
    // 2-pixel outline inside the outline box, then green.
    EXPECT_EQ(At(img, f.X0, f.Y0), kBlack);
    EXPECT_EQ(At(img, f.X0 + 1, f.Y0 + 1), kBlack);
    EXPECT_EQ(At(img, f.Right - 1, f.Bottom - 1), kBlack);
    EXPECT_EQ(At(img, f.Right - 2, f.Bottom - 2), kBlack);
    EXPECT_EQ(At(img, f.Right - 3, f.Bottom - 3), kGreen);
    EXPECT_EQ(At(img, f.Right, f.Bottom - 10), kWhite);
    // The frame band's corners stay white.
    EXPECT_EQ(At(img, 2, 2), kWhite);
    EXPECT_EQ(At(img, 797, 597), kWhite);

    // Six upright pieces against the top and left margins.
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 3; ++col) {
            const int x = Rnd(f.ExactX(0.5 + col * 4.1));
            const int y = Rnd(f.ExactY(0.5 + row * 2.1));
            EXPECT_EQ(At(img, x, y), kBlack) << row << "," << col;
            EXPECT_EQ(At(img, x - 1, y + 3), kGreen) << row << "," << col; // margin or gap
            EXPECT_EQ(At(img, x + 3, y + 3), kGreen);
            const int far = Rnd(f.ExactX(0.5 + col * 4.1 + 4));
            EXPECT_EQ(At(img, far - 1, y + 3), kBlack);
            EXPECT_EQ(At(img, far, y + 3), kGreen); // the gap
        }
    EXPECT_EQ(Rnd(f.ExactX(0.5)), 122); // px of the first piece
    EXPECT_EQ(Rnd(f.ExactY(0.5)), 64);  // py
}

TEST(LayoutDiagram, PanelMarksAndLabels) {
    const Drawn d = Draw(PanelN(3, 2));
    const QImage& img = d.image;
    const Frame& f = d.f;
    const int X0 = f.X0, Y0 = f.Y0, R = X0 + Rnd(21 * d.S), B = Y0 + Rnd(18 * d.S);
    // Overall length: extension lines, dimension line, label on white.
    EXPECT_EQ(At(img, X0, Y0 - 30), kBlack);
    EXPECT_EQ(At(img, R, Y0 - 30), kBlack);
    EXPECT_EQ(At(img, X0 + 20, Y0 - 42), kBlack);
    const QString len = QStringLiteral("21.000");
    EXPECT_TRUE(LabelAt(img, Rnd(f.AW / 2) - Rnd(test::TextWidth(len) / 2.0) + 50, Y0 - 50, len,
                        Qt::white));
    // Overall width label on white, 6 pixels below the centre.
    EXPECT_TRUE(LabelAt(img, X0 - 50, Rnd(f.AH / 2) + 56, QStringLiteral("18.000"), Qt::white));
    EXPECT_EQ(At(img, X0 - 42, Y0 + 20), kBlack);
    // Margin marks come before the fill: their labels sit on white.
    EXPECT_TRUE(LabelAt(img, R + 8, B + 12, QStringLiteral("0.500"), Qt::white));
    const int yw = static_cast<int>(f.AH) - Rnd(f.gy + 0.5 * d.S) + 50;
    EXPECT_EQ(At(img, R + 8, yw - 15), kBlack);

    // Across mark of the first column, inside form, label centred on the piece.
    const int px = 122, py = 64;
    const int far = px + Rnd(4 * d.S);
    EXPECT_EQ(At(img, px, Y0 - 20), kBlack);
    EXPECT_EQ(At(img, far, Y0 - 20), kBlack);
    EXPECT_EQ(At(img, px + 4, Y0 - 26), kBlack);
    EXPECT_EQ(At(img, px - 3, Y0 - 26), kWhite);
    const QString four = QStringLiteral("4.000");
    EXPECT_TRUE(LabelAt(img, Rnd(f.gx + 2.5 * d.S - test::TextWidth(four) / 2.0) + 50, Y0 - 38,
                        four, kPanelGreen));
    // Down mark of the first row.
    EXPECT_TRUE(
        LabelAt(img, X0 - 40, py + Rnd(2 * d.S / 2) - 6, QStringLiteral("2.000"), kPanelGreen));
    // Spacing between the first two columns, not between rows.
    const int e2 = px + Rnd(4.1 * d.S);
    EXPECT_EQ(At(img, e2, Y0 - 20), kBlack);
    EXPECT_TRUE(LabelAt(img, e2 + 10, Y0 - 23, QStringLiteral("0.100"), kPanelGreen));
    const int y2 = py + Rnd(2.1 * d.S);
    EXPECT_EQ(At(img, X0 - 25, y2 + 5), kWhite);
}

TEST(LayoutDiagram, LabelsRoundTheirThousandthsHalvesToEven) {
    LayoutDrawing a = PanelN(3, 2);
    a.Spacing = 1.0 / 16;
    a.MarginL = 3.0 / 16;
    const Drawn d = Draw(a);
    const int R = d.f.X0 + Rnd(21 * d.S), B = d.f.Y0 + Rnd(18 * d.S);
    const int e2 = Rnd(d.f.gx + a.MarginL * d.S) + 50 + Rnd((4 + a.Spacing) * d.S);
    EXPECT_TRUE(LabelAt(d.image, e2 + 10, d.f.Y0 - 23, QStringLiteral("0.062"), kPanelGreen));
    EXPECT_TRUE(LabelAt(d.image, R + 8, B + 12, QStringLiteral("0.188"), Qt::white));
}

TEST(LayoutDiagram, SpacingMarkMovesToTheRowsForASingleColumn) {
    for (bool turned : {false, true}) {
        const Drawn d = turned ? Draw(PanelN(0, 0, 1, 4)) : Draw(PanelN(1, 4));
        const int y2 = 64 + Rnd((turned ? 4.1 : 2.1) * d.S);
        EXPECT_EQ(At(d.image, d.f.X0 - 20, y2), kBlack) << turned;
        EXPECT_EQ(At(d.image, d.f.X0 - 25, y2 + 9), kBlack) << turned;
        EXPECT_EQ(At(d.image, d.f.X0 - 25, y2 + 11), turned ? kBlack : kWhite) << turned;
        EXPECT_TRUE(LabelAt(d.image, d.f.X0 - 40, y2 + 12, QStringLiteral("0.100"), kPanelGreen));
    }
}

TEST(LayoutDiagram, PatternNChoosesItsBlock) {
    const Frame f = Draw(PanelN(0, 0)).f;
    const int inside = Rnd(f.ExactX(0.5 + 1)), insideY = Rnd(f.ExactY(0.5 + 1));
    const int turnedFar = Rnd(f.ExactX(0.5 + 2)); // turned pieces are 2 across
    const struct {
        int La, Wb, Lb, Wa;
        bool piece;
        bool turned;
        bool marks = true;
    } cases[] = {
        {0, 0, 0, 0, false, false}, // frame, fill and first-piece marks only
        {3, 2, 0, 0, true, false},         {0, 0, 3, 2, true, true},
        {3, 2, 3, 2, false, false, false}, // both blocks: not a single orientation
        {3, 0, 3, 2, true, true},
    };
    for (const auto& c : cases) {
        const Drawn d = Draw(PanelN(c.La, c.Wb, c.Lb, c.Wa));
        EXPECT_EQ(At(d.image, 122, 64), c.piece ? kBlack : kGreen) << c.La << c.Wb << c.Lb << c.Wa;
        if (c.piece) {
            EXPECT_EQ(At(d.image, turnedFar - 1, insideY), c.turned ? kBlack : kGreen);
        }
        EXPECT_EQ(At(d.image, inside, d.f.Y0 - 20), kWhite); // no mark over the middle
        // The across mark is drawn at the first piece position, even without pieces.
        EXPECT_EQ(At(d.image, 122, d.f.Y0 - 20), c.marks ? kBlack : kWhite);
    }
}

TEST(LayoutDiagram, OtherPatternDrawsOnlyTheContainer) {
    LayoutDrawing a = PanelN(3, 2);
    a.Pattern = QStringLiteral("X");
    const Drawn d = Draw(a);
    EXPECT_EQ(At(d.image, 122, 64), kGreen);
    EXPECT_EQ(At(d.image, 122, d.f.Y0 - 20), kWhite);
    EXPECT_EQ(At(d.image, d.f.X0, d.f.Y0 - 30), kBlack);
}

TEST(LayoutDiagram, SheetIsHatchedAndItsPiecesSolid) {
    LayoutDrawing a;
    a.Kind = QStringLiteral("Base");
    a.Pattern = QStringLiteral("N");
    a.ContainerL = 48;
    a.ContainerW = 40;
    a.PieceL = 21;
    a.PieceW = 18;
    a.La = 2;
    a.Wb = 2;
    const Drawn d = Draw(a);
    const QImage& img = d.image;
    const Frame& f = d.f;
    // Pieces from the sheet's top-left corner, solid orange.
    EXPECT_EQ(At(img, f.X0, f.Y0), kBlack);
    for (int y = f.Y0 + 3; y < f.Y0 + 30; ++y)
        for (int x = f.X0 + 3; x < f.X0 + 30; ++x)
            ASSERT_EQ(At(img, x, y), kOrange) << x << "," << y;
    // Waste right of the pieces: orange with black lines running down to the right.
    const int wasteX = Rnd(f.ExactX(42)) + 4, wasteY = f.Y0 + 40;
    int blacks = 0, oranges = 0;
    for (int x = wasteX; x < wasteX + 16; ++x) {
        const QRgb p = At(img, x, wasteY);
        if (p == kBlack) {
            ++blacks;
            EXPECT_EQ(At(img, x + 1, wasteY + 1), kBlack);
            EXPECT_EQ(At(img, x - 1, wasteY + 1), kOrange);
        } else {
            EXPECT_EQ(p, kOrange);
            ++oranges;
        }
    }
    EXPECT_EQ(blacks, 2);
    EXPECT_GT(oranges, 10);
    // No margin marks, no spacing mark; piece labels on orange.
    const int R = f.X0 + Rnd(48 * d.S);
    EXPECT_TRUE(ColumnIsWhite(img, R + 8, f.Y0, f.Bottom));
    EXPECT_TRUE(ColumnIsWhite(img, R - 5, f.Bottom + 5, 600));
    const int e2 = f.X0 + Rnd(21 * d.S);
    EXPECT_EQ(At(img, e2 + 20, f.Y0 - 10), kWhite);
    const QString t = QStringLiteral("21.000");
    EXPECT_TRUE(LabelAt(img, Rnd(f.gx + 10.5 * d.S - test::TextWidth(t) / 2.0) + 50, f.Y0 - 38, t,
                        kSheetOrange));
}

TEST(LayoutDiagram, ThousandPiecesInARowDoNotDrift) {
    LayoutDrawing a;
    a.Kind = QStringLiteral("Panel");
    a.Pattern = QStringLiteral("N");
    a.PieceL = 0.97;
    a.PieceW = 5;
    a.Spacing = 0.41;
    a.MarginL = 3.3;
    a.MarginW = 0.5;
    a.La = 1000;
    a.Wb = 1;
    a.ContainerL = 2 * a.MarginL + 1000 * a.PieceL + 999 * a.Spacing;
    a.ContainerW = 6;
    const Drawn d = Draw(a, 1600, 1200);
    const int far = Rnd(d.f.ExactX(a.MarginL + 999 * (a.PieceL + a.Spacing) + a.PieceL));
    const int y = Rnd(d.f.ExactY(a.MarginW)) + 2;
    EXPECT_EQ(At(d.image, far - 1, y), kBlack);
    EXPECT_EQ(At(d.image, far, y), kGreen);
    EXPECT_EQ(At(d.image, far + 1, y), kGreen);
    // Rounding each step alone would have ended far away.
    const double pitch = (a.PieceL + a.Spacing) * d.S;
    EXPECT_GT(std::abs(Rnd(d.f.ExactX(a.MarginL)) + 999 * Rnd(pitch) + Rnd(a.PieceL * d.S) - far),
              20);
}

// The label of a 128-pixel-per-unit frame sits inside exactly when
// width + 15 < span.
TEST(LayoutDiagram, AcrossMarkFitsInsideOnlyWithFifteenPixelsToSpare) {
    const int tw = test::TextWidth(QStringLiteral("0.000"));
    for (int extra : {14, 15, 16}) {
        const int span = tw + extra;
        LayoutDrawing a = PanelN(2, 1);
        a.ContainerL = 10;
        a.ContainerW = 5;
        a.MarginL = a.MarginW = 1;
        a.Spacing = 0.5;
        a.PieceL = span / 128.0;
        a.PieceW = 1;
        ASSERT_EQ(test::TextWidth(FormatLength(a.PieceL)), tw);
        const Drawn d = Draw(a, 1380, 1100);
        ASSERT_DOUBLE_EQ(d.S, 128.0);
        const int px = d.f.X0 + 128, far = px + span, Y0 = d.f.Y0;
        const bool inside = extra > 15;
        EXPECT_EQ(At(d.image, px + 4, Y0 - 26), inside ? kBlack : kWhite) << extra;
        EXPECT_EQ(At(d.image, px - 3, Y0 - 26), inside ? kWhite : kBlack) << extra;
        EXPECT_EQ(At(d.image, far + 20, Y0 - 27), inside ? kWhite : kBlack) << extra;
        if (!inside) {
            EXPECT_TRUE(LabelAt(d.image, far + 8, Y0 - 40, FormatLength(a.PieceL), kPanelGreen));
        }
    }
}

namespace {

LayoutDrawing MixedL(int sLa, int sWb, const char* kind = "Panel") {
    LayoutDrawing a;
    a.Kind = QString::fromLatin1(kind);
    a.Pattern = QStringLiteral("L");
    a.ContainerL = 22;
    a.ContainerW = 18;
    a.MarginL = a.MarginW = 0.5;
    a.PieceL = 4;
    a.PieceW = 2;
    a.Spacing = 0.1;
    a.Lb = 2;
    a.Wa = 3;
    a.La = 4;
    a.Wb = 2;
    a.sLa = sLa;
    a.sWb = sWb;
    if (a.Kind == QLatin1String("Base"))
        a.MarginL = a.MarginW = a.Spacing = 0;
    return a;
}

} // namespace

TEST(LayoutDiagram, PatternLCentresColumnsAcrossTheWidth) {
    const LayoutDrawing a = MixedL(0, 0);
    const Drawn d = Draw(a);
    const Frame& f = d.f;
    const double S = d.S;
    // Turned columns: three turned pieces centred across the width.
    const double turnedTop = (18 - 3 * 4 - 2 * 0.1) / 2;
    for (int col = 0; col < 2; ++col)
        EXPECT_EQ(At(d.image, Rnd(f.ExactX(0.5 + col * 2.1)), Rnd(f.ExactY(turnedTop))), kBlack);
    EXPECT_EQ(At(d.image, Rnd(f.ExactX(0.5)) + 3, Rnd(f.ExactY(turnedTop)) - 2), kGreen);
    // Upright columns right after the turned block, centred too.
    const double uprightTop = (18 - 2 * 2 - 0.1) / 2;
    for (int col = 0; col < 4; ++col) {
        const int x = Rnd(f.ExactX(0.5 + 2 * 2.1 + col * 4.1));
        EXPECT_EQ(At(d.image, x, Rnd(f.ExactY(uprightTop))), kBlack) << col;
        EXPECT_EQ(At(d.image, x + 3, Rnd(f.ExactY(uprightTop)) - 2), kGreen) << col;
    }
    // The right band dimensions the upright pieces; no difference mark.
    const int Rx = static_cast<int>(f.AW) - Rnd(f.gx) + 50;
    const int y2 = Rnd(f.gy + uprightTop * S) + 50;
    EXPECT_EQ(At(d.image, Rx + 9, y2 + 5), kBlack);
    EXPECT_TRUE(
        LabelAt(d.image, Rx + 15, y2 + Rnd(2 * S / 2) - 8, QStringLiteral("2.000"), kPanelGreen));
    const int xn = Rnd(f.ExactX(0.5 + 2 * 2.1));
    const int B = Rnd(f.gy + 18 * S) + 50;
    EXPECT_EQ(At(d.image, xn + 20, B + 20), kWhite);
}

TEST(LayoutDiagram, PatternLMarksASingleUprightColumn) {
    LayoutDrawing a = MixedL(0, 0);
    a.La = 1;
    const Drawn d = Draw(a);
    const int xa = Rnd(d.f.ExactX(0.5 + 2 * 2.1));
    const int xb = xa + Rnd(4 * d.S);
    EXPECT_EQ(At(d.image, xa, d.f.Y0 - 30), kBlack);
    EXPECT_EQ(At(d.image, xb, d.f.Y0 - 30), kBlack);
    EXPECT_EQ(At(d.image, xa + 20, d.f.Y0 - 25), kBlack); // inside form: the dimension line
    EXPECT_EQ(At(d.image, xa, Rnd(d.f.ExactY((18 - 4.1) / 2))), kBlack);
}

TEST(LayoutDiagram, PatternLExtraBlockAndItsDifference) {
    const double S = 500.0 / 18;
    {
        // One upright column of two under the turned block: narrower.
        const LayoutDrawing a = MixedL(1, 2);
        const Drawn d = Draw(a);
        const Frame& f = d.f;
        const int B = Rnd(f.gy + 18 * S) + 50;
        const int xn = Rnd(f.ExactX(0.5 + 2 * 2.1));
        const double turnedTop = (18 - 3 * 4.1 - 2 * 2 - 0.1) / 2;
        const double extraTop = turnedTop + 3 * 4.1;
        EXPECT_EQ(At(d.image, Rnd(f.ExactX(0.5)), Rnd(f.ExactY(turnedTop))), kBlack);
        EXPECT_EQ(At(d.image, Rnd(f.ExactX(0.5)), Rnd(f.ExactY(extraTop))), kBlack);
        EXPECT_EQ(At(d.image, Rnd(f.ExactX(0.5 + 4)) - 1, Rnd(f.ExactY(extraTop)) + 3), kBlack);
        // Difference 0.1 + 4.2 - 4.1 in the bottom band; upright columns at xn.
        EXPECT_EQ(At(d.image, xn + 20, B + 20), kBlack);
        EXPECT_TRUE(LabelAt(d.image, xn + 10, B + 6, QStringLiteral("0.200"), kPanelGreen));
        EXPECT_EQ(At(d.image, xn, Rnd(f.ExactY((18 - 4.1) / 2))), kBlack);
    }
    {
        // Two upright columns under a single turned column: wider.
        LayoutDrawing a = MixedL(2, 2);
        a.Lb = 1;
        a.La = 3;
        const Drawn d = Draw(a);
        const Frame& f = d.f;
        const int xn = Rnd(f.ExactX(0.5 + 2.1));
        const int xe = Rnd(f.ExactX(0.5 + 2 * 4.1));
        const int xt = xn - Rnd(0.1 * S);
        EXPECT_EQ(At(d.image, xt, f.Y0 - 15), kBlack);
        const QString t = QStringLiteral("6.200"); // 0.1 + 8.2 - 2.1
        EXPECT_TRUE(LabelAt(d.image, xn - test::TextWidth(t) - 5, f.Y0 - 24, t, kPanelGreen));
        EXPECT_EQ(At(d.image, xe + 5, f.Y0 - 10), kBlack);
        const double uprightTop = (18 - 4.1) / 2;
        EXPECT_EQ(At(d.image, xe, Rnd(f.ExactY(uprightTop))), kBlack);
        EXPECT_EQ(At(d.image, xe - 2, Rnd(f.ExactY(uprightTop)) + 3), kGreen);
    }
}

TEST(LayoutDiagram, PatternLOnASheetStartsEveryColumnAtTheTop) {
    const Drawn d = Draw(MixedL(0, 0, "Base"));
    const Frame& f = d.f;
    EXPECT_EQ(At(d.image, f.X0 + 3, f.Y0 + 3), kOrange);
    const int xn = Rnd(f.ExactX(2 * 2));
    EXPECT_EQ(At(d.image, xn, f.Y0 + 5), kBlack);      // first upright column's left edge
    EXPECT_EQ(At(d.image, xn + 3, f.Y0 + 3), kOrange); // solid piece, not hatch
    EXPECT_EQ(At(d.image, xn + 3, Rnd(f.ExactY(4)) - 1), kBlack);
    const int Rx = static_cast<int>(f.AW) - Rnd(f.gx) + 50;
    EXPECT_EQ(At(d.image, Rx + 9, f.Y0 + 5), kBlack); // down mark from the top edge
}

TEST(LayoutDiagram, PatternWCentresRowsAlongTheLength) {
    LayoutDrawing a;
    a.Kind = QStringLiteral("Panel");
    a.Pattern = QStringLiteral("W");
    a.ContainerL = 21;
    a.ContainerW = 18;
    a.MarginL = a.MarginW = 0.5;
    a.PieceL = 4;
    a.PieceW = 2;
    a.Spacing = 0.1;
    a.Lb = 9;
    a.Wa = 2;
    a.La = 4;
    a.Wb = 4;
    a.sLa = 1;
    a.sWb = 2;
    const Drawn d = Draw(a);
    const Frame& f = d.f;
    const double turnedStart = (21 - 9 * 2 - 8 * 0.1) / 2;
    EXPECT_EQ(At(d.image, Rnd(f.ExactX(turnedStart)), Rnd(f.ExactY(0.5))), kBlack);
    EXPECT_EQ(At(d.image, Rnd(f.ExactX(turnedStart)) - 2, Rnd(f.ExactY(0.5)) + 3), kGreen);
    // Upright rows centred together with the extra block at their right.
    const double yn = 0.5 + 2 * 4.1;
    const double uprightStart = (21 - 4 * 4.1 - 2 * 2 - 0.1) / 2;
    EXPECT_EQ(At(d.image, Rnd(f.ExactX(uprightStart)), Rnd(f.ExactY(yn))), kBlack);
    EXPECT_EQ(At(d.image, Rnd(f.ExactX(uprightStart)) - 2, Rnd(f.ExactY(yn)) + 3), kGreen);
    // Extra block level with the first upright row, one spacing to the right.
    const double xe = uprightStart + 4 * 4.1;
    EXPECT_EQ(At(d.image, Rnd(f.ExactX(xe)), Rnd(f.ExactY(yn)) + 3), kBlack);
    EXPECT_EQ(At(d.image, Rnd(f.ExactX(xe + 2.1)), Rnd(f.ExactY(yn)) + 3), kBlack);
    EXPECT_EQ(At(d.image, Rnd(f.ExactX(xe + 4.1)) - 1, Rnd(f.ExactY(yn + 4)) - 3), kBlack);
    // The left band marks the last upright row.
    const int ya = Rnd(f.ExactY(yn + 3 * 2.1));
    EXPECT_EQ(At(d.image, f.X0 - 20, ya), kBlack);
}

TEST(LayoutDiagram, BadRecordsDrawAnEmptyWhitePicture) {
    const auto white = [](const QImage& img) {
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (At(img, x, y) != kWhite)
                    return false;
        return true;
    };
    LayoutDrawing zero = PanelN(3, 2), negative = PanelN(3, 2), nan = PanelN(3, 2),
                  counts = PanelN(-1, 2), huge = PanelN(100000, 100000);
    zero.ContainerL = 0;
    negative.ContainerW = -18;
    nan.PieceL = NAN;
    for (const LayoutDrawing* a : {&zero, &negative, &nan, &counts, &huge}) {
        const Drawn d = Draw(*a, 300, 200);
        EXPECT_EQ(d.S, 0.0);
        EXPECT_EQ(d.image.size(), QSize(300, 200));
        EXPECT_TRUE(white(d.image));
    }
    for (QSize size : {QSize(99, 99), QSize(100, 100), QSize(40, 300)}) {
        const Drawn d = Draw(PanelN(3, 2), size.width(), size.height());
        EXPECT_EQ(d.S, 0.0);
        EXPECT_EQ(d.image.size(), size);
        EXPECT_TRUE(white(d.image));
    }
    QImage none;
    EXPECT_EQ(DrawLayoutDiagram(PanelN(3, 2), none), 0.0);
}
