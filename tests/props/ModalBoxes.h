#pragma once

// Message boxes that code under test shows with exec().

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <functional>

namespace kivo::test {

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
