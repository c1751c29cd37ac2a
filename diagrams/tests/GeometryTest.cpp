#include "DiagramGeometry.h"

#include <QFontInfo>
#include <QFontMetrics>

#include <gtest/gtest.h>

using namespace vorn;

TEST(FormatLength, RoundsToThousandthsHalvesToEven) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {1.0 / 16, "0.062"}, {3.0 / 16, "0.188"}, {12.5, "12.500"},  {4e-4, "0.000"},
        {-4e-4, "0.000"},    {457.2, "457.200"},  {0.0005, "0.000"}, {2.0 / 3, "0.667"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatLength(c.value), QString::fromLatin1(c.text)) << c.value;
    EXPECT_EQ(FormatDirect(0.0625), QStringLiteral("0.062"));
}

TEST(DiagramFont, IsTheCjkSansWithThirteenPixelLines) {
    // Marks leave 13 pixels between a label's top and its line; a missing
    // font package would silently change every placement.
    EXPECT_EQ(QFontInfo(DiagramFont()).family(), QStringLiteral("WenQuanYi Micro Hei"));
    EXPECT_EQ(QFontMetrics(DiagramFont()).height(), 13);
}

TEST(Frame, FitsContainerAndCentresIt) {
    const struct {
        int W, H;
        double CL, CW;
        double S;
        int X0, Y0, Right, Bottom;
    } cases[] = {
        // Square area, square container: the >= test fits the height.
        {600, 600, 10, 10, 50.0, 50, 50, 550, 550},
        // Much longer than wide: fitted to the width, centred vertically;
        // gy = 232.5 rounds to the even 232.
        {800, 600, 100, 5, 7.0, 50, 282, 750, 318},
        // Taller proportions than the area: fitted to the height.
        {800, 600, 21, 18, 500.0 / 18, 108, 50, 692, 550},
    };
    for (const auto& c : cases) {
        Frame f;
        ASSERT_TRUE(MakeFrame(c.W, c.H, c.CL, c.CW, f));
        EXPECT_DOUBLE_EQ(f.S, c.S);
        EXPECT_EQ(f.X0, c.X0);
        EXPECT_EQ(f.Y0, c.Y0);
        EXPECT_EQ(f.Right, c.Right);
        EXPECT_EQ(f.Bottom, c.Bottom);
    }
}

TEST(Frame, RefusesWhatCannotBeDrawn) {
    const struct {
        int W, H;
        double CL, CW;
    } cases[] = {
        {800, 600, 0, 5}, {800, 600, 5, -1},  {800, 600, NAN, 5}, {800, 600, 5, INFINITY},
        {99, 99, 21, 18}, {100, 600, 21, 18}, {600, 100, 21, 18},
    };
    for (const auto& c : cases) {
        Frame f;
        EXPECT_FALSE(MakeFrame(c.W, c.H, c.CL, c.CW, f)) << c.W << "x" << c.H << " " << c.CL;
    }
}

TEST(Carry, EveryEdgeLandsOnItsRoundedExactPosition) {
    // A pitch whose pixel size rounds down: stepping by round(pitch) would
    // drift by more than a hundred pixels over 1000 pieces.
    const double start = 57.3, pitch = 1.4137, size = 1.2011;
    Carry c(start);
    for (int k = 0; k < 1000; ++k) {
        ASSERT_EQ(c.Pos(), Rnd(start + k * pitch)) << k;
        ASSERT_EQ(c.Pos() + c.Size(size), Rnd(start + k * pitch + size)) << k;
        c.Step(pitch);
    }
    EXPECT_EQ(c.Pos(), Rnd(start + 1000 * pitch));
}
