#include "DiagramGeometry.h"
#include "DiagramRoutines.h"
#include "PixelProbe.h"
#include "SafeWrite.h"

#include <QDir>

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vorn;
using vorn::test::At;
using vorn::test::Rgb;

namespace {

const QRgb kBlack = Rgb(Qt::black);
const QRgb kGreen = Rgb(kPanelGreen);

LayoutDrawing Panel() {
    LayoutDrawing a;
    a.Kind = QStringLiteral("Panel");
    a.Pattern = QStringLiteral("N");
    a.ContainerL = 21;
    a.ContainerW = 18;
    a.MarginL = a.MarginW = 1;
    a.PieceL = 4;
    a.PieceW = 2;
    a.Spacing = 0.1;
    a.La = 4;
    a.Wb = 7;
    return a;
}

// A full disk while a picture is written over an existing one: the old
// picture survives byte for byte, no temporary file stays, and the message
// names the file and the real reason (never success with a 0-byte file).
TEST(PictureFile, AFailedWriteKeepsTheOldPicture) {
    QTemporaryDir dir;
    QImage img(40, 30, QImage::Format_RGB32);
    img.fill(Qt::white);
    for (const char* name : {"old.bmp", "old.png", "old.jpg"}) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile seed(path);
        ASSERT_TRUE(seed.open(QIODevice::WriteOnly));
        seed.write("the picture before");
        seed.close();
        QString error;
        InjectWriteFailure(10, QStringLiteral("No space left on device"));
        const bool saved = SavePicture(img, path, &error);
        ClearInjectedWriteFailure();
        EXPECT_FALSE(saved) << name;
        EXPECT_TRUE(error.contains(QStringLiteral("No space left on device"))) << qPrintable(error);
        EXPECT_TRUE(error.contains(QString::fromLatin1(name))) << qPrintable(error);
        QFile after(path);
        ASSERT_TRUE(after.open(QIODevice::ReadOnly));
        EXPECT_EQ(after.readAll(), QByteArray("the picture before")) << name;
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 3);
    // A new picture that cannot be written leaves no file at all.
    QString error;
    InjectWriteFailure(0, QStringLiteral("No space left on device"));
    EXPECT_FALSE(SavePicture(img, dir.filePath("new.png"), &error));
    ClearInjectedWriteFailure();
    EXPECT_FALSE(QFile::exists(dir.filePath("new.png")));
}

} // namespace

TEST(ToolingMarks, HolesAreDotsWithTransparentNumbers) {
    QImage img(800, 600, QImage::Format_RGB32);
    const double S = DrawLayoutDiagram(Panel(), img);
    const QImage before = img.copy();
    const std::vector<ToolingHole> holes{{1, 0.5, 0.5, 0.125}, {2, 20.5, 17.5, 0}};
    DrawToolingMarks(img, 21, 18, QStringLiteral("Panel"), S, holes);
    const double ox = (800 - 21 * S) / 2, oy = (600 - 18 * S) / 2;

    // Hole 1: a filled disc in its box.
    const int cx = Rnd(0.5 * S + ox), cy = Rnd(0.5 * S + oy);
    EXPECT_EQ(At(img, cx, cy), kBlack);
    EXPECT_EQ(At(img, Rnd(0.4375 * S + ox), cy), kBlack);
    EXPECT_EQ(At(img, Rnd(0.5625 * S + ox) + 2, cy), kGreen);

    // Hole 2, diameter 0: a 2 x 2 dot, its number above right of it.
    const int dx = Rnd(20.5 * S + ox), dy = Rnd(17.5 * S + oy);
    for (int y = dy - 1; y <= dy; ++y)
        for (int x = dx - 1; x <= dx; ++x)
            EXPECT_EQ(At(img, x, y), kBlack) << x << "," << y;
    EXPECT_EQ(At(img, dx + 1, dy), kGreen);
    EXPECT_EQ(At(img, dx - 2, dy), kGreen);
    EXPECT_EQ(At(img, dx, dy + 1), kGreen);

    // The number "2" covers only its glyph: the rest of its box is unchanged.
    const int th = 13, tw = test::TextWidth(QStringLiteral("2"));
    int glyph = 0, kept = 0;
    for (int y = dy - th; y < dy; ++y)
        for (int x = dx; x < dx + tw; ++x) {
            if (At(img, x, y) == At(before, x, y))
                ++kept;
            else if (At(img, x, y) == kBlack)
                ++glyph;
            else
                ADD_FAILURE() << "neither glyph nor background at " << x << "," << y;
        }
    EXPECT_GT(glyph, 5);
    EXPECT_GT(kept, glyph);
}

TEST(ToolingMarks, OnlyPanelKindsCarryHoles) {
    QImage img(800, 600, QImage::Format_RGB32);
    const double S = DrawLayoutDiagram(Panel(), img);
    const QImage before = img.copy();
    const std::vector<ToolingHole> holes{{1, 0.5, 0.5, 0.125}};
    DrawToolingMarks(img, 21, 18, QStringLiteral("Base"), S, holes);
    DrawSavedToolingMarks(img, 21, 18, QString(), S, holes);
    DrawToolingMarks(img, 21, 18, QStringLiteral("Panel"), 0, holes); // nothing was drawn
    DrawToolingMarks(img, 21, 18, QStringLiteral("Panel"), S, {});
    EXPECT_EQ(img, before);
    DrawSavedToolingMarks(img, 21, 18, QStringLiteral("Panel"), S, holes);
    EXPECT_NE(img, before);
}

TEST(PictureFile, FormatFollowsTheName) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage img(300, 200, QImage::Format_RGB32);
    DrawLayoutDiagram(Panel(), img);
    const struct {
        const char* name;
        QByteArray magic;
    } cases[] = {
        {"a.bmp", "BM"},
        {"b.Bmp", "BM"},
        {"c.png", "\x89PNG"},
        {"d.jpg", "\xff\xd8\xff"},
        {"e.JPEG", "\xff\xd8\xff"},
        {"f", "BM"},
    };
    for (const auto& c : cases) {
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        QString error;
        ASSERT_TRUE(SavePicture(img, path, &error)) << c.name << ": " << qPrintable(error);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.read(c.magic.size()), c.magic) << c.name;
    }
    // Lossless formats read back pixel for pixel.
    EXPECT_EQ(QImage(dir.filePath("c.png")).convertToFormat(QImage::Format_RGB32), img);
    EXPECT_EQ(QImage(dir.filePath("a.bmp")).convertToFormat(QImage::Format_RGB32), img);

    QString error;
    EXPECT_FALSE(SavePicture(img, dir.filePath("missing/x.png"), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(SavePicture(QImage(), dir.filePath("empty.bmp"), &error));
    EXPECT_FALSE(QFile::exists(dir.filePath("empty.bmp")));
}
