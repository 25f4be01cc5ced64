#pragma once

#include <QAbstractNativeEventFilter>

#include <array>
#include <functional>
#include <optional>

namespace kivo {

// The keyboard's locks, in the order of the status bar's panes.
enum class Lock { Kana, Caps, Num, Scroll };
using LockStates = std::array<bool, 4>;

// Reads the keyboard's lock states from the X server's keyboard extension,
// through the indicators named "Kana", "Caps Lock", "Num Lock" and "Scroll
// Lock" (a keyboard without one shows that lock as off).
class LockIndicators : private QAbstractNativeEventFilter {
public:
    ~LockIndicators() override;

    // Nothing off X11.
    std::optional<LockStates> Query();
    // Calls `changed` each time the X server says that an indicator changed,
    // whoever changed it (a key, another program); false off X11.
    bool Watch(std::function<void()> changed);

private:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

    std::function<void()> m_changed;
    int m_eventBase = -1;  // the keyboard extension's events
    bool m_found = false;
    // Each lock's indicator, or -1.
    std::array<int, 4> m_indicator{-1, -1, -1, -1};
};

}  // namespace kivo
