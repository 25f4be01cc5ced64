#include "cutlist/Thumbnail.h"

#include <QtEndian>

namespace kivo {

QImage ToListPicture(const QImage& picture)
{
    if (picture.isNull()) {
        // One card shared by every object without a picture.
        static const QImage card = [] {
            QImage white(kThumbnailWidth, kThumbnailHeight, QImage::Format_RGB32);
            white.fill(Qt::white);
            return white;
        }();
        return card;
    }
    QImage image = picture.convertToFormat(QImage::Format_RGB32);
    if (image.width() != kThumbnailWidth || image.height() != kThumbnailHeight)
        image = image.scaled(kThumbnailWidth, kThumbnailHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image;
}

// In memory an RGB32 pixel is the 32-bit value 0xFFRRGGBB; on disk it is
// the bytes B, G, R, 0, that is the same value without its top byte, in
// little-endian order.
QByteArray ThumbnailToBlock(const QImage& picture)
{
    const QImage image = ToListPicture(picture);
    QByteArray block(kThumbnailBlockBytes, Qt::Uninitialized);
    auto* out = reinterpret_cast<quint32*>(block.data());
    const uchar* line = image.constBits();
    for (int y = 0; y < kThumbnailHeight; ++y, line += image.bytesPerLine()) {
        const auto* pixels = reinterpret_cast<const quint32*>(line);
        for (int x = 0; x < kThumbnailWidth; ++x)
            *out++ = qToLittleEndian(pixels[x] & 0x00FFFFFFu);
    }
    return block;
}

void MakeBlockPictureOpaque(QImage& picture)
{
    const int width = picture.width();
    const qsizetype bytesPerLine = picture.bytesPerLine();
    uchar* line = picture.bits();
    for (int y = 0; y < picture.height(); ++y, line += bytesPerLine) {
        auto* pixels = reinterpret_cast<quint32*>(line);
        for (int x = 0; x < width; ++x)
            pixels[x] = qFromLittleEndian(pixels[x]) | 0xFF000000u;
    }
}

QImage ReduceThumbnail(const QImage& picture, bool keepDark)
{
    const QImage image = ToListPicture(picture);
    QImage small(kSmallImageWidth, kSmallImageHeight, QImage::Format_RGB32);
    for (int y = 0; y < kSmallImageHeight; ++y) {
        const auto* top = reinterpret_cast<const QRgb*>(image.constScanLine(2 * y));
        const auto* bottom = reinterpret_cast<const QRgb*>(image.constScanLine(2 * y + 1));
        auto* out = reinterpret_cast<QRgb*>(small.scanLine(y));
        for (int x = 0; x < kSmallImageWidth; ++x) {
            out[x] = keepDark ? (top[2 * x] & top[2 * x + 1] & bottom[2 * x] & bottom[2 * x + 1]) : top[2 * x];
        }
    }
    return small;
}

}  // namespace kivo
