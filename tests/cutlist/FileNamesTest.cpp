#include "ByteFolder.h"
#include "cutlist/FileNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <utility>

namespace kivo {
namespace {

QString Escaped(const char* utf8, std::initializer_list<uchar> bytes, const char* tail)
{
    QString name = QString::fromUtf8(utf8);
    for (uchar byte : bytes)
        name += QChar(static_cast<char16_t>(0xDC00 | byte));
    return name + QString::fromUtf8(tail);
}

TEST(FileNames, EveryByteStringComesBackAsItWas)
{
    for (const char* bytes : {
             "/m/bad\xff\xfe.avi",
             "/m/\x83\x72\x83\x66\x83\x49.avi",  // ビデオ in Shift-JIS
             "/m/\xe3\x81.avi",                  // a sequence cut short
             "/m/\xc0\xaf\xed\xa0\x80\xf8\x88\x80\x80\x80",  // overlong, a surrogate, five bytes
             "/m/名前.avi",
             "/m/\xf0\x9f\x92\xa9.avi",  // U+1F4A9: its low surrogate is U+DCA9
         }) {
        const QString name = FileNameFromBytes(bytes);
        EXPECT_EQ(FileNameBytes(name), QByteArray(bytes)) << bytes;
    }
    EXPECT_EQ(FileNameFromBytes("/m/bad\xff\xfe.avi"), Escaped("/m/bad", {0xFF, 0xFE}, ".avi"));
    EXPECT_EQ(FileNameFromBytes("\xe3\x81" "A"), Escaped("", {0xE3, 0x81}, "A"));
    EXPECT_EQ(FileNameFromBytes("/m/名前.avi"), QStringLiteral("/m/名前.avi"));
    // The bytes of a byte-order mark are part of a name, wherever they are.
    EXPECT_EQ(FileNameFromBytes("\xef\xbb\xbf" "a"), QStringLiteral("\uFEFFa"));
    EXPECT_EQ(FileNameFromBytes("\xff\xef\xbb\xbf" "a"), QString(QChar(0xDCFF)) + QStringLiteral("\uFEFFa"));
    EXPECT_TRUE(HasUndecodableBytes(FileNameFromBytes("\x83\x72")));
    EXPECT_FALSE(HasUndecodableBytes(FileNameFromBytes("\xf0\x9f\x92\xa9")));
}

TEST(FileNames, PrintableFormShowsWhatTheNameHolds)
{
    EXPECT_EQ(PrintableFileName(FileNameFromBytes("a\xff\x1b[31m\nb\\c\td\r\x7f")),
              QStringLiteral("a\\xff\\x1b[31m\\nb\\\\c\\td\\r\\x7f"));
    EXPECT_EQ(PrintableFileName(QStringLiteral("名前\u0085.avi")), QStringLiteral("名前\\u0085.avi"));
}

TEST(FileNames, UrlsKeepTheirBytes)
{
    EXPECT_EQ(FileNameOfUrl(QUrl(QStringLiteral("file:///tmp/bad%FF%FE.avi"))), Escaped("/tmp/bad", {0xFF, 0xFE}, ".avi"));
    const QString odd = QStringLiteral("/tmp/名前 #1 100%?.avi");
    EXPECT_EQ(FileNameOfUrl(QUrl::fromLocalFile(odd)), odd);
    EXPECT_TRUE(FileNameOfUrl(QUrl(QStringLiteral("https://example.org/a.avi"))).isEmpty());
    // Never cut short at a NUL into another file's name.
    EXPECT_TRUE(FileNameOfUrl(QUrl(QStringLiteral("file:///tmp/a.avi%00.kvo"))).isEmpty());
}

TEST(FileNames, AbsoluteNamesAreCleanAndKeepTheirLinks)
{
    EXPECT_EQ(AbsoluteFileName(QStringLiteral("clip.avi")), QDir::currentPath() + QStringLiteral("/clip.avi"));
    EXPECT_EQ(AbsoluteFileName(QStringLiteral("/m/./link//../x.avi")), QStringLiteral("/m/x.avi"));
    const QString escaped = FileNameFromBytes("d\xff/x.avi");
    EXPECT_EQ(FileNameBytes(AbsoluteFileName(escaped)), QFile::encodeName(QDir::currentPath()) + "/d\xff/x.avi");
}

TEST(FileNames, CleanNamesStayAtTheRoot)
{
    EXPECT_EQ(CleanFileName(QStringLiteral("/tmp/../../etc/shadow")), QStringLiteral("/etc/shadow"));
    EXPECT_EQ(CleanFileName(QStringLiteral("/..")), QStringLiteral("/"));
    EXPECT_EQ(CleanFileName(QStringLiteral("/../../a/./b/")), QStringLiteral("/a/b"));
    EXPECT_EQ(CleanFileName(QStringLiteral("/.../x")), QStringLiteral("/.../x"));
    EXPECT_EQ(CleanFileName(QStringLiteral("/..x/y")), QStringLiteral("/..x/y"));
    EXPECT_EQ(AbsoluteFileName(QStringLiteral("/../m//x.avi")), QStringLiteral("/m/x.avi"));
}

TEST(FileNames, NamesTheSystemWouldCutShortOrRefuseAreUnreachable)
{
    using namespace Qt::StringLiterals;
    EXPECT_TRUE(IsReachableFileName(u"/m/a.avi"));
    EXPECT_FALSE(IsReachableFileName(u"/m/a\0b.avi"_s));
    EXPECT_FALSE(IsReachableFileName(u"\0"_s));
    // PATH_MAX (4,096) bytes with the NUL that ends a name.
    EXPECT_TRUE(IsReachableFileName(QString(4095, u'a')));
    EXPECT_FALSE(IsReachableFileName(QString(4096, u'a')));
    // Counted in bytes: 1,365 characters of three bytes each fit, 1,366 do not.
    EXPECT_TRUE(IsReachableFileName(QString(1365, QChar(0x97F3))));
    EXPECT_FALSE(IsReachableFileName(QString(1366, QChar(0x97F3))));
    EXPECT_TRUE(IsReachableFileName(FileNameFromBytes(QByteArray(4095, '\xff'))));
}

TEST(FileNames, LocationsNameCleanLocalFilesOrNone)
{
    using namespace Qt::StringLiterals;
    const QString folder = QStringLiteral("/lists");
    const std::pair<QString, std::optional<QString>> cases[] = {
        // Escapes are decoded before the path is cleaned.
        {"file:///tmp/%2e%2e/%2e%2e/etc/shadow", "/etc/shadow"},
        {"file:///tmp/%2E%2E/x%2f..%2fy", "/y"},
        {"/tmp/../../etc/passwd", "/etc/passwd"},
        {"../../../up.mp3", "/up.mp3"},
        {"sub/./a.mp3", "/lists/sub/a.mp3"},
        {"file://localhost/m/l.mp3", "/m/l.mp3"},
        {"FILE:///m/%E9%9F%B3.mp3", u"/m/音.mp3"_s},
        {"file:///m/bad%FF.mp3", FileNameFromBytes("/m/bad\xff.mp3")},
        {"file://otherhost/share/s.mp3", std::nullopt},
        {"http://example.org/a.mp3", std::nullopt},
        {"file:///m/a%00b.mp3", std::nullopt},
        {u"/m/a\0b.mp3"_s, std::nullopt},
        {u"a\0b.mp3"_s, std::nullopt},
        {"/" + QString(4094, u'a'), "/" + QString(4094, u'a')},
        {"/" + QString(4095, u'a'), std::nullopt},
        // Relative to the folder, the path grows beyond what the system takes.
        {QString(4089, u'a'), std::nullopt},
    };
    for (const auto& [location, file] : cases)
        EXPECT_EQ(LocalFileOfLocation(location, folder), file) << PrintableFileName(location.left(80)).toStdString();

    // A relative URI reference, as XSPF has them.
    EXPECT_EQ(LocalFileOfLocation(u"sub/My%20Song.mp3", folder, RelativeLocation::Uri), "/lists/sub/My Song.mp3");
    EXPECT_EQ(LocalFileOfLocation(u"%2e%2e/%2e%2e/x.mp3", folder, RelativeLocation::Uri), "/x.mp3");
    EXPECT_EQ(LocalFileOfLocation(u"sub%00/x.mp3", folder, RelativeLocation::Uri), std::nullopt);
}

TEST(FileNames, OneFileIsKnownUnderEachOfItsNames)
{
    const test::ByteFolder folder;
    const QString file = FileNameFromBytes(folder.Write("list\xff.kvo", "KivoDSv30"));
    const QString other = FileNameFromBytes(folder.Write("other.kvo", "KivoDSv30"));
    const QString link = FileNameFromBytes(folder.Path("link.kvo"));
    std::filesystem::create_symlink(FileNameBytes(file).toStdString(), FileNameBytes(link).toStdString());
    EXPECT_TRUE(IsSameFile(file, file));
    EXPECT_TRUE(IsSameFile(file, folder.path() + QStringLiteral("/./../") + QFileInfo(folder.path()).fileName() +
                                     QStringLiteral("/") + file.section(u'/', -1)));
    EXPECT_TRUE(IsSameFile(link, file));
    EXPECT_FALSE(IsSameFile(file, other));  // the same contents
    EXPECT_FALSE(IsSameFile(file, folder.path() + QStringLiteral("/gone.kvo")));
    EXPECT_FALSE(IsSameFile(QString(), QString()));
}

}  // namespace
}  // namespace kivo
