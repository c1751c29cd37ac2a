// Wall time, memory and search counts of the bench jobs, run through the
// engine alone (no printing). Each job runs in its own child process so that
// its peak memory is its own; a job past its time or memory cap is stopped
// and reported as such. Prints figures; checks nothing.

#include "JobFile.h"
#include "PanelSearch.h"
#include "SearchCost.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

const char kHelp[] =
    "usage: engine_bench [--runs N] [--reference] [--family main|small|generated|all] [--job "
    "NAME]...\n"
    "                    [--timeout SECONDS] [--memory MB] [--stop-after MS] [--bar]\n"
    "                    [--discard-rows]\n"
    "                    [JOBDIR]\n"
    "\n"
    "Runs bench jobs through the engine alone and prints, per job: wall and CPU\n"
    "time (minimum over the runs), the search counts, peak memory, rows and time\n"
    "per row, then a summary table.\n"
    "\n"
    "  --runs N         runs per job (default 5 for main, 1 for the others)\n"
    "  --family F       main: j1 ... j5; small: the small rectangular boards\n"
    "                   s1 ... s14 (3.5-26 mm, routed and V-scored); generated:\n"
    "                   g00 ... g23 (drawn at random: 5-26 mm, one or two kinds,\n"
    "                   best or every sheet); all: every family\n"
    "                   (default main)\n"
    "  --job NAME       only the named jobs, in the order given (repeatable)\n"
    "  --timeout S      stop a job after S seconds of wall time (default 120)\n"
    "  --memory MB      address-space cap of a job's process (default 4096)\n"
    "  --reference      the two-size stage configuration by configuration\n"
    "  --stop-after MS  ask each run to stop MS ms after it starts, as Esc in the\n"
    "                   window does, and print how long the search took to stop\n"
    "  --bar            follow the bar as the window shows it (steps over the\n"
    "                   maximum) and print where it stood at each tenth of the\n"
    "                   run's time, and how long it sat full before the end\n"
    "  --discard-rows   count the rows instead of keeping them, so that the peak\n"
    "                   memory is the engine's own (rows are not sorted then)\n"
    "  JOBDIR           folder of the job files (default: bench/jobs)\n";

// What a job's child hands back to the summary.
struct Figures {
    double wallMs = 0;
    double cpuMs = 0;
    long long rows = 0;
};

bool keepRows = true;

// The rows as a tool keeps them to sort and write; with --discard-rows only
// counted, so that the peak is the engine's own.
struct CountRows : vorn::ResultSink {
    std::vector<vorn::ResultRow> rows;
    std::size_t count = 0;
    void Write(const vorn::ResultRow& r) override {
        ++count;
        if (keepRows)
            rows.push_back(r);
    }
};

