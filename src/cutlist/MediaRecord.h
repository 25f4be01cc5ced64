#pragma once

#include <QImage>
#include <QString>

#include <cmath>
#include <limits>
#include <memory>

namespace kivo {

// The longest time, in seconds, that a media time in 1/100 s holds.
constexpr double kLongestMediaSeconds = std::numeric_limits<qint32>::max() / 100.0;

// Seconds as 1/100 s, truncated toward zero and clamped to what a media
// time holds; NaN gives 0. A bare conversion of a longer time would be
// undefined.
inline qint32 ClampedHundredths(double seconds)
{
    const double hundredths = seconds * 100.0;
    if (std::isnan(hundredths))
        return 0;
    constexpr double largest = std::numeric_limits<qint32>::max();
    constexpr double smallest = std::numeric_limits<qint32>::min();
    return hundredths >= largest    ? std::numeric_limits<qint32>::max()
           : hundredths <= smallest ? std::numeric_limits<qint32>::min()
                                    : static_cast<qint32>(hundredths);
}

// A 64 x 48 picture of a medium, shared by the cache entries that refer to it.
using Thumbnail = std::shared_ptr<const QImage>;

// Flags of a media record.
constexpr int kFlagValid = 0;
constexpr int kFlagInvalid = -1;
constexpr int kFlagNoPicture = -2;

// What is known of one media file: as examined, as the media cache keeps it
// and as a scenario file stores it.
struct MEDIARECORD {
    QString strPath;          // full path; empty in the record of a failed lookup
    quint64 dwSize = 0;       // bytes; a scenario file keeps only the low 32 bits
    qint64 timeModified = 0;  // seconds since 1970 UTC; 0 marks a missing file
    Thumbnail pThumbnail;     // null for a medium without a picture of its own
    quint32 dwReserved = 0;   // stored thumbnail byte count of entries read from a file
    qint32 nLength = 0;       // media time in 1/100 s
    qint32 nFlag = kFlagValid;
};

// A new cut-list object: its record (with the object's flag) and the
// 64 x 48 picture it shows.
struct MediaObject {
    MEDIARECORD record;
    QImage picture;
};

}  // namespace kivo
