#pragma once

namespace kivo {

// Volume travels in hundredths of a decibel (0 full, -10000 silence) and
// balance from -10000 (left only) to 10000 (right only).
constexpr long kSilence = -10000;

// The linear amplitude of a volume: 10^(volume / 2000); 0 for silence.
double VolumeToAmplitude(long volume);

// The pan of a balance for a panorama element that attenuates one channel
// (-1 keeps the left alone, 1 the right): the other channel is attenuated
// by |balance| hundredths of a decibel.
double BalanceToPanorama(long balance);

// 1000 x the natural logarithm of a fraction (0 ... 1) of full volume,
// truncated toward zero; -10000 for 0. So 0.5 gives -693 and 0.01 -4605.
long AmplitudeToVolume(double fraction);

// The balance of a position from -1 (left) to 1 (right): the amplitude
// curve of 1 - |position|, attenuating the right channel for negative
// positions and the left one for positive positions.
long PositionToBalance(double position);

}  // namespace kivo
