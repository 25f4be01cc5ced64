// On a real X server: the status bar's lock panes follow the keyboard.

#include "TestMedia.h"
#include "core/Settings.h"
#include "ui/Flow.h"

#include <QGuiApplication>
#include <QLabel>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

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
    ASSERT_NE(pane(QStringLiteral("CAP")), nullptr);

    Display* display = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->display();
    const auto lock = [display](unsigned int modifiers, bool on) {
        XkbLockModifiers(display, XkbUseCoreKbd, modifiers, on ? modifiers : 0);
        XFlush(display);
    };
    const unsigned int numLock = XkbKeysymToModifiers(display, XK_Num_Lock);
    lock(LockMask, true);
    lock(numLock, false);
    EXPECT_TRUE(QTest::qWaitFor([&] { return pane(QStringLiteral("CAP"))->isEnabled(); }, 5000));
    EXPECT_FALSE(pane(QStringLiteral("NUM"))->isEnabled());

    lock(LockMask, false);
    lock(numLock, true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !pane(QStringLiteral("CAP"))->isEnabled(); }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return pane(QStringLiteral("NUM"))->isEnabled(); }, 5000));
    lock(numLock, false);
}

}  // namespace
}  // namespace kivo
