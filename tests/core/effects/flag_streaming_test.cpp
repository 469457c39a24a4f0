#include "core/effects/flag_streaming.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

#include "core/effects/sine_table.h"
#include "tests/core/effects/scripted_run.h"
#include "tests/core/effects/test_images.h"

namespace vesk {
namespace {

using testing::PositionImage;
using testing::RandomImage;
using testing::ScriptedRun;

std::int32_t Wrap32(std::int64_t v) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(v)));
}

// Frame f of n as the algorithm states it, pixel by pixel with clipped
// single-pixel writes, drawing only the first `columns` columns.
Bitmap LiteralFlagFrame(const Bitmap& source, int radius, std::int32_t hq, std::int32_t vq,
                        int f, int n, int columns) {
  SineTable table;
  FillSineTable(table, radius);
  auto s = [&table](std::int32_t p) {
    std::int64_t q = p % 628;
    if (q < 0) q += 628;
    if (q == 0 && p > 0) q = 628;  // a positive phase wraps into 1..628
    return table[static_cast<std::size_t>(q)];
  };
  const int w = source.Width();
  const int h = source.Height();
  Bitmap frame(w + 2 * radius, h + 2 * radius, kWhite);
  std::int32_t a = static_cast<std::int32_t>(std::nearbyint(f * 628.3185307179587 / n));
  for (int x = 0; x < columns; ++x) {
    std::int32_t b = a;
    const int dy = s(a) + radius;
    for (int y = 0; y < h; ++y) {
      const Color c = source.Pixel(x, y);
      const int px = s(b) + radius + x;
      const int py = y + dy;
      frame.SetPixel(px, py, c);
      frame.SetPixel(px + 1, py, c);
      frame.SetPixel(px + 1, py + 1, c);
      b = Wrap32(std::int64_t{b} + hq);
    }
    a = Wrap32(std::int64_t{a} + vq);
  }
  return frame;
}

FlagStreamingValues Values(int radius, std::int32_t hq, std::int32_t vq, int n) {
  FlagStreamingValues v;
  v.flag_radius = radius;
  v.horz_quotient = hq;
  v.vert_quotient = vq;
  v.frame_count = n;
  return v;
}

TEST(FlagStreaming, FramesAreLargerByTwiceTheRadius) {
  const Bitmap source = RandomImage(100, 50, 4);
  ScriptedRun run;
  Bitmap vesk;
  ASSERT_TRUE(FlagStreaming(source, Values(10, 3, 3, 3), run, vesk).Ok());
  ASSERT_EQ(run.written.size(), 3u);
  for (const Bitmap& frame : run.written) {
    EXPECT_EQ(frame.Width(), 120);
    EXPECT_EQ(frame.Height(), 70);
  }
  EXPECT_EQ(vesk, run.written.back());
}

TEST(FlagStreaming, DefaultSettingsGiveTheDefaultValues) {
  const FlagStreamingValues v = FlagStreamingValuesFrom(Settings{});
  EXPECT_EQ(v.flag_radius, 10);
  EXPECT_EQ(v.horz_quotient, 3);
  EXPECT_EQ(v.vert_quotient, 3);
  EXPECT_EQ(v.frame_count, 12);
}

