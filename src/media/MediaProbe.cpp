#include "media/MediaProbe.h"

#include "cutlist/FileNames.h"
#include "media/Playbin.h"

#include <memory>

namespace kivo {
namespace {

// How long a medium may take to preroll, and to bring its frame near one
// second into view.
constexpr int kPrerollMilliseconds = 7000;
constexpr int kFrameMilliseconds = 7000;
// Where the picture of a medium is taken, in seconds.
constexpr double kPictureSecond = 1.0;

// A pipeline over `path` whose sinks take everything at once, prerolled;
// null when the file is no regular file or does not render, or once the
// preroll was given up.
std::unique_ptr<Playbin> Prerolled(const QString& path, const Playbin::GiveUp& giveUp = {})
{
    // Opening a named pipe or a device could block for ever.
    if (!StatFile(path).regular) {
        qCWarning(lcEngine).noquote() << "not a regular file:" << path;
        return nullptr;
    }
    auto playbin = std::make_unique<Playbin>(path, Playbin::BusListener(), Playbin::Purpose::Examining);
    if (!playbin->IsValid())
        return nullptr;
    playbin->KeepFreedMemory();
    // A picture is taken after a seek, if at all.
    playbin->SetPictureDecoding(false);
    if (!playbin->Preroll(kPrerollMilliseconds, giveUp))
        return nullptr;
    return playbin;
}

}  // namespace

ProbeFindings MediaProbe::Examine(const QString& path) const
{
    ProbeFindings found;
    const auto givingUp = [this] { return m_givingUp.load(); };
    const std::unique_ptr<Playbin> playbin = Prerolled(path, givingUp);
    if (!playbin)
        return found;
    // Measuring the timeline leaves the pipeline near the end.
    const bool measured = playbin->StreamStart() > 0.0;
    if (measured)
        playbin->MeasureTimeline();
    found.videoSize = playbin->VideoSize();
    found.hasVideo = !found.videoSize.isEmpty();
    found.hasAudio = playbin->RendersAudio();
    found.opened = found.hasVideo || found.hasAudio;
    found.duration = playbin->Duration();
    if (!found.hasVideo)
        return found;
    // The frame one second in, or the first frame of a shorter medium: the
    // frames from the key frame before it are decoded up to it, which near
    // the start is at most a second's worth.
    playbin->SetPictureDecoding(true);
    playbin->Settle(playbin->Seek(found.duration == 0.0 || found.duration > kPictureSecond ? kPictureSecond : 0.0, 1.0),
                    kFrameMilliseconds, givingUp);
    if (found.duration == 0.0)
        found.duration = playbin->Duration();
    found.frame = playbin->CurrentFrame();
    return found;
}

std::optional<Timeline> MediaProbe::MeasureTimeline(const QString& path)
{
    const std::unique_ptr<Playbin> playbin = Prerolled(path);
    if (!playbin || !playbin->MeasureTimeline())
        return std::nullopt;
    return Timeline{playbin->Origin(), playbin->Duration()};
}

}  // namespace kivo
