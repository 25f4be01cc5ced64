#include "app/Settings.h"
#include "player/PlayerWindow.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kivo {
namespace {

TEST(PlayerWindow, StartsHiddenAtTheDefaultSizeAndKeepsItsOptions)
{
    QTemporaryDir folder;
    Settings settings(folder.filePath("Kivo231.ini"));
    settings.Set(setting::kRepeat, 1);
    {
        PlayerWindow window(settings);
        EXPECT_FALSE(window.isVisible());
        EXPECT_EQ(window.size(), QSize(352, 240));
        EXPECT_TRUE(window.Engine().m_bRepeat);
        EXPECT_FALSE(window.Engine().m_bAutoRewind);
        window.Engine().m_bAutoRewind = true;
        window.Engine().m_bRepeat = false;
        window.Engine().m_bAutoSize = true;
    }
    EXPECT_EQ(settings.Get(setting::kAutoRewind), 1);
    EXPECT_EQ(settings.Get(setting::kRepeat), 0);
    EXPECT_EQ(settings.Get(setting::kZoom), 1);
}

}  // namespace
}  // namespace kivo
