#pragma once

#include <QString>

namespace kivo {

// The amplitude fraction (0 ... 1) the playback page shows for a volume in
// hundredths of a decibel: the smallest x of 0, 0.0001, 0.0002, ... 1 whose
// AmplitudeToVolume comes closest to it (1 for 0, 0 when nothing comes
// within 10000). A search rather than the exact inverse, so the sliders
// read the curve exactly as the rest of the program draws it: the bar's
// volume 50 (-693) lands on 0.4996.
double PageAmplitudeOfVolume(long volume);

// Where the playback page puts its volume (-100 quiet ... 0 loud) and
// balance (-100 left ... 100 right) sliders for the player's values; both
// disabled at 0 while the sound is off.
struct AudioSliders {
    int volume = 0;
    int balance = 0;
    bool enabled = true;
};
AudioSliders AudioSliderPositions(long volume, long balance, bool muted);

// Speeds: the slider counts hundredths of the normal speed.
constexpr int kSpeedSliderMinimum = 1;
constexpr int kSpeedSliderMaximum = 400;
constexpr double kSpeedMinimum = 0.01;
constexpr double kSpeedMaximum = 4.0;

// The slider position of a rate, rounded to the nearest hundredth (a rate
// of 0.29 is 28.999... hundredths in binary).
int SpeedSliderPosition(double rate);

// The read-out of a speed: up to 15 significant digits, no trailing zeros
// ("1", "1.5", "0.29").
QString SpeedReadout(double speed);

bool SpeedInRange(double speed);

// The icon beside the speed after a speed was asked for.
enum class SpeedIcon { Normal, Faster, Slower, Refused };
SpeedIcon SpeedIconAfter(bool accepted, int speedHundredths);

}  // namespace kivo
