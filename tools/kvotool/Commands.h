#pragma once

#include <QJsonValue>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

namespace kivo::tool {

// Exit statuses of kvotool.
constexpr int kExitOk = 0;
constexpr int kExitUsage = 1;
constexpr int kExitUnknownMagic = 2;
constexpr int kExitUnreadable = 3;

// A name or path for a line of text output, in PrintableFileName's form.
std::string Printable(const QString& name);
// Prints one JSON value on a line. A name's bytes that are not UTF-8 appear
// as the lone surrogates that stand for them (\udcff for 0xFF).
void PrintJson(const QJsonValue& json);

// kvotool dump [--json] FILE.kvo
int RunDump(const std::vector<std::string>& arguments);
// kvotool probe [--json] [--thumbnails DIR] MEDIA...
int RunProbe(const std::vector<std::string>& arguments);
// kvotool create OUT.kvo MEDIA...
int RunCreate(const std::vector<std::string>& arguments);
// Writes the scenario of `media` (absolute paths) added to an empty cut list
// as the program adds them; names[i], where given and not empty, names the
// i-th object instead of its path. Answers the exit status.
int SaveScenarioOfMedia(const QString& out, const QStringList& media, const QStringList& names);
// kvotool convert IN OUT
int RunConvert(const std::vector<std::string>& arguments);
// kvotool snapshot MEDIA SECONDS OUT.bmp
int RunSnapshot(const std::vector<std::string>& arguments);

}  // namespace kivo::tool
