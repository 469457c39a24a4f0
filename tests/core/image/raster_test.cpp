#include "core/image/raster.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <random>
#include <sstream>
#include <string>

namespace vesk {
namespace {

__extension__ typedef __int128 i128;

// Plain reference of the leaf-piece rule, applied pixel by pixel.

i128 RefEdgeSide(Point p, Point u, Point v) {
  return (i128{v.x} - p.x) * (i128{v.y} - u.y) - (i128{v.x} - u.x) * (i128{v.y} - p.y);
}

i128 RefFloorDiv(i128 a, i128 b) {
  i128 q = a / b;
  if (q * b > a) --q;  // b > 0 in every use here
  return q;
}

// Nearest-pixel line: one pixel per step of the major axis, halves upward.
bool RefOnLine(Point p, Point a, Point b) {
  if (a == b) return p == a;
  i128 dx = i128{b.x} - a.x;
  i128 dy = i128{b.y} - a.y;
  i128 adx = dx < 0 ? -dx : dx;
  i128 ady = dy < 0 ? -dy : dy;
  if (adx >= ady) {
    if (a.x > b.x) std::swap(a, b);
    if (p.x < a.x || p.x > b.x) return false;
    i128 x0 = a.x, y0 = a.y, x1 = b.x, y1 = b.y;
    i128 y = y0 + RefFloorDiv(2 * (p.x - x0) * (y1 - y0) + (x1 - x0), 2 * (x1 - x0));
    return y == p.y;
  }
  if (a.y > b.y) std::swap(a, b);
  if (p.y < a.y || p.y > b.y) return false;
  i128 x0 = a.x, y0 = a.y, x1 = b.x, y1 = b.y;
  i128 x = x0 + RefFloorDiv(2 * (p.y - y0) * (x1 - x0) + (y1 - y0), 2 * (y1 - y0));
  return x == p.x;
}

bool RefInPiece(Point p, Point g0, Point g1, Point g2) {
  bool in_box = p.x >= std::min({g0.x, g1.x, g2.x}) && p.x <= std::max({g0.x, g1.x, g2.x}) &&
                p.y >= std::min({g0.y, g1.y, g2.y}) && p.y <= std::max({g0.y, g1.y, g2.y});
  if (in_box) {
    i128 e0 = RefEdgeSide(p, g0, g1);
    i128 e1 = RefEdgeSide(p, g1, g2);
    i128 e2 = RefEdgeSide(p, g2, g0);
    if ((e0 >= 0 && e1 >= 0 && e2 >= 0) || (e0 <= 0 && e1 <= 0 && e2 <= 0)) return true;
  }
  return RefOnLine(p, g0, g1) || RefOnLine(p, g1, g2) || RefOnLine(p, g2, g0);
}

// A background in which every pixel differs, so a stray write shows.
Bitmap Background(int width, int height) {
  Bitmap b(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) b.SetPixel(x, y, MakeColor(x, y, 7));
  }
  return b;
}

constexpr Color kPaint = MakeColor(250, 1, 2);

Bitmap RefPiece(const Bitmap& background, Point g0, Point g1, Point g2) {
  Bitmap b = background;
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) {
      if (RefInPiece({x, y}, g0, g1, g2)) b.SetPixel(x, y, kPaint);
    }
  }
  return b;
}

Bitmap RefLine(const Bitmap& background, Point a, Point b) {
  Bitmap out = background;
  for (int y = 0; y < out.Height(); ++y) {
    for (int x = 0; x < out.Width(); ++x) {
      if (RefOnLine({x, y}, a, b)) out.SetPixel(x, y, kPaint);
    }
  }
  return out;
}

std::string Describe(Point g0, Point g1, Point g2) {
  std::ostringstream out;
  out << "(" << g0.x << "," << g0.y << ") (" << g1.x << "," << g1.y << ") (" << g2.x << ","
      << g2.y << ")";
  return out.str();
}