TEST(FlagStreaming, ZeroQuotientsShiftTheWholeImageDiagonally) {
  const Bitmap source = PositionImage(30, 20);
  ScriptedRun run;
  Bitmap vesk;
  ASSERT_TRUE(FlagStreaming(source, Values(10, 0, 0, 12), run, vesk).Ok());
  ASSERT_EQ(run.written.size(), 12u);
  SineTable table;
  FillSineTable(table, 10);
  for (int f = 0; f < 12; ++f) {
    const Bitmap& frame = run.written[static_cast<std::size_t>(f)];
    const int shift = 10 + SineLookup(table, FlagStartPhase(f, 12));
    for (int y = 0; y < frame.Height(); ++y) {
      for (int x = 0; x < frame.Width(); ++x) {
        const int sx = x - shift, sy = y - shift;
        if (sx >= 0 && sx < 30 && sy >= 0 && sy < 20) {
          ASSERT_EQ(frame.Pixel(x, y), source.Pixel(sx, sy)) << "frame " << f;
        } else if (sx < 0 || sy < 0 || sx > 30 || sy > 20) {
          ASSERT_EQ(frame.Pixel(x, y), kWhite) << "frame " << f << " at " << x << "," << y;
        }
      }
    }
    // The corners of the last column and row spill one pixel right and
    // down-right, unless that pixel lies beyond the frame (shift 2R).
    if (shift < 20) {
      EXPECT_EQ(frame.Pixel(shift + 30, shift + 5), source.Pixel(29, 5));
      EXPECT_EQ(frame.Pixel(shift + 30, shift + 20), source.Pixel(29, 19));
      EXPECT_EQ(frame.Pixel(shift + 5, shift + 20), source.Pixel(4, 19));
      EXPECT_EQ(frame.Pixel(shift, shift + 20), kWhite);
    }
    EXPECT_EQ(frame, LiteralFlagFrame(source, 10, 0, 0, f, 12, 30));
  }
  // Frame 3 has phase 157, where the sine is at its top: shifted by 2R.
  EXPECT_EQ(run.written[3].Pixel(20, 20), source.Pixel(0, 0));
  EXPECT_EQ(run.written[0].Pixel(10, 10), source.Pixel(0, 0));
}

TEST(FlagStreaming, SeededRunsMatchTheLiteralAlgorithm) {
  std::mt19937 random(9001);
  for (int round = 0; round < 30; ++round) {
    const int w = 1 + static_cast<int>(random() % 40);
    const int h = 1 + static_cast<int>(random() % 30);
    const int radius = static_cast<int>(random() % 16);
    const std::int32_t hq = static_cast<std::int32_t>(random() % 51) - 25;
    const std::int32_t vq = static_cast<std::int32_t>(random() % 51) - 25;
    const int n = 1 + static_cast<int>(random() % 7);
    const Bitmap source = RandomImage(w, h, random());
    ScriptedRun run;
    Bitmap vesk;
    ASSERT_TRUE(FlagStreaming(source, Values(radius, hq, vq, n), run, vesk).Ok());
    ASSERT_EQ(run.written.size(), static_cast<std::size_t>(n));
    for (int f = 0; f < n; ++f) {
      ASSERT_EQ(run.written[static_cast<std::size_t>(f)],
                LiteralFlagFrame(source, radius, hq, vq, f, n, w))
          << "round " << round << ": " << w << " x " << h << " R " << radius << " Hq " << hq
          << " Vq " << vq << " frame " << f << " of " << n;
    }
  }
}

TEST(FlagStreaming, ExtremeQuotientsWrapAroundLikeA32BitRegister) {
  const Bitmap source = RandomImage(17, 23, 12);
  const std::int32_t big = std::numeric_limits<std::int32_t>::max();
  const std::int32_t low = std::numeric_limits<std::int32_t>::min() + 5;
  ScriptedRun run;
  Bitmap vesk;
  ASSERT_TRUE(FlagStreaming(source, Values(15, big, low, 4), run, vesk).Ok());
  ASSERT_EQ(run.written.size(), 4u);
  for (int f = 0; f < 4; ++f) {
    EXPECT_EQ(run.written[static_cast<std::size_t>(f)],
              LiteralFlagFrame(source, 15, big, low, f, 4, 17))
        << "frame " << f;
  }
}

TEST(FlagStreaming, CountersRunFromZeroAndOneFrameHasPhaseZero) {
  const Bitmap source = RandomImage(6, 4, 13);
  ScriptedRun run;
  Bitmap vesk;
  ASSERT_TRUE(FlagStreaming(source, Values(3, 2, 1, 5), run, vesk).Ok());
  EXPECT_EQ(run.Counters(), (std::vector<std::string>{"counter 0/5", "counter 1/5", "counter 2/5",
                                                "counter 3/5", "counter 4/5"}));
  EXPECT_EQ(run.process_calls, 5 * 6);
  EXPECT_EQ(run.begin_calls, 1);
  EXPECT_EQ(run.end_calls, 1);

  ScriptedRun single;
  ASSERT_TRUE(FlagStreaming(source, Values(3, 2, 1, 1), single, vesk).Ok());
  ASSERT_EQ(single.written.size(), 1u);
  EXPECT_EQ(single.written[0], LiteralFlagFrame(source, 3, 2, 1, 0, 1, 6));
}

