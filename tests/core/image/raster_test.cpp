// The raster rule against a slow reference on seeded pieces and lines, plus golden pictures.
#include "core/image/raster.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "tests/core/support/raster_reference.h"

namespace vesk {

// Names corners in failure messages (found by lookup in the type's namespace).
static std::ostream& operator<<(std::ostream& os, Point p) {
  return os << p.x << "," << p.y << " ";
}

namespace {

using namespace testing_support;  // the slow reference

constexpr Color kPaint = MakeColor(250, 1, 2);

// Every pixel differs, so a stray write shows; pixels where `painted` holds are kPaint.
template <typename Rule>
Bitmap Reference(int width, int height, Rule painted) {
  Bitmap b(width, height);
  for (int i = 0; i < width * height; ++i) {
    const Point p{i % width, i / width};
    b.SetPixel(p.x, p.y, painted(p) ? kPaint : MakeColor(p.x, p.y, 7));
  }
  return b;
}

void ExpectPieceMatchesReference(int size, Point a, Point b, Point c) {
  Bitmap fast = Reference(size, size, [](Point) { return false; });
  FillLeafPiece(fast, a, b, c, kPaint);
  ASSERT_EQ(fast, Reference(size, size, [&](Point p) { return RefInPiece(p, a, b, c); }))
      << a << b << c;
}

TEST(RasterRule, RightTriangleCoversItsClosedInteriorAndSeededPiecesMatchTheReference) {
  Bitmap right = Reference(12, 12, [](Point) { return false; });
  FillLeafPiece(right, {0, 0}, {8, 0}, {0, 8}, kPaint);
  EXPECT_EQ(right, Reference(12, 12, [](Point p) { return p.x + p.y <= 8; }));
  std::mt19937 rng(20240611);
  auto in = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int i = 0; i < 1500; ++i) {  // crossing every border
    ExpectPieceMatchesReference(50, {in(-25, 75), in(-25, 75)}, {in(-25, 75), in(-25, 75)},
                                {in(-25, 75), in(-25, 75)});
  }
  for (int i = 0; i < 800; ++i) {  // equal or collinear corners
    const Point p{in(-10, 50), in(-10, 50)}, q{in(-10, 50), in(-10, 50)}, d{in(-9, 9), in(-9, 9)};
    const int f = in(-4, 4), g = in(-4, 4);
    const Point r{p.x + f * d.x, p.y + f * d.y}, s{p.x + g * d.x, p.y + g * d.y};
    for (auto [a, b, c] : {std::tuple{p, p, q}, {p, q, p}, {q, p, p}, {p, p, p}, {p, r, s}}) {
      ExpectPieceMatchesReference(40, a, b, c);
    }
  }
  for (int i = 0; i < 300; ++i) {  // coordinates far beyond 16 bits
    const int far = i % 2 == 0 ? INT_MAX : 1 << 30;
    const Point a{in(-far - 1, far), in(-far - 1, far)};
    ExpectPieceMatchesReference(40, a, {in(-far, far), in(-20, 60)}, {in(-20, 60), in(-20, 60)});
  }
  for (int offset : {1, -2}) {  // every piece with corners in a 4 x 4 grid
    for (int i = 0; i < 4096; ++i) {
      ExpectPieceMatchesReference(6, {i % 4 + offset, i / 4 % 4 + offset},
                                  {i / 16 % 4 + offset, i / 64 % 4 + offset},
                                  {i / 256 % 4 + offset, i / 1024 % 4 + offset});
    }
  }
}

TEST(RasterLine, HalvesRoundUpwardAndEitherDirectionMatchesTheReference) {
  Bitmap golden = Reference(6, 3, [](Point) { return false; });
  DrawLine(golden, {0, 0}, {4, 1}, kPaint);  // exact y 0, 0.25, 0.5, 0.75, 1
  const int y_of[] = {0, 0, 1, 1, 1, -1};
  EXPECT_EQ(golden, Reference(6, 3, [&](Point p) { return y_of[p.x] == p.y; }));
  std::mt19937 rng(11);
  auto in = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int i = 0; i < 2000; ++i) {
    const int far = i % 4 == 0 ? INT_MAX : 60;
    const Point a{in(-far, far), in(-20, 60)};
    const Point b = i % 50 == 0 ? a : Point{in(-20, 60), in(-far, far)};
    const Bitmap expected = Reference(40, 40, [&](Point p) { return RefOnLine(p, a, b); });
    for (auto [from, to] : {std::pair{a, b}, {b, a}}) {
      Bitmap fast = Reference(40, 40, [](Point) { return false; });
      DrawLine(fast, from, to, kPaint);
      ASSERT_EQ(fast, expected) << from << to;
    }
  }
}

TEST(NodeRectangle, SquareFromXMinusSToXPlusSMinusOneWithABlackRing) {
  const Color brush = MakeColor(200, 200, 200);
  for (auto [x, y, s] : {std::tuple{10, 10, 5}, {0, 0, 3}, {2, 2, 0}, {2, 2, 1},
                         {19, 19, 3}, {INT_MAX, INT_MIN, 12}, {-100, 2, 12}}) {
    Bitmap b(20, 20, kWhite);
    DrawNodeRectangle(b, x, y, s, brush);
    const std::int64_t x0 = std::int64_t{x} - s, x1 = std::int64_t{x} + s - 1;
    const std::int64_t y0 = std::int64_t{y} - s, y1 = std::int64_t{y} + s - 1;
    for (int i = 0; i < 20 * 20; ++i) {
      const int px = i % 20, py = i / 20;
      const bool in = px >= x0 && px <= x1 && py >= y0 && py <= y1;
      const bool ring = px == x0 || px == x1 || py == y0 || py == y1;
      ASSERT_EQ(b.Pixel(px, py), !in ? kWhite : ring ? kBlack : brush) << Point{x, y} << s;
    }
  }
}

}  // namespace
}  // namespace vesk
