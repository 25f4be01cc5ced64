#include "ScenarioSamples.h"
#include "cutlist/Archive.h"
#include "cutlist/TextEncoding.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <utility>

namespace kivo {
namespace {

using samples::Bytes;

QByteArray Written(const QString& text)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ArchiveWriter archive(buffer);
    archive.WriteString(text);
    EXPECT_TRUE(archive.Finish());
    return buffer.data();
}

// The one string that the bytes hold.
QString ReadBack(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    ArchiveReader archive(buffer);
    QString text = archive.ReadString("text");
    EXPECT_TRUE(archive.AtEnd());
    return text;
}

TEST(Archive, StringsFollowTheFrameworkEncoding)
{
    const std::pair<int, QByteArray> prefixes[] = {
        {0, Bytes().U8(0).Data()},
        {254, Bytes().U8(254).Data()},
        {255, Bytes().U8(0xFF).U16(255).Data()},
        {0xFFFD, Bytes().U8(0xFF).U16(0xFFFD).Data()},
        {0xFFFE, Bytes().U8(0xFF).U16(0xFFFF).U32(0xFFFE).Data()},
    };
    for (const auto& [length, prefix] : prefixes) {
        const QString text(length, u'x');
        EXPECT_EQ(Written(text), prefix + QByteArray(length, 'x')) << length;
        EXPECT_EQ(ReadBack(Written(text)), text) << length;
    }
    // Text outside CP932 takes the wide form, a character outside the basic
    // plane as its surrogate pair.
    EXPECT_EQ(Written(QStringLiteral("😀")), Bytes().U8(0xFF).U16(0xFFFE).U8(2).U16(0xD83D).U16(0xDE00).Data());
    EXPECT_EQ(ReadBack(Written(QStringLiteral("¥"))), QStringLiteral("¥"));
}

TEST(Archive, ReadsFailAtTheEndInsteadOfAllocating)
{
    // A length of 4 GB before three bytes; a wide string one unit short.
    for (const QByteArray& bytes : {Bytes().U8(0xFF).U16(0xFFFF).U32(0xFFFFFFF0).Raw("abc").Data(),
                                    Bytes().U8(0xFF).U16(0xFFFE).U8(3).U16('a').Data()})
        EXPECT_THROW(ReadBack(bytes), ArchiveEndsEarly);
}

// The strings of the archive are Shift-JIS where they read back as written.
TEST(TextEncoding, ShiftJisIsWrittenOnlyWhereItReadsBackAndReadWithReplacements)
{
    EXPECT_EQ(EncodeCp932(QStringLiteral("ビデオ名前ﾌｧｲﾙa\\b~")),
              QByteArray("\x83\x72\x83\x66\x83\x49\x96\xbc\x91\x4f\xcc\xa7\xb2\xd9" "a\\b~"));
    EXPECT_EQ(EncodeCp932(QString()), QByteArray());
    // CP932 writes the yen sign as 0x5C, which reads back as a backslash.
    for (const char* refused : {"café", "😀", "¥100"})
        EXPECT_FALSE(EncodeCp932(QString::fromUtf8(refused)).has_value()) << refused;

    // A trail byte 0x5C; a lone lead byte at the end and an undefined byte.
    EXPECT_EQ(DecodeCp932("\x95\x5c\x83\x72"), QStringLiteral("表ビ"));
    EXPECT_EQ(DecodeCp932("a\xff" "b\x83"), QStringLiteral("a\uFFFDb\uFFFD"));
    // Sort bytes fall back to UTF-8 for characters CP932 lacks.
    std::string bytes = "x";
    AppendCp932SortBytes(QStringLiteral("aé表ﾌ😀¥"), bytes);
    EXPECT_EQ(bytes, "xa\xc3\xa9\x95\x5c\xcc\xf0\x9f\x98\x80\x5c");
}

}  // namespace
}  // namespace kivo
