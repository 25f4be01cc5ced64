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
    ASSERT_TRUE(QDir().mkpath(folder.filePath("empty/inner")));
    QStringList collected = ExpandDroppedPaths({folder.path(), "/no/such/file.avi", folder.filePath("empty")});
    ASSERT_EQ(collected.size(), 3);
    EXPECT_EQ(collected.takeLast(), "/no/such/file.avi");  // unreadable: taken as a file
    collected.sort();
    EXPECT_EQ(collected, QStringList({folder.filePath("a.mpg"), folder.filePath("notes.txt")}));

    // Names that are not UTF-8, listed by their bytes.
    const test::ByteFolder bytes;
    std::filesystem::create_directory(bytes.Path("d\xff").toStdString());
    QList<QByteArray> files = {bytes.Write("d\xff/bad\xff\xfe.avi", {}), bytes.Write("d\xff/\x83\x72.avi", {})};
    QList<QByteArray> listed;
    for (const QString& path : ExpandDroppedPaths({FileNameFromBytes(bytes.Path("d\xff"))}))
        listed.append(FileNameBytes(path));
    std::sort(files.begin(), files.end());
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, files);
}

TEST(AddingMedia, TheLastDroppedItemDecidesAboutDocuments)
{
    EXPECT_TRUE(DropOpensScenario({"/a/clip.mpg", "/a/list.KVO"}));
    EXPECT_FALSE(DropOpensScenario({"/a/list.kvo", "/a/clip.mpg"}));
    EXPECT_FALSE(DropOpensScenario({}));
    // A playlist dropped alone opens as a cut list; among other files it is
    // added like them.
    EXPECT_TRUE(DropOpensDocument({"/a/list.M3U8"}));
    EXPECT_FALSE(DropOpensDocument({"/a/list.xspf", "/a/clip.mpg"}));
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
