#pragma once

// Popups, dialogs and message boxes that code under test shows with exec().

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <type_traits>

namespace kivo::test {

// Runs `use` on the popup or modal window of the kind `Window` that the code
// run next shows, once it runs its own event loop (closed before, as while
// it is being shown, it would never end that loop); fails when none comes
// within 10 s.
template <typename Window = QWidget>
void WhenShown(std::type_identity_t<std::function<void(Window*)>> use)
{
    auto* poll = new QTimer;
    poll->setInterval(10);
    auto* waited = new QElapsedTimer;
    waited->start();
    const int outerLoops = QThread::currentThread()->loopLevel();
    QObject::connect(poll, &QTimer::timeout, [poll, waited, use, outerLoops] {
        QWidget* shown = QApplication::activePopupWidget() ? QApplication::activePopupWidget()
                                                           : QApplication::activeModalWidget();
        auto* window = qobject_cast<Window*>(shown);
        const bool inItsLoop = window != nullptr && QThread::currentThread()->loopLevel() > outerLoops;
        if (!inItsLoop && waited->elapsed() < 10000)
            return;
        poll->stop();
        poll->deleteLater();
        delete waited;
        if (!inItsLoop) {
            // Whatever else is modal goes, so that the test fails rather
            // than waits for ever.
            if (auto* other = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                other->reject();
            FAIL() << "no " << Window::staticMetaObject.className() << " came";
        }
        use(window);
    });
    poll->start();
}

struct ShownBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Runs `action` and closes the first message box it shows, telling what it said.
inline ShownBox CloseMessageBox(const std::function<void()>& action)
{
    ShownBox shown;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = {box->windowTitle(), box->text(), box->icon()};
            box->done(QMessageBox::Ok);
            poll.stop();
        }
    });
    poll.start();
    action();
    return shown;
}

}  // namespace kivo::test
