#include "session/PlaybackArithmetic.h"

#include "media/Levels.h"

#include <cmath>
#include <cstdlib>

namespace kivo {
namespace {

int Hundredths(double fraction)
{
    return static_cast<int>(100.0 * fraction);
}

}  // namespace

double PageAmplitudeOfVolume(long volume)
{
    if (volume == 0)
        return 1.0;
    double best = 0.0;
    long bestDistance = -kSilence;  // a distance this large never counts
    // The step is added up rather than multiplied, and the sliders' results
    // depend on the rounding that brings.
    for (double x = 0.0; x <= 1.0; x += 0.0001) {
        const long distance = std::labs(volume - AmplitudeToVolume(x));
        if (distance < bestDistance) {
            bestDistance = distance;
            best = x;
        }
    }
    return best;
}

AudioSliders AudioSliderPositions(long volume, long balance, bool muted)
{
    if (muted)
        return {0, 0, false};
    AudioSliders sliders;
    sliders.volume = Hundredths(PageAmplitudeOfVolume(volume)) - 100;
    sliders.balance = balance > 0 ? 100 - Hundredths(PageAmplitudeOfVolume(-balance))
                                  : Hundredths(PageAmplitudeOfVolume(balance)) - 100;
    return sliders;
}

int SpeedSliderPosition(double rate)
{
    return static_cast<int>(std::lround(rate * 100.0));
}

QString SpeedReadout(double speed)
{
    return QString::number(speed, 'g', 15);
}

bool SpeedInRange(double speed)
{
    return speed >= kSpeedMinimum && speed <= kSpeedMaximum;
}

SpeedIcon SpeedIconAfter(bool accepted, int speedHundredths)
{
    if (!accepted)
        return SpeedIcon::Refused;
    if (speedHundredths == 100)
        return SpeedIcon::Normal;
    return speedHundredths > 100 ? SpeedIcon::Faster : SpeedIcon::Slower;
}

}  // namespace kivo
