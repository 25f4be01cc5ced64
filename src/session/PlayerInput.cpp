#include "session/PlayerInput.h"

#include "media/MediaEngine.h"

#include <utility>

namespace kivo {

namespace {

// Stick zones: the axis value divided by 2048 gives 0 ... 31.
constexpr int kZoneSize = 2048;
constexpr int kLowZone = 10;
constexpr int kHighZone = 22;

}  // namespace

PlayerInput* PlayerInput::s_joystickFastForward = nullptr;

PlayerInput::PlayerInput(MediaEngine& engine, PlayerInputHost& host)
    : m_engine(engine)
    , m_host(host)
{
}

PlayerInput::~PlayerInput()
{
    if (s_joystickFastForward == this)
        s_joystickFastForward = nullptr;
}

bool PlayerInput::KeyDown(Key key, bool autoRepeat)
{
    switch (key) {
    case Key::Control:
        if (autoRepeat)
            return true;
        m_host.RunCommand(Command::PlayPause);
        TakeFocusUnlessFullScreen();
        return true;
    case Key::Space:
        if (m_host.IsFullScreen())
            SetFullScreen(false);
        if (m_engine.State() == PlayState::Playing)
            m_host.RunCommand(Command::Stop);
        m_host.MinimiseMainWindow();
        return true;
    case Key::Left:
        if (m_engine.State() != PlayState::Playing)
            m_host.RunCommand(Command::PlayPause);
        m_engine.SetPosition(0.0);
        return true;
    case Key::Up:
        m_host.RunCommand(Command::Previous);
        return true;
    case Key::Down:
        m_host.RunCommand(Command::Next);
        return true;
    case Key::Right:
        // Repeats only tell the watchdog the key is still held; a key-down
        // after the watchdog gave up (the key was held all along) starts
        // again.
        m_bFastKeyHeld = true;
        if (std::exchange(m_releaseWaiting, false))
            m_host.StopReleaseWait();
        if (!m_keyFastForward) {
            StartFastForward();
            m_keyFastForward = true;
            m_host.StartWatchdog();
        }
        return true;
    }
    return false;
}

bool PlayerInput::KeyUp(Key key, bool autoRepeat)
{
    if (key != Key::Right)
        return false;
    // Auto-repeat comes as key-up and key-down pairs while the key is held.
    if (!autoRepeat && m_keyFastForward && !m_releaseWaiting) {
        m_releaseWaiting = true;
        m_host.StartReleaseWait();
    }
    return true;
}

void PlayerInput::OnReleaseWaitOver()
{
    if (std::exchange(m_releaseWaiting, false))
        EndKeyFastForward();
}

void PlayerInput::OnWatchdog()
{
    if (!m_keyFastForward) {
        m_host.StopWatchdog();
        return;
    }
    if (m_bFastKeyHeld) {
        m_bFastKeyHeld = false;
        return;
    }
    EndKeyFastForward();
    TakeFocusUnlessFullScreen();
}

void PlayerInput::ToggleFullScreen()
{
    SetFullScreen(!m_host.IsFullScreen());
}

void PlayerInput::SetFullScreen(bool on)
{
    m_engine.SetOption(&PlayerOptions::fullScreen, on);
    m_host.SetFullScreen(on);
}

void PlayerInput::JoystickButtons(int changedButtons)
{
    if ((changedButtons & kJoystickButton1) != 0) {
        if (!m_host.IsMainWindowMinimised()) {
            PressKey(Key::Control);
        }
    } else if ((changedButtons & kJoystickButton2) != 0) {
        if (m_host.IsMainWindowMinimised()) {
            m_host.RestoreMainWindow();
        } else if (!m_host.IsFullScreen()) {
            SetFullScreen(true);
        } else {
            PressKey(Key::Space);
        }
    }
}

void PlayerInput::JoystickMove(int x, int y)
{
    const int zx = x / kZoneSize;
    const int zy = y / kZoneSize;
    if (m_host.IsMainWindowMinimised()) {
        // The stick waits for the main window, but lets go of fast forward:
        // nothing goes on playing at double speed out of sight.
        if (zx < kHighZone)
            EndJoystickFastForward();
        return;
    }

    if (zx <= kLowZone) {
        PressKey(Key::Left);
        EndJoystickFastForward();
    } else if (zx >= kHighZone) {
        if (s_joystickFastForward == nullptr) {
            StartFastForward();
            s_joystickFastForward = this;
        }
    } else {
        EndJoystickFastForward();
    }

    if (zy <= kLowZone) {
        PressKey(Key::Up);
    } else if (zy >= kHighZone) {
        PressKey(Key::Down);
    }
}

void PlayerInput::PressKey(Key key)
{
    KeyDown(key, false);
    KeyUp(key, false);
}

void PlayerInput::StartFastForward()
{
    if (IsFastForwarding())
        return;
    // The rate in force, or the one the next file opens with. Never 0.0,
    // which no pipeline takes.
    m_dSavedRate = m_engine.GetRate();
    if (!(m_dSavedRate > 0.0))
        m_dSavedRate = 1.0;
    m_engine.SetRate(kFastForwardRate);
    if (m_engine.State() != PlayState::Playing)
        m_host.RunCommand(Command::PlayPause);
}

void PlayerInput::FinishFastForward()
{
    if (IsFastForwarding() || m_dSavedRate == 0.0)
        return;
    m_engine.SetRate(m_dSavedRate);
    m_dSavedRate = 0.0;
}

void PlayerInput::EndKeyFastForward()
{
    m_bFastKeyHeld = false;
    m_host.StopWatchdog();
    if (std::exchange(m_releaseWaiting, false))
        m_host.StopReleaseWait();
    if (!m_keyFastForward)
        return;
    m_keyFastForward = false;
    FinishFastForward();
}

void PlayerInput::EndJoystickFastForward()
{
    PlayerInput* holder = s_joystickFastForward;
    if (holder == nullptr)
        return;
    s_joystickFastForward = nullptr;
    holder->FinishFastForward();
    holder->TakeFocusUnlessFullScreen();
}

void PlayerInput::TakeFocusUnlessFullScreen()
{
    if (!m_host.IsFullScreen())
        m_host.TakeFocus();
}

}  // namespace kivo
