#pragma once

#include <array>
#include <vector>

namespace kivo {

// The 256 values of the shuffle table: the first outputs of the linear
// congruential generator x = x * 214013 + 2531011 (mod 2^32), taking
// (x >> 16) & 0x7FFF, from x = 1.
const std::array<int, 256>& RandomTable();

// The seed of a shuffle, 0 to 255, from a UTC clock reading.
int RandomSeed(int minutes, int seconds, int milliseconds);
int RandomSeedFromClock();

// The random order of `count` objects for `seed`: element i is the starting
// position of the object that ends at position i. Two identical passes each
// move the object at position i, for i = 0 ... count - 1, to position
// table[(seed + i) mod 256] * count / 32767. The second pass repeats the
// first one's rearrangement, so it costs one gather rather than count moves.
std::vector<int> RandomOrder(int seed, int count);

}  // namespace kivo
