#include "ModalWindows.h"

#include <QDialog>
#include <QFileDialog>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace kivo {
namespace {

TEST(WhenShown, TheWindowIsUsedInItsOwnLoop)
{
    QString usedTitle;
    {
        const auto watch = test::WhenShown<QDialog>([&](QDialog* shown) {
            usedTitle = shown->windowTitle();
            shown->reject();
        });
        QDialog dialog;
        dialog.setWindowTitle(QStringLiteral("shown"));
        EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    }
    EXPECT_EQ(usedTitle, "shown");
}

// Code that shows nothing runs no loop of its own in which the watch could
// time out: the end of the watch fails the test, and nothing of it runs in a
// later one.
TEST(WhenShown, AWindowThatNeverComesFailsTheTestWhenTheWatchEnds)
{
    EXPECT_NONFATAL_FAILURE(
        {
            const auto watch = test::WhenShown<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
            QCoreApplication::processEvents();
        },
        "no QFileDialog came");
}

}  // namespace
}  // namespace kivo
