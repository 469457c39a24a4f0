// Fitting the second picture to the first's size: the picture takes the
// first's size, a node on a feature of the second picture still marks that
// feature, and only the nodes' second positions move.
#include "core/sequence/pair_fit.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vesk {
namespace {

TEST(PairFit, SecondPositionsFollowTheFeatureTheyMark) {
  const struct {
    ImageSize second, first;
    TMeshNode marked;  // a 3 x 3 white spot on black around (X2, Y2) of the
                       // second picture
  } rows[] = {
      {{60, 50}, {40, 40}, {5, 6, 20, 30}},        // shrunk, bands above and below
      {{30, 40}, {60, 60}, {50, 2, 7, 31}},        // enlarged, bands left and right
      {{512, 512}, {512, 600}, {9, 9, 300, 100}},  // the README's portraits
      {{512, 600}, {512, 512}, {9, 9, 100, 550}},
  };
  for (const auto& r : rows) {
    Bitmap second(r.second.width, r.second.height, MakeColor(0, 0, 0));
    for (int k = 0; k < 9; ++k) {
      second.SetPixel(r.marked.X2 + k % 3 - 1, r.marked.Y2 + k / 3 - 1, kWhite);
    }
    const TMeshNode corner{3, 4, r.second.width - 1, r.second.height - 1};
    const MeshSnapshot mesh{{r.marked, {0, 0, 0, 0}, corner}, {{0, 1, 2}}, 2, 0};
    const FittedPair fitted = FitSecondToFirst(second, r.first, mesh);
    ASSERT_EQ(ImageSize(fitted.second.Width(), fitted.second.Height()), r.first);
    // The spot's brightness-weighted centre in the fitted picture.
    double sum = 0, x_sum = 0, y_sum = 0;
    for (int y = 0; y < r.first.height; ++y) {
      for (int x = 0; x < r.first.width; ++x) {
        const double v = RedOf(fitted.second.Pixel(x, y));
        sum += v;
        x_sum += v * x;
        y_sum += v * y;
      }
    }
    const TMeshNode& moved = fitted.mesh.nodes[0];
    EXPECT_LE(std::hypot(moved.X2 - x_sum / sum, moved.Y2 - y_sum / sum), 0.75)
        << r.second.width << "x" << r.second.height << " node at " << moved.X2 << "," << moved.Y2;
    // The picture's corners stay inside the first's frame.
    const TMeshNode& top_left = fitted.mesh.nodes[1];
    const TMeshNode& bottom_right = fitted.mesh.nodes[2];
    EXPECT_TRUE(top_left.X2 >= 0 && top_left.Y2 >= 0 && bottom_right.X2 < r.first.width &&
                bottom_right.Y2 < r.first.height);
    MeshSnapshot expected = mesh;
    for (std::size_t i = 0; i < expected.nodes.size(); ++i) {
      expected.nodes[i].X2 = fitted.mesh.nodes[i].X2;
      expected.nodes[i].Y2 = fitted.mesh.nodes[i].Y2;
    }
    EXPECT_EQ(fitted.mesh, expected);
  }
}

}  // namespace
}  // namespace vesk
