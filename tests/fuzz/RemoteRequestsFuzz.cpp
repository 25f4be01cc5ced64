// Fuzz target of the remote control's arguments as the program takes them.
// The input's first 24 bytes are a position and a length (1/100 s), an
// offset (microseconds) and a number as D-Bus gives them, bit for bit; the
// rest is a URI. A seek stays within the object or goes on to the next, a
// speed and a volume are the bars' own or nothing, and a URI opens a clean
// absolute name the system takes as it is, or nothing.

#include "FuzzRequire.h"
#include "cutlist/FileNames.h"
#include "session/RemoteRequests.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

using namespace kivo;

namespace {

template <typename T>
T Take(const std::uint8_t*& data)
{
    T value;
    std::memcpy(&value, data, sizeof value);
    data += sizeof value;
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    constexpr std::size_t kHeader = 2 * sizeof(qint32) + sizeof(qint64) + sizeof(double);
    if (size < kHeader)
        return 0;
    const std::uint8_t* at = data;
    const auto rawPosition = Take<qint32>(at);
    const auto rawLength = Take<qint32>(at);
    const auto offset = Take<qint64>(at);
    const auto number = Take<double>(at);

    // As the player has them: a length of 0 or more, a position within it.
    const int length = rawLength == std::numeric_limits<qint32>::min() ? 0 : std::abs(rawLength);
    const int position = static_cast<int>(static_cast<quint32>(rawPosition) % (static_cast<quint32>(length) + 1));

    const PositionRequest seek = SeekByOffset(position, length, offset);
    if (seek.kind == PositionRequest::Kind::SeekTo)
        Require(seek.hundredths >= 0 && seek.hundredths <= length);
    else
        Require(offset > 0);
    if (const std::optional<int> to = SeekToPosition(length, offset))
        Require(*to >= 0 && *to <= length);

    if (const std::optional<RateRequest> rate = RateRequestFor(number))
        Require(rate->pause || (rate->hundredths >= 1 && rate->hundredths <= 400));
    else
        Require(!std::isfinite(number));
    if (const std::optional<int> bar = VolumeBarFor(number))
        Require(*bar >= 0 && *bar <= 100);
    else
        Require(!std::isfinite(number));

    const QString uri = QString::fromUtf8(reinterpret_cast<const char*>(at), static_cast<qsizetype>(size - kHeader));
    if (const std::optional<OpenRequest> open = OpenRequestFor(uri)) {
        Require(open->path.startsWith(QLatin1Char('/')));
        Require(IsReachableFileName(open->path));
        Require(CleanFileName(open->path) == open->path);
        Require(!open->path.contains(QChar()));
    }
    return 0;
}
