#include "AddingMedia.h"

#include <QDir>
#include <QFileInfo>

namespace kivo {

QStringList ExpandDroppedPaths(const QStringList& dropped)
{
    QStringList collected;
    for (const QString& path : dropped) {
        if (!QFileInfo(path).isDir()) {
            collected.append(path);
            continue;
        }
        const QDir folder(path);
        const QStringList names =
            folder.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
        for (const QString& name : names)
            collected.append(folder.filePath(name));
    }
    return collected;
}

bool DropOpensScenario(const QStringList& dropped)
{
    return !dropped.isEmpty() && dropped.last().endsWith(QStringLiteral(".kvo"), Qt::CaseInsensitive);
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

QStringList MediaFileFilters()
{
    return {
        QStringLiteral("MPEG ﾌｧｲﾙ (.mpg; .mpeg; .mpv; .mp2; .mpa; .mpe; .mp3) (*.mpg *.mpeg *.mpv *.mp2 *.mpa *.mpe *.mp3)"),
        QStringLiteral("Video CD ﾌｧｲﾙ (.dat) (*.dat)"),
        QStringLiteral("AVI ﾌｧｲﾙ (.avi) (*.avi)"),
        QStringLiteral("QuickTime ﾌｧｲﾙ (.mov; .qt) (*.mov *.qt)"),
        QStringLiteral("Wave ﾌｧｲﾙ (.wav) (*.wav)"),
        QStringLiteral("AU ﾌｧｲﾙ (.au; .snd) (*.au *.snd)"),
        QStringLiteral("AIFF ﾌｧｲﾙ (.aif; .aifc; .aiff) (*.aif *.aifc *.aiff)"),
        QStringLiteral("RealMedia ﾌｧｲﾙ (.ra; .rm) (*.ra *.rm)"),
        QStringLiteral("MIDI ﾌｧｲﾙ (.mid) (*.mid)"),
        QStringLiteral("すべてのﾌｧｲﾙ (*.*) (*)"),
    };
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

}  // namespace kivo
