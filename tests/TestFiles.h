#pragma once

// Files that tests write and read.

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kivo::test {

// Writes `contents` to `path`, making the folders it lies in.
inline bool WriteFile(const QString& path, const QByteArray& contents = {})
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size();
}

inline QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace kivo::test
