#include "cutlist/AddingMedia.h"

#include "cutlist/FileNames.h"
#include "cutlist/Playlists.h"
#include "cutlist/ScenarioFile.h"
#include "cutlist/TodaysMediaKinds.h"

#include <QCoreApplication>
#include <QDir>
#include <QMimeDatabase>

#include <algorithm>
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
// What every file dialog of the program ends with; the open-media dialog
// lists today's kinds after it, so that a stored row number names the same
// row as it did before they were there.
constexpr MediaFileKind kAllFiles = {QT_TRANSLATE_NOOP("AddingMedia", "すべてのﾌｧｲﾙ (*.*)"), u"*"};
constexpr MediaFileKind kOlderMediaFileKinds[] = {
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
};
// The last row: every kind above at once.
const char* const kEveryMediaKind = QT_TRANSLATE_NOOP("AddingMedia", "すべてのﾒﾃﾞｨｱﾌｧｲﾙ");

QString FilterRow(const char* name, const QString& patterns)
{
    return QCoreApplication::translate("AddingMedia", name) + QStringLiteral(" (") + patterns + u')';
}

// The patterns of every kind of media file, older kinds first, each once.
QStringList MediaFilePatterns()
{
    QStringList patterns;
    const auto add = [&patterns](const char16_t* kind) {
        for (const QString& pattern : QString::fromUtf16(kind).split(u' '))
            if (!patterns.contains(pattern))
                patterns.append(pattern);
    };
    for (const MediaFileKind& kind : kOlderMediaFileKinds)
        add(kind.patterns);
    for (const TodaysMediaKind& kind : kTodaysMediaKinds)
        add(kind.patterns);
    return patterns;
}

}  // namespace

QStringList MediaFileFilters()
{
    QStringList filters;
    for (const MediaFileKind& kind : kOlderMediaFileKinds)
        filters.append(FilterRow(kind.name, QString::fromUtf16(kind.patterns)));
    filters.append(AllFilesFilter());
    for (const TodaysMediaKind& kind : kTodaysMediaKinds)
        filters.append(FilterRow(kind.rowName, QString::fromUtf16(kind.patterns)));
    filters.append(FilterRow(kEveryMediaKind, MediaFilePatterns().join(u' ')));
    return filters;
}

QString AllFilesFilter()
{
    return FilterRow(kAllFiles.name, QString::fromUtf16(kAllFiles.patterns));
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

bool IsMediaFileName(QStringView path)
{
    static const QStringList extensions = [] {
        QStringList all = MediaFilePatterns();
        for (QString& pattern : all)
            pattern.remove(0, 1);  // "*.mp4" as ".mp4"
        return all;
    }();
    return std::ranges::any_of(extensions, [path](const QString& extension) {
        return path.endsWith(extension, Qt::CaseInsensitive);
    });
}

QStringList MediaMimeTypes()
{
    static const QStringList types = [] {
        const QMimeDatabase database;
        QStringList found;
        for (const QString& pattern : MediaFilePatterns()) {
            const QMimeType type =
                database.mimeTypeForFile(QStringLiteral("x") + pattern.sliced(1), QMimeDatabase::MatchExtension);
            if (!type.isDefault() && !found.contains(type.name()))
                found.append(type.name());
        }
        return found;
    }();
    return types;
}

}  // namespace kivo
