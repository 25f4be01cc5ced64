#include "session/FileTypeAssociation.h"

#include "TestFiles.h"
#include "core/Settings.h"
#include "cutlist/AddingMedia.h"
#include "cutlist/Playlists.h"

#include <QElapsedTimer>
#include <QFile>
#include <QMimeDatabase>
#include <QProcess>
#include <QScopeGuard>
#include <QSemaphore>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>

#include <sys/stat.h>

#include <algorithm>

#include <gtest/gtest.h>

namespace kivo {
namespace {

using test::ReadFile;

// Writes an executable file.
QString WriteScript(const QString& path, const QByteArray& text)
{
    EXPECT_TRUE(test::WriteFile(path, text));
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
    return path;
}

// The desktop entry the package installs, built into the program.
QString InstalledEntry()
{
    return QString::fromUtf8(ReadFile(QStringLiteral(":/applications/kivo.desktop")));
}

class FileTypeRegistration : public ::testing::Test {
protected:
    FileTypeRegistration() : m_settings(Folder("Kivo231.ini"))
    {
        m_places = {Folder("program"), Folder("current"), Folder("bin1") + u':' + Folder("bin2"), Folder("data"),
                    {Folder("system1"), Folder("system2")}};
        for (const QString& folder : {m_places.programFolder, m_places.currentFolder, m_places.dataFolder})
            QDir().mkpath(folder);
    }

    QString Folder(const char* name) const { return m_root.filePath(QString::fromUtf8(name)); }
    QString Data(const char* name) const { return m_places.dataFolder + u'/' + QString::fromUtf8(name); }
    QString Entry() const { return QString::fromUtf8(ReadFile(Data("applications/kivo.desktop"))); }

    // Registers and waits for the work left to the thread pool.
    void Register()
    {
        RegisterFileType(m_settings, m_places);
        QThreadPool::globalInstance()->waitForDone();
    }
    // Registers anew (a fresh switch, no data folder) and tells whether
    // anything was written into the data folder.
    bool RegistrationWritesFiles()
    {
        m_settings.Set(setting::kFileType, 0);
        QDir(m_places.dataFolder).removeRecursively();
        Register();
        EXPECT_EQ(m_settings.Get(setting::kFileType), 1);
        return QFileInfo::exists(m_places.dataFolder);
    }

    // A program file "Kivo231" in `folder`; returns its path.
    static QString MakeProgram(const QString& folder) { return WriteScript(folder + "/Kivo231", "#!/bin/sh\n"); }
    // An installed desktop entry in the system data folder `folder` whose
    // Exec line is `exec`.
    static void InstallEntry(const QString& folder, const QString& exec)
    {
        QString entry = InstalledEntry();
        entry.replace(QStringLiteral("\nExec=Kivo231 %f\n"), QStringLiteral("\nExec=%1\n").arg(exec));
        test::WriteFile(folder + QStringLiteral("/applications/kivo.desktop"), entry.toUtf8());
    }

