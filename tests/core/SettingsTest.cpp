#include "core/Settings.h"

#include "TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kivo {
namespace {

TEST(SettingsStore, ValuesSurviveARestartInGroupSystemAndTheRecentFilesAreTheLatestFourOnceAndUnreadableOnesGiveTheDefaults)
{
    const QTemporaryDir folder;
    const QString profile = folder.filePath(QStringLiteral("Kivo231.ini"));
    {
        Settings settings(profile);
        settings.Set(setting::kX, -1);
        settings.Set(setting::kColumnWidths[5], 130);
        settings.Set(setting::kOpenFileDir, QStringLiteral("/home/me/ビデオ, 2026"));
        settings.SetBarState(QByteArray("\x00\x01\xff", 3));
        for (const char* file : {"/a.kvo", "/b.kvo", "/c.kvo", "/d.kvo", "/e.kvo", "/c.kvo"})
            settings.AddRecentFile(file);
    }
    Settings settings(profile);
    EXPECT_EQ(std::tuple(settings.Get(setting::kX), settings.Get(setting::kColumnWidths[5]), settings.Get(setting::kOpenFileDir),
                         settings.GetBarState(), settings.GetRecentFiles()),
              std::tuple(-1, 130, "/home/me/ビデオ, 2026", QByteArray("\x00\x01\xff", 3), QStringList({"/c.kvo", "/e.kvo", "/d.kvo", "/b.kvo"})));
    // (A file leaving the list is the document file test's.)
    settings.SetRecentFiles({"/a.kvo", "/b.kvo", "/c.kvo", "/d.kvo", "/e.kvo"});
    EXPECT_EQ(settings.GetRecentFiles(), QStringList({"/a.kvo", "/b.kvo", "/c.kvo", "/d.kvo"}));
    settings.Sync();
    EXPECT_TRUE(test::ReadFile(profile).contains("[System]\n"));

    const QString written = folder.filePath(QStringLiteral("Written.ini"));
    test::WriteFile(written, "[System]\ncx=wide\ncy=99999999999\nx=12\nmediapath=/media/usb, label\n");
    const Settings unreadable(written);
    EXPECT_EQ(std::tuple(unreadable.Get(setting::kCx), unreadable.Get(setting::kCy), unreadable.Get(setting::kX),
                         unreadable.Get(setting::kMediaPath)),
              std::tuple(400, 250, 12, "/media/usb, label"));
}

}  // namespace
}  // namespace kivo
