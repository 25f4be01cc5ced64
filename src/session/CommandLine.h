#pragma once

#include <QString>

namespace kivo {

// What the program's command line asks for: to run, on the scenario,
// playlist or media file it names if it names one, or only to tell its usage or version.
// An argument that begins with "-" is an option; a file whose name does
// follows "--".
struct CommandLine {
    enum class Request { Run, Help, Version, Error };
    Request request = Request::Run;
    // For Run: the index in argv of the file to open, 0 for none.
    int fileIndex = 0;
    // For Error: what is wrong, for the standard error output.
    QString error;
};

// Reads argv as main() gets it. Asked for help or the version, the program
// says so whatever else the line holds (also Qt's own options, before Qt has
// taken them out); an unknown option or a second file is an error.
CommandLine ReadCommandLine(int argc, const char* const* argv);

// What --help and --version print.
QString UsageText();
QString VersionText();

}  // namespace kivo
