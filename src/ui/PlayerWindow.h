#pragma once

#include "media/Joystick.h"
#include "media/MediaEngine.h"
#include "session/PlayerInput.h"

#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace kivo {

class Settings;

// The player window: one media engine whose video is drawn inside it. It
// belongs to the main window (its parent): it stays above it, has no task
// bar entry of its own and goes when the main window is minimised. It
// starts hidden with a 352 x 240 client area, takes the options AutoRewind,
// Repeat and Zoom from the profile when it is made and writes them back
// when it goes. It has no title bar; it is dragged by its body, resized by
// its edges, and shows the picture with its aspect kept (or stretched) on
// black.
// Keys and the first joystick act on it as well.
class PlayerWindow : public QWidget, private PlayerInputHost {
    Q_OBJECT

public:
    static constexpr QSize kDefaultClientSize{352, 240};

    PlayerWindow(Settings& settings, MediaEngine& engine, QWidget* parent = nullptr);
    ~PlayerWindow() override;

    MediaEngine& Engine() { return m_engine; }
    // The first joystick, opened when the window is made.
    Joystick& JoystickDevice() { return m_joystick; }
    // Shows the window above the main window, with the keyboard focus unless
    // it is in full-screen mode: playing starts.
    void ShowOnTop();

    // Sizes the client area: -1 the default size, 0 the whole screen, n > 0
    // n times the video size (the default size without video).
    void SetSize(int n);
    // Places the video in the client area: fitted and centred, or stretched.
    void LayoutVideo();
    bool IsFullScreen() const override { return isFullScreen(); }
    void SetFullScreen(bool on) override;
    // Has the engine capture the paused frame, then writes it to a bitmap
    // file the user chooses; nothing when there is no frame or the user
    // cancels, and a file that cannot be written is shown.
    void SaveSnapshot();
    // Writes the last captured frame to `path`; a failure is shown.
    bool WriteSnapshot(const QString& path);
    // How the context menu learns the list's size, current position and
    // whether it repeats.
    void SetListQuery(std::function<ListPosition()> listPosition) { m_listPosition = std::move(listPosition); }

signals:
    // A command chosen in the context menu, by a key or by the joystick.
    void commandRequested(Command command);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    // The engine's answer to SaveSnapshot.
    void OnFrameCaptured(bool captured);
    void RunCommand(Command command) override { emit commandRequested(command); }
    bool IsMainWindowMinimised() const override;
    void MinimiseMainWindow() override;
    void RestoreMainWindow() override;
    void TakeFocus() override;
    void StartWatchdog() override { m_watchdog.start(); }
    void StopWatchdog() override { m_watchdog.stop(); }
    void StartReleaseWait() override { m_releaseWait.start(); }
    void StopReleaseWait() override { m_releaseWait.stop(); }

    // The window edges under a point of the client area, for resizing.
    Qt::Edges EdgesAt(const QPoint& point) const;
    void ShowContextMenu(const QPoint& globalPoint);
    // The main window this player belongs to, if any.
    QWidget* MainWindow() const;
    // Brings a window that lies wholly off the screens back onto one.
    void KeepOnScreen();

    Settings& m_settings;
    MediaEngine& m_engine;
    PlayerInput m_input{m_engine, *this};
    QTimer m_watchdog;
    QTimer m_releaseWait;
    Joystick m_joystick;
    std::function<ListPosition()> m_listPosition;
    QPoint m_ptDrag;
    bool m_bDragging = false;
    // The context menu while it is open.
    QPointer<QMenu> m_contextMenu;
    // A frame this window asked the engine for is on its way.
    bool m_snapshotAsked = false;
};

}  // namespace kivo
