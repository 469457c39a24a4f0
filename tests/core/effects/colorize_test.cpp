#include "core/effects/colorize.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/core/effects/scripted_run.h"
#include "tests/core/effects/test_images.h"

namespace vesk {
namespace {

using testing::RandomImage;
using testing::ScriptedRun;

// Blend k of n as the algorithm states it: single-pixel reads (the invalid
// colour outside the second image), one division per channel.
Bitmap LiteralBlend(const Bitmap& first, const Bitmap& second, int k, int n) {
  Bitmap result = first;
  for (int x = 0; x < first.Width(); ++x) {
    for (int y = 0; y < first.Height(); ++y) {
      const Color c1 = first.Pixel(x, y);
      const Color c2 = second.Pixel(x, y);
      const int r1 = c1 & 0xFF, g1 = (c1 >> 8) & 0xFF, b1 = (c1 >> 16) & 0xFF;
      const int r2 = c2 & 0xFF, g2 = (c2 >> 8) & 0xFF, b2 = (c2 >> 16) & 0xFF;
      const int r = r1 + ((r2 - r1) * k) / n;
      const int g = g1 + ((g2 - g1) * k) / n;
      const int b = b1 + ((b2 - b1) * k) / n;
      result.SetPixel(x, y, static_cast<Color>(r | (g << 8) | (b << 16)));
    }
  }
  return result;
}

Bitmap Plain(int w, int h, Color c) { return Bitmap(w, h, c); }

// A whole Colorize run with a scripted protocol that never cancels: the
// protocol's record, the frame count as the run left it, the Vesk picture.
struct ColorizeResult {
  ScriptedRun run;
  std::uint16_t frames;
  Bitmap vesk;
};

ColorizeResult RunColorize(const Bitmap& first, const Bitmap& second, std::uint16_t frames) {
  ColorizeResult result{ScriptedRun(), frames, Bitmap()};
  const Status status = Colorize(first, second, result.frames, result.run, result.vesk);
  EXPECT_TRUE(status.Ok()) << status.Message();
  return result;
}

TEST(Colorize, FourStepsOfRedFromZeroTo255) {
  const Bitmap first = Plain(6, 4, MakeColor(0, 10, 20));
  const Bitmap second = Plain(6, 4, MakeColor(255, 10, 20));
  auto [run, frames, vesk] = RunColorize(first, second, 4);
  EXPECT_EQ(frames, 4);
  ASSERT_EQ(run.written.size(), 5u);
  EXPECT_EQ(run.written[0], first);
  EXPECT_EQ(run.written[1].Pixel(3, 2), MakeColor(63, 10, 20));
  EXPECT_EQ(run.written[2].Pixel(0, 0), MakeColor(127, 10, 20));
  EXPECT_EQ(run.written[3].Pixel(5, 3), MakeColor(191, 10, 20));
  EXPECT_EQ(run.written[4], second);
  EXPECT_EQ(vesk, second);
}

TEST(Colorize, ThreeStepsDownwardTruncateTowardZero) {
  const Bitmap first = Plain(3, 3, MakeColor(200, 0, 200));
  const Bitmap second = Plain(3, 3, MakeColor(0, 0, 1));
  auto [run, frames, vesk] = RunColorize(first, second, 3);
  ASSERT_EQ(run.written.size(), 4u);
  // 200 + (-200 x k) div 3: 134 and 67; blue 200 -> 1 gives 134 and 68.
  EXPECT_EQ(run.written[1].Pixel(1, 1), MakeColor(134, 0, 134));
  EXPECT_EQ(run.written[2].Pixel(1, 1), MakeColor(67, 0, 68));
}

TEST(Colorize, FrameCountOneIsRaisedToTwoAndGivesThreeFrames) {
  const Bitmap first = Plain(4, 4, MakeColor(0, 100, 255));
  const Bitmap second = Plain(4, 4, MakeColor(255, 0, 0));
  auto [run, frames, vesk] = RunColorize(first, second, 1);
  EXPECT_EQ(frames, 2);
  ASSERT_EQ(run.written.size(), 3u);
  EXPECT_EQ(run.written[1].Pixel(2, 2), MakeColor(127, 50, 128));
  EXPECT_EQ(RaiseColorizeFrameCount(1), 2);
  EXPECT_EQ(RaiseColorizeFrameCount(2), 2);
  EXPECT_EQ(RaiseColorizeFrameCount(12), 12);
}

TEST(Colorize, TwelveFramesWriteThirteenFilesWithCountersOneToEleven) {
  const Bitmap first = RandomImage(7, 5, 1);
  const Bitmap second = RandomImage(7, 5, 2);
  auto [run, frames, vesk] = RunColorize(first, second, 12);
  EXPECT_EQ(run.written.size(), 13u);
  const std::vector<std::string> counters = run.Counters();
  ASSERT_EQ(counters.size(), 11u);
  EXPECT_EQ(counters.front(), "counter 1/12");
  EXPECT_EQ(counters.back(), "counter 11/12");
  // The first frame is written before the progress window appears.
  EXPECT_EQ(run.log[0], "show");
  EXPECT_EQ(run.log[1], "write");
  EXPECT_EQ(run.log[2], "begin");
  EXPECT_EQ(run.log.back(), "end");
  EXPECT_EQ(run.process_calls, 11 * 7);
  EXPECT_EQ(run.begin_calls, 1);
  EXPECT_EQ(run.end_calls, 1);
}

TEST(Colorize, SeededBlendsMatchTheLiteralAlgorithm) {
  std::mt19937 random(31337);
  for (int round = 0; round < 25; ++round) {
    const int w1 = 1 + static_cast<int>(random() % 40), h1 = 1 + static_cast<int>(random() % 30);
    const int w2 = 1 + static_cast<int>(random() % 40), h2 = 1 + static_cast<int>(random() % 30);
    const Bitmap first = RandomImage(w1, h1, random());
    const Bitmap second = RandomImage(w2, h2, random());
    std::uint16_t frames = static_cast<std::uint16_t>(1 + random() % 9);
    const int n = frames == 1 ? 2 : frames;
    ScriptedRun run;
    Bitmap vesk;
    ASSERT_TRUE(Colorize(first, second, frames, run, vesk).Ok());
    ASSERT_EQ(run.written.size(), static_cast<std::size_t>(n + 1));
    EXPECT_EQ(run.written.front(), first);
    EXPECT_EQ(run.written.back(), second);
    for (int k = 1; k < n; ++k) {
      ASSERT_EQ(run.written[static_cast<std::size_t>(k)], LiteralBlend(first, second, k, n))
          << "round " << round << " blend " << k << " of " << n;
    }
  }
}

TEST(Colorize, FirstImageLargerFadesTheUncoveredPartToWhite) {
  const Bitmap first = Plain(10, 8, MakeColor(0, 0, 0));
  const Bitmap second = Plain(4, 3, MakeColor(100, 100, 100));
  auto [run, frames, vesk] = RunColorize(first, second, 2);
  ASSERT_EQ(run.written.size(), 3u);
  const Bitmap& half = run.written[1];
  EXPECT_EQ(half.Width(), 10);
  EXPECT_EQ(half.Height(), 8);
  EXPECT_EQ(half.Pixel(3, 2), MakeColor(50, 50, 50));
  EXPECT_EQ(half.Pixel(4, 2), MakeColor(127, 127, 127));
  EXPECT_EQ(half.Pixel(3, 3), MakeColor(127, 127, 127));
  EXPECT_EQ(half.Pixel(9, 7), MakeColor(127, 127, 127));
  EXPECT_EQ(run.written[2].Width(), 4);
  EXPECT_EQ(run.written[2].Height(), 3);
}

TEST(Colorize, SecondImageLargerBlendsOnlyTheFirstImagesArea) {
  const Bitmap first = RandomImage(5, 4, 8);
  const Bitmap second = RandomImage(9, 12, 9);
  auto [run, frames, vesk] = RunColorize(first, second, 5);
  ASSERT_EQ(run.written.size(), 6u);
  for (int k = 1; k < 5; ++k) {
    EXPECT_EQ(run.written[static_cast<std::size_t>(k)].Width(), 5);
    EXPECT_EQ(run.written[static_cast<std::size_t>(k)], LiteralBlend(first, second, k, 5));
  }
  EXPECT_EQ(run.written[5], second);
}

TEST(Colorize, CancelInSecondBlendWritesNothingMoreAndComputesOneColumnPerStep) {
  const int w = 9;
  const Bitmap first = RandomImage(w, 6, 40);
  const Bitmap second = RandomImage(w, 6, 41);
  ScriptedRun run;
  // Blend 1 takes process calls 0..8; the cancel arrives before column 3 of
  // blend 2.
  run.cancel_during_process = w + 3;
  std::uint16_t frames = 6;
  Bitmap vesk;
  ASSERT_TRUE(Colorize(first, second, frames, run, vesk).Ok());
  ASSERT_EQ(run.written.size(), 2u);  // the first image and blend 1
  EXPECT_EQ(run.written[1], LiteralBlend(first, second, 1, 6));
  // Blend 2 stops after column 3; blends 3, 4 and 5 compute column 0 only.
  EXPECT_EQ(run.process_calls, w + 4 + 3);
  EXPECT_EQ(run.Count("counter 5/6"), 1);
  // What blend 2 showed: columns 0..3 of blend 2, the rest still blend 1.
  const Bitmap& partial = run.shown[2];
  const Bitmap blend1 = LiteralBlend(first, second, 1, 6);
  const Bitmap blend2 = LiteralBlend(first, second, 2, 6);
  for (int x = 0; x < w; ++x) {
    for (int y = 0; y < 6; ++y) {
      EXPECT_EQ(partial.Pixel(x, y), x <= 3 ? blend2.Pixel(x, y) : blend1.Pixel(x, y));
    }
  }
  // The last step (k = 5) wrote its column 0.
  const Bitmap blend5 = LiteralBlend(first, second, 5, 6);
  for (int y = 0; y < 6; ++y) EXPECT_EQ(run.shown[5].Pixel(0, y), blend5.Pixel(0, y));
  EXPECT_EQ(run.shown[5].Pixel(1, 0), blend2.Pixel(1, 0));
  // The run still ends on the second image, unwritten.
  EXPECT_EQ(vesk, second);
  EXPECT_EQ(run.shown.back(), second);
  EXPECT_EQ(run.end_calls, 1);
}

TEST(Colorize, CancelDuringLastBlendKeepsTheBlendsBeforeIt) {
  const Bitmap first = RandomImage(4, 4, 50);
  const Bitmap second = RandomImage(4, 4, 51);
  ScriptedRun run;
  run.cancel_during_process = 3 * 4;  // one call past the last column of blend 3
  std::uint16_t frames = 4;
  Bitmap vesk;
  ASSERT_TRUE(Colorize(first, second, frames, run, vesk).Ok());
  // Blends 1..3 use process calls 0..11; call 12 never happens, so nothing
  // is cancelled: all five frames written.
  EXPECT_EQ(run.written.size(), 5u);

  ScriptedRun late;
  late.cancel_during_process = 2 * 4 + 3;  // before the last column of blend 3
  frames = 4;
  ASSERT_TRUE(Colorize(first, second, frames, late, vesk).Ok());
  ASSERT_EQ(late.written.size(), 3u);  // first image, blends 1 and 2
  EXPECT_EQ(late.written[2], LiteralBlend(first, second, 2, 4));
  EXPECT_EQ(vesk, second);
}

TEST(Colorize, FailingWriteEndsTheRunWithItsMessage) {
  const Bitmap first = RandomImage(5, 5, 60);
  const Bitmap second = RandomImage(5, 5, 61);
  ScriptedRun run;
  run.fail_write = 2;
  std::uint16_t frames = 12;
  Bitmap vesk;
  const Status status = Colorize(first, second, frames, run, vesk);
  ASSERT_FALSE(status.Ok());
  EXPECT_EQ(status.Message(), "Cannot write imag3.bmp");
  EXPECT_EQ(run.write_calls, 3);
  EXPECT_EQ(run.written.size(), 2u);
  EXPECT_EQ(run.end_calls, 1);
  EXPECT_EQ(run.Count("counter 3/12"), 0);
  EXPECT_EQ(vesk, LiteralBlend(first, second, 2, 12));
}

TEST(Colorize, FailingFirstWriteEndsBeforeTheProgressWindow) {
  const Bitmap first = RandomImage(5, 5, 62);
  ScriptedRun run;
  run.fail_write = 0;
  std::uint16_t frames = 12;
  Bitmap vesk;
  EXPECT_FALSE(Colorize(first, first, frames, run, vesk).Ok());
  EXPECT_EQ(run.begin_calls, 0);
  EXPECT_EQ(run.end_calls, 0);
  EXPECT_EQ(vesk, first);
}

}  // namespace
}  // namespace vesk
