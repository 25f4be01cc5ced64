#include "media/MediaProbe.h"

#include "cutlist/FileNames.h"
#include "media/ExaminingPipeline.h"
#include "media/GStreamer.h"

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
std::unique_ptr<ExaminingPipeline> Prerolled(const QString& path, const Pipeline::GiveUp& giveUp = {})
{
    // Opening a named pipe or a device could block for ever.
    if (!StatFile(path).regular) {
        qCWarning(lcEngine).noquote() << "not a regular file:" << path;
        return nullptr;
    }
    auto pipeline = std::make_unique<ExaminingPipeline>(path);
    if (!pipeline->IsValid())
        return nullptr;
    // A picture is taken after a seek, if at all.
    pipeline->SetPictureDecoding(false);
    if (!pipeline->Preroll(kPrerollMilliseconds, giveUp))
        return nullptr;
    return pipeline;
}

}  // namespace

ProbeFindings MediaProbe::Examine(const QString& path) const
{
    ProbeFindings found;
    const auto givingUp = [this] { return m_givingUp.load(); };
    const std::unique_ptr<ExaminingPipeline> pipeline = Prerolled(path, givingUp);
    if (!pipeline)
        return found;
    // Measuring the timeline leaves the pipeline near the end.
    const bool measured = pipeline->StreamStart() > 0.0;
    if (measured)
        pipeline->MeasureTimeline();
    found.videoSize = pipeline->VideoSize();
    found.hasVideo = !found.videoSize.isEmpty();
    found.hasAudio = pipeline->RendersAudio();
    found.opened = found.hasVideo || found.hasAudio;
    found.duration = pipeline->Duration();
    if (!found.hasVideo)
        return found;
    // The frame one second in, or the first frame of a shorter medium: the
    // frames from the key frame before it are decoded up to it, which near
    // the start is at most a second's worth.
    pipeline->SetPictureDecoding(true);
    pipeline->Settle(pipeline->Seek(found.duration == 0.0 || found.duration > kPictureSecond ? kPictureSecond : 0.0, 1.0),
                    kFrameMilliseconds, givingUp);
    if (found.duration == 0.0)
        found.duration = pipeline->Duration();
    found.frame = pipeline->CurrentFrame();
    return found;
}

std::optional<Timeline> MediaProbe::MeasureTimeline(const QString& path)
{
    const std::unique_ptr<ExaminingPipeline> pipeline = Prerolled(path);
    if (!pipeline || !pipeline->MeasureTimeline())
        return std::nullopt;
    return Timeline{pipeline->Origin(), pipeline->Duration()};
}

}  // namespace kivo
