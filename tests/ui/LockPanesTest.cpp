// On a real X server: the status bar's lock panes follow the keyboard.

#include "core/Settings.h"
#include "ui/Flow.h"

#include <QtTest>
#include <QtWidgets>

#include <gtest/gtest.h>

#include <X11/XKBlib.h>
#include <X11/keysym.h>

namespace kivo {
namespace {

TEST(LockPanes, FollowTheKeyboardsLocks)
{
    QTemporaryDir folder;
    Settings settings{folder.filePath("Kivo231.ini")};
    Flow flow{settings};
    MainWindow& window = flow.Window();
    window.show();
    const auto pane = [&](const QString& text) {
        for (QLabel* label : window.statusBar()->findChildren<QLabel*>())
            if (label->text() == text)
                return label;
        return static_cast<QLabel*>(nullptr);
    };
    Display* display = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->display();
    const unsigned int numLock = XkbKeysymToModifiers(display, XK_Num_Lock);
    // Caps Lock on and Num Lock off, then the other way round, then both off.
    for (const bool caps : {true, false}) {
        XkbLockModifiers(display, XkbUseCoreKbd, LockMask | numLock, caps ? LockMask : numLock);
        XFlush(display);
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return pane(QStringLiteral("CAP"))->isEnabled() == caps && pane(QStringLiteral("NUM"))->isEnabled() != caps; },
            5000));
    }
    XkbLockModifiers(display, XkbUseCoreKbd, numLock, 0);
}

}  // namespace
}  // namespace kivo
