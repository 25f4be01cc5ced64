#pragma once

#include "cutlist/FileNames.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QLoggingCategory>
#include <QString>
#include <QStringView>

#include <limits>
#include <optional>
#include <vector>

namespace kivo {

// The diagnostics of playlists. A failed read or write is a warning, logged
// once by whoever gives it up; the rest shows only when asked for
// (QT_LOGGING_RULES="kivo.playlist.debug=true").
Q_DECLARE_LOGGING_CATEGORY(lcPlaylist)

// Playlists of other players: M3U and M3U8, PLS and XSPF (version 1). They
// are read into the local files they name, in their order; entries that are
// not local files (http:, rtsp:, a name holding a NUL byte or too long for
// the system, ...) are skipped and counted (LocalFileOfLocation in
// FileNames.h). Paths are in FileNames.h's form: absolute and clean, a byte
// that is not UTF-8 kept as a lone surrogate.

enum class PlaylistFormat { M3u, M3u8, Pls, Xspf };

// The format of a playlist by the extension of its name (.m3u, .m3u8, .pls,
// .xspf, in any case), or nothing for any other name.
std::optional<PlaylistFormat> PlaylistFormatOf(QStringView path);
bool IsPlaylistFile(QStringView path);
// Where an export the user named `path` goes: there when the name is a
// playlist's, else with the extension of the format chosen.
QString ExportFileName(const QString& path, PlaylistFormat chosen);

// The longest length an entry keeps: the longest media time the program
// holds (32-bit hundredths of a second). A longer one is unknown.
constexpr double kMaxEntrySeconds = std::numeric_limits<qint32>::max() / 100.0;

struct PlaylistEntry {
    QString path;
    QString title;        // empty when the playlist gives none
    double seconds = -1;  // the length the playlist gives; -1 when unknown

    bool operator==(const PlaylistEntry&) const = default;
};

// The entry of an object named `name`: its name is the title unless it only
// repeats the path; a length of 1/100 s of zero or less is unknown.
PlaylistEntry EntryOfObject(const QString& path, const QString& name, qint32 hundredths);

struct PlaylistReading {
    std::vector<PlaylistEntry> entries;
    // Entries left out: those that are not local files, and those whose
    // file does not exist once LeaveOutMissingFiles has looked.
    int skipped = 0;
};

enum class PlaylistStatus { Ok, CannotOpen, TooLarge, Malformed };

struct PlaylistReadResult {
    PlaylistStatus status = PlaylistStatus::Ok;
    QString problem;  // what went wrong, in Japanese for a message; empty when Ok
    // The same in English with the line, for the log; when Ok, what was
    // passed over, if anything.
    QString detail;
    PlaylistReading reading;
};

// Larger playlists are refused rather than read into memory.
constexpr qint64 kMaxPlaylistBytes = qint64{64} << 20;
constexpr qsizetype kMaxPlaylistEntries = 1000000;
// The characters of all the paths read, each relative one with the
// playlist's folder in front: a small file of relative paths in a deep
// folder would otherwise fill the memory many times its size.
constexpr qsizetype kMaxPlaylistPathChars = qsizetype{128} << 20;

// Reads a playlist held in memory; relative paths are taken from `folder`
// (absolute). An empty but well-formed playlist has no entries.
//  - M3U, M3U8: one path or URL a line; "#EXTINF:seconds,title" gives the
//    next entry's length and title; other lines starting with '#' and blank
//    lines are left out. A byte-order mark, and CRLF or CR line ends (in
//    every format), are allowed. Each line is UTF-8 where it decodes as
//    such, else Latin-1; the bytes of an M3U8's path that are not UTF-8 are
//    kept as its file name's.
//  - PLS: the section [playlist] with FileN, TitleN and LengthN (keys in any
//    case), entries in the order of N, each line decoded as an M3U's. Lines
//    that are not key=value, and those before [playlist], are passed over
//    and counted in `detail`; a file without [playlist] is refused.
//  - XSPF: playlist/trackList/track with, of the locations of each track (a
//    file URI, a plain absolute path, or a URI relative to the folder), the
//    first local file that exists, else the first local one; title, and
//    duration in milliseconds.
// A title longer than kMaxNameChars (ShownText.h) is cut there.
PlaylistReadResult ReadPlaylist(QByteArrayView bytes, PlaylistFormat format, const QString& folder);
// Reads the playlist file `path` in the format its extension names; only a
// regular file of at most kMaxPlaylistBytes is read. What a playlist that
// reads passed over is logged (debug) in lcPlaylist.
PlaylistReadResult ReadPlaylistFile(const QString& path);

// Leaves out the entries whose file does not exist (now), counting them
// with those that are not local files: a playlist is opened or converted
// with the files that are there, and says how many of its entries are not.
void LeaveOutMissingFiles(PlaylistReading& reading);

// The text of a playlist of absolute paths. M3U and M3U8 (both UTF-8, LF)
// give "#EXTINF:<whole seconds>,<title>" where a title or a length is known;
// PLS is version 2 with whole seconds; XSPF gives durations in milliseconds.
// Paths go as file URIs (percent-encoded bytes) into XSPF, and into M3U and
// PLS where the plain form would not read back the same (a byte that is not
// UTF-8, a control character, spaces at either end). A title's line breaks
// become spaces in M3U and PLS; a byte of a title that is not UTF-8, and a
// control character, is written as U+FFFD.
QByteArray PlaylistText(const std::vector<PlaylistEntry>& entries, PlaylistFormat format);
// Writes the playlist file `path` in the format its extension names, as
// ReplaceFile (FileNames.h) does: an existing file is replaced only by the
// complete new one.
[[nodiscard]] std::optional<WriteFailure> WritePlaylistFile(const QString& path,
                                                            const std::vector<PlaylistEntry>& entries);

}  // namespace kivo
