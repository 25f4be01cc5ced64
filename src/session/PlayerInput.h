#pragma once

#include "core/Commands.h"
#include "media/Joystick.h"

namespace kivo {

class MediaEngine;

// What the player window's keys and joystick need from the window.
class PlayerInputHost {
public:
    virtual ~PlayerInputHost() = default;
    // Sends a command through the program's command table: a disabled
    // command does nothing.
    virtual void RunCommand(Command command) = 0;
    virtual bool IsFullScreen() const = 0;
    virtual void SetFullScreen(bool on) = 0;
    virtual bool IsMainWindowMinimised() const = 0;
    virtual void MinimiseMainWindow() = 0;
    virtual void RestoreMainWindow() = 0;
    virtual void TakeFocus() = 0;
    // A repeating timer of kWatchdogMilliseconds that calls OnWatchdog.
    virtual void StartWatchdog() = 0;
    virtual void StopWatchdog() = 0;
    // A single shot of kReleaseWaitMilliseconds that calls OnReleaseWaitOver.
    virtual void StartReleaseWait() = 0;
    virtual void StopReleaseWait() = 0;
};

// What the keys, the double click and the joystick do to the player window's
// media engine.
//
// Fast forward plays at rate 2.0 while the Right key is held or the stick is
// pushed right, and then puts back the rate that was in force before. The
// key and the stick may hold it at the same time: the rate goes back when
// the last of them lets go. The keyboard's hold ends at the Right key-up, or
// at a tick of the watchdog that follows a whole period without a Right
// key-down (the key-up went to another window). A key-up counts once no
// key-down has followed it for kReleaseWaitMilliseconds: X sends a held
// key's auto-repeat as key-up and key-down pairs that are not always marked
// as repeats, and each would otherwise end and start fast forward again,
// with two seeks that freeze the picture. The stick's hold is one for
// all player windows: a stick pushed right fast-forwards the window that saw
// it first, and the stick leaving the right zone ends that window's fast
// forward, whichever window sees it.
class PlayerInput {
public:
    enum class Key { Control, Space, Left, Up, Down, Right };

    static constexpr double kFastForwardRate = 2.0;
    static constexpr int kWatchdogMilliseconds = 1000;
    static constexpr int kReleaseWaitMilliseconds = 100;

    PlayerInput(MediaEngine& engine, PlayerInputHost& host);
    // Lets go of the stick's fast forward without touching the engine.
    ~PlayerInput();
    PlayerInput(const PlayerInput&) = delete;
    PlayerInput& operator=(const PlayerInput&) = delete;

    // Whether the key was handled; other keys get the default handling.
    //  Ctrl   play/pause, and the focus when not in full-screen mode (a
    //         key held down toggles once);
    //  Space  leaves full-screen mode, stops what plays and minimises the
    //         main window;
    //  Left   plays the object from its beginning;
    //  Up     the previous object; Down: the next object;
    //  Right  fast forward while held, playing when not playing.
    bool KeyDown(Key key, bool autoRepeat);
    // Only Right's key-up is handled (auto-repeated ones are ignored).
    bool KeyUp(Key key, bool autoRepeat);
    // The watchdog timer's tick.
    void OnWatchdog();
    // No key-down followed the Right key-up: the key was let go.
    void OnReleaseWaitOver();

    // A double click on the window (not in preview mode): full-screen mode
    // on or off.
    void ToggleFullScreen();
    // Full-screen mode on or off as asked (Command::FullScreen asks for on).
    void SetFullScreen(bool on);

    // A joystick button went down: kJoystickButton1 as Ctrl, unless the main
    // window is minimised; kJoystickButton2 restores a minimised main window,
    // or else switches full-screen mode on, or, in full-screen mode, acts as
    // Space. Button 1 wins when both are given.
    void JoystickButtons(int changedButtons);
    // The stick's position, 0 ... 65535 on each axis (as Joystick::moved),
    // taken in zones of 2048: up to 10 low, from 22 high, centre between.
    // Left: Left key and end of fast forward; right: fast forward; centre:
    // end of fast forward; then up: Up key; down: Down key. Nothing while
    // the main window is minimised, except that fast forward still ends.
    void JoystickMove(int x, int y);

    bool IsFastForwarding() const { return m_keyFastForward || s_joystickFastForward == this; }
    // Whether the stick holds fast forward in some player window.
    static bool IsJoystickFastForwarding() { return s_joystickFastForward != nullptr; }

private:
    // A key going down and up, as the joystick's buttons and stick send them.
    void PressKey(Key key);
    // Call before a hold is taken: the first one saves the rate and plays
    // at kFastForwardRate.
    void StartFastForward();
    // Call after a hold is let go: the last one puts the saved rate back.
    void FinishFastForward();
    void EndKeyFastForward();
    static void EndJoystickFastForward();
    void TakeFocusUnlessFullScreen();

    MediaEngine& m_engine;
    PlayerInputHost& m_host;
    double m_dSavedRate = 0.0;      // the rate to go back to; 0.0 without fast forward
    bool m_keyFastForward = false;  // the keyboard holds fast forward
    bool m_bFastKeyHeld = false;    // a Right key-down since the last watchdog tick
    bool m_releaseWaiting = false;  // a Right key-up waits to be confirmed

    // The window whose fast forward the stick holds (none: null).
    static PlayerInput* s_joystickFastForward;
};

}  // namespace kivo
