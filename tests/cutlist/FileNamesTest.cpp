#include "ByteFolder.h"
#include "cutlist/FileNames.h"

#include <QUrl>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string_view>
#include <utility>

namespace kivo {
namespace {

using namespace Qt::StringLiterals;

TEST(FileNames, EveryByteStringComesBackAsItWas)
{
    for (const char* bytes : {
             "/m/bad\xff\xfe.avi",
             "/m/\x83\x72\x83\x66\x83\x49.avi",  // ビデオ in Shift-JIS
             "/m/\xe3\x81.avi",                  // a sequence cut short
             "/m/\xc0\xaf\xed\xa0\x80\xf8\x88\x80\x80\x80",  // overlong, a surrogate, five bytes
             "/m/\xf0\x9f\x92\xa9.avi",  // U+1F4A9: its low surrogate is U+DCA9
         })
        EXPECT_EQ(FileNameBytes(FileNameFromBytes(bytes)), QByteArray(bytes)) << bytes;
    EXPECT_EQ(FileNameFromBytes("/m/bad\xff\xfe.avi"), u"/m/bad"_s + QChar(0xDCFF) + QChar(0xDCFE) + u".avi"_s);
    // (Names in UTF-8 are the playlist readers' cases.)
    // The bytes of a byte-order mark are part of a name, wherever they are.
    EXPECT_EQ(FileNameFromBytes("\xff\xef\xbb\xbf" "a"), QString(QChar(0xDCFF)) + u"\uFEFFa"_s);
    EXPECT_EQ(FileNameFromBytes("\xef\xbb\xbf" "a"), u"\uFEFFa"_s);
    // (A name of escapes is refused by the writer, ScenarioFileTest.)
    EXPECT_FALSE(HasUndecodableBytes(FileNameFromBytes("\xf0\x9f\x92\xa9")));
    // A name of Shift-JIS bytes is mostly escapes, among runs that decode.
    const QByteArray shiftJis = QByteArray("/m/\x83\x72\x83\x66" "a\x83\x49/").repeated(500);
    EXPECT_EQ(FileNameBytes(FileNameFromBytes(shiftJis)), shiftJis);
    // Surrogates without their other half that are no escapes, as a name
    // from elsewhere may hold them, are what toUtf8 makes of them; a pair
    // is its character, whatever the range of its second half.
    const auto name = [](std::u16string_view units) { return QString::fromUtf16(units.data(), units.size()); };
    const QString loneSurrogates = name(u"\xD800" u"a\xDCFF\xDC00\xD83D\xDCA9\xDCA9\xD83D");
    EXPECT_EQ(FileNameBytes(loneSurrogates), QByteArray("?a\xff?\xf0\x9f\x92\xa9\xa9?"));
    EXPECT_TRUE(HasUndecodableBytes(loneSurrogates));
    EXPECT_FALSE(HasUndecodableBytes(name(u"\xD800" u"a\xDC00\xD83D\xDCA9")));

    EXPECT_EQ(PrintableFileName(FileNameFromBytes("a\xff\x1b[31m\nb\\c\td\r\x7f")), u"a\\xff\\x1b[31m\\nb\\\\c\\td\\r\\x7f"_s);
    EXPECT_EQ(PrintableFileName(u"名前\u0085.avi"_s), u"名前\\u0085.avi"_s);
}

// A relative name, also one of bytes that are not UTF-8, is taken from the
// current folder in kvotool's create case (KvotoolTest). The readers' own
// cases (PlaylistsTest) and the remote control's (MprisTest) go through the
// locations too: the URLs of other schemes that name no file are theirs.
TEST(FileNames, AbsoluteNamesAreCleanAndStayAtTheRootAndLocationsNameCleanLocalFilesOrNone)
{
    EXPECT_EQ(AbsoluteFileName(u"/../m/./link//../x.avi"_s), u"/m/x.avi"_s);
    const QString folder = u"/lists"_s;
    const std::pair<QString, std::optional<QString>> cases[] = {
        {"/tmp/../../etc/shadow", "/etc/shadow"}, {"/..", "/"}, {"/../../a/./b/", "/a/b"},
        {"/.../x", "/.../x"}, {"/..x/y", "/..x/y"},
        // Escapes are decoded before the path is cleaned.
        {"file:///tmp/%2E%2E/x%2f..%2fy", "/y"},
        {"FILE:///m/%E9%9F%B3.mp3", u"/m/音.mp3"_s},
        {"file:///m/bad%FF.mp3", FileNameFromBytes("/m/bad\xff.mp3")},
        {QUrl::fromLocalFile(u"/tmp/名前 #1 100%?.avi"_s).toString(QUrl::FullyEncoded), u"/tmp/名前 #1 100%?.avi"_s},
        {u"a\0b.mp3"_s, std::nullopt},
        {"/" + QString(4094, u'a'), "/" + QString(4094, u'a')},
        // Relative to the folder: plain steps are joined as they are, any
        // other is cleaned; the path may grow beyond what the system takes,
        // by one byte, or come back within it as it is cleaned.
        {"sub/a.mp3", "/lists/sub/a.mp3"}, {"../x", "/x"}, {".hidden/./a//b/", "/lists/.hidden/a/b"},
        {QString(4088, u'a'), "/lists/" + QString(4088, u'a')}, {QString(4089, u'a'), std::nullopt},
        {QString(4089, u'a') + "/..", "/lists"},
    };
    for (const auto& [location, file] : cases)
        EXPECT_EQ(LocalFileOfLocation(location, folder), file) << PrintableFileName(location.left(80)).toStdString();
    // The folder of a playlist at the root is empty, or the root itself.
    EXPECT_EQ(LocalFileOfLocation(u"a.mp3"_s, QString()), u"/a.mp3"_s);
    EXPECT_EQ(LocalFileOfLocation(u"a.mp3"_s, u"/"_s), u"/a.mp3"_s);
}

TEST(FileNames, NamesTheSystemWouldCutShortOrRefuseAreUnreachable)
{
    // PATH_MAX (4,096) bytes with the NUL that ends a name, counted in bytes:
    // 1,365 characters of three bytes each fit, 1,366 do not. (A NUL, and
    // the longest name of one byte a character, are the readers' and the
    // locations' cases.)
    const std::pair<QString, bool> names[] = {
        {QString(4096, u'a'), false},    {QString(1365, QChar(0x97F3)), true},
        {QString(1366, QChar(0x97F3)), false}, {FileNameFromBytes(QByteArray(4095, '\xff')), true},
        // An escaped byte is one byte among characters of three.
        {FileNameFromBytes(QByteArray(2000, '\xff') + QByteArray("音").repeated(698)), true},
        {FileNameFromBytes(QByteArray(2000, '\xff') + QByteArray("音").repeated(699)), false},
    };
    for (const auto& [name, reachable] : names)
        EXPECT_EQ(IsReachableFileName(name), reachable) << name.size();
    // A dropped URL too: cut short at the NUL, it would name another file.
    EXPECT_TRUE(FileNameOfUrl(QUrl(u"file:///tmp/a.avi%00.kvo"_s)).isEmpty());
}

// (The same file named through "..", as an open may name it, is the document
// file test's.)
TEST(FileNames, OneFileIsKnownUnderEachOfItsNames)
{
    const test::ByteFolder folder;
    const QString file = FileNameFromBytes(folder.Write("list\xff.kvo", "KivoDSv30"));
    const QString other = FileNameFromBytes(folder.Write("other.kvo", "KivoDSv30"));
    const QString link = FileNameFromBytes(folder.Path("link.kvo"));
    std::filesystem::create_symlink(FileNameBytes(file).toStdString(), FileNameBytes(link).toStdString());
    // `other` has the same contents.
    EXPECT_EQ(std::tuple(IsSameFile(link, file), IsSameFile(file, other), IsSameFile(file, folder.path() + u"/gone.kvo"_s),
                         IsSameFile(QString(), QString())),
              std::tuple(true, false, false, false));
}

}  // namespace
}  // namespace kivo
