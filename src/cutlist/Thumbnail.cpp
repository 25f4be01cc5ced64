#include "Thumbnail.h"

namespace kivo {

QImage ToListPicture(const QImage& picture)
{
    if (picture.isNull()) {
        QImage card(kThumbnailWidth, kThumbnailHeight, QImage::Format_RGB32);
        card.fill(Qt::white);
        return card;
    }
    QImage image = picture.convertToFormat(QImage::Format_RGB32);
    if (image.width() != kThumbnailWidth || image.height() != kThumbnailHeight)
        image = image.scaled(kThumbnailWidth, kThumbnailHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image;
}

QByteArray ThumbnailToBlock(const QImage& picture)
{
    const QImage image = ToListPicture(picture);
    QByteArray block(kThumbnailBlockBytes, Qt::Uninitialized);
    auto* out = reinterpret_cast<uchar*>(block.data());
    for (int y = 0; y < kThumbnailHeight; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < kThumbnailWidth; ++x, out += 4) {
            out[0] = static_cast<uchar>(qBlue(line[x]));
            out[1] = static_cast<uchar>(qGreen(line[x]));
            out[2] = static_cast<uchar>(qRed(line[x]));
            out[3] = 0;
        }
    }
    return block;
}

Thumbnail ThumbnailFromBlock(QByteArrayView block)
{
    if (block.size() != kThumbnailBlockBytes)
        return nullptr;
    auto image = std::make_shared<QImage>(kThumbnailWidth, kThumbnailHeight, QImage::Format_RGB32);
    const auto* in = reinterpret_cast<const uchar*>(block.data());
    for (int y = 0; y < kThumbnailHeight; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image->scanLine(y));
        for (int x = 0; x < kThumbnailWidth; ++x, in += 4)
            line[x] = qRgb(in[2], in[1], in[0]);
    }
    return image;
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
