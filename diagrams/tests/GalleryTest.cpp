// Renders every pattern and case into the screenshot folder for review by eye.

#include "DiagramRoutines.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace vorn;

namespace {

QString GalleryDir() {
    const QString dir = QStringLiteral(VORN_SCREENSHOT_DIR "/diagrams");
    QDir().mkpath(dir);
    return dir;
}

LayoutDrawing Layout(const char* kind, const char* pattern, double CL, double CW, double m,
                     double PL, double PW, double sp, std::initializer_list<int> counts) {
    LayoutDrawing a;
    a.Kind = QString::fromLatin1(kind);
    a.Pattern = QString::fromLatin1(pattern);
    a.ContainerL = CL;
    a.ContainerW = CW;
    a.MarginL = a.MarginW = m;
    a.PieceL = PL;
    a.PieceW = PW;
    a.Spacing = sp;
    int* fields[] = {&a.La, &a.Wb, &a.Lb, &a.Wa, &a.sLa, &a.sWb};
    int i = 0;
    for (int n : counts)
        *fields[i++] = n;
    return a;
}

void Save(const QImage& img, const QString& name) {
    const QString path = GalleryDir() + QLatin1Char('/') + name;
    QString error;
    ASSERT_TRUE(SavePicture(img, path, &error)) << qPrintable(error);
    // Something beyond the white frame was drawn.
    EXPECT_NE(img.pixel(img.width() / 2, img.height() / 2), qRgb(255, 255, 255))
        << qPrintable(name);
}

} // namespace

TEST(Gallery, LayoutPatterns) {
    const struct {
        const char* file;
        LayoutDrawing args;
        QSize size;
    } views[] = {
        {"panel_N_upright.png", Layout("Panel", "N", 21, 18, 0.5, 4, 2, 0.1, {4, 8}), {800, 600}},
        {"panel_N_turned.png",
         Layout("Panel", "N", 21, 18, 0.5, 4, 2, 0.1, {0, 0, 9, 4}),
         {800, 600}},
        {"panel_N_report_size.png",
         Layout("Panel", "N", 21, 18, 0.5, 4, 2, 0.1, {4, 8}),
         {448, 298}},
        {"array_N_small_units.png",
         Layout("Panel", "N", 6, 4, 0.3, 0.8, 0.6, 0.1, {6, 5}),
         {800, 600}},
        {"array_N_outside_labels.png",
         Layout("Panel", "N", 12, 3, 0.3, 0.3, 0.2, 0.05, {32, 9}),
         {800, 600}},
        {"panel_L_outside_labels.png",
         Layout("Panel", "L", 12, 4, 0.3, 0.5, 0.3, 0.05, {17, 10, 2, 6, 1, 1}),
         {800, 600}},
        {"panel_W_outside_labels.png",
         Layout("Panel", "W", 12, 4, 0.3, 0.5, 0.3, 0.05, {21, 4, 33, 3, 1, 1}),
         {800, 600}},
        {"panel_N_long_container.png",
         Layout("Panel", "N", 60, 6, 0.5, 2, 1, 0.1, {28, 4}),
         {800, 600}},
        {"panel_N_1000_pieces.png",
         Layout("Panel", "N", 40.9, 10.9, 0.5, 0.7, 0.4, 0.1, {50, 20}),
         {1600, 1200}},
        {"panel_L_no_extra.png",
         Layout("Panel", "L", 22, 18, 0.5, 4, 2, 0.1, {4, 8, 2, 4}),
         {800, 600}},
        {"panel_L_extra_narrower.png",
         Layout("Panel", "L", 22, 20, 0.5, 4, 2, 0.1, {4, 9, 2, 4, 1, 1}),
         {800, 600}},
        {"panel_L_extra_wider.png",
         Layout("Panel", "L", 23, 20, 0.5, 4, 2, 0.1, {3, 9, 1, 4, 2, 1}),
         {800, 600}},
        {"panel_W_extra.png",
         Layout("Panel", "W", 21, 18, 0.5, 4, 2, 0.1, {4, 4, 9, 2, 2, 1}),
         {800, 600}},
        {"base_N.png", Layout("Base", "N", 48, 40, 0, 21, 18, 0, {2, 2}), {800, 600}},
        {"base_L.png", Layout("Base", "L", 48, 42, 0, 18, 12, 0, {2, 3, 1, 2}), {800, 600}},
        {"base_W.png", Layout("Base", "W", 48, 42, 0, 18, 12, 0, {2, 2, 4, 1, 1, 1}), {800, 600}},
    };
    for (const auto& v : views) {
        QImage img(v.size, QImage::Format_RGB32);
        EXPECT_GT(DrawLayoutDiagram(v.args, img), 0.0) << v.file;
        Save(img, QString::fromLatin1(v.file));
    }
}

