#include "core/generate/morph.h"

#include "core/generate/equalize.h"
#include "core/generate/piece_frame.h"

namespace vesk {

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
  PieceFrame frame;
  frame.kind = PieceKind::kMorph;
  frame.first = &first;
  frame.second = &second;
  frame.triangles = triangles;
  frame.t = t;
  frame.n = n;
  frame.precision = precision;
  frame.painting_threads = painting_threads;
  return PaintPieceFrame(frame, vesk, protocol);
}

Status RunMorph(const Bitmap& first, const Bitmap& second,
                std::span<const TrianglePositions> triangles, const GenerationSetup& setup,
                Bitmap& vesk, RunProtocol& protocol) {
  Status valid = CheckGenerationSetup(setup);
  if (!valid) return valid;
  const int n = setup.frame_count;
  const bool exact_ends = setup.precision == 1;

  vesk = first;
  protocol.ShowFrame(vesk);
  protocol.Begin();
  int t = 0;
  int last = n;
  if (exact_ends) {
    t = 1;
    last = n - 1;
    Status written = protocol.WriteFrame(vesk);
    if (!written) {
      protocol.End();
      return written;
    }
  }
  do {
    protocol.Counter(t, n);
    PaintMorphFrame(first, second, triangles, t, n, setup.precision, vesk, protocol,
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
  } while (t <= last && !protocol.CancelRequested());

  if (exact_ends) {
    vesk = second;
    protocol.ShowFrame(vesk);
    if (!protocol.CancelRequested()) {
      Status written = protocol.WriteFrame(vesk);
      if (!written) {
        protocol.End();
        return written;
      }
    }
  }
  protocol.End();
  return Status::Success();
}

}  // namespace vesk
