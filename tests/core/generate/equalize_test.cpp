#include "core/generate/equalize.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/core/support/recording_run.h"

namespace vesk {
namespace {

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

// Golden pixels; one inner-bar step and one message point a column, and a
// cancel request does not stop the pass.
TEST(EqualizePicture, GoldenExamplesReportEveryColumnAndIgnoreTheCancel) {
  struct Row { int width, height, fill; bool dot; std::vector<std::vector<int>> greys; };
  const Row rows[] = {  // greys: {x, y, grey}; `dot`: a white pixel in the middle
      {1, 1, 40, false, {{0, 0, 255}}},
      {3, 3, 0, false, {{0, 0, 127}, {1, 0, 95}, {2, 0, 151}, {1, 1, 47}, {2, 2, 184}}},
      {5, 5, 0, true, {{2, 2, 48}, {2, 1, 97}, {1, 2, 97}, {3, 0, 85}, {4, 0, 148}}},
      {12, 12, 100, false, {{0, 0, 177}, {11, 11, 203}, {0, 5, 151}, {1, 5, 117}, {2, 5, 105},
                            {3, 5, 101}, {4, 5, 100}, {11, 6, 151}, {8, 10, 100}}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.width);
    Bitmap b(row.width, row.height, MakeColor(row.fill, row.fill, row.fill));
    if (row.dot) b.SetPixel(row.width / 2, row.height / 2, kWhite);
    testing_support::RecordingRun run;
    run.cancel_at_message = 0;
    EqualizePicture(b, run);
    for (const std::vector<int>& p : row.greys) {
      EXPECT_EQ(b.Pixel(p[0], p[1]), MakeColor(p[2], p[2], p[2])) << p[0] << "," << p[1];
    }
    std::vector<std::string> events = {"EqualizationBegin"};
    for (int x = 0; x < row.width; ++x) {
      events.insert(events.end(), {"Inner " + std::to_string(x * 100 / row.width), "Msg"});
    }
    events.push_back("EqualizationEnd");
    EXPECT_EQ(run.events, events);
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
    for (int i = 0; i < w * h; ++i) b.Row(0)[i] = rng() % 3 ? rng() % 2 * 0xFFFFFF : rng();
    Bitmap expected = b;
    ReferenceEqualize(expected);
    RunProtocol quiet;
    EqualizePicture(b, quiet);
    ASSERT_EQ(b, expected) << w << " x " << h;
  }
}

}  // namespace
}  // namespace vesk
