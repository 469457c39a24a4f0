// The raster rule against a slow, obviously right reference over seeded
// random pieces and lines, plus golden pictures of the exact rules.
#include "core/image/raster.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <string>

namespace vesk {
namespace {

__extension__ typedef __int128 i128;

i128 Abs(i128 v) { return v < 0 ? -v : v; }

// Nearest-pixel line: one pixel per step of the major axis, halves upward.
bool RefOnLine(Point p, Point a, Point b) {
  if (a == b) return p == a;
  if (Abs(i128{b.y} - a.y) > Abs(i128{b.x} - a.x)) {  // steep: swap the axes
    std::swap(p.x, p.y);
    std::swap(a.x, a.y);
    std::swap(b.x, b.y);
  }
  if (a.x > b.x) std::swap(a, b);
  if (p.x < a.x || p.x > b.x) return false;
  const i128 num = 2 * (i128{p.x} - a.x) * (i128{b.y} - a.y) + (i128{b.x} - a.x);
  const i128 den = 2 * (i128{b.x} - a.x);
  i128 q = num / den;
  if (q * den > num) --q;  // floor
  return a.y + q == p.y;
}

i128 RefSide(Point p, Point u, Point v) {
  return (i128{v.x} - p.x) * (i128{v.y} - u.y) - (i128{v.x} - u.x) * (i128{v.y} - p.y);
}

// Inside the closed triangle (within its box), or on one of its three lines.
bool RefInPiece(Point p, Point g0, Point g1, Point g2) {
  const bool in_box = p.x >= std::min({g0.x, g1.x, g2.x}) && p.x <= std::max({g0.x, g1.x, g2.x}) &&
                      p.y >= std::min({g0.y, g1.y, g2.y}) && p.y <= std::max({g0.y, g1.y, g2.y});
  const i128 e0 = RefSide(p, g0, g1);
  const i128 e1 = RefSide(p, g1, g2);
  const i128 e2 = RefSide(p, g2, g0);
  const bool inside = (e0 >= 0 && e1 >= 0 && e2 >= 0) || (e0 <= 0 && e1 <= 0 && e2 <= 0);
  return (in_box && inside) || RefOnLine(p, g0, g1) || RefOnLine(p, g1, g2) ||
         RefOnLine(p, g2, g0);
}

constexpr Color kPaint = MakeColor(250, 1, 2);

// Every pixel differs, so a stray write shows.
Bitmap Background(int width, int height) {
  Bitmap b(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) b.SetPixel(x, y, MakeColor(x, y, 7));
  }
  return b;
}

template <typename Rule>
Bitmap Reference(Bitmap b, Rule colour_of) {
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) b.SetPixel(x, y, colour_of(Point{x, y}, b.Pixel(x, y)));
  }
  return b;
}

std::string Describe(Point g0, Point g1, Point g2) {
  std::string out;
  for (Point g : {g0, g1, g2}) {
    out.append(" ").append(std::to_string(g.x)).append(",").append(std::to_string(g.y));
  }
  return out;
}

void ExpectPieceMatchesReference(const Bitmap& background, Point g0, Point g1, Point g2) {
  Bitmap fast = background;
  FillLeafPiece(fast, g0, g1, g2, kPaint);
  ASSERT_EQ(fast, Reference(background, [&](Point p, Color c) {
              return RefInPiece(p, g0, g1, g2) ? kPaint : c;
            })) << Describe(g0, g1, g2);
}

TEST(RasterRule, RightTriangleCoversItsClosedInterior) {
  Bitmap b(12, 12, kWhite);
  FillLeafPiece(b, {0, 0}, {8, 0}, {0, 8}, kBlack);
  EXPECT_EQ(b, Reference(b, [](Point p, Color) { return p.x + p.y <= 8 ? kBlack : kWhite; }));
}

TEST(RasterRule, SeededRandomPiecesMatchTheReference) {
  std::mt19937 rng(20240611);
  auto in = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int i = 0; i < 1500; ++i) {  // crossing every border
    SCOPED_TRACE("large");
    ExpectPieceMatchesReference(Background(64, 48), {in(-25, 88), in(-25, 72)},
                                {in(-25, 88), in(-25, 72)}, {in(-25, 88), in(-25, 72)});
  }
  for (int i = 0; i < 3000; ++i) {
    SCOPED_TRACE("small");
    Point o{in(-3, 18), in(-3, 18)};
    ExpectPieceMatchesReference(Background(16, 16), {o.x + in(-3, 3), o.y + in(-3, 3)},
                                {o.x + in(-3, 3), o.y + in(-3, 3)},
                                {o.x + in(-3, 3), o.y + in(-3, 3)});
  }
  for (int i = 0; i < 800; ++i) {
    SCOPED_TRACE("equal or collinear corners");
    Point p{in(-10, 50), in(-10, 50)};
    Point q{in(-10, 50), in(-10, 50)};
    Point d{in(-9, 9), in(-9, 9)};
    const int f1 = in(-4, 4);
    const int f2 = in(-4, 4);
    Point r1{p.x + f1 * d.x, p.y + f1 * d.y};
    Point r2{p.x + f2 * d.x, p.y + f2 * d.y};
    for (auto [a, b, c] : {std::tuple{p, p, q}, {p, q, p}, {q, p, p}, {p, p, p}, {p, r1, r2},
                           {r1, p, r2}}) {
      ExpectPieceMatchesReference(Background(40, 40), a, b, c);
    }
  }
  for (int i = 0; i < 300; ++i) {
    SCOPED_TRACE("huge coordinates");
    ExpectPieceMatchesReference(Background(40, 30), {in(INT_MIN, INT_MAX), in(INT_MIN, INT_MAX)},
                                {in(INT_MIN, INT_MAX), in(INT_MIN, INT_MAX)},
                                {in(-20, 60), in(-20, 60)});
    ExpectPieceMatchesReference(Background(40, 30), {in(INT_MIN, INT_MAX), in(-20, 60)},
                                {in(-20, 60), in(INT_MIN, INT_MAX)},
                                {in(INT_MIN, INT_MAX), in(INT_MIN, INT_MAX)});
  }
}

