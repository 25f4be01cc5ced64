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
    "      thumbnail byte count) and the objects' names. In the text, a byte of\n"
    "      a name that is not UTF-8 shows as \\xff, a control character as \\n,\n"
    "      \\t, \\r or \\x1b, a backslash as two. With --json, prints one JSON\n"
    "      object with the keys version, paths, current, position, cache and\n"
    "      names (the last four only where the file's version has them); there a\n"
    "      byte that is not UTF-8 is the lone surrogate U+DC00 + byte (\\udcff\n"
    "      for 0xFF), as Python's \"surrogateescape\" reads it.\n"
    "\n"
    "  probe [--json] [--thumbnails DIR] MEDIA...\n"
    "      Examines each media file as Kivo does when the file is added to a cut\n"
    "      list and prints its path, flag (0 playable, -1 invalid, -2 playable\n"
    "      without a picture), length (1/100 s), size, modified (seconds since\n"
    "      1970), type, has_video, has_audio, width and height. With --json,\n"
    "      prints one JSON array of such objects. With --thumbnails DIR, writes\n"
    "      each file's 64 x 48 picture as DIR/N.png, N counting from 0.\n"
    "\n"
    "  create OUT.kvo MEDIA...\n"
    "      Writes the scenario file Kivo saves after these files are added to an\n"
    "      empty cut list: paths are made absolute (links are not resolved),\n"
    "      names are the full paths, the first playable object is current, the\n"
    "      playing position is 0. A link as OUT.kvo keeps pointing at its file,\n"
    "      which is replaced; anything else that is not a regular file is refused.\n"
    "\n"
    "  convert IN OUT\n"
    "      Converts between scenario files (.kvo) and playlists (.m3u, .m3u8,\n"
    "      .pls, .xspf), each chosen by its extension (in any case). Playlist\n"
    "      entries that are not local files (http:, rtsp:, ...) are left out and\n"
    "      counted on stderr. A .kvo is written as create writes it, each object\n"
    "      named after its playlist title where there is one; a playlist gets the\n"
    "      objects' paths (absolute), their names where they differ from the\n"
    "      paths, and their media times. A playlist is written as M3U8 (UTF-8)\n"
    "      for .m3u and .m3u8, PLS version 2, or XSPF version 1.\n"
    "\n"
    "  snapshot MEDIA SECONDS OUT.bmp\n"
    "      Opens the file, goes to SECONDS (from 0 to 21474836.47), pauses and\n"
    "      writes the frame shown as a Windows bitmap file, as Kivo's snapshot\n"
    "      command does.\n"
    "\n"
    "  --help, -h\n"
    "      Shows this help.\n"
    "\n"
    "Exit status: 0 success; 1 usage error; 2 not a scenario file (unknown\n"
    "magic) or a playlist that is not well-formed; 3 a file cannot be opened,\n"
    "read or written, is empty, ends early or is too large, or has no picture\n"
    "to take.\n";

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
    if (command == "probe")
        return kivo::tool::RunProbe(rest);
    if (command == "create")
        return kivo::tool::RunCreate(rest);
    if (command == "convert")
        return kivo::tool::RunConvert(rest);
    if (command == "snapshot")
        return kivo::tool::RunSnapshot(rest);
    std::cerr << "kvotool: unknown command '" << command << "'\n\n" << kHelp;
    return kivo::tool::kExitUsage;
}
