#include "Commands.h"

#include "player/Bitmap.h"
#include "player/MediaEngine.h"

#include <QFile>

#include <iostream>

namespace kivo::tool {

int RunSnapshot(const std::vector<std::string>& arguments)
{
    bool numeric = arguments.size() == 3;
    const double seconds = numeric ? QString::fromStdString(arguments[1]).toDouble(&numeric) : 0.0;
    if (!numeric || seconds < 0.0) {
        std::cerr << "Usage: kvotool snapshot MEDIA SECONDS OUT.bmp\n";
        return kExitUsage;
    }
    // A snapshot needs no sound.
    if (qEnvironmentVariableIsEmpty("KIVO_AUDIO_SINK"))
        qputenv("KIVO_AUDIO_SINK", "fakesink");
    MediaEngine engine;
    if (!engine.Open(QFile::decodeName(arguments[0].c_str()))) {
        std::cerr << "kvotool: " << arguments[0] << ": cannot be played\n";
        return kExitUnreadable;
    }
    engine.SetPosition(seconds);
    engine.PausePlayback();
    QString error;
    if (!engine.HasVideo() || !engine.CaptureFrame()) {
        std::cerr << "kvotool: " << arguments[0] << ": no picture to take\n";
        return kExitUnreadable;
    }
    if (!WriteSnapshotFile(QFile::decodeName(arguments[2].c_str()), engine.m_snapshotBitmap, &error)) {
        std::cerr << "kvotool: cannot write " << arguments[2] << ": " << error.toStdString() << "\n";
        return kExitUnreadable;
    }
    return kExitOk;
}

}  // namespace kivo::tool