// Paints the piece and compares with the reference; reports the first
// difference with the corners.
void ExpectPieceMatchesReference(const Bitmap& background, Point g0, Point g1, Point g2) {
  Bitmap fast = background;
  FillLeafPiece(fast, g0, g1, g2, kPaint);
  Bitmap slow = RefPiece(background, g0, g1, g2);
  if (fast == slow) return;
  for (int y = 0; y < fast.Height(); ++y) {
    for (int x = 0; x < fast.Width(); ++x) {
      if (fast.Pixel(x, y) != slow.Pixel(x, y)) {
        ADD_FAILURE() << "piece " << Describe(g0, g1, g2) << " differs first at (" << x << ","
                      << y << "): painted " << (fast.Pixel(x, y) == kPaint) << ", reference "
                      << (slow.Pixel(x, y) == kPaint);
        return;
      }
    }
  }
}

TEST(RasterRule, RightTriangleCoversItsClosedInteriorExactly) {
  Bitmap b(12, 12, kWhite);
  FillLeafPiece(b, {0, 0}, {8, 0}, {0, 8}, kBlack);
  for (int y = 0; y < 12; ++y) {
    for (int x = 0; x < 12; ++x) {
      EXPECT_EQ(b.Pixel(x, y) == kBlack, x + y <= 8) << x << "," << y;
    }
  }
}

TEST(RasterRule, EitherOrientationPaintsTheSamePixels) {
  Bitmap background = Background(20, 20);
  Bitmap clockwise = background;
  Bitmap counter = background;
  FillLeafPiece(clockwise, {2, 3}, {17, 6}, {5, 18}, kPaint);
  FillLeafPiece(counter, {2, 3}, {5, 18}, {17, 6}, kPaint);
  EXPECT_EQ(clockwise, counter);
  EXPECT_NE(clockwise, background);
}

TEST(RasterRule, RandomTrianglesCrossingEveryBorderMatchReference) {
  std::mt19937 rng(20240611);
  std::uniform_int_distribution<int> cx(-25, 88);
  std::uniform_int_distribution<int> cy(-25, 72);
  Bitmap background = Background(64, 48);
  for (int i = 0; i < 1500; ++i) {
    Point g0{cx(rng), cy(rng)}, g1{cx(rng), cy(rng)}, g2{cx(rng), cy(rng)};
    ExpectPieceMatchesReference(background, g0, g1, g2);
  }
}

TEST(RasterRule, RandomSmallPiecesMatchReference) {
  std::mt19937 rng(77);
  std::uniform_int_distribution<int> base(-3, 18);
  std::uniform_int_distribution<int> offset(-3, 3);
  Bitmap background = Background(16, 16);
  for (int i = 0; i < 5000; ++i) {
    Point o{base(rng), base(rng)};
    Point g0{o.x + offset(rng), o.y + offset(rng)};
    Point g1{o.x + offset(rng), o.y + offset(rng)};
    Point g2{o.x + offset(rng), o.y + offset(rng)};
    ExpectPieceMatchesReference(background, g0, g1, g2);
  }
}

TEST(RasterRule, EveryPieceWithCornersInAFourByFourGridMatchesReference) {
  // All 4096 corner triples of a 4 x 4 grid, once wholly inside the bitmap
  // and once hanging over its top-left corner.
  Bitmap background = Background(6, 6);
  for (int offset : {1, -2}) {
    for (int i = 0; i < 16 * 16 * 16; ++i) {
      Point g0{i % 4 + offset, i / 4 % 4 + offset};
      Point g1{i / 16 % 4 + offset, i / 64 % 4 + offset};
      Point g2{i / 256 % 4 + offset, i / 1024 % 4 + offset};
      ExpectPieceMatchesReference(background, g0, g1, g2);
    }
  }
}

TEST(RasterRule, DegeneratePiecesMatchReference) {
  std::mt19937 rng(5);
  std::uniform_int_distribution<int> coord(-10, 50);
  std::uniform_int_distribution<int> step(-9, 9);
  std::uniform_int_distribution<int> factor(-4, 4);
  Bitmap background = Background(40, 40);
  for (int i = 0; i < 800; ++i) {
    Point p{coord(rng), coord(rng)};
    Point q{coord(rng), coord(rng)};
    // Two equal corners, in every position.
    ExpectPieceMatchesReference(background, p, p, q);
    ExpectPieceMatchesReference(background, p, q, p);
    ExpectPieceMatchesReference(background, q, p, p);
    // Three equal corners.
    ExpectPieceMatchesReference(background, p, p, p);
    // Three collinear corners in any order along the line.
    Point d{step(rng), step(rng)};
    int f1 = factor(rng);
    int f2 = factor(rng);
    Point r1{p.x + f1 * d.x, p.y + f1 * d.y};
    Point r2{p.x + f2 * d.x, p.y + f2 * d.y};
    ExpectPieceMatchesReference(background, p, r1, r2);
    ExpectPieceMatchesReference(background, r1, p, r2);
  }
}

