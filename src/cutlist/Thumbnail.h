#pragma once

#include "cutlist/MediaRecord.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>

namespace kivo {

constexpr int kThumbnailWidth = 64;
constexpr int kThumbnailHeight = 48;
constexpr int kSmallImageWidth = 32;
constexpr int kSmallImageHeight = 24;
// The pixel block of a thumbnail on disk: 64 x 48 pixels of the bytes
// B, G, R, 0, rows from top to bottom.
constexpr int kThumbnailBlockBytes = kThumbnailWidth * kThumbnailHeight * 4;

// `picture` as a 64 x 48 list picture in RGB32 (a white card for a null
// one); a picture that already is one is shared, not copied.
QImage ToListPicture(const QImage& picture);

// The on-disk pixel block of a picture (scaled to 64 x 48 if it is not).
QByteArray ThumbnailToBlock(const QImage& picture);

// Turns a picture whose bits were just filled with an on-disk block into a
// proper RGB32 picture (opaque pixels).
void MakeBlockPictureOpaque(QImage& picture);

// The 32 x 24 reduction of a 64 x 48 list picture. Pictures of playable media
// keep one pixel of each 2 x 2 square; the cards of invalid or picture-less
// objects AND the four pixels, so that their dark lettering stays readable.
QImage ReduceThumbnail(const QImage& picture, bool keepDark);

}  // namespace kivo
