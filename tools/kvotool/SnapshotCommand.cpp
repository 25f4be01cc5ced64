#include "Commands.h"

#include "cutlist/FileNames.h"
#include "cutlist/MediaRecord.h"
#include "media/Bitmap.h"
#include "media/MediaEngine.h"

#include <QCoreApplication>

#include <iostream>

namespace kivo::tool {

int RunSnapshot(const std::vector<std::string>& arguments)
{
    bool numeric = arguments.size() == 3;
    const double seconds = numeric ? QString::fromStdString(arguments[1]).toDouble(&numeric) : 0.0;
    // NaN fails both comparisons.
    if (!numeric || !(seconds >= 0.0 && seconds <= kLongestMediaSeconds)) {
        std::cerr << "Usage: kvotool snapshot MEDIA SECONDS OUT.bmp\n";
        return kExitUsage;
    }
    // A snapshot needs no sound.
    if (qEnvironmentVariableIsEmpty("KIVO_AUDIO_SINK"))
        qputenv("KIVO_AUDIO_SINK", "fakesink");
    // The engine reports its opening through an event loop.
    int argc = 1;
    char name[] = "kvotool";
    char* argv[] = {name, nullptr};
    const QCoreApplication application(argc, argv);
    MediaEngine engine;
    const QString media = FileNameFromBytes(arguments[0]);
    if (!OpenAndWait(engine, media)) {
        std::cerr << "kvotool: " << Printable(media) << ": cannot be played\n";
        return kExitUnreadable;
    }
    engine.SetPosition(seconds);
    if (!engine.HasVideo() || !CaptureFrameAndWait(engine)) {
        std::cerr << "kvotool: " << Printable(media) << ": no picture to take\n";
        return kExitUnreadable;
    }
    const QString out = FileNameFromBytes(arguments[2]);
    if (const std::optional<WriteFailure> failure = WriteSnapshotFile(out, engine.SnapshotBitmap())) {
        std::cerr << "kvotool: cannot write " << Printable(out) << ": " << failure->detail.toStdString() << "\n";
        return kExitUnreadable;
    }
    return kExitOk;
}

}  // namespace kivo::tool
