#include "cutlist/TextEncoding.h"

#include <QSysInfo>

#include <cerrno>
#include <cstdint>
#include <iconv.h>

#include <utility>
#include <vector>

namespace kivo {
namespace {

// One iconv descriptor per thread and direction: descriptors carry state and
// must not be shared between threads.
class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)), m_valid(m_cd != Failed()) {}
    ~Converter()
    {
        if (m_valid)
            iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts `input` into `Output`: bytes (QByteArray) or, from a
    // converter to UTF-16 of this machine's byte order, text (QString). At
    // each position iconv cannot convert, `substitute` appends a replacement
    // to the output and returns the number of input bytes to step over;
    // returning 0 abandons the conversion (nullopt).
    template <typename Output, typename Substitute>
    std::optional<Output> Convert(QByteArrayView input, Substitute substitute) const
    {
        if (!m_valid)
            return std::nullopt;
        constexpr qsizetype kUnitBytes = sizeof(*std::declval<Output>().data());
        // Room for what a byte becomes at most: three bytes of UTF-8, or one
        // unit of UTF-16.
        const auto room = [](qsizetype bytes) { return kUnitBytes == 1 ? bytes * 3 + 8 : bytes + 8; };
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        Output out(room(input.size()), Qt::Uninitialized);
        qsizetype used = 0;  // in bytes
        char* in = const_cast<char*>(input.data());
        size_t inLeft = static_cast<size_t>(input.size());
        while (inLeft > 0) {
            char* start = reinterpret_cast<char*>(out.data());
            char* outPtr = start + used;
            size_t outLeft = static_cast<size_t>(out.size() * kUnitBytes - used);
            const size_t result = iconv(m_cd, &in, &inLeft, &outPtr, &outLeft);
            used = outPtr - start;
            if (result != static_cast<size_t>(-1))
                break;
            if (errno == E2BIG) {
                out.resize(out.size() * 2);
                continue;
            }
            out.truncate(used / kUnitBytes);
            const size_t skipped = substitute(QByteArrayView(in, static_cast<qsizetype>(inLeft)), out);
            if (skipped == 0)
                return std::nullopt;
            in += skipped;
            inLeft -= skipped;
            used = out.size() * kUnitBytes;
            out.resize(out.size() + room(static_cast<qsizetype>(inLeft)));
        }
        out.truncate(used / kUnitBytes);
        return out;
    }

private:
    // iconv_open's failure value, (iconv_t) -1.
    static iconv_t Failed() { return reinterpret_cast<iconv_t>(static_cast<intptr_t>(-1)); }

    iconv_t m_cd;
    bool m_valid;
};

const Converter& ToCp932()
{
    thread_local const Converter converter("CP932", "UTF-8");
    return converter;
}

const Converter& FromCp932()
{
    thread_local const Converter converter(QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "UTF-16LE" : "UTF-16BE", "CP932");
    return converter;
}

bool IsAscii(const QString& text)
{
    for (QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

bool IsAscii(QByteArrayView bytes)
{
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

}  // namespace

std::optional<QByteArray> EncodeCp932(const QString& text)
{
    if (IsAscii(text))
        return text.toLatin1();
    auto bytes = ToCp932().Convert<QByteArray>(text.toUtf8(), [](QByteArrayView, QByteArray&) { return size_t{0}; });
    // Some characters map to CP932 bytes that read back as another character;
    // such text must take the wide form to survive a save.
    if (!bytes || DecodeCp932(*bytes) != text)
        return std::nullopt;
    return bytes;
}

QString DecodeCp932(QByteArrayView bytes)
{
    if (IsAscii(bytes))
        return QString::fromLatin1(bytes.data(), bytes.size());
    return FromCp932()
        .Convert<QString>(bytes, [](QByteArrayView, QString& out) {
            out.append(QChar::ReplacementCharacter);
            return size_t{1};
        })
        .value_or(QString());
}

namespace {

// CP932 code of every character of the Basic Multilingual Plane, asked of
// iconv once: a value below 0x100 is a single byte, above it a lead and a
// trail byte, 0 a character CP932 lacks (U+0000 aside).
class Cp932Table {
public:
    Cp932Table() : m_codes(0x10000, 0)
    {
        for (char32_t c = 1; c < 0x10000; ++c) {
            if (c >= 0xD800 && c <= 0xDFFF)
                continue;
            const QByteArray utf8 = QString(QChar(static_cast<char16_t>(c))).toUtf8();
            const auto bytes = ToCp932().Convert<QByteArray>(utf8, [](QByteArrayView, QByteArray&) { return size_t{0}; });
            if (!bytes || bytes->isEmpty() || bytes->size() > 2)
                continue;
            const auto first = static_cast<uchar>(bytes->at(0));
            m_codes[c] = bytes->size() == 1 ? first : static_cast<quint16>(first << 8 | static_cast<uchar>(bytes->at(1)));
        }
    }

    quint16 Code(char16_t c) const { return m_codes[c]; }

private:
    std::vector<quint16> m_codes;
};

void AppendUtf8(std::string& out, char32_t c)
{
    out.append(QString::fromUcs4(&c, 1).toStdString());
}

}  // namespace

void AppendCp932SortBytes(QStringView text, std::string& out)
{
    static const Cp932Table table;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (unit < 0x80) {
            out.push_back(static_cast<char>(unit));
        } else if (const quint16 code = table.Code(unit); code != 0) {
            if (code >= 0x100)
                out.push_back(static_cast<char>(code >> 8));
            out.push_back(static_cast<char>(code & 0xFF));
        } else if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            AppendUtf8(out, QChar::surrogateToUcs4(unit, text[i + 1].unicode()));
            ++i;
        } else {
            AppendUtf8(out, unit);
        }
    }
}

}  // namespace kivo
