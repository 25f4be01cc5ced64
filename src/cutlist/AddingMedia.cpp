#include "AddingMedia.h"

#include "FileNames.h"

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
    return !dropped.isEmpty() && dropped.last().endsWith(QStringLiteral(".kvo"), Qt::CaseInsensitive);
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

}  // namespace kivo
