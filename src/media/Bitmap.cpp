#include "media/Bitmap.h"

#include <QCoreApplication>
#include <QtEndian>

namespace kivo {
namespace {

template <typename T>
void Put(QByteArray& bytes, qsizetype offset, T value)
{
    qToLittleEndian(value, bytes.data() + offset);
}

template <typename T>
T Get(const QByteArray& bytes, qsizetype offset)
{
    return qFromLittleEndian<T>(bytes.constData() + offset);
}

}  // namespace

int ColourTableBytes(int bitCount, quint32 compression, quint32 coloursUsed)
{
    switch (bitCount) {
    case 1:
        return 8;
    case 4:
        return 64;
    case 8:
        return coloursUsed == 0 ? 1024 : static_cast<int>(4 * coloursUsed);
    case 16:
    case 32:
        return (compression == kBiBitfields ? 12 : 0) + static_cast<int>(4 * coloursUsed);
    case 24:
        return static_cast<int>(4 * coloursUsed);
    default:
        return 0;
    }
}

QByteArray PackedBitmapFromImage(const QImage& frame)
{
    const QImage rgb = frame.convertToFormat(QImage::Format_RGB888);
    const int width = rgb.width();
    const int height = rgb.height();
    const qsizetype stride = (static_cast<qsizetype>(width) * 3 + 3) & ~qsizetype{3};
    const qsizetype imageSize = stride * height;
    QByteArray bitmap(kBitmapInfoHeaderBytes + imageSize, '\0');
    Put<quint32>(bitmap, 0, kBitmapInfoHeaderBytes);
    Put<qint32>(bitmap, 4, width);
    Put<qint32>(bitmap, 8, height);  // positive: rows from the bottom up
    Put<quint16>(bitmap, 12, 1);     // planes
    Put<quint16>(bitmap, 14, 24);    // bits per pixel
    Put<quint32>(bitmap, 16, 0);     // BI_RGB
    Put<quint32>(bitmap, 20, static_cast<quint32>(imageSize));
    for (int y = 0; y < height; ++y) {
        const uchar* in = rgb.constScanLine(height - 1 - y);
        auto* out = reinterpret_cast<uchar*>(bitmap.data()) + kBitmapInfoHeaderBytes + y * stride;
        for (int x = 0; x < width; ++x, in += 3, out += 3) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
        }
    }
    return bitmap;
}

QByteArray SnapshotFileBytes(const QByteArray& packedBitmap)
{
    if (packedBitmap.size() < kBitmapInfoHeaderBytes)
        return {};
    const auto headerSize = Get<quint32>(packedBitmap, 0);
    const int colourTable =
        ColourTableBytes(Get<quint16>(packedBitmap, 14), Get<quint32>(packedBitmap, 16), Get<quint32>(packedBitmap, 32));
    const quint32 pixelOffset = kBitmapFileHeaderBytes + headerSize + static_cast<quint32>(colourTable);
    const quint32 fileSize = pixelOffset + Get<quint32>(packedBitmap, 20);
    if (fileSize < kBitmapFileHeaderBytes || fileSize - kBitmapFileHeaderBytes > static_cast<quint32>(packedBitmap.size()))
        return {};
    QByteArray file(kBitmapFileHeaderBytes, '\0');
    file[0] = 'B';
    file[1] = 'M';
    Put<quint32>(file, 2, fileSize);
    Put<quint32>(file, 10, pixelOffset);
    file.append(packedBitmap.constData(), fileSize - kBitmapFileHeaderBytes);
    return file;
}

std::optional<WriteFailure> WriteSnapshotFile(const QString& path, const QByteArray& packedBitmap)
{
    const QByteArray bytes = SnapshotFileBytes(packedBitmap);
    if (bytes.isEmpty())
        return WriteFailure{QCoreApplication::translate("Bitmap", "保存する画像がありません。"),
                            QStringLiteral("there is no frame to write")};
    return ReplaceFile(path, [&bytes](QIODevice& file) { return file.write(bytes) == bytes.size(); });
}

}  // namespace kivo
