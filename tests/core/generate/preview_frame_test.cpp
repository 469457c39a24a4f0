#include "core/generate/preview_frame.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "core/generate/distortion.h"
#include "core/generate/morph.h"

namespace vesk {
namespace {

struct WrittenFrames : RunProtocol {
  std::vector<Bitmap> frames;
  Status WriteFrame(const Bitmap& frame) override {
    frames.push_back(frame);
    return Status::Success();
  }
};

Bitmap Noise(std::mt19937& rng, int width, int height) {
  Bitmap picture(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) picture.Row(y)[x] = static_cast<Color>(rng() & 0xFFFFFF);
  }
  return picture;
}

// Triangles anywhere in and around the picture, overlapping, moving far:
// frames leave many pixels to what earlier frames painted.
std::vector<TrianglePositions> Scattered(std::mt19937& rng, int count) {
  std::uniform_int_distribution<int> at(-15, 75);
  auto corners = [&] {
    return Corners{Point{at(rng), at(rng)}, Point{at(rng), at(rng)}, Point{at(rng), at(rng)}};
  };
  std::vector<TrianglePositions> triangles;
  for (int i = 0; i < count; ++i) triangles.push_back({corners(), corners()});
  return triangles;
}

struct PreviewCase {
  const char* name;
  PreviewKind kind;
  int frames;
  int precision;
  bool equalize;
  int triangles;
};

class PreviewFrameTest : public ::testing::TestWithParam<PreviewCase> {};

TEST_P(PreviewFrameTest, EqualsTheFrameTheRunWrites) {
  const PreviewCase& c = GetParam();
  std::mt19937 rng(77);
  const Bitmap first = Noise(rng, 64, 48);
  const Bitmap second = Noise(rng, 40, 56);  // another size: outside samples count
  const std::vector<TrianglePositions> triangles = Scattered(rng, c.triangles);
  const GenerationSetup setup{c.frames, c.precision, c.equalize, 2};

  WrittenFrames run;
  Bitmap vesk;
  const Status status = c.kind == PreviewKind::kMorph
                            ? RunMorph(first, second, triangles, setup, vesk, run)
                            : RunDistortion(first, triangles, setup, vesk, run);
  ASSERT_TRUE(status.Ok());
  ASSERT_GE(static_cast<int>(run.frames.size()), c.frames + 1);

  const PreviewInputs inputs{c.kind, &first, &second, triangles, setup};
  PreviewPainter painter;  // one painter for all frames, as the preview uses it
  for (int t = c.frames; t >= 0; --t) {
    EXPECT_TRUE(painter.Frame(inputs, t) == run.frames[static_cast<std::size_t>(t)]) << "t = " << t;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Runs, PreviewFrameTest,
    ::testing::Values(PreviewCase{"MorphPrecision1", PreviewKind::kMorph, 6, 1, false, 12},
                      PreviewCase{"MorphPrecision3", PreviewKind::kMorph, 5, 3, false, 12},
                      PreviewCase{"MorphEqualized", PreviewKind::kMorph, 4, 1, true, 8},
                      PreviewCase{"MorphOneFrame", PreviewKind::kMorph, 1, 1, false, 5},
                      PreviewCase{"DistortionPrecision1", PreviewKind::kDistortion, 6, 1, false, 12},
                      PreviewCase{"DistortionPrecision2", PreviewKind::kDistortion, 5, 2, false, 12},
                      PreviewCase{"DistortionEqualized", PreviewKind::kDistortion, 4, 2, true, 8},
                      PreviewCase{"NoTriangles", PreviewKind::kDistortion, 3, 1, false, 0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vesk
