#pragma once
// Subcommands of vornplan register themselves here, so each lives in its own
// file next to the code it drives.

#include <functional>
#include <string>
#include <vector>

namespace vornplan {

struct Command {
    std::string name;
    std::string summary;                           // one line for the overview of --help
    std::function<int(int argc, char** argv)> run; // argv[0] is the command's name
};

std::vector<Command>& Commands();

struct RegisterCommand {
    explicit RegisterCommand(Command c) { Commands().push_back(std::move(c)); }
};

// Exit status of a command that wrote its result to standard output: 0, or 2
// with one line on stderr when some of it was not written (writeError, or a
// failure seen when flushing), so an incomplete output never passes as done.
int OutputStatus(const char* command, int writeError = 0);

} // namespace vornplan