TEST(RasterRule, HugeCoordinatesMatchReference) {
  std::mt19937 rng(99);
  std::uniform_int_distribution<int> any(INT_MIN, INT_MAX);
  std::uniform_int_distribution<int> near(-20, 60);
  std::uniform_int_distribution<int> far(-(1 << 30), 1 << 30);
  Bitmap background = Background(40, 30);
  const Point extremes[] = {{INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, {INT_MIN, INT_MAX},
                            {INT_MAX, INT_MIN}, {INT_MIN, 10},      {10, INT_MAX}};
  for (Point e : extremes) {
    for (Point f : extremes) {
      ExpectPieceMatchesReference(background, e, f, {15, 12});
      ExpectPieceMatchesReference(background, e, {3, 4}, f);
    }
  }
  for (int i = 0; i < 300; ++i) {
    ExpectPieceMatchesReference(background, {any(rng), any(rng)}, {any(rng), any(rng)},
                                {near(rng), near(rng)});
    ExpectPieceMatchesReference(background, {far(rng), far(rng)}, {near(rng), near(rng)},
                                {near(rng), near(rng)});
    ExpectPieceMatchesReference(background, {any(rng), any(rng)}, {any(rng), any(rng)},
                                {any(rng), any(rng)});
  }
}

TEST(RasterRule, BandsOfRowsTogetherPaintTheWholePiece) {
  std::mt19937 rng(3);
  std::uniform_int_distribution<int> cx(-10, 50);
  Bitmap background = Background(40, 40);
  for (int i = 0; i < 300; ++i) {
    Point g0{cx(rng), cx(rng)}, g1{cx(rng), cx(rng)}, g2{cx(rng), cx(rng)};
    Bitmap whole = background;
    FillLeafPiece(whole, g0, g1, g2, kPaint);
    Bitmap banded = background;
    for (int top = -8; top < 48; top += 8) {
      Bitmap band_only = background;
      FillLeafPieceInRows(band_only, g0, g1, g2, kPaint, top, top + 8);
      for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
          if (y < top || y >= top + 8) {
            ASSERT_EQ(band_only.Pixel(x, y), background.Pixel(x, y))
                << Describe(g0, g1, g2) << " band " << top;
          }
        }
      }
      FillLeafPieceInRows(banded, g0, g1, g2, kPaint, top, top + 8);
    }
    EXPECT_EQ(banded, whole) << Describe(g0, g1, g2);
  }
}

TEST(RasterLine, HalvesRoundUpward) {
  Bitmap b(6, 3, kWhite);
  DrawLine(b, {0, 0}, {4, 1}, kBlack);
  // Exact y at x = 0..4 is 0, 0.25, 0.5, 0.75, 1.
  const int expected_y[] = {0, 0, 1, 1, 1};
  for (int x = 0; x < 5; ++x) {
    for (int y = 0; y < 3; ++y) {
      EXPECT_EQ(b.Pixel(x, y) == kBlack, y == expected_y[x]) << x << "," << y;
    }
  }
  EXPECT_EQ(b.Pixel(5, 0), kWhite);
}

TEST(RasterLine, SteepLineHasOnePixelPerRow) {
  Bitmap b(4, 8, kWhite);
  DrawLine(b, {1, 7}, {2, 0}, kBlack);
  for (int y = 0; y < 8; ++y) {
    int count = 0;
    for (int x = 0; x < 4; ++x) count += b.Pixel(x, y) == kBlack;
    EXPECT_EQ(count, 1) << y;
  }
  // From (2,0) towards (1,7): x = 2 + floor((2 y (-1) + 7) / 14), halves up.
  EXPECT_EQ(b.Pixel(2, 3), kBlack);
  EXPECT_EQ(b.Pixel(1, 4), kBlack);
}

