#pragma once

// A scenario document with its list, cache, player and loader, and no
// windows around it: the base of the tests and benchmarks that drive the
// document.

#include "session/Session.h"
#include "QuietPlaybackHost.h"
#include "TestMedia.h"

#include <QTest>

namespace kivo::test {

struct DocumentParts {
    QuietHost host;
    Session session{host};
    CutListModel& list = session.list;
    CMediaInfoCache& cache = session.cache;
    MediaEngine& player = session.engine;
    PlaybackSequencer& playback = session.playback;
    MediaLoader& loader = session.loader;
    CutListDocument& document = session.document;

    // Adds the files as a drop does; false when the run does not end.
    bool Add(const QStringList& paths)
    {
        bool done = false;
        document.AddMediaFiles(paths, false, [&] { done = true; });
        return QTest::qWaitFor([&] { return done; }, 60000) && Settled();
    }
    // Waits until the player has opened what it was given.
    bool Settled()
    {
        return QTest::qWaitFor([&] { return !player.IsOpening(); }, 10000);
    }
};

}  // namespace kivo::test
