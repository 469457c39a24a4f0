#include "core/generate/leaf_painter.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "core/image/raster.h"

namespace vesk {
namespace {

// Mostly the mask table's small shapes, some larger, some over the border
// or wholly outside.
Corners RandomLeaf(std::mt19937& rng, int width, int height) {
  const int reach = rng() % 10 < 7 ? 3 : (rng() % 10 < 8 ? 5 : 40);
  std::uniform_int_distribution<int> off(-reach, reach);
  const Point p0{int(rng() % (width + 12)) - 6, int(rng() % (height + 12)) - 6};
  return {p0, {p0.x + off(rng), p0.y + off(rng)}, {p0.x + off(rng), p0.y + off(rng)}};
}

void PaintLikeTheEngine(LeafPainter& painter, const Corners& g, Color c) {
  const Coverage cover = painter.Cover(g);
  if (cover == Coverage::kWhole) painter.PaintWhole(g, c);
  if (cover == Coverage::kPart) painter.Paint(g, c);
}

// FillLeafPiece is the rule (checked in the image layer); the painter's
// masks and clipping must give exactly its pixels.
TEST(LeafPainter, SeededLeavesPaintLikeFillLeafPiece) {
  std::mt19937 rng(20240611);
  for (int round = 0; round < 25; ++round) {
    const int width = 5 + int(rng() % 60);
    const int height = 5 + int(rng() % 60);
    Bitmap fast(width, height, kBlack), library(width, height, kBlack);
    LeafPainter painter(fast);
    for (int i = 0; i < 300; ++i) {
      const Corners g = RandomLeaf(rng, width, height);
      const Color c = rng() & 0xFFFFFF;
      PaintLikeTheEngine(painter, g, c);
      FillLeafPiece(library, g.p0, g.p1, g.p2, c);
      ASSERT_EQ(fast, library) << "round " << round << " leaf " << i;
    }
  }
}

TEST(LeafPainter, EveryShapeOfTheMaskTableAndItsRingPaintsLikeFillLeafPiece) {
  const int lo = -LeafPainter::kReach - 1;
  const int hi = LeafPainter::kSpan - LeafPainter::kReach;
  for (int dx1 = lo; dx1 <= hi; ++dx1) {
    for (int dy1 = lo; dy1 <= hi; ++dy1) {
      for (int dx2 = lo; dx2 <= hi; ++dx2) {
        for (int dy2 = lo; dy2 <= hi; ++dy2) {
          Bitmap fast(16, 16, kBlack), plain(16, 16, kBlack);
          const Corners g{{7, 8}, {7 + dx1, 8 + dy1}, {7 + dx2, 8 + dy2}};
          LeafPainter(fast).Paint(g, kWhite);
          FillLeafPiece(plain, g.p0, g.p1, g.p2, kWhite);
          ASSERT_EQ(fast, plain) << dx1 << " " << dy1 << " " << dx2 << " " << dy2;
        }
      }
    }
  }
}

// Painters owning bands of rows, painting the same leaves in the same order,
// together give the single painter's picture and never write outside their
// own rows.
TEST(LeafPainter, BandPaintersTogetherEqualOnePainter) {
  std::mt19937 rng(77);
  for (int round = 0; round < 15; ++round) {
    const int width = 20 + int(rng() % 70);
    const int height = 20 + int(rng() % 120);
    std::vector<std::pair<Corners, Color>> leaves;
    for (int i = 0; i < 1000; ++i) leaves.emplace_back(RandomLeaf(rng, width, height), rng());
    Bitmap whole(width, height, kBlack);
    for (const auto& [g, c] : leaves) FillLeafPiece(whole, g.p0, g.p1, g.p2, c);
    std::vector<int> cuts = {-5};
    while (cuts.back() < height) cuts.push_back(cuts.back() + 1 + int(rng() % 20));
    Bitmap shared(width, height, kBlack);
    for (std::size_t b = 0; b + 1 < cuts.size(); ++b) {
      Bitmap alone(width, height, kBlack);
      LeafPainter only_band(alone, cuts[b], cuts[b + 1]);
      LeafPainter into_shared(shared, cuts[b], cuts[b + 1]);
      for (const auto& [g, c] : leaves) {
        PaintLikeTheEngine(only_band, g, c);
        if (!into_shared.Skip(g)) into_shared.Paint(g, c);
      }
      for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width && (y < cuts[b] || y >= cuts[b + 1]); ++x) {
          ASSERT_EQ(alone.Pixel(x, y), kBlack) << "band " << cuts[b] << " row " << y;
        }
      }
    }
    ASSERT_EQ(shared, whole) << "round " << round;
  }
}

TEST(LeafPainter, CornersAtTheEndsOfTheIntegerRangePaintLikeFillLeafPiece) {
  for (const Corners& g : {Corners{{INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, {5, 5}},
                           Corners{{5, 5}, {INT_MAX, 6}, {INT_MIN, 7}},
                           Corners{{INT_MAX, 3}, {INT_MAX - 2, 4}, {INT_MAX - 1, 2}},
                           Corners{{INT_MIN + 1, 3}, {INT_MIN + 2, 4}, {INT_MIN, 2}},
                           Corners{{4, 4}, {8, INT_MIN}, {1, INT_MAX}}}) {
    Bitmap fast(20, 20, kBlack), library(20, 20, kBlack);
    LeafPainter painter(fast);
    if (!painter.Skip(g)) painter.Paint(g, kWhite);
    FillLeafPiece(library, g.p0, g.p1, g.p2, kWhite);
    EXPECT_EQ(fast, library) << g.p0.x << " " << g.p1.x << " " << g.p2.x;
  }
}

}  // namespace
}  // namespace vesk
