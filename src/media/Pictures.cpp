#include "media/Pictures.h"

#include "media/Geometry.h"

#include <QCoreApplication>
#include <QString>

#include <cstring>
#include <map>
#include <utility>

namespace kivo {

QImage LoadPicture(PictureId id)
{
    // The cards that are only shown have a word of the interface's language
    // on them: their paths are translated. The frame and the media card go
    // into thumbnails that scenario files keep, and stay the same in every
    // language.
    static const std::pair<PictureId, const char*> kPaths[] = {
        {PictureId::Unavailable, QT_TRANSLATE_NOOP("Pictures", ":/pictures/147.png")},
        {PictureId::SoundOnly, QT_TRANSLATE_NOOP("Pictures", ":/pictures/214.png")},
        {PictureId::Frame, nullptr},
        {PictureId::Media, nullptr},
    };
    // Decoded once: every object that shows one of these cards shares it.
    static const auto pictures = [] {
        std::map<PictureId, QImage> decoded;
        for (const auto& [each, translatedPath] : kPaths) {
            const QString path = translatedPath ? QCoreApplication::translate("Pictures", translatedPath)
                                                : QStringLiteral(":/pictures/%1.png").arg(static_cast<int>(each));
            decoded[each] = QImage(path).convertToFormat(QImage::Format_RGB32);
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
