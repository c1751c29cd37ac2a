// Appending search results to TempResult and putting them in order, the way
// a search does: grid detached, every column of a result row set, one post per row.
#include "DataModule.h"
#include "VornTestSupport.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <random>

using namespace vorn;

namespace {

const char* const kColumns[] = {
    "Set_L",    "Set_W",  "Set_C",  "Panel_L", "Panel_W",   "Border_L",  "Border_W",
    "Set_La",   "Set_Wb", "Set_Lb", "Set_Wa",  "Set_sLa",   "Set_sWb",   "Panel",
    "Panel_lv", "P_La",   "P_Wb",   "P_Lb",    "P_Wa",      "P_sLa",     "P_sWb",
    "Panel_N",  "Base_L", "Base_W", "Base_lv", "Base_down", "Panel_down"};

void fill(TDataM1& dm, int rows) {
    Cursor& r = dm.TempResult;
    std::vector<int> fields;
    for (const char* name : kColumns)
        fields.push_back(r.fieldIndex(QString::fromLatin1(name)));
    const int up = r.fieldIndex(QStringLiteral("Up"));
    const int pUp = r.fieldIndex(QStringLiteral("P_up"));
    const QString n = QStringLiteral("N");
    std::mt19937 random(7);
    std::uniform_real_distribution<double> utilization(40.0, 95.0);
    for (int i = 0; i < rows; ++i) {
        r.append();
        for (size_t f = 0; f < fields.size(); ++f)
            r.setValue(fields[f], double(i % 97) + double(f));
        const double baseLv = utilization(random), panelLv = utilization(random);
        r.setValue(fields[fields.size() - 2], 100.0 / baseLv);
        r.setValue(fields[fields.size() - 1], 100.0 / panelLv);
        r.setValue(up, n);
        r.setValue(pUp, n);
        r.post();
    }
}

void BM_AppendResults(benchmark::State& state) {
    test::ProgramDir dir;
    TDataM1 dm(dir.path());
    for (auto _ : state) {
        dm.TempResult.close();
        dm.TempResult.open();
        fill(dm, int(state.range(0)));
        benchmark::DoNotOptimize(dm.TempResult.recordCount());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The appended rows come out of order; the first positional access places them.
void BM_AppendThenFirst(benchmark::State& state) {
    test::ProgramDir dir;
    TDataM1 dm(dir.path());
    for (auto _ : state) {
        state.PauseTiming();
        dm.TempResult.close();
        dm.TempResult.open();
        fill(dm, int(state.range(0)));
        state.ResumeTiming();
        dm.TempResult.first();
        benchmark::DoNotOptimize(dm.TempResult.asDouble(QStringLiteral("Base_down")));
    }
}

// An explicit re-sort of rows already in memory, as after a search.
void BM_Resort(benchmark::State& state) {
    test::ProgramDir dir;
    TDataM1 dm(dir.path());
    dm.TempResult.open();
    fill(dm, int(state.range(0)));
    for (auto _ : state) {
        dm.TempResult.setSort(QStringLiteral("Panel_down"));
        dm.TempResult.setSort(QStringLiteral("Base_down;Panel_down"));
    }
}

// Numbering all rows in sorted order by walking the cursor.
void BM_NumberRows(benchmark::State& state) {
    test::ProgramDir dir;
    TDataM1 dm(dir.path());
    dm.TempResult.open();
    fill(dm, int(state.range(0)));
    Cursor& r = dm.TempResult;
    const int number = r.fieldIndex(QStringLiteral("Number"));
    for (auto _ : state) {
        r.first();
        for (int i = 1; !r.eof(); ++i) {
            r.edit();
            r.setValue(number, i);
            r.next();
        }
    }
}

} // namespace

BENCHMARK(BM_AppendResults)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AppendThenFirst)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Resort)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NumberRows)->Arg(100000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