TEST(RasterRule, EveryPieceWithCornersInAFourByFourGridMatchesTheReference) {
  for (int offset : {1, -2}) {  // inside, and over the top-left corner
    for (int i = 0; i < 4096; ++i) {
      ExpectPieceMatchesReference(Background(6, 6), {i % 4 + offset, i / 4 % 4 + offset},
                                  {i / 16 % 4 + offset, i / 64 % 4 + offset},
                                  {i / 256 % 4 + offset, i / 1024 % 4 + offset});
    }
  }
}

TEST(RasterRule, BandsOfRowsPaintOnlyTheirRowsAndTogetherTheWholePiece) {
  std::mt19937 rng(3);
  std::uniform_int_distribution<int> cx(-10, 50);
  const Bitmap background = Background(40, 40);
  for (int i = 0; i < 300; ++i) {
    Point g0{cx(rng), cx(rng)}, g1{cx(rng), cx(rng)}, g2{cx(rng), cx(rng)};
    Bitmap whole = background;
    FillLeafPiece(whole, g0, g1, g2, kPaint);
    Bitmap banded = background;
    for (int top = -8; top < 48; top += 8) {
      Bitmap band = background;
      FillLeafPieceInRows(band, g0, g1, g2, kPaint, top, top + 8);
      ASSERT_EQ(band, Reference(whole, [&](Point p, Color c) {
                  return p.y >= top && p.y < top + 8 ? c : background.Pixel(p.x, p.y);
                })) << Describe(g0, g1, g2);
      FillLeafPieceInRows(banded, g0, g1, g2, kPaint, top, top + 8);
    }
    EXPECT_EQ(banded, whole) << Describe(g0, g1, g2);
  }
}

TEST(RasterLine, HalvesRoundUpward) {
  Bitmap b(6, 3, kWhite);
  DrawLine(b, {0, 0}, {4, 1}, kBlack);  // exact y 0, 0.25, 0.5, 0.75, 1
  const int y_of[] = {0, 0, 1, 1, 1, -1};
  EXPECT_EQ(b, Reference(b, [&](Point p, Color) { return y_of[p.x] == p.y ? kBlack : kWhite; }));
}

TEST(RasterLine, EitherDirectionMatchesTheReference) {
  std::mt19937 rng(11);
  auto in = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  const Bitmap background = Background(40, 40);
  for (int i = 0; i < 2000; ++i) {
    Point a{i % 4 == 0 ? in(INT_MIN, INT_MAX) : in(-20, 60), in(-20, 60)};
    Point b{in(-20, 60), i % 8 == 0 ? in(INT_MIN, INT_MAX) : in(-20, 60)};
    if (i % 16 == 0) b = {in(INT_MIN, INT_MAX), in(INT_MIN, INT_MAX)};
    if (i % 50 == 0) b = a;
    const Bitmap expected =
        Reference(background, [&](Point p, Color c) { return RefOnLine(p, a, b) ? kPaint : c; });
    Bitmap forward = background;
    Bitmap backward = background;
    DrawLine(forward, a, b, kPaint);
    DrawLine(backward, b, a, kPaint);
    ASSERT_EQ(forward, expected) << Describe(a, b, b);
    ASSERT_EQ(backward, expected) << Describe(b, a, a);
  }
}

TEST(NodeRectangle, SquareFromXMinusSToXPlusSMinusOneWithABlackRing) {
  const Color brush = MakeColor(200, 200, 200);
  const std::tuple<int, int, int> rows[] = {
      {10, 10, 5}, {0, 0, 3}, {2, 2, 0}, {2, 2, 1}, {INT_MAX, INT_MIN, 12}, {-100, 2, 12}};
  for (auto [x, y, s] : rows) {
    Bitmap b(20, 20, kWhite);
    DrawNodeRectangle(b, x, y, s, brush);
    const std::int64_t x0 = std::int64_t{x} - s, x1 = std::int64_t{x} + s - 1;
    const std::int64_t y0 = std::int64_t{y} - s, y1 = std::int64_t{y} + s - 1;
    EXPECT_EQ(b, Reference(b, [&](Point p, Color) {
                if (p.x < x0 || p.x > x1 || p.y < y0 || p.y > y1) return kWhite;
                return p.x == x0 || p.x == x1 || p.y == y0 || p.y == y1 ? kBlack : brush;
              })) << x << "," << y << " size " << s;
  }
}

}  // namespace
}  // namespace vesk
