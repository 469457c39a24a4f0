#include "core/generate/preview_frame.h"

#include <algorithm>

#include "core/generate/equalize.h"
#include "core/generate/piece_frame.h"
#include "core/generate/smooth_frame.h"
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
  s.t = index;
  if (inputs.setup.precision != 1) return s;
  s.first_t = 1;
  if (index == 0) s.copy_of_first = true;
  // The morph at precision 1 closes with the second image after frames
  // 1 .. N-1 (at least one computed frame, so N = 1 has three frames).
  if (inputs.kind == PreviewKind::kMorph && index == std::max(n, 2)) s.copy_of_second = true;
  return s;
}

PieceFrame PiecesOf(const PreviewInputs& inputs, std::span<const TrianglePositions> triangles,
                    int t, const BlockMask* wanted = nullptr) {
  return PieceFrameAt(PieceFrame{.kind = inputs.kind,
                                 .first = inputs.first,
                                 .second = inputs.second,
                                 .triangles = triangles,
                                 .n = inputs.setup.frame_count,
                                 .precision = inputs.setup.precision,
                                 .painting_threads = inputs.setup.painting_threads,
                                 .wanted = wanted},
                      inputs.setup.curves, t);
}

}  // namespace

// Without equalization: frame t, then what earlier frames left where it
// paints nothing (painting only the pieces whose bounding box meets a block
// that holds an unpainted pixel: leaving out the others changes no
// unpainted pixel), then the first image where no frame painted.
void PreviewPainter::PaintBackwards(const PreviewInputs& inputs, int t, int first_t) {
  RunProtocol quiet;
  const Bitmap& first = *inputs.first;
  const int width = first.Width();
  const int n = inputs.setup.frame_count;
  if (frame_.Width() != width || frame_.Height() != first.Height()) {
    frame_ = Bitmap(width, first.Height(), kUnpainted);
  } else {
    frame_.Fill(kUnpainted);
  }
  PaintPieceFrame(PiecesOf(inputs, inputs.triangles, t), frame_, quiet);
  // Rows are stored one after the other: pixel (x, y) is element y * width + x.
  Color* frame = frame_.Row(0);
  const std::uint32_t pixels = static_cast<std::uint32_t>(width) * first.Height();
  missing_.clear();
  for (std::uint32_t p = 0; p < pixels; ++p) {
    if (frame[p] == kUnpainted) missing_.push_back(p);
  }

  std::vector<TrianglePositions> reaching;
  for (int s = t - 1; s >= first_t && !missing_.empty(); --s) {
    missing_blocks_.MarkPixels(missing_, width, first.Height());
    reaching.clear();
    const int shape_t = PiecesOf(inputs, {}, s).shape_t;
    for (const TrianglePositions& tri : inputs.triangles) {
      const Point g0 = InBetween(tri.first.p0, tri.second.p0, shape_t, n);
      const Point g1 = InBetween(tri.first.p1, tri.second.p1, shape_t, n);
      const Point g2 = InBetween(tri.first.p2, tri.second.p2, shape_t, n);
      if (missing_blocks_.Meets(std::min({g0.x, g1.x, g2.x}), std::min({g0.y, g1.y, g2.y}),
                                std::max({g0.x, g1.x, g2.x}), std::max({g0.y, g1.y, g2.y}))) {
        reaching.push_back(tri);
      }
    }
    if (reaching.empty()) continue;
    // Only the unpainted pixels are read back, so only they need marking.
    if (earlier_.Width() != width || earlier_.Height() != first.Height()) {
      earlier_ = Bitmap(width, first.Height());
    }
    Color* earlier = earlier_.Row(0);
    for (const std::uint32_t p : missing_) earlier[p] = kUnpainted;
    PaintPieceFrame(PiecesOf(inputs, reaching, s, &missing_blocks_), earlier_, quiet);
    std::size_t kept = 0;
    for (const std::uint32_t p : missing_) {
      if (earlier[p] == kUnpainted) {
        missing_[kept++] = p;
      } else {
        frame[p] = earlier[p];
      }
    }
    missing_.resize(kept);
  }
  const Color* source = first.Row(0);
  for (const std::uint32_t p : missing_) frame[p] = source[p];
}

const Bitmap& PreviewPainter::Frame(const PreviewInputs& inputs, int t) {
  if (inputs.first == nullptr || inputs.first->Empty() || !CheckGenerationSetup(inputs.setup) ||
      (inputs.kind == PreviewKind::kMorph && inputs.second == nullptr)) {
    frame_ = inputs.first != nullptr ? *inputs.first : Bitmap();
    return frame_;
  }
  const int n = inputs.setup.frame_count;
  const bool three_frame_morph =
      inputs.kind == PreviewKind::kMorph && inputs.setup.precision == 1 && n == 1;
  const FrameSchedule s =
      ScheduleOf(inputs, UnheldFrameNumber(t, inputs.setup.hold, three_frame_morph ? 2 : n));
  if (inputs.setup.renderer == Renderer::kSmooth && !s.copy_of_first && !s.copy_of_second) {
    // A Smooth frame repaints every pixel, so no earlier frame shows through.
    if (frame_.Width() != inputs.first->Width() || frame_.Height() != inputs.first->Height()) {
      frame_ = Bitmap(inputs.first->Width(), inputs.first->Height());
    }
    RunProtocol quiet;
    PaintSmoothFrame(SmoothFrameAt(PiecesOf(inputs, inputs.triangles, s.t),
                                   PositionOfFrame(inputs.setup.curves, s.t, n)),
                     frame_, quiet);
    if (inputs.setup.equalize) EqualizePicture(frame_, quiet);
    return frame_;
  }
  if (s.copy_of_first || s.copy_of_second || inputs.setup.equalize) {
    frame_ = s.copy_of_second ? *inputs.second : *inputs.first;
    if (s.copy_of_first || s.copy_of_second) return frame_;
    // With equalization every frame changes the whole picture: the run's
    // frames in order, as the run paints them.
    RunProtocol quiet;
    for (int k = s.first_t; k <= s.t; ++k) {
      PaintPieceFrame(PiecesOf(inputs, inputs.triangles, k), frame_, quiet);
      EqualizePicture(frame_, quiet);
    }
    return frame_;
  }
  PaintBackwards(inputs, s.t, s.first_t);
  return frame_;
}

}  // namespace vesk
