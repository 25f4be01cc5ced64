#include "media/Pictures.h"

#include "media/Geometry.h"

#include <QString>

#include <cstring>
#include <map>

namespace kivo {

QImage LoadPicture(PictureId id)
{
    // Decoded once: every object that shows one of these cards shares it.
    static const auto pictures = [] {
        std::map<PictureId, QImage> decoded;
        for (const PictureId each : {PictureId::Unavailable, PictureId::SoundOnly, PictureId::Frame, PictureId::Media}) {
            const QImage picture(QStringLiteral(":/pictures/%1.png").arg(static_cast<int>(each)));
            decoded[each] = picture.convertToFormat(QImage::Format_RGB32);
        }
        return decoded;
    }();
    return pictures.at(id);
}

QImage ThumbnailOnFrame(const QImage& frame)
{
    QImage thumbnail = LoadPicture(PictureId::Frame);
    const EdgeRect area = FitRect(frame.width(), frame.height(), {0, 0, 58, 42}, true);
    if (area.Width() <= 0 || area.Height() <= 0 || thumbnail.isNull())
        return thumbnail;
    const QImage fitted = frame.convertToFormat(QImage::Format_RGB32)
                              .scaled(area.Width(), area.Height(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    for (int y = 0; y < fitted.height(); ++y) {
        std::memcpy(thumbnail.scanLine(area.top + 3 + y) + (area.left + 3) * 4, fitted.constScanLine(y),
                    static_cast<size_t>(fitted.width()) * 4);
    }
    return thumbnail;
}

}  // namespace kivo
