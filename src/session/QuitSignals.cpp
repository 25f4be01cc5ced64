#include "session/QuitSignals.h"

#include <QSocketNotifier>

#include <csignal>
#include <pthread.h>
#include <sys/socket.h>
#include <unistd.h>

namespace kivo {
namespace {

constexpr int kQuitSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The handler may only write: the signal's number goes through a socket to
// the event loop, which does the rest.
int g_socket[2] = {-1, -1};

void OnQuitSignal(int signalNumber)
{
    const auto number = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(g_socket[0], &number, 1);
}

sigset_t QuitSignalSet()
{
    sigset_t set;
    sigemptyset(&set);
    for (const int signalNumber : kQuitSignals)
        sigaddset(&set, signalNumber);
    return set;
}

}  // namespace

void QuitSignals::HoldBack()
{
    // Threads made meanwhile keep them held back, so that they reach the
    // main thread.
    const sigset_t set = QuitSignalSet();
    ::pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

QuitSignals::QuitSignals(QObject* parent) : QObject(parent)
{
    const sigset_t set = QuitSignalSet();
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_socket) != 0) {
        // The signals then end the program as they would anyway.
        ::pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
        return;
    }
    m_notifier = new QSocketNotifier(g_socket[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        unsigned char number = 0;
        if (::read(g_socket[1], &number, 1) == 1)
            emit quitRequested(number);
    });
    struct sigaction action = {};
    action.sa_handler = OnQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : kQuitSignals)
        ::sigaction(signalNumber, &action, nullptr);
    ::pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

QuitSignals::~QuitSignals()
{
    if (m_notifier == nullptr)
        return;
    for (const int signalNumber : kQuitSignals)
        std::signal(signalNumber, SIG_DFL);
    delete m_notifier;
    ::close(g_socket[0]);
    ::close(g_socket[1]);
    g_socket[0] = g_socket[1] = -1;
}

}  // namespace kivo
