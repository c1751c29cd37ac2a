// Wall time, memory and search counts of the bench jobs, run through the
// engine alone (no printing). Each job runs in its own child process so that
// its peak memory is its own.
//
//   engine_bench [--runs N] [--reference] [--job NAME]... [JOBDIR]
//
// --job runs only the named jobs (j1 ... j5), in the order given.
// --reference runs the two-size stage configuration by configuration, without
// the precomputed cuts and bounds: the figure before that optimisation.

#include "JobFile.h"
#include "PanelSearch.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct CountRows : vorn::ResultSink {
    std::vector<vorn::ResultRow> rows;
    void Write(const vorn::ResultRow& r) override { rows.push_back(r); }
};

double Ms(std::chrono::nanoseconds d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

bool reference = false;

// CPU time of this process: on a shared machine the wall time also counts
// the time other processes held the cores.
double CpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

int RunJob(const std::string& path, int runs) {
    std::ifstream in(path);
    vorn::PanelJob job;
    if (!in || !vorn::ReadPanelJob(in, job).empty()) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return 1;
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
        rows = sink.rows.size();
    }
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

} // namespace

int main(int argc, char** argv) {
    int runs = 5;
    std::string dir = VORN_BENCH_JOBS;
    std::vector<std::string> names;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--runs") && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--reference"))
            reference = true;
        else if (!std::strcmp(argv[i], "--job") && i + 1 < argc)
            names.emplace_back(argv[++i]);
        else
            dir = argv[i];
    }
    int status = 0;
    if (names.empty())
        names = {"j1", "j2", "j3", "j4", "j5"};
    for (const std::string& name : names) {
        std::printf("%s\n", name.c_str());
        std::fflush(stdout);
        const pid_t pid = fork();
        if (pid == 0)
            _exit(RunJob(dir + "/" + name + ".job", runs));
        int ws = 0;
        rusage use{};
        if (pid < 0 || wait4(pid, &ws, 0, &use) < 0 || !WIFEXITED(ws) || WEXITSTATUS(ws) != 0) {
            status = 1;
            continue;
        }
        std::printf("  peak memory: %.1f MB\n", use.ru_maxrss / 1024.0);
    }
    return status;
}
