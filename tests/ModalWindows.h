#pragma once

// Popups, dialogs and message boxes that code under test shows with exec().

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <type_traits>

namespace kivo::test {

// Runs `use` on the popup or modal window of the kind `Window` that the code
// run next shows; fails when none is there.
template <typename Window = QWidget>
void WhenShown(std::type_identity_t<std::function<void(Window*)>> use)
{
    QTimer::singleShot(50, [use] {
        QWidget* shown = QApplication::activePopupWidget() ? QApplication::activePopupWidget()
                                                           : QApplication::activeModalWidget();
        auto* window = qobject_cast<Window*>(shown);
        ASSERT_NE(window, nullptr);
        use(window);
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
