#include "session/FileTypeAssociation.h"

#include "core/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QThreadPool>

#include <glib.h>

namespace kivo {
namespace {

const QString kProgramFileName = QStringLiteral("Kivo231");

// Names in a data folder; the desktop entry has the installed one's name and
// is found under it in the resources too. The scenario icon carries the MIME
// type's own icon name, so file managers find it without being told.
const QString kMimePackage = QStringLiteral("mime/packages/kivo.xml");
const QString kDesktopEntry = QStringLiteral("applications/kivo.desktop");
const QString kProgramIcon = QStringLiteral("icons/hicolor/scalable/apps/kivo.svg");
const QString kScenarioIcon = QStringLiteral("icons/hicolor/scalable/mimetypes/application-x-kivo-scenario.svg");

// The program path as one argument of an Exec key: always quoted, with the
// characters that are special inside quotes escaped and '%' doubled, then
// escaped once more as a desktop-entry string value.
QString ExecArgument(const QString& program)
{
    QString quoted = QStringLiteral("\"");
    for (const QChar c : program) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        if (c == u'%')
            quoted += u'%';
        quoted += c;
    }
    quoted += u'"';

    QString value;
    for (const QChar c : quoted) {
        if (c == u'\\')
            value += QStringLiteral("\\\\");
        else if (c == u'\n')
            value += QStringLiteral("\\n");
        else if (c == u'\r')
            value += QStringLiteral("\\r");
        else if (c == u'\t')
            value += QStringLiteral("\\t");
        else
            value += c;
    }
    return value;
}

// The program the desktop entry at `path` starts: the first word of its
// Exec, unquoted, with "%%" as "%"; empty when it has none or cannot be
// read.
QString EntryProgram(const QString& path)
{
    GKeyFile* entry = g_key_file_new();
    QString program;
    if (g_key_file_load_from_file(entry, QFile::encodeName(path).constData(), G_KEY_FILE_NONE, nullptr)) {
        gchar* command =
            g_key_file_get_string(entry, G_KEY_FILE_DESKTOP_GROUP, G_KEY_FILE_DESKTOP_KEY_EXEC, nullptr);
        gchar** words = nullptr;
        if (command != nullptr && g_shell_parse_argv(command, nullptr, &words, nullptr))
            program = QFile::decodeName(words[0]).replace(QStringLiteral("%%"), QStringLiteral("%"));
        g_strfreev(words);
        g_free(command);
    }
    g_key_file_free(entry);
    return program;
}

// A file of the program's resources, by its path there.
QByteArray Resource(const QString& name)
{
    QFile file(QStringLiteral(":/") + name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// The installed desktop entry with `program` in its Exec, where the
// installed one names the program by its file name alone.
QByteArray UserDesktopEntry(const QString& program)
{
    QStringList lines = QString::fromUtf8(Resource(kDesktopEntry)).split(u'\n');
    for (QString& line : lines) {
        if (!line.startsWith(QStringLiteral("Exec=")))
            continue;
        const qsizetype arguments = line.indexOf(u' ');
        line = QStringLiteral("Exec=") + ExecArgument(program) + (arguments < 0 ? QString() : line.sliced(arguments));
    }
    return lines.join(u'\n').toUtf8();
}

// Writes `contents` to `relativePath` under `folder`, replacing what is there
// only once the new file is complete.
bool WriteFile(const QString& folder, const QString& relativePath, const QByteArray& contents)
{
    if (contents.isEmpty())
        return false;
    const QString path = folder + u'/' + relativePath;
    if (!QDir().mkpath(QFileInfo(path).path()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(contents);
    return file.commit();
}

QStringList PathFolders(const FileTypePlaces& places)
{
    QStringList folders;
    for (const QString& entry : places.path.split(u':')) {
        // An empty entry stands for the current folder; a relative one is
        // taken from it.
        folders += entry.isEmpty() ? places.currentFolder : QDir(places.currentFolder).absoluteFilePath(entry);
    }
    return folders;
}

// The program `name` on the path of `places`; empty when it is not there.
QString FindOnPath(const QString& name, const FileTypePlaces& places)
{
    // An empty list would have Qt search the process's own PATH.
    return places.path.isEmpty() ? QString() : QStandardPaths::findExecutable(name, PathFolders(places));
}

// Starts `tool` with `arguments` detached when it is on the path; its
// output goes nowhere and nothing waits for it.
void StartTool(const QString& tool, const QStringList& arguments, const FileTypePlaces& places)
{
    const QString program = FindOnPath(tool, places);
    if (program.isEmpty())
        return;
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.startDetached();
}

// Whether the desktop entry found first in the system data folders (the one
// the desktop shows) starts `program`.
bool InstalledEntryRuns(const QString& program, const FileTypePlaces& places)
{
    for (const QString& folder : places.systemDataFolders) {
        const QString path = folder + u'/' + kDesktopEntry;
        // Anything but a regular file is no package's entry (and reading a
        // named pipe would wait for a writer).
        if (!QFileInfo(path).isFile())
            continue;
        QString started = EntryProgram(path);
        if (!started.isEmpty() && !started.contains(u'/'))
            started = FindOnPath(started, places);
        const QString target = started.isEmpty() ? QString() : QFileInfo(started).canonicalFilePath();
        return !target.isEmpty() && target == QFileInfo(program).canonicalFilePath();
    }
    return false;
}

// The registration's work after the switch: the files in the user's data
// folder and the update tools, unless the installed entry runs `program`.
void WriteRegistration(const QString& program, const FileTypePlaces& places)
{
    if (places.dataFolder.isEmpty() || InstalledEntryRuns(program, places))
        return;

    const QString& data = places.dataFolder;
    const bool programIconWritten = WriteFile(data, kProgramIcon, Resource(QStringLiteral("icons/kivo.svg")));
    const bool scenarioIconWritten = WriteFile(data, kScenarioIcon, Resource(QStringLiteral("icons/kivo-scenario.svg")));
    const bool mimeWritten = WriteFile(data, kMimePackage, Resource(QStringLiteral("mime/kivo.xml")));
    const bool entryWritten = WriteFile(data, kDesktopEntry, UserDesktopEntry(program));

    if (mimeWritten)
        StartTool(QStringLiteral("update-mime-database"), {data + QStringLiteral("/mime")}, places);
    if (entryWritten)
        StartTool(QStringLiteral("update-desktop-database"), {data + QStringLiteral("/applications")}, places);
    // Without an icon cache, every program that looks up an icon in the
    // theme searches each of the theme's folders here for it.
    if (programIconWritten || scenarioIconWritten)
        StartTool(QStringLiteral("gtk-update-icon-cache"),
                  {QStringLiteral("--quiet"), QStringLiteral("--ignore-theme-index"), QStringLiteral("--force"),
                   data + QStringLiteral("/icons/hicolor")},
                  places);
}

}  // namespace

FileTypePlaces FileTypePlaces::Current()
{
    FileTypePlaces places;
    if (QCoreApplication::instance())
        places.programFolder = QCoreApplication::applicationDirPath();
    places.currentFolder = QDir::currentPath();
    places.path = QString::fromLocal8Bit(qgetenv("PATH"));
    places.dataFolder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    // Qt puts the user's own folder before the system's.
    places.systemDataFolders = QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation).mid(1);
    return places;
}

QString FindProgramFile(const FileTypePlaces& places)
{
    QStringList folders{places.programFolder, places.currentFolder};
    if (!places.path.isEmpty())
        folders += PathFolders(places);
    for (const QString& folder : folders) {
        if (folder.isEmpty())
            continue;
        const QFileInfo file(QDir(folder).absoluteFilePath(kProgramFileName));
        if (file.isFile() && file.isExecutable())
            return QDir::cleanPath(file.absoluteFilePath());
    }
    return {};
}

void RegisterFileType(Settings& settings)
{
    // The switch is read first so that later starts cost no search at all.
    if (settings.Get(setting::kFileType) != 0)
        return;
    RegisterFileType(settings, FileTypePlaces::Current());
}

void RegisterFileType(Settings& settings, const FileTypePlaces& places)
{
    if (settings.Get(setting::kFileType) != 0)
        return;
    const QString program = FindProgramFile(places);
    if (program.isEmpty())
        return;
    // Set before anything is written: a registration that fails is not
    // tried again.
    settings.Set(setting::kFileType, 1);
    // Writing files and starting programs can take a while on a first
    // start; the window does not wait for it.
    QThreadPool::globalInstance()->start([program, places] { WriteRegistration(program, places); });
}

}  // namespace kivo
