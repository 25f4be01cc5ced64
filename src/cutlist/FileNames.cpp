#include "cutlist/FileNames.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringDecoder>
#include <QFile>
#include <QSaveFile>
#include <QStringBuilder>
#include <QUrl>

#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <filesystem>

namespace kivo {
namespace {

constexpr char16_t kFirstEscape = 0xDC80;
constexpr char16_t kLastEscape = 0xDCFF;

// Whether a unit is in the range of the escapes, by one comparison.
bool IsInEscapeRange(char16_t unit)
{
    return char16_t(unit - kFirstEscape) <= kLastEscape - kFirstEscape;
}

// Whether name[i] stands for a byte: a low surrogate of the escape range
// that is not the second half of a pair.
bool IsEscapedByte(QStringView name, qsizetype i)
{
    return IsInEscapeRange(name[i].unicode()) && !(i > 0 && name[i - 1].isHighSurrogate());
}

// The scans of a name's every character for what needs an escape, each
// kept out of line: the fuzz targets leave their comparisons, one or two
// a character, out of the coverage they steer by
// (tests/fuzz/coverage-ignore.txt), where the callers' branches show what
// they found.

// The first unit of a name at or after `from` that is a surrogate without
// its other half, as an escaped byte is, or the size for none.
Q_NEVER_INLINE qsizetype NextLoneSurrogate(QStringView name, qsizetype from)
{
    const char16_t* units = name.utf16();
    for (qsizetype i = from; i < name.size(); ++i) {
        const char16_t unit = units[i];
        if (QChar::isHighSurrogate(unit) ? !(i + 1 < name.size() && QChar::isLowSurrogate(units[i + 1]))
                                         : QChar::isLowSurrogate(unit) && !(i > 0 && QChar::isHighSurrogate(units[i - 1])))
            return i;
    }
    return name.size();
}

// Whether no step after a slash of a path is empty or starts with a dot
// (no "//", no "/.", no slash at the end): a clean path's steps, or
// those of a hidden file. Only the slashes are looked at, found by Qt's
// vector search.
Q_NEVER_INLINE bool HasPlainSteps(QStringView path)
{
    const char16_t* units = path.utf16();
    for (qsizetype slash = path.indexOf(u'/'); slash >= 0; slash = path.indexOf(u'/', slash + 1)) {
        if (slash + 1 == path.size() || units[slash + 1] == u'/' || units[slash + 1] == u'.')
            return false;
    }
    return true;
}

// The number of bytes of the UTF-8 sequence a byte starts, if it is one.
qsizetype SequenceLength(uchar lead)
{
    return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
}

// The first byte at or after `from` that starts no UTF-8 sequence (kept as
// an escape), or the size for none.
Q_NEVER_INLINE qsizetype NextUndecodableByte(QByteArrayView bytes, qsizetype from)
{
    const auto* data = reinterpret_cast<const uchar*>(bytes.data());
    qsizetype i = from;
    while (i < bytes.size()) {
        const uchar lead = data[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        const QByteArrayView sequence = bytes.sliced(i, std::min(SequenceLength(lead), bytes.size() - i));
        if (!sequence.isValidUtf8())
            return i;
        i += sequence.size();
    }
    return i;
}

// UTF-8 as it stands: a name may begin with the bytes of a byte-order
// mark, which QString::fromUtf8 would drop.
QStringDecoder Utf8Decoder()
{
    return QStringDecoder(QStringConverter::Utf8,
                          QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
}

// Whether a location starts with a URL scheme of two characters or more
// (one would be a drive letter), and whether that is file:.
enum class Reference { Path, FileUrl, OtherUrl };

Reference ReferenceKind(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i].unicode() < 0x80 &&
           (text[i].isLetter() || (i > 0 && (text[i].isDigit() || text[i] == u'+' || text[i] == u'-' || text[i] == u'.'))))
        ++i;
    if (i < 2 || i == text.size() || text[i] != u':')
        return Reference::Path;
    return text.first(i).compare(u"file", Qt::CaseInsensitive) == 0 ? Reference::FileUrl : Reference::OtherUrl;
}

// The URL of a location as written, its bytes beyond ASCII (characters as
// UTF-8, and the bytes FileNameFromBytes keeps) percent-encoded, its escapes
// kept.
QUrl UrlOf(QStringView text)
{
    // Most locations are ASCII, and are their own encoded form.
    const QByteArray bytes = FileNameBytes(text);
    if (std::all_of(bytes.begin(), bytes.end(), [](char byte) { return static_cast<uchar>(byte) < 0x80; }))
        return QUrl::fromEncoded(bytes, QUrl::TolerantMode);
    QByteArray encoded;
    encoded.reserve(bytes.size() * 3);
    for (const char byte : bytes) {
        const auto value = static_cast<uchar>(byte);
        if (value < 0x80) {
            encoded += byte;
        } else {
            encoded += '%';
            encoded += "0123456789ABCDEF"[value >> 4];
            encoded += "0123456789ABCDEF"[value & 0xF];
        }
    }
    return QUrl::fromEncoded(encoded, QUrl::TolerantMode);
}

// The local file of a file: URL, or nothing for one on another host.
std::optional<QString> LocalFileOfUrl(QUrl url)
{
    if (url.host().compare(u"localhost", Qt::CaseInsensitive) == 0)
        url.setHost(QString());
    // An empty path gives an empty file below: the path is not decoded
    // once more only to see that.
    if (!url.isValid() || !url.isLocalFile() || !url.host().isEmpty())
        return std::nullopt;
    const QString file = FileNameOfUrl(url);
    if (file.isEmpty())
        return std::nullopt;
    return file;
}

// The file a location names, clean, before it is checked.
std::optional<QString> NamedFile(const QString& location, const QString& folder, RelativeLocation relative)
{
    switch (ReferenceKind(location)) {
    case Reference::OtherUrl:
        return std::nullopt;
    case Reference::FileUrl:
        if (auto file = LocalFileOfUrl(UrlOf(location)))
            return CleanFileName(file->startsWith(u'/') ? *file : folder + u'/' + *file);
        return std::nullopt;
    case Reference::Path:
        break;
    }
    if (location.startsWith(u'/'))
        return CleanFileName(location);
    if (relative == RelativeLocation::Uri) {
        if (auto file = LocalFileOfUrl(QUrl::fromLocalFile(folder + u'/').resolved(UrlOf(location))))
            return CleanFileName(*file);
        return std::nullopt;
    }
    // A playlist takes this way for every line. The folder is clean: with a
    // location of plain steps the path is clean as it is joined, and only
    // the location is looked through.
    QString file = folder % u'/' % location;
    if (!folder.endsWith(u'/') && !location.isEmpty() && !location.startsWith(u'.') && HasPlainSteps(location))
        return file;
    return CleanFileName(file);
}

}  // namespace

QString FileNameFromBytes(QByteArrayView bytes)
{
    // QString::fromUtf8 is the quicker (it takes ASCII a block at a time),
    // where there is no byte order mark for it to drop.
    const bool utf8 = bytes.isValidUtf8();
    if (utf8 && !bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes);
    QStringDecoder decoder = Utf8Decoder();
    if (utf8)
        return decoder(bytes);
    // A name of Shift-JIS or Latin-1 bytes has an escape every byte or two:
    // the runs that decode and the escapes go into one string, no longer
    // than the bytes.
    QString name(bytes.size(), Qt::Uninitialized);
    QChar* out = name.data();
    qsizetype run = 0;  // start of the bytes that decode so far
    for (qsizetype i = NextUndecodableByte(bytes, 0); i < bytes.size(); i = NextUndecodableByte(bytes, run)) {
        if (i > run)
            out = decoder.appendToBuffer(out, bytes.sliced(run, i - run));
        *out++ = QChar(static_cast<char16_t>(0xDC00 | static_cast<uchar>(bytes[i])));
        run = i + 1;
    }
    out = decoder.appendToBuffer(out, bytes.sliced(run));
    name.truncate(out - name.constData());
    return name;
}

bool HasUndecodableBytes(QStringView name)
{
    // Qt's check of the whole name is quicker than the scan below: names
    // without a lone surrogate need no more.
    if (name.isValidUtf16())
        return false;
    for (qsizetype i = NextLoneSurrogate(name, 0); i < name.size(); i = NextLoneSurrogate(name, i + 1)) {
        if (IsInEscapeRange(name[i].unicode()))
            return true;
    }
    return false;
}

QByteArray FileNameBytes(QStringView name)
{
    // QFile::encodeName is UTF-8 on Linux; taken directly, it needs no copy
    // of the name.
    if (name.isValidUtf16())
        return name.toUtf8();
    // The valid UTF-16 between the lone surrogates is encoded into one
    // array; of these, an escape is its byte, any other what toUtf8 makes
    // of it.
    QStringEncoder encoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QByteArray bytes(encoder.requiredSpace(name.size()), Qt::Uninitialized);
    char* out = bytes.data();
    qsizetype run = 0;
    for (qsizetype lone = NextLoneSurrogate(name, 0); lone < name.size(); lone = NextLoneSurrogate(name, run)) {
        // In a name of undecodable bytes, escapes mostly follow one another
        // with no run between them.
        if (lone > run)
            out = encoder.appendToBuffer(out, name.sliced(run, lone - run));
        const char16_t unit = name[lone].unicode();
        if (IsInEscapeRange(unit)) {
            *out++ = static_cast<char>(unit & 0xFF);
        } else {
            const QByteArray replaced = name.sliced(lone, 1).toUtf8();
            out = std::copy(replaced.begin(), replaced.end(), out);
        }
        run = lone + 1;
    }
    out = encoder.appendToBuffer(out, name.sliced(run));
    bytes.truncate(out - bytes.constData());
    return bytes;
}

QString PrintableFileName(QStringView name)
{
    QString printable;
    printable.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t unit = name[i].unicode();
        if (IsEscapedByte(name, i))
            printable += QString::asprintf("\\x%02x", unit & 0xFF);
        else if (unit == u'\\')
            printable += QStringLiteral("\\\\");
        else if (unit == u'\n')
            printable += QStringLiteral("\\n");
        else if (unit == u'\t')
            printable += QStringLiteral("\\t");
        else if (unit == u'\r')
            printable += QStringLiteral("\\r");
        else if (unit < 0x20 || unit == 0x7F)
            printable += QString::asprintf("\\x%02x", unit);
        else if (unit >= 0x80 && unit < 0xA0)
            printable += QString::asprintf("\\u%04x", unit);
        else
            printable += name[i];
    }
    return printable;
}

