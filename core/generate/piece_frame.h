// One frame of the morph or the distortion: every triangle in list order
// cut into leaf pieces and painted over what the Vesk bitmap holds. Shared
// by morph.cpp and distortion.cpp; the public entry points are there.
#pragma once

#include <span>

#include "core/generate/block_mask.h"
#include "core/generate/generation_input.h"
#include "core/generate/run_protocol.h"
#include "core/generate/timing_curve.h"
#include "core/image/bitmap.h"

namespace vesk {

enum class PieceKind { kMorph, kDistortion };

struct PieceFrame {
  PieceKind kind = PieceKind::kMorph;
  const Bitmap* first = nullptr;
  const Bitmap* second = nullptr;  // read by the morph only
  std::span<const TrianglePositions> triangles;
  // Frame t of n, on the frame grid: the nodes stand at shape_t / n of
  // their way, the morph blends with the weight colour_t / n (both t in a
  // run with linear timing; timing_curve.h).
  int shape_t = 0;
  int colour_t = 0;
  int n = 1;
  int precision = 1;
  int painting_threads = 0;
  // When set, pieces that meet no marked block may be left out: the frame
  // is then right only on the marked blocks' pixels.
  const BlockMask* wanted = nullptr;
};

// Paints the frame into `vesk`. For each triangle k = 1, 2, ... the
// calling thread, in this order: stops the frame if CancelRequested();
// InnerBar(k * 100 / count); ProcessMessages(); ProcessMessages() once for
// every split of the triangle. The pieces are painted alongside (for a
// bitmap of at least 128 rows by helper threads and the calling thread,
// sharing out bands of rows), so `vesk` must not be read by anyone else
// until this returns; a triangle is painted only once the cancel poll
// before it has passed. Returns the number of triangles painted; with n or
// precision below 1 nothing is painted and no protocol call made.
int PaintPieceFrame(const PieceFrame& frame, Bitmap& vesk, RunProtocol& protocol);

// `frame` as frame t of frame.n under `curves`: each curve's value taken to
// the nearest step of the frame grid.
PieceFrame PieceFrameAt(PieceFrame frame, const TimingCurves& curves, int t);

// Colour of a morph leaf: per channel c1 + ((c2 - c1) * t) div n. Equal to
// BlendColor (morph.h); `delta` is the frame's table, made by MakeBlendTable.
struct BlendTable {
  int delta[511];
};
BlendTable MakeBlendTable(int t, int n);

inline Color BlendWithTable(const BlendTable& table, Color c1, Color c2) {
  const int r1 = static_cast<int>(c1 & 0xFF);
  const int g1 = static_cast<int>((c1 >> 8) & 0xFF);
  const int b1 = static_cast<int>((c1 >> 16) & 0xFF);
  const int r = r1 + table.delta[static_cast<int>(c2 & 0xFF) - r1 + 255];
  const int g = g1 + table.delta[static_cast<int>((c2 >> 8) & 0xFF) - g1 + 255];
  const int b = b1 + table.delta[static_cast<int>((c2 >> 16) & 0xFF) - b1 + 255];
  return static_cast<Color>(r & 0xFF) | (static_cast<Color>(g & 0xFF) << 8) |
         (static_cast<Color>(b & 0xFF) << 16);
}

}  // namespace vesk
