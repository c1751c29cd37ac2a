// The best-packing solver against the classic block routine, over three
// sets of instances: published hard pallet-loading instances with their
// proven optima, generated PCB panels and wood-pulp-sized containers.
//
//   pack_bench [--set hard|panels|pulp|all] [--count N] [--seed S]
//              [--seconds T] [--guillotine] [--verbose]

#include "BestPacking.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

const char* const kHelp =
    "usage: pack_bench [--set hard|panels|pulp|all] [--count N] [--seed S]\n"
    "                  [--seconds T] [--guillotine] [--verbose]\n"
    "\n"
    "Runs the best-packing solver and prints, per set, how many instances reach\n"
    "the upper bound (or the known optimum), the boards gained over the block\n"
    "routine and the time per instance.\n"
    "  hard    16 hard pallet-loading instances with their proven optima\n"
    "  panels  N generated PCB panels (default 200): boards 1-6 in, panels\n"
    "          12-24 in, 0.1 in gap, 0.4 in margins\n"
    "  pulp    wood-pulp-sized containers up to 2625 x 1750, boxes about 140 x 90\n"
    "--seconds is the solver's time limit per instance (default 10 for hard and\n"
    "pulp, 1 for panels); --verbose prints every instance.\n";

struct Instance {
    std::string name;
    vorn::PackRequest req;
    long long optimum = -1; // published, where known
};

struct Hard {
    int L, W, l, w, opt;
};
constexpr Hard kHard[] = {
    {43, 26, 7, 3, 53},   {49, 28, 8, 3, 57},  {57, 34, 7, 4, 69},  {63, 44, 8, 5, 69},
    {61, 35, 10, 3, 71},  {67, 37, 11, 3, 75}, {61, 38, 10, 3, 77}, {61, 38, 6, 5, 77},
    {67, 40, 11, 3, 81},  {74, 49, 11, 4, 82}, {93, 46, 13, 4, 82}, {106, 59, 13, 5, 96},
    {141, 71, 13, 8, 96}, {74, 46, 7, 5, 97},  {86, 52, 9, 5, 99},  {108, 65, 10, 7, 100},
};

std::vector<Instance> HardSet() {
    std::vector<Instance> out;
    for (const Hard& h : kHard) {
        Instance in;
        char name[64];
        std::snprintf(name, sizeof name, "%dx%d/%dx%d", h.L, h.W, h.l, h.w);
        in.name = name;
        in.req.containerL = h.L;
        in.req.containerW = h.W;
        in.req.pieceL = h.l;
        in.req.pieceW = h.w;
        in.optimum = h.opt;
        out.push_back(in);
    }
    return out;
}

std::vector<Instance> PanelSet(int count, unsigned seed) {
    std::mt19937 rng(seed);
    auto pick = [&](double lo, double hi, double step) {
        std::uniform_int_distribution<int> d(0, static_cast<int>(std::lround((hi - lo) / step)));
        return std::round((lo + d(rng) * step) * 100) / 100;
    };
    std::vector<Instance> out;
    for (int n = 0; n < count; ++n) {
        Instance in;
        in.req.pieceL = pick(1, 6, 0.01);
        in.req.pieceW = pick(1, 6, 0.01);
        in.req.containerL = pick(12, 24, 0.5);
        in.req.containerW = pick(12, 24, 0.5);
        in.req.gap = 0.1;
        in.req.marginL = in.req.marginW = 0.4;
        char name[96];
        std::snprintf(name, sizeof name, "%gx%g/%gx%g", in.req.containerL, in.req.containerW,
                      in.req.pieceL, in.req.pieceW);
        in.name = name;
        out.push_back(in);
    }
    return out;
}

std::vector<Instance> PulpSet() {
    const double v[][4] = {{2625, 1750, 140, 90}, {2600, 1700, 142, 91}, {2500, 1650, 138, 88},
                           {2400, 1600, 140, 92}, {2625, 1750, 145, 95}, {2200, 1500, 136, 89},
                           {2550, 1720, 141, 87}, {2625, 1750, 150, 90}};
    std::vector<Instance> out;
    for (const auto& r : v) {
        Instance in;
        in.req.containerL = r[0];
        in.req.containerW = r[1];
        in.req.pieceL = r[2];
        in.req.pieceW = r[3];
        char name[64];
        std::snprintf(name, sizeof name, "%gx%g/%gx%g", r[0], r[1], r[2], r[3]);
        in.name = name;
        out.push_back(in);
    }
    return out;
}

const char* Method(vorn::PackMethod m) {
    switch (m) {
    case vorn::PackMethod::Routine:
        return "routine";
    case vorn::PackMethod::Guillotine:
        return "guillotine";
    case vorn::PackMethod::FiveBlock:
        return "five-block";
    case vorn::PackMethod::LPieces:
        return "L-pieces";
    }
    return "?";
}

