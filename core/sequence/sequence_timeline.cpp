#include "core/sequence/sequence_timeline.h"

#include "core/generate/timing_curve.h"

namespace vesk {

int SequenceFrameCount(int pairs, int frames_per_pair, int hold) {
  return pairs < 1 ? 0 : pairs * (frames_per_pair + hold) + 1 + hold;
}

PairFrame LocateSequenceFrame(int index, int frames_per_pair, int hold) {
  // Pair k >= 1 shows its held frames 1 + H .. N + 2H at the indices
  // k (N + H) + 1 + H onwards; pair 0 shows all of its own from index 0.
  const int step = frames_per_pair + hold;
  const int pair = index <= hold ? 0 : (index - 1 - hold) / step;
  return PairFrame{pair, UnheldFrameNumber(index - pair * step, hold, frames_per_pair)};
}

}  // namespace vesk
