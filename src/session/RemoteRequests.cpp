#include "session/RemoteRequests.h"

#include "cutlist/AddingMedia.h"
#include "cutlist/FileNames.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kivo {

PositionRequest SeekByOffset(int position, int length, qlonglong offset)
{
    // No object is longer than an int of 1/100 s: an offset beyond that
    // is as far as that, and the sum cannot overflow.
    constexpr qlonglong kFarthest = qlonglong{std::numeric_limits<int>::max()} * 2 * kMicrosecondsPerHundredth;
    const qlonglong target =
        std::max<qlonglong>(0, position * kMicrosecondsPerHundredth + std::clamp(offset, -kFarthest, kFarthest));
    if (target > length * kMicrosecondsPerHundredth)
        return {PositionRequest::Kind::Next, 0};
    return {PositionRequest::Kind::SeekTo, static_cast<int>(target / kMicrosecondsPerHundredth)};
}

std::optional<int> SeekToPosition(int length, qlonglong position)
{
    if (position < 0 || position > length * kMicrosecondsPerHundredth)
        return std::nullopt;
    return static_cast<int>(position / kMicrosecondsPerHundredth);
}

std::optional<RateRequest> RateRequestFor(double rate)
{
    if (!std::isfinite(rate))
        return std::nullopt;
    if (rate <= 0.0)
        return RateRequest{true, 0};
    return RateRequest{false, static_cast<int>(std::lround(std::clamp(rate, kMinimumRemoteRate, kMaximumRemoteRate) * 100.0))};
}

std::optional<int> VolumeBarFor(double volume)
{
    if (!std::isfinite(volume))
        return std::nullopt;
    return 100 - static_cast<int>(std::lround(std::clamp(volume, 0.0, 1.0) * 100.0));
}

std::optional<OpenRequest> OpenRequestFor(const QString& uri)
{
    // An absolute file: URI only (file:/..., file:///..., file://host/...):
    // a bare or relative name would be taken from wherever the program
    // happens to be.
    if (!uri.startsWith(QLatin1String("file:/"), Qt::CaseInsensitive))
        return std::nullopt;
    const std::optional<QString> path = LocalFileOfLocation(uri, QStringLiteral("/"), RelativeLocation::Uri);
    if (!path)
        return std::nullopt;
    return OpenRequest{*path, DropOpensDocument({*path})};
}

}  // namespace kivo