double Ms(std::chrono::nanoseconds d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

bool reference = false;
double stopAfterMs = 0; // 0: run to the end
bool followBar = false;

// The bar's position (steps over the maximum) against the time, as a window
// would read it at its check points.
class BarTrace : public vorn::NoProgress {
public:
    struct Reading {
        double ms, fraction;
    };
    std::vector<Reading> readings;
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();

protected:
    std::int64_t Check(std::int64_t) override {
        Read();
        return 256;
    }
    std::int64_t Idle() override {
        Read();
        return 256;
    }

private:
    void Read() {
        const double ms = Ms(std::chrono::steady_clock::now() - start);
        if (!readings.empty() && ms - readings.back().ms < 1)
            return;
        readings.push_back({ms, ShareDone()});
    }
};

void RunAndFollowBar(const vorn::PanelJob& job) {
    BarTrace bar;
    CountRows sink;
    vorn::RunPanelSearch(job, vorn::DisplayUnit::Inch, sink, bar);
    const double total = Ms(std::chrono::steady_clock::now() - bar.start);
    std::printf("  bar at each tenth of %.0f ms:", total);
    std::size_t at = 0;
    double worst = 0;
    for (int tenth = 1; tenth <= 9; ++tenth) {
        const double t = total * tenth / 10;
        while (at + 1 < bar.readings.size() && bar.readings[at + 1].ms <= t)
            ++at;
        const double shown = bar.readings.empty() ? 0 : bar.readings[at].fraction;
        worst = std::max(worst, std::abs(shown - tenth / 10.0));
        std::printf(" %.0f%%", 100 * shown);
    }
    double fullSince = total;
    for (auto r = bar.readings.rbegin(); r != bar.readings.rend() && r->fraction >= 0.99; ++r)
        fullSince = r->ms;
    std::printf("\n  furthest from the time: %.0f points; full for the last %.0f ms\n", 100 * worst,
                total - fullSince);
    std::fflush(stdout);
}

// Looks at a flag set from another thread, as the window's progress looks at
// Esc: about every millisecond of steps, and at every beat in phases without
// steps.
class StopWhenAsked : public vorn::NoProgress {
public:
    std::atomic<bool> asked{false};

protected:
    std::int64_t Check(std::int64_t) override {
        Look();
        return 256;
    }
    std::int64_t Idle() override {
        Look();
        return 64;
    }

private:
    void Look() const {
        if (asked.load(std::memory_order_relaxed))
            throw vorn::SearchCancelled();
    }
};

// Runs the search, asks it to stop after stopAfterMs and prints how long it
// took to return (the rows kept so far freed with it).
void RunAndStop(const vorn::PanelJob& job) {
    StopWhenAsked progress;
    std::chrono::steady_clock::time_point askedAt;
    std::mutex m;
    std::condition_variable done;
    bool finished = false;
    std::thread asker([&] {
        std::unique_lock lock(m);
        if (done.wait_for(lock, std::chrono::duration<double, std::milli>(stopAfterMs),
                          [&] { return finished; }))
            return;
        askedAt = std::chrono::steady_clock::now();
        progress.asked = true;
    });
    bool stopped = false;
    try {
        CountRows sink;
        vorn::RunPanelSearch(job, vorn::DisplayUnit::Inch, sink, progress);
    } catch (const vorn::SearchCancelled&) {
        stopped = true;
    }
    const auto end = std::chrono::steady_clock::now();
    {
        std::lock_guard lock(m);
        finished = true;
    }
    done.notify_all();
    asker.join();
    if (stopped)
        std::printf("  stopped %.1f ms after it was asked (at %.0f ms)\n", Ms(end - askedAt),
                    stopAfterMs);
    else
        std::printf("  finished before it was asked to stop\n");
    std::fflush(stdout);
}

// CPU time of this process: on a shared machine the wall time also counts
// the time other processes held the cores.
double CpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

int RunJob(const std::string& path, int runs, int out) {
    std::ifstream in(path);
    vorn::PanelJob job;
    if (!in || !vorn::ReadPanelJob(in, job).empty()) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return 1;
    }
    {
        const auto t0 = std::chrono::steady_clock::now();
        const vorn::SearchCost c = vorn::EstimatePanelSearchCost(job, vorn::DisplayUnit::Inch);
        std::printf("  estimate (%.1f ms): %.0f new sizes, %.0f collected, %.1f s, %.0f MB\n",
                    Ms(std::chrono::steady_clock::now() - t0), c.candidates, c.collected, c.seconds,
                    c.megabytes);
        std::fflush(stdout);
    }
    if (stopAfterMs > 0 || followBar) {
        for (int r = 0; r < runs; ++r)
            followBar ? RunAndFollowBar(job) : RunAndStop(job);
        const Figures f{};
        return write(out, &f, sizeof f) == static_cast<ssize_t>(sizeof f) ? 0 : 1;
    }
    std::vector<double> times, cpu;
    vorn::SearchStats st;
    std::size_t rows = 0;
    for (int r = 0; r < runs; ++r) {
        CountRows sink;
        vorn::NoProgress progress;
        st = {};
        const auto t0 = std::chrono::steady_clock::now();
        const double c0 = CpuMs();
        if (reference)
            vorn::RunPanelSearchReference(job, vorn::DisplayUnit::Inch, sink, progress);
        else
            vorn::RunPanelSearch(job, vorn::DisplayUnit::Inch, sink, progress, &st);
        vorn::SortAndNumber(sink.rows);
        times.push_back(Ms(std::chrono::steady_clock::now() - t0));
        cpu.push_back(CpuMs() - c0);
        rows = sink.count;
    }
    const Figures f{*std::min_element(times.begin(), times.end()),
                    *std::min_element(cpu.begin(), cpu.end()), static_cast<long long>(rows)};
    if (write(out, &f, sizeof f) != static_cast<ssize_t>(sizeof f))
        return 1;
    std::sort(times.begin(), times.end());
    std::sort(cpu.begin(), cpu.end());
    std::printf("  wall time: min %.2f ms, median %.2f ms over %d runs (CPU time: min %.2f ms)\n",
                times.front(), times[times.size() / 2], runs, cpu.front());
    std::printf("  candidates generated %lld, evaluated %lld, LayoutPieces calls %lld\n",
                static_cast<long long>(st.candidatesGenerated),
                static_cast<long long>(st.candidatesEvaluated),
                static_cast<long long>(st.layoutCalls));
    std::printf("  progress steps %lld, rows written %lld (%zu sorted), Temp_inner %lld\n",
                static_cast<long long>(st.progressSteps), static_cast<long long>(st.rowsWritten),
                rows, static_cast<long long>(st.innerSize));
    std::printf("  pairs tried %lld, ruled out by bounds %lld\n",
                static_cast<long long>(st.pairsTried), static_cast<long long>(st.pairsBounded));
    std::printf("  last run: single-size stage %.2f ms, two-size stage %.2f ms\n",
                Ms(st.singleTime), Ms(st.pairTime));
    std::fflush(stdout);
    return 0;
}

