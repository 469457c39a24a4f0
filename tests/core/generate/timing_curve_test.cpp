// The timing curves, where they put the frames of a run, and the hold frames.
#include "core/generate/timing_curve.h"

#include <gtest/gtest.h>

#include <random>

#include "core/generate/distortion.h"
#include "core/generate/morph.h"
#include "core/generate/smooth_frame.h"
#include "tests/core/support/engine_support.h"
#include "tests/core/support/random_image.h"
#include "tests/core/support/recording_run.h"

namespace vesk {
namespace {

constexpr TimingCurve kLinear = TimingCurve::kLinear, kIn = TimingCurve::kEaseIn,
                      kOut = TimingCurve::kEaseOut, kInOut = TimingCurve::kEaseInOut;

TEST(TimingCurve, RunsFromZeroToOneWithoutGoingBack) {
  struct Row { TimingCurve curve; const char* word; double quarter, half, three_quarters; };
  const Row rows[] = {{kLinear, "linear", 0.25, 0.5, 0.75},
                      {kIn, "ease-in", 0.0625, 0.25, 0.5625},
                      {kOut, "ease-out", 0.4375, 0.75, 0.9375},
                      {kInOut, "ease-in-out", 0.15625, 0.5, 0.84375}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.word);
    for (auto [x, value] : {std::pair{-1.0, 0.0}, {0.0, 0.0}, {0.25, row.quarter},
                            {0.5, row.half}, {0.75, row.three_quarters}, {1.0, 1.0}, {2.0, 1.0}}) {
      EXPECT_DOUBLE_EQ(CurveValue(row.curve, x), value) << x;
    }
    for (int i = 1; i <= 1000; ++i) {
      ASSERT_GE(CurveValue(row.curve, i / 1000.0), CurveValue(row.curve, (i - 1) / 1000.0)) << i;
    }
    EXPECT_EQ(CurveWord(row.curve), row.word);
    EXPECT_EQ(CurveOfWord(row.word), row.curve);
  }
  EXPECT_EQ(CurveOfWord("Linear"), std::nullopt);
}

TEST(TimingCurve, PlacesTheFramesOfASmallRunAndItsHolds) {
  const TimingCurves curves{kIn, kOut};
  const double shape[] = {0, 0.0625, 0.25, 0.5625, 1}, colour[] = {0, 0.4375, 0.75, 0.9375, 1};
  const int shape_steps[] = {0, 0, 1, 2, 4}, colour_steps[] = {0, 2, 3, 4, 4};
  for (int t = 0; t <= 4; ++t) {
    const FramePosition at = PositionOfFrame(curves, t, 4);
    EXPECT_DOUBLE_EQ(at.shape, shape[t]);
    EXPECT_DOUBLE_EQ(at.colour, colour[t]);
    EXPECT_EQ(NearestStep(at.shape, 4), shape_steps[t]);
    EXPECT_EQ(NearestStep(at.colour, 4), colour_steps[t]);
  }
  EXPECT_EQ(NearestStep(0.125, 4), 1);  // halves up
  for (int n : {1, 7, 100, 65535}) {  // linear keeps every frame on its own step
    for (int t : {0, 1, n / 3, n - 1, n}) EXPECT_EQ(NearestStep(PositionOfFrame({}, t, n).shape, n), t);
  }
  const int unheld[] = {0, 0, 0, 1, 2, 3, 4, 5, 5, 5};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(UnheldFrameNumber(i, 2, 5), unheld[i]) << i;
}

// Runs with curves and holds write, in order: the first frame 1 + hold
// times, the computed frames at their positions painted over each other,
// the last frame 1 + hold times.
TEST(TimingCurve, RunsPaintEachFrameAtItsPositionsAndHoldTheEnds) {
  struct Row {
    const char* name; bool morph; Renderer renderer; int precision, frames, hold;
    TimingCurves curves;
    std::vector<std::pair<double, double>> at;  // Classic: steps; Smooth: exact positions
  };
  const Row rows[] = {
      {"classic morph", true, Renderer::kClassic, 1, 4, 2, {kIn, kOut}, {{0, 2}, {1, 3}, {2, 4}}},
      {"classic distortion", false, Renderer::kClassic, 2, 3, 1, {kIn, kLinear},
       {{0, 0}, {0, 1}, {1, 2}, {3, 3}}},
      {"smooth morph", true, Renderer::kSmooth, 1, 4, 1, {kIn, kOut},
       {{0.0625, 0.4375}, {0.25, 0.75}, {0.5625, 0.9375}}},
  };
  std::mt19937 rng(31);
  testing::Scene s{testing_support::RandomImage(48, 40, 1), testing_support::RandomImage(48, 40, 2),
                   testing::MeshTriangles(rng, 48, 40, 4, 3, 8)};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    GenerationSetup setup{row.frames, row.precision, false, 1, row.renderer, row.curves, row.hold};
    testing_support::RecordingRun run;
    Bitmap vesk;
    ASSERT_TRUE(row.morph ? RunMorph(s.first, s.second, s.triangles, setup, vesk, run)
                          : RunDistortion(s.first, s.triangles, setup, vesk, run));
    std::vector<Bitmap> expected;
    const auto held = [&](const Bitmap& b) { expected.insert(expected.end(), row.hold + 1, b); };
    if (row.precision == 1) held(s.first);
    Bitmap painted = s.first;
    for (std::size_t i = 0; i < row.at.size(); ++i) {
      const auto [shape, colour] = row.at[i];
      RunProtocol quiet;
      if (row.renderer == Renderer::kSmooth) {
        PaintSmoothFrame({PieceKind::kMorph, &s.first, &s.second, s.triangles, shape, colour},
                         painted, quiet);
      } else {
        testing::RefPainter{s.first, s.second, int(shape), row.frames, !row.morph, painted, 0,
                            int(colour)}
            .Frame(s.triangles, row.precision);
      }
      const bool end = (i == 0 && row.precision != 1) || (i + 1 == row.at.size() && !row.morph);
      end ? held(painted) : expected.push_back(painted);
    }
    if (row.morph) held(s.second);
    EXPECT_EQ(run.written, expected);
  }
}

}  // namespace
}  // namespace vesk
