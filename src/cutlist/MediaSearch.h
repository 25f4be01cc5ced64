#pragma once

#include "cutlist/TodaysMediaKinds.h"

#include <QByteArray>
#include <QStringList>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kivo {

// The kinds of media file the search looks for.
struct MediaChoices {
    bool midi = true;
    bool mpeg = true;
    bool vcd = false;
    bool avi = true;
    bool wav = true;
    bool mov = true;
    bool aiff = true;
    bool au = true;
    bool mp3 = false;
    bool realMedia = false;
    TodaysMediaChoices todays = TodaysMediaDefaults();
    bool all = false;
};

// The upper-case extensions, dot included, of the chosen kinds:
// MIDI, MPEG-1, Video CD, AVI, QuickTime, Windows audio, AU, AIFF, MP3,
// RealMedia, then today's kinds, in that order.
std::vector<std::string> ExtensionList(const MediaChoices& choices);

// Whether a file name's extension (from its last dot; the whole name when it
// has none) is one of `extensions`, letters compared without case. Only
// A-Z count as letters, so no other character turns into one of them.
bool MatchesExtension(std::string_view name, const std::vector<std::string>& extensions);

struct SearchCounts {
    std::uint64_t folders = 0;
    std::uint64_t hits = 0;
};

struct SearchControl {
    // Set from another thread to end the walk early.
    const std::atomic<bool>* cancel = nullptr;
    // Told the counts at the start, at most once per interval, and at the end.
    std::function<void(const SearchCounts&)> progress;
    std::chrono::milliseconds progressInterval{100};
    // Folders not to enter: the mount points of other file systems.
    std::vector<QByteArray> skippedFolders;
};

struct SearchResult {
    QStringList paths;
    SearchCounts counts;
    bool cancelled = false;
};

// The regular files below `folder` whose extension is in `extensions` (every
// one when `allFiles`), in depth-first order: a folder's entries in the order
// the file system gives them, each subfolder searched where it is met.
// Symbolic links to regular files count as files, by the link's own name and
// path, wherever the file lies; each file is found once (as itself when it is
// found so too, else through the first of its links in byte order). The walk
// follows no link to a folder, stays on the file system of `folder`, never
// enters a folder it is already in (a bind mount of an ancestor), and leaves
// out folders it cannot open, including ones that vanish meanwhile.
SearchResult SearchFolder(const QByteArray& folder, const std::vector<std::string>& extensions, bool allFiles,
                          const SearchControl& control = {});

}  // namespace kivo