// Peak resident memory of a running process, in kB (0 when unreadable).
long PeakKb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return 0;
}

struct Outcome {
    std::string name;
    std::string state; // empty when finished
    Figures f;
    double peakMb = 0;
};

Outcome RunChild(const std::string& dir, const std::string& name, int runs, double timeout,
                 long memoryMb) {
    Outcome o{name, {}, {}, 0};
    int fd[2];
    if (pipe(fd) != 0) {
        o.state = "no pipe";
        return o;
    }
    const pid_t pid = fork();
    if (pid == 0) {
        close(fd[0]);
        const rlim_t cap = static_cast<rlim_t>(memoryMb) << 20;
        const rlimit lim{cap, cap};
        setrlimit(RLIMIT_AS, &lim);
        try {
            _exit(RunJob(dir + "/" + name + ".job", runs, fd[1]));
        } catch (const std::bad_alloc&) {
            _exit(3);
        } catch (const std::invalid_argument& e) { // the input domain refuses the job
            std::printf("  refused: %s\n", e.what());
            std::fflush(stdout);
            _exit(4);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s: %s\n", name.c_str(), e.what());
            _exit(1);
        }
    }
    close(fd[1]);
    if (pid < 0) {
        close(fd[0]);
        o.state = "no process";
        return o;
    }
    const auto t0 = std::chrono::steady_clock::now();
    int ws = 0;
    rusage use{};
    long peak = 0;
    bool killed = false;
    for (;;) {
        const pid_t r = wait4(pid, &ws, WNOHANG, &use);
        if (r == pid)
            break;
        peak = std::max(peak, PeakKb(pid));
        if (!killed && Ms(std::chrono::steady_clock::now() - t0) > timeout * 1e3 * runs) {
            kill(pid, SIGKILL);
            killed = true;
        }
        usleep(20000);
    }
    o.peakMb = std::max(peak, use.ru_maxrss) / 1024.0;
    char buffer[64];
    if (killed)
        std::snprintf(buffer, sizeof buffer, "> %.0f s", timeout);
    else if (WIFEXITED(ws) && WEXITSTATUS(ws) == 4)
        std::snprintf(buffer, sizeof buffer, "refused");
    else if (WIFEXITED(ws) && WEXITSTATUS(ws) == 3)
        std::snprintf(buffer, sizeof buffer, "> %ld MB", memoryMb);
    else if (!WIFEXITED(ws) || WEXITSTATUS(ws) != 0 ||
             read(fd[0], &o.f, sizeof o.f) != static_cast<ssize_t>(sizeof o.f))
        std::snprintf(buffer, sizeof buffer, "failed");
    else
        buffer[0] = 0;
    o.state = buffer;
    close(fd[0]);
    return o;
}

} // namespace

