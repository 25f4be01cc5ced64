#pragma once

#include "media/MediaTracks.h"

#include <QString>

#include <optional>
#include <vector>

namespace kivo {

// One entry of a track menu: the stream it chooses (nothing: subtitles off).
struct TrackMenuEntry {
    QString text;
    bool checked = false;
    std::optional<int> track;
    bool operator==(const TrackMenuEntry&) const = default;
};

// A submenu of the player's context menu; it is shown only when it offers
// a choice, that is, holds two entries or more.
struct TrackMenu {
    QString title;
    std::vector<TrackMenuEntry> entries;
    bool Shown() const { return entries.size() > 1; }
};

// "字幕(&T)": off, then each subtitle stream.
TrackMenu SubtitleMenu(const MediaTracks& tracks);
// "音声ﾄﾗｯｸ(&K)": each audio stream.
TrackMenu AudioTrackMenu(const MediaTracks& tracks);

}  // namespace kivo
