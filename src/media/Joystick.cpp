#include "media/Joystick.h"

#include <QFile>
#include <QPointer>
#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <linux/joystick.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace kivo {

namespace {

constexpr int kAxisLimit = 32767;

}  // namespace

Joystick::Joystick(QObject* parent)
    : QObject(parent)
{
    m_poll.setInterval(kPollMilliseconds);
    connect(&m_poll, &QTimer::timeout, this, [this] { emit moved(m_x, m_y); });
}

Joystick::~Joystick()
{
    Close();
}

bool Joystick::Open(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    quint32 version = 0;
    if (::ioctl(fd, JSIOCGVERSION, &version) < 0) {
        ::close(fd);
        return false;
    }
    return Adopt(fd);
}

bool Joystick::Adopt(int fd)
{
    if (fd < 0)
        return false;
    Close();
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
    m_fd = fd;
    m_notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, [this] { ReadEvents(); });
    m_poll.start();
    return true;
}

void Joystick::Close()
{
    m_poll.stop();
    m_notifier.reset();
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_pending.clear();
    m_buttons = 0;
    m_x = m_y = kCentre;
}

int Joystick::ScaleAxis(int value)
{
    const qint64 clamped = std::clamp(value, -kAxisLimit, kAxisLimit);
    return static_cast<int>((clamped + kAxisLimit) * 65535 / (2 * kAxisLimit));
}

void Joystick::ReadEvents()
{
    bool ended = false;
    char buffer[64 * sizeof(js_event)];
    for (;;) {
        const ssize_t count = ::read(m_fd, buffer, sizeof buffer);
        if (count > 0) {
            m_pending.append(buffer, count);
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        // End of file, ENODEV of an unplugged device, or another error: the
        // device is gone. EAGAIN: everything there is has been read.
        ended = count == 0 || (errno != EAGAIN && errno != EWOULDBLOCK);
        break;
    }

    const QPointer<Joystick> self(this);
    const qsizetype size = sizeof(js_event);
    qsizetype used = 0;
    for (; m_pending.size() - used >= size; used += size) {
        const int pressed = Apply(m_pending.mid(used, size));
        if (pressed != 0) {
            emit buttonsChanged(pressed);
            // Whoever heard it may have closed or deleted the joystick.
            if (self.isNull() || m_fd < 0)
                return;
        }
    }
    m_pending.remove(0, used);

    if (ended) {
        Close();
        emit moved(kCentre, kCentre);
    }
}

int Joystick::Apply(const QByteArray& record)
{
    js_event event;
    std::memcpy(&event, record.constData(), sizeof event);
    // The records the driver sends on opening (JS_EVENT_INIT) give the state
    // the device is in: a button already held down is not a press.
    const bool initial = (event.type & JS_EVENT_INIT) != 0;
    switch (event.type & ~JS_EVENT_INIT) {
    case JS_EVENT_BUTTON: {
        if (event.number > 1)
            return 0;
        const int bit = event.number == 0 ? kJoystickButton1 : kJoystickButton2;
        const bool wasDown = (m_buttons & bit) != 0;
        if (event.value != 0)
            m_buttons |= bit;
        else
            m_buttons &= ~bit;
        return event.value != 0 && !wasDown && !initial ? bit : 0;
    }
    case JS_EVENT_AXIS:
        if (event.number == 0)
            m_x = ScaleAxis(event.value);
        else if (event.number == 1)
            m_y = ScaleAxis(event.value);
        return 0;
    default:
        return 0;
    }
}

}  // namespace kivo
