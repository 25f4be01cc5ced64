#pragma once

#include <QtGlobal>

#include <array>

namespace kivo {

// The kinds of media file of today that the program names beside its older
// ones. Each is a row of the open-media dialog (after the older rows and
// "すべてのﾌｧｲﾙ", so that a stored row number names the same row as before),
// a check box of the media search under the older ones with a setting of
// its own, and MIME types of the desktop entry and the remote control.
struct TodaysMediaKind {
    const char* rowName;       // the open dialog's row (a Japanese source text)
    const char* searchName;    // the search's check box, in English as the older ones
    const char16_t* patterns;  // the open dialog's patterns; the search's extensions
    const char* settingKey;    // beside the older kinds' keys
    bool searchedByDefault;
};

inline constexpr std::array<TodaysMediaKind, 5> kTodaysMediaKinds = {{
    {QT_TRANSLATE_NOOP("AddingMedia", "MPEG-4 / QuickTime ﾌｧｲﾙ (.mp4; .m4v; .mov)"),
     "MPEG-4 / QuickTime (.mp4, .m4v, .mov)", u"*.mp4 *.m4v *.mov", "mediamp4", true},
    {QT_TRANSLATE_NOOP("AddingMedia", "Matroska / WebM ﾌｧｲﾙ (.mkv; .webm)"), "Matroska / WebM (.mkv, .webm)",
     u"*.mkv *.webm", "mediamkv", true},
    {QT_TRANSLATE_NOOP("AddingMedia", "FLAC ﾌｧｲﾙ (.flac)"), "Free Lossless Audio Codec FLAC (.flac)", u"*.flac",
     "mediaflac", true},
    {QT_TRANSLATE_NOOP("AddingMedia", "Ogg / Opus ﾌｧｲﾙ (.ogg; .oga; .opus)"), "Ogg Vorbis / Opus (.ogg, .oga, .opus)",
     u"*.ogg *.oga *.opus", "mediaogg", true},
    {QT_TRANSLATE_NOOP("AddingMedia", "AAC / M4A ﾌｧｲﾙ (.m4a; .aac)"), "Advanced Audio Coding AAC / M4A (.m4a, .aac)",
     u"*.m4a *.aac", "mediaaac", true},
}};

// Whether the media search looks for each of today's kinds, in the table's order.
using TodaysMediaChoices = std::array<bool, kTodaysMediaKinds.size()>;

constexpr TodaysMediaChoices TodaysMediaDefaults()
{
    TodaysMediaChoices choices{};
    for (size_t i = 0; i < kTodaysMediaKinds.size(); ++i)
        choices[i] = kTodaysMediaKinds[i].searchedByDefault;
    return choices;
}

}  // namespace kivo
