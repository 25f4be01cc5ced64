#pragma once

// What this process holds now, read from /proc: for the tests and the
// benchmarks that watch memory and threads over many pipelines.

#include <QDir>
#include <QFile>

#include <unistd.h>

namespace kivo::test {

inline double ResidentMegabytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    const QList<QByteArray> pages = statm.open(QIODevice::ReadOnly) ? statm.readAll().split(' ') : QList<QByteArray>();
    return pages.value(1).toDouble() * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

inline int ThreadCount()
{
    return static_cast<int>(QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

}  // namespace kivo::test