TEST(FlagStreaming, FrameCountZeroActsAsOne) {
  const Bitmap source = RandomImage(6, 4, 14);
  ScriptedRun run;
  Bitmap vesk;
  ASSERT_TRUE(FlagStreaming(source, Values(3, 2, 1, 0), run, vesk).Ok());
  ASSERT_EQ(run.written.size(), 1u);
  EXPECT_EQ(run.written[0], LiteralFlagFrame(source, 3, 2, 1, 0, 1, 6));
}

TEST(FlagStreaming, CancelBeforeColumnStopsThatFrameUnwrittenAndStartsNoOther) {
  const int w = 12;
  const Bitmap source = RandomImage(w, 9, 15);
  for (int k : {0, 5, w - 1}) {
    ScriptedRun run;
    run.cancel_during_process = 2 * w + k;  // frame 2, before column k
    Bitmap vesk;
    ASSERT_TRUE(FlagStreaming(source, Values(4, 3, 2, 6), run, vesk).Ok());
    ASSERT_EQ(run.written.size(), 2u) << "column " << k;
    EXPECT_EQ(run.written[1], LiteralFlagFrame(source, 4, 3, 2, 1, 6, w));
    EXPECT_EQ(vesk, LiteralFlagFrame(source, 4, 3, 2, 2, 6, k + 1)) << "column " << k;
    EXPECT_EQ(run.shown.back(), vesk);
    EXPECT_EQ(run.process_calls, 2 * w + k + 1);
    EXPECT_EQ(run.Count("counter 3/6"), 0);
    EXPECT_EQ(run.end_calls, 1);
    EXPECT_EQ(run.log.back(), "end");
  }
}

TEST(FlagStreaming, FrameTooLargeIsRefusedBeforeTheRun) {
  EXPECT_TRUE(CheckFlagFrameSize(32748, 1, 10).Ok());
  const Status refused = CheckFlagFrameSize(32749, 1, 10);
  ASSERT_FALSE(refused.Ok());
  EXPECT_EQ(refused.Message(), CheckBitmapSize(32769, 21));
  EXPECT_FALSE(CheckFlagFrameSize(10, 10, 65535).Ok());

  const Bitmap source(32749, 2, kBlack);
  ScriptedRun run;
  Bitmap vesk(3, 3, kBlack);
  const Status status = FlagStreaming(source, Values(10, 3, 3, 12), run, vesk);
  ASSERT_FALSE(status.Ok());
  EXPECT_EQ(status.Message(),
            "Bitmap is too large (at most 32768 pixels on a side and 268435456 pixels in all)");
  EXPECT_EQ(run.begin_calls, 0);
  EXPECT_TRUE(run.log.empty());
  EXPECT_EQ(vesk, Bitmap(3, 3, kBlack));
}

TEST(FlagStreaming, FailingWriteEndsTheRunWithItsMessage) {
  const Bitmap source = RandomImage(5, 5, 16);
  ScriptedRun run;
  run.fail_write = 1;
  Bitmap vesk;
  const Status status = FlagStreaming(source, Values(2, 1, 1, 12), run, vesk);
  ASSERT_FALSE(status.Ok());
  EXPECT_EQ(status.Message(), "Cannot write imag2.bmp");
  EXPECT_EQ(run.write_calls, 2);
  EXPECT_EQ(run.Count("counter 2/12"), 0);
  EXPECT_EQ(run.end_calls, 1);
}

TEST(FlagStreaming, RadiusZeroKeepsTheImageSize) {
  const Bitmap source = RandomImage(8, 6, 17);
  ScriptedRun run;
  Bitmap vesk;
  ASSERT_TRUE(FlagStreaming(source, Values(0, 5, 5, 2), run, vesk).Ok());
  ASSERT_EQ(run.written.size(), 2u);
  // No displacement: every pixel's corner covers its neighbours, so each
  // frame is the image itself.
  EXPECT_EQ(run.written[0], source);
  EXPECT_EQ(run.written[1], source);
}

}  // namespace
}  // namespace vesk
