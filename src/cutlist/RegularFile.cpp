#include "cutlist/RegularFile.h"

#include "cutlist/FileNames.h"

#include <QCoreApplication>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace kivo {
namespace {

bool Fail(ReadFailure* failure, const char* reason, const QString& detail)
{
    failure->reason = QCoreApplication::translate("Files", reason);
    failure->detail = detail;
    return false;
}

// Refuses anything but a regular file.
bool CheckType(bool folder, bool regular, ReadFailure* failure)
{
    if (folder)
        return Fail(failure, QT_TRANSLATE_NOOP("Files", "フォルダです。"), QStringLiteral("it is a folder"));
    if (!regular)
        return Fail(failure, QT_TRANSLATE_NOOP("Files", "通常のファイルではありません。"),
                    QStringLiteral("it is not a regular file"));
    return true;
}

bool OpenFailed(int error, ReadFailure* failure)
{
    const QString detail = qt_error_string(error);
    if (error == ENOENT)
        return Fail(failure, QT_TRANSLATE_NOOP("Files", "ファイルが見つかりません。"), detail);
    if (error == EACCES)
        return Fail(failure, QT_TRANSLATE_NOOP("Files", "ファイルを開く権限がありません。"), detail);
    return Fail(failure, QT_TRANSLATE_NOOP("Files", "ファイルを開けません。"), detail);
}

}  // namespace

bool OpenRegularFile(const QString& path, QFile& file, ReadFailure* failure)
{
    // The type is checked before the file is opened, as opening a device
    // can do things, and again on what was opened, without waiting: opening
    // a named pipe would wait for a writer for ever.
    const FileStatus status = StatFile(path);
    if (!status.exists)
        return OpenFailed(status.error, failure);
    if (!CheckType(status.folder, status.regular, failure))
        return false;
    const int fd = ::open(FileNameBytes(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return OpenFailed(errno, failure);
    struct stat opened {};
    if (::fstat(fd, &opened) != 0) {
        const int error = errno;
        ::close(fd);
        return OpenFailed(error, failure);
    }
    if (!CheckType(S_ISDIR(opened.st_mode), S_ISREG(opened.st_mode), failure)) {
        ::close(fd);
        return false;
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return Fail(failure, QT_TRANSLATE_NOOP("Files", "ファイルを開けません。"), file.errorString());
    return true;
}

}  // namespace kivo
