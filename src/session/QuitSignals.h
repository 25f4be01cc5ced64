#pragma once

#include <QObject>

class QSocketNotifier;

namespace kivo {

// Turns SIGTERM, SIGINT and SIGHUP (a session ending, Ctrl+C in a terminal)
// into a signal on the thread that made this object, so that the program
// can end as a quiet close instead of dying on the spot. One at a time.
class QuitSignals : public QObject {
    Q_OBJECT

public:
    // Holds the signals back, first thing in the program: one that comes
    // while the program starts, before a QuitSignals is made, then waits
    // for it instead of ending the program without its settings (or, for a
    // signal the program was started ignoring, being lost).
    static void HoldBack();
    // Takes the signals, those held back included.
    explicit QuitSignals(QObject* parent = nullptr);
    ~QuitSignals() override;
    QuitSignals(const QuitSignals&) = delete;
    QuitSignals& operator=(const QuitSignals&) = delete;

signals:
    void quitRequested(int signalNumber);

private:
    QSocketNotifier* m_notifier = nullptr;
};

}  // namespace kivo
