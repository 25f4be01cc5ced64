#include "ui/LockIndicators.h"

#include <QGuiApplication>

// After Qt's headers: Xlib defines names such as None and Bool as macros.
#include <X11/XKBlib.h>

namespace kivo {

std::optional<LockStates> LockIndicators::Query()
{
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    Display* display = x11 != nullptr ? x11->display() : nullptr;
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
