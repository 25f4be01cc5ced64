#pragma once

// Scenario files built byte by byte, independently of the program's writer:
// the expected output of the writer tests, the input of the reader and
// kvotool tests, and the seeds of the fuzz run.

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

#include <cstdint>
#include <string_view>
#include <vector>

namespace kivo::samples {

class Bytes {
public:
    Bytes& Raw(QByteArrayView bytes)
    {
        m_data.append(bytes);
        return *this;
    }
    Bytes& U8(std::uint8_t value) { return Raw(QByteArrayView(reinterpret_cast<const char*>(&value), 1)); }
    Bytes& U16(std::uint16_t value) { return U8(value & 0xFF).U8(value >> 8); }
    Bytes& U32(std::uint32_t value) { return U16(value & 0xFFFF).U16(value >> 16); }
    Bytes& I32(std::int32_t value) { return U32(static_cast<std::uint32_t>(value)); }
    // A short string: one length byte, then the bytes as given.
    Bytes& Str(std::string_view bytes) { return U8(static_cast<std::uint8_t>(bytes.size())).Raw(bytes); }
    Bytes& Fill(int count, std::uint8_t value) { return Raw(QByteArray(count, static_cast<char>(value))); }
    QByteArray Data() const { return m_data; }

private:
    QByteArray m_data;
};

// Shift-JIS bytes of the texts the samples use.
inline constexpr std::string_view kSjisVideoPath = "/m/\x83\x72\x83\x66\x83\x49.mpg";  // /m/ビデオ.mpg
inline constexpr std::string_view kSjisName = "\x96\xbc\x91\x4f";                      // 名前
inline constexpr std::string_view kSjisHalfWidthName = "\xc3\xbd\xc4";                 // ﾃｽﾄ

// A string in the wide form: 0xFF, 0xFFFE, the length (below 255), then
// the UTF-16LE code units as they are, lone surrogates included.
inline QByteArray Wide(QStringView text)
{
    Bytes bytes;
    bytes.U8(0xFF).U16(0xFFFE).U8(static_cast<std::uint8_t>(text.size()));
    for (QChar unit : text)
        bytes.U16(unit.unicode());
    return bytes.Data();
}

// The pixel block of the test picture whose pixel (x, y) is RGB (4x, 5y, 7):
// bytes B, G, R, 0 for each pixel, rows from the top.
inline QByteArray TestPictureBlock()
{
    Bytes bytes;
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 64; ++x)
            bytes.U8(7).U8(static_cast<std::uint8_t>(5 * y)).U8(static_cast<std::uint8_t>(4 * x)).U8(0);
    }
    return bytes.Data();
}

inline QByteArray Version10File()
{
    return Bytes().Str("KivoDSv10").I32(2).Str("/m/a.mpg").Str("/m/b.avi").Data();
}

// The cache entry of a video of 1,234 bytes and 60 s, with the test picture.
inline QByteArray VideoEntry(std::string_view path)
{
    return Bytes().Str(path).U32(1234).I32(921000000).I32(6000).U32(12288).Raw(TestPictureBlock()).Data();
}

// One object, current, at 123.45 s, with its cache entry.
inline QByteArray Version20File()
{
    // The last cache index is 0: one entry.
    return Bytes().Str("KivoDSv20").I32(1).Str("/m/a.mpg").I32(0).I32(12345).I32(0).Raw(VideoEntry("/m/a.mpg"))
        .Data();
}

// Three objects: a Shift-JIS path with a fitting thumbnail, a wide-form path
// whose thumbnail was written for a 16-bit screen (6,144 bytes; 0, as the
// writer stores a medium without a picture), and a missing file with an
// empty cache entry; Shift-JIS and half-width names.
inline QByteArray Version30File(std::uint32_t cafeThumbnailBytes = 6144)
{
    return Bytes()
        .Str("KivoDSv30").I32(3).Str(kSjisVideoPath).Raw(Wide(u"/m/café.mpg")).Str("/m/x.wav")
        .I32(1)    // current object
        .I32(250)  // playing position
        .I32(2)    // three cache entries
        .Raw(VideoEntry(kSjisVideoPath))
        .Raw(Wide(u"/m/café.mpg")).U32(99).I32(5).I32(500).U32(cafeThumbnailBytes)
        .Fill(static_cast<int>(cafeThumbnailBytes), 0x5A)
        .Str("").U32(0).I32(0).I32(0).U32(0)
        .Str(kSjisName).Str(kSjisHalfWidthName).Str(" ")
        .Data();
}

// Version 30 with `count` objects whose paths and names are empty (two
// bytes an object), none current and no media information.
inline QByteArray EmptyObjectsFile(std::int32_t count)
{
    return Bytes().Str("KivoDSv30").I32(count).Fill(count, 0).I32(-1).I32(0).I32(-1).Fill(count, 0).Data();
}

inline std::vector<QByteArray> AllSamples()
{
    return {Version10File(), Version20File(), Version30File(), EmptyObjectsFile(0)};
}

}  // namespace kivo::samples
