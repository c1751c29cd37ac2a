// Timing of the plan report: content (pictures and texts), workbook, PDF.
// Prints figures; never run as a test.

#include "ReportPaint.h"
#include "ReportWorkbook.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QMap>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace vorn::report;

namespace {

QMap<QString, double> Numbers(bool twoSize) {
    QMap<QString, double> n{
        {"Layer", 4},      {"Set_L", 4},  {"Set_W", 2},      {"Set_C", 0.1},    {"Panel_L", 13.2},
        {"Panel_W", 11.4}, {"Panel", 15}, {"Border_L", 0.5}, {"Border_W", 0.5}, {"Panel_lv", 79.7},
        {"Set_La", 3},     {"Set_Wb", 5}, {"Base_L", 48},    {"Base_W", 40},    {"Panel_N", 9},
        {"Base_lv", 70.5}, {"P_La", 3},   {"P_Wb", 3}};
    if (twoSize)
        n.insert({{"Panel_L2", 10.3},
                  {"Panel_W2", 8.6},
                  {"Panel2", 6},
                  {"Set_La2", 2},
                  {"Set_Wb2", 3},
                  {"P_La", 3},
                  {"P_Wb", 2},
                  {"P_La2", 4},
                  {"P_Wb2", 1}});
    return n;
}

ReportJob Job(const QMap<QString, double>& numbers) {
    ReportJob job;
    job.plan = {[&numbers](const char* c) { return numbers.value(QString::fromLatin1(c)); },
                [](const char* c) {
                    return QByteArray(c) == "P_up" ? QStringLiteral("W") : QStringLiteral("N");
                }};
    job.partNumber = QStringLiteral("P-1");
    job.unitCaption = QStringLiteral("Inch");
    return job;
}

const std::vector<vorn::ToolingHole> kHoles{{1, 0.25, 0.25, 0.125},
                                            {2, 12.95, 0.25, 0.125},
                                            {3, 12.95, 11.15, 0.125},
                                            {4, 0.25, 11.15, 0.125}};

void BM_Content(benchmark::State& state) {
    const auto numbers = Numbers(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(MakeReportContent(Job(numbers), {}, kHoles, kHoles));
}
BENCHMARK(BM_Content)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Workbook(benchmark::State& state) {
    const auto numbers = Numbers(state.range(0));
    const ReportContent content = MakeReportContent(Job(numbers), {}, kHoles, kHoles);
    const QString templatePath =
        TemplatePath(QCoreApplication::applicationDirPath(), content.twoSize);
    for (auto _ : state) {
        QByteArray bytes;
        QString error;
        if (!BuildReportWorkbook(content, templatePath, bytes, &error)) {
            state.SkipWithError(qPrintable(error));
            break;
        }
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_Workbook)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Pdf(benchmark::State& state) {
    const ReportContent content = MakeReportContent(Job(Numbers(true)), {}, kHoles, kHoles);
    QTemporaryDir dir;
    for (auto _ : state) {
        QString error;
        if (!WriteReportPdf(content, dir.filePath(QStringLiteral("r.pdf")), &error)) {
            state.SkipWithError(qPrintable(error));
            break;
        }
    }
}
BENCHMARK(BM_Pdf)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int appArgc = 1;
    QGuiApplication app(appArgc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
