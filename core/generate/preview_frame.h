// One frame of the morph or the distortion computed in memory, for the live
// preview: frame t is the picture that a run on the same inputs writes as
// its frame number t (counting from 0), pixel for pixel, without writing
// any file or calling any protocol.
//
// A run never clears the Vesk image between frames, so a frame holds what
// earlier frames left where its own pieces do not reach. Without
// equalization a pixel keeps the colour of the last frame whose pieces
// covered it (pieces only overwrite), so frame t is painted first and only
// the pixels it leaves uncovered are looked up in earlier frames, painting
// there just the triangles that reach them. With equalization every frame
// changes the whole picture, so the frames before t are run in order.
// A Smooth frame (smooth_frame.h) repaints every pixel and is painted alone.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/generate/block_mask.h"
#include "core/generate/generation_input.h"
#include "core/generate/piece_frame.h"
#include "core/image/bitmap.h"

namespace vesk {

// The morph or the distortion, as the frame painter names them.
using PreviewKind = PieceKind;

struct PreviewInputs {
  PreviewKind kind = PreviewKind::kMorph;
  const Bitmap* first = nullptr;
  const Bitmap* second = nullptr;  // the morph's colours; the distortion ignores it
  std::span<const TrianglePositions> triangles;
  GenerationSetup setup;
};

// Computes preview frames, keeping its working pictures from one frame to
// the next, so a preview that follows the mouse allocates nothing per frame.
class PreviewPainter {
 public:
  // Frame number t (counting from 0, hold frames included; clamped to the
  // run's frames) of the run that `inputs` describe; valid until the next
  // call. An invalid setup (see
  // CheckGenerationSetup) or an empty first image gives the first image.
  const Bitmap& Frame(const PreviewInputs& inputs, int t);

 private:
  void PaintBackwards(const PreviewInputs& inputs, int t, int first_t);
  Bitmap frame_;
  Bitmap earlier_;
  std::vector<std::uint32_t> missing_;  // pixels no frame has painted yet
  BlockMask missing_blocks_;  // the blocks that hold them
};

}  // namespace vesk
