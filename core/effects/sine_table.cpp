#include "core/effects/sine_table.h"

#include <cmath>

namespace vesk {

double RoundHalfEven(double value) {
  const double below = std::floor(value);
  const double fraction = value - below;
  if (fraction > 0.5) return below + 1.0;
  if (fraction < 0.5) return below;
  return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

void FillSineTable(SineTable& table, int flag_radius) {
  for (int i = 0; i < kSineTableSize; ++i) {
    table[static_cast<std::size_t>(i)] =
        static_cast<std::int32_t>(RoundHalfEven(std::sin(i * 0.01) * flag_radius));
  }
}

std::int32_t FlagStartPhase(int frame, int frame_count) {
  if (frame_count < 1) return 0;
  const double phase = RoundHalfEven(frame * 628.3185307179587 / frame_count);
  // Frames beyond the run are not asked for in practice; keep the answer in
  // the 32-bit range whatever the caller passes.
  if (phase > 2147483647.0) return 2147483647;
  if (phase < -2147483648.0) return -2147483647 - 1;
  return static_cast<std::int32_t>(phase);
}

}  // namespace vesk
