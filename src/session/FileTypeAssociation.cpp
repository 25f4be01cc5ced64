#include "session/FileTypeAssociation.h"

#include "core/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

namespace kivo {
namespace {

const QString kProgramFileName = QStringLiteral("Kivo231");

// Names in the data folder. The scenario icon carries the MIME type's own
// icon name, so file managers find it without being told.
const QString kMimePackage = QStringLiteral("mime/packages/kivo.xml");
const QString kDesktopEntry = QStringLiteral("applications/kivo.desktop");
const QString kProgramIconName = QStringLiteral("kivo");
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

QByteArray DesktopEntry(const QString& program)
{
    return QStringLiteral(
               "[Desktop Entry]\n"
               "Type=Application\n"
               "Name=Kivo\n"
               "Exec=%1 %f\n"
               "Icon=%2\n"
               "Terminal=false\n"
               "MimeType=%3;\n"
               "Categories=AudioVideo;Player;\n")
        .arg(ExecArgument(program), kProgramIconName, QLatin1String(kScenarioMimeType))
        .toUtf8();
}

// A file of the program's resources, by its path under res/.
QByteArray Resource(const QString& name)
{
    QFile file(QStringLiteral(":/") + name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
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

// Starts `tool` with `arguments` in the background when it is on the path;
// its output goes nowhere and nothing waits for it.
void StartTool(const QString& tool, const QStringList& arguments, const QStringList& path)
{
    if (path.isEmpty())
        return;
    const QString program = QStandardPaths::findExecutable(tool, path);
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

}  // namespace

FileTypePlaces FileTypePlaces::Current()
{
    FileTypePlaces places;
    if (QCoreApplication::instance())
        places.programFolder = QCoreApplication::applicationDirPath();
    places.currentFolder = QDir::currentPath();
    places.path = QString::fromLocal8Bit(qgetenv("PATH"));
    places.dataFolder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
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
    // Set before writing: a registration that fails is not tried again.
    settings.Set(setting::kFileType, 1);
    if (places.dataFolder.isEmpty())
        return;

    const QString& data = places.dataFolder;
    const bool programIconWritten = WriteFile(data, kProgramIcon, Resource(QStringLiteral("icons/kivo.svg")));
    const bool scenarioIconWritten = WriteFile(data, kScenarioIcon, Resource(QStringLiteral("icons/kivo-scenario.svg")));
    const bool mimeWritten = WriteFile(data, kMimePackage, Resource(QStringLiteral("mime/kivo.xml")));
    const bool entryWritten = WriteFile(data, kDesktopEntry, DesktopEntry(program));

    const QStringList path = places.path.isEmpty() ? QStringList() : PathFolders(places);
    if (mimeWritten)
        StartTool(QStringLiteral("update-mime-database"), {data + QStringLiteral("/mime")}, path);
    if (entryWritten)
        StartTool(QStringLiteral("update-desktop-database"), {data + QStringLiteral("/applications")}, path);
    // Without an icon cache, every program that looks up an icon in the
    // theme searches each of the theme's folders here for it.
    if (programIconWritten || scenarioIconWritten)
        StartTool(QStringLiteral("gtk-update-icon-cache"),
                  {QStringLiteral("--quiet"), QStringLiteral("--ignore-theme-index"), QStringLiteral("--force"),
                   data + QStringLiteral("/icons/hicolor")},
                  path);
}

}  // namespace kivo
