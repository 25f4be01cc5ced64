#include "TestFiles.h"
#include "media/Bitmap.h"

#include <QTemporaryDir>

#include <QtEndian>

#include <gtest/gtest.h>

namespace kivo {
namespace {

quint32 U32(const QByteArray& bytes, int offset)
{
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}

// A packed bitmap header with the given format and no pixels beyond `image`.
QByteArray Header(int bitCount, quint32 compression, quint32 coloursUsed, quint32 imageSize)
{
    QByteArray header(40, '\0');
    qToLittleEndian<quint32>(40, header.data());
    qToLittleEndian<quint16>(static_cast<quint16>(bitCount), header.data() + 14);
    qToLittleEndian<quint32>(compression, header.data() + 16);
    qToLittleEndian<quint32>(imageSize, header.data() + 20);
    qToLittleEndian<quint32>(coloursUsed, header.data() + 32);
    return header + QByteArray(static_cast<qsizetype>(1024 + imageSize), '\0');
}

TEST(SnapshotFile, HeaderOfA24BitFrameAndColourTablesThatMoveThePixels)
{
    QImage frame(320, 240, QImage::Format_RGB32);
    frame.fill(Qt::black);
    const QByteArray file = SnapshotFileBytes(PackedBitmapFromImage(frame));
    EXPECT_EQ(file.left(6), QByteArray("BM\x36\x84\x03\x00", 6));  // 230,454 bytes
    EXPECT_EQ(U32(file, 10), 54u);

    EXPECT_EQ(U32(SnapshotFileBytes(Header(8, 0, 0, 16)), 10), 1078u);
    EXPECT_EQ(U32(SnapshotFileBytes(Header(8, 0, 16, 16)), 10), 14u + 40u + 64u);
    EXPECT_EQ(U32(SnapshotFileBytes(Header(16, kBiBitfields, 0, 16)), 10), 66u);
    EXPECT_EQ(ColourTableBytes(1, 0, 0), 8);
    EXPECT_EQ(ColourTableBytes(4, 0, 0), 64);
    EXPECT_EQ(ColourTableBytes(24, 0, 2), 8);
    // A header claiming more pixels than it carries gives no file.
    QByteArray shortBitmap = Header(24, 0, 0, 16).left(50);
    EXPECT_TRUE(SnapshotFileBytes(shortBitmap).isEmpty());
    EXPECT_TRUE(SnapshotFileBytes(QByteArray(10, '\0')).isEmpty());
}

TEST(SnapshotFile, RowsGoBottomUpInBlueGreenRedPaddedToFourBytes)
{
    QImage frame(1, 2, QImage::Format_RGB32);
    frame.setPixel(0, 0, qRgb(1, 2, 3));  // top
    frame.setPixel(0, 1, qRgb(4, 5, 6));  // bottom
    const QByteArray bitmap = PackedBitmapFromImage(frame);
    ASSERT_EQ(bitmap.size(), 40 + 2 * 4);
    EXPECT_EQ(bitmap.mid(40), QByteArray("\x06\x05\x04\x00\x03\x02\x01\x00", 8));
}

TEST(SnapshotFile, IsWrittenOrSaysWhyNotAsEveryWriterDoes)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("shot.bmp");
    const QByteArray bitmap = PackedBitmapFromImage(QImage(2, 2, QImage::Format_RGB32));
    ASSERT_EQ(WriteSnapshotFile(path, bitmap), std::nullopt);
    EXPECT_EQ(test::ReadFile(path), SnapshotFileBytes(bitmap));

    const std::optional<WriteFailure> noFrame = WriteSnapshotFile(path, {});
    ASSERT_TRUE(noFrame);
    EXPECT_EQ(noFrame->reason, "保存する画像がありません。");
    EXPECT_EQ(noFrame->detail, "there is no frame to write");
    const std::optional<WriteFailure> folderInTheWay = WriteSnapshotFile(folder.path(), bitmap);
    ASSERT_TRUE(folderInTheWay);
    EXPECT_EQ(folderInTheWay->reason, "フォルダです。");
    EXPECT_EQ(test::ReadFile(path), SnapshotFileBytes(bitmap));
}

}  // namespace
}  // namespace kivo
