#pragma once

#include "session/PlaybackSequencer.h"

namespace kivo::test {

// A main window that hears nothing of the playback.
struct QuietHost : PlaybackHost {
    void ShowPlayerWindow(bool) override {}
    void ShowMessage(const QString&, Icon) override {}
    void SetModified() override {}
    void ShowBusy(bool) override {}
};

}  // namespace kivo::test
