#pragma once

// What the benchmarks that drive the whole program share: a profile and a
// data folder of the run's own, as on a first run.

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

namespace kivo::bench {

// Settings and data go into `work` (config/, data/); Qt's runtime folder
// too, where the session has none.
inline void UseFirstRunFolders(const QTemporaryDir& work)
{
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(work.filePath(QStringLiteral("config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(work.filePath(QStringLiteral("data"))));
    // Qt warns where there is none; the folder is private, as it must be.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(work.path()));
}

}  // namespace kivo::bench
