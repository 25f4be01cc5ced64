#pragma once

#include <QFile>
#include <QString>

namespace kivo {

// Why a file could not be read: a short reason in Japanese for the user, and
// the system's words for the diagnostic log and the developer tools.
struct ReadFailure {
    QString reason;
    QString detail;
};

// Opens `path` (in FileNames.h's form, links followed) for reading into
// `file` when it is a regular file; a folder, a named pipe or a device is
// refused without being opened for good. On success `file` owns the
// descriptor.
bool OpenRegularFile(const QString& path, QFile& file, ReadFailure* failure);

}  // namespace kivo