int main(int argc, char** argv) {
    int runs = 0;
    double timeout = 120;
    long memoryMb = 4096;
    std::string dir = VORN_BENCH_JOBS;
    std::string family = "main";
    std::vector<std::string> names;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--help" || a == "-h") {
            std::fputs(kHelp, stdout);
            return 0;
        } else if (a == "--runs" && hasValue) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else if (a == "--reference") {
            reference = true;
        } else if (a == "--job" && hasValue) {
            names.emplace_back(argv[++i]);
        } else if (a == "--family" && hasValue) {
            family = argv[++i];
        } else if (a == "--timeout" && hasValue) {
            timeout = std::atof(argv[++i]);
        } else if (a == "--memory" && hasValue) {
            memoryMb = std::atol(argv[++i]);
        } else if (a == "--discard-rows") {
            keepRows = false;
        } else if (a == "--bar") {
            followBar = true;
        } else if (a == "--stop-after" && hasValue) {
            stopAfterMs = std::atof(argv[++i]);
        } else if (!a.empty() && a[0] != '-') {
            dir = a;
        } else {
            std::fprintf(stderr, "engine_bench: unexpected argument '%s'\n%s", a.c_str(), kHelp);
            return 2;
        }
    }
    if (family != "main" && family != "small" && family != "generated" && family != "all") {
        std::fprintf(stderr, "engine_bench: unknown family '%s' (main, small, generated or all)\n",
                     family.c_str());
        return 2;
    }
    if (timeout <= 0 || memoryMb <= 0) {
        std::fprintf(stderr, "engine_bench: --timeout and --memory must be positive\n");
        return 2;
    }
    if (names.empty()) {
        if (family == "main" || family == "all")
            names = {"j1", "j2", "j3", "j4", "j5"};
        if (family == "small" || family == "all")
            for (int k = 1; k <= 14; ++k)
                names.push_back("s" + std::to_string(k));
        if (family == "generated" || family == "all")
            for (int k = 0; k <= 23; ++k)
                names.push_back((k < 10 ? "g0" : "g") + std::to_string(k));
    }
    if (runs == 0)
        runs = family == "main" ? 5 : 1;
    int status = 0;
    std::vector<Outcome> outcomes;
    for (const std::string& name : names) {
        std::printf("%s\n", name.c_str());
        std::fflush(stdout);
        outcomes.push_back(RunChild(dir, name, runs, timeout, memoryMb));
        const Outcome& o = outcomes.back();
        if (!o.state.empty()) {
            std::printf("  stopped: %s\n", o.state.c_str());
            if (o.state == "failed")
                status = 1;
        }
        std::printf("  peak memory: %.1f MB\n", o.peakMb);
        std::fflush(stdout);
    }
    std::printf("\n%-6s %12s %12s %10s %10s %14s\n", "job", "wall ms", "CPU ms", "peak MB", "rows",
                "us per row");
    for (const Outcome& o : outcomes) {
        if (!o.state.empty()) {
            std::printf("%-6s %12s %12s %10.0f %10s %14s\n", o.name.c_str(), o.state.c_str(), "",
                        o.peakMb, "?", "");
            continue;
        }
        char perRow[32] = "-";
        if (o.f.rows > 0)
            std::snprintf(perRow, sizeof perRow, "%.2f", o.f.wallMs * 1e3 / o.f.rows);
        std::printf("%-6s %12.1f %12.1f %10.0f %10lld %14s\n", o.name.c_str(), o.f.wallMs,
                    o.f.cpuMs, o.peakMb, o.f.rows, perRow);
    }
    return status;
}
