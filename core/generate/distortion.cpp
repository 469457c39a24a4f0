#include "core/generate/distortion.h"

#include "core/generate/frame_run.h"
#include "core/generate/piece_frame.h"

namespace vesk {
namespace {

PieceFrame DistortionPieces(const Bitmap& first, std::span<const TrianglePositions> triangles,
                            int n, int precision, int painting_threads) {
  return PieceFrame{.kind = PieceKind::kDistortion,
                    .first = &first,
                    .triangles = triangles,
                    .n = n,
                    .precision = precision,
                    .painting_threads = painting_threads};
}

}  // namespace

int PaintDistortionFrame(const Bitmap& first, std::span<const TrianglePositions> triangles, int t,
                         int n, int precision, Bitmap& vesk, RunProtocol& protocol,
                         int painting_threads) {
  PieceFrame frame = DistortionPieces(first, triangles, n, precision, painting_threads);
  frame.shape_t = t;
  frame.colour_t = t;
  return PaintPieceFrame(frame, vesk, protocol);
}

Status RunDistortion(const Bitmap& first, std::span<const TrianglePositions> triangles,
                     const GenerationSetup& setup, Bitmap& vesk, RunProtocol& protocol) {
  Status valid = CheckGenerationSetup(setup);
  if (!valid) return valid;
  const int n = setup.frame_count;
  FrameRun run;
  run.frame = DistortionPieces(first, triangles, n, setup.precision, setup.painting_threads);
  run.equalize = setup.equalize;
  run.renderer = setup.renderer;
  run.curves = setup.curves;
  run.hold = setup.hold;
  // Precision 1 opens with the exact first image; either way the loop runs
  // to frame N and there is no closing copy of the second image.
  run.opening_copy = setup.precision == 1;
  run.first_t = run.opening_copy ? 1 : 0;
  run.last_t = n;
  run.closing = RunClosing::kShowLastFrame;
  return RunFrames(run, vesk, protocol);
}

}  // namespace vesk
