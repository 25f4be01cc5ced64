#pragma once

#include "session/Mpris.h"
#include "session/Session.h"
#include "ui/MainWindow.h"

#include <QTimer>

#include <functional>
#include <memory>

namespace kivo {

class Settings;

// Makes the program's parts and wires them together: the display-free
// session and the main window that shows it, with its player window. One is
// made by main(), and by the tests and benchmarks that drive the program.
class Flow : private PlaybackHost, private MprisHost {
public:
    explicit Flow(Settings& settings);
    ~Flow() override;
    Flow(const Flow&) = delete;
    Flow& operator=(const Flow&) = delete;

    MainWindow& Window() { return *m_window; }
    // A file named on the command line: a media file (as a desktop opens
    // one with the program) is added and played, as the remote control
    // does; anything else opens as the document. `done` is told whether
    // a document opened. A document opens from `readAhead` when that read
    // the same path.
    void OpenNamedFile(const QString& path, std::function<void(bool)> done, ScenarioReadAhead readAhead = {});
    // Brings the pipelines down while the window the video is drawn into is
    // still there (a sink whose window is gone may never stop), waiting a
    // while at most; false when one did not come down in time.
    bool Shutdown() { return m_session.engine.Shutdown(); }

private:
    // The session may speak before the window is there.
    void ShowPlayerWindow(bool show) override
    {
        if (m_window)
            m_window->ShowPlayerWindow(show);
        RefreshSoon();
    }
    void ShowMessage(const QString& text, Icon icon) override
    {
        if (m_window)
            m_window->ShowMessage(text, icon);
    }
    void SetModified() override { m_session.document.SetModified(true); }
    void ShowBusy(bool busy) override;

    // The desktop's remote control.
    MprisFacts Facts() const override;
    bool Run(Command command) override { return m_window->Commands().Run(command); }
    void Raise() override;
    void SetVolume(int volume) override { m_window->Frame().SetVolume(volume); }
    void SetSpeed(int hundredths) override { m_window->Frame().SetSpeed(hundredths); }
    void SeekTo(int hundredths) override;
    void OpenFile(const QString& path) override;
    void OpenDocument(const QString& path) override { m_window->OpenSentDocument(path); }
    // On a desktop's session bus, once the window is up.
    void ServeRemoteControl();
    // The tool bars' command states and the remote control's properties
    // follow the session: refreshed once after any change to what they
    // show, never by a clock, so that a program at rest does not wake.
    void WatchSession();
    void RefreshSoon() { m_refresh.start(); }

    // First: the session may speak as it is made.
    QTimer m_refresh;
    Session m_session;
    std::unique_ptr<MainWindow> m_window;
    MprisService m_remoteControl;
};

}  // namespace kivo
