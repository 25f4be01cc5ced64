#include "cutlist/Playlists.h"

#include "cutlist/FileNames.h"
#include "cutlist/RegularFile.h"
#include "cutlist/ShownText.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QStringBuilder>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <map>

namespace kivo {

Q_LOGGING_CATEGORY(lcPlaylist, "kivo.playlist", QtWarningMsg)

namespace {

const QString kXspfNamespace = QStringLiteral("http://xspf.org/ns/0/");
const char kMalformed[] = QT_TRANSLATE_NOOP("Files", "ﾌﾟﾚｲﾘｽﾄの形式が正しくありません。");

// Each format's extension (in any letter case), the one an export takes.
struct FormatExtension {
    PlaylistFormat format;
    const char16_t* name;
};
constexpr FormatExtension kExtensions[] = {{PlaylistFormat::M3u, u"m3u"},
                                           {PlaylistFormat::M3u8, u"m3u8"},
                                           {PlaylistFormat::Pls, u"pls"},
                                           {PlaylistFormat::Xspf, u"xspf"}};
const char16_t kNotAPlaylistName[] = u"not a playlist's extension (.m3u, .m3u8, .pls, .xspf)";

PlaylistReadResult Failure(PlaylistStatus status, const QString& problem, const QString& detail)
{
    PlaylistReadResult result;
    result.status = status;
    result.problem = problem;
    result.detail = detail;
    return result;
}

PlaylistReadResult Failure(PlaylistStatus status, const char* problem, const QString& detail)
{
    return Failure(status, QCoreApplication::translate("Files", problem), detail);
}

PlaylistReadResult TooLargeFailure(const QString& detail)
{
    return Failure(PlaylistStatus::TooLarge, QT_TRANSLATE_NOOP("Files", "ﾌﾟﾚｲﾘｽﾄが大きすぎます。"), detail);
}

PlaylistReadResult TooManyEntries()
{
    return TooLargeFailure(QStringLiteral("more than %1 entries").arg(kMaxPlaylistEntries));
}

QByteArrayView WithoutByteOrderMark(QByteArrayView bytes)
{
    return bytes.startsWith("\xEF\xBB\xBF") ? bytes.sliced(3) : bytes;
}

// The lines of a text file, each without its line break, trimmed. A line
// ends at LF, CRLF or a lone CR (as old Mac programs end them).
template <typename Visit>
void ForEachLine(QByteArrayView bytes, Visit&& visit)
{
    // The next LF and the next CR at or after `from` (the size for none),
    // each looked for again only once the lines have passed it.
    qsizetype lf = -1;
    qsizetype cr = -1;
    const auto next = [bytes](char byte, qsizetype& at, qsizetype from) {
        if (at < from) {
            at = bytes.indexOf(byte, from);
            if (at < 0)
                at = bytes.size();
        }
        return at;
    };
    qsizetype line = 0;
    while (line < bytes.size()) {
        const qsizetype end = std::min(next('\n', lf, line), next('\r', cr, line));
        if (!visit(bytes.sliced(line, end - line).trimmed()))
            return;
        line = end + (bytes.sliced(end).startsWith("\r\n") ? 2 : 1);
    }
}

// What a line of a playlist holds that is not UTF-8: text that another
// program added in its own code page, which other players read as Latin-1
// line by line, or, in a playlist that is UTF-8 by its kind (.m3u8), the
// bytes of a file name, kept as FileNames.h keeps them.
enum class NotUtf8 { Latin1, FileNameBytes };

QString DecodeLine(QByteArrayView line, NotUtf8 notUtf8)
{
    return notUtf8 == NotUtf8::FileNameBytes || line.isValidUtf8() ? FileNameFromBytes(line)
                                                                    : QString::fromLatin1(line);
}

bool IsKnownLength(double seconds)
{
    return seconds >= 0 && seconds <= kMaxEntrySeconds;
}

// A length as a playlist writes it, `unit` of them a second, in seconds:
// -1 for an unknown one, or one too long to be a media time.
double Seconds(QByteArrayView text, double unit = 1)
{
    double value = 0;
    const auto [end, error] = std::from_chars(text.begin(), text.end(), value);
    const double seconds = value / unit;
    return error == std::errc() && end == text.end() && IsKnownLength(seconds) ? seconds : -1;
}

// The entries read so far, within the bounds of a playlist: relative paths
// each repeat the playlist's folder, so a small file can name paths many
// times its size.
class EntryList {
public:
    // Adds the entry of a local file, or counts one that names none. False
    // once the playlist is too large.
    bool Add(std::optional<QString> file, QString title, double seconds)
    {
        if (file) {
            m_pathChars += file->size();
            m_reading.entries.push_back({std::move(*file), BoundedName(std::move(title)), seconds});
        } else {
            ++m_reading.skipped;
        }
        return !TooLarge();
    }

