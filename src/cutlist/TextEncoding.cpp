#include "TextEncoding.h"

#include <cerrno>
#include <cstdint>
#include <iconv.h>

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

    // Converts `input`. At each position iconv cannot convert, `substitute`
    // appends a replacement to the output and returns the number of input
    // bytes to step over; returning 0 abandons the conversion (nullopt).
    template <typename Substitute>
    std::optional<QByteArray> Convert(QByteArrayView input, Substitute substitute) const
    {
        if (!m_valid)
            return std::nullopt;
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        QByteArray out(input.size() * 3 + 8, Qt::Uninitialized);
        qsizetype used = 0;
        char* in = const_cast<char*>(input.data());
        size_t inLeft = static_cast<size_t>(input.size());
        while (inLeft > 0) {
            char* outPtr = out.data() + used;
            size_t outLeft = static_cast<size_t>(out.size() - used);
            const size_t result = iconv(m_cd, &in, &inLeft, &outPtr, &outLeft);
            used = outPtr - out.data();
            if (result != static_cast<size_t>(-1))
                break;
            if (errno == E2BIG) {
                out.resize(out.size() * 2);
                continue;
            }
            out.truncate(used);
            const size_t skipped = substitute(QByteArrayView(in, static_cast<qsizetype>(inLeft)), out);
            if (skipped == 0)
                return std::nullopt;
            used = out.size();
            out.resize(used + static_cast<qsizetype>(inLeft) * 3 + 8);
            in += skipped;
            inLeft -= skipped;
        }
        out.truncate(used);
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
    thread_local const Converter converter("UTF-8", "CP932");
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

size_t Utf8SequenceLength(QByteArrayView rest)
{
    const auto lead = static_cast<unsigned char>(rest.front());
    size_t length = 1;
    if (lead >= 0xF0)
        length = 4;
    else if (lead >= 0xE0)
        length = 3;
    else if (lead >= 0xC0)
        length = 2;
    return std::min(length, static_cast<size_t>(rest.size()));
}

}  // namespace

std::optional<QByteArray> EncodeCp932(const QString& text)
{
    if (IsAscii(text))
        return text.toLatin1();
    auto bytes = ToCp932().Convert(text.toUtf8(), [](QByteArrayView, QByteArray&) { return size_t{0}; });
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
    static const QByteArray replacement = QStringLiteral("\uFFFD").toUtf8();
    auto utf8 = FromCp932().Convert(bytes, [](QByteArrayView, QByteArray& out) {
        out.append(replacement);
        return size_t{1};
    });
    return utf8 ? QString::fromUtf8(*utf8) : QString();
}

QByteArray Cp932SortBytes(const QString& text)
{
    if (IsAscii(text))
        return text.toLatin1();
    auto bytes = ToCp932().Convert(text.toUtf8(), [](QByteArrayView rest, QByteArray& out) {
        const size_t length = Utf8SequenceLength(rest);
        out.append(rest.first(static_cast<qsizetype>(length)));
        return length;
    });
    return bytes ? *bytes : text.toUtf8();
}

}  // namespace kivo
