#include "Commands.h"

#include "cutlist/FileNames.h"
#include "cutlist/Formatters.h"
#include "cutlist/ScenarioFile.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>

#include <iostream>
#include <optional>

namespace kivo::tool {
namespace {

QJsonObject ToJson(const Scenario& scenario)
{
    QJsonObject json{{"version", scenario.version}, {"paths", QJsonArray::fromStringList(scenario.paths)}};
    if (scenario.version >= 20) {
        json["current"] = scenario.current;
        json["position"] = scenario.position;
        QJsonArray cache;
        for (const ScenarioCacheEntry& entry : scenario.cache) {
            cache.append(QJsonObject{
                {"path", entry.path},
                {"size", qint64{entry.size}},
                {"modified", entry.modified},
                {"length", entry.length},
                {"thumbnail_bytes", qint64{entry.thumbnailBytes}},
            });
        }
        json["cache"] = cache;
    }
    if (scenario.version >= 30)
        json["names"] = QJsonArray::fromStringList(scenario.names);
    return json;
}

std::string UtcTime(qint32 seconds)
{
    return QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC).toString(Qt::ISODate).toStdString();
}

void PrintSummary(const QString& file, const Scenario& scenario)
{
    std::cout << Printable(file) << ": Kivo scenario, version " << scenario.version << "\n";
    std::cout << "objects: " << scenario.paths.size() << "\n";
    for (qsizetype i = 0; i < scenario.paths.size(); ++i)
        std::cout << "  " << i << ": " << Printable(scenario.paths[i]) << "\n";
    if (scenario.version >= 20) {
        std::cout << "current object: " << scenario.current << "\n";
        std::cout << "playing position: " << scenario.position << " ("
                  << FormatShortTime(scenario.position).toStdString() << ")\n";
        std::cout << "media information entries: " << scenario.cache.size() << "\n";
        for (size_t i = 0; i < scenario.cache.size(); ++i) {
            const ScenarioCacheEntry& entry = scenario.cache[i];
            std::cout << "  " << i << ": " << (entry.path.isEmpty() ? "(empty)" : Printable(entry.path)) << "\n"
                      << "     size " << entry.size << " bytes, modified " << UtcTime(entry.modified) << " ("
                      << entry.modified << "), length " << FormatShortTime(entry.length).toStdString() << " ("
                      << entry.length << "), thumbnail " << entry.thumbnailBytes << " bytes\n";
        }
    }
    if (scenario.version >= 30) {
        std::cout << "names: " << scenario.names.size() << "\n";
        for (qsizetype i = 0; i < scenario.names.size(); ++i)
            std::cout << "  " << i << ": " << Printable(scenario.names[i]) << "\n";
    }
}

}  // namespace

int RunDump(const std::vector<std::string>& arguments)
{
    bool json = false;
    std::optional<std::string> given;
    for (const std::string& argument : arguments) {
        if (argument == "--json") {
            json = true;
        } else if (!given && (argument.empty() || argument[0] != '-' || argument == "-")) {
            given = argument;
        } else {
            std::cerr << "kvotool dump: unexpected argument '" << argument << "'\n"
                      << "Usage: kvotool dump [--json] FILE.kvo\n";
            return kExitUsage;
        }
    }
    if (!given || given->empty()) {
        std::cerr << "Usage: kvotool dump [--json] FILE.kvo\n";
        return kExitUsage;
    }

    const QString file = FileNameFromBytes(*given);
    const ScenarioReadResult result = ReadScenarioFile(file);
    switch (result.status) {
    case ScenarioStatus::Ok:
        break;
    case ScenarioStatus::UnknownMagic:
        std::cerr << QString::fromUtf16(kUnreadableScenarioMessage).toStdString() << "\n";
        return kExitUnknownMagic;
    default:
        std::cerr << "kvotool: " << Printable(file) << ": " << result.detail.toStdString() << "\n";
        return kExitUnreadable;
    }
    if (json)
        PrintJson(ToJson(result.scenario));
    else
        PrintSummary(file, result.scenario);
    return kExitOk;
}

}  // namespace kivo::tool
