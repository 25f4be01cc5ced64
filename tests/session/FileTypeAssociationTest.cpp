#include "session/FileTypeAssociation.h"

#include "TestFiles.h"
#include "TestMedia.h"
#include "core/Settings.h"
#include "cutlist/Playlists.h"

#include <QElapsedTimer>
#include <QFile>
#include <QMimeDatabase>
#include <QProcess>
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

// The desktop entry the package installs (dist/kivo.desktop, built into the
// program).
QString InstalledEntry()
{
    return QString::fromUtf8(ReadFile(QStringLiteral(":/applications/kivo.desktop")));
}

// Sets an environment variable for its lifetime.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const QString& value) : m_name(name), m_saved(qgetenv(name))
    {
        qputenv(name, value.toLocal8Bit());
    }
    ~ScopedVariable() { m_saved.isNull() ? qunsetenv(m_name) : qputenv(m_name, m_saved); }

private:
    const char* m_name;
    QByteArray m_saved;
};

class FileTypeRegistration : public ::testing::Test {
protected:
    FileTypeRegistration() : m_settings(Folder("Kivo231.ini"))
    {
        m_places.programFolder = Folder("program");
        m_places.currentFolder = Folder("current");
        m_places.path = Folder("bin1") + u':' + Folder("bin2");
        m_places.dataFolder = Folder("data");
        m_places.systemDataFolders = {Folder("system1"), Folder("system2")};
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

    const QString program = MakeProgram(m_places.programFolder);
    Register();
    EXPECT_EQ(m_settings.Get(setting::kFileType), 1);
    // The entry is the installed one, under the installed one's name, with
    // the program file in its open command (the package is the MIME
    // database's to judge, below).
    const QString exec = QStringLiteral("Exec=\"%1\" %f").arg(program);
    QStringList expected = InstalledEntry().split(u'\n');
    ASSERT_EQ(expected.count(QStringLiteral("Exec=Kivo231 %f")), 1);
    expected.replace(expected.indexOf(QStringLiteral("Exec=Kivo231 %f")), exec);
    EXPECT_EQ(Entry().toStdString(), expected.join(u'\n').toStdString());
    for (const char* icon : {"apps/kivo.svg", "mimetypes/application-x-kivo-scenario.svg"})
        EXPECT_TRUE(ReadFile(Data("icons/hicolor/scalable/") + QLatin1String(icon)).contains("<svg")) << icon;

    // The switch is one-way: files removed later are not written again.
    QDir(m_places.dataFolder).removeRecursively();
    Register();
    EXPECT_FALSE(QFileInfo::exists(m_places.dataFolder));
}

TEST_F(FileTypeRegistration, TheEntryClaimsTheScenarioAndEveryPlaylistTheProgramOpens)
{
    MakeProgram(m_places.programFolder);
    Register();
    const QString line = Entry().section(QStringLiteral("\nMimeType="), 1).section(u'\n', 0, 0);
    ASSERT_TRUE(line.endsWith(u';')) << line.toStdString();
    const QStringList claimed = line.chopped(1).split(u';');

    // Each type claimed, under its own name or an alias, is the scenario or
    // has a playlist's extension: the program opens a file named on its
    // command line as a playlist by its extension, else as a scenario.
    EXPECT_TRUE(claimed.contains(QLatin1String(kScenarioMimeType)));
    const QMimeDatabase database;
    const auto isPlaylist = [](const QMimeType& type) {
        const QStringList suffixes = type.suffixes();
        return std::any_of(suffixes.cbegin(), suffixes.cend(),
                           [](const QString& suffix) { return IsPlaylistFile(QStringLiteral("x.") + suffix); });
    };
    QStringList claimedTypes;
    for (const QString& name : claimed) {
        if (name == QLatin1String(kScenarioMimeType))
            continue;
        const QMimeType type = database.mimeTypeForName(name);
        EXPECT_TRUE(type.isValid() && isPlaylist(type)) << name.toStdString();
        claimedTypes += type.name();
    }
    // Every type a playlist's extension may be taken for is claimed, so a
    // file manager offers the program whichever of them it settles on.
    for (const QMimeType& type : database.allMimeTypes()) {
        if (isPlaylist(type)) {
            EXPECT_TRUE(claimedTypes.contains(type.name())) << type.name().toStdString();
        }
    }
}

TEST_F(FileTypeRegistration, AnInstalledEntryThatRunsTheProgramFileLeavesTheDataFolderAlone)
{
    // As installed: the program in the system's program folder, on the
    // path, and the package's entry naming it.
    const QString program = MakeProgram(Folder("bin1"));
    m_places.programFolder = Folder("bin1");
    InstallEntry(Folder("system1"), QStringLiteral("Kivo231 %f"));
    EXPECT_FALSE(RegistrationWritesFiles());
    // Named by a link to it.
    ASSERT_TRUE(QFile::link(program, Folder("link-to-Kivo231")));
    InstallEntry(Folder("system1"), QStringLiteral("%1 %f").arg(Folder("link-to-Kivo231")));
    EXPECT_FALSE(RegistrationWritesFiles());

    // A copy run from its own folder is not the one the entry runs.
    m_places.programFolder = Folder("program");
    MakeProgram(m_places.programFolder);
    EXPECT_TRUE(RegistrationWritesFiles());
    m_places.programFolder = Folder("bin1");
    // Nor is a program the entry names that is not there.
    InstallEntry(Folder("system1"), QStringLiteral("%1 %f").arg(Folder("nowhere/Kivo231")));
    EXPECT_TRUE(RegistrationWritesFiles());
    InstallEntry(Folder("system1"), QStringLiteral("\"unclosed %f"));
    EXPECT_TRUE(RegistrationWritesFiles());

    // The entry found first is the one the desktop shows; what is not a
    // regular file (here a folder and a named pipe, which nothing writes
    // to) is no entry.
    InstallEntry(Folder("system2"), QStringLiteral("Kivo231 %f"));
    EXPECT_TRUE(RegistrationWritesFiles());
    QFile::remove(Folder("system1/applications/kivo.desktop"));
    QDir().mkpath(Folder("system1/applications/kivo.desktop"));
    EXPECT_FALSE(RegistrationWritesFiles());
    QDir(Folder("system1/applications/kivo.desktop")).removeRecursively();
    ASSERT_EQ(mkfifo(QFile::encodeName(Folder("system1/applications/kivo.desktop")).constData(), 0600), 0);
    EXPECT_FALSE(RegistrationWritesFiles());
}

TEST_F(FileTypeRegistration, SearchesTheProgramFolderThenTheCurrentFolderThenThePath)
{
    const QString programs[] = {MakeProgram(m_places.programFolder), MakeProgram(m_places.currentFolder),
                                MakeProgram(Folder("bin1")), MakeProgram(Folder("bin2"))};
    for (const QString& program : programs) {
        EXPECT_EQ(FindProgramFile(m_places), program);
        QFile::remove(program);
    }
    EXPECT_EQ(FindProgramFile(m_places), QString());

    // Relative and empty entries of the path are taken from the current
    // folder; the program is always named by its absolute path.
    FileTypePlaces places = m_places;
    places.programFolder.clear();
    places.path = "../bin2";
    const QString program = MakeProgram(Folder("bin2"));
    EXPECT_EQ(FindProgramFile(places), program);
    places.path = ":" + Folder("bin1");
    MakeProgram(Folder("bin1"));
    EXPECT_EQ(FindProgramFile(places), Folder("bin1/Kivo231"));
}

TEST_F(FileTypeRegistration, AnAwkwardProgramPathIsQuotedInTheOpenCommand)
{
    const QString folder = Folder("my \"$HOME\" `x` 100% \\ キボ");
    MakeProgram(folder);
    m_places.programFolder = folder;
    Register();
    // Inside the quotes ", `, $ and \ are escaped with \ and % is doubled;
    // every \ is then doubled again as the entry's string escape.
    const QString expected = QStringLiteral("Exec=\"%1/my \\\\\"\\\\$HOME\\\\\" \\\\`x\\\\` 100%% \\\\\\\\ キボ/Kivo231\" %f\n")
                                 .arg(m_root.path());
    EXPECT_TRUE(Entry().contains(expected));

    // Read back as an installed entry, it names the same program.
    m_places.systemDataFolders = {m_places.dataFolder};
    m_places.dataFolder = Folder("data2");
    EXPECT_FALSE(RegistrationWritesFiles());
}

TEST_F(FileTypeRegistration, AnUnwritableDataFolderFailsSilentlyAndIsNotRetried)
{
    MakeProgram(m_places.programFolder);
    // Files where the data folder's subfolders should be.
    for (const char* folder : {"mime", "applications", "icons"})
        test::WriteFile(Data(folder));
    Register();
    EXPECT_EQ(m_settings.Get(setting::kFileType), 1);
}

TEST_F(FileTypeRegistration, TheCallReturnsAtOnceAndTheFilesAndToolsFollowWithoutBeingWaitedFor)
{
    MakeProgram(m_places.programFolder);
    // Stand-ins for the tools, which note their arguments and then keep
    // running until they are let go (or ten seconds have passed).
    const QString bin = Folder("bin1");
    const char* const tools[] = {"update-mime-database", "update-desktop-database", "gtk-update-icon-cache"};
    for (const char* tool : tools)
        WriteScript(bin + u'/' + QLatin1String(tool),
                    "#!/bin/sh\necho \"$*\" > \"$0.ran\"\n"
                    "i=0; while [ ! -e \"$0.go\" ] && [ $i -lt 200 ]; do sleep 0.05; i=$((i+1)); done\n"
                    "touch \"$0.done\"\n");

    // The pool's one thread is held, so that what the call leaves to it
    // cannot have run before the call returns.
    QThreadPool& pool = *QThreadPool::globalInstance();
    const int threads = pool.maxThreadCount();
    pool.setMaxThreadCount(1);
    QSemaphore held;
    pool.start([&held] { held.acquire(); });
    QElapsedTimer call;
    call.start();
    RegisterFileType(m_settings, m_places);
    EXPECT_LT(call.elapsed(), 100);
    EXPECT_EQ(m_settings.Get(setting::kFileType), 1);
    EXPECT_TRUE(QDir(m_places.dataFolder).isEmpty());
    held.release();

    const auto ran = [&](const char* tool, const QString& arguments) {
        const QString note = bin + u'/' + QLatin1String(tool) + QStringLiteral(".ran");
        return QTest::qWaitFor([&] { return ReadFile(note) == (arguments + u'\n').toUtf8(); }, 5000);
    };
    EXPECT_TRUE(ran("update-mime-database", Data("mime")));
    EXPECT_TRUE(ran("update-desktop-database", Data("applications")));
    EXPECT_TRUE(ran("gtk-update-icon-cache", QStringLiteral("--quiet --ignore-theme-index --force ") +
                                                 Data("icons/hicolor")));
    EXPECT_TRUE(QFileInfo::exists(Data("applications/kivo.desktop")));
    // The work is done while the tools still run: nothing waits for them.
    EXPECT_TRUE(pool.waitForDone(5000));
    pool.setMaxThreadCount(threads);
    for (const char* tool : tools) {
        EXPECT_FALSE(QFile::exists(bin + u'/' + QLatin1String(tool) + QStringLiteral(".done"))) << tool;
        test::WriteFile(bin + u'/' + QLatin1String(tool) + QStringLiteral(".go"));
    }
}

TEST_F(FileTypeRegistration, TheMimeDatabaseTakesThePackage)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("update-mime-database"));
    if (tool.isEmpty())
        GTEST_SKIP() << "update-mime-database is not installed";
    MakeProgram(m_places.programFolder);
    m_places.path.clear();
    Register();
    ASSERT_EQ(QProcess::execute(tool, {Data("mime")}), 0);
    EXPECT_TRUE(ReadFile(Data("mime/globs2")).contains("application/x-kivo-scenario:*.kvo"));
    EXPECT_TRUE(ReadFile(Data("mime/application/x-kivo-scenario.xml")).contains("Kivo ｼﾅﾘｵ"));
}

TEST_F(FileTypeRegistration, ByDefaultUsesThePathAndTheXdgDataFolders)
{
    const QString program = MakeProgram(Folder("bin1"));
    const ScopedVariable path("PATH", Folder("bin1"));
    const ScopedVariable data("XDG_DATA_HOME", m_places.dataFolder);
    const ScopedVariable systemData("XDG_DATA_DIRS", Folder("system1") + u':' + Folder("system2"));
    const auto registered = [this] {
        m_settings.Set(setting::kFileType, 0);
        RegisterFileType(m_settings);
        QThreadPool::globalInstance()->waitForDone();
        return m_settings.Get(setting::kFileType) == 1;
    };
    EXPECT_TRUE(registered());
    EXPECT_TRUE(Entry().contains(program));
    EXPECT_TRUE(QFileInfo::exists(Data("mime/packages/kivo.xml")));

    QDir(m_places.dataFolder).removeRecursively();
    InstallEntry(Folder("system2"), QStringLiteral("Kivo231 %f"));
    EXPECT_TRUE(registered());
    EXPECT_FALSE(QFileInfo::exists(m_places.dataFolder));
}

}  // namespace
}  // namespace kivo
