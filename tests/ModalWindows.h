#pragma once

// Popups, dialogs and message boxes that code under test shows with exec(),
// for the widget tests, which have Qt Test and Qt Widgets with it.

#include <QtTest>
#include <QtWidgets>

#include <gtest/gtest.h>

#include <functional>

namespace kivo::test {

// Watches for a popup or modal window of the kind `Window` while the code
// under test runs, and runs `use` on it: keep the watch until that code has
// returned. The window is used once it runs its own event loop (closed
// before, as while it is being shown, it would never end that loop). When
// none comes, the watch's end fails the test; one that waits in an event
// loop for 10 s in vain closes whatever else is modal or popped up, so that
// the code returns rather than waits for ever. Nothing of the test runs once
// the watch has ended.
template <typename Window = QWidget>
class [[nodiscard]] WhenShown {
public:
    explicit WhenShown(std::function<void(Window*)> use) : m_use(std::move(use))
    {
        QObject::connect(&m_poll, &QTimer::timeout, [this] { Look(); });
        m_poll.start(10);
    }
    ~WhenShown()
    {
        if (!m_used)
            ADD_FAILURE() << "no " << Window::staticMetaObject.className() << " came";
    }

private:
    void Look()
    {
        QWidget* shown = QApplication::activePopupWidget() ? QApplication::activePopupWidget()
                                                           : QApplication::activeModalWidget();
        if (auto* window = qobject_cast<Window*>(shown);
            window != nullptr && QThread::currentThread()->loopLevel() > m_outerLoops) {
            m_used = true;
            m_poll.stop();
            m_use(window);
        } else if (m_waited.hasExpired()) {
            m_poll.stop();
            if (auto* dialog = qobject_cast<QDialog*>(shown))
                dialog->reject();
            else if (shown != nullptr)
                shown->close();
        }
    }

    std::function<void(Window*)> m_use;
    int m_outerLoops = QThread::currentThread()->loopLevel();
    QTimer m_poll;
    QDeadlineTimer m_waited{10000};
    bool m_used = false;
};

struct ShownBox {
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Runs `action` and closes the message box it shows, telling what it said.
inline ShownBox CloseMessageBox(const std::function<void()>& action)
{
    ShownBox shown;
    {
        const WhenShown<QMessageBox> watch([&](QMessageBox* box) {
            shown = {box->text(), box->icon()};
            box->done(QMessageBox::Ok);
        });
        action();
    }
    return shown;
}

}  // namespace kivo::test
