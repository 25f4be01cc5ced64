#pragma once

#include <QImage>
#include <QString>

#include <gst/gst.h>

namespace kivo {

// What a medium says of itself in its tags, as far as the desktop's remote
// control shows it.
struct MediaTags {
    QString title;
    QString artist;
    QString album;
    QString genre;
    int trackNumber = 0;  // 0: none
    int year = 0;         // 0: none
    QImage cover;         // the cover picture in the file, if any

    friend bool operator==(const MediaTags&, const MediaTags&) = default;
};

// The text of a tag, trimmed; empty when the list has none.
QString TagText(const GstTagList* tags, const char* tag);

// Adds what `tags` holds to `into`; a tag already there is kept (a stream's
// later tags repeat the container's). A cover that does not decode is left
// out. False when nothing changed.
bool MergeTags(MediaTags& into, const GstTagList* tags);

// Whether `tags` holds any tag that MergeTags reads: most tag lists a stream
// sends as it plays only say its bitrate again.
bool HoldsMediaTags(const GstTagList* tags);

}  // namespace kivo
