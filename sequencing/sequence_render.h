// The frames of a whole sequence, in the order the export writes them and
// the player shows them: each pair as the morph runs it
// (SequenceGenerationSetup: Precision 1, no equalization, the sequence's
// frames, holds, curves and renderer), a pair after the first leaving out
// its first 1 + H frames, which are the picture the pair before ended on
// with its holds (sequence_timeline.h counts them).
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/common/result.h"
#include "core/generate/generation_input.h"
#include "core/generate/preview_frame.h"
#include "core/generate/run_protocol.h"
#include "core/sequence/sequence.h"
#include "sequencing/sequence_pictures.h"

namespace vesk {

using SequenceTriangles = std::vector<std::vector<TrianglePositions>>;
using FrameWriter = std::function<Status(const Bitmap&)>;

// "pair 2 (b.jpg and c.jpg)", the pictures named by `name(index)`.
std::string PairName(const Sequence& sequence, int pair,
                     const std::function<std::string(int)>& name);

// The triangles of every pair, or why a pair has none to render: not
// meshed yet, Auto Mesh failed (its reason), or edited in another frame
// than the sequence's present one. Messages name the pair (PairName).
Result<SequenceTriangles> TrianglesOfPairs(const Sequence& sequence,
                                           const std::function<std::string(int)>& name);

// Renders every pair of `sequence`, whose pictures `pictures` places in the
// same order, into `write`; `run` sees each pair's run (Begin, Counter, the
// cancel request, End) and `pair_begins(k, pairs)` is told before pair k.
// Stops at a failure (its message) or when `run` asks to cancel (no
// failure: the caller looks at its cancel request).
Status RenderSequence(const Sequence& sequence, SequencePictures& pictures,
                      const SequenceTriangles& triangles, RunProtocol& run,
                      const FrameWriter& write,
                      const std::function<void(int, int)>& pair_begins = {});

// The placed pictures of a sequence shrunk (by area averaging) to at most
// `max_side` pixels on a side, each shrunk once and kept: what the player
// paints from, so a frame of 48-megapixel photos costs what one of small
// photos does. Pictures that fit are kept as they are.
class ReducedPictures {
 public:
  ReducedPictures(SequencePictures& pictures, int max_side)
      : pictures_(pictures), max_side_(max_side) {}
  Result<Bitmap> Picture(int i);
  int Count() const { return pictures_.Count(); }
  // The size of the pictures as placed (once one was read).
  ImageSize FullSize() const { return {pictures_.Width(), pictures_.Height()}; }

 private:
  SequencePictures& pictures_;
  int max_side_;
  std::map<int, Bitmap> kept_;
};

// Frame `index` (0 .. SequenceFrameCount - 1) of the sequence alone, the
// picture RenderSequence writes there, painted by `painter` (the player's)
// from the reduced pictures with every mesh scaled to them: the exported
// frame shrunk, within the rounding of the scaled nodes.
Result<Bitmap> RenderSequenceFrame(const Sequence& sequence, ReducedPictures& pictures,
                                   const SequenceTriangles& triangles, int index,
                                   PreviewPainter& painter);

}  // namespace vesk
