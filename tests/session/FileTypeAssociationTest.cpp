#include "session/FileTypeAssociation.h"

#include "TestFiles.h"
#include "TestMedia.h"
#include "core/Settings.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

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

class FileTypeRegistration : public ::testing::Test {
protected:
    FileTypeRegistration() : m_settings(Folder("Kivo231.ini"))
    {
        m_places.programFolder = Folder("program");
        m_places.currentFolder = Folder("current");
        m_places.path = Folder("bin1") + u':' + Folder("bin2");
        m_places.dataFolder = Folder("data");
        for (const QString& folder : {m_places.programFolder, m_places.currentFolder, m_places.dataFolder})
            QDir().mkpath(folder);
    }

    QString Folder(const char* name) const { return m_root.filePath(QString::fromUtf8(name)); }
    QString Data(const char* name) const { return m_places.dataFolder + u'/' + QString::fromUtf8(name); }
    QString Entry() const { return QString::fromUtf8(ReadFile(Data("applications/kivo.desktop"))); }

    // A program file "Kivo231" in `folder`; returns its path.
    static QString MakeProgram(const QString& folder) { return WriteScript(folder + "/Kivo231", "#!/bin/sh\n"); }

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
    RegisterFileType(m_settings, m_places);
    EXPECT_EQ(m_settings.Get(setting::kFileType), 0);
    EXPECT_TRUE(QDir(m_places.dataFolder).isEmpty());

    const QString program = MakeProgram(m_places.programFolder);
    RegisterFileType(m_settings, m_places);
    EXPECT_EQ(m_settings.Get(setting::kFileType), 1);
    // The entry opens the type with the program (the package is the MIME
    // database's to judge, below).
    EXPECT_TRUE(Entry().contains(QStringLiteral("\nExec=\"%1\" %f\n").arg(program))) << Entry().toStdString();
    EXPECT_TRUE(Entry().contains(QStringLiteral("\nMimeType=application/x-kivo-scenario;\n")));
    for (const char* icon : {"apps/kivo.svg", "mimetypes/application-x-kivo-scenario.svg"})
        EXPECT_TRUE(ReadFile(Data("icons/hicolor/scalable/") + QLatin1String(icon)).contains("<svg")) << icon;

    // The switch is one-way: files removed later are not written again.
    QDir(m_places.dataFolder).removeRecursively();
    RegisterFileType(m_settings, m_places);
    EXPECT_FALSE(QFileInfo::exists(m_places.dataFolder));
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
    RegisterFileType(m_settings, m_places);
    // Inside the quotes ", `, $ and \ are escaped with \ and % is doubled;
    // every \ is then doubled again as the entry's string escape.
    const QString expected = QStringLiteral("Exec=\"%1/my \\\\\"\\\\$HOME\\\\\" \\\\`x\\\\` 100%% \\\\\\\\ キボ/Kivo231\" %f\n")
                                 .arg(m_root.path());
    EXPECT_TRUE(Entry().contains(expected));
}

TEST_F(FileTypeRegistration, AnUnwritableDataFolderFailsSilentlyAndIsNotRetried)
{
    MakeProgram(m_places.programFolder);
    // Files where the data folder's subfolders should be.
    for (const char* folder : {"mime", "applications", "icons"})
        test::WriteFile(Data(folder));
    RegisterFileType(m_settings, m_places);
    EXPECT_EQ(m_settings.Get(setting::kFileType), 1);
}

TEST_F(FileTypeRegistration, TheUpdateToolsRunInTheBackgroundOnTheirFolders)
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

    RegisterFileType(m_settings, m_places);

    const auto ran = [&](const char* tool, const QString& arguments) {
        const QString note = bin + u'/' + QLatin1String(tool) + QStringLiteral(".ran");
        return test::WaitUntil([&] { return ReadFile(note) == (arguments + u'\n').toUtf8(); }, 5000);
    };
    EXPECT_TRUE(ran("update-mime-database", Data("mime")));
    EXPECT_TRUE(ran("update-desktop-database", Data("applications")));
    EXPECT_TRUE(ran("gtk-update-icon-cache", QStringLiteral("--quiet --ignore-theme-index --force ") +
                                                 Data("icons/hicolor")));
    // The registration has not waited for them.
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
    RegisterFileType(m_settings, m_places);
    ASSERT_EQ(QProcess::execute(tool, {Data("mime")}), 0);
    EXPECT_TRUE(ReadFile(Data("mime/globs2")).contains("application/x-kivo-scenario:*.kvo"));
    EXPECT_TRUE(ReadFile(Data("mime/application/x-kivo-scenario.xml")).contains("Kivo ｼﾅﾘｵ"));
}

TEST_F(FileTypeRegistration, ByDefaultUsesThePathAndTheXdgDataFolder)
{
    const QByteArray oldPath = qgetenv("PATH");
    const QByteArray oldData = qgetenv("XDG_DATA_HOME");
    const QString program = MakeProgram(Folder("bin1"));
    qputenv("PATH", Folder("bin1").toLocal8Bit());
    qputenv("XDG_DATA_HOME", m_places.dataFolder.toLocal8Bit());
    RegisterFileType(m_settings);
    qputenv("PATH", oldPath);
    if (oldData.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", oldData);

    EXPECT_EQ(m_settings.Get(setting::kFileType), 1);
    EXPECT_TRUE(Entry().contains(program));
    EXPECT_TRUE(QFileInfo::exists(Data("mime/packages/kivo.xml")));
}

}  // namespace
}  // namespace kivo
