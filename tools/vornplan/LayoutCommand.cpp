// vornplan layout: one run of the block layout routine and its margins.

#include "Command.h"
#include "InputDomain.h"
#include "Layout.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char* const kHelp =
    "usage: vornplan layout [--mixed] L W C BL BW CL CW\n"
    "\n"
    "Lays pieces of L x W (L >= W) with gap C out in a container CL x CW that\n"
    "keeps margins BL (each end of its length) and BW (each end of its width)\n"
    "free; --mixed allows pieces of both orientations. Prints one line:\n"
    "  a1 a2 b1 b2 c1 c2 pattern mL mW\n"
    "the six counts, the pattern letter (N, L or W) and the actual margins\n"
    "(reals as %.17g).\n"
    "\n"
    "L and W lie in 0.001 to 10000, C, BL, BW, CL and CW in 0 to 10000, with\n"
    "at most 2000 pieces along a side. Exit status 2 for bad arguments, a\n"
    "value outside these ranges or standard output that cannot be written (one\n"
    "line on standard error).\n";

bool Number(const char* s, double& out) {
    char* end = nullptr;
    out = std::strtod(s, &end);
    return end != s && *end == '\0' && std::isfinite(out);
}

int Run(int argc, char** argv) {
    bool mixed = false;
    double v[7];
    int n = 0;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            std::fputs(kHelp, stdout);
            return 0;
        }
        if (!std::strcmp(argv[i], "--mixed")) {
            mixed = true;
            continue;
        }
        if (n == 7 || !Number(argv[i], v[n])) {
            std::fprintf(stderr, "vornplan layout: unexpected argument '%s'\n%s", argv[i], kHelp);
            return 2;
        }
        ++n;
    }
    if (n != 7) {
        std::fprintf(stderr, "vornplan layout: expected 7 numbers, got %d\n%s", n, kHelp);
        return 2;
    }
    if (const std::string e = vorn::LayoutDomainError(v[0], v[1], v[2], v[3], v[4], v[5], v[6]);
        !e.empty()) {
        std::fprintf(stderr, "vornplan layout: %s\n", e.c_str());
        return 2;
    }
    const vorn::Layout lay = vorn::LayoutPieces(mixed, v[0], v[1], v[2], v[3], v[4], v[5], v[6]);
    const vorn::Margins m = vorn::ActualMargins(lay, v[0], v[1], v[2], v[5], v[6]);
    std::printf("%d %d %d %d %d %d %c %.17g %.17g\n", lay.a1, lay.a2, lay.b1, lay.b2, lay.c1,
                lay.c2, lay.pattern, m.mL, m.mW);
    return vornplan::OutputStatus("layout");
}

vornplan::RegisterCommand reg{
    {"layout", "lay pieces out in a container (counts, pattern, margins)", Run}};

} // namespace
