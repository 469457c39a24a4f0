// Similarity transforms from two point pairs and fitting, and the warp that applies them.
#include "core/image/similarity_warp.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>

#include "tests/core/support/random_image.h"

namespace vesk {
namespace {

double Gap(PicturePoint p, PicturePoint q) { return std::hypot(p.x - q.x, p.y - q.y); }

TEST(Similarity, TwoEyePairsGiveTheTurnScaleAndShift) {
  struct Row { double degrees, scale, tx, ty; PicturePoint left, right; };
  for (const Row& row : {Row{10, 0.9, 14, -7, {200, 240}, {310, 236}},
                         Row{-35, 1.6, 0, 3, {51.5, 80.25}, {20, 10}},
                         Row{180, 1, -4, 9, {0, 0}, {0, 1}}}) {
    const double turn = row.degrees * std::numbers::pi / 180;
    const Similarity truth{row.scale * std::cos(turn), row.scale * std::sin(turn), row.tx, row.ty};
    const auto found = SimilarityOf(row.left, row.right, Apply(truth, row.left),
                                    Apply(truth, row.right));
    ASSERT_TRUE(found);
    for (PicturePoint p : {PicturePoint{0, 0}, PicturePoint{100, -50}, PicturePoint{3, 7}}) {
      EXPECT_LT(Gap(Apply(*found, p), Apply(truth, p)), 1e-9);
      EXPECT_LT(Gap(Apply(Then(truth, *found), p), Apply(*found, Apply(truth, p))), 1e-9);
    }
  }
  EXPECT_FALSE(SimilarityOf({5, 5}, {5, 5}, {1, 1}, {2, 2}));
  // A 100 x 50 picture in a 50 x 50 frame: half size, 12.5 pixels above and below.
  const Similarity fit = FitInside(100, 50, 50, 50);
  EXPECT_LT(Gap(Apply(fit, {-0.5, -0.5}), {-0.5, 12}) + Gap(Apply(fit, {99.5, 49.5}), {49.5, 37}),
            1e-9);
}

TEST(Similarity, WarpSamplesBilinearlyAndRepeatsTheEdges) {
  const Bitmap source = testing_support::RandomImage(5, 4, 3);
  const auto at = [&](int x, int y) { return source.Pixel(std::clamp(x, 0, 4), std::clamp(y, 0, 3)); };
  const auto mean = [&](int x, int y) {  // of the four pixels from (x, y), rounded
    Color c = 0;
    for (int s = 0; s < 24; s += 8) {
      c |= ((at(x, y) >> s & 255) + (at(x + 1, y) >> s & 255) + (at(x, y + 1) >> s & 255) +
            (at(x + 1, y + 1) >> s & 255) + 2) / 4 << s;
    }
    return c;
  };
  struct Row { Similarity s; int width, height; std::function<Color(int, int)> pixel; };
  const Row rows[] = {
      {{}, 5, 4, at},                                                         // the same
      {{1, 0, -2, 1}, 6, 4, [&](int x, int y) { return at(x + 2, y - 1); }},  // shifted
      {{0, 1, 3, 0}, 4, 5, [&](int x, int y) { return at(y, 3 - x); }},       // a quarter turn
      {{1, 0, -0.5, -0.5}, 5, 4, mean},                                       // half a pixel
  };
  for (const Row& row : rows) {
    const Bitmap out = WarpPicture(source, row.s, row.width, row.height);
    for (int i = 0; i < row.width * row.height; ++i) {
      EXPECT_EQ(out.Pixel(i % row.width, i / row.width), row.pixel(i % row.width, i / row.width));
    }
  }
  EXPECT_EQ(WarpPicture(source, {0, 0, 0, 0}, 2, 2), Bitmap(2, 2, source.Pixel(0, 0)));
}

}  // namespace
}  // namespace vesk
