#include "ModalWindows.h"

#include <QFileDialog>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace kivo {
namespace {

// The other tests show that a watched window is used. Code that shows
// nothing runs no loop of its own in which the watch could time out: the
// end of the watch fails the test, and nothing of it runs in a later one.
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
