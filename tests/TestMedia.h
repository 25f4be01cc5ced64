#pragma once

// The clips of the test_media fixture (tests/media/make-test-media.sh).

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <QThread>

#include <functional>

namespace kivo::test {

inline QString Media(const char* name)
{
    return qEnvironmentVariable("KIVO_TEST_MEDIA") + QLatin1Char('/') + QString::fromUtf8(name);
}

// Runs the event loop until `done` holds or `milliseconds` have passed.
inline bool WaitUntil(const std::function<bool()>& done, int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > milliseconds)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

}  // namespace kivo::test
