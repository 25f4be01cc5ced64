#include "session/TrackMenus.h"

#include <QCoreApplication>

namespace kivo {
namespace {

QString Translated(const char* text)
{
    return QCoreApplication::translate("TrackMenus", text);
}

// A stream's name: its language and title as tagged, else its number. An
// ampersand in a tag is shown, not taken for an accelerator.
QString TrackName(const Track& track, int index)
{
    QString name = track.language;
    if (!track.title.isEmpty())
        name = name.isEmpty() ? track.title : QStringLiteral("%1 (%2)").arg(name, track.title);
    if (name.isEmpty())
        return Translated(QT_TRANSLATE_NOOP("TrackMenus", "ﾄﾗｯｸ %1")).arg(index + 1);
    return name.replace(u'&', QStringLiteral("&&"));
}

std::vector<TrackMenuEntry> StreamEntries(const std::vector<Track>& streams, std::optional<int> chosen)
{
    std::vector<TrackMenuEntry> entries;
    for (int index = 0; index < static_cast<int>(streams.size()); ++index)
        entries.push_back({TrackName(streams[static_cast<size_t>(index)], index), chosen == index, index});
    return entries;
}

}  // namespace

TrackMenu SubtitleMenu(const MediaTracks& tracks)
{
    TrackMenu menu{Translated(QT_TRANSLATE_NOOP("TrackMenus", "字幕(&T)")), {}};
    if (tracks.subtitles.empty())
        return menu;
    menu.entries.push_back({Translated(QT_TRANSLATE_NOOP("TrackMenus", "なし(&N)")), !tracks.subtitleChoice, {}});
    for (TrackMenuEntry& entry : StreamEntries(tracks.subtitles, tracks.subtitleChoice))
        menu.entries.push_back(std::move(entry));
    return menu;
}

TrackMenu AudioTrackMenu(const MediaTracks& tracks)
{
    return {Translated(QT_TRANSLATE_NOOP("TrackMenus", "音声ﾄﾗｯｸ(&K)")), StreamEntries(tracks.audio, tracks.audioChoice)};
}

}  // namespace kivo
