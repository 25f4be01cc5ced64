#pragma once

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace kivo {

class CMediaInfoCache;
class CutListModel;
class MediaEngine;

// The pages of the property sheet, in tab order.
enum class PropertyPage { Media, Player, Playback };

// What the media page shows of one object.
struct MediaPageTexts {
    QString name;
    QString location;
    QString type;
    QString time;
    QString size;
    QString date;
    QString message;
    QImage picture;  // 64 x 48
};

// What the player page shows of the object the player holds.
struct PlayerPageTexts {
    QString fileName;
    QString type;
    QString time;
    QString videoSize;
    QImage picture;       // 64 x 48
    QStringList filters;  // the player's elements, as the player lists them
};

// The player's four switches, as the playback page offers them.
struct PlaybackOptions {
    bool stretch = false;
    bool autoRewind = false;
    bool repeat = false;
    bool autoSize = false;
};

// The player's sound and speed when the sheet opens.
struct PlaybackLevels {
    long volume = 0;   // hundredths of a decibel
    long balance = 0;  // -10000 .. 10000
    bool muted = false;
    bool hasMedia = false;  // the player holds an opened file
    double rate = 0.0;      // the rate in force; 0 without media
};

// Everything the property sheet shows of one media object.
struct ObjectProperties {
    int item = -1;                         // list position of the object; -1: nothing to show
    QList<PropertyPage> pages;             // the pages shown, in tab order
    PropertyPage active = PropertyPage::Media;
    MediaPageTexts media;
    PlayerPageTexts player;
    PlaybackOptions options;
    PlaybackLevels levels;
};

// Gathers what the list, the cache and the player know of an object.
// `menuItem` is the list position the item menu was opened on (-1 for the
// player's own command). An object other than the current one shows the
// media page only; the current one shows all three pages, with the playback
// page in front when `bPlayback` asks for it. A position that names no
// object (-1, or one beyond the list) leaves `item` at -1.
ObjectProperties GatherObjectProperties(const CutListModel& list, CMediaInfoCache& cache, MediaEngine& engine,
                                        int menuItem, bool bPlayback);

// Hands the options of an accepted sheet back to the player: stretch and
// automatic rewind, then `layoutVideo` so that a changed stretch shows at
// once, then repeat and automatic size.
void ReturnPlaybackOptions(MediaEngine& engine, const PlaybackOptions& options,
                           const std::function<void()>& layoutVideo);

}  // namespace kivo
