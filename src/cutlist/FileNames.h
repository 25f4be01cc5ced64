#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QString>
#include <QStringView>

#include <functional>
#include <optional>

class QUrl;

namespace kivo {

// A Linux file name is a string of bytes that need not be UTF-8. Kivo keeps
// a name as a QString: what decodes as UTF-8 as such, and every byte that
// does not as a lone surrogate U+DC80..U+DCFF (as Python's surrogateescape
// does), so that the name turns back into the very same bytes. Qt's file
// classes encode names as UTF-8 and would reach another file through such a
// name, so every path goes to and comes from the file system through these
// functions.

QString FileNameFromBytes(QByteArrayView bytes);
QByteArray FileNameBytes(QStringView name);
// Whether a name holds bytes that are not UTF-8, which Qt's file classes
// cannot reach.
bool HasUndecodableBytes(QStringView name);

// A name in a printable form that says what it holds: each byte that is not
// UTF-8 as \xff, control characters as \n, \t, \r, \x1b or \u0085, and a
// backslash as two, so that no name prints like another.
QString PrintableFileName(QStringView name);

// Whether an object's name is a path (it holds a "/"), whose end, the
// file's own name, tells the most of it where the whole does not fit.
bool IsPathName(QStringView name);

// The file of a local file: URL, as a drop brings it: the percent-encoded
// bytes of its path taken as they are (QUrl::toLocalFile would decode them
// as UTF-8 and lose the others). Empty for a URL that is not a local file,
// and for a name the system cannot take as it is (IsReachableFileName): a
// %00 would cut it short into another file's name.
QString FileNameOfUrl(const QUrl& url);

// The clean form of a path: no "//", "." or ".." steps, no '/' at the end.
// A ".." at the root stays there, as the system takes it: "/a/../../b" is
// "/b". Symbolic links are not resolved.
QString CleanFileName(const QString& path);

// The absolute and clean form of a name, relative to the current folder, as
// QFileInfo::absoluteFilePath gives it: symbolic links are not resolved.
QString AbsoluteFileName(const QString& name);

// Whether the system can take a name as it is: one holding a NUL byte would
// be cut short there, into another file's name, and one of PATH_MAX bytes or
// more is refused by every call.
bool IsReachableFileName(QStringView name);

// How a location that is neither absolute nor a URL is read: as a path, or
// as a URI reference (percent-encoded).
enum class RelativeLocation { Path, Uri };

// The local file a location in a file or a message names: an absolute path,
// a file: URL of this host (file:///..., file://localhost/..., its path's
// percent-encoded bytes taken as they are), or a relative location taken
// from `folder` (absolute and clean). Nothing for another scheme (http:,
// rtsp:, ...), another host, or a name the system cannot take as it is
// (IsReachableFileName). What it gives is absolute and clean, its escapes
// decoded before it is cleaned.
std::optional<QString> LocalFileOfLocation(const QString& location, const QString& folder,
                                           RelativeLocation relative = RelativeLocation::Path);

// Whether two names reach one and the same file (through links, or spelt
// otherwise); false when either cannot be reached.
bool IsSameFile(const QString& first, const QString& second);

// What stat() says of a file, following symbolic links.
struct FileStatus {
    bool exists = false;
    bool regular = false;
    bool folder = false;
    quint64 size = 0;
    qint64 modified = 0;  // seconds since 1970 UTC
    quint32 owner = 0;    // user and group ids
    quint32 group = 0;
    int error = 0;        // errno when stat() failed
};
FileStatus StatFile(const QString& name);

// Why a file could not be written: a short reason in Japanese for the user,
// and the system's words for the diagnostic log and the developer tools.
struct WriteFailure {
    QString reason;
    QString detail;
};

// Writes a file through a temporary file beside it that replaces it only
// once `write` has filled it and it is on disk, so that a failed write
// leaves the old file as it was. A symbolic link keeps pointing at its file,
// which is what gets replaced (made, for a link to nothing). Anything else
// that exists and is not a regular file (a folder, a named pipe, a device)
// is refused, as is a name with bytes that are not UTF-8. The new file
// keeps the old one's permissions and, where this user may give them (root
// saving over another user's file), its owner and group. `write` gets the
// unbuffered file and answers whether everything could be written. Every
// writer of a file answers as this does: nothing once the file is written,
// else why not.
[[nodiscard]] std::optional<WriteFailure> ReplaceFile(const QString& path,
                                                      const std::function<bool(QIODevice&)>& write);

}  // namespace kivo
