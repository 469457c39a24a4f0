// The preview paints frame t exactly as the run writes it.
#include "core/generate/preview_frame.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "core/generate/distortion.h"
#include "core/generate/morph.h"
#include "tests/core/support/engine_support.h"
#include "tests/core/support/random_image.h"
#include "tests/core/support/recording_run.h"

namespace vesk {
namespace {

TEST(PreviewFrame, EqualsTheFrameTheRunWrites) {
  struct Row {
    const char* name; PreviewKind kind; int frames, precision; bool equalize; int n;
    Renderer renderer = Renderer::kClassic;
    TimingCurves curves = {}; int hold = 0;
  };
  constexpr PreviewKind kM = PreviewKind::kMorph, kD = PreviewKind::kDistortion;
  constexpr Renderer kSmooth = Renderer::kSmooth, kClassic = Renderer::kClassic;
  using enum TimingCurve;
  const Row rows[] = {
      {"MorphPrecision1", kM, 6, 1, false, 12},      {"MorphPrecision3", kM, 5, 3, false, 12},
      {"MorphEqualized", kM, 4, 1, true, 8},         {"MorphOneFrame", kM, 1, 1, false, 5},
      {"DistortionPrecision1", kD, 6, 1, false, 12}, {"DistortionPrecision2", kD, 5, 2, false, 12},
      {"DistortionEqualized", kD, 4, 2, true, 8},    {"NoTriangles", kD, 3, 1, false, 0},
      {"SmoothMorph", kM, 4, 1, true, 8, kSmooth},   {"SmoothDistortion", kD, 5, 2, false, 12, kSmooth},
      {"EasedHeldMorph", kM, 5, 1, false, 12, kClassic, {kEaseIn, kEaseOut}, 2},
      {"EasedHeldDistortion", kD, 6, 2, false, 12, kClassic, {kEaseOut}, 1},
      {"SmoothEased", kM, 4, 1, false, 8, kSmooth, {kEaseInOut, kEaseIn}, 1},
  };
  const Bitmap first = testing_support::RandomImage(64, 48, 1);
  const Bitmap second = testing_support::RandomImage(40, 56, 2);  // outside samples count
  for (const Row& c : rows) {
    SCOPED_TRACE(c.name);
    // Overlapping triangles in and around the picture: frames keep earlier paint.
    std::mt19937 rng(77);
    const std::vector<TrianglePositions> triangles = testing::MeshTriangles(rng, 64, 48, 0, c.n, 0);
    const GenerationSetup setup{c.frames, c.precision, c.equalize, 2, c.renderer, c.curves, c.hold};
    testing_support::RecordingRun run;
    Bitmap vesk;
    ASSERT_TRUE((c.kind == PreviewKind::kMorph
                     ? RunMorph(first, second, triangles, setup, vesk, run)
                     : RunDistortion(first, triangles, setup, vesk, run))
                    .Ok());
    ASSERT_GE(std::ssize(run.written), c.frames + 1 + 2 * c.hold);
    const PreviewInputs inputs{c.kind, &first, &second, triangles, setup};
    PreviewPainter painter;  // one painter for all frames, as the preview uses it
    for (int t = c.frames + 2 * c.hold; t >= 0; --t) {
      EXPECT_TRUE(painter.Frame(inputs, t) == run.written[static_cast<std::size_t>(t)]) << t;
    }
  }
}

}  // namespace
}  // namespace vesk