    bool TooLarge() const
    {
        return qsizetype(m_reading.entries.size()) + m_reading.skipped > kMaxPlaylistEntries ||
               m_pathChars > kMaxPlaylistPathChars;
    }

    // What was read, or the refusal of a playlist too large.
    PlaylistReadResult Result() &&
    {
        if (m_pathChars > kMaxPlaylistPathChars) {
            return TooLargeFailure(
                QStringLiteral("its paths take more than %1 characters in all").arg(kMaxPlaylistPathChars));
        }
        if (TooLarge())
            return TooManyEntries();
        PlaylistReadResult result;
        result.reading = std::move(m_reading);
        return result;
    }

private:
    PlaylistReading m_reading;
    qsizetype m_pathChars = 0;
};

PlaylistReadResult ReadM3u(QByteArrayView bytes, NotUtf8 pathsNotUtf8, const QString& folder)
{
    bytes = WithoutByteOrderMark(bytes);
    EntryList entries;
    QString title;
    double seconds = -1;
    ForEachLine(bytes, [&](QByteArrayView line) {
        if (line.isEmpty())
            return true;
        if (line.startsWith('#')) {
            // #EXTINF:seconds[ attributes],title
            if (line.size() >= 8 && QByteArrayView(line.first(8)).compare("#EXTINF:", Qt::CaseInsensitive) == 0) {
                const QByteArrayView info = line.sliced(8);
                const qsizetype comma = info.indexOf(',');
                QByteArrayView length = info.first(comma < 0 ? info.size() : comma).trimmed();
                if (const qsizetype space = length.indexOf(' '); space >= 0)
                    length = length.first(space);
                seconds = Seconds(length);
                title = comma < 0 ? QString() : DecodeLine(info.sliced(comma + 1), NotUtf8::Latin1);
            }
            return true;
        }
        const bool added = entries.Add(LocalFileOfLocation(DecodeLine(line, pathsNotUtf8), folder), std::move(title),
                                       seconds);
        title.clear();
        seconds = -1;
        return added;
    });
    return std::move(entries).Result();
}

struct PlsEntry {
    QString file;
    QString title;
    double seconds = -1;
};

PlaylistReadResult ReadPls(QByteArrayView bytes, const QString& folder)
{
    bytes = WithoutByteOrderMark(bytes);
    std::map<qulonglong, PlsEntry> numbered;
    bool seenPlaylist = false;
    bool inPlaylist = false;
    int lineNumber = 0;
    // Lines that are neither a section nor key=value, or that come before
    // [playlist]: other players pass over them, and so does this.
    int passedOver = 0;
    int firstPassedOver = 0;
    std::optional<PlaylistReadResult> failure;
    ForEachLine(bytes, [&](QByteArrayView line) {
        ++lineNumber;
        if (line.isEmpty() || line.startsWith(';') || line.startsWith('#'))
            return true;
        const qsizetype equals = line.indexOf('=');
        const bool section = line.startsWith('[') && line.endsWith(']');
        if (!section && (equals < 0 || !seenPlaylist)) {
            if (passedOver++ == 0)
                firstPassedOver = lineNumber;
            return true;
        }
        if (section) {
            inPlaylist = line.sliced(1, line.size() - 2).trimmed().compare("playlist", Qt::CaseInsensitive) == 0;
            seenPlaylist = seenPlaylist || inPlaylist;
            return true;
        }
        if (!inPlaylist)
            return true;
        const QByteArrayView key = line.first(equals).trimmed();
        const QByteArrayView value = line.sliced(equals + 1).trimmed();
        // FileN, TitleN, LengthN; NumberOfEntries and Version only repeat
        // what the entries say.
        for (const QByteArrayView field : {"File", "Title", "Length"}) {
            const QByteArrayView digits = key.sliced(std::min(field.size(), key.size()));
            if (key.first(key.size() - digits.size()).compare(field, Qt::CaseInsensitive) != 0)
                continue;
            bool ok = false;
            const qulonglong number = digits.toULongLong(&ok);
            if (!ok || !std::isdigit(static_cast<uchar>(digits.front())))
                return true;
            if (numbered.size() >= size_t(kMaxPlaylistEntries) && !numbered.contains(number)) {
                failure = TooManyEntries();
                return false;
            }
            PlsEntry& entry = numbered[number];
            if (field == "File")
                entry.file = DecodeLine(value, NotUtf8::Latin1);
            else if (field == "Title")
                entry.title = DecodeLine(value, NotUtf8::Latin1);
            else
                entry.seconds = Seconds(value);
            return true;
        }
        return true;
    });
    if (failure)
        return *failure;
    if (!seenPlaylist)
        return Failure(PlaylistStatus::Malformed, kMalformed, QStringLiteral("no [playlist] section"));
    EntryList entries;
    for (auto& [number, entry] : numbered) {
        if (!entry.file.isEmpty() && !entries.Add(LocalFileOfLocation(entry.file, folder), std::move(entry.title), entry.seconds))
            break;
    }
    PlaylistReadResult result = std::move(entries).Result();
    if (passedOver > 0 && result.status == PlaylistStatus::Ok) {
        result.detail = QStringLiteral("passed over %1 lines that are not key=value in [playlist] (the first: line %2)")
                            .arg(passedOver)
                            .arg(firstPassedOver);
    }
    return result;
}

// XSPF: reads the tracks of the track list; other elements (extensions,
// the playlist's own title, ...) are passed over.
class XspfReader {
public:
    XspfReader(QByteArrayView bytes, const QString& folder)
        : m_xml(QByteArray::fromRawData(bytes.data(), bytes.size())), m_folder(folder)
    {
    }

