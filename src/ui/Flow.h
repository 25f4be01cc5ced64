#pragma once

#include "session/Session.h"
#include "ui/MainWindow.h"

#include <QTimer>

#include <memory>

namespace kivo {

class Settings;

// Makes the program's parts and wires them together: the display-free
// session and the main window that shows it, with its player window. One is
// made by main(), and by the tests and benchmarks that drive the program.
class Flow : private PlaybackHost {
public:
    explicit Flow(Settings& settings);
    ~Flow() override;
    Flow(const Flow&) = delete;
    Flow& operator=(const Flow&) = delete;

    MainWindow& Window() { return *m_window; }

private:
    // The session may speak before the window is there.
    void ShowPlayerWindow(bool show) override
    {
        if (m_window)
            m_window->ShowPlayerWindow(show);
    }
    void ShowMessage(const QString& text, Icon icon) override
    {
        if (m_window)
            m_window->ShowMessage(text, icon);
    }
    void SetModified() override { m_session.document.SetModified(true); }
    void ShowBusy(bool busy) override;

    Session m_session;
    std::unique_ptr<MainWindow> m_window;
    // Reports the player's position to the bars.
    QTimer m_positionTimer;
};

}  // namespace kivo
