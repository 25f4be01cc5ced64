#pragma once

#include "cutlist/FileNames.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <optional>

namespace kivo {

// Captured frames travel as packed device-independent bitmaps: a 40-byte
// BITMAPINFOHEADER, its colour table or bit-field masks, then the pixel
// rows from the bottom up, each padded to four bytes. Snapshot files are
// a 14-byte BITMAPFILEHEADER followed by such a bitmap.

constexpr int kBitmapInfoHeaderBytes = 40;
constexpr int kBitmapFileHeaderBytes = 14;
constexpr quint32 kBiBitfields = 3;

// Bytes between the header and the pixels for a header's bit count,
// compression and colours-used fields.
int ColourTableBytes(int bitCount, quint32 compression, quint32 coloursUsed);

// The frame as a 24-bit packed bitmap (no colour table).
QByteArray PackedBitmapFromImage(const QImage& frame);

// The snapshot file of a packed bitmap: the file header (type "BM", file
// size = offset of the pixels + the header's image size, pixel offset =
// 14 + header size + colour table) and the bitmap. Empty when the bitmap is
// too short to hold its header.
QByteArray SnapshotFileBytes(const QByteArray& packedBitmap);

// Writes the snapshot file of a packed bitmap as ReplaceFile does
// (cutlist/FileNames.h): an existing file is replaced only by a complete new
// one, and never anything but a regular file.
[[nodiscard]] std::optional<WriteFailure> WriteSnapshotFile(const QString& path, const QByteArray& packedBitmap);

}  // namespace kivo
