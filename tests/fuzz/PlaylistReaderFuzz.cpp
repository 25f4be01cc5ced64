// Fuzz target of a playlist reader, built once for each format
// (KIVO_PLAYLIST_FORMAT: M3u, M3u8, Pls or Xspf). Any input must be read
// without a crash, a hang or an out-of-bounds access; whatever reads must
// write and read back with the same files (the same bytes) in the same
// order, each path absolute, clean and one the system takes, each title
// within its bound. What reads is written in its own format (M3U as M3U8).
//
// With KIVO_FOLDER_FROM_INPUT, the input chooses the playlist's folder
// first: its first byte is a number of levels, the rest of its first line
// the name of each level; its first lines after that are the playlist. Deep
// folders make the relative lines long paths, beyond what the system takes.

#include "FuzzRequire.h"
#include "cutlist/FileNames.h"
#include "cutlist/Playlists.h"
#include "cutlist/ShownText.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <iterator>
#include <utility>

using namespace kivo;

namespace {

const QString kFolder = QStringLiteral("/fuzz");

void CheckReadsBack(const PlaylistReading& reading, PlaylistFormat format)
{
    // That each path is one the system takes is checked by the reading
    // back, which would skip it otherwise.
    for (const PlaylistEntry& entry : reading.entries) {
        Require(entry.path.startsWith(u'/') && CleanFileName(entry.path) == entry.path);
        Require(entry.title.size() <= kMaxNameChars);
    }
    const PlaylistReadResult again = ReadPlaylist(PlaylistText(reading.entries, format), format, kFolder);
    Require(again.status == PlaylistStatus::Ok);
    Require(again.reading.skipped == 0);
    Require(again.reading.entries.size() == reading.entries.size());
    for (size_t i = 0; i < reading.entries.size(); ++i) {
        // Equal names are equal bytes; only others need encoding.
        const QString& path = reading.entries[i].path;
        const QString& pathAgain = again.reading.entries[i].path;
        Require(pathAgain == path || FileNameBytes(pathAgain) == FileNameBytes(path));
    }
}

void Check(const PlaylistReadResult& result, PlaylistFormat writtenAs)
{
    if (result.status == PlaylistStatus::Ok)
        CheckReadsBack(result.reading, writtenAs);
    else
        Require(!result.problem.isEmpty() && !result.detail.isEmpty());
}

#ifdef KIVO_FOLDER_FROM_INPUT
// The first lines of a playlist, as many as hold a line of every kind
// (a title, a comment, relative, absolute, a file: URL, another URL, an
// empty one) next to one another. In a deep folder every further line is
// another long path, read, written and read again, and only repeats them.
QByteArrayView FirstLines(QByteArrayView playlist)
{
    // Counted by their breaks, a CRLF as two.
    constexpr int kLines = 8;
    int breaks = 0;
    for (qsizetype i = 0; i < playlist.size(); ++i) {
        if ((playlist[i] == '\n' || playlist[i] == '\r') && ++breaks == kLines)
            return playlist.first(i);
    }
    return playlist;
}

// The folder the input's first line chooses, absolute and clean as a
// playlist file's folder is, and the rest of the input.
std::pair<QString, QByteArrayView> FolderAndPlaylist(QByteArrayView input)
{
    const qsizetype end = input.indexOf('\n');
    const QByteArrayView line = input.first(end < 0 ? input.size() : end);
    if (line.isEmpty())
        return {kFolder, end < 0 ? input : input.sliced(end + 1)};
    // At most the 255 bytes of a file's name.
    const QByteArrayView bytes = line.sliced(1);
    QString name = FileNameFromBytes(bytes.first(std::min<qsizetype>(bytes.size(), 255))).remove(u'/').remove(QChar::Null);
    if (name.isEmpty() || name == u"." || name == u"..")
        name = QStringLiteral("d");
    // Levels beyond PATH_MAX would only lengthen names the system refuses
    // already, at the cost of every line's path: the levels stop at the
    // first that reaches it.
    const QString level = u'/' + name;
    const qsizetype levelsToPathMax = (PATH_MAX - kFolder.size() + level.size() - 1) / level.size();
    const QString folder = kFolder + level.repeated(std::min<qsizetype>(static_cast<uchar>(line[0]), levelsToPathMax));
    return {folder, end < 0 ? QByteArrayView() : FirstLines(input.sliced(end + 1))};
}
#else
std::pair<QString, QByteArrayView> FolderAndPlaylist(QByteArrayView input)
{
    return {kFolder, input};
}
#endif

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto [folder, input] =
        FolderAndPlaylist(QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    constexpr PlaylistFormat format = PlaylistFormat::KIVO_PLAYLIST_FORMAT;
    constexpr PlaylistFormat writtenAs = format == PlaylistFormat::M3u ? PlaylistFormat::M3u8 : format;
    Check(ReadPlaylist(input, format, folder), writtenAs);
    return 0;
}
