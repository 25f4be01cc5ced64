#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

class QSocketNotifier;

namespace kivo {

// Bits of Joystick::buttonsChanged and PlayerInput::JoystickButtons.
constexpr int kJoystickButton1 = 0x1;
constexpr int kJoystickButton2 = 0x2;

// The first joystick, read from a Linux joystick device (struct js_event
// records) without ever blocking. Buttons 1 and 2 and the x and y axes are
// kept; a button going down is reported at once, and the stick's position
// is reported at every poll, whether it moved or not, so that a stick held
// in one place keeps acting. The axes run from 0 (left, up) to 65535 (right,
// down); an untouched stick is at kCentre.
//
// A device that goes away (unplugged) is closed quietly: the polls stop and
// the centre position is reported once, so nothing the stick started goes
// on without it.
class Joystick : public QObject {
    Q_OBJECT

public:
    static constexpr int kPollMilliseconds = 50;
    static constexpr int kCentre = 32767;

    explicit Joystick(QObject* parent = nullptr);
    ~Joystick() override;

    // Opens a joystick device; false, and nothing happens, when there is
    // none at `path` or it is not a joystick.
    bool Open(const QString& path = QStringLiteral("/dev/input/js0"));
    // Reads joystick events from an open descriptor (a device, or a pipe or
    // socket that carries the same records), which the joystick then owns
    // and makes non-blocking. False for a negative descriptor.
    bool Adopt(int fd);
    // Closes the device without reporting anything.
    void Close();
    bool IsOpen() const { return m_fd >= 0; }

    // -32767 ... 32767 of the device onto 0 ... 65535.
    static int ScaleAxis(int value);

signals:
    // A button went down: kJoystickButton1 or kJoystickButton2.
    void buttonsChanged(int changedButtons);
    // The stick's position, at every poll.
    void moved(int x, int y);

private:
    void ReadEvents();
    // Takes one record in; the bit of a button that went down, or 0.
    int Apply(const QByteArray& record);

    int m_fd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QTimer m_poll;
    QByteArray m_pending;  // the start of a record not yet read whole
    int m_buttons = 0;
    int m_x = kCentre;
    int m_y = kCentre;
};

}  // namespace kivo
