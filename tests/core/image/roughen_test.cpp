#include "core/image/roughen.h"

#include <gtest/gtest.h>

#include <random>

namespace vesk {
namespace {

Bitmap Numbered(int w, int h) {
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, static_cast<Color>(y * 1000 + x));
  return b;
}

TEST(RoughenPicture, ZeroOffsetsChangeNothing) {
  Bitmap b = Numbered(20, 15);
  Bitmap before = b;
  RoughenPicture(b, [] { return 0; });
  EXPECT_EQ(b, before);
}

TEST(RoughenPicture, OffsetToTheRightReadsUnchangedPixels) {
  Bitmap b = Numbered(20, 15);
  const Bitmap before = b;
  int calls = 0;
  // ry is drawn first (0), then rx (+1).
  RoughenPicture(b, [&] { return (calls++ % 2 == 0) ? 0 : 1; });
  for (int y = 0; y < 15; ++y) {
    for (int x = 0; x < 20; ++x) {
      bool inner = y >= 5 && y <= 10 && x >= 5 && x <= 15;
      EXPECT_EQ(b.Pixel(x, y), inner ? before.Pixel(x + 1, y) : before.Pixel(x, y))
          << x << "," << y;
    }
  }
}

TEST(RoughenPicture, OffsetToTheLeftSmearsAlreadyChangedPixels) {
  Bitmap b = Numbered(20, 15);
  const Bitmap before = b;
  int calls = 0;
  RoughenPicture(b, [&] { return (calls++ % 2 == 0) ? 0 : -1; });
  for (int x = 5; x <= 15; ++x) EXPECT_EQ(b.Pixel(x, 7), before.Pixel(4, 7));
  EXPECT_EQ(b.Pixel(16, 7), before.Pixel(16, 7));
}

TEST(RoughenPicture, UpwardOffsetReadsTheRowAboveAsAlreadyChanged) {
  Bitmap b = Numbered(20, 15);
  const Bitmap before = b;
  int calls = 0;
  RoughenPicture(b, [&] { return (calls++ % 2 == 0) ? -1 : 0; });
  // Every inner row copies row 4, which the pass never changes.
  for (int y = 5; y <= 10; ++y)
    for (int x = 5; x <= 15; ++x) EXPECT_EQ(b.Pixel(x, y), before.Pixel(x, 4));
}

TEST(RoughenPicture, MatchesALiteralReferenceForRandomOffsets) {
  Bitmap b = Numbered(31, 23);
  Bitmap ref = b;
  std::mt19937 rng_a(99), rng_b(99);
  std::uniform_int_distribution<int> d(-2, 2);
  int rows = 0;
  RoughenPicture(b, [&] { return d(rng_a); }, [&] { ++rows; });
  for (int y = 5; y <= 23 - 5; ++y)
    for (int x = 5; x <= 31 - 5; ++x) {
      int ry = d(rng_b);
      int rx = d(rng_b);
      ref.SetPixel(x, y, ref.Pixel(x + rx, y + ry));
    }
  EXPECT_EQ(b, ref);
  EXPECT_EQ(rows, 23 - 5 - 5 + 1);
}

TEST(RoughenPicture, SmallPicturesHaveNoInnerPixels) {
  for (int size : {0, 1, 5, 9}) {
    Bitmap b = Numbered(size, size);
    Bitmap before = b;
    int calls = 0;
    RoughenPicture(b, [&] { ++calls; return 2; });
    EXPECT_EQ(b, before);
    EXPECT_EQ(calls, 0);
  }
  Bitmap ten = Numbered(10, 10);
  int calls = 0;
  RoughenPicture(ten, [&] { ++calls; return 2; });
  EXPECT_EQ(calls, 2);  // the single inner pixel (5, 5)
  EXPECT_EQ(ten.Pixel(5, 5), Numbered(10, 10).Pixel(7, 7));
}

}  // namespace
}  // namespace vesk
