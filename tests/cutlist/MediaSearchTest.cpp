#include "ByteFolder.h"
#include "TestFiles.h"
#include "cutlist/AddingMedia.h"
#include "cutlist/Drives.h"
#include "cutlist/FileNames.h"
#include "cutlist/MediaSearch.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <iterator>
#include <tuple>

namespace kivo {
namespace {

namespace fs = std::filesystem;

// Escapes in the fields are undone (one beyond a byte kept as written);
// short lines are left out, and the last line has no options and no end.
std::vector<Drive> SampleDrives()
{
    const auto mounts = ParseMountTable("rootfs / rootfs rw 0 0\n/dev/sda2 / ext4 rw 0 0\nproc /proc proc rw 0 0\n"
                                        "tmpfs /run tmpfs rw 0 0\ntmpfs /run/user/1000 tmpfs rw 0 0\n\nshort line\n"
                                        "devpts /dev/pts devpts rw 0 0\n/dev/sda3 /home ext4 rw 0 0\n"
                                        "/dev/sr0 /media/cdrom iso9660 ro 0 0\n/dev/sr1 /mnt/dvd udf ro 0 0\n"
                                        "/dev/sdc1 /run/media/me/STICK\\777 vfat rw 0 0\n/dev/sdd1\t/mnt/my\\040card\\134x   exfat rw 0 0\n"
                                        "/dev/fd0 /mnt/floppy vfat rw 0 0\nserver:/export /mnt/nfs nfs4 rw 0 0\n"
                                        "//nas/share /mnt/smb cifs rw 0 0\nme@host:/ /mnt/ssh fuse.sshfs rw 0 0\n"
                                        "/dev/sde1 /mnt/old ext4 rw 0 0\ntmpfs /mnt/old tmpfs rw 0 0\n"
                                        "systemd-1 /mnt/auto autofs rw 0 0\ntmpfs /tmp tmpfs");
    return DrivesOf(mounts, [](const MountEntry& mount) {
        DeviceFacts facts;
        facts.removable = mount.device == "/dev/sdd1" || mount.device.startsWith("/dev/sr");
        if (mount.device == "/dev/sr0")
            facts.label = QStringLiteral("MOVIES");
        return facts;
    });
}

TEST(Drives, EntriesCarryTheKindOfDriveInMountPointOrderAndAStoredPathOrFolderSelectsTheSameDriveOrFolder)
{
    std::vector<Drive> drives = SampleDrives();
    QStringList texts;
    std::ranges::transform(drives, std::back_inserter(texts), &Drive::text);
    EXPECT_EQ(texts, QStringList({"/", "/home", "/media/cdrom MOVIES [CD-ROM]", "/mnt/dvd  [CD-ROM]",
                                  "/mnt/floppy [3.5 ｲﾝﾁ ﾌﾛｯﾋﾟｰﾃﾞｨｽｸ]", "/mnt/my card\\x [ﾘﾑｰﾊﾞﾌﾞﾙ ﾃﾞｨｽｸ]",
                                  "/mnt/nfs [ﾈｯﾄﾜｰｸ接続]", "/mnt/old [RAM ﾃﾞｨｽｸ]",  // the later mount hides the disk
                                  "/mnt/smb [ﾈｯﾄﾜｰｸ接続]", "/mnt/ssh [ﾈｯﾄﾜｰｸ接続]",
                                  "/run/media/me/STICK\\777 [ﾘﾑｰﾊﾞﾌﾞﾙ ﾃﾞｨｽｸ]", "/tmp [RAM ﾃﾞｨｽｸ]"}));

    const std::pair<const char*, const char*> selections[] = {
        {"/mnt/nfs [ﾈｯﾄﾜｰｸ接続]", "/mnt/nfs [ﾈｯﾄﾜｰｸ接続]"}, {"/home", "/home"}, {"/", "/"}, {"C:", "/"},
        {"/media/cdrom OTHERDISC [CD-ROM]", "/media/cdrom MOVIES [CD-ROM]"}, {"/mnt/gone [ﾘﾑｰﾊﾞﾌﾞﾙ ﾃﾞｨｽｸ]", "/"}};
    for (const auto& [stored, selected] : selections)
        EXPECT_EQ(drives[SelectDrive(drives, QString::fromUtf8(stored))].text, QString::fromUtf8(selected)) << stored;
    EXPECT_EQ(std::pair(SelectDrive({}, QStringLiteral("/")), SelectDrive({{"/srv", DriveType::Fixed, "/srv"}}, QStringLiteral("/"))), std::pair(-1, 0));
    const auto below = MountPointsBelow(ParseMountTable("a / ext4\nb /home ext4\nc /home/x/y nfs\nd /homer ext4\n"), "/home");
    EXPECT_EQ(below, std::vector<QByteArray>({"/home/x/y"}));

    // Folders join the list, and a stored folder is selected again.
    const auto text = [&](int index) { return drives.at(static_cast<size_t>(index)).text; };
    EXPECT_EQ(text(AddFolder(drives, "/home/me", DriveType::Home)), "/home/me [ﾎｰﾑ ﾌｫﾙﾀﾞ]");
    EXPECT_EQ(std::tuple(text(1), text(2)), std::tuple("/home", "/home/me [ﾎｰﾑ ﾌｫﾙﾀﾞ]"));  // in text order
    EXPECT_EQ(text(AddFolder(drives, "/home", DriveType::Folder)), "/home");  // a mount point: no entry of its own
    const size_t count = drives.size();

    const auto selected = [&](const char* stored) {
        AddStoredFolder(drives, QString::fromUtf8(stored));
        return text(SelectDrive(drives, QString::fromUtf8(stored)));
    };
    for (const auto& [stored, selection] : {std::pair("/home/me [ﾎｰﾑ ﾌｫﾙﾀﾞ]", "/home/me [ﾎｰﾑ ﾌｫﾙﾀﾞ]"), {"/mnt/nfs [ﾌｫﾙﾀﾞ]", "/mnt/nfs [ﾈｯﾄﾜｰｸ接続]"},
                                            {"/home/me [ﾌｫﾙﾀﾞ]", "/home/me [ﾎｰﾑ ﾌｫﾙﾀﾞ]"}, {"Videos [ﾌｫﾙﾀﾞ]", "/"}, {"/mnt/gone", "/"}})
        EXPECT_EQ(selected(stored), selection) << stored;
    EXPECT_EQ(drives.size(), count);
    // A stored folder of its own gets its entry (the search dialog's test
    // shows it chosen again), this one not the drive /mnt/dvd.
    EXPECT_EQ(selected("/mnt/dvd old [ﾌｫﾙﾀﾞ]"), "/mnt/dvd old [ﾌｫﾙﾀﾞ]");

    QTemporaryDir home;
    const QByteArray saved = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(home.path()));
    const std::vector<Drive> system = ListDrives();
    qputenv("HOME", saved);
    EXPECT_EQ(std::ranges::count(system, home.path() + " [ﾎｰﾑ ﾌｫﾙﾀﾞ]", &Drive::text), 1);
}

// A tree of media files in a temporary folder, which may have names that are not UTF-8.
class Walk : public ::testing::Test {
protected:
    void Files(std::initializer_list<const char*> paths)
    {
        for (const char* path : paths) {
            fs::create_directories(fs::path(root.Path(path).toStdString()).parent_path());
            root.Write(path, {});
        }
    }
    QString At(const char* path) const { return FileNameFromBytes(root.Path(path)); }
    QByteArray Root() const { return root.Path("").chopped(1); }
    QStringList Relative(const SearchResult& result, bool sorted = true) const
    {
        QStringList relative;
        for (const QString& path : result.paths)
            relative << path.sliced(root.path().size() + 1);
        if (sorted)
            relative.sort();
        return relative;
    }
    SearchResult Search(const SearchControl& control = {}, bool all = false)
    {
        return SearchFolder(Root(), ExtensionList(MediaChoices{}), all, control);
    }

