#pragma once

// What the benchmarks that add a folder of clips share: the clips, the
// display-free loader's run over them, and the line that gives a rate.

#include "session/DocumentParts.h"

#include <QDir>
#include <QElapsedTimer>
#include <QStringList>

#include <cstdio>

namespace kivo::bench {

// The files of `folder` by their full paths, in the order of their names;
// none, with a message from `program`, when it holds none.
inline QStringList ClipsIn(const QString& folder, const char* program)
{
    const QDir clips(folder);
    QStringList paths;
    for (const QString& name : clips.entryList(QDir::Files, QDir::Name))
        paths.append(clips.absoluteFilePath(name));
    if (paths.isEmpty())
        std::fprintf(stderr, "%s: no files in %s\n", program, qPrintable(folder));
    return paths;
}

// Seconds until the document's loader, without a window, has added `paths`
// to a new session's empty list; -1, with a message from `program`, when it
// did not add every file.
inline double LoaderSeconds(const QStringList& paths, const char* program)
{
    test::DocumentParts parts;
    QElapsedTimer timer;
    timer.start();
    if (!parts.Add(paths) || parts.list.GetItemCount() != paths.size()) {
        std::fprintf(stderr, "%s: the loader did not add every file\n", program);
        return -1.0;
    }
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

// The figure of `files` added in `seconds`, in files per second, beside its
// reference, and the ratio of their times.
inline void PrintRate(const QString& figure, qsizetype files, double seconds, const char* reference,
                      double referenceSeconds, const char* goal)
{
    const auto count = static_cast<double>(files);
    std::printf("%-44s %11.1f files/s %18s %8.1f files/s %7.2fx %s\n", figure.toUtf8().constData(), count / seconds,
                reference, count / referenceSeconds, seconds / referenceSeconds, goal);
}

}  // namespace kivo::bench
