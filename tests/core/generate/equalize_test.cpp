#include "core/generate/equalize.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/core/support/recording_run.h"

namespace vesk {
namespace {

using testing_support::RecordingRun;

Color Grey(int v) { return MakeColor(v, v, v); }

// The pass as described: column by column, top to bottom, each pixel the
// mean of its four neighbours as they stand then, outside neighbours white.
void ReferenceEqualize(Bitmap& b) {
  auto channel = [&](int x, int y, int shift) {
    return b.Contains(x, y) ? static_cast<int>((b.Pixel(x, y) >> shift) & 0xFF) : 255;
  };
  for (int x = 0; x < b.Width(); ++x) {
    for (int y = 0; y < b.Height(); ++y) {
      int out[3];
      for (int c = 0; c < 3; ++c) {
        out[c] = (channel(x, y + 1, 8 * c) + channel(x, y - 1, 8 * c) +
                  channel(x + 1, y, 8 * c) + channel(x - 1, y, 8 * c)) / 4;
      }
      b.SetPixel(x, y, MakeColor(out[0], out[1], out[2]));
    }
  }
}

TEST(EqualizePicture, GoldenExamples) {
  struct Row {
    const char* name;
    int width, height, fill;
    bool white_dot_in_the_middle;
    std::vector<std::vector<int>> expected;  // {x, y, grey}
  };
  const Row rows[] = {
      {"one pixel becomes white", 1, 1, 40, false, {{0, 0, 255}}},
      {"black 3 x 3", 3, 3, 0, false,
       {{0, 0, 127}, {1, 0, 95}, {2, 0, 151}, {0, 1, 95}, {1, 1, 47}, {2, 1, 113},
        {0, 2, 151}, {1, 2, 113}, {2, 2, 184}}},
      {"white dot in black 5 x 5", 5, 5, 0, true,
       {{2, 2, 48}, {2, 1, 97}, {1, 2, 97}, {0, 0, 127}, {1, 0, 95}, {2, 0, 87}, {3, 0, 85},
        {4, 0, 148}}},
      {"uniform 12 x 12 of 100", 12, 12, 100, false,
       {{0, 0, 177}, {11, 11, 203}, {0, 5, 151}, {1, 5, 117}, {2, 5, 105}, {3, 5, 101},
        {4, 5, 100}, {10, 6, 100}, {11, 6, 151}, {6, 6, 100}, {8, 10, 100}}},
  };
  for (const Row& row : rows) {
    Bitmap b(row.width, row.height, Grey(row.fill));
    if (row.white_dot_in_the_middle) b.SetPixel(row.width / 2, row.height / 2, kWhite);
    RunProtocol quiet;
    EqualizePicture(b, quiet);
    for (const std::vector<int>& p : row.expected) {
      EXPECT_EQ(b.Pixel(p[0], p[1]), Grey(p[2])) << row.name << " at " << p[0] << "," << p[1];
    }
  }
}

// Random colours with random bits above blue (ignored, written as zero),
// on sizes around the painting's strips.
TEST(EqualizePicture, SeededPicturesMatchThePlainPass) {
  std::mt19937 rng(99);
  std::vector<std::pair<int, int>> sizes = {{1, 9}, {9, 1}, {2, 2}, {127, 3}, {128, 5},
                                            {129, 4}, {256, 2}, {300, 17}, {31, 64}};
  for (int i = 0; i < 6; ++i) sizes.push_back({1 + int(rng() % 400), 1 + int(rng() % 40)});
  for (auto [w, h] : sizes) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) b.SetPixel(x, y, rng() % 3 == 0 ? rng() : rng() % 2 * 0xFFFFFF);
    }
    Bitmap expected = b;
    ReferenceEqualize(expected);
    RunProtocol quiet;
    EqualizePicture(b, quiet);
    ASSERT_EQ(b, expected) << w << " x " << h;
  }
}

// One inner-bar step and one message point per column; a cancel request
// does not stop the pass; an empty picture still opens and closes it.
TEST(EqualizePicture, ReportsEveryColumnAndIgnoresTheCancel) {
  struct Row { int width, height; std::vector<std::string> events; };
  const Row rows[] = {
      {3, 2, {"EqualizationBegin", "Inner 0", "Msg x1", "Inner 33", "Msg x1", "Inner 66",
              "Msg x1", "EqualizationEnd"}},
      {0, 0, {"EqualizationBegin", "EqualizationEnd"}},
      {0, 7, {"EqualizationBegin", "EqualizationEnd"}}};
  for (const Row& row : rows) {
    Bitmap b(row.width, row.height, kBlack);
    RecordingRun run;
    run.cancel_at_message = 0;
    EqualizePicture(b, run);
    EXPECT_EQ(run.events, row.events) << row.width;
  }
  Bitmap wide(1000, 1, kBlack);
  RecordingRun run;
  EqualizePicture(wide, run);
  ASSERT_EQ(run.events.size(), 2002u);
  EXPECT_EQ(run.events[1 + 2 * 10], "Inner 1");
  EXPECT_EQ(run.events[1 + 2 * 999], "Inner 99");
}

}  // namespace
}  // namespace vesk
