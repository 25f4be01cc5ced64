#pragma once

#include <QImage>

namespace kivo {

// The 64 x 48 pictures the program ships: grey cards with a raised edge.
enum class PictureId {
    Unavailable = 147,  // UNAVAILABLE / 無効: a file that cannot be played
    SoundOnly = 214,    // SOUND ONLY / 音声: a medium without a picture
    Frame = 216,        // blank card: the frame of a thumbnail
    Media = 220,        // MEDIA / 素材: video whose frame could not be taken
};

// The picture as a 64 x 48 RGB32 image.
QImage LoadPicture(PictureId id);

// A 64 x 48 thumbnail of a video frame: the frame, its aspect kept, centred
// in 58 x 42 pixels, 3 pixels in from the corner of the blank card.
QImage ThumbnailOnFrame(const QImage& frame);

}  // namespace kivo
