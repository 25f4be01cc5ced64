// Fuzz target of a playlist reader, built once for each format
// (KIVO_PLAYLIST_FORMAT: M3u, Pls or Xspf; the M3U target reads each input
// as M3U and as M3U8). Any input must be read without a crash, a hang or an
// out-of-bounds access; whatever reads must write in every format and read
// back with the same files (the same bytes) in the same order.

#include "cutlist/FileNames.h"
#include "cutlist/Playlists.h"

#include <cstdint>
#include <cstdlib>

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
    for (PlaylistFormat format : {PlaylistFormat::M3u8, PlaylistFormat::Pls, PlaylistFormat::Xspf}) {
        const PlaylistReadResult again = ReadPlaylist(PlaylistText(reading.entries, format), format, kFolder);
        Require(again.status == PlaylistStatus::Ok);
        Require(again.reading.skipped == 0);
        Require(again.reading.entries.size() == reading.entries.size());
        for (size_t i = 0; i < reading.entries.size(); ++i)
            Require(FileNameBytes(again.reading.entries[i].path) == FileNameBytes(reading.entries[i].path));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    constexpr PlaylistFormat format = PlaylistFormat::KIVO_PLAYLIST_FORMAT;
    for (PlaylistFormat as : {format, format == PlaylistFormat::M3u ? PlaylistFormat::M3u8 : format}) {
        const PlaylistReadResult result = ReadPlaylist(input, as, kFolder);
        if (result.status == PlaylistStatus::Ok)
            CheckReadsBack(result.reading);
        else
            Require(!result.problem.isEmpty() && !result.detail.isEmpty());
    }
    return 0;
}
