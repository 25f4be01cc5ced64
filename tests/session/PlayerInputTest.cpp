#include "TestMedia.h"
#include "media/MediaEngine.h"
#include "session/PlayerInput.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace kivo {
namespace {

using test::Media;
using Key = PlayerInput::Key;

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
        if (!m_engine.HasGraph())
            return;
        if (command == Command::PlayPause && m_engine.State() == PlayState::Playing)
            m_engine.PausePlayback();
        else if (command == Command::PlayPause)
            m_engine.StartPlayback();
        else if (command == Command::Stop)
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

    std::vector<Command> TakeCommands() { return std::exchange(commands, {}); }

    std::vector<Command> commands;
    bool fullScreen = false, minimised = false, watchdog = false, releaseWait = false;
    int focus = 0;

private:
    MediaEngine& m_engine;
};

using Commands = std::vector<Command>;

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
    EXPECT_TRUE(input.KeyDown(Key::Control, false));
    EXPECT_TRUE(input.KeyDown(Key::Control, true));  // held down: one toggle
    EXPECT_FALSE(input.KeyUp(Key::Control, false));
    EXPECT_TRUE(input.KeyDown(Key::Up, false));
    EXPECT_TRUE(input.KeyDown(Key::Down, false));
    EXPECT_EQ(window.TakeCommands(), (Commands{Command::PlayPause, Command::Previous, Command::Next}));
    EXPECT_EQ(window.focus, 1);

    input.ToggleFullScreen();
    EXPECT_TRUE(window.fullScreen && engine.Options().fullScreen);
    input.KeyDown(Key::Control, false);  // no focus taken in full-screen mode
    EXPECT_EQ(window.focus, 1);
    input.KeyDown(Key::Space, false);  // nothing plays: nothing to stop
    EXPECT_FALSE(window.fullScreen || engine.Options().fullScreen);
    EXPECT_TRUE(window.minimised);
    EXPECT_EQ(window.TakeCommands(), Commands{Command::PlayPause});

    // Minimised: button 1 does nothing, button 2 brings the main window back.
    input.JoystickButtons(kJoystickButton1);
    input.JoystickButtons(kJoystickButton2);
    EXPECT_FALSE(window.minimised);
    EXPECT_TRUE(window.TakeCommands().empty());
    input.JoystickButtons(kJoystickButton2);
    EXPECT_TRUE(window.fullScreen && engine.Options().fullScreen);
    input.JoystickButtons(kJoystickButton1 | kJoystickButton2);  // button 1 wins
    EXPECT_TRUE(window.fullScreen);
    EXPECT_EQ(window.TakeCommands(), Commands{Command::PlayPause});
}

// On a file played at half speed: a table of steps, each with the rate in
// force and the commands run after it.
class PlayerInputOnAFile : public PlayerInputWithoutAFile {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(OpenAndWait(engine, Media("video.mpg")));
        engine.SetRate(0.5);
    }
    struct Step {
        const char* what;
        std::function<void()> act;
        double rate;
        Commands commands = {};
    };
    void Run(const std::vector<Step>& steps)
    {
        for (const Step& step : steps) {
            SCOPED_TRACE(step.what);
            step.act();
            EXPECT_EQ(engine.GetRate(), step.rate);
            EXPECT_EQ(engine.RequestedRate(), step.rate);
            EXPECT_EQ(window.TakeCommands(), step.commands);
        }
    }
};

