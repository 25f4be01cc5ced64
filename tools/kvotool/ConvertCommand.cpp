#include "Commands.h"

#include "cutlist/FileNames.h"
#include "cutlist/Playlists.h"
#include "cutlist/ScenarioFile.h"

#include <QHash>

#include <iostream>

namespace kivo::tool {
namespace {

const char kUsage[] = "Usage: kvotool convert IN OUT  (each .kvo, .m3u, .m3u8, .pls or .xspf)\n";

// The objects of a scenario as playlist entries: a name other than the
// object's path is its title, the stored media time its length.
std::vector<PlaylistEntry> EntriesOf(const Scenario& scenario)
{
    QHash<QString, qint32> lengths;
    for (const MEDIARECORD& entry : scenario.cache) {
        if (!entry.strPath.isEmpty())
            lengths.insert(entry.strPath, entry.nLength);
    }
    std::vector<PlaylistEntry> entries;
    for (qsizetype i = 0; i < scenario.paths.size(); ++i) {
        const QString& path = scenario.paths[i];
        entries.push_back(EntryOfObject(path, i < scenario.names.size() ? scenario.names[i] : path,
                                        lengths.value(path, 0)));
    }
    return entries;
}

// The entries of IN, or the exit status when it cannot be read.
struct Entries {
    std::vector<PlaylistEntry> entries;
    int exitCode = kExitOk;
};

Entries ReadEntries(const QString& in)
{
    if (IsScenarioFileName(in)) {
        const ScenarioReadResult result = ReadScenarioFile(in);
        if (result.status == ScenarioStatus::UnknownMagic) {
            std::cerr << QString::fromUtf8(kUnreadableScenarioMessage).toStdString() << "\n";
            return {{}, kExitUnknownMagic};
        }
        if (result.status != ScenarioStatus::Ok) {
            std::cerr << "kvotool: " << Printable(in) << ": " << result.detail.toStdString() << "\n";
            return {{}, kExitUnreadable};
        }
        return {EntriesOf(result.scenario), kExitOk};
    }
    PlaylistReadResult result = ReadPlaylistFile(in);
    if (result.status != PlaylistStatus::Ok) {
        std::cerr << "kvotool: " << Printable(in) << ": " << result.detail.toStdString() << "\n";
        return {{}, result.status == PlaylistStatus::Malformed ? kExitUnknownMagic : kExitUnreadable};
    }
    LeaveOutMissingFiles(result.reading);
    if (result.reading.skipped > 0) {
        std::cerr << "kvotool: " << Printable(in) << ": left out " << result.reading.skipped
                  << " entries that are not local files or do not exist\n";
    }
    return {std::move(result.reading.entries), kExitOk};
}

}  // namespace

int RunConvert(const std::vector<std::string>& arguments)
{
    if (arguments.size() != 2) {
        std::cerr << kUsage;
        return kExitUsage;
    }
    const QString in = FileNameFromBytes(arguments[0]);
    const QString out = FileNameFromBytes(arguments[1]);
    for (const QString& file : {in, out}) {
        if (!IsScenarioFileName(file) && !IsPlaylistFile(file)) {
            std::cerr << "kvotool convert: " << Printable(file) << ": unknown kind of file\n" << kUsage;
            return kExitUsage;
        }
    }
    const Entries read = ReadEntries(in);
    if (read.exitCode != kExitOk)
        return read.exitCode;

    if (IsScenarioFileName(out)) {
        QStringList paths;
        QStringList names;
        for (const PlaylistEntry& entry : read.entries) {
            paths.append(entry.path);
            names.append(entry.title);
        }
        return SaveScenarioOfMedia(out, paths, names);
    }
    if (const std::optional<WriteFailure> failure = WritePlaylistFile(out, read.entries)) {
        std::cerr << "kvotool: cannot write " << Printable(out) << ": " << failure->detail.toStdString() << "\n";
        return kExitUnreadable;
    }
    return kExitOk;
}

}  // namespace kivo::tool