    test::ByteFolder root;
};

// Extensions match by the last dot in any case of the letters A to Z.
TEST_F(Walk, FindsRegularFilesAtAnyDepthDepthFirstByTheirExtensionsAndBytes)
{
    Files({"movie.MPG", "song.mp3", "a/b/c/d/deep.avi", "a/b/note.txt", "a/x.wav", "e/f/CLIP.MPEG", "e/f/clip.mpeg.txt",
           "e/g.mid", "a.b.Aiff", ".mid", "MID", "clip.", "x.\xC5\xBFnd",  // long s: upper case S, yet not a letter A-Z
           "d\xfe/\x83\x72\x83\x66.mpg", "d\xfe/notes\xff.txt"});
    ASSERT_EQ(::mkfifo(root.Path("pipe.avi").constData(), 0600), 0);
    fs::create_symlink(root.Path("movie.MPG").toStdString(), root.Path("link.mpg").toStdString());
    fs::create_directory_symlink(root.path().toStdString(), root.Path("a/b/up").toStdString());

    const SearchResult result = Search();
    QStringList expected{".mid", "a.b.Aiff", "a/b/c/d/deep.avi", "a/x.wav", "e/f/CLIP.MPEG", "e/g.mid", "movie.MPG",
                         FileNameFromBytes("d\xfe/\x83\x72\x83\x66.mpg")};
    expected.sort();
    EXPECT_EQ(Relative(result), expected);
    // Each folder's hits come together, whatever order the folders take.
    const QStringList found = Relative(result, false);
    const auto at = [&](const char* name) { return found.indexOf(QString::fromUtf8(name)); };
    EXPECT_EQ(std::tuple(std::abs(at("a/b/c/d/deep.avi") - at("a/x.wav")), std::abs(at("e/f/CLIP.MPEG") - at("e/g.mid"))), std::tuple(1, 1));
    EXPECT_EQ(std::tuple(result.counts.folders, result.counts.hits, result.cancelled), std::tuple(8u, 8u, false));
    // (Every file, whatever its name, is the links' case and the search
    // run's.)
}

TEST_F(Walk, LinksToFilesAreFoundOnceByTheirOwnNames)
{
    QTemporaryDir outside;
    const auto link = [&](const QString& target, const char* name) { fs::create_symlink(target.toStdString(), root.Path(name).toStdString()); };
    Files({"real.avi", "deep/file.mpg", "links/.keep"});
    for (const char* path : {"film.avi", "song.wav", "notes.txt", "folder/inner.avi"})
        ASSERT_TRUE(test::WriteFile(outside.filePath(QString::fromUtf8(path))));
    ASSERT_EQ(::mkfifo(QFile::encodeName(outside.filePath("pipe")).constData(), 0600), 0);
    link(outside.filePath("film.avi"), "links/ext.AVI");
    link(outside.filePath("song.wav"), "links/b.wav");  // two links to one file: the first path is kept
    link(outside.filePath("song.wav"), "links/a.wav");
    link("../real.avi", "links/again.avi");  // the file itself is kept
    link("deep/file.mpg", "shortcut.mpg");
    link(outside.filePath("notes.txt"), "links/named.avi");  // the link's name counts
    link(outside.filePath("film.avi"), "links/film.txt");  // not a medium by its name
    link(outside.filePath("folder"), "links/folder.avi");
    link(outside.filePath("gone.avi"), "links/gone.avi");
    link(outside.filePath("pipe"), "links/pipe.avi");
    link("loop.avi", "links/loop.avi");

    EXPECT_EQ(Relative(Search()), QStringList({"deep/file.mpg", "links/a.wav", "links/ext.AVI", "links/named.avi", "real.avi"}));
    // links/film.txt too leads to film.avi.
    EXPECT_EQ(Relative(Search({}, true)),
              QStringList({"deep/file.mpg", "links/.keep", "links/a.wav", "links/ext.AVI", "links/named.avi", "real.avi"}));
}

TEST_F(Walk, StaysOutOfOtherMountsAndVanishedFoldersAndStopsWhenCancelled)
{
    Files({"a/1.avi", "b/2.avi", "c/mount/3.avi"});
    SearchControl control;
    control.skippedFolders = {root.Path("c/mount")};
    control.progressInterval = std::chrono::milliseconds(0);
    bool removed = false;
    control.progress = [&](const SearchCounts& counts) {
        // Once the top folder is read, "b" goes away before it is reached.
        if (counts.folders == 1 && !removed)
            removed = QDir(At("b")).removeRecursively();
    };
    const SearchResult result = Search(control);
    ASSERT_TRUE(removed);
    EXPECT_EQ(std::pair(Relative(result), result.counts.folders), std::pair(QStringList({"a/1.avi"}), 3ul));  // the top, a and c

    std::atomic<bool> cancel = false;
    control.skippedFolders.clear();
    control.progress = [&](const SearchCounts& counts) { cancel = counts.folders >= 2; };
    control.cancel = &cancel;
    const SearchResult cancelled = Search(control);
    EXPECT_EQ(std::pair(cancelled.cancelled, cancelled.counts.folders), std::pair(true, 2ul));
    EXPECT_TRUE(SearchFolder(root.Path("none"), {}, true).paths.isEmpty());
}

// Runs `test` in a child process, which ends with 77 when it cannot run here.
void ExpectInChild(const char* unsupported, const std::function<bool()>& test)
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(test() ? 0 : 1);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 77)
        GTEST_SKIP() << unsupported;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

