#include "core/generate/distortion.h"

#include "core/generate/equalize.h"
#include "core/generate/piece_frame.h"

namespace vesk {

int PaintDistortionFrame(const Bitmap& first, std::span<const TrianglePositions> triangles, int t,
                         int n, int precision, Bitmap& vesk, RunProtocol& protocol,
                         int painting_threads) {
  PieceFrame frame;
  frame.kind = PieceKind::kDistortion;
  frame.first = &first;
  frame.triangles = triangles;
  frame.t = t;
  frame.n = n;
  frame.precision = precision;
  frame.painting_threads = painting_threads;
  return PaintPieceFrame(frame, vesk, protocol);
}

Status RunDistortion(const Bitmap& first, std::span<const TrianglePositions> triangles,
                     const GenerationSetup& setup, Bitmap& vesk, RunProtocol& protocol) {
  Status valid = CheckGenerationSetup(setup);
  if (!valid) return valid;
  const int n = setup.frame_count;

  vesk = first;
  protocol.ShowFrame(vesk);
  protocol.Begin();
  int t = 0;
  if (setup.precision == 1) {
    t = 1;
    Status written = protocol.WriteFrame(vesk);
    if (!written) {
      protocol.End();
      return written;
    }
  }
  do {
    protocol.Counter(t, n);
    PaintDistortionFrame(first, triangles, t, n, setup.precision, vesk, protocol,
                         setup.painting_threads);
    if (setup.equalize) EqualizePicture(vesk, protocol);
    protocol.ShowFrame(vesk);
    if (!protocol.CancelRequested()) {
      Status written = protocol.WriteFrame(vesk);
      if (!written) {
        protocol.End();
        return written;
      }
    }
    ++t;
  } while (t <= n && !protocol.CancelRequested());

  protocol.ShowFrame(vesk);
  protocol.End();
  return Status::Success();
}

}  // namespace vesk
