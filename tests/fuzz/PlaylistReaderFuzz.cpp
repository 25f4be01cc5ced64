// Fuzz target of a playlist reader, built once for each format
// (KIVO_PLAYLIST_FORMAT: M3u, Pls or Xspf; the M3U target reads each input
// as M3U and as M3U8). Any input must be read without a crash, a hang or an
// out-of-bounds access; whatever reads must write in every format and read
// back with the same files (the same bytes) in the same order, each path
// absolute, clean and one the system takes, each title within its bound.
//
// With KIVO_FOLDER_FROM_INPUT, the input chooses the playlist's folder
// first: its first byte is a number of levels, the rest of its first line
// the name of each level; what follows the line is the playlist. Deep
// folders make the relative lines long paths, beyond what the system takes
// and beyond the bound of a playlist's paths.

#include "cutlist/FileNames.h"
#include "cutlist/Playlists.h"
#include "cutlist/ShownText.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>

using namespace kivo;

namespace {

const QString kFolder = QStringLiteral("/fuzz");

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

void CheckReadsBack(const PlaylistReading& reading)
{
    for (const PlaylistEntry& entry : reading.entries) {
        Require(entry.path.startsWith(u'/') && CleanFileName(entry.path) == entry.path);
        Require(IsReachableFileName(entry.path));
        Require(entry.title.size() <= kMaxNameChars);
    }
    for (PlaylistFormat format : {PlaylistFormat::M3u8, PlaylistFormat::Pls, PlaylistFormat::Xspf}) {
        const PlaylistReadResult again = ReadPlaylist(PlaylistText(reading.entries, format), format, kFolder);
        Require(again.status == PlaylistStatus::Ok);
        Require(again.reading.skipped == 0);
        Require(again.reading.entries.size() == reading.entries.size());
        for (size_t i = 0; i < reading.entries.size(); ++i)
            Require(FileNameBytes(again.reading.entries[i].path) == FileNameBytes(reading.entries[i].path));
    }
}

#ifdef KIVO_FOLDER_FROM_INPUT
// The folder the input's first line chooses, absolute and clean as a
// playlist file's folder is, and the rest of the input.
std::pair<QString, QByteArrayView> FolderAndPlaylist(QByteArrayView input)
{
    if (input.isEmpty())
        return {kFolder, input};
    const qsizetype end = input.indexOf('\n');
    const QByteArrayView line = input.first(end < 0 ? input.size() : end);
    // At most the 255 bytes of a file's name.
    const QByteArrayView bytes = line.sliced(1);
    QString name = FileNameFromBytes(bytes.first(std::min<qsizetype>(bytes.size(), 255))).remove(u'/').remove(QChar::Null);
    if (name.isEmpty() || name == u"." || name == u"..")
        name = QStringLiteral("d");
    QString folder = kFolder;
    for (int level = static_cast<uchar>(line[0]); level > 0; --level)
        folder += u'/' + name;
    return {folder, end < 0 ? QByteArrayView() : input.sliced(end + 1)};
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
    for (PlaylistFormat as : {format, format == PlaylistFormat::M3u ? PlaylistFormat::M3u8 : format}) {
        const PlaylistReadResult result = ReadPlaylist(input, as, folder);
        if (result.status == PlaylistStatus::Ok)
            CheckReadsBack(result.reading);
        else
            Require(!result.problem.isEmpty() && !result.detail.isEmpty());
    }
    return 0;
}