    PlaylistReadResult Read()
    {
        if (m_xml.readNextStartElement()) {
            m_namespace = m_xml.namespaceUri().toString();
            if (m_xml.name() != u"playlist" || !(m_namespace.isEmpty() || m_namespace == kXspfNamespace))
                return Failure(PlaylistStatus::Malformed, kMalformed, QStringLiteral("not an XSPF playlist"));
            while (m_xml.readNextStartElement()) {
                if (Is(u"trackList"))
                    ReadTracks();
                else
                    m_xml.skipCurrentElement();
            }
            // What follows the playlist must be well-formed too.
            while (!m_xml.atEnd())
                m_xml.readNext();
        }
        if (m_entries.TooLarge())
            return std::move(m_entries).Result();
        if (m_xml.hasError()) {
            return Failure(PlaylistStatus::Malformed, kMalformed,
                           QStringLiteral("line %1, column %2: %3")
                               .arg(m_xml.lineNumber())
                               .arg(m_xml.columnNumber())
                               .arg(m_xml.errorString()));
        }
        return std::move(m_entries).Result();
    }

private:
    bool Is(QStringView name) const { return m_xml.name() == name && m_xml.namespaceUri() == m_namespace; }

    void ReadTracks()
    {
        while (!m_entries.TooLarge() && m_xml.readNextStartElement()) {
            if (Is(u"track"))
                ReadTrack();
            else
                m_xml.skipCurrentElement();
        }
    }

    void ReadTrack()
    {
        bool located = false;
        std::vector<QString> files;  // the local files of its locations
        QString title;
        double seconds = -1;
        while (m_xml.readNextStartElement()) {
            if (Is(u"location")) {
                const QString text = m_xml.readElementText().trimmed();
                if (text.isEmpty())
                    continue;
                located = true;
                if (std::optional<QString> file = LocalFileOfLocation(text, m_folder, RelativeLocation::Uri))
                    files.push_back(std::move(*file));
            } else if (Is(u"title")) {
                title = m_xml.readElementText();
            } else if (Is(u"duration")) {
                seconds = Seconds(m_xml.readElementText().trimmed().toLatin1(), 1000);
            } else {
                m_xml.skipCurrentElement();
            }
        }
        if (located && !m_xml.hasError())
            m_entries.Add(ChosenFile(std::move(files)), std::move(title), seconds);
    }

    // Of the local files a track names, the first that exists, else the
    // first: the one another player would play.
    static std::optional<QString> ChosenFile(std::vector<QString> files)
    {
        // One file needs no look at the disk.
        if (files.size() > 1) {
            for (QString& file : files) {
                if (StatFile(file).exists)
                    return std::move(file);
            }
        }
        if (files.empty())
            return std::nullopt;
        return std::move(files.front());
    }

