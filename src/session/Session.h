#pragma once

#include "cutlist/CutListModel.h"
#include "cutlist/MediaInfoCache.h"
#include "media/MediaEngine.h"
#include "session/CutListDocument.h"
#include "session/CutListEditor.h"
#include "session/FrameProtocol.h"
#include "session/MediaLoader.h"
#include "session/PlaybackSequencer.h"

namespace kivo {

// The display-free parts of the program, made and wired together: the cut
// list and its cache, the player's engine, the loader, the playback, the
// document and its editor. Its FrameView is the list's end of the
// protocol with the main window's bars.
class Session : private FrameView {
public:
    explicit Session(PlaybackHost& host) : playback(list, engine, host) {}
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    FrameView& View() { return *this; }

    // The end of a run: a file being written is finished, as the program
    // ends with _Exit, which would lose it, and the loader stops.
    void End()
    {
        document.FinishSaving();
        loader.Cancel();
    }

    CutListModel list;
    CMediaInfoCache cache;
    MediaEngine engine;
    MediaLoader loader{list, cache};
    PlaybackSequencer playback;
    CutListDocument document{list, cache, engine, playback, loader};
    CutListEditor editor{list, document, playback};

private:
    void Seek(int position) override { playback.Seek(position); }
    void FinishSeeking() override { playback.FinishSeeking(); }
    void SetBalance(int balance) override { playback.SetBalance(balance); }
    void SetVolume(int volume) override { playback.SetVolume(volume); }
    void SetMute(bool on) override { playback.SetMute(on); }
    int SetRate(int speed) override { return playback.SetRate(speed); }
    void ShowSummary() override { document.UpdateSummary(); }
};

}  // namespace kivo
