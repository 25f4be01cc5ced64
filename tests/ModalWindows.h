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
#include <utility>

namespace kivo::test {

// Watches for a popup or modal window while the code under test runs: keep
// it (WhenShown returns it) until that code has returned. The window is used
// once it runs its own event loop (closed before, as while it is being shown,
// it would never end that loop). When none comes, the watch's end fails the
// test; one that waits in an event loop for 10 s in vain closes whatever else
// is modal or popped up, so that the code returns rather than waits for ever.
// Nothing of the test runs once the watch has ended.
class [[nodiscard]] ShownWindowWatch {
public:
    // `use` takes the window shown, if it is of the kind looked for, and
    // answers whether it was.
    ShownWindowWatch(const char* kind, std::function<bool(QWidget*)> use)
        : m_kind(kind), m_use(std::move(use)), m_outerLoops(QThread::currentThread()->loopLevel())
    {
        m_waited.start();
        m_poll.setInterval(10);
        QObject::connect(&m_poll, &QTimer::timeout, [this] { Look(); });
        m_poll.start();
    }
    ShownWindowWatch(const ShownWindowWatch&) = delete;
    ShownWindowWatch& operator=(const ShownWindowWatch&) = delete;
    ~ShownWindowWatch()
    {
        if (!m_used)
            ADD_FAILURE() << "no " << m_kind << " came";
    }

private:
    void Look()
    {
        QWidget* shown = QApplication::activePopupWidget() ? QApplication::activePopupWidget()
                                                           : QApplication::activeModalWidget();
        if (shown != nullptr && QThread::currentThread()->loopLevel() > m_outerLoops && m_use(shown)) {
            m_used = true;
            m_poll.stop();
        } else if (m_waited.elapsed() >= 10000) {
            m_poll.stop();
            if (auto* dialog = qobject_cast<QDialog*>(shown))
                dialog->reject();
            else if (shown != nullptr)
                shown->close();
        }
    }

    const char* m_kind;
    std::function<bool(QWidget*)> m_use;
    int m_outerLoops;
    QTimer m_poll;
    QElapsedTimer m_waited;
    bool m_used = false;
};

// Runs `use` on the popup or modal window of the kind `Window` that the code
// run while the watch returned is kept shows.
template <typename Window = QWidget>
ShownWindowWatch WhenShown(std::type_identity_t<std::function<void(Window*)>> use)
{
    return ShownWindowWatch(Window::staticMetaObject.className(), [use = std::move(use)](QWidget* shown) {
        auto* window = qobject_cast<Window*>(shown);
        if (window != nullptr)
            use(window);
        return window != nullptr;
    });
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