TEST_F(PlayerInputOnAFile, RightKeyFastForwardsWhileHeldAndTheWatchdogEndsAMissedKeyUp)
{
    const auto right = [this](bool down, bool repeated) {
        down ? input.KeyDown(Key::Right, repeated) : input.KeyUp(Key::Right, repeated);
    };
    Run({
        {"held from stopped: plays", [&] { right(true, false); }, 2.0, {Command::PlayPause}},
        {"auto-repeat and a watchdog tick", [&] { right(false, true); right(true, true); input.OnWatchdog(); }, 2.0},
        // X does not always mark auto-repeat: a key-up with a key-down right
        // behind it leaves the rate alone, so nothing is sought again.
        {"unmarked auto-repeat", [&] {
             for (int i = 0; i < 3; ++i) {
                 right(false, false);
                 EXPECT_EQ(engine.RequestedRate(), 2.0);
                 right(true, false);
             }
         }, 2.0},
        {"a key-up waits for a key-down", [&] { right(false, false); EXPECT_TRUE(window.releaseWait); }, 2.0},
        {"that does not come", [&] { WaitOutRelease(); EXPECT_EQ(engine.State(), PlayState::Playing); }, 0.5},
        {"a late tick or wait", [&] { input.OnWatchdog(); input.OnReleaseWaitOver(); }, 0.5},
        {"held again, a tick of that period", [&] { right(true, false); input.OnWatchdog(); }, 2.0},
        {"a tick of a whole period without one", [&] { input.OnWatchdog(); EXPECT_FALSE(window.watchdog); }, 0.5},
        {"the key-up that went elsewhere, late", [&] { right(false, false); EXPECT_FALSE(window.releaseWait); }, 0.5},
        // Still held when the window sees it again: once more, onto the next
        // file too, and back to the rate of before on that file.
        {"still held", [&] { right(true, true); }, 2.0},
        {"the next file", [&] { ASSERT_TRUE(OpenAndWait(engine, Media("video.avi"))); }, 2.0},
        {"let go", [&] { right(false, false); WaitOutRelease(); }, 0.5},
    });
}

TEST_F(PlayerInputOnAFile, LeftRestartsSpaceStopsAndStickZonesShareOneFastForwardWithTheKey)
{
    const auto stick = [this](int x, int y) { input.JoystickMove(x, y); };
    const auto right = [this](bool down) { down ? input.KeyDown(Key::Right, false) : input.KeyUp(Key::Right, false); };
    const auto atTheStart = [this] { EXPECT_LT(engine.GetPosition(), 0.5); };
    Run({
        {"Left plays from the start", [&] { engine.SetPosition(2.0); input.KeyDown(Key::Left, false); atTheStart(); },
         0.5, {Command::PlayPause}},
        {"Space leaves full screen and stops", [&] {
             window.fullScreen = true;
             input.KeyDown(Key::Space, false);
             EXPECT_EQ(std::pair(window.fullScreen, engine.State()), std::pair(false, PlayState::Stopped));
         }, 0.5, {Command::Stop}},
        {"the stick held right: played once", [&] { window.minimised = false; stick(kHigh, kCentreHigh); stick(kHigh, kCentreLow); },
         2.0, {Command::PlayPause}},
        {"back in the centre", [&] { stick(kCentreHigh, kCentreLow); }, 0.5},
        {"right, then left and up", [&] { stick(kHigh, kCentreLow); engine.SetPosition(2.0); stick(kLow, kLow); atTheStart(); },
         0.5, {Command::Previous}},
        {"down", [&] { stick(kCentreLow, kHigh); }, 0.5, {Command::Next}},
        {"key and stick: the key let go", [&] { right(true); stick(kHigh, kCentreLow); right(false); WaitOutRelease(); }, 2.0},
        {"key held, the stick let go", [&] { right(true); stick(kCentreLow, kCentreLow); }, 2.0},
        {"the key's watchdog", [&] { input.OnWatchdog(); input.OnWatchdog(); }, 0.5},
        // Minimised, the stick does nothing but still ends its fast forward.
        {"minimised", [&] { stick(kHigh, kCentreLow); window.minimised = true; stick(kHigh, kLow); stick(kLow, kHigh); }, 0.5},
    });
    EXPECT_FALSE(PlayerInput::IsJoystickFastForwarding());
}

TEST_F(PlayerInputWithoutAFile, TheStickHoldsOneWindowAtATime)
{
    MediaEngine otherEngine;
    FakeWindow otherWindow(otherEngine);
    {
        PlayerInput other(otherEngine, otherWindow);
        input.JoystickMove(kHigh, kCentreLow);
        other.JoystickMove(kHigh, kCentreLow);
        EXPECT_EQ(std::pair(engine.RequestedRate(), otherEngine.RequestedRate()), std::pair(2.0, 1.0));
        other.JoystickMove(kCentreLow, kCentreLow);  // ends this window's fast forward
        EXPECT_EQ(engine.RequestedRate(), 1.0);
        other.JoystickMove(kHigh, kCentreLow);
        EXPECT_EQ(otherEngine.RequestedRate(), 2.0);
    }
    EXPECT_FALSE(PlayerInput::IsJoystickFastForwarding());
}

}  // namespace
}  // namespace kivo
