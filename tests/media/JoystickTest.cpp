#include "TestMedia.h"
#include "media/Joystick.h"

#include <QTest>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/joystick.h>
#include <unistd.h>

#include <utility>
#include <vector>

namespace kivo {
namespace {

// A joystick fed with recorded events through a pipe.
class RecordedJoystick : public ::testing::Test {
protected:
    void SetUp() override
    {
        int fds[2];
        ASSERT_EQ(::pipe2(fds, O_CLOEXEC), 0);
        m_writer = fds[1];
        ASSERT_TRUE(joystick.Adopt(fds[0]));
        QObject::connect(&joystick, &Joystick::buttonsChanged, [this](int buttons) { presses.push_back(buttons); });
        QObject::connect(&joystick, &Joystick::moved, [this](int x, int y) { moves.emplace_back(x, y); });
    }
    void TearDown() override
    {
        if (m_writer >= 0)
            ::close(m_writer);
    }

    void Send(quint8 type, quint8 number, qint16 value, size_t from = 0, size_t to = sizeof(js_event))
    {
        const js_event event{0, value, type, number};
        const auto* bytes = reinterpret_cast<const char*>(&event);
        ASSERT_EQ(::write(m_writer, bytes + from, to - from), static_cast<ssize_t>(to - from));
    }
    void Unplug() { ::close(std::exchange(m_writer, -1)); }
    bool LastMoveIs(int x, int y) const { return !moves.empty() && moves.back() == std::pair{x, y}; }

    Joystick joystick;
    std::vector<int> presses;
    std::vector<std::pair<int, int>> moves;

private:
    int m_writer = -1;
};

TEST_F(RecordedJoystick, ButtonPressesAtOnceThePositionAtEveryPollAndTheCentreOnUnplugAndNoOtherDeviceOpens)
{
    // The state the driver reports on opening: button 1 already held.
    Send(JS_EVENT_BUTTON | JS_EVENT_INIT, 0, 1);
    Send(JS_EVENT_AXIS | JS_EVENT_INIT, 0, 0);
    Send(JS_EVENT_AXIS | JS_EVENT_INIT, 1, 0);
    // Button 3 is not used.
    for (const auto& [button, value] : std::initializer_list<std::pair<quint8, qint16>>{{0, 0}, {0, 1}, {1, 1}, {1, 0}, {2, 1}})
        Send(JS_EVENT_BUTTON, button, value);
    Send(JS_EVENT_AXIS, 2, 32767);  // a third axis: not used
    Send(JS_EVENT_AXIS, 0, 32767);
    ASSERT_TRUE(QTest::qWaitFor([&] { return LastMoveIs(65535, Joystick::kCentre); }, 2000));
    EXPECT_EQ(presses, (std::vector<int>{kJoystickButton1, kJoystickButton2}));

    // A record that arrives in two pieces.
    Send(JS_EVENT_AXIS, 1, -32768, 0, 3);
    QCoreApplication::processEvents();
    Send(JS_EVENT_AXIS, 1, -32768, 3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return LastMoveIs(65535, 0); }, 2000));

    // A stick held still is reported again and again.
    const size_t count = moves.size();
    ASSERT_TRUE(QTest::qWaitFor([&] { return moves.size() >= count + 3; }, 2000));
    EXPECT_TRUE(LastMoveIs(65535, 0) && presses.size() == 2u);

    // Unplugged: the centre is reported once, and polling stops.
    Unplug();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !joystick.IsOpen(); }, 2000));
    EXPECT_TRUE(LastMoveIs(Joystick::kCentre, Joystick::kCentre));
    const size_t afterUnplug = moves.size();
    // No condition marks a report that never comes: the time of a few
    // polls is what would have brought one.
    QTest::qWait(4 * Joystick::kPollMilliseconds);
    EXPECT_EQ(moves.size(), afterUnplug);
    // Nor is anything but a joystick opened.
    EXPECT_FALSE(joystick.Open(QStringLiteral("/dev/input/no-such-js")) || joystick.Open(QStringLiteral("/dev/null")) ||
                 joystick.Adopt(-1) || joystick.IsOpen());
}

}  // namespace
}  // namespace kivo
