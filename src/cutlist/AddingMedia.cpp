#include "cutlist/AddingMedia.h"

#include "cutlist/FileNames.h"
#include "cutlist/Playlists.h"
#include "cutlist/ScenarioFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QMimeDatabase>

#include <filesystem>

namespace kivo {

QStringList ExpandDroppedPaths(const QStringList& dropped)
{
    namespace fs = std::filesystem;
    QStringList collected;
    for (const QString& path : dropped) {
        if (!StatFile(path).folder) {
            collected.append(path);
            continue;
        }
        // The entries as bytes: a name that is not UTF-8 is still found.
        // Everything but folders counts, hidden files, links to files and
        // links to nothing included.
        std::error_code error;
        for (fs::directory_iterator entry(FileNameBytes(path).toStdString(), error), end; !error && entry != end;
             entry.increment(error)) {
            std::error_code unknown;
            if (!entry->is_directory(unknown))
                collected.append(FileNameFromBytes(entry->path().native()));
        }
    }
    return collected;
}

bool DropOpensScenario(const QStringList& dropped)
{
    return !dropped.isEmpty() && IsScenarioFileName(dropped.last());
}

bool DropOpensDocument(const QStringList& dropped)
{
    return DropOpensScenario(dropped) || (dropped.size() == 1 && IsPlaylistFile(dropped.first()));
}

QStringList TypedFileNames(const QString& text, const QString& folder)
{
    QStringList files;
    const QDir base(folder);
    // Every second piece between the quotes is a name.
    const QStringList pieces = text.split(QLatin1Char('"'));
    for (qsizetype i = 1; i < pieces.size() - 1; i += 2) {
        if (!pieces.at(i).isEmpty())
            files.append(QDir::cleanPath(base.absoluteFilePath(pieces.at(i))));
    }
    return files;
}

namespace {

// The open dialog's rows: each kind's name and the patterns of its files.
struct MediaFileKind {
    const char* name;  // the Japanese source text
    const char16_t* patterns;
};
// What every file dialog of the program ends with.
constexpr MediaFileKind kAllFiles = {QT_TRANSLATE_NOOP("AddingMedia", "すべてのﾌｧｲﾙ (*.*)"), u"*"};
constexpr MediaFileKind kMediaFileKinds[] = {
    {QT_TRANSLATE_NOOP("AddingMedia", "MPEG ﾌｧｲﾙ (.mpg; .mpeg; .mpv; .mp2; .mpa; .mpe; .mp3)"),
     u"*.mpg *.mpeg *.mpv *.mp2 *.mpa *.mpe *.mp3"},
    {QT_TRANSLATE_NOOP("AddingMedia", "Video CD ﾌｧｲﾙ (.dat)"), u"*.dat"},
    {QT_TRANSLATE_NOOP("AddingMedia", "AVI ﾌｧｲﾙ (.avi)"), u"*.avi"},
    {QT_TRANSLATE_NOOP("AddingMedia", "QuickTime ﾌｧｲﾙ (.mov; .qt)"), u"*.mov *.qt"},
    {QT_TRANSLATE_NOOP("AddingMedia", "Wave ﾌｧｲﾙ (.wav)"), u"*.wav"},
    {QT_TRANSLATE_NOOP("AddingMedia", "AU ﾌｧｲﾙ (.au; .snd)"), u"*.au *.snd"},
    {QT_TRANSLATE_NOOP("AddingMedia", "AIFF ﾌｧｲﾙ (.aif; .aifc; .aiff)"), u"*.aif *.aifc *.aiff"},
    {QT_TRANSLATE_NOOP("AddingMedia", "RealMedia ﾌｧｲﾙ (.ra; .rm)"), u"*.ra *.rm"},
    {QT_TRANSLATE_NOOP("AddingMedia", "MIDI ﾌｧｲﾙ (.mid)"), u"*.mid"},
    kAllFiles,
};

QString FilterRow(const MediaFileKind& kind)
{
    return QCoreApplication::translate("AddingMedia", kind.name) + QStringLiteral(" (") +
           QString::fromUtf16(kind.patterns) + u')';
}

}  // namespace

QStringList MediaFileFilters()
{
    QStringList filters;
    for (const MediaFileKind& kind : kMediaFileKinds)
        filters.append(FilterRow(kind));
    return filters;
}

QString AllFilesFilter()
{
    return FilterRow(kAllFiles);
}

int MediaFileFilterRow(const QString& filter)
{
    const QStringList rows = MediaFileFilters();
    for (qsizetype row = 0; row < rows.size(); ++row) {
        const QString& each = rows.at(row);
        if (each == filter || each.left(each.lastIndexOf(QStringLiteral(" ("))) == filter)
            return static_cast<int>(row);
    }
    return 0;
}

QStringList MediaMimeTypes()
{
    static const QStringList types = [] {
        const QMimeDatabase database;
        QStringList found;
        for (const auto& [name, patterns] : kMediaFileKinds) {
            for (const QString& pattern : QString::fromUtf16(patterns).split(u' ', Qt::SkipEmptyParts)) {
                if (!pattern.startsWith(QStringLiteral("*.")))
                    continue;
                const QMimeType type = database.mimeTypeForFile(QStringLiteral("x") + pattern.sliced(1),
                                                                QMimeDatabase::MatchExtension);
                if (!type.isDefault() && !found.contains(type.name()))
                    found.append(type.name());
            }
        }
        return found;
    }();
    return types;
}

}  // namespace kivo
