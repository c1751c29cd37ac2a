// Figures of border minimization over a large result table (not a test):
//   plans_bench [JOBFILE]   (default: bench/jobs/j3.job, about 82,000 rows)

#include "DataModule.h"
#include "JobFile.h"
#include "PanelSearch.h"
#include "PlanWork.h"
#include "ResultSinks.h"
#include "VornTestSupport.h"

#include <QElapsedTimer>

#include <cstdio>
#include <cstring>
#include <fstream>

int main(int argc, char** argv) {
    if (argc > 1 && (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h"))) {
        std::puts("usage: plans_bench [JOBFILE]\n"
                  "Times border minimization over the result table of JOBFILE\n"
                  "(default: bench/jobs/j3.job, about 82,000 rows).");
        return 0;
    }
    vorn::test::prepareApplication();
    QApplication app(argc, argv);
    const std::string path = argc > 1 ? argv[1] : VORN_BENCH_JOBS "/j3.job";
    std::ifstream file(path);
    vorn::PanelJob job;
    if (!file) {
        std::fprintf(stderr, "plans_bench: cannot open %s\n", path.c_str());
        return 2;
    }
    if (const std::string e = vorn::ReadPanelJob(file, job); !e.empty()) {
        std::fprintf(stderr, "plans_bench: %s: %s\n", path.c_str(), e.c_str());
        return 2;
    }
    vorn::test::ProgramDir dir;
    vorn::TDataM1 dm(dir.path());
    dm.TempInput.open();
    dm.TempInput.append();
    dm.TempInput.setValue("BorderX_L", job.BorderX_L);
    dm.TempInput.setValue("BorderX_W", job.BorderX_W);
    dm.TempInput.post();
    dm.TempResult.close();
    dm.TempResult.setSort(QString());
    dm.TempResult.open();
    {
        vorn::ResultTableSink sink(dm.TempResult);
        vorn::NoProgress progress;
        vorn::RunPanelSearch(job, vorn::DisplayUnit::Inch, sink, progress);
    }
    vorn::NumberInSortOrder(dm.TempResult, "Base_down;Panel_down");
    const int rows = dm.TempResult.recordCount();
    for (int pass = 1; pass <= 2; ++pass) {
        QElapsedTimer clock;
        clock.start();
        const int changed = vorn::MinimizeCandidateBorders(dm.TempResult, dm.TempInput);
        std::printf("pass %d: %d rows, %d changed, %.1f ms\n", pass, rows, changed,
                    clock.nsecsElapsed() / 1e6);
    }
    return 0;
}
