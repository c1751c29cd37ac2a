// How long a full redraw takes: a panel of 1000 boards at 1600 x 1200 must
// stay well under 50 ms, since every view switch and resize redraws.

#include "DiagramRoutines.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

namespace {

vorn::LayoutDrawing ThousandBoards(const char* pattern) {
    vorn::LayoutDrawing a;
    a.Kind = QStringLiteral("Panel");
    a.Pattern = QString::fromLatin1(pattern);
    a.ContainerL = 40.9; // 50 columns of 0.7 and 20 rows of 0.4, gap 0.1
    a.ContainerW = 10.9;
    a.MarginL = a.MarginW = 0.5;
    a.PieceL = 0.7;
    a.PieceW = 0.4;
    a.Spacing = 0.1;
    a.La = 50;
    a.Wb = 20;
    if (a.Pattern == QLatin1String("L")) {
        // 10 turned columns of 20 and 32 upright columns of 25
        a.ContainerL = 31.5;
        a.ContainerW = 16.9;
        a.Lb = 10;
        a.Wa = 20;
        a.La = 32;
        a.Wb = 25;
    }
    return a;
}

void BM_LayoutDiagram(benchmark::State& state, const char* pattern) {
    const vorn::LayoutDrawing a = ThousandBoards(pattern);
    QImage image(1600, 1200, QImage::Format_RGB32);
    for (auto _ : state)
        benchmark::DoNotOptimize(vorn::DrawLayoutDiagram(a, image));
}
BENCHMARK_CAPTURE(BM_LayoutDiagram, panel_N_1000_boards_1600x1200, "N")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LayoutDiagram, panel_L_1000_boards_1600x1200, "L")
    ->Unit(benchmark::kMillisecond);

void BM_ReportPicture(benchmark::State& state) {
    const vorn::LayoutDrawing a = ThousandBoards("N");
    QImage image(448, 298, QImage::Format_RGB32);
    for (auto _ : state)
        benchmark::DoNotOptimize(vorn::DrawLayoutDiagram(a, image));
}
BENCHMARK(BM_ReportPicture)->Unit(benchmark::kMillisecond);

void BM_TwoPanelCutting(benchmark::State& state) {
    vorn::TwoPanelCutting a;
    a.SheetL = 48;
    a.SheetW = 40;
    a.P1L = 20;
    a.P1W = 12;
    a.P2L = 10;
    a.P2W = 8;
    a.Pattern = QStringLiteral("W");
    a.La1 = 2, a.Wb1 = 2, a.Lb2 = 6, a.Wa2 = 1;
    QImage image(1600, 1200, QImage::Format_RGB32);
    for (auto _ : state) {
        vorn::DrawTwoPanelCutting(a, image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_TwoPanelCutting)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
