#include "TestMedia.h"
#include "media/MediaEngine.h"
#include "session/PlayerInput.h"

#include <gtest/gtest.h>

#include <vector>

namespace kivo {
namespace {

using test::Media;
using Key = PlayerInput::Key;
using Commands = std::vector<Command>;

// Stick positions on the edges of the zones.
constexpr int kLow = 10 * 2048 + 2047;
constexpr int kCentreLow = 11 * 2048;
constexpr int kCentreHigh = 21 * 2048 + 2047;
constexpr int kHigh = 22 * 2048;

// The player window around the input, with the transport commands of the
// command table (disabled without a file).
class FakeWindow : public PlayerInputHost {
public:
    explicit FakeWindow(MediaEngine& engine) : m_engine(engine) {}

    void RunCommand(Command command) override
    {
        commands.push_back(command);
        if (m_engine.HasGraph() && command == Command::PlayPause)
            m_engine.State() == PlayState::Playing ? m_engine.PausePlayback() : m_engine.StartPlayback();
        else if (m_engine.HasGraph() && command == Command::Stop)
            m_engine.StopPlayback();
    }
    bool IsFullScreen() const override { return fullScreen; }
    void SetFullScreen(bool on) override { fullScreen = on; }
    bool IsMainWindowMinimised() const override { return minimised; }
    void MinimiseMainWindow() override { minimised = true; }
    void RestoreMainWindow() override { minimised = false; }
    void TakeFocus() override { ++focus; }
    void StartWatchdog() override { watchdog = true; }
    void StopWatchdog() override { watchdog = false; }
    void StartReleaseWait() override { releaseWait = true; }
    void StopReleaseWait() override { releaseWait = false; }

    Commands TakeCommands() { return std::exchange(commands, {}); }

    Commands commands;
    bool fullScreen = false, minimised = false, watchdog = false, releaseWait = false;
    int focus = 0;

private:
    MediaEngine& m_engine;
};

class PlayerInputWithoutAFile : public ::testing::Test {
protected:
    // The key-up's wait runs out with no key-down after it.
    void WaitOutRelease()
    {
        window.releaseWait = false;
        input.OnReleaseWaitOver();
    }