TEST_F(Walk, BindMountOfAnAncestorAndOtherFileSystemsAreNotEntered)
{
    Files({"a/1.avi", "a/loop/.keep", "tmp/.keep"});
    const QByteArray folder = Root();
    const QByteArray loop = root.Path("a/loop");
    const QByteArray tmp = root.Path("tmp");
    ExpectInChild("no mount namespace here", [&] {
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
            || ::mount(folder.constData(), loop.constData(), nullptr, MS_BIND, nullptr) != 0
            || ::mount("tmpfs", tmp.constData(), "tmpfs", 0, nullptr) != 0)
            ::_exit(77);
        QFile inside(QFile::decodeName(tmp) + QStringLiteral("/4.avi"));
        if (!inside.open(QIODevice::WriteOnly))
            return false;
        // Without the list of mount points the walk still ends: the bind
        // mount is its own ancestor, the tmpfs another file system.
        const SearchResult bare = SearchFolder(folder, {".AVI"}, false);
        SearchControl control;
        control.skippedFolders = MountPointsBelow(ReadMountTable(), folder);
        const SearchResult listed = SearchFolder(folder, {".AVI"}, false, control);
        const QStringList expected{QFile::decodeName(folder) + QStringLiteral("/a/1.avi")};
        return bare.paths == expected && listed.paths == expected && bare.counts.folders == 2
               && listed.counts.folders == 2;
    });
}

