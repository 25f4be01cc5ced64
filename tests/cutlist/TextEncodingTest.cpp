#include "cutlist/TextEncoding.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

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
}

TEST(TextEncoding, SortBytesFallBackToUtf8ForCharactersCp932Lacks)
{
    std::string bytes = "x";
    AppendCp932SortBytes(QStringLiteral("aé表ﾌ😀¥"), bytes);
    EXPECT_EQ(bytes, "xa\xc3\xa9\x95\x5c\xcc\xf0\x9f\x98\x80\x5c");
}

}  // namespace
}  // namespace kivo
