// kvotool: the command-line companion of Kivo, built on the program's own
// cut-list code.

#include "Commands.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

const char kHelp[] =
    "Usage: kvotool COMMAND [OPTIONS] ARGUMENTS\n"
    "\n"
    "Commands:\n"
    "  dump [--json] FILE.kvo\n"
    "      Prints what a Kivo scenario file holds: its version, the paths of its\n"
    "      objects, the current object and playing position, the stored media\n"
    "      information of each object (path, size, modification time, media time,\n"
    "      thumbnail byte count) and the objects' names. With --json, prints one\n"
    "      JSON object with the keys version, paths, current, position, cache\n"
    "      and names (the last four only where the file's version has them).\n"
    "\n"
    "  --help, -h\n"
    "      Shows this help.\n"
    "\n"
    "Exit status: 0 success; 1 usage error; 2 not a scenario file (unknown\n"
    "magic); 3 the file cannot be opened, is empty or ends early.\n";

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.empty()) {
        std::cerr << kHelp;
        return kivo::tool::kExitUsage;
    }
    const std::string& command = arguments.front();
    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << kHelp;
        return kivo::tool::kExitOk;
    }
    const std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
    if (command == "dump")
        return kivo::tool::RunDump(rest);
    std::cerr << "kvotool: unknown command '" << command << "'\n\n" << kHelp;
    return kivo::tool::kExitUsage;
}
