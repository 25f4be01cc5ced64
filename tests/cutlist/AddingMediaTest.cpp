#include "ByteFolder.h"
#include "TestFiles.h"
#include "cutlist/AddingMedia.h"
#include "cutlist/FileNames.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace kivo {
namespace {

TEST(AddingMedia, AFolderAddsItsOwnFilesOnly)
{
    QTemporaryDir folder;
    for (const char* name : {"a.mpg", "notes.txt", "sub/deep.mpg"})
        ASSERT_TRUE(test::WriteFile(folder.filePath(name)));
    QStringList collected = ExpandDroppedPaths({folder.path(), "/no/such/file.avi"});
    ASSERT_EQ(collected.size(), 3);
    EXPECT_EQ(collected.last(), "/no/such/file.avi");  // unreadable: taken as a file
    collected.removeLast();
    collected.sort();
    EXPECT_EQ(collected, QStringList({folder.filePath("a.mpg"), folder.filePath("notes.txt")}));
    // A folder that holds only a folder yields nothing.
    ASSERT_TRUE(QDir().mkpath(folder.filePath("empty/inner")));
    EXPECT_TRUE(ExpandDroppedPaths({folder.filePath("empty")}).isEmpty());
}

TEST(AddingMedia, NamesThatAreNotUtf8AreListedByTheirBytes)
{
    const test::ByteFolder folder;
    std::filesystem::create_directory(folder.Path("d\xff").toStdString());
    const QByteArray files[] = {folder.Write("d\xff/bad\xff\xfe.avi", {}), folder.Write("d\xff/\x83\x72.avi", {})};
    QList<QByteArray> collected;
    for (const QString& path : ExpandDroppedPaths({FileNameFromBytes(folder.Path("d\xff"))}))
        collected.append(FileNameBytes(path));
    std::sort(collected.begin(), collected.end());
    EXPECT_EQ(collected, QList<QByteArray>({files[0], files[1]}));
}

TEST(AddingMedia, TheLastDroppedItemDecidesAboutScenarios)
{
    EXPECT_TRUE(DropOpensScenario({"/a/list.KVO"}));
    EXPECT_TRUE(DropOpensScenario({"/a/clip.mpg", "/a/list.kvo"}));
    EXPECT_FALSE(DropOpensScenario({"/a/list.kvo", "/a/clip.mpg"}));
    EXPECT_FALSE(DropOpensScenario({}));
    // A playlist dropped alone opens as a cut list; among other files it is
    // added like them.
    EXPECT_TRUE(DropOpensDocument({"/a/list.kvo"}));
    EXPECT_TRUE(DropOpensDocument({"/a/list.M3U8"}));
    EXPECT_FALSE(DropOpensDocument({"/a/list.xspf", "/a/clip.mpg"}));
    EXPECT_FALSE(DropOpensDocument({"/a/clip.mpg"}));
}

// The remote control offers the types of the files the open dialog lists.
TEST(AddingMedia, MediaMimeTypesAreThoseOfTheDialogsRows)
{
    QStringList types = MediaMimeTypes();
    for (const char* expected : {"video/mpeg", "audio/mpeg", "video/x-msvideo", "video/quicktime", "audio/x-wav"})
        EXPECT_TRUE(types.contains(QLatin1String(expected))) << expected;
    EXPECT_FALSE(types.contains(QStringLiteral("application/octet-stream")));
    EXPECT_EQ(types.removeDuplicates(), 0);
}

}  // namespace
}  // namespace kivo
