#include "core/effects/sheet_glass.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/core/effects/scripted_run.h"
#include "tests/core/effects/test_images.h"

namespace vesk {
namespace {

using testing::PositionImage;
using testing::RandomImage;
using testing::ScriptedRun;

// The picture pixel by pixel as the algorithm states it: single-pixel reads,
// truncating div and mod, a read outside the image giving white.
Bitmap LiteralSheetGlass(const Bitmap& source, int sh, int sv) {
  if (sh == 0) sh = 1;
  if (sv == 0) sv = 1;
  const int w = source.Width();
  const int h = source.Height();
  Bitmap result(w, h, kWhite);
  for (int x = 0; x < w; ++x) {
    for (int y = 0; y < h; ++y) {
      const int sy = ((y % sv) + y) * (h - sv) / h;
      const int sx = ((x % sh) + x) * (w - sh) / w;
      const Color c = source.Pixel(sx, sy);
      result.SetPixel(x, y, c == kInvalidColor ? kWhite : c);
    }
  }
  return result;
}

TEST(SheetGlass, ExampleColumnsOfA200By100Image) {
  const Bitmap source = PositionImage(200, 100);
  ScriptedRun run;
  Bitmap vesk;
  ASSERT_TRUE(SheetGlass(source, 36, 36, run, vesk).Ok());
  ASSERT_EQ(vesk.Width(), 200);
  ASSERT_EQ(vesk.Height(), 100);
  for (int y = 0; y < 100; ++y) {
    EXPECT_EQ(RedOf(vesk.Pixel(10, y)), 16) << "row " << y;  // (20 x 164) div 200
    EXPECT_EQ(RedOf(vesk.Pixel(40, y)), 36) << "row " << y;  // ((4 + 40) x 164) div 200
  }
  // Rows: sy = ((y mod 36) + y) x 64 div 100.
  EXPECT_EQ(GreenOf(vesk.Pixel(0, 10)), 12);
  EXPECT_EQ(GreenOf(vesk.Pixel(0, 40)), 28);
  EXPECT_EQ(GreenOf(vesk.Pixel(0, 99)), 80);
  EXPECT_EQ(vesk, LiteralSheetGlass(source, 36, 36));
}

TEST(SheetGlass, ResultHasTheSourceSizeForEverySheetSize) {
  const Bitmap source = RandomImage(57, 31, 3);
  for (int sheet : {0, 1, 5, 31, 57, 100, 255}) {
    ScriptedRun run;
    Bitmap vesk;
    ASSERT_TRUE(SheetGlass(source, sheet, sheet, run, vesk).Ok());
    EXPECT_EQ(vesk.Width(), 57);
    EXPECT_EQ(vesk.Height(), 31);
  }
}

TEST(SheetGlass, SheetAsWideAsTheImageRepeatsColumnZero) {
  const Bitmap source = RandomImage(40, 30, 11);
  ScriptedRun run;
  Bitmap vesk;
  ASSERT_TRUE(SheetGlass(source, 40, 7, run, vesk).Ok());
  for (int x = 0; x < 40; ++x) {
    for (int y = 0; y < 30; ++y) ASSERT_EQ(vesk.Pixel(x, y), vesk.Pixel(0, y)) << x << "," << y;
  }
  ASSERT_TRUE(SheetGlass(source, 7, 30, run, vesk).Ok());
  for (int x = 0; x < 40; ++x) {
    for (int y = 0; y < 30; ++y) ASSERT_EQ(vesk.Pixel(x, y), vesk.Pixel(x, 0)) << x << "," << y;
  }
  EXPECT_EQ(vesk.Pixel(3, 0), source.Pixel(4, 0));  // (3 + 3) x 33 div 40
}

TEST(SheetGlass, SheetSizeZeroActsAsOne) {
  const Bitmap source = RandomImage(23, 19, 5);
  ScriptedRun run;
  Bitmap zero, one;
  ASSERT_TRUE(SheetGlass(source, 0, 0, run, zero).Ok());
  ASSERT_TRUE(SheetGlass(source, 1, 1, run, one).Ok());
  EXPECT_EQ(zero, one);
  // With sheets of one pixel the mapping is x x (W - 1) div W.
  EXPECT_EQ(zero.Pixel(22, 18), source.Pixel(21, 17));
}

TEST(SheetGlass, SheetLargerThanTheImageReadsWhiteOutside) {
  const Bitmap source = RandomImage(10, 8, 9);
  ScriptedRun run;
  Bitmap vesk;
  ASSERT_TRUE(SheetGlass(source, 36, 36, run, vesk).Ok());
  // Column 0 and row 0 still read source pixel (0, 0); every other position
  // maps to a negative source position.
  EXPECT_EQ(vesk.Pixel(0, 0), source.Pixel(0, 0));
  EXPECT_EQ(vesk.Pixel(1, 0), kWhite);
  EXPECT_EQ(vesk.Pixel(0, 1), kWhite);
  EXPECT_EQ(vesk.Pixel(9, 7), kWhite);
}

TEST(SheetGlass, SeededImagesMatchTheLiteralAlgorithm) {
  std::mt19937 random(77);
  for (int round = 0; round < 60; ++round) {
    const int w = 1 + static_cast<int>(random() % 90);
    const int h = 1 + static_cast<int>(random() % 70);
    const int sh = static_cast<int>(random() % (round % 3 == 0 ? 256 : 40));
    const int sv = static_cast<int>(random() % (round % 3 == 1 ? 256 : 40));
    const Bitmap source = RandomImage(w, h, static_cast<std::uint32_t>(round));
    ScriptedRun run;
    Bitmap vesk;
    ASSERT_TRUE(SheetGlass(source, sh, sv, run, vesk).Ok());
    ASSERT_EQ(vesk, LiteralSheetGlass(source, sh, sv))
        << w << " x " << h << " sheets " << sh << " x " << sv;
  }
}

TEST(SheetGlass, ProgressPerColumnAndNoFrameWritten) {
  const Bitmap source = RandomImage(8, 5, 1);
  ScriptedRun run;
  Bitmap vesk;
  ASSERT_TRUE(SheetGlass(source, 3, 3, run, vesk).Ok());
  EXPECT_EQ(run.begin_calls, 1);
  EXPECT_EQ(run.end_calls, 1);
  EXPECT_EQ(run.process_calls, 8);
  EXPECT_EQ(run.inner_bars, (std::vector<int>{0, 12, 25, 37, 50, 62, 75, 87}));
  EXPECT_EQ(run.write_calls, 0);
  EXPECT_TRUE(run.Counters().empty());
  ASSERT_EQ(run.shown.size(), 1u);
  EXPECT_EQ(run.shown[0], vesk);
  EXPECT_EQ(run.log.front(), "begin");
  EXPECT_EQ(run.log.back(), "end");
}

TEST(SheetGlass, CancelBeforeColumnKeepsColumnsUpToItAndLeavesTheRestWhite) {
  const Bitmap source = RandomImage(50, 20, 21);
  const Bitmap full = LiteralSheetGlass(source, 6, 4);
  for (int k : {0, 1, 17, 48, 49}) {
    ScriptedRun run;
    run.cancel_during_process = k;  // handled while column k is about to start
    Bitmap vesk;
    ASSERT_TRUE(SheetGlass(source, 6, 4, run, vesk).Ok());
    EXPECT_EQ(run.process_calls, k + 1);
    EXPECT_EQ(run.end_calls, 1);
    EXPECT_TRUE(run.cancelled);
    for (int x = 0; x < 50; ++x) {
      for (int y = 0; y < 20; ++y) {
        ASSERT_EQ(vesk.Pixel(x, y), x <= k ? full.Pixel(x, y) : kWhite)
            << "cancel before column " << k << " at " << x << "," << y;
      }
    }
  }
}

TEST(SheetGlass, EmptySourceGivesAnEmptyPictureWithoutProgressSteps) {
  ScriptedRun run;
  Bitmap vesk(3, 3);
  ASSERT_TRUE(SheetGlass(Bitmap(), 36, 36, run, vesk).Ok());
  EXPECT_TRUE(vesk.Empty());
  EXPECT_EQ(run.process_calls, 0);
  EXPECT_EQ(run.end_calls, 1);
}

}  // namespace
}  // namespace vesk
