// Figures of the search command run from the main window (fastest of three
// runs each, from the window and of the engine alone): where the time goes
// (engine, table writes, progress box, pick-up and first drawing), how often
// the window repaints, the process's peak memory, and the cells of the
// window's table unlike the engine's rows, and how the progress bar moved.
// Prints; checks nothing.
//
//   job_bench [small|j3|tiny|g05|g11|many|all] [runs [window]]   (many = g05 and g11; all = the
//   first three)

#include "Cursor.h"
#include "DataModule.h"
#include "JobTypes.h"
#include "MainWindow.h"
#include "PanelSearch.h"
#include "PlanWork.h"
#include "Startup.h"
#include "VornTestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <sys/resource.h>
#include <type_traits>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

struct Job {
    const char* key;
    const char* name;
    double Set_L, Set_W, Set_C, BorderX_L, BorderX_W, Min_PL, Min_PW, Max_PL, Max_PW, ratio, minLv;
    bool bestBase;
    int kinds;
    int runs; // of the window and of the engine alone, the fastest counts
};

// The small board of the responsiveness figure, bench job j3, and the jobs
// of many rows (bench/jobs/g05.job; g11.job with Min_lv 81). Every job uses
// the window's default sheets, the sheets of those files.
const Job kJobs[] = {
    {"small", "small 0.8x0.6, every sheet", 0.8, 0.6, 0.08, 0.4, 0.4, 12, 10, 24, 24, 1.5, 70,
     false, 2, 3},
    {"j3", "j3 1.3x0.9, best sheet", 1.3, 0.9, 0.1, 0.4, 0.4, 6, 6, 24, 24, 3, 60, true, 2, 3},
    {"tiny", "tiny 0.1x0.1 (j5), one kind, best sheet", 0.1, 0.1, 0, 0.6, 0.6, 12, 10, 24.5, 20.5,
     1.5, 70, true, 1, 3},
    {"g05", "g05 0.928x0.658, best sheet, 387,244 rows", 0.928, 0.658, 0.02, 0.4, 0.4, 6, 6, 24, 24,
     3, 70, true, 2, 2},
    {"g11", "g11 0.378x0.315, every sheet, Min_lv 81, 1,153,661 rows", 0.378, 0.315, 0, 0.4, 0.4, 6,
     6, 24, 24, 3, 81, false, 2, 2},
};

const vorn::SheetSize kJobSheets[] = {{48, 36}, {48, 40}, {48, 42}, {49, 37}, {49, 41}, {49, 43}};

double Ms(std::int64_t ns) {
    return double(ns) / 1e6;
}

// The bar as the box showed it: time since F2 and the share it stood at.
struct BarSample {
    std::int64_t ns;
    double share;
};

// When the bar first reached each tenth, as a share of the whole command,
// and how long it stood full before the first row was drawn.
void PrintBar(const std::vector<BarSample>& samples, std::int64_t total) {
    std::printf(" bar reached tenths at (share of the whole time):");
    size_t next = 0;
    for (int tenth = 1; tenth <= 10; ++tenth) {
        while (next < samples.size() && samples[next].share < tenth / 10.0 - 1e-9)
            ++next;
        if (next == samples.size())
            std::printf(" -");
        else
            std::printf(" %.2f", double(samples[next].ns) / double(total));
    }
    std::int64_t fullFrom = total;
    for (auto s = samples.rbegin(); s != samples.rend() && s->share >= 1.0; ++s)
        fullFrom = s->ns;
    double largestJump = 0;
    std::int64_t stillest = 0, stillestEnd = 0; // the longest time between two samples
    for (size_t i = 1; i < samples.size(); ++i) {
        largestJump = std::max(largestJump, samples[i].share - samples[i - 1].share);
        if (samples[i].ns - samples[i - 1].ns > stillest) {
            stillest = samples[i].ns - samples[i - 1].ns;
            stillestEnd = samples[i].ns;
        }
    }
    std::printf("\n  bar full for the last %.1f ms (%.1f %%); largest single move %.1f %%; "
                "moved backwards %s\n",
                Ms(total - fullFrom), 100.0 * double(total - fullFrom) / double(total),
                100.0 * largestJump,
                std::adjacent_find(samples.begin(), samples.end(),
                                   [](const BarSample& a, const BarSample& b) {
                                       return b.share < a.share - 1e-12;
                                   }) != samples.end()
                    ? "yes"
                    : "no");
    std::printf("  longest between two samples %.1f ms, up to %.2f of the time, the bar then at "
                "%.1f %%\n",
                Ms(stillest), double(stillestEnd) / double(total),
                100.0 * (std::find_if(samples.begin(), samples.end(), [&](const BarSample& b) {
                             return b.ns == stillestEnd;
                         })->share));
}

long PeakRssMb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss / 1024;
}

