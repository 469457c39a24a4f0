#include "core/generate/leaf_painter.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "core/image/raster.h"

namespace vesk {
namespace {

// FillLeafPiece is the rule (checked in the image layer). Painters owning
// bands of rows (one band for the whole picture in round 0), painting the
// same seeded leaves in the same order, each give exactly its pixels on
// their own rows and nothing elsewhere, the engine's way (Cover, then
// PaintWhole or Paint) and the simple way (Skip, then Paint).
TEST(LeafPainter, BandPaintersPaintExactlyTheRulesPixelsOnTheirRows) {
  std::mt19937 rng(77);
  for (int round = 0; round < 15; ++round) {
    const int width = 5 + int(rng() % 80), height = 5 + int(rng() % 130);
    std::vector<std::pair<Corners, Color>> leaves;
    for (int i = 0; i < 1000; ++i) {  // mostly small shapes, some larger, over the border or out
      const int reach = rng() % 10 < 7 ? 3 : (rng() % 10 < 8 ? 5 : 40);
      std::uniform_int_distribution<int> off(-reach, reach);
      const Point p0{int(rng() % (width + 12)) - 6, int(rng() % (height + 12)) - 6};
      const Point p1{p0.x + off(rng), p0.y + off(rng)};
      leaves.push_back({{p0, p1, {p0.x + off(rng), p0.y + off(rng)}}, Color(rng())});
    }
    Bitmap whole(width, height, kBlack);
    for (const auto& [g, c] : leaves) FillLeafPiece(whole, g.p0, g.p1, g.p2, c);
    std::vector<int> cuts = {-5};
    while (cuts.back() < height) {
      cuts.push_back(round == 0 ? height + 5 : cuts.back() + 1 + int(rng() % 20));
    }
    Bitmap shared(width, height, kBlack);
    for (std::size_t b = 0; b + 1 < cuts.size(); ++b) {
      Bitmap alone(width, height, kBlack);
      LeafPainter only_band(alone, cuts[b], cuts[b + 1]), into_shared(shared, cuts[b], cuts[b + 1]);
      for (const auto& [g, c] : leaves) {
        const Coverage cover = only_band.Cover(g);
        if (cover == Coverage::kWhole) only_band.PaintWhole(g, c);
        if (cover == Coverage::kPart) only_band.Paint(g, c);
        if (!into_shared.Skip(g)) into_shared.Paint(g, c);
      }
      for (int i = 0; i < width * height; ++i) {
        const bool mine = i / width >= cuts[b] && i / width < cuts[b + 1];
        ASSERT_EQ(alone.Row(0)[i], mine ? whole.Row(0)[i] : kBlack)
            << "round " << round << " band " << cuts[b] << " at " << i % width << "," << i / width;
      }
    }
    ASSERT_EQ(shared, whole) << "round " << round;
  }
}

// Pieces wholly beside the picture or the painter's rows are skipped, so a
// band's painter does no work for them.
TEST(LeafPainter, PiecesOffItsRowsAreSkipped) {
  Bitmap target(50, 100, kBlack);
  const LeafPainter band(target, 16, 32);
  for (const Corners& g :
       {Corners{{-9, 20}, {-1, 20}, {-5, 22}}, Corners{{50, 20}, {59, 20}, {55, 22}},
        Corners{{5, 2}, {9, 2}, {5, 15}}, Corners{{5, 32}, {9, 33}, {5, 40}}}) {
    EXPECT_EQ(band.Cover(g), Coverage::kNone) << g.p0.x << "," << g.p0.y;
  }
  EXPECT_EQ(band.Cover(Corners{{0, 16}, {49, 16}, {0, 31}}), Coverage::kWhole);
  EXPECT_EQ(band.Cover(Corners{{-1, 16}, {49, 16}, {0, 31}}), Coverage::kPart);
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
