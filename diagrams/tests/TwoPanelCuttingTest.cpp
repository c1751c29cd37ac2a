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

struct CaseRow {
    int number;
    const char* pattern;
    bool turned1, turned2;
};

// Panel 1 as 2 x 1 blocks, panel 2 as 1 x 3, in the orientation asked for.
TwoPanelCutting Plan(const CaseRow& c) {
    TwoPanelCutting a;
    a.SheetL = 48;
    a.SheetW = 40;
    a.P1L = 20;
    a.P1W = 9;
    a.P2L = 11;
    a.P2W = 6;
    a.Pattern = QString::fromLatin1(c.pattern);
    (c.turned1 ? a.Lb1 : a.La1) = 2;
    (c.turned1 ? a.Wa1 : a.Wb1) = 1;
    (c.turned2 ? a.Lb2 : a.La2) = 1;
    (c.turned2 ? a.Wa2 : a.Wb2) = 3;
    return a;
}

} // namespace

TEST(TwoPanelCutting, AllEightCasesPlaceBothBlocks) {
    const CaseRow cases[] = {
        {1, "L", false, false}, {2, "L", false, true}, {3, "L", true, true}, {4, "L", true, false},
        {5, "W", false, false}, {6, "W", false, true}, {7, "W", true, true}, {8, "W", true, false},
    };
    const int tw = test::TextWidth(QStringLiteral("P1"));
    for (const CaseRow& c : cases) {
        const TwoPanelCutting a = Plan(c);
        QImage img(800, 600, QImage::Format_RGB32);
        DrawTwoPanelCutting(a, img);
        Frame f;
        ASSERT_TRUE(MakeFrame(800, 600, 48, 40, f));
        const double S = f.S;
        const double a1 = c.turned1 ? a.P1W : a.P1L, d1 = c.turned1 ? a.P1L : a.P1W;
        const double a2 = c.turned2 ? a.P2W : a.P2L, d2 = c.turned2 ? a.P2L : a.P2W;
        const int th = 13;
        // Panel 1 from the sheet's top-left corner, labelled "P1".
        EXPECT_TRUE(LabelAt(img, f.X0 + Rnd(a1 * S / 2 - tw / 2.0),
                            f.Y0 + Rnd(d1 * S / 2 - th / 2.0), QStringLiteral("P1"), kSheetOrange))
            << c.number;
        EXPECT_TRUE(LabelAt(img, f.X0 + Rnd(a1 * S) + Rnd(a1 * S / 2 - tw / 2.0),
                            f.Y0 + Rnd(d1 * S / 2 - th / 2.0), QStringLiteral("P1"), kSheetOrange))
            << c.number;
        // Panel 2 beside ("L") or below ("W") the last panel-1 piece.
        const bool L = c.pattern[0] == 'L';
        const int x2 = L ? Rnd(f.ExactX(2 * a1)) : f.X0;
        const int y2 = L ? f.Y0 : Rnd(f.ExactY(d1));
        EXPECT_EQ(At(img, x2, y2 + 5), kBlack) << c.number;
        for (int k = 0; k < 3; ++k) {
            // One column of three in both patterns.
            const int y = Rnd(f.ExactY((L ? 0 : d1) + k * d2));
            const int x = x2;
            EXPECT_TRUE(LabelAt(img, x + Rnd(a2 * S / 2 - tw / 2.0), y + Rnd(d2 * S / 2 - th / 2.0),
                                QStringLiteral("P2"), kSheetOrange))
                << c.number << " piece " << k;
        }
        // Panel 2 is dimensioned right of the sheet ("L") or left and below ("W").
        const int Rs = Rnd(f.gx + 48 * S) + 50, B = Rnd(f.gy + 40 * S) + 50;
        EXPECT_EQ(At(img, Rs + 10, y2), L ? kBlack : kWhite) << c.number;
        EXPECT_EQ(At(img, x2, B + 10), L ? kWhite : kBlack) << c.number;
        // Panel 1's height mark: one extension line at its bottom edge.
        EXPECT_EQ(At(img, f.X0 - 20, f.Y0 + Rnd(d1 * S)), kBlack) << c.number;
    }
}

TEST(TwoPanelCutting, BlocksThatFitNoCaseLeaveTheSheetEmpty) {
    TwoPanelCutting mixed = Plan({1, "L", false, false});
    mixed.Lb1 = 1;
    mixed.Wa1 = 1; // panel 1 both upright and turned
    TwoPanelCutting other = Plan({1, "L", false, false});
    other.Pattern = QStringLiteral("N");
    for (const TwoPanelCutting* a : {&mixed, &other}) {
        QImage img(800, 600, QImage::Format_RGB32);
        DrawTwoPanelCutting(*a, img);
        Frame f;
        MakeFrame(800, 600, 48, 40, f);
        // The sheet with its hatching and overall marks, no P1 piece outline.
        EXPECT_EQ(At(img, f.X0, f.Y0 - 30), kBlack);
        const int xf = Rnd(f.ExactX(20));
        bool outline = true;
        for (int y = f.Y0 + 2; y < f.Y0 + 40; ++y)
            outline = outline && At(img, xf - 1, y) == kBlack;
        EXPECT_FALSE(outline);
        EXPECT_EQ(At(img, xf, f.Y0 - 10), kWhite); // no panel-1 mark
    }
}

// At 128 pixels per unit and no offset, the exact width is the label's span.
TEST(TwoPanelCutting, PanelOneWidthFitsInsideOnlyWithTwentyPixelsToSpare) {
    const int tw = test::TextWidth(QStringLiteral("0.000"));
    for (int extra : {19, 20, 21}) {
        TwoPanelCutting a = Plan({1, "L", false, false});
        a.SheetL = 10;
        a.SheetW = 5;
        a.P1L = (tw + extra) / 128.0;
        a.P1W = 0.5;
        a.P2L = a.P2W = 1;
        ASSERT_EQ(test::TextWidth(FormatLength(a.P1L)), tw);
        QImage img(1380, 1100, QImage::Format_RGB32);
        DrawTwoPanelCutting(a, img);
        Frame f;
        MakeFrame(1380, 1100, 10, 5, f);
        ASSERT_DOUBLE_EQ(f.S, 128.0);
        const int x = f.X0, y = f.Y0, xf = x + tw + extra;
        const bool inside = extra > 20;
        EXPECT_EQ(At(img, x + 4, y - 11), inside ? kBlack : kWhite) << extra;
        EXPECT_EQ(At(img, x - 4, y - 13), inside ? kWhite : kBlack) << extra;
        EXPECT_EQ(At(img, xf + tw + 5, y - 13), inside ? kWhite : kBlack) << extra;
        if (!inside) {
            EXPECT_TRUE(LabelAt(img, xf + 8, y - 13 - 13, FormatLength(a.P1L), kSheetOrange));
        }
    }
}