QString FileNameOfUrl(const QUrl& url)
{
    if (!url.isLocalFile())
        return {};
    const QString path = FileNameFromBytes(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
    // A host is kept in front, as toLocalFile does.
    const QString name = url.host().isEmpty() ? path : QStringLiteral("//") + url.host() + path;
    return IsReachableFileName(name) ? name : QString();
}

QString CleanFileName(const QString& path)
{
    // Most paths are clean already, and cleanPath is slow: a path with no
    // step that is empty or starts with a dot is returned as it is.
    if (path.size() < 2 || (path.startsWith(u'/') && HasPlainSteps(path)))
        return path;
    QString cleaned = QDir::cleanPath(path);
    // cleanPath keeps a ".." that would climb above the root.
    while (cleaned.startsWith(u"/..") && (cleaned.size() == 3 || cleaned[3] == u'/'))
        cleaned.remove(0, 3);
    return cleaned.isEmpty() ? QStringLiteral("/") : cleaned;
}

QString AbsoluteFileName(const QString& name)
{
    if (name.isEmpty() || QDir::isAbsolutePath(name))
        return CleanFileName(name);
    std::error_code error;
    const std::filesystem::path here = std::filesystem::current_path(error);
    return CleanFileName(FileNameFromBytes(here.native()) + QLatin1Char('/') + name);
}

bool IsReachableFileName(QStringView name)
{
    if (name.contains(QChar::Null))
        return false;
    // A unit of UTF-16 is one to three bytes of UTF-8 (a pair, two units,
    // four): only names between the two bounds need their bytes counted.
    if (name.size() >= PATH_MAX)
        return false;
    if (name.size() * 3 < PATH_MAX)
        return true;
    // Counted by encoding them into a buffer of the worst case, on the
    // stack: every relative line of a playlist in a deep folder comes here.
    // The encoder writes one byte, a NUL, for a lone surrogate, as
    // FileNameBytes does for an escaped byte.
    QStringEncoder encoder(QStringConverter::Utf8,
                           QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInvalidToNull);
    std::array<char, 3 * PATH_MAX> bytes;
    return encoder.appendToBuffer(bytes.data(), name) - bytes.data() < PATH_MAX;
}

std::optional<QString> LocalFileOfLocation(const QString& location, const QString& folder, RelativeLocation relative)
{
    std::optional<QString> file = NamedFile(location, folder, relative);
    if (file && !IsReachableFileName(*file))
        return std::nullopt;
    return file;
}

bool IsPathName(QStringView name)
{
    return name.contains(u'/');
}

bool IsSameFile(const QString& first, const QString& second)
{
    std::error_code error;
    return std::filesystem::equivalent(FileNameBytes(first).toStdString(), FileNameBytes(second).toStdString(), error) &&
           !error;
}

FileStatus StatFile(const QString& name)
{
    struct stat status {};
    FileStatus result;
    if (::stat(FileNameBytes(name).constData(), &status) != 0) {
        result.error = errno;
        return result;
    }
    result.exists = true;
    result.regular = S_ISREG(status.st_mode);
    result.folder = S_ISDIR(status.st_mode);
    result.size = static_cast<quint64>(status.st_size);
    result.modified = status.st_mtim.tv_sec;
    result.owner = status.st_uid;
    result.group = status.st_gid;
    return result;
}

std::optional<WriteFailure> ReplaceFile(const QString& path, const std::function<bool(QIODevice&)>& write)
{
    const auto fail = [](const char* reason, const QString& detail) {
        return WriteFailure{QCoreApplication::translate("Files", reason), detail};
    };
    // QSaveFile reaches a file through Qt's UTF-8 form of its name.
    if (HasUndecodableBytes(path))
        return fail(QT_TRANSLATE_NOOP("Files", "このファイル名では保存できません。"),
                    QStringLiteral("the name is not valid UTF-8"));
    // A link is followed to its file; renaming over anything but a regular
    // file would destroy it (a device node, a named pipe).
    const FileStatus target = StatFile(path);
    if (target.folder)
        return fail(QT_TRANSLATE_NOOP("Files", "フォルダです。"), QStringLiteral("it is a folder"));
    if (target.exists && !target.regular)
        return fail(QT_TRANSLATE_NOOP("Files", "通常のファイルではありません。"), QStringLiteral("it is not a regular file"));
    if (target.error == ELOOP)
        return fail(QT_TRANSLATE_NOOP("Files", "通常のファイルではありません。"),
                    QStringLiteral("its symbolic links go round in a circle"));

    QSaveFile file(path);
    // Unbuffered, so that a short write cannot pass unnoticed.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return fail(file.error() == QFileDevice::PermissionsError ? QT_TRANSLATE_NOOP("Files", "書き込む権限がありません。")
                                                                  : QT_TRANSLATE_NOOP("Files", "ファイルを作れません。"),
                    file.errorString());
    }
    // QSaveFile gives the new file the old one's permissions; without its
    // owner and group too, root saving over a user's file would take it
    // from them. Only root may give a file away (EPERM: others keep their
    // own), and only to an id this system maps (EINVAL in a container).
    if (target.exists && ::fchown(file.handle(), target.owner, target.group) != 0 && errno != EPERM &&
        errno != EINVAL) {
        const QString detail = qt_error_string(errno);
        file.cancelWriting();
        return fail(QT_TRANSLATE_NOOP("Files", "書き込めませんでした。"), detail);
    }
    if (!write(file)) {
        const QString detail = file.error() == QFileDevice::NoError
                                   ? QStringLiteral("not everything could be written (is the disk full?)")
                                   : file.errorString();
        file.cancelWriting();
        return fail(QT_TRANSLATE_NOOP("Files", "書き込めませんでした。ディスクの空きを確かめてください。"), detail);
    }
    if (!file.commit())
        return fail(QT_TRANSLATE_NOOP("Files", "書き込めませんでした。ディスクの空きを確かめてください。"),
                    file.errorString());
    return std::nullopt;
}

}  // namespace kivo
