// Figures of the search command run from the main window (fastest of three
// runs each, from the window and of the engine alone): where the time goes
// (engine, table writes, progress box, pick-up and first drawing), how often
// the window repaints, the process's peak memory, and the cells of the
// window's table unlike the engine's rows. Prints; checks nothing.
//
//   job_bench [small|j3|tiny|all]

#include "Cursor.h"
#include "DataModule.h"
#include "JobTypes.h"
#include "MainWindow.h"
#include "PanelSearch.h"
#include "Startup.h"
#include "VornTestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QTest>

#include <cstdio>
#include <string>
#include <sys/resource.h>
#include <type_traits>

namespace {

struct Job {
    const char* name;
    double Set_L, Set_W, Set_C, BorderX_L, BorderX_W, Min_PL, Min_PW, Max_PL, Max_PW, ratio, minLv;
    bool bestBase;
    int kinds;
};

// The small board of the responsiveness figure, and bench job j3.
const Job kJobs[] = {
    {"small 0.8x0.6, every sheet", 0.8, 0.6, 0.08, 0.4, 0.4, 12, 10, 24, 24, 1.5, 70, false, 2},
    {"j3 1.3x0.9, best sheet", 1.3, 0.9, 0.1, 0.4, 0.4, 6, 6, 24, 24, 3, 60, true, 2},
    {"tiny 0.1x0.1 (j5), one kind, best sheet", 0.1, 0.1, 0, 0.6, 0.6, 12, 10, 24.5, 20.5, 1.5, 70,
     true, 1},
};

double Ms(std::int64_t ns) {
    return double(ns) / 1e6;
}

long PeakRssMb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss / 1024;
}

// Cells of the window's result table that differ from the engine's rows
// (every column, every row; a different row count counts once).
long TableDifferences(const vorn::Cursor& t, const std::vector<vorn::ResultRow>& rows) {
    long differences = t.recordCount() == int(rows.size()) ? 0 : 1;
    for (int r = 0; r < std::min(t.recordCount(), int(rows.size())); ++r)
        vorn::ForEachColumn(rows[size_t(r)], [&](const char* name, const auto& v) {
            using V = std::decay_t<decltype(v)>;
            const QVariant got = t.valueAt(r, t.fieldIndex(QString::fromLatin1(name)));
            if constexpr (std::is_same_v<V, char>)
                differences += got.toString() != QString(QChar::fromLatin1(v));
            else if constexpr (std::is_arithmetic_v<V>)
                differences += got.isNull() || got.toDouble() != double(v);
            else
                differences += !got.isNull();
        });
    return differences;
}

