// The flag sine table: 630 displacements sampled every 0.01 radian and
// scaled to the flag radius, the wrap rule that reads it, and the start
// phase of a Flag Streaming frame. Flag Streaming builds the table at every
// run; the Options dialog builds its own for the flag preview.
#pragma once

#include <array>
#include <cstdint>

namespace vesk {

inline constexpr int kSineTableSize = 630;
// Index steps per sine period used for wrapping (the exact period, 200 pi,
// is about 628.32 steps).
inline constexpr int kSinePeriodSteps = 628;

using SineTable = std::array<std::int32_t, kSineTableSize>;

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4,
// -0.5 -> 0), independent of the floating-point rounding mode.
double RoundHalfEven(double value);

// Entry i becomes Round(sin(i x 0.01) x flag_radius), so every entry lies
// in -flag_radius .. flag_radius.
void FillSineTable(SineTable& table, int flag_radius);

// The displacement for phase p: while p > 628 subtract 628, then while
// p < 0 add 628, and read that entry. The index is always 0..628; entry 629
// is never read. Works in constant time for every 32-bit phase.
inline std::int32_t SineLookup(const SineTable& table, std::int32_t phase) {
  if (phase > kSinePeriodSteps) {
    phase = (phase - 1) % kSinePeriodSteps + 1;
  } else if (phase < 0) {
    phase %= kSinePeriodSteps;
    if (phase < 0) phase += kSinePeriodSteps;
  }
  return table[static_cast<std::size_t>(phase)];
}

// Start phase of frame `frame` of a run of `frame_count` frames:
// Round(frame x 628.3185307179587 / frame_count), so the phase runs through
// one period over the run (frames 0..11 of 12: 0, 52, 105, ... 576). A
// frame count below 1 has no meaningful phase and answers 0.
std::int32_t FlagStartPhase(int frame, int frame_count);

}  // namespace vesk
