#include "media/MediaTracks.h"

#include "cutlist/FileNames.h"

#include <QDir>
#include <QFileInfo>

namespace kivo {

QString SidecarSubtitle(const QString& videoPath)
{
    const QFileInfo video(videoPath);
    const QString stem = video.dir().filePath(video.completeBaseName()) + u'.';
    for (const char* extension : {"srt", "ass", "ssa", "vtt", "sub"}) {
        const QString lower = QString::fromLatin1(extension);
        for (const QString& suffix : {lower, lower.toUpper()}) {
            // Only a regular file: a named pipe would block the subtitle reader.
            if (const QString candidate = stem + suffix; StatFile(candidate).regular)
                return candidate;
        }
    }
    return {};
}

}  // namespace kivo
