#pragma once

// A scenario document with its list, cache, player and loader, and no
// windows around it: the base of the tests and benchmarks that drive the
// document.

#include "session/CutListDocument.h"
#include "cutlist/CutListModel.h"
#include "cutlist/MediaInfoCache.h"
#include "session/MediaLoader.h"
#include "media/MediaEngine.h"
#include "session/PlaybackSequencer.h"
#include "QuietPlaybackHost.h"
#include "TestMedia.h"

namespace kivo::test {

struct DocumentParts {
    CutListModel list;
    CMediaInfoCache cache;
    MediaEngine player;
    QuietHost host;
    PlaybackSequencer playback{list, player, host};
    MediaLoader loader{list, cache};
    CutListDocument document{list, cache, player, playback, loader};

    // Adds the files as a drop does; false when the run does not end.
    bool Add(const QStringList& paths)
    {
        bool done = false;
        document.AddMediaFiles(paths, false, [&] { done = true; });
        return WaitUntil([&] { return done; }, 60000) && Settled();
    }
    // Waits until the player has opened what it was given.
    bool Settled()
    {
        return WaitUntil([&] { return !player.IsOpening(); }, 10000);
    }
};

}  // namespace kivo::test
