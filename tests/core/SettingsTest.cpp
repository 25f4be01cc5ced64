#include "core/Settings.h"

#include "TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kivo {
namespace {

class SettingsStore : public ::testing::Test {
protected:
    QTemporaryDir m_folder;
    const QString m_profile = m_folder.filePath(QStringLiteral("Kivo231.ini"));
};

TEST_F(SettingsStore, ValuesSurviveARestartInGroupSystemAndTheRecentFilesAreTheLatestFourOnce)
{
    {
        Settings settings(m_profile);
        settings.Set(setting::kX, -1);
        settings.Set(setting::kColumnWidths[5], 130);
        settings.Set(setting::kOpenFileDir, QStringLiteral("/home/me/ビデオ, 2026"));
        settings.SetBarState(QByteArray("\x00\x01\xff", 3));
        for (const char* file : {"/a.kvo", "/b.kvo", "/c.kvo", "/d.kvo", "/e.kvo", "/c.kvo"})
            settings.AddRecentFile(file);
    }
    Settings settings(m_profile);
    EXPECT_EQ(std::tuple(settings.Get(setting::kX), settings.Get(setting::kColumnWidths[5]), settings.Get(setting::kOpenFileDir),
                         settings.GetBarState(), settings.GetRecentFiles()),
              std::tuple(-1, 130, "/home/me/ビデオ, 2026", QByteArray("\x00\x01\xff", 3), QStringList({"/c.kvo", "/e.kvo", "/d.kvo", "/b.kvo"})));
    // (A file leaving the list is the document file test's.)
    settings.SetRecentFiles({"/a.kvo", "/b.kvo", "/c.kvo", "/d.kvo", "/e.kvo"});
    EXPECT_EQ(settings.GetRecentFiles(), QStringList({"/a.kvo", "/b.kvo", "/c.kvo", "/d.kvo"}));
    settings.Sync();
    EXPECT_TRUE(test::ReadFile(m_profile).contains("[System]\n"));
}

TEST_F(SettingsStore, UnreadableValuesGiveTheDefaults)
{
    test::WriteFile(m_profile, "[System]\ncx=wide\ncy=99999999999\nx=12\nmediapath=/media/usb, label\n");
    const Settings settings(m_profile);
    EXPECT_EQ(std::tuple(settings.Get(setting::kCx), settings.Get(setting::kCy), settings.Get(setting::kX), settings.Get(setting::kMediaPath)),
              std::tuple(400, 250, 12, "/media/usb, label"));
}

}  // namespace
}  // namespace kivo
