#pragma once

#include "cutlist/FileNames.h"
#include "cutlist/MediaRecord.h"

#include <QByteArray>
#include <QIODevice>
#include <QLoggingCategory>
#include <QString>
#include <QStringList>

#include <future>
#include <optional>
#include <vector>

namespace kivo {

// The diagnostics of scenario files. A failed read or write is a warning, logged
// once by whoever gives it up; the rest shows only when asked for
// (QT_LOGGING_RULES="kivo.scenario.debug=true").
Q_DECLARE_LOGGING_CATEGORY(lcScenario)

class ArchiveWriter;
class CMediaInfoCache;
class CutListModel;

// Scenario files (.kvo) keep one cut list: the paths of its objects in list
// order, the current object and playing position, the media information of
// each object and the objects' names. Versions 10, 20 and 30 are read; 30
// is written.
constexpr int kScenarioVersion = 30;

// Shown when a file does not start with a known magic (the Japanese source
// text).
inline constexpr char kUnreadableScenarioMessage[] = QT_TRANSLATE_NOOP("Files", "このファイルは読み込めませんでした。");

QString ScenarioMagic(int version);

// The most objects, and media information entries, a scenario holds. An
// object takes as little as two bytes of a file (an empty path and name)
// but a few hundred in the list, the media cache and the loader, so a larger
// count is refused when read, and a larger list is not saved, rather than
// growing the program by gigabytes.
constexpr qint32 kMaxScenarioObjects = 1000000;

// The fields of a scenario file. Version 10 has only the paths; the current
// position and playing position of a version-10 file are 0; names exist in
// version 30 only. A media information entry is read as it is stored: its
// size and time in 32 bits, its stored thumbnail byte count as the reserved
// value and its picture only when the stored block fits this program's
// pixel format.
struct Scenario {
    int version = kScenarioVersion;
    QStringList paths;
    qint32 current = 0;
    qint32 position = 0;
    std::vector<MEDIARECORD> cache;
    QStringList names;
};

// Malformed: a stored path that the system cannot take as it is
// (IsReachableFileName in FileNames.h); TooLarge: more objects than
// kMaxScenarioObjects.
enum class ScenarioStatus { Ok, CannotOpen, Empty, UnknownMagic, EndsEarly, TooLarge, Malformed };

struct ScenarioReadResult {
    ScenarioStatus status = ScenarioStatus::Ok;
    QString problem;  // what went wrong, in Japanese for a message; empty when Ok
    QString detail;   // the same in English with the byte and field, for the log
    Scenario scenario;
};

// Reads a whole scenario from a random-access device. Counts and lengths are
// checked against the bytes left before anything is allocated for them, and
// negative counts mean none; a count above kMaxScenarioObjects is refused
// as too large.
ScenarioReadResult ReadScenario(QIODevice& device);
// Reads a scenario file; anything but a regular file (a folder, a named
// pipe, a device) is refused without being read. Failures are logged in the
// category "kivo.scenario".
ScenarioReadResult ReadScenarioFile(const QString& path);
// Whether a file's name is a scenario's: it ends in ".kvo", in any letter
// case.
bool IsScenarioFileName(QStringView path);

// A scenario file read on a thread of its own, started as the program
// starts with the file named on its command line, so that the read overlaps
// the making of the window. The open of the same path takes what it read.
class ScenarioReadAhead {
public:
    ScenarioReadAhead() = default;
    // Reads `path` when its name is a scenario's; any other file (a media
    // file or a playlist named on the command line) is not read for nothing.
    explicit ScenarioReadAhead(const QString& path);
    // What the read of `path` gave, waited for; nothing when this read
    // another file (or none) or was taken before. Only a read that
    // succeeded is handed on: the message of one that did not was made
    // before the interface's language was chosen, and the file is read
    // again.
    std::optional<ScenarioReadResult> Take(const QString& path);

private:
    QString m_path;
    std::future<ScenarioReadResult> m_result;
};

// Adds the stored media information to `cache`: every entry whose
// thumbnail block fits this program's pixel format (or that has none), with
// its stored byte count as the reserved value. Other entries are dropped, so
// their files are examined anew.
void AddScenarioCacheEntries(const Scenario& scenario, CMediaInfoCache& cache);

// The cut list as a scenario file of the current version keeps it: the
// cache section holds one entry per object, looked up by the object's path.
// It shares its texts and pictures with the list and the cache, so that it
// is taken at once and can be written on another thread while they change.
Scenario ScenarioOfCutList(const CutListModel& list, CMediaInfoCache& cache, qint32 positionHundredths);

// The scenario as a file of its version: the magic, then the body.
void WriteScenario(ArchiveWriter& archive, const Scenario& scenario);

// Writes the scenario's magic and body to `path` as ReplaceFile does
// (FileNames.h): through a temporary file that replaces the old file only
// once it is complete and on disk, following a symbolic link, never over
// anything but a regular file. A scenario of more than kMaxScenarioObjects
// objects is not saved. On failure the old file is untouched.
[[nodiscard]] std::optional<WriteFailure> SaveScenarioFile(const QString& path, const Scenario& scenario);
// The same for the cut list as it is now.
[[nodiscard]] std::optional<WriteFailure> SaveScenarioFile(const QString& path, const CutListModel& list,
                                                           CMediaInfoCache& cache, qint32 positionHundredths);

}  // namespace kivo
