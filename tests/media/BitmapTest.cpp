#include "media/Bitmap.h"
#include "media/Geometry.h"

#include <QFile>
#include <QTemporaryDir>

#include <QtEndian>

#include <gtest/gtest.h>

namespace kivo {
namespace {

TEST(SnapshotFile, TheHeaderPointsPastTheColourTableRowsGoBottomUpInBlueGreenRedAndWithoutAFrameNothingIsWritten)
{
    QImage frame(1, 2, QImage::Format_RGB32);
    frame.setPixel(0, 0, qRgb(1, 2, 3));  // top
    frame.setPixel(0, 1, qRgb(4, 5, 6));  // bottom
    const QByteArray file = SnapshotFileBytes(PackedBitmapFromImage(frame));
    // 62 bytes, the pixels from byte 54 on, rows padded to 4 bytes.
    EXPECT_EQ(std::tuple(file.left(6), qFromLittleEndian<quint32>(file.constData() + 10), file.mid(54)),
              std::tuple(QByteArray("BM\x3e\x00\x00\x00", 6), 54u, QByteArray("\x06\x05\x04\x00\x03\x02\x01\x00", 8)));

    // Colour tables, which move the pixels: the whole table of the bit
    // count, the colours used, the three masks of bit fields.
    for (const auto& [bits, compression, used, bytes] :
         {std::tuple(8, 0u, 0u, 1024), {8, 0u, 16u, 64}, {16, kBiBitfields, 0u, 12}, {24, 0u, 2u, 8}})
        EXPECT_EQ(ColourTableBytes(bits, compression, used), bytes) << bits << " " << used;
    // A header claiming more pixels than it carries gives no file.
    EXPECT_TRUE(SnapshotFileBytes(PackedBitmapFromImage(frame).left(45)).isEmpty());
    EXPECT_TRUE(SnapshotFileBytes(QByteArray(10, '\0')).isEmpty());

    // Without a frame nothing is written. (The file written is read back by
    // KvotoolSnapshot; a folder in the way is refused by the writer every
    // file shares, ScenarioFileTest.)
    QTemporaryDir folder;
    EXPECT_EQ(WriteSnapshotFile(folder.filePath("shot.bmp"), {}).value_or(WriteFailure{}).reason, "保存する画像がありません。");
    EXPECT_FALSE(QFile::exists(folder.filePath("shot.bmp")));
}

TEST(FitRect, KeepsTheAspectAndCentres)
{
    // A 4:3 frame in a thumbnail: 56 x 42 at x 1.
    EXPECT_EQ(FitRect(320, 240, {0, 0, 58, 42}, true), (EdgeRect{1, 0, 57, 42}));
    EXPECT_EQ(FitRect(320, 240, {0, 0, 352, 240}, false), (EdgeRect{0, 0, 320, 240}));
    // A wide frame in a square: the width limits.
    EXPECT_EQ(FitRect(200, 100, {10, 10, 110, 110}, true), (EdgeRect{10, 35, 110, 85}));
    // No video: the rectangle as it was.
    EXPECT_EQ(FitRect(0, 240, {0, 0, 58, 42}, true), (EdgeRect{0, 0, 58, 42}));
}

}  // namespace
}  // namespace kivo
