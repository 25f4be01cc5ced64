#include "ByteFolder.h"
#include "cutlist/AddingMedia.h"
#include "cutlist/FileNames.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace kivo {
namespace {

void Touch(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

TEST(AddingMedia, AFolderAddsItsOwnFilesOnly)
{
    QTemporaryDir folder;
    Touch(folder.filePath("a.mpg"));
    Touch(folder.filePath("notes.txt"));
    ASSERT_TRUE(QDir(folder.path()).mkdir("sub"));
    Touch(folder.filePath("sub/deep.mpg"));
    QStringList collected = ExpandDroppedPaths({folder.path(), "/no/such/file.avi"});
    ASSERT_EQ(collected.size(), 3);
    EXPECT_EQ(collected.last(), "/no/such/file.avi");  // unreadable: taken as a file
    collected.removeLast();
    collected.sort();
    EXPECT_EQ(collected, QStringList({folder.filePath("a.mpg"), folder.filePath("notes.txt")}));
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

TEST(AddingMedia, EmptyFoldersYieldNothing)
{
    QTemporaryDir folder;
    ASSERT_TRUE(QDir(folder.path()).mkdir("only-a-folder"));
    EXPECT_TRUE(ExpandDroppedPaths({folder.path()}).isEmpty());
}

TEST(AddingMedia, TheLastDroppedItemDecidesAboutScenarios)
{
    EXPECT_TRUE(DropOpensScenario({"/a/list.KVO"}));
    EXPECT_TRUE(DropOpensScenario({"/a/clip.mpg", "/a/list.kvo"}));
    EXPECT_FALSE(DropOpensScenario({"/a/list.kvo", "/a/clip.mpg"}));
    EXPECT_FALSE(DropOpensScenario({}));
}

}  // namespace
}  // namespace kivo
