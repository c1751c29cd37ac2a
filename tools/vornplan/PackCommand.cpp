// vornplan pack: the most boards in one container, as a list of placements.

#include "BestPacking.h"
#include "Command.h"
#include "InputDomain.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char* const kHelp =
    "usage: vornplan pack --container LxW --piece lxw [--spacing S] [--margins MxN]\n"
    "                     [--guillotine] [--seconds T] [--stats]\n"
    "\n"
    "Places the most boards of l x w (turns allowed) in a container L x W with at\n"
    "least S between boards and margins M (each end of the length) and N (each\n"
    "end of the width) kept free. --guillotine allows only layouts that straight\n"
    "cuts through the whole piece being cut separate (V-scoring); otherwise any\n"
    "layout without overlap (routing). Never fewer boards than the block layout.\n"
    "\n"
    "Standard output is CSV: the header x,y,length,width and one row per board,\n"
    "its lower-left corner from the container's lower-left corner (x along the\n"
    "container length) and its extent along x and along y. --stats prints the\n"
    "count, the upper bound, whether the count is proven best, the block\n"
    "layout's count and the milliseconds to standard error.\n"
    "\n"
    "--seconds: time limit (default 10); past it, the best layout found so far.\n"
    "Lengths in any one unit: l and w in 0.001 to 10000, the rest in 0 to 10000,\n"
    "with at most 2000 boards along a side. Exit status 2 for bad arguments, a\n"
    "value outside these ranges or standard output that cannot be written (one\n"
    "line on standard error).\n";

bool Number(const char* s, double& out) {
    char* end = nullptr;
    out = std::strtod(s, &end);
    return end != s && *end == '\0' && std::isfinite(out);
}

// "AxB" as two numbers.
bool Pair(const char* s, double& a, double& b) {
    const char* x = std::strchr(s, 'x');
    if (!x)
        return false;
    const std::string first(s, x);
    return Number(first.c_str(), a) && Number(x + 1, b);
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "vornplan pack: %s\n", message.c_str());
    return 2;
}

int Run(int argc, char** argv) {
    vorn::PackRequest req;
    req.seconds = 10;
    bool container = false, piece = false, stats = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            std::fputs(kHelp, stdout);
            return 0;
        }
        if (a == "--guillotine") {
            req.mode = vorn::PackMode::Guillotine;
            continue;
        }
        if (a == "--stats") {
            stats = true;
            continue;
        }
        const bool takesValue = a == "--container" || a == "--piece" || a == "--spacing" ||
                                a == "--margins" || a == "--seconds";
        if (!takesValue) {
            std::fprintf(stderr, "vornplan pack: unexpected argument '%s'\n%s", a.c_str(), kHelp);
            return 2;
        }
        if (i + 1 >= argc)
            return Fail(a + " needs a value");
        const char* v = argv[++i];
        bool ok = true;
        if (a == "--container") {
            ok = Pair(v, req.containerL, req.containerW);
            container = true;
        } else if (a == "--piece") {
            ok = Pair(v, req.pieceL, req.pieceW);
            piece = true;
        } else if (a == "--spacing") {
            ok = Number(v, req.gap);
        } else if (a == "--margins") {
            ok = Pair(v, req.marginL, req.marginW);
        } else {
            ok = Number(v, req.seconds) && req.seconds > 0 && req.seconds <= 86400;
        }
        if (!ok)
            return Fail(a + ": cannot read '" + v + "'" +
                        (a == "--seconds"   ? " (a number of seconds, above 0 and up to 86400)"
                         : a == "--spacing" ? " (a number)"
                                            : " (two numbers as AxB)"));
    }
    if (!container || !piece)
        return Fail(std::string("--container and --piece are required\n") + kHelp);
    using vorn::FieldKind;
    const struct {
        const char* name;
        double value;
        FieldKind kind;
    } fields[] = {{"container length", req.containerL, FieldKind::Length},
                  {"container width", req.containerW, FieldKind::Length},
                  {"board length", req.pieceL, FieldKind::Side},
                  {"board width", req.pieceW, FieldKind::Side},
                  {"spacing", req.gap, FieldKind::Length},
                  {"margin along the length", req.marginL, FieldKind::Length},
                  {"margin along the width", req.marginW, FieldKind::Length}};
    for (const auto& f : fields)
        if (const std::string e =
                vorn::FieldRangeError(f.name, f.value, f.kind, vorn::DisplayUnit::Inch);
            !e.empty())
            return Fail(e);
    // The pieces along a side, as for any layout.
    if (const std::string e = vorn::LayoutDomainError(req.pieceL, req.pieceW, req.gap, req.marginL,
                                                      req.marginW, req.containerL, req.containerW);
        !e.empty())
        return Fail(e);
    const auto t0 = std::chrono::steady_clock::now();
    const vorn::PackResult r = vorn::BestPacking(req);
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    std::printf("x,y,length,width\n");
    for (const vorn::Placement& p : r.placements)
        std::printf("%.10g,%.10g,%.10g,%.10g\n", p.x, p.y, p.length, p.width);
    if (stats)
        std::fprintf(stderr,
                     "count: %lld\nupper bound: %lld\nproven: %s\nblock layout: %lld\n"
                     "milliseconds: %.1f\n",
                     static_cast<long long>(r.count), static_cast<long long>(r.upperBound),
                     r.proven ? "yes" : "no", static_cast<long long>(r.routineCount), ms);
    return vornplan::OutputStatus("pack");
}

vornplan::RegisterCommand reg{{"pack", "the most boards in a container, as placements (CSV)", Run}};

} // namespace