void Run(const Job& job) {
    vorn::test::ProgramDir dir;
    auto w = vorn::CreateMainWindow(dir.path());
    w->show();
    if (!QTest::qWaitForWindowExposed(w.get()))
        std::printf("window not exposed\n");
    vorn::TDataM1& dm = *w->Data();
    vorn::Cursor& j = dm.TempInput;
    j.edit();
    j.setValue("Set_L", job.Set_L);
    j.setValue("Set_W", job.Set_W);
    j.setValue("Set_C", job.Set_C);
    j.setValue("BorderX_L", job.BorderX_L);
    j.setValue("BorderX_W", job.BorderX_W);
    j.setValue("Min_PL", job.Min_PL);
    j.setValue("Min_PW", job.Min_PW);
    j.setValue("Max_PL", job.Max_PL);
    j.setValue("Max_PW", job.Max_PW);
    j.setValue("PLPW_ratio", job.ratio);
    j.setValue("Min_lv", job.minLv);
    j.post();
    w->findChild<QSpinBox*>("Edit5")->setValue(job.kinds);
    w->findChild<QRadioButton*>(job.bestBase ? "RadioButton6" : "RadioButton7")->setChecked(true);
    w->findChild<QRadioButton*>("RadioButton3")->setChecked(true);
    w->findChild<QCheckBox*>("CheckBox1")->setChecked(true);
    w->findChild<QCheckBox*>("CheckBox2")->setChecked(true);

    // The whole command from F2 to the first row drawn; the fastest of three
    // runs (the machine is shared).
    QElapsedTimer clock;
    std::int64_t toFirstRow = 0, firstRun = 0;
    vorn::SearchTimings t;
    for (int run = 0; run < 3; ++run) {
        clock.start();
        w->ToolButton1Click();
        w->ResultGrid()->viewport()->repaint();
        const std::int64_t ns = clock.nsecsElapsed();
        if (run == 0)
            firstRun = ns; // the table's storage is new only in the first run
        if (run == 0 || ns < toFirstRow) {
            toFirstRow = ns;
            t = w->LastSearchTimings();
        }
    }
    const std::int64_t drawing = toFirstRow - t.total + t.pickUp;

    // The engine alone on the same job, rows kept in a vector.
    const vorn::SearchOptions o = w->Options();
    vorn::PanelJob in;
    in.Set_L = job.Set_L;
    in.Set_W = job.Set_W;
    in.Set_C = job.Set_C;
    in.BorderX_L = job.BorderX_L;
    in.BorderX_W = job.BorderX_W;
    in.Min_PL = job.Min_PL;
    in.Min_PW = job.Min_PW;
    in.Max_PL = job.Max_PL;
    in.Max_PW = job.Max_PW;
    in.PLPW_ratio = job.ratio;
    in.Min_lv = job.minLv;
    in.PanelNumber = o.panelKinds.toStdString();
    in.AUTOPanel = o.autoPanel;
    in.GoodBase = o.bestBase;
    in.BothPanel = o.bothPanel;
    in.BothBase = o.bothBase;
    in.sheets = {{48, 36}, {48, 40}, {48, 42}, {49, 37}, {49, 41}, {49, 43}};
    vorn::CollectedRows sink;
    vorn::SearchStats stats;
    std::int64_t engineAlone = 0;
    for (int run = 0; run < 3; ++run) {
        sink.rows.clear();
        vorn::NoProgress none;
        stats = {};
        clock.restart();
        vorn::RunPanelSearch(in, vorn::DisplayUnit::Inch, sink, none, &stats);
        vorn::SortAndNumber(sink.rows);
        const std::int64_t ns = clock.nsecsElapsed();
        if (run == 0 || ns < engineAlone)
            engineAlone = ns;
    }

    std::printf("%s\n", job.name);
    std::printf("  rows %d (engine alone %zu), progress steps %lld\n", t.rows, sink.rows.size(),
                static_cast<long long>(stats.progressSteps));
    std::printf("  F2 to first row drawn  %9.1f ms (first run %.1f ms)\n", Ms(toFirstRow),
                Ms(firstRun));
    std::printf("    engine               %9.1f ms\n", Ms(t.engine));
    std::printf("    table writes         %9.1f ms (append %d rows, sort, number)\n",
                Ms(t.tableWrites), t.rows);
    std::printf("    progress box         %9.1f ms (%d repaints, %.1f per second)\n", Ms(t.looks),
                t.lookCount, t.total > 0 ? t.lookCount / (double(t.total) / 1e9) : 0.0);
    std::printf("    pick-up and drawing  %9.1f ms\n", Ms(drawing));
    std::printf("  box first drawn after  %9.1f ms; longest time without a repaint %.1f ms\n",
                Ms(t.firstLook), Ms(t.longestGap));
    std::printf("  engine alone           %9.1f ms; command / engine alone = %.2f\n",
                Ms(engineAlone), double(toFirstRow) / double(engineAlone));
    std::printf("  peak memory            %9ld MB\n", PeakRssMb());
    std::printf("  table cells unlike the engine's rows: %ld\n",
                TableDifferences(dm.TempResult, sink.rows));
}

} // namespace

int main(int argc, char** argv) {
    const std::string arg = argc > 1 ? argv[1] : "all";
    if (arg == "--help" || arg == "-h") {
        std::puts("usage: job_bench [small|j3|tiny|all]\n"
                  "Runs each job from the main window (offscreen unless QT_QPA_PLATFORM is set)\n"
                  "three times and prints where the time goes, the repaints and the peak memory.");
        return 0;
    }
    if (arg != "small" && arg != "j3" && arg != "tiny" && arg != "all") {
        std::fprintf(stderr, "job_bench: unknown job '%s' (small, j3, tiny or all)\n", arg.c_str());
        return 2;
    }
    vorn::test::prepareApplication();
    QApplication app(argc, argv);
    const QString which = QString::fromStdString(arg);
    if (which == QLatin1String("small") || which == QLatin1String("all"))
        Run(kJobs[0]);
    if (which == QLatin1String("j3") || which == QLatin1String("all"))
        Run(kJobs[1]);
    if (which == QLatin1String("tiny") || which == QLatin1String("all"))
        Run(kJobs[2]);
    return 0;
}
