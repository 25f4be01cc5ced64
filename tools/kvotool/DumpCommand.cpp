#include "Commands.h"

#include "cutlist/Formatters.h"
#include "cutlist/ScenarioFile.h"

#include <nlohmann/json.hpp>

#include <QDateTime>
#include <QFile>

#include <iostream>

namespace kivo::tool {
namespace {

using Json = nlohmann::ordered_json;

std::string Utf8(const QString& text)
{
    return text.toStdString();
}

Json StringArray(const QStringList& strings)
{
    Json array = Json::array();
    for (const QString& text : strings)
        array.push_back(Utf8(text));
    return array;
}

Json ToJson(const Scenario& scenario)
{
    Json json;
    json["version"] = scenario.version;
    json["paths"] = StringArray(scenario.paths);
    if (scenario.version >= 20) {
        json["current"] = scenario.current;
        json["position"] = scenario.position;
        Json cache = Json::array();
        for (const ScenarioCacheEntry& entry : scenario.cache) {
            cache.push_back({
                {"path", Utf8(entry.path)},
                {"size", entry.size},
                {"modified", entry.modified},
                {"length", entry.length},
                {"thumbnail_bytes", entry.thumbnailBytes},
            });
        }
        json["cache"] = std::move(cache);
    }
    if (scenario.version >= 30)
        json["names"] = StringArray(scenario.names);
    return json;
}

std::string UtcTime(qint32 seconds)
{
    return Utf8(QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC).toString(Qt::ISODate));
}

void PrintSummary(const std::string& file, const Scenario& scenario)
{
    std::cout << file << ": Kivo scenario, version " << scenario.version << "\n";
    std::cout << "objects: " << scenario.paths.size() << "\n";
    for (qsizetype i = 0; i < scenario.paths.size(); ++i)
        std::cout << "  " << i << ": " << Utf8(scenario.paths[i]) << "\n";
    if (scenario.version >= 20) {
        std::cout << "current object: " << scenario.current << "\n";
        std::cout << "playing position: " << scenario.position << " (" << Utf8(FormatShortTime(scenario.position))
                  << ")\n";
        std::cout << "media information entries: " << scenario.cache.size() << "\n";
        for (size_t i = 0; i < scenario.cache.size(); ++i) {
            const ScenarioCacheEntry& entry = scenario.cache[i];
            std::cout << "  " << i << ": " << (entry.path.isEmpty() ? "(empty)" : Utf8(entry.path)) << "\n"
                      << "     size " << entry.size << " bytes, modified " << UtcTime(entry.modified) << " ("
                      << entry.modified << "), length " << Utf8(FormatShortTime(entry.length)) << " ("
                      << entry.length << "), thumbnail " << entry.thumbnailBytes << " bytes\n";
        }
    }
    if (scenario.version >= 30) {
        std::cout << "names: " << scenario.names.size() << "\n";
        for (qsizetype i = 0; i < scenario.names.size(); ++i)
            std::cout << "  " << i << ": " << Utf8(scenario.names[i]) << "\n";
    }
}

}  // namespace

int RunDump(const std::vector<std::string>& arguments)
{
    bool json = false;
    std::string file;
    for (const std::string& argument : arguments) {
        if (argument == "--json") {
            json = true;
        } else if (file.empty() && (argument.empty() || argument[0] != '-' || argument == "-")) {
            file = argument;
        } else {
            std::cerr << "kvotool dump: unexpected argument '" << argument << "'\n"
                      << "Usage: kvotool dump [--json] FILE.kvo\n";
            return kExitUsage;
        }
    }
    if (file.empty()) {
        std::cerr << "Usage: kvotool dump [--json] FILE.kvo\n";
        return kExitUsage;
    }

    const ScenarioReadResult result = ReadScenarioFile(QFile::decodeName(file.c_str()));
    switch (result.status) {
    case ScenarioStatus::Ok:
        break;
    case ScenarioStatus::UnknownMagic:
        std::cerr << Utf8(QString::fromUtf16(kUnreadableScenarioMessage)) << "\n";
        return kExitUnknownMagic;
    default:
        std::cerr << "kvotool: " << file << ": " << Utf8(result.problem) << "\n";
        return kExitUnreadable;
    }
    if (json)
        std::cout << ToJson(result.scenario).dump(-1, ' ', false, Json::error_handler_t::replace) << "\n";
    else
        PrintSummary(file, result.scenario);
    return kExitOk;
}

}  // namespace kivo::tool
