#include "core/generate/preview_frame.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/generate/equalize.h"
#include "core/generate/piece_frame.h"
#include "core/generate/subdivision.h"

namespace vesk {
namespace {

// Painted pieces never carry this value: morph colours keep bits 24-31 at
// zero and the distortion paints outside samples black.
constexpr Color kUnpainted = kInvalidColor;

// What frame number `index` of a run is: a copy of an input or computed
// frame t, and the first computed frame of the run (where history starts).
struct FrameSchedule {
  bool copy_of_first = false;
  bool copy_of_second = false;
  int t = 0;
  int first_t = 0;
};

FrameSchedule ScheduleOf(const PreviewInputs& inputs, int index) {
  const int n = inputs.setup.frame_count;
  FrameSchedule s;
  if (inputs.setup.precision != 1) {
    s.t = index;
    return s;
  }
  s.first_t = 1;
  s.t = index;
  if (index == 0) s.copy_of_first = true;
  // The morph at precision 1 closes with the second image after frames
  // 1 .. N-1 (at least one computed frame, so N = 1 has three frames).
  if (inputs.kind == PreviewKind::kMorph && index == std::max(n, 2)) s.copy_of_second = true;
  return s;
}

PieceFrame PiecesOf(const PreviewInputs& inputs, std::span<const TrianglePositions> triangles,
                    int t) {
  return PieceFrame{.kind = inputs.kind == PreviewKind::kMorph ? PieceKind::kMorph
                                                               : PieceKind::kDistortion,
                    .first = inputs.first,
                    .second = inputs.second,
                    .triangles = triangles,
                    .t = t,
                    .n = inputs.setup.frame_count,
                    .precision = inputs.setup.precision,
                    .painting_threads = inputs.setup.painting_threads};
}

// Counts of still unpainted pixels over rectangles (a summed-area table),
// so a triangle that cannot reach one is left out of an earlier frame.
class MissingPixels {
 public:
  explicit MissingPixels(const Bitmap& frame)
      : width_(frame.Width()), height_(frame.Height()),
        sums_(static_cast<std::size_t>(width_ + 1) * (height_ + 1), 0) {
    for (int y = 0; y < height_; ++y) {
      const Color* row = frame.Row(y);
      std::int64_t line = 0;
      for (int x = 0; x < width_; ++x) {
        line += row[x] == kUnpainted ? 1 : 0;
        At(x + 1, y + 1) = At(x + 1, y) + line;
      }
    }
  }
  bool Any() const { return At(width_, height_) > 0; }
  // Whether an unpainted pixel lies in columns x0..x1, rows y0..y1.
  bool AnyIn(int x0, int y0, int x1, int y1) const {
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, width_ - 1);
    y1 = std::min(y1, height_ - 1);
    if (x0 > x1 || y0 > y1) return false;
    return At(x1 + 1, y1 + 1) - At(x0, y1 + 1) - At(x1 + 1, y0) + At(x0, y0) > 0;
  }

 private:
  std::int64_t& At(int x, int y) { return sums_[static_cast<std::size_t>(y) * (width_ + 1) + x]; }
  std::int64_t At(int x, int y) const {
    return sums_[static_cast<std::size_t>(y) * (width_ + 1) + x];
  }
  int width_, height_;
  std::vector<std::int64_t> sums_;
};

// The triangles of frame t that may paint an unpainted pixel: every piece
// lies within its triangle's in-between bounding box.
std::vector<TrianglePositions> TrianglesReaching(const PreviewInputs& inputs,
                                                 const MissingPixels& missing, int t) {
  std::vector<TrianglePositions> reaching;
  const int n = inputs.setup.frame_count;
  for (const TrianglePositions& tri : inputs.triangles) {
    const Point g0 = InBetween(tri.first.p0, tri.second.p0, t, n);
    const Point g1 = InBetween(tri.first.p1, tri.second.p1, t, n);
    const Point g2 = InBetween(tri.first.p2, tri.second.p2, t, n);
    if (missing.AnyIn(std::min({g0.x, g1.x, g2.x}), std::min({g0.y, g1.y, g2.y}),
                      std::max({g0.x, g1.x, g2.x}), std::max({g0.y, g1.y, g2.y}))) {
      reaching.push_back(tri);
    }
  }
  return reaching;
}

// Without equalization: frame t, then what earlier frames left where it
// paints nothing, then the first image where no frame painted.
Bitmap PaintedBackwards(const PreviewInputs& inputs, const FrameSchedule& s) {
  RunProtocol quiet;
  const Bitmap& first = *inputs.first;
  Bitmap frame(first.Width(), first.Height(), kUnpainted);
  PaintPieceFrame(PiecesOf(inputs, inputs.triangles, s.t), frame, quiet);
  Bitmap earlier;
  for (int t = s.t - 1; t >= s.first_t; --t) {
    const MissingPixels missing(frame);
    if (!missing.Any()) break;
    const std::vector<TrianglePositions> reaching = TrianglesReaching(inputs, missing, t);
    if (reaching.empty()) continue;
    if (earlier.Empty()) earlier = Bitmap(first.Width(), first.Height(), kUnpainted);
    earlier.Fill(kUnpainted);
    PaintPieceFrame(PiecesOf(inputs, reaching, t), earlier, quiet);
    for (int y = 0; y < frame.Height(); ++y) {
      Color* row = frame.Row(y);
      const Color* from = earlier.Row(y);
      for (int x = 0; x < frame.Width(); ++x) {
        if (row[x] == kUnpainted) row[x] = from[x];
      }
    }
  }
  for (int y = 0; y < frame.Height(); ++y) {
    Color* row = frame.Row(y);
    const Color* from = first.Row(y);
    for (int x = 0; x < frame.Width(); ++x) {
      if (row[x] == kUnpainted) row[x] = from[x];
    }
  }
  return frame;
}

// With equalization: the run's frames in order, as the run paints them.
Bitmap PaintedInOrder(const PreviewInputs& inputs, const FrameSchedule& s) {
  RunProtocol quiet;
  Bitmap frame = *inputs.first;
  for (int t = s.first_t; t <= s.t; ++t) {
    PaintPieceFrame(PiecesOf(inputs, inputs.triangles, t), frame, quiet);
    EqualizePicture(frame, quiet);
  }
  return frame;
}

}  // namespace

Bitmap PreviewFrame(const PreviewInputs& inputs, int t) {
  if (inputs.first == nullptr || inputs.first->Empty() || !CheckGenerationSetup(inputs.setup) ||
      (inputs.kind == PreviewKind::kMorph && inputs.second == nullptr)) {
    return inputs.first != nullptr ? *inputs.first : Bitmap();
  }
  const int n = inputs.setup.frame_count;
  const bool three_frame_morph = inputs.kind == PreviewKind::kMorph &&
                                 inputs.setup.precision == 1 && n == 1;
  const FrameSchedule s = ScheduleOf(inputs, std::clamp(t, 0, three_frame_morph ? 2 : n));
  if (s.copy_of_first) return *inputs.first;
  if (s.copy_of_second) return *inputs.second;
  return inputs.setup.equalize ? PaintedInOrder(inputs, s) : PaintedBackwards(inputs, s);
}

}  // namespace vesk
