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

Color RandomColor(std::mt19937& rng) { return static_cast<Color>(rng() & 0xFFFFFF); }

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
      if (painter.Cover(g) == Coverage::kWhole) {
        painter.PaintWhole(g, c);
      } else if (painter.Cover(g) == Coverage::kPart) {
        painter.Paint(g, c);
      }
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
  // All shapes of the mask table and a ring of larger ones around them, at
  // one place inside a bitmap, one at a time.
  const int lo = -LeafPainter::kReach - 1;
  const int hi = LeafPainter::kSpan - LeafPainter::kReach;
  for (int dx1 = lo; dx1 <= hi; ++dx1) {
    for (int dy1 = lo; dy1 <= hi; ++dy1) {
      for (int dx2 = lo; dx2 <= hi; ++dx2) {
        for (int dy2 = lo; dy2 <= hi; ++dy2) {
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

// Painters that each own a band of rows, painting the same leaves in the
// same order, together give exactly the single painter's bitmap, and none of
// them writes outside its own rows.
TEST(LeafPainter, BandPaintersTogetherEqualOnePainter) {
  std::mt19937 rng(77);
  for (int round = 0; round < 30; ++round) {
    const int width = 20 + static_cast<int>(rng() % 70);
    const int height = 20 + static_cast<int>(rng() % 120);
    std::vector<std::pair<Corners, Color>> leaves;
    for (int i = 0; i < 1500; ++i) {
      leaves.emplace_back(RandomLeaf(rng, width, height), RandomColor(rng));
    }
    Bitmap whole(width, height, kBlack);
    for (const auto& [g, c] : leaves) FillLeafPiece(whole, g.p0, g.p1, g.p2, c);

    // Bands of random heights, the first and last reaching past the bitmap.
    std::vector<int> cuts = {-5};
    while (cuts.back() < height) cuts.push_back(cuts.back() + 1 + static_cast<int>(rng() % 20));
    Bitmap shared(width, height, kBlack);
    for (std::size_t b = 0; b + 1 < cuts.size(); ++b) {
      Bitmap alone(width, height, kBlack);
      LeafPainter only_band(alone, cuts[b], cuts[b + 1]);
      LeafPainter into_shared(shared, cuts[b], cuts[b + 1]);
      for (const auto& [g, c] : leaves) {
        if (only_band.Cover(g) == Coverage::kWhole) {
          only_band.PaintWhole(g, c);
        } else if (only_band.Cover(g) == Coverage::kPart) {
          only_band.Paint(g, c);
        }
        if (!into_shared.Skip(g)) into_shared.Paint(g, c);
      }
      for (int y = 0; y < height; ++y) {
        if (y >= cuts[b] && y < cuts[b + 1]) continue;
        for (int x = 0; x < width; ++x) {
          ASSERT_EQ(alone.Pixel(x, y), kBlack) << "band " << cuts[b] << " row " << y;
        }
      }
    }
    ASSERT_EQ(shared, whole) << "round " << round;
  }
}

TEST(LeafPainter, CoverSaysWhatIsOnItsRows) {
  Bitmap target(50, 100, kBlack);
  LeafPainter band(target, 16, 32);
  EXPECT_EQ(band.Cover(Corners{Point{5, 2}, Point{9, 2}, Point{5, 12}}), Coverage::kNone);
  EXPECT_EQ(band.Cover(Corners{Point{5, 18}, Point{9, 18}, Point{5, 31}}), Coverage::kWhole);
  EXPECT_EQ(band.Cover(Corners{Point{5, 14}, Point{9, 14}, Point{5, 17}}), Coverage::kPart);
  EXPECT_EQ(band.Cover(Corners{Point{5, 30}, Point{9, 33}, Point{5, 31}}), Coverage::kPart);
  EXPECT_EQ(band.Cover(Corners{Point{-3, 20}, Point{9, 20}, Point{5, 22}}), Coverage::kPart);
  EXPECT_EQ(band.Cover(Corners{Point{50, 20}, Point{59, 20}, Point{55, 22}}), Coverage::kNone);
  LeafPainter all(target);
  EXPECT_EQ(all.Cover(Corners{Point{0, 0}, Point{49, 0}, Point{0, 99}}), Coverage::kWhole);
  EXPECT_EQ(all.Cover(Corners{Point{0, 100}, Point{7, 105}, Point{3, 120}}), Coverage::kNone);
  EXPECT_EQ(all.Cover(Corners{Point{-100, -100}, Point{200, 50}, Point{0, 300}}), Coverage::kPart);
}

// PaintWhole, used for pieces wholly inside, paints what Paint paints.
TEST(LeafPainter, PaintWholeMatchesPaintInside) {
  std::mt19937 rng(31337);
  Bitmap a(60, 60, kBlack);
  Bitmap b(60, 60, kBlack);
  LeafPainter pa(a);
  LeafPainter pb(b);
  for (int i = 0; i < 5000; ++i) {
    const Corners g = RandomLeaf(rng, 60, 60);
    if (pa.Cover(g) != Coverage::kWhole) continue;
    const Color c = RandomColor(rng);
    pa.PaintWhole(g, c);
    pb.Paint(g, c);
    ASSERT_EQ(a, b) << i;
  }
}

TEST(LeafPainter, CornersAtTheEndsOfTheIntegerRangePaintLikeFillLeafPiece) {
  const int lo = -2147483647 - 1;
  const int hi = 2147483647;
  const Corners cases[] = {
      {Point{lo, lo}, Point{hi, hi}, Point{5, 5}},
      {Point{5, 5}, Point{hi, 6}, Point{lo, 7}},
      {Point{hi, 3}, Point{hi - 2, 4}, Point{hi - 1, 2}},
      {Point{lo + 1, 3}, Point{lo + 2, 4}, Point{lo, 2}},
      {Point{4, 4}, Point{4 + 4, lo}, Point{4 - 3, hi}},
  };
  for (const Corners& g : cases) {
    Bitmap fast(20, 20, kBlack);
    Bitmap library(20, 20, kBlack);
    LeafPainter painter(fast);
    if (!painter.Skip(g)) painter.Paint(g, kWhite);
    FillLeafPiece(library, g.p0, g.p1, g.p2, kWhite);
    EXPECT_EQ(fast, library) << g.p0.x << " " << g.p1.x << " " << g.p2.x;
  }
}

}  // namespace
}  // namespace vesk
