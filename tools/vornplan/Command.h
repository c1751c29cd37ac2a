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

} // namespace vornplan
