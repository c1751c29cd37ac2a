// Diagrams saved as vectors: the same drawing, as SVG or PDF shapes and text.

#include "VectorPicture.h"
#include "DiagramRoutines.h"
#include "SafeWrite.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vorn;

namespace {

LayoutDrawing PanelWithPieces() {
    LayoutDrawing a;
    a.Kind = QStringLiteral("Panel");
    a.Pattern = QStringLiteral("N");
    a.ContainerL = 13.2;
    a.ContainerW = 11.4;
    a.MarginL = a.MarginW = 0.5;
    a.PieceL = 4;
    a.PieceW = 2;
    a.Spacing = 0.1;
    a.La = 3;
    a.Wb = 5;
    return a;
}

// The panel with two holes, on any canvas.
void DrawPanel(const DiagramCanvas& canvas) {
    const LayoutDrawing a = PanelWithPieces();
    const double scale = DrawLayoutDiagram(a, canvas);
    DrawToolingMarks(canvas, a.ContainerL, a.ContainerW, a.Kind, scale,
                     {{1, 0.25, 0.25, 0.125}, {2, 12.95, 11.15, 0.125}});
}

QByteArray Read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString RunTool(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

TEST(VectorPicture, SvgHoldsShapesAndTextAndLooksLikeThePixels) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("panel.svg"));
    QString error;
    ASSERT_TRUE(SaveVectorPicture(path, QSize(640, 480), DrawPanel, &error)) << error.toStdString();
    const QString svg = QString::fromUtf8(Read(path));
    EXPECT_TRUE(svg.contains(QStringLiteral("<svg")));
    EXPECT_TRUE(svg.contains(QStringLiteral(">13.200<"))) << "labels are text";
    EXPECT_FALSE(svg.contains(QStringLiteral("<image"))) << "no embedded raster";

    // Rendered back at the same size it matches the raster drawing nearly
    // everywhere (antialiasing of the renderer aside).
    QImage raster(640, 480, QImage::Format_RGB32);
    raster.fill(Qt::white);
    DrawPanel(DiagramCanvas(raster));
    QImage back(640, 480, QImage::Format_RGB32);
    back.fill(Qt::white);
    QSvgRenderer renderer(path);
    ASSERT_TRUE(renderer.isValid());
    {
        QPainter p(&back);
        renderer.render(&p);
    }
    QDir().mkpath(QStringLiteral(VORN_SCREENSHOT_DIR "/diagrams"));
    back.save(QStringLiteral(VORN_SCREENSHOT_DIR "/diagrams/vector_panel_from_svg.png"));
    int differ = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            const QColor a = raster.pixelColor(x, y), b = back.pixelColor(x, y);
            differ += std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
                          std::abs(a.blue() - b.blue()) >
                      120;
        }
    EXPECT_LT(differ, 640 * 480 / 50) << differ << " pixels differ";
}

TEST(VectorPicture, PdfIsOnePageOfTheDiagramsSizeWithText) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("panel.PDF"));
    QString error;
    ASSERT_TRUE(SaveVectorPicture(path, QSize(640, 480), DrawPanel, &error)) << error.toStdString();
    EXPECT_TRUE(Read(path).startsWith("%PDF"));
    const QString info = RunTool(QStringLiteral("pdfinfo"), {path});
    EXPECT_TRUE(info.contains(QStringLiteral("Page size:       640 x 480 pts")))
        << info.toStdString();
    EXPECT_TRUE(RunTool(QStringLiteral("pdftotext"), {path, QStringLiteral("-")})
                    .contains(QStringLiteral("11.400")));
    // pdfimages lists no picture: the diagram is vectors only.
    const QStringList images = RunTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), path})
                                   .split(u'\n', Qt::SkipEmptyParts);
    EXPECT_EQ(images.size(), 2) << "only the two header lines";
}

TEST(VectorPicture, RefusedOrFailedWritesLeaveNothing) {
    QTemporaryDir dir;
    QString error;
    EXPECT_FALSE(SaveVectorPicture(dir.filePath(QStringLiteral("panel.png")), QSize(640, 480),
                                   DrawPanel, &error));
    EXPECT_FALSE(SaveVectorPicture(dir.filePath(QStringLiteral("panel.svg")), QSize(0, 480),
                                   DrawPanel, &error));
    InjectWriteFailure(100, QStringLiteral("No space left on device"));
    const bool written = SaveVectorPicture(dir.filePath(QStringLiteral("panel.pdf")),
                                           QSize(640, 480), DrawPanel, &error);
    ClearInjectedWriteFailure();
    EXPECT_FALSE(written);
    EXPECT_TRUE(error.contains(QStringLiteral("No space left on device"))) << error.toStdString();
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}
