#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

namespace kivo {

// What a remote control's arguments ask of the player, worked out from the
// arguments alone and the player's facts of the moment. The arguments come
// from any program on the desktop: they are checked, never trusted.

// Times on the remote control are in microseconds, the player's in 1/100 s.
inline constexpr qlonglong kMicrosecondsPerHundredth = 10000;
// The speeds the remote control may ask for.
inline constexpr double kMinimumRemoteRate = 0.01;
inline constexpr double kMaximumRemoteRate = 4.0;

// A move of the position: to a place in the object played, or on to the
// next object.
struct PositionRequest {
    enum class Kind { SeekTo, Next };
    Kind kind = Kind::SeekTo;
    int hundredths = 0;  // for SeekTo, within 0 .. the object's length

    friend bool operator==(const PositionRequest&, const PositionRequest&) = default;
};

// A seek by `offset` microseconds from `position` (1/100 s) in an object of
// `length` (1/100 s): before the start is the start, beyond the end the
// next object, for any offset.
PositionRequest SeekByOffset(int position, int length, qlonglong offset);
// A seek to `position` microseconds in an object of `length`: nothing
// beyond the object.
std::optional<int> SeekToPosition(int length, qlonglong position);

// A change of speed: a pause (a rate of 0 or less), or a speed in
// hundredths (clamped to the speeds the player has). Nothing for a rate
// that is not a number or infinite.
struct RateRequest {
    bool pause = false;
    int hundredths = 100;

    friend bool operator==(const RateRequest&, const RateRequest&) = default;
};
std::optional<RateRequest> RateRequestFor(double rate);

// The volume bar's place (0 loudest .. 100 silent) for a volume of 0 .. 1
// (clamped); nothing for a volume that is not a finite number.
std::optional<int> VolumeBarFor(double volume);

// What a URI sent to be opened opens: a local file of this host, clean and
// absolute, and whether it opens as the document (a scenario or a playlist,
// as a drop of one does) rather than being added and played. Nothing for
// another scheme or host, a relative reference, or a name the system would
// cut short (a NUL, as %00 too) or refuse.
struct OpenRequest {
    QString path;
    bool asDocument = false;

    friend bool operator==(const OpenRequest&, const OpenRequest&) = default;
};
std::optional<OpenRequest> OpenRequestFor(const QString& uri);

}  // namespace kivo