TEST(RasterLine, EitherDirectionGivesTheSamePixelsAsReference) {
  std::mt19937 rng(11);
  std::uniform_int_distribution<int> coord(-20, 60);
  std::uniform_int_distribution<int> any(INT_MIN, INT_MAX);
  Bitmap background = Background(40, 40);
  for (int i = 0; i < 2000; ++i) {
    Point a{coord(rng), coord(rng)};
    Point b{coord(rng), coord(rng)};
    if (i % 4 == 0) a = {any(rng), coord(rng)};
    if (i % 8 == 0) b = {coord(rng), any(rng)};
    if (i % 16 == 0) b = {any(rng), any(rng)};
    Bitmap forward = background;
    Bitmap backward = background;
    DrawLine(forward, a, b, kPaint);
    DrawLine(backward, b, a, kPaint);
    Bitmap reference = RefLine(background, a, b);
    EXPECT_EQ(forward, reference) << a.x << "," << a.y << " -> " << b.x << "," << b.y;
    EXPECT_EQ(backward, reference) << b.x << "," << b.y << " -> " << a.x << "," << a.y;
  }
}

TEST(RasterLine, DiagonalTiesAndSinglePoints) {
  Bitmap background = Background(10, 10);
  for (Point a : {Point{0, 0}, Point{9, 0}, Point{4, 4}}) {
    for (Point b : {Point{9, 9}, Point{0, 9}, Point{4, 4}, Point{6, 2}}) {
      Bitmap out = background;
      DrawLine(out, a, b, kPaint);
      EXPECT_EQ(out, RefLine(background, a, b));
    }
  }
  Bitmap dot = background;
  DrawLine(dot, {3, 5}, {3, 5}, kPaint);
  Bitmap expected = background;
  expected.SetPixel(3, 5, kPaint);
  EXPECT_EQ(dot, expected);
  Bitmap outside = background;
  DrawLine(outside, {-1, 5}, {-1, 5}, kPaint);
  DrawLine(outside, {-5, -1}, {20, -3}, kPaint);
  EXPECT_EQ(outside, background);
}

TEST(NodeRectangle, NodeAtTenTenSizeFiveCoversFiveToFourteen) {
  const Color brush = MakeColor(200, 200, 200);
  Bitmap b(20, 20, kWhite);
  DrawNodeRectangle(b, 10, 10, 5, brush);
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 20; ++x) {
      bool in_square = x >= 5 && x <= 14 && y >= 5 && y <= 14;
      bool ring = in_square && (x == 5 || x == 14 || y == 5 || y == 14);
      Color expected = !in_square ? kWhite : ring ? kBlack : brush;
      EXPECT_EQ(b.Pixel(x, y), expected) << x << "," << y;
    }
  }
}

TEST(NodeRectangle, ClippedAtTheCornerKeepsOnlyTheVisibleRing) {
  const Color brush = MakeColor(0, 128, 0);
  Bitmap b(8, 8, kWhite);
  DrawNodeRectangle(b, 0, 0, 3, brush);  // square -3..2
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      Color expected = (x > 2 || y > 2) ? kWhite : (x == 2 || y == 2) ? kBlack : brush;
      EXPECT_EQ(b.Pixel(x, y), expected) << x << "," << y;
    }
  }
}

TEST(NodeRectangle, SizeOneIsAllOutlineAndSizeZeroDrawsNothing) {
  Bitmap b(4, 4, kWhite);
  DrawNodeRectangle(b, 2, 2, 0, kPaint);
  EXPECT_EQ(b, Bitmap(4, 4, kWhite));
  DrawNodeRectangle(b, 2, 2, 1, kPaint);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(b.Pixel(x, y), (x >= 1 && x <= 2 && y >= 1 && y <= 2) ? kBlack : kWhite);
    }
  }
  Bitmap far_away(4, 4, kWhite);
  DrawNodeRectangle(far_away, INT_MAX, INT_MIN, 12, kPaint);
  DrawNodeRectangle(far_away, -100, 2, 12, kPaint);
  EXPECT_EQ(far_away, Bitmap(4, 4, kWhite));
}

}  // namespace
}  // namespace vesk
