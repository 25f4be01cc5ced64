#include "ScenarioSamples.h"
#include "cutlist/Archive.h"

#include <QBuffer>

#include <gtest/gtest.h>

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

QString ReadBack(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    ArchiveReader archive(buffer);
    QString text = archive.ReadString("text");
    EXPECT_TRUE(archive.AtEnd());
    return text;
}

TEST(Archive, StringLengthPrefixesFollowTheFrameworkEncoding)
{
    struct Case {
        int length;
        QByteArray prefix;
    };
    const Case cases[] = {
        {0, Bytes().U8(0).Data()},
        {254, Bytes().U8(254).Data()},
        {255, Bytes().U8(0xFF).U16(255).Data()},
        {0xFFFD, Bytes().U8(0xFF).U16(0xFFFD).Data()},
        {0xFFFE, Bytes().U8(0xFF).U16(0xFFFF).U32(0xFFFE).Data()},
        {70000, Bytes().U8(0xFF).U16(0xFFFF).U32(70000).Data()},
    };
    for (const Case& test : cases) {
        const QString text(test.length, QLatin1Char('x'));
        const QByteArray bytes = Written(text);
        EXPECT_EQ(bytes, test.prefix + QByteArray(test.length, 'x')) << test.length;
        EXPECT_EQ(ReadBack(bytes), text) << test.length;
    }
}

TEST(Archive, TextOutsideCp932TakesTheWideForm)
{
    // A character outside the basic plane travels as its surrogate pair.
    EXPECT_EQ(Written(QStringLiteral("😀")), Bytes().U8(0xFF).U16(0xFFFE).U8(2).U16(0xD83D).U16(0xDE00).Data());
    EXPECT_EQ(ReadBack(Written(QStringLiteral("¥"))), QStringLiteral("¥"));
}

TEST(Archive, ReadsFailAtTheEndInsteadOfAllocating)
{
    const QByteArray huge = Bytes().U8(0xFF).U16(0xFFFF).U32(0xFFFFFFF0).Raw("abc").Data();
    QBuffer buffer;
    buffer.setData(huge);
    buffer.open(QIODevice::ReadOnly);
    ArchiveReader archive(buffer);
    EXPECT_THROW(archive.ReadString("path"), ArchiveEndsEarly);

    QBuffer wide;
    wide.setData(Bytes().U8(0xFF).U16(0xFFFE).U8(3).U16('a').Data());
    wide.open(QIODevice::ReadOnly);
    ArchiveReader wideArchive(wide);
    EXPECT_THROW(wideArchive.ReadString("name"), ArchiveEndsEarly);
}

}  // namespace
}  // namespace kivo