    QXmlStreamReader m_xml;
    QString m_folder;
    QString m_namespace;
    EntryList m_entries;
};

// Writing. The lines are joined with QStringBuilder's %, in one allocation
// each; a path, up to PATH_MAX bytes and thrice that as a URI, is appended
// to the text by itself, in one copy.

QByteArray FileUri(const QString& path)
{
    return "file://" + FileNameBytes(path).toPercentEncoding("/");
}

// Whether bytes hold a control character (C0, NUL included, or DEL), which
// a line of M3U or PLS cannot hold as it is.
bool HasControlCharacter(const QByteArray& bytes)
{
    static constexpr char kControlCharacters[] =
        "\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a\x0b\x0c\x0d\x0e\x0f"
        "\x10\x11\x12\x13\x14\x15\x16\x17\x18\x19\x1a\x1b\x1c\x1d\x1e\x1f\x7f";
    // strcspn stops at the first of them, or at a NUL: within the bytes or
    // the one that ends them.
    return static_cast<qsizetype>(std::strcspn(bytes.constData(), kControlCharacters)) < bytes.size();
}

// A path as M3U and PLS take it: plain where it reads back the same.
QByteArray PathText(const QString& path)
{
    if (!path.startsWith(u'/') || HasUndecodableBytes(path))
        return FileUri(path);
    // Without undecodable bytes, a name's bytes are its UTF-8.
    const QByteArray bytes = path.toUtf8();
    const bool plain = !bytes.endsWith(' ') && !bytes.endsWith('\t') && !HasControlCharacter(bytes);
    return plain ? bytes : FileUri(path);
}

// A title as the playlists take it: the characters XML 1.0 can hold, any
// other (a byte that is not UTF-8, a control character) as U+FFFD.
QString WritableText(QString text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        const bool pair = QChar::isHighSurrogate(unit) && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        if (pair)
            ++i;
        else if ((unit < 0x20 && unit != u'\t' && unit != u'\n' && unit != u'\r') || unit == 0xFFFE || unit == 0xFFFF ||
                 QChar::isSurrogate(unit))
            text[i] = QChar::ReplacementCharacter;
    }
    return text;
}

QByteArray OneLine(QString text)
{
    return WritableText(text.replace(u'\r', u' ').replace(u'\n', u' ')).toUtf8();
}

QByteArray WholeSeconds(double seconds)
{
    return QByteArray::number(IsKnownLength(seconds) ? std::llround(seconds) : -1);
}

QByteArray M3uText(const std::vector<PlaylistEntry>& entries)
{
    QByteArray text = "#EXTM3U\n";
    for (const PlaylistEntry& entry : entries) {
        if (!entry.title.isEmpty() || IsKnownLength(entry.seconds))
            text += "#EXTINF:" % WholeSeconds(entry.seconds) % ',' % OneLine(entry.title) % '\n';
        text += PathText(entry.path);
        text += '\n';
    }
    return text;
}

QByteArray PlsText(const std::vector<PlaylistEntry>& entries)
{
    QByteArray text = "[playlist]\n";
    for (size_t i = 0; i < entries.size(); ++i) {
        const QByteArray number = QByteArray::number(qulonglong{i} + 1);
        text += "File" % number % '=';
        text += PathText(entries[i].path);
        text += '\n';
        if (!entries[i].title.isEmpty())
            text += "Title" % number % '=' % OneLine(entries[i].title) % '\n';
        text += "Length" % number % '=' % WholeSeconds(entries[i].seconds) % '\n';
    }
    text += "NumberOfEntries=" % QByteArray::number(qulonglong{entries.size()}) % "\nVersion=2\n";
    return text;
}

QByteArray XspfText(const std::vector<PlaylistEntry>& entries)
{
    QByteArray text;
    QXmlStreamWriter xml(&text);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeDefaultNamespace(kXspfNamespace);
    xml.writeStartElement(kXspfNamespace, QStringLiteral("playlist"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1"));
    xml.writeStartElement(kXspfNamespace, QStringLiteral("trackList"));
    for (const PlaylistEntry& entry : entries) {
        xml.writeStartElement(kXspfNamespace, QStringLiteral("track"));
        xml.writeTextElement(kXspfNamespace, QStringLiteral("location"), QString::fromLatin1(FileUri(entry.path)));
        if (!entry.title.isEmpty())
            xml.writeTextElement(kXspfNamespace, QStringLiteral("title"), WritableText(entry.title));
        if (IsKnownLength(entry.seconds)) {
            xml.writeTextElement(kXspfNamespace, QStringLiteral("duration"),
                                 QString::number(std::llround(entry.seconds * 1000)));
        }
        xml.writeEndElement();
    }
    xml.writeEndDocument();
    return text;
}

}  // namespace

PlaylistEntry EntryOfObject(const QString& path, const QString& name, qint32 hundredths)
{
    return {path, name != path ? name : QString(), hundredths > 0 ? hundredths / 100.0 : -1};
}

std::optional<PlaylistFormat> PlaylistFormatOf(QStringView path)
{
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot < 0 || path.indexOf(u'/', dot) >= 0)
        return std::nullopt;
    const QStringView extension = path.sliced(dot + 1);
    for (const auto& [format, name] : kExtensions) {
        if (extension.compare(name, Qt::CaseInsensitive) == 0)
            return format;
    }
    return std::nullopt;
}

bool IsPlaylistFile(QStringView path)
{
    return PlaylistFormatOf(path).has_value();
}

QString ExportFileName(const QString& path, PlaylistFormat chosen)
{
    if (IsPlaylistFile(path))
        return path;
    const auto* chosenExtension = std::ranges::find(kExtensions, chosen, &FormatExtension::format);
    return path + u'.' + QString::fromUtf16(chosenExtension->name);
}

PlaylistReadResult ReadPlaylist(QByteArrayView bytes, PlaylistFormat format, const QString& folder)
{
    switch (format) {
    case PlaylistFormat::M3u:
    case PlaylistFormat::M3u8:
        return ReadM3u(bytes, format == PlaylistFormat::M3u8 ? NotUtf8::FileNameBytes : NotUtf8::Latin1, folder);
    case PlaylistFormat::Pls:
        return ReadPls(bytes, folder);
    case PlaylistFormat::Xspf:
        return XspfReader(bytes, folder).Read();
    }
    return {};
}

PlaylistReadResult ReadPlaylistFile(const QString& path)
{
    const auto read = [&path]() -> PlaylistReadResult {
        const std::optional<PlaylistFormat> format = PlaylistFormatOf(path);
        if (!format) {
            return Failure(PlaylistStatus::Malformed, QT_TRANSLATE_NOOP("Files", "ﾌﾟﾚｲﾘｽﾄではありません。"),
                           QString::fromUtf16(kNotAPlaylistName));
        }
        QFile file;
        ReadFailure failure;
        if (!OpenRegularFile(path, file, &failure))
            return Failure(PlaylistStatus::CannotOpen, failure.reason, failure.detail);
        if (file.size() > kMaxPlaylistBytes) {
            return Failure(PlaylistStatus::TooLarge, QT_TRANSLATE_NOOP("Files", "ﾌﾟﾚｲﾘｽﾄが大きすぎます。"),
                           QStringLiteral("the file is larger than %1 MB").arg(kMaxPlaylistBytes >> 20));
        }
        // What the file holds now: it may grow while it is read.
        const QByteArray bytes = file.read(file.size());
        if (file.error() != QFileDevice::NoError)
            return Failure(PlaylistStatus::CannotOpen, QT_TRANSLATE_NOOP("Files", "ファイルを読めません。"),
                           file.errorString());
        const QString absolute = AbsoluteFileName(path);
        return ReadPlaylist(bytes, *format, absolute.first(absolute.lastIndexOf(u'/')));
    };
    PlaylistReadResult result = read();
    if (result.status == PlaylistStatus::Ok && !result.detail.isEmpty())
        qCDebug(lcPlaylist).noquote() << "read" << path << "-" << result.detail;
    return result;
}

void LeaveOutMissingFiles(PlaylistReading& reading)
{
    reading.skipped += static_cast<int>(
        std::erase_if(reading.entries, [](const PlaylistEntry& entry) { return !StatFile(entry.path).exists; }));
}

QByteArray PlaylistText(const std::vector<PlaylistEntry>& entries, PlaylistFormat format)
{
    switch (format) {
    case PlaylistFormat::M3u:
    case PlaylistFormat::M3u8:
        return M3uText(entries);
    case PlaylistFormat::Pls:
        return PlsText(entries);
    case PlaylistFormat::Xspf:
        return XspfText(entries);
    }
    return {};
}

std::optional<WriteFailure> WritePlaylistFile(const QString& path, const std::vector<PlaylistEntry>& entries)
{
    const std::optional<PlaylistFormat> format = PlaylistFormatOf(path);
    if (!format)
        return WriteFailure{QCoreApplication::translate("Files", "ﾌﾟﾚｲﾘｽﾄの種類が分かりません。"),
                            QString::fromUtf16(kNotAPlaylistName)};
    const QByteArray text = PlaylistText(entries, *format);
    return ReplaceFile(path, [&text](QIODevice& file) { return file.write(text) == text.size(); });
}

}  // namespace kivo
