#include "core/generate/morph.h"

#include "core/generate/frame_run.h"
#include "core/generate/piece_frame.h"

namespace vesk {
namespace {

PieceFrame MorphPieces(const Bitmap& first, const Bitmap& second,
                       std::span<const TrianglePositions> triangles, int n, int precision,
                       int painting_threads) {
  return PieceFrame{.kind = PieceKind::kMorph,
                    .first = &first,
                    .second = &second,
                    .triangles = triangles,
                    .n = n,
                    .precision = precision,
                    .painting_threads = painting_threads};
}

}  // namespace

Color BlendColor(Color c1, Color c2, int t, int n) {
  int channels[3];
  for (int i = 0; i < 3; ++i) {
    const int a = static_cast<int>((c1 >> (8 * i)) & 0xFF);
    const int b = static_cast<int>((c2 >> (8 * i)) & 0xFF);
    channels[i] = static_cast<int>((a + std::int64_t{b - a} * t / n) & 0xFF);
  }
  return MakeColor(channels[0], channels[1], channels[2]);
}

int PaintMorphFrame(const Bitmap& first, const Bitmap& second,
                    std::span<const TrianglePositions> triangles, int t, int n, int precision,
                    Bitmap& vesk, RunProtocol& protocol, int painting_threads) {
  PieceFrame frame = MorphPieces(first, second, triangles, n, precision, painting_threads);
  frame.shape_t = t;
  frame.colour_t = t;
  return PaintPieceFrame(frame, vesk, protocol);
}

Status RunMorph(const Bitmap& first, const Bitmap& second,
                std::span<const TrianglePositions> triangles, const GenerationSetup& setup,
                Bitmap& vesk, RunProtocol& protocol) {
  Status valid = CheckGenerationSetup(setup);
  if (!valid) return valid;
  const int n = setup.frame_count;
  FrameRun run;
  run.frame =
      MorphPieces(first, second, triangles, n, setup.precision, setup.painting_threads);
  run.equalize = setup.equalize;
  run.renderer = setup.renderer;
  run.curves = setup.curves;
  run.hold = setup.hold;
  if (setup.precision == 1) {
    // The exact first and second images open and close the run; only the
    // frames between them are computed.
    run.first_t = 1;
    run.last_t = n - 1;
    run.opening_copy = true;
    run.closing = RunClosing::kWriteSecondImage;
  } else {
    run.first_t = 0;
    run.last_t = n;
  }
  return RunFrames(run, vesk, protocol);
}

}  // namespace vesk
