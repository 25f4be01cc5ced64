#include "media/Levels.h"

#include <algorithm>
#include <cmath>

namespace kivo {

double VolumeToAmplitude(long volume)
{
    if (volume <= kSilence)
        return 0.0;
    return std::pow(10.0, static_cast<double>(std::min(volume, 0L)) / 2000.0);
}

double BalanceToPanorama(long balance)
{
    const double attenuated = 1.0 - VolumeToAmplitude(-std::labs(balance));
    return balance < 0 ? -attenuated : attenuated;
}

long AmplitudeToVolume(double fraction)
{
    if (fraction <= 0.0)
        return kSilence;
    return static_cast<long>(1000.0 * std::log(fraction));
}

long PositionToBalance(double position)
{
    const long volume = AmplitudeToVolume(1.0 - std::fabs(position));
    return position >= 0 ? -volume : volume;
}

}  // namespace kivo
