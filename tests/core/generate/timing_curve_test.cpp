// The timing curves, where they put the frames of a run, and the hold frames.
#include "core/generate/timing_curve.h"

#include <gtest/gtest.h>

#include "core/generate/distortion.h"
#include "core/generate/morph.h"
#include "core/generate/smooth_frame.h"
#include "tests/core/support/engine_support.h"
#include "tests/core/support/random_image.h"
#include "tests/core/support/recording_run.h"

namespace vesk {
namespace {

using enum TimingCurve;

TEST(TimingCurve, RunsFromZeroToOneWithoutGoingBack) {
  struct Row { TimingCurve curve; const char* word; double at[5]; };  // at x = 0, 1/4 .. 1
  for (const Row& row : {Row{kLinear, "linear", {0, 0.25, 0.5, 0.75, 1}},
                         Row{kEaseIn, "ease-in", {0, 0.0625, 0.25, 0.5625, 1}},
                         Row{kEaseOut, "ease-out", {0, 0.4375, 0.75, 0.9375, 1}},
                         Row{kEaseInOut, "ease-in-out", {0, 0.15625, 0.5, 0.84375, 1}}}) {
    SCOPED_TRACE(row.word);
    for (int i = 0; i <= 4; ++i) EXPECT_DOUBLE_EQ(CurveValue(row.curve, i / 4.0), row.at[i]) << i;
    EXPECT_EQ(CurveValue(row.curve, -1) + CurveValue(row.curve, 2), 1);  // held to 0 .. 1
    for (int i = 1; i <= 1000; ++i) {
      ASSERT_GE(CurveValue(row.curve, i / 1000.0), CurveValue(row.curve, (i - 1) / 1000.0)) << i;
    }
    EXPECT_EQ(CurveWord(row.curve), row.word);
    EXPECT_EQ(CurveOfWord(row.word), row.curve);
  }
  EXPECT_TRUE(!CurveOfWord("Linear") && NearestStep(0.125, 4) == 1);  // halves up
  EXPECT_EQ(PositionOfFrame({}, 3, 0).shape, 0);  // no frames: no way to go
  for (int n : {1, 7, 100, 65535}) {  // linear keeps every frame on its own step
    for (int t : {1, n / 3, n - 1}) EXPECT_EQ(NearestStep(PositionOfFrame({}, t, n).shape, n), t);
  }
}

// In order: the first frame 1 + hold times, the frames at their positions painted
// over each other, the last frame 1 + hold times.
TEST(TimingCurve, RunsPaintEachFrameAtItsPositionsAndHoldTheEnds) {
  struct Row {
    const char* name; bool morph; Renderer renderer; int precision, frames, hold;
    TimingCurves curves;
    std::vector<std::pair<double, double>> at;  // Classic: steps; Smooth: exact positions
  };
  const Row rows[] = {
      {"morph", true, Renderer::kClassic, 1, 4, 2, {kEaseIn, kEaseOut}, {{0, 2}, {1, 3}, {2, 4}}},
      {"distortion", false, Renderer::kClassic, 2, 3, 1, {kEaseIn, kLinear},
       {{0, 0}, {0, 1}, {1, 2}, {3, 3}}},
      {"smooth", true, Renderer::kSmooth, 1, 4, 1, {kEaseIn, kEaseOut},
       {{0.0625, 0.4375}, {0.25, 0.75}, {0.5625, 0.9375}}},
  };
  std::mt19937 rng(31);
  const Bitmap first = testing_support::RandomImage(48, 40, 1);
  const Bitmap second = testing_support::RandomImage(48, 40, 2);
  const auto triangles = testing::MeshTriangles(rng, 48, 40, 4, 3, 8);
  for (const Row& row : rows) {
    const GenerationSetup setup{row.frames, row.precision, false, 1, row.renderer, row.curves,
                                row.hold};
    testing_support::RecordingRun run;
    Bitmap painted = first;
    ASSERT_TRUE(row.morph ? RunMorph(first, second, triangles, setup, painted, run)
                          : RunDistortion(first, triangles, setup, painted, run));
    std::vector<Bitmap> expected;
    const auto held = [&](const Bitmap& b) { expected.insert(expected.end(), row.hold + 1, b); };
    if (row.precision == 1) held(first);
    painted = first;
    for (std::size_t i = 0; i < row.at.size(); ++i) {
      const auto [shape, colour] = row.at[i];
      if (row.renderer == Renderer::kSmooth) {
        PaintSmoothFrame({PieceKind::kMorph, &first, &second, triangles, shape, colour}, painted, run);
      } else {
        testing::RefPainter{first, second, int(shape), row.frames, !row.morph, painted, 0,
                            int(colour)}.Frame(triangles, row.precision);
      }
      const bool end = (i == 0 && row.precision != 1) || (i + 1 == row.at.size() && !row.morph);
      end ? held(painted) : expected.push_back(painted);
    }
    if (row.morph) held(second);
    EXPECT_EQ(run.written, expected) << row.name;
  }
}

}  // namespace
}  // namespace vesk