TEST(Gallery, TwoSizeCuttingCases) {
    // Sheet 48 x 40, panel 1 20 x 12, panel 2 10 x 8; counts La, Wb, Lb, Wa.
    const struct {
        int number;
        const char* pattern;
        int c1[4], c2[4];
    } cases[] = {
        {1, "L", {1, 3, 0, 0}, {2, 5, 0, 0}}, {2, "L", {2, 3, 0, 0}, {0, 0, 1, 4}},
        {3, "L", {0, 0, 2, 2}, {0, 0, 3, 4}}, {4, "L", {0, 0, 2, 2}, {2, 5, 0, 0}},
        {5, "W", {2, 2, 0, 0}, {4, 2, 0, 0}}, {6, "W", {2, 2, 0, 0}, {0, 0, 6, 1}},
        {7, "W", {0, 0, 4, 1}, {0, 0, 6, 2}}, {8, "W", {0, 0, 4, 1}, {4, 2, 0, 0}},
    };
    {
        // Narrow panels: every width mark takes the outside form.
        TwoPanelCutting a;
        a.SheetL = 48;
        a.SheetW = 40;
        a.P1L = 20;
        a.P1W = 2;
        a.P2L = 10;
        a.P2W = 1.5;
        a.Pattern = QStringLiteral("W");
        a.Lb1 = 24;
        a.Wa1 = 1;
        a.Lb2 = 32;
        a.Wa2 = 2;
        QImage img(800, 600, QImage::Format_RGB32);
        DrawTwoPanelCutting(a, img);
        Save(img, QStringLiteral("cut_outside_labels.png"));
    }
    for (const auto& c : cases) {
        TwoPanelCutting a;
        a.SheetL = 48;
        a.SheetW = 40;
        a.P1L = 20;
        a.P1W = 12;
        a.P2L = 10;
        a.P2W = 8;
        a.Pattern = QString::fromLatin1(c.pattern);
        a.La1 = c.c1[0], a.Wb1 = c.c1[1], a.Lb1 = c.c1[2], a.Wa1 = c.c1[3];
        a.La2 = c.c2[0], a.Wb2 = c.c2[1], a.Lb2 = c.c2[2], a.Wa2 = c.c2[3];
        for (QSize size : {QSize(800, 600), QSize(448, 298)}) {
            QImage img(size, QImage::Format_RGB32);
            DrawTwoPanelCutting(a, img);
            Save(img, QStringLiteral("cut_case%1%2.png")
                          .arg(c.number)
                          .arg(size.width() == 448 ? QStringLiteral("_report_size") : QString()));
        }
    }
}

TEST(Gallery, ToolingMarksOnAPanel) {
    const LayoutDrawing a = Layout("Panel", "N", 21, 18, 0.5, 4, 2, 0.1, {4, 8});
    QImage img(800, 600, QImage::Format_RGB32);
    const double S = DrawLayoutDiagram(a, img);
    const std::vector<ToolingHole> holes{
        {1, 0.25, 0.25, 0.125},  {2, 20.75, 0.25, 0.125}, {3, 20.75, 17.75, 0.125},
        {4, 0.25, 17.75, 0.156}, {5, 10.5, 0.25, 0},      {6, 10.5, 17.75, 0.25},
    };
    DrawToolingMarks(img, a.ContainerL, a.ContainerW, a.Kind, S, holes);
    Save(img, QStringLiteral("tooling_on_panel.png"));
}