void RunSet(const char* title, std::vector<Instance> set, double seconds, bool guillotine,
            bool verbose) {
    int reached = 0, optimal = 0, gainers = 0, faults = 0, timeouts = 0, routineAtBound = 0;
    long long gained = 0, maxGain = 0;
    double total = 0, worst = 0, gainPercent = 0, maxPercent = 0;
    std::printf("== %s: %zu instances, time limit %.3g s%s\n", title, set.size(), seconds,
                guillotine ? ", guillotine" : "");
    if (verbose)
        std::printf("%-28s %7s %7s %7s %7s %6s %10s %10s\n", "instance", "routine", "count",
                    "bound", "optimum", "proven", "ms", "method");
    for (Instance& in : set) {
        in.req.seconds = seconds;
        in.req.mode = guillotine ? vorn::PackMode::Guillotine : vorn::PackMode::Routed;
        const auto t0 = std::chrono::steady_clock::now();
        const vorn::PackResult r = vorn::BestPacking(in.req);
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                .count();
        const std::string fault = vorn::PlacementFault(r.placements, in.req, guillotine);
        if (!fault.empty() || static_cast<long long>(r.placements.size()) != r.count) {
            ++faults;
            std::printf("FAULT %s: %s\n", in.name.c_str(), fault.c_str());
        }
        total += ms;
        worst = std::max(worst, ms);
        reached += r.proven;
        routineAtBound += r.routineCount == r.upperBound;
        timeouts += r.timedOut;
        if (in.optimum >= 0)
            optimal += r.count == in.optimum;
        if (r.count > r.routineCount) {
            ++gainers;
            const long long g = r.count - r.routineCount;
            gained += g;
            maxGain = std::max(maxGain, g);
            const double p = 100.0 * g / static_cast<double>(r.routineCount);
            gainPercent += p;
            maxPercent = std::max(maxPercent, p);
        }
        if (verbose) {
            char method[32];
            std::snprintf(method, sizeof method, "%s%s", Method(r.method),
                          r.method == vorn::PackMethod::FiveBlock ? std::to_string(r.depth).c_str()
                                                                  : "");
            std::printf("%-28s %7lld %7lld %7lld %7lld %6s %10.1f %10s%s\n", in.name.c_str(),
                        static_cast<long long>(r.routineCount), static_cast<long long>(r.count),
                        static_cast<long long>(r.upperBound), in.optimum, r.proven ? "yes" : "no",
                        ms, method, r.timedOut ? " (time limit)" : "");
        }
    }
    const double n = static_cast<double>(set.size());
    std::printf("  upper bound reached: %d of %zu (by the routine alone: %d)", reached, set.size(),
                routineAtBound);
    if (set.front().optimum >= 0)
        std::printf("; known optimum reached: %d", optimal);
    std::printf("\n  more boards than the routine: %d instances, %lld boards (max %lld), "
                "%.1f %% more on average where gained (max %.1f %%)\n",
                gainers, gained, maxGain, gainers ? gainPercent / gainers : 0.0, maxPercent);
    std::printf("  time per instance: mean %.1f ms, max %.1f ms; time limit hit %d; faults %d\n",
                total / n, worst, timeouts, faults);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    std::string set = "all";
    int count = 200;
    unsigned seed = 1;
    double seconds = -1;
    bool guillotine = false, verbose = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&]() -> const char* {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "pack_bench: %s needs a value\n", a.c_str());
                std::exit(2);
            }
            return argv[++i];
        };
        if (a == "--help" || a == "-h") {
            std::fputs(kHelp, stdout);
            return 0;
        } else if (a == "--set") {
            set = value();
        } else if (a == "--count") {
            count = std::atoi(value());
        } else if (a == "--seed") {
            seed = static_cast<unsigned>(std::strtoul(value(), nullptr, 10));
        } else if (a == "--seconds") {
            seconds = std::atof(value());
        } else if (a == "--guillotine") {
            guillotine = true;
        } else if (a == "--verbose") {
            verbose = true;
        } else {
            std::fprintf(stderr, "pack_bench: unexpected argument '%s'\n%s", a.c_str(), kHelp);
            return 2;
        }
    }
    if (set != "all" && set != "hard" && set != "panels" && set != "pulp") {
        std::fprintf(stderr, "pack_bench: unknown set '%s'\n", set.c_str());
        return 2;
    }
    if (count < 1) {
        std::fprintf(stderr, "pack_bench: --count must be at least 1\n");
        return 2;
    }
    auto limit = [&](double fallback) { return seconds > 0 ? seconds : fallback; };
    if (set == "all" || set == "hard")
        RunSet("hard instances", HardSet(), limit(10), guillotine, verbose);
    if (set == "all" || set == "panels")
        RunSet("PCB panels", PanelSet(count, seed), limit(1), guillotine, verbose);
    if (set == "all" || set == "pulp")
        RunSet("wood pulp", PulpSet(), limit(10), guillotine, verbose);
    return 0;
}