    MediaEngine engine;
    FakeWindow window{engine};
    PlayerInput input{engine, window};
};

TEST_F(PlayerInputWithoutAFile, KeysButtonsAndDoubleClick)
{
    // Held down: one toggle.
    EXPECT_EQ((std::tuple{input.KeyDown(Key::Control, false), input.KeyDown(Key::Control, true), input.KeyUp(Key::Control, false)}),
              std::tuple(true, true, false));
    for (const Key key : {Key::Left /* not playing: plays */, Key::Up, Key::Down})
        input.KeyDown(key, false);
    EXPECT_EQ(std::tuple(window.TakeCommands(), window.focus),
              std::tuple((Commands{Command::PlayPause, Command::PlayPause, Command::Previous, Command::Next}), 1));

    input.ToggleFullScreen();
    EXPECT_TRUE(window.fullScreen && engine.Options().fullScreen);
    input.KeyDown(Key::Control, false);  // no focus taken in full-screen mode
    input.KeyDown(Key::Space, false);    // nothing plays: nothing to stop
    EXPECT_TRUE(window.focus == 1 && !window.fullScreen && !engine.Options().fullScreen && window.minimised);
    EXPECT_EQ(window.TakeCommands(), Commands{Command::PlayPause});

    // Minimised: button 1 does nothing, button 2 brings the main window back.
    input.JoystickButtons(kJoystickButton1);
    input.JoystickButtons(kJoystickButton2);
    EXPECT_TRUE(!window.minimised && window.TakeCommands().empty());
    input.JoystickButtons(kJoystickButton2);
    EXPECT_TRUE(window.fullScreen && engine.Options().fullScreen);
    input.JoystickButtons(kJoystickButton1 | kJoystickButton2);  // button 1 wins
    EXPECT_TRUE(window.fullScreen);
    EXPECT_EQ(window.TakeCommands(), Commands{Command::PlayPause});
    input.JoystickButtons(kJoystickButton2);  // in full-screen mode: Space
    EXPECT_TRUE(!window.fullScreen && window.minimised);
}

class PlayerInputOnAFile : public PlayerInputWithoutAFile {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(OpenAndWait(engine, Media("video.mpg")));
        engine.SetRate(0.5);
    }
};

TEST_F(PlayerInputOnAFile, RightKeyFastForwardsWhileHeldThroughAutoRepeatMarkedOrNotUntilItsKeyUpOrTheWatchdog)
{
    input.KeyDown(Key::Right, false);
    EXPECT_TRUE(engine.GetRate() == 2.0 && window.watchdog);
    input.KeyUp(Key::Right, true);
    input.KeyDown(Key::Right, true);
    input.OnWatchdog();
    // Auto-repeat that X did not mark as such: a key-up with a key-down
    // right behind it leaves the rate alone, so nothing is sought again.
    for (int repeat = 0; repeat < 3; ++repeat) {
        EXPECT_TRUE(input.KeyUp(Key::Right, false));
        EXPECT_TRUE(window.releaseWait);
        input.KeyDown(Key::Right, false);
        EXPECT_FALSE(window.releaseWait);
        EXPECT_EQ(engine.RequestedRate(), 2.0);
    }
    EXPECT_EQ(window.TakeCommands(), Commands{Command::PlayPause});

    // A key-up that no key-down follows lets go.
    EXPECT_TRUE(input.KeyUp(Key::Right, false));
    WaitOutRelease();
    EXPECT_TRUE(engine.RequestedRate() == 0.5 && !window.watchdog && engine.State() == PlayState::Playing);
    // A late tick, a late wait or a second key-up change nothing.
    input.OnWatchdog();
    input.OnReleaseWaitOver();
    input.KeyUp(Key::Right, false);
    EXPECT_TRUE(!window.releaseWait && engine.RequestedRate() == 0.5);

    // The watchdog ends a fast forward whose key-up was missed.
    input.KeyDown(Key::Right, false);
    input.OnWatchdog();  // the key-down of this period
    EXPECT_EQ(engine.GetRate(), 2.0);
    input.OnWatchdog();  // a whole period without one
    EXPECT_TRUE(engine.GetRate() == 0.5 && !window.watchdog);
    input.KeyUp(Key::Right, false);  // the key-up that went elsewhere, late
    EXPECT_FALSE(window.releaseWait);

    // Still held when the window sees it again: fast forward once more, onto
    // the next file too, and back to the rate of before on that file.
    input.KeyDown(Key::Right, true);
    ASSERT_TRUE(OpenAndWait(engine, Media("video.avi")));
    EXPECT_EQ(engine.GetRate(), 2.0);
    input.KeyUp(Key::Right, false);
    WaitOutRelease();
    EXPECT_EQ(engine.GetRate(), 0.5);
    // Space stops what plays (and leaves full screen for the minimised
    // program, as without a file).
    input.KeyDown(Key::Space, false);
    EXPECT_EQ(engine.State(), PlayState::Stopped);
}

TEST_F(PlayerInputOnAFile, StickZonesShareTheKeysFastForwardAndTheStickHoldsOneWindowAtATime)
{
    input.JoystickMove(kHigh, kCentreHigh);
    input.JoystickMove(kHigh, kCentreLow);  // held right: started once
    EXPECT_TRUE(engine.GetRate() == 2.0 && PlayerInput::IsJoystickFastForwarding());
    EXPECT_EQ(window.TakeCommands(), Commands{Command::PlayPause});
    engine.SetPosition(2.0);
    input.JoystickMove(kLow, kLow);  // left and up: back to the start, as the Left key
    EXPECT_TRUE(engine.GetRate() == 0.5 && !PlayerInput::IsJoystickFastForwarding() && engine.GetPosition() < 0.5);
    input.JoystickMove(kCentreLow, kHigh);
    EXPECT_EQ(window.TakeCommands(), (Commands{Command::Previous, Command::Next}));

    // Minimised: the stick does nothing but still ends its fast forward.
    input.JoystickMove(kHigh, kCentreLow);
    window.minimised = true;
    input.JoystickMove(kHigh, kLow);
    input.JoystickMove(kLow, kHigh);
    EXPECT_TRUE(engine.GetRate() == 0.5 && window.TakeCommands().empty());

    // The key and the stick share one fast forward.
    window.minimised = false;
    input.KeyDown(Key::Right, false);
    input.JoystickMove(kHigh, kCentreLow);
    input.KeyUp(Key::Right, false);
    WaitOutRelease();
    EXPECT_EQ(engine.GetRate(), 2.0);  // the stick still holds it
    input.JoystickMove(kCentreLow, kCentreLow);
    EXPECT_EQ(engine.RequestedRate(), 0.5);
    input.JoystickMove(kHigh, kCentreLow);
    input.KeyDown(Key::Right, false);
    input.JoystickMove(kCentreLow, kCentreLow);
    EXPECT_EQ(engine.GetRate(), 2.0);  // the key still holds it
    input.OnWatchdog();
    input.OnWatchdog();
    EXPECT_EQ(engine.RequestedRate(), 0.5);

    MediaEngine otherEngine;
    FakeWindow otherWindow(otherEngine);
    {
        PlayerInput other(otherEngine, otherWindow);
        input.JoystickMove(kHigh, kCentreLow);
        other.JoystickMove(kHigh, kCentreLow);
        EXPECT_EQ(otherEngine.RequestedRate(), 1.0);
        other.JoystickMove(kCentreLow, kCentreLow);  // ends this window's fast forward
        EXPECT_EQ(engine.GetRate(), 0.5);
        other.JoystickMove(kHigh, kCentreLow);
        EXPECT_EQ(otherEngine.RequestedRate(), 2.0);
    }
    EXPECT_FALSE(PlayerInput::IsJoystickFastForwarding());
}

}  // namespace
}  // namespace kivo
