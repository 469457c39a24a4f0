// Colorize, Sheet Glass and Flag Streaming against the algorithms written
// out plainly, pixel by pixel with the checked accessors, their reported columns (the
// recording run rebuilds each frame from them), and the image each takes.
#include <gtest/gtest.h>

#include <random>

#include "core/effects/colorize.h"
#include "core/effects/effect_source.h"
#include "core/effects/flag_streaming.h"
#include "core/effects/sheet_glass.h"
#include "tests/core/support/effects_reference.h"
#include "tests/core/support/random_image.h"
#include "tests/core/support/recording_run.h"

namespace vesk {
namespace {

using namespace testing_support;  // the literal effects, random pictures, the recording run

// Seeded images of any sizes: the first image, the blends (the morph's colour rule, checked
// on its goldens there) and the second; one frame is raised to two.
TEST(Colorize, WritesTheFirstImageTheLiteralBlendsAndTheSecond) {
  std::mt19937 rng(31337);
  for (int round = 0; round < 25; ++round) {
    const Bitmap first = RandomImage(1 + rng() % 40, 1 + rng() % 30, rng());
    const Bitmap second = RandomImage(1 + rng() % 40, 1 + rng() % 30, rng());
    std::uint16_t frames = round == 0 ? 1 : 2 + rng() % 8;
    const int n = std::max<int>(frames, 2);
    RecordingRun run;
    Bitmap vesk;
    ASSERT_TRUE(Colorize(first, second, frames, run, vesk).Ok());
    std::vector<Bitmap> expected = {first};
    for (int k = 1; k < n; ++k) expected.push_back(LiteralBlend(first, second, k, n, first));
    expected.push_back(second);
    ASSERT_EQ(run.written, expected) << "round " << round;
    EXPECT_EQ(std::pair(int(frames), run.frames_mirrored), std::pair(n, n - 1));
    EXPECT_EQ(vesk, second);
    EXPECT_EQ(run.Only("Counter").back(), "Counter " + std::to_string(n - 1) + "/" +
                                              std::to_string(n));
    // The first frame is written before the progress window appears.
    EXPECT_EQ(run.events[0] + " " + run.events[1] + " " + run.events[2], "Show Write Begin");
    EXPECT_EQ(run.events.back(), "End");
    EXPECT_EQ(run.messages, (n - 1) * first.Width());
  }
}

TEST(SheetGlass, SeededImagesMatchTheLiteralStretch) {
  Bitmap positions(200, 100);  // red holds x, green y
  for (int i = 0; i < 200 * 100; ++i) positions.Row(0)[i] = MakeColor(i % 200, i / 200, 7);
  RecordingRun run;
  Bitmap vesk;
  ASSERT_TRUE(SheetGlass(positions, 36, 36, run, vesk).Ok());
  EXPECT_EQ(run.Only("Write").size(), 0u);
  EXPECT_EQ(run.shown, std::vector<Bitmap>{vesk});
  EXPECT_EQ(run.frames_mirrored, 1);
  EXPECT_EQ(run.Only("Inner")[3], "Inner 1");  // one step a column
  EXPECT_EQ(run.Only("Inner")[199], "Inner 99");
  EXPECT_EQ(RedOf(vesk.Pixel(10, 50)), 16);  // (20 x 164) div 200
  EXPECT_EQ(RedOf(vesk.Pixel(40, 0)), 36);   // ((4 + 40) x 164) div 200
  EXPECT_EQ(GreenOf(vesk.Pixel(0, 10)), 12);  // (20 x 64) div 100
  EXPECT_EQ(GreenOf(vesk.Pixel(0, 40)), 28);
  EXPECT_EQ(GreenOf(vesk.Pixel(0, 99)), 80);
  std::mt19937 rng(77);
  for (int round = 0; round < 60; ++round) {
    const int w = 1 + int(rng() % 90), h = 1 + int(rng() % 70);
    const int sh = round % 7 == 0 ? w : int(rng() % (round % 3 == 0 ? 256 : 40));
    const int sv = round % 7 == 1 ? h : int(rng() % (round % 3 == 1 ? 256 : 40));
    const Bitmap source = RandomImage(w, h, round);
    ASSERT_TRUE(SheetGlass(source, sh, sv, run, vesk).Ok());
    ASSERT_EQ(vesk, LiteralSheetGlass(source, sh, sv)) << w << "x" << h << " " << sh << "x" << sv;
  }
  ASSERT_TRUE(SheetGlass(Bitmap(), 36, 36, run, vesk).Ok());
  EXPECT_TRUE(vesk.Empty());
}

TEST(FlagStreaming, SeededRunsMatchTheLiteralFrames) {
  struct Row { int width, height, radius, hq, vq, frames; };
  std::vector<Row> rows = {{30, 20, 10, 0, 0, 12}, {17, 23, 15, INT_MAX, INT_MIN + 5, 4},
                           {8, 6, 0, 5, 5, 2}, {6, 4, 3, 2, 1, 0}, {6, 4, 3, 2, 1, 1}};
  std::mt19937 rng(9001);
  for (int i = 0; i < 25; ++i) {
    rows.push_back({1 + int(rng() % 40), 1 + int(rng() % 30), int(rng() % 16),
                    int(rng() % 51) - 25, int(rng() % 51) - 25, 1 + int(rng() % 7)});
  }
  for (const Row& r : rows) {
    const Bitmap source = RandomImage(r.width, r.height, r.width * 100 + r.height);
    RecordingRun run;
    Bitmap vesk;
    ASSERT_TRUE(FlagStreaming(source, {r.radius, r.hq, r.vq, r.frames}, run, vesk).Ok());
    const int n = std::max(r.frames, 1);
    std::vector<Bitmap> expected;
    std::vector<std::string> counters;
    for (int f = 0; f < n; ++f) {
      expected.push_back(LiteralFlagFrame(source, r.radius, r.hq, r.vq, f, n));
      counters.push_back("Counter " + std::to_string(f) + "/" + std::to_string(n));
    }
    ASSERT_EQ(run.written, expected) << r.width << "x" << r.height << " R " << r.radius << " Hq "
                                     << r.hq << " Vq " << r.vq << " N " << r.frames;
    EXPECT_EQ(run.Only("Counter"), counters);
    EXPECT_EQ(run.frames_mirrored, n);
    EXPECT_EQ(vesk, expected.back());
  }
}

TEST(FlagStreaming, ValuesFromTheSettingsAndSizeLimit) {
  const FlagStreamingValues v = FlagStreamingValuesFrom(
      {.FrameCount = 9, .FlagRadius = 7, .FlagHorzQuotient = 2, .FlagVertQuotient = -5});
  EXPECT_EQ(std::vector<int>({v.flag_radius, v.horz_quotient, v.vert_quotient, v.frame_count}),
            std::vector<int>({7, 2, -5, 9}));
  // Frames larger than a bitmap may be are refused before the run.
  EXPECT_TRUE(CheckFlagFrameSize(32748, 1, 10).Ok());
  EXPECT_FALSE(CheckFlagFrameSize(32749, 1, 10).Ok());
  EXPECT_FALSE(CheckFlagFrameSize(10, 10, 65535).Ok());
  RecordingRun refused;
  Bitmap untouched(3, 3, kBlack);
  EXPECT_EQ(FlagStreaming(Bitmap(32749, 2, kBlack), {10, 3, 3, 12}, refused, untouched).Message(),
            "Bitmap is too large (at most 32768 pixels on a side and 268435456 pixels in all)");
  EXPECT_TRUE(refused.events.empty());
  EXPECT_EQ(untouched, Bitmap(3, 3, kBlack));
}

enum class Effect { kColorize, kSheetGlass, kFlag };

Status RunEffect(Effect effect, const Bitmap& first, const Bitmap& second, RunProtocol& run,
                 Bitmap& vesk) {
  std::uint16_t frames = 6;
  switch (effect) {
    case Effect::kColorize: return Colorize(first, second, frames, run, vesk);
    case Effect::kSheetGlass: return SheetGlass(first, 6, 4, run, vesk);
    case Effect::kFlag: return FlagStreaming(first, {4, 3, 2, 6}, run, vesk);
  }
  return Status::Success();
}

// Kancel pressed while the messages before column c of frame f are
// processed: that frame stops after column c, is shown and not written, and
// no frame after it is written (Colorize still computes column 0 of each
// later blend and ends on the second image).
TEST(Effects, CancelStopsAfterTheColumnItCameIn) {
  struct Row { const char* name; Effect effect; int width, frame, column; std::size_t messages; };
  const Row rows[] = {
      {"colorize", Effect::kColorize, 9, 2, 3, 9 + 4 + 3},
      {"colorize, last column", Effect::kColorize, 9, 3, 8, 18 + 9 + 2},
      {"sheet glass, column 0", Effect::kSheetGlass, 50, 0, 0, 1},
      {"sheet glass, end of a strip", Effect::kSheetGlass, 50, 0, 31, 32},
      {"sheet glass, start of a strip", Effect::kSheetGlass, 50, 0, 32, 33},
      {"flag, column 0", Effect::kFlag, 12, 2, 0, 25},
      {"flag, last column", Effect::kFlag, 12, 2, 11, 36},
  };
  for (const Row& row : rows) {
    const Bitmap first = RandomImage(row.width, 7, 40), second = RandomImage(row.width, 7, 41);
    RecordingRun run;
    const int blend = row.effect == Effect::kColorize ? 1 : 0;  // frames start at 1
    run.cancel_at_message = (row.frame - blend) * row.width + row.column;
    Bitmap vesk;
    ASSERT_TRUE(RunEffect(row.effect, first, second, run, vesk).Ok()) << row.name;
    std::vector<Bitmap> expected;
    Bitmap partial;
    if (row.effect == Effect::kColorize) {
      expected.push_back(first);
      for (int k = 1; k < row.frame; ++k)
        expected.push_back(LiteralBlend(first, second, k, 6, first));
      partial = LiteralBlend(first, second, row.frame, 6, expected.back(), row.column + 1);
      EXPECT_EQ(vesk, second) << row.name;
      EXPECT_EQ(run.shown.back(), second) << row.name;
      EXPECT_EQ(run.shown[run.shown.size() - 2],
                LiteralBlend(first, second, 5, 6, partial, 1)) << row.name;
    } else if (row.effect == Effect::kSheetGlass) {
      partial = LiteralSheetGlass(first, 6, 4, row.column + 1);
    } else {
      for (int f = 0; f < row.frame; ++f)
        expected.push_back(LiteralFlagFrame(first, 4, 3, 2, f, 6));
      partial = LiteralFlagFrame(first, 4, 3, 2, row.frame, 6, row.column + 1);
    }
    EXPECT_EQ(run.written, expected) << row.name;
    ASSERT_GT(run.shown.size(), expected.size()) << row.name;
    EXPECT_EQ(run.shown[expected.size()], partial) << row.name;
    EXPECT_EQ(run.messages, int(row.messages)) << row.name;
    EXPECT_EQ(run.events.back(), "End") << row.name;
  }
}

TEST(Effects, FailedWriteEndsTheRunWithItsMessage) {
  struct Row { Effect effect; int fail_write; bool begun; std::size_t counters; };
  const Bitmap image = RandomImage(5, 5, 60);
  for (const Row& row : {Row{Effect::kColorize, 2, true, 2}, Row{Effect::kColorize, 0, false, 0},
                         Row{Effect::kFlag, 1, true, 2}}) {
    RecordingRun run;
    run.fail_write = row.fail_write;
    Bitmap vesk;
    const Status status = RunEffect(row.effect, image, image, run, vesk);
    EXPECT_EQ(status.Message(), "Cannot write imag" + std::to_string(row.fail_write + 1));
    EXPECT_EQ(run.written.size(), std::size_t(row.fail_write));
    EXPECT_EQ(run.events.back(), row.begun ? "End" : "Write");
    EXPECT_EQ(run.Only("Counter").size(), row.counters);
  }
}

// Sheet Glass follows the active image window, Flag Streaming prefers the
// first image; with only the second open both use it; with none, nothing.
TEST(EffectSource, EachEffectPicksItsImage) {
  using W = ImageWindow;
  struct Row { bool flag, first, second; W active; EffectSource expected; };
  const Row rows[] = {
      {0, 1, 1, W::kFirst, {W::kFirst, 0}},   {0, 1, 1, W::kSecond, {W::kSecond, 0}},
      {0, 1, 1, W::kVesk, {W::kFirst, 1}},    {0, 1, 0, W::kNone, {W::kFirst, 1}},
      {0, 0, 1, W::kSecond, {W::kSecond, 0}}, {0, 0, 1, W::kVesk, {W::kSecond, 1}},
      {0, 0, 0, W::kFirst, {W::kNone, 0}},    {1, 1, 1, W::kFirst, {W::kFirst, 0}},
      {1, 1, 1, W::kSecond, {W::kFirst, 1}},  {1, 1, 0, W::kVesk, {W::kFirst, 1}},
      {1, 0, 1, W::kSecond, {W::kSecond, 0}}, {1, 0, 1, W::kVesk, {W::kSecond, 1}},
      {1, 0, 0, W::kSecond, {W::kNone, 0}}};
  for (const Row& r : rows) {
    EXPECT_EQ(r.flag ? FlagStreamingSource(r.first, r.second, r.active)
                     : SheetGlassSource(r.first, r.second, r.active),
              r.expected) << r.flag << r.first << r.second << int(r.active);
  }
}

}  // namespace
}  // namespace vesk