// Dropped folders add their own files only, listed by their bytes.
TEST_F(Walk, ADroppedFolderAddsItsOwnFilesOnly)
{
    Files({"a.mpg", "notes.txt", "sub/deep.mpg", "empty/inner/.keep", "d\xff/bad\xff\xfe.avi", "d\xff/\x83\x72.avi"});
    QStringList collected = ExpandDroppedPaths({root.path(), "/no/such/file.avi", At("empty"), At("d\xff")});
    EXPECT_EQ(collected.takeAt(2), "/no/such/file.avi");  // unreadable: taken as a file
    collected.sort();
    EXPECT_EQ(collected, QStringList({At("a.mpg"), At("d\xff/bad\xff\xfe.avi"), At("d\xff/\x83\x72.avi"), At("notes.txt")}));
}

TEST(AddingMedia, TheLastDroppedItemDecidesAboutDocuments)
{
    EXPECT_EQ(std::tuple(DropOpensScenario({"/a/clip.mpg", "/a/list.KVO"}), DropOpensScenario({"/a/list.kvo", "/a/clip.mpg"}), DropOpensScenario({})),
              std::tuple(true, false, false));
    // A playlist dropped alone opens as a cut list; among other files it is
    // added like them.
    EXPECT_EQ(std::pair(DropOpensDocument({"/a/list.M3U8"}), DropOpensDocument({"/a/list.xspf", "/a/clip.mpg"})), std::pair(true, false));
}

}  // namespace
}  // namespace kivo
