// The frames of a whole sequence, in the order the export writes them and
// the player shows them. Each pair runs as the morph runs (frames 0 .. N,
// with H holds on each end: N + 1 + 2H frames); a pair after the first
// leaves out its first 1 + H frames, which are the picture the previous
// pair ended on with its holds. So P pairs give P (N + H) + 1 + H frames,
// and every picture stands 1 + H frames.
#pragma once

namespace vesk {

// Frames of `pairs` pairs of N frames each with H holds; 0 without a pair.
int SequenceFrameCount(int pairs, int frames_per_pair, int hold);

// Which pair paints frame `index` of the sequence (0 .. count - 1), and
// which of its frames 0 .. N (holds taken out) that is.
struct PairFrame {
  int pair = 0;
  int frame = 0;
  bool operator==(const PairFrame&) const = default;
};
PairFrame LocateSequenceFrame(int index, int frames_per_pair, int hold);

}  // namespace vesk
