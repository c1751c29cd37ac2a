#include "Command.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace vornplan {
std::vector<Command>& Commands() {
    static std::vector<Command> commands;
    return commands;
}

int OutputStatus(const char* command, int writeError) {
    errno = 0;
    if (std::fflush(stdout) != 0 && !writeError)
        writeError = errno ? errno : EIO;
    if (!writeError && !std::ferror(stdout))
        return 0;
    std::fprintf(stderr, "vornplan %s: standard output could not be written%s%s\n", command,
                 writeError ? ": " : "", writeError ? std::strerror(writeError) : "");
    return 2;
}
} // namespace vornplan

static void PrintOverview(std::FILE* out) {
    std::fprintf(out, "usage: vornplan COMMAND [options]\n\ncommands:\n");
    auto commands = vornplan::Commands();
    std::sort(commands.begin(), commands.end(),
              [](const auto& a, const auto& b) { return a.name < b.name; });
    for (const auto& c : commands)
        std::fprintf(out, "  %-10s %s\n", c.name.c_str(), c.summary.c_str());
    std::fprintf(out, "\n'vornplan COMMAND --help' describes one command.\n");
}

int main(int argc, char** argv) {
    if (argc < 2) {
        PrintOverview(stderr);
        return 2;
    }
    if (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h")) {
        PrintOverview(stdout);
        return 0;
    }
    for (const auto& c : vornplan::Commands()) {
        if (c.name == argv[1])
            return c.run(argc - 1, argv + 1);
    }
    std::fprintf(stderr, "vornplan: unknown command '%s'\n", argv[1]);
    PrintOverview(stderr);
    return 2;
}
