#include "ByteFolder.h"
#include "cutlist/FileNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <gtest/gtest.h>

#include <filesystem>

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
}

TEST(FileNames, AbsoluteNamesAreCleanAndKeepTheirLinks)
{
    EXPECT_EQ(AbsoluteFileName(QStringLiteral("clip.avi")), QDir::currentPath() + QStringLiteral("/clip.avi"));
    EXPECT_EQ(AbsoluteFileName(QStringLiteral("/m/./link//../x.avi")), QStringLiteral("/m/x.avi"));
    const QString escaped = FileNameFromBytes("d\xff/x.avi");
    EXPECT_EQ(FileNameBytes(AbsoluteFileName(escaped)), QFile::encodeName(QDir::currentPath()) + "/d\xff/x.avi");
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
