#include "ui/LockIndicators.h"

#include <QGuiApplication>

// After Qt's headers: Xlib defines names such as None and Bool as macros.
#include <X11/XKBlib.h>

namespace kivo {
namespace {

Display* X11Display()
{
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->display() : nullptr;
}

}  // namespace

LockIndicators::~LockIndicators()
{
    if (m_eventBase >= 0)
        qGuiApp->removeNativeEventFilter(this);
}

bool LockIndicators::Watch(std::function<void()> changed)
{
    Display* display = X11Display();
    int opcode = 0;
    int error = 0;
    int major = XkbMajorVersion;
    int minor = XkbMinorVersion;
    if (display == nullptr || m_eventBase >= 0 || !XkbQueryExtension(display, &opcode, &m_eventBase, &error, &major, &minor))
        return false;
    // Only this one kind of the extension's events is chosen here; those
    // that Qt chose for itself stay chosen.
    XkbSelectEvents(display, XkbUseCoreKbd, XkbIndicatorStateNotifyMask, XkbIndicatorStateNotifyMask);
    XFlush(display);
    m_changed = std::move(changed);
    qGuiApp->installNativeEventFilter(this);
    return true;
}

bool LockIndicators::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    // An event of the keyboard extension has its kind in its second byte.
    if (eventType == "xcb_generic_event_t") {
        const auto* bytes = static_cast<const unsigned char*>(message);
        if ((bytes[0] & 0x7f) == m_eventBase && bytes[1] == XkbIndicatorStateNotify)
            m_changed();
    }
    return false;
}

std::optional<LockStates> LockIndicators::Query()
{
    Display* display = X11Display();
    if (display == nullptr)
        return std::nullopt;
    if (!std::exchange(m_found, true)) {
        const char* const names[] = {"Kana", "Caps Lock", "Num Lock", "Scroll Lock"};
        for (size_t lock = 0; lock < m_indicator.size(); ++lock) {
            const Atom name = XInternAtom(display, names[lock], True);
            int indicator = -1;
            if (name != None && XkbGetNamedIndicator(display, name, &indicator, nullptr, nullptr, nullptr))
                m_indicator[lock] = indicator;
        }
    }
    unsigned int lit = 0;
    if (XkbGetIndicatorState(display, XkbUseCoreKbd, &lit) != Success)
        return std::nullopt;
    LockStates states{};
    for (size_t lock = 0; lock < states.size(); ++lock)
        states[lock] = m_indicator[lock] >= 0 && ((lit >> m_indicator[lock]) & 1U) != 0;
    return states;
}

}  // namespace kivo