// Resident memory now (the peak only grows).
long RssMb() {
    long pages = 0, resident = 0;
    if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * sysconf(_SC_PAGESIZE) / (1024 * 1024);
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

// The share of the work the engine says it has done, every 10 ms or so.
class ShareTrace : public vorn::SearchProgress {
public:
    explicit ShareTrace(const QElapsedTimer& clock) : clock_(clock) {}
    std::vector<BarSample> samples;

protected:
    std::int64_t Check(std::int64_t) override {
        Sample();
        return 4096;
    }
    std::int64_t Idle() override {
        Sample();
        return 64;
    }

private:
    void Sample() {
        const std::int64_t now = clock_.nsecsElapsed();
        if (now - last_ < 10'000'000)
            return;
        last_ = now;
        samples.push_back({now, ShareDone()});
    }
    const QElapsedTimer& clock_;
    std::int64_t last_ = 0;
};

// Without the engine alone and the comparison (for a profiler's peak).
bool windowOnly = false;

void Run(const Job& job, int runs) {
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

    // The whole command from F2 to the first row drawn; the fastest of the
    // runs (the machine is shared).
    QElapsedTimer clock;
    std::int64_t toFirstRow = 0, firstRun = 0;
    vorn::SearchTimings t;
    std::vector<BarSample> samples, fastestSamples, engineSamples;
    auto* bar = w->findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
    const long before = RssMb();
    QObject::connect(bar, &QProgressBar::valueChanged, bar, [&](int value) {
        samples.push_back({clock.nsecsElapsed(),
                           bar->maximum() > 0 ? double(value) / double(bar->maximum()) : 1.0});
    });
    for (int run = 0; run < runs; ++run) {
        samples.clear();
        clock.start();
        w->ToolButton1Click();
        w->ResultGrid()->viewport()->repaint();
        const std::int64_t ns = clock.nsecsElapsed();
        if (run == 0)
            firstRun = ns; // the table's storage is new only in the first run
        if (run == 0 || ns < toFirstRow) {
            toFirstRow = ns;
            t = w->LastSearchTimings();
            fastestSamples = samples;
        }
    }
    const long windowPeakMb = PeakRssMb();
    const long held = RssMb() - before; // the rows in the table, the engine's memory given back
    if (windowOnly) {
        std::printf(
            "%s (window only)\n  F2 to first row drawn %.1f ms, engine %.1f ms, table writes "
            "%.1f ms; peak memory %ld MB\n",
            job.name, Ms(toFirstRow), Ms(t.engine), Ms(t.tableWrites), windowPeakMb);
        return;
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
    in.sheets = vorn::EnabledSheetSizes(dm.SetBase);
    std::vector<std::pair<double, double>> sheets, jobs;
    for (const auto& s : in.sheets)
        sheets.emplace_back(s.Base_L, s.Base_W);
    for (const auto& s : kJobSheets)
        jobs.emplace_back(s.Base_L, s.Base_W);
    std::sort(sheets.begin(), sheets.end());
    const bool jobSheets = sheets == jobs;
    vorn::CollectedRows sink;
    vorn::SearchStats stats;
    std::int64_t engineAlone = 0;
    for (int run = 0; run < runs; ++run) {
        sink.rows.clear();
        stats = {};
        clock.restart();
        ShareTrace trace(clock);
        vorn::RunPanelSearch(in, vorn::DisplayUnit::Inch, sink, trace, &stats);
        vorn::SortAndNumber(sink.rows);
        const std::int64_t ns = clock.nsecsElapsed();
        if (run == 0 || ns < engineAlone) {
            engineAlone = ns;
            engineSamples = trace.samples;
        }
    }

    std::printf("%s\n", job.name);
    if (!jobSheets)
        std::printf("  the window's sheets are not the job's sheets\n");
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
    std::printf("  peak memory            %9ld MB (window runs; %ld MB with the engine alone "
                "beside)\n",
                windowPeakMb, PeakRssMb());
    std::printf("  held after the search  %9ld MB more than before F2 (the table and its boards)\n",
                held);
    std::printf("  window:");
    PrintBar(fastestSamples, toFirstRow);
    std::printf("  engine alone, its share said:");
    PrintBar(engineSamples, engineAlone);
    std::printf("  table cells unlike the engine's rows: %ld\n",
                TableDifferences(dm.TempResult, sink.rows));
}

} // namespace

int main(int argc, char** argv) {
    const std::string arg = argc > 1 ? argv[1] : "all";
    // A second argument sets the runs of every job (1 under a profiler).
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 0;
    windowOnly = argc > 3 && std::string(argv[3]) == "window";
    if (arg == "--help" || arg == "-h") {
        std::puts("usage: job_bench [small|j3|tiny|g05|g11|many|all] [runs [window]]\n"
                  "Runs each job from the main window (offscreen unless QT_QPA_PLATFORM is set)\n"
                  "three times (g05, g11: twice; or runs) and prints where the time goes, the "
                  "repaints and the peak memory.");
        return 0;
    }
    auto chosen = [&](const Job& job) {
        const std::string key = job.key;
        return arg == key || (arg == "all" && (key == "small" || key == "j3" || key == "tiny")) ||
               (arg == "many" && (key == "g05" || key == "g11"));
    };
    if (std::none_of(std::begin(kJobs), std::end(kJobs), chosen)) {
        std::fprintf(stderr,
                     "job_bench: unknown job '%s' (small, j3, tiny, g05, g11, many or all)\n",
                     arg.c_str());
        return 2;
    }
    vorn::test::prepareApplication();
    QApplication app(argc, argv);
    for (const Job& job : kJobs)
        if (chosen(job))
            Run(job, runs > 0 ? runs : job.runs);
    return 0;
}
