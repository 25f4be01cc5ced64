#pragma once

#include <string>
#include <vector>

namespace kivo::tool {

// Exit statuses of kvotool.
constexpr int kExitOk = 0;
constexpr int kExitUsage = 1;
constexpr int kExitUnknownMagic = 2;
constexpr int kExitUnreadable = 3;

// kvotool dump [--json] FILE.kvo
int RunDump(const std::vector<std::string>& arguments);

}  // namespace kivo::tool
