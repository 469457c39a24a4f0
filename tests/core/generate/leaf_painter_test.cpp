#include "core/generate/leaf_painter.h"

#include <gtest/gtest.h>

#include <random>

#include "core/image/raster.h"
#include "tests/core/generate/piece_test_support.h"

namespace vesk {
namespace {

using testing::RefLeaf;

// Random leaves: mostly small (the mask table's shapes), some larger, some
// reaching over the bitmap's border or lying wholly outside it.
Corners RandomLeaf(std::mt19937& rng, int width, int height) {
  std::uniform_int_distribution<int> kind(0, 9);
  std::uniform_int_distribution<int> px(-6, width + 5);
  std::uniform_int_distribution<int> py(-6, height + 5);
  const int reach = kind(rng) < 7 ? 3 : (kind(rng) < 8 ? 5 : 40);
  std::uniform_int_distribution<int> off(-reach, reach);
  const Point p0{px(rng), py(rng)};
  return Corners{p0, Point{p0.x + off(rng), p0.y + off(rng)},
                 Point{p0.x + off(rng), p0.y + off(rng)}};
}

Color RandomColor(std::mt19937& rng) {
  return static_cast<Color>(rng() & 0xFFFFFF);
}

TEST(LeafPainter, PaintsExactlyThePixelsOfFillLeafPiece) {
  std::mt19937 rng(20240611);
  for (int round = 0; round < 40; ++round) {
    const int width = 5 + static_cast<int>(rng() % 60);
    const int height = 5 + static_cast<int>(rng() % 60);
    Bitmap fast(width, height, kBlack);
    Bitmap library(width, height, kBlack);
    Bitmap plain(width, height, kBlack);
    LeafPainter painter(fast);
    for (int i = 0; i < 400; ++i) {
      const Corners g = RandomLeaf(rng, width, height);
      const Color c = RandomColor(rng);
      if (!painter.Skip(g)) painter.Paint(g, c);
      FillLeafPiece(library, g.p0, g.p1, g.p2, c);
      RefLeaf(plain, g.p0, g.p1, g.p2, c);
      ASSERT_EQ(fast, library) << "round " << round << " leaf " << i << " (" << g.p0.x << ","
                               << g.p0.y << ") (" << g.p1.x << "," << g.p1.y << ") (" << g.p2.x
                               << "," << g.p2.y << ")";
    }
    ASSERT_EQ(library, plain) << "FillLeafPiece differs from the plain rule in round " << round;
  }
}

TEST(LeafPainter, EverySmallShapeMatchesThePlainRule) {
  // All 7^4 shapes at one place inside a bitmap, one at a time.
  const int r = LeafPainter::kReach;
  for (int dx1 = -r; dx1 <= r; ++dx1) {
    for (int dy1 = -r; dy1 <= r; ++dy1) {
      for (int dx2 = -r; dx2 <= r; ++dx2) {
        for (int dy2 = -r; dy2 <= r; ++dy2) {
          Bitmap fast(16, 16, kBlack);
          Bitmap plain(16, 16, kBlack);
          const Corners g{Point{7, 8}, Point{7 + dx1, 8 + dy1}, Point{7 + dx2, 8 + dy2}};
          LeafPainter painter(fast);
          painter.Paint(g, kWhite);
          RefLeaf(plain, g.p0, g.p1, g.p2, kWhite);
          ASSERT_EQ(fast, plain) << dx1 << " " << dy1 << " " << dx2 << " " << dy2;
        }
      }
    }
  }
}

// Painters that each own a set of row bands, painting the same leaves in
// the same order, together give exactly the single painter's bitmap, and
// none of them writes outside its own rows.
TEST(LeafPainter, BandedPaintersTogetherEqualOnePainter) {
  std::mt19937 rng(77);
  for (int bands : {2, 3, 4}) {
    for (int round = 0; round < 8; ++round) {
      const int width = 20 + static_cast<int>(rng() % 70);
      const int height = 20 + static_cast<int>(rng() % 120);
      std::vector<std::pair<Corners, Color>> leaves;
      for (int i = 0; i < 1500; ++i) leaves.emplace_back(RandomLeaf(rng, width, height), RandomColor(rng));

      Bitmap whole(width, height, kBlack);
      for (const auto& [g, c] : leaves) FillLeafPiece(whole, g.p0, g.p1, g.p2, c);

      Bitmap shared(width, height, kBlack);
      for (int band = 0; band < bands; ++band) {
        Bitmap alone(width, height, kBlack);
        LeafPainter only_band(alone, band, bands);
        LeafPainter into_shared(shared, band, bands);
        for (const auto& [g, c] : leaves) {
          if (!only_band.Skip(g)) only_band.Paint(g, c);
          if (!into_shared.Skip(g)) into_shared.Paint(g, c);
        }
        for (int y = 0; y < height; ++y) {
          const bool mine = (y / kBandRows) % bands == band;
          for (int x = 0; x < width; ++x) {
            if (!mine) {
              ASSERT_EQ(alone.Pixel(x, y), kBlack) << "band " << band << " row " << y;
            }
          }
        }
      }
      ASSERT_EQ(shared, whole) << bands << " bands, round " << round;
    }
  }
}

TEST(LeafPainter, SkipsOnlyPiecesWithNothingOnItsRows) {
  Bitmap target(50, 100, kBlack);
  LeafPainter band0(target, 0, 2);
  LeafPainter band1(target, 1, 2);
  const Corners in_first_band{Point{5, 2}, Point{9, 2}, Point{5, 12}};
  EXPECT_FALSE(band0.Skip(in_first_band));
  EXPECT_TRUE(band1.Skip(in_first_band));
  const Corners across{Point{5, 14}, Point{9, 14}, Point{5, 17}};  // rows 14..17
  EXPECT_FALSE(band0.Skip(across));
  EXPECT_FALSE(band1.Skip(across));
  const Corners outside{Point{-9, 2}, Point{-1, 2}, Point{-5, 12}};
  EXPECT_TRUE(band0.Skip(outside));
  EXPECT_TRUE(LeafPainter(target).Skip(Corners{Point{60, 0}, Point{70, 5}, Point{65, 9}}));
  EXPECT_TRUE(LeafPainter(target).Skip(Corners{Point{0, 100}, Point{7, 105}, Point{3, 120}}));
  EXPECT_FALSE(LeafPainter(target).Skip(Corners{Point{-100, -100}, Point{200, 50}, Point{0, 300}}));
}

}  // namespace
}  // namespace vesk
