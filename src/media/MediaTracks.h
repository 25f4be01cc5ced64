#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace kivo {

// One audio or subtitle stream of a medium, as its tags name it (either
// may be empty).
struct Track {
    QString language;
    QString title;
    bool operator==(const Track&) const = default;
};

// The streams of the medium playing that the user can choose among, and
// the choice in force.
struct MediaTracks {
    std::vector<Track> audio;
    std::vector<Track> subtitles;  // the file's own, then the subtitle file beside it
    int audioChoice = 0;
    std::optional<int> subtitleChoice;  // nothing: no subtitles shown
    bool operator==(const MediaTracks&) const = default;
};

// The subtitle file shown with the video at `videoPath`: the first of
// .srt, .ass, .ssa, .vtt and .sub (in lower or upper case) beside it with
// the same base name; empty when there is none.
QString SidecarSubtitle(const QString& videoPath);

}  // namespace kivo