    QTemporaryDir m_root;
    Settings m_settings;
    FileTypePlaces m_places;
};

TEST_F(FileTypeRegistration, WritesTheTypeTheEntryAndTheIconsOnceThereIsAProgramFile)
{
    // Neither a folder nor a plain file of that name is the program: nothing
    // is written, and the next start tries again.
    QDir().mkpath(m_places.currentFolder + "/Kivo231");
    test::WriteFile(Folder("bin1/Kivo231"), "not a program");
    Register();
    EXPECT_EQ(m_settings.Get(setting::kFileType), 0);
    EXPECT_TRUE(QDir(m_places.dataFolder).isEmpty());

    // The installed entry, with the program file in its open command.
    const QString program = MakeProgram(m_places.programFolder);
    Register();
    EXPECT_EQ(m_settings.Get(setting::kFileType), 1);
    QString expected = InstalledEntry();
    EXPECT_EQ(Entry().toStdString(), expected.replace(QStringLiteral("\nExec=Kivo231 %f\n"), QStringLiteral("\nExec=\"%1\" %f\n").arg(program)).toStdString());
    for (const char* icon : {"apps/kivo.svg", "mimetypes/application-x-kivo-scenario.svg"})
        EXPECT_TRUE(ReadFile(Data("icons/hicolor/scalable/") + QLatin1String(icon)).contains("<svg")) << icon;
    // The MIME database takes the package.
    if (const QString tool = QStandardPaths::findExecutable("update-mime-database"); !tool.isEmpty()) {
        ASSERT_EQ(QProcess::execute(tool, {Data("mime")}), 0);
        EXPECT_TRUE(ReadFile(Data("mime/globs2")).contains("application/x-kivo-scenario:*.kvo") &&
                    ReadFile(Data("mime/application/x-kivo-scenario.xml")).contains("Kivo ｼﾅﾘｵ"));
    }

    // The switch is one-way: files removed later are not written again.
    QDir(m_places.dataFolder).removeRecursively();
    Register();
    EXPECT_FALSE(QFileInfo::exists(m_places.dataFolder));
    // Nor is a write that failed (files where the subfolders should be).
    for (const char* folder : {"mime", "applications", "icons"})
        test::WriteFile(Data(folder));
    EXPECT_TRUE(RegistrationWritesFiles());
}

TEST_F(FileTypeRegistration, TheEntryClaimsTheScenarioAndEveryPlaylistTheProgramOpens)
{
    const QString line = InstalledEntry().section(QStringLiteral("\nMimeType="), 1).section(u'\n', 0, 0);
    ASSERT_TRUE(line.endsWith(u';')) << line.toStdString();
    QStringList claimed = line.chopped(1).split(u';');
    // The program opens a file named on its command line as a playlist or
    // a media file by its extension, else as a scenario: every other type
    // claimed, under its own name or an alias, has a playlist's or a media
    // file's extension, and every type a playlist's may be taken for is
    // claimed.
    EXPECT_EQ(claimed.removeAll(QLatin1String(kScenarioMimeType)), 1);
    const auto has = [](const QMimeType& type, bool (*kind)(QStringView)) {
        return std::ranges::any_of(type.suffixes(), [kind](const QString& suffix) { return kind(QStringLiteral("x.") + suffix); });
    };
    const auto isPlaylist = [&](const QMimeType& type) { return has(type, IsPlaylistFile); };
    const QMimeDatabase database;
    QStringList claimedTypes;
    for (const QString& name : claimed) {
        const QMimeType type = database.mimeTypeForName(name);
        EXPECT_TRUE(isPlaylist(type) || has(type, IsMediaFileName)) << name.toStdString();
        claimedTypes += type.name();
    }
    for (const QMimeType& type : database.allMimeTypes())
        EXPECT_TRUE(!isPlaylist(type) || claimedTypes.contains(type.name())) << type.name().toStdString();
    for (const QString& type : MediaMimeTypes())  // those the dialogs and the remote control name
        EXPECT_TRUE(claimed.contains(type)) << type.toStdString();
}

TEST_F(FileTypeRegistration, AnInstalledEntryThatRunsTheProgramFileLeavesTheDataFolderAlone)
{
    // As installed: the program on the path, the package's entry naming it,
    // also by a link to it.
    const QString program = MakeProgram(Folder("bin1"));
    m_places.programFolder = Folder("bin1");
    InstallEntry(Folder("system1"), QStringLiteral("Kivo231 %f"));
    EXPECT_FALSE(RegistrationWritesFiles());
    ASSERT_TRUE(QFile::link(program, Folder("link-to-Kivo231")));
    InstallEntry(Folder("system1"), QStringLiteral("%1 %f").arg(Folder("link-to-Kivo231")));
    EXPECT_FALSE(RegistrationWritesFiles());

    // A copy run from its own folder is not the one the entry runs, nor is a
    // program the entry names that is not there, nor one it cannot name.
    m_places.programFolder = Folder("program");
    MakeProgram(m_places.programFolder);
    EXPECT_TRUE(RegistrationWritesFiles());
    m_places.programFolder = Folder("bin1");
    for (const QString& exec : {Folder("nowhere/Kivo231") + " %f", QStringLiteral("\"unclosed %f")}) {
        InstallEntry(Folder("system1"), exec);
        EXPECT_TRUE(RegistrationWritesFiles()) << exec.toStdString();
    }

    // The entry found first is the one the desktop shows; what is not a
    // regular file (a folder, a named pipe, which nothing writes to) is no
    // entry.
    InstallEntry(Folder("system2"), QStringLiteral("Kivo231 %f"));
    EXPECT_TRUE(RegistrationWritesFiles());
    QFile::remove(Folder("system1/applications/kivo.desktop"));
    ASSERT_EQ(mkfifo(QFile::encodeName(Folder("system1/applications/kivo.desktop")).constData(), 0600), 0);
    EXPECT_FALSE(RegistrationWritesFiles());
}

// Relative and empty entries of the path are taken from the current
// folder; the program is always named by its absolute path.
TEST_F(FileTypeRegistration, SearchesTheProgramFolderThenTheCurrentFolderThenThePathAndQuotesAnAwkwardPath)
{
    for (const QString& program : {MakeProgram(m_places.programFolder), MakeProgram(m_places.currentFolder),
                                   MakeProgram(Folder("bin1")), MakeProgram(Folder("bin2")), QString()}) {
        EXPECT_EQ(FindProgramFile(m_places), program);
        QFile::remove(program);
    }
    m_places.programFolder.clear();
    for (const QString& path : {QStringLiteral("../bin2"), ":" + Folder("bin1")}) {
        m_places.path = path;
        const QString program = MakeProgram(Folder(path.endsWith("2") ? "bin2" : "bin1"));
        EXPECT_EQ(FindProgramFile(m_places), program);
    }

    // An awkward path is quoted in the open command.
    const QString folder = Folder("my \"$HOME\" `x` 100% \\ キボ");
    MakeProgram(folder);
    m_places.programFolder = folder;
    Register();
    // Inside the quotes ", `, $ and \ are escaped with \ and % is doubled;
    // every \ is then doubled again as the entry's string escape.
    EXPECT_TRUE(Entry().contains(
        QStringLiteral("Exec=\"%1/my \\\\\"\\\\$HOME\\\\\" \\\\`x\\\\` 100%% \\\\\\\\ キボ/Kivo231\" %f\n").arg(m_root.path())));
    // Read back as an installed entry, it names the same program.
    m_places.systemDataFolders = {m_places.dataFolder};
    m_places.dataFolder = Folder("data2");
    EXPECT_FALSE(RegistrationWritesFiles());
}

// A first start once waited for the files and the update tools.
TEST_F(FileTypeRegistration, TheCallReturnsAtOnceAndTheFilesAndToolsFollowWithoutBeingWaitedFor)
{
    MakeProgram(m_places.programFolder);
    // Stand-ins for the tools, which note their arguments and then keep
    // running until they are let go (or ten seconds have passed).
    const std::pair<const char*, QString> tools[] = {
        {"update-mime-database", Data("mime")}, {"update-desktop-database", Data("applications")},
        {"gtk-update-icon-cache", "--quiet --ignore-theme-index --force " + Data("icons/hicolor")}};
    for (const auto& [name, arguments] : tools)
        WriteScript(Folder("bin1/") + name, "#!/bin/sh\necho \"$*\" > \"$0.ran\"\n"
                                           "i=0; while [ ! -e \"$0.go\" ] && [ $i -lt 200 ]; do sleep 0.05; i=$((i+1)); done\n"
                                           "touch \"$0.done\"\n");
    // The pool's one thread is held, so that what the call leaves to it
    // cannot have run before the call returns.
    QThreadPool& pool = *QThreadPool::globalInstance();
    const auto restore = qScopeGuard([&pool, threads = pool.maxThreadCount()] { pool.setMaxThreadCount(threads); });
    pool.setMaxThreadCount(1);
    QSemaphore held;
    pool.start([&held] { held.acquire(); });
    QElapsedTimer call;
    call.start();
    RegisterFileType(m_settings, m_places);
    EXPECT_LT(call.elapsed(), 100);
    EXPECT_TRUE(m_settings.Get(setting::kFileType) == 1 && QDir(m_places.dataFolder).isEmpty());
    held.release();
    // The work is done while the tools still run: nothing waits for them.
    for (const auto& [name, arguments] : tools) {
        const QString tool = Folder("bin1/") + name;
        const QByteArray ran = (arguments + u'\n').toUtf8();
        EXPECT_TRUE(QTest::qWaitFor([&] { return ReadFile(tool + ".ran") == ran; }, 5000));
    }
    EXPECT_TRUE(pool.waitForDone(5000));
    EXPECT_TRUE(QFileInfo::exists(Data("applications/kivo.desktop")));
    for (const auto& [name, arguments] : tools) {
        EXPECT_FALSE(QFile::exists(Folder("bin1/") + name + ".done")) << name;
        test::WriteFile(Folder("bin1/") + name + ".go");
    }
}

}  // namespace
}  // namespace kivo
