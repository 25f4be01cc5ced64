#pragma once

// The clips a benchmark adds: the files of a folder.

#include <QDir>
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

}  // namespace kivo::bench
