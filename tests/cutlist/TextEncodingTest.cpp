#include "cutlist/TextEncoding.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

TEST(TextEncoding, EncodesJapaneseAndHalfWidthKatakanaAsShiftJisOrNotAtAll)
{
    EXPECT_EQ(EncodeCp932(QStringLiteral("ビデオ名前")), QByteArray("\x83\x72\x83\x66\x83\x49\x96\xbc\x91\x4f"));
    EXPECT_EQ(EncodeCp932(QStringLiteral("ﾌｧｲﾙ")), QByteArray("\xcc\xa7\xb2\xd9"));
    EXPECT_EQ(EncodeCp932(QStringLiteral("a\\b~")), QByteArray("a\\b~"));
    EXPECT_EQ(EncodeCp932(QString()), QByteArray());
    // Text that would not read back is refused.
    EXPECT_FALSE(EncodeCp932(QStringLiteral("café")).has_value());
    EXPECT_FALSE(EncodeCp932(QStringLiteral("😀")).has_value());
    // CP932 writes the yen sign as 0x5C, which reads back as a backslash.
    EXPECT_FALSE(EncodeCp932(QStringLiteral("¥100")).has_value());
}

TEST(TextEncoding, DecodesShiftJisIncludingTrailBackslashAndInvalidBytesAsReplacements)
{
    EXPECT_EQ(DecodeCp932("\x95\x5c\x83\x72"), QStringLiteral("表ビ"));
    EXPECT_EQ(DecodeCp932("plain"), QStringLiteral("plain"));
    // A lone lead byte at the end and an undefined byte in the middle.
    EXPECT_EQ(DecodeCp932("a\xff" "b\x83"), QStringLiteral("a\uFFFDb\uFFFD"));
}

TEST(TextEncoding, SortBytesFallBackToUtf8ForCharactersCp932Lacks)
{
    std::string bytes = "x";
    AppendCp932SortBytes(QStringLiteral("aé表ﾌ😀¥"), bytes);
    EXPECT_EQ(bytes, "xa\xc3\xa9\x95\x5c\xcc\xf0\x9f\x98\x80\x5c");
}

}  // namespace
}  // namespace kivo
