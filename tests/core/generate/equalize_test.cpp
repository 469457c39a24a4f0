#include "core/generate/equalize.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace vesk {
namespace {

Color Grey(int v) { return MakeColor(v, v, v); }

// Records every call the pass makes.
class RecordingProtocol : public RunProtocol {
 public:
  void Begin() override { calls.push_back("Begin"); }
  void Counter(int k, int n) override { calls.push_back("Counter " + std::to_string(k) + "/" + std::to_string(n)); }
  void InnerBar(int percent) override { calls.push_back("InnerBar " + std::to_string(percent)); }
  void ProcessMessages() override { calls.push_back("ProcessMessages"); }
  bool CancelRequested() override {
    calls.push_back("CancelRequested");
    return true;
  }
  void EqualizationBegin() override { calls.push_back("EqualizationBegin"); }
  void EqualizationEnd() override { calls.push_back("EqualizationEnd"); }
  void ShowFrame(const Bitmap&) override { calls.push_back("ShowFrame"); }
  Status WriteFrame(const Bitmap&) override {
    calls.push_back("WriteFrame");
    return Status::Success();
  }
  void End() override { calls.push_back("End"); }
  std::vector<std::string> calls;
};

// The pass as described: column by column, top to bottom, one pixel at a
// time through the checked accessors, outside neighbours white.
void ReferenceEqualize(Bitmap& b) {
  auto channel = [&](int x, int y, int shift) {
    return b.Contains(x, y) ? static_cast<int>((b.Pixel(x, y) >> shift) & 0xFF) : 255;
  };
  for (int x = 0; x < b.Width(); ++x) {
    for (int y = 0; y < b.Height(); ++y) {
      int out[3];
      for (int c = 0; c < 3; ++c) {
        int shift = 8 * c;
        int sum = channel(x, y + 1, shift) + channel(x, y - 1, shift) + channel(x + 1, y, shift) +
                  channel(x - 1, y, shift);
        out[c] = sum / 4;
      }
      b.SetPixel(x, y, MakeColor(out[0], out[1], out[2]));
    }
  }
}

std::vector<int> RowValues(const Bitmap& b, int y) {
  std::vector<int> values;
  for (int x = 0; x < b.Width(); ++x) {
    Color c = b.Pixel(x, y);
    EXPECT_EQ(RedOf(c), GreenOf(c));
    EXPECT_EQ(RedOf(c), BlueOf(c));
    values.push_back(RedOf(c));
  }
  return values;
}

TEST(EqualizePicture, Uniform12x12Of100) {
  Bitmap b(12, 12, Grey(100));
  RunProtocol quiet;
  EqualizePicture(b, quiet);
  EXPECT_EQ(b.Pixel(0, 0), Grey(177));
  EXPECT_EQ(b.Pixel(11, 11), Grey(203));
  const std::vector<int> middle = {151, 117, 105, 101, 100, 100, 100, 100, 100, 100, 100, 151};
  EXPECT_EQ(RowValues(b, 5), middle);
  EXPECT_EQ(RowValues(b, 6), middle);
  EXPECT_EQ(b.Pixel(6, 6), Grey(100));
  EXPECT_EQ(b.Pixel(10, 10), Grey(100));
  // The bottom border changes only in its own row.
  EXPECT_EQ(b.Pixel(8, 10), Grey(100));
  EXPECT_NE(b.Pixel(8, 11), Grey(100));
}

TEST(EqualizePicture, OnePixelBecomesWhite) {
  Bitmap b(1, 1, MakeColor(10, 20, 30));
  RunProtocol quiet;
  EqualizePicture(b, quiet);
  EXPECT_EQ(b.Pixel(0, 0), kWhite);
}

TEST(EqualizePicture, Black3x3) {
  Bitmap b(3, 3, kBlack);
  RunProtocol quiet;
  EqualizePicture(b, quiet);
  EXPECT_EQ(RowValues(b, 0), (std::vector<int>{127, 95, 151}));
  EXPECT_EQ(RowValues(b, 1), (std::vector<int>{95, 47, 113}));
  EXPECT_EQ(RowValues(b, 2), (std::vector<int>{151, 113, 184}));
}

TEST(EqualizePicture, WhiteDotIn5x5Black) {
  Bitmap b(5, 5, kBlack);
  b.SetPixel(2, 2, kWhite);
  RunProtocol quiet;
  EqualizePicture(b, quiet);
  EXPECT_EQ(b.Pixel(2, 2), Grey(48));
  EXPECT_EQ(b.Pixel(2, 1), Grey(97));
  EXPECT_EQ(b.Pixel(1, 2), Grey(97));
  EXPECT_EQ(RowValues(b, 0), (std::vector<int>{127, 95, 87, 85, 148}));
}

TEST(EqualizePicture, ChannelsAreAveragedSeparately) {
  Bitmap b(3, 1, kBlack);
  b.SetPixel(0, 0, MakeColor(255, 0, 3));
  b.SetPixel(2, 0, MakeColor(1, 254, 0));
  RunProtocol quiet;
  EqualizePicture(b, quiet);
  // (1, 1): below white, above white, right (1, 254, 0), left: new (0, 0).
  Color left = MakeColor((255 + 255 + 0 + 255) / 4, (255 + 255 + 0 + 255) / 4, (255 + 255 + 0 + 255) / 4);
  EXPECT_EQ(b.Pixel(0, 0), left);
  EXPECT_EQ(b.Pixel(1, 0), MakeColor((510 + 1 + RedOf(left)) / 4, (510 + 254 + GreenOf(left)) / 4,
                                     (510 + 0 + BlueOf(left)) / 4));
}

TEST(EqualizePicture, BitsAboveBlueAreIgnoredAndWrittenAsZero) {
  Bitmap b(4, 4, 0xFF000000u | MakeColor(8, 8, 8));
  Bitmap plain(4, 4, MakeColor(8, 8, 8));
  RunProtocol quiet;
  EqualizePicture(b, quiet);
  EqualizePicture(plain, quiet);
  EXPECT_EQ(b, plain);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) EXPECT_EQ(b.Pixel(x, y) >> 24, 0u);
  }
}

TEST(EqualizePicture, EmptyPicturesStayUnchangedAndStillSignal) {
  for (auto [w, h] : {std::pair{0, 0}, std::pair{0, 7}}) {
    Bitmap b(w, h);
    RecordingProtocol rec;
    EqualizePicture(b, rec);
    EXPECT_EQ(rec.calls, (std::vector<std::string>{"EqualizationBegin", "EqualizationEnd"}));
    EXPECT_EQ(b.Width(), w);
  }
}

TEST(EqualizePicture, ProgressPerColumnAndNoCancelPoll) {
  Bitmap b(3, 2, kBlack);
  RecordingProtocol rec;
  EqualizePicture(b, rec);
  EXPECT_EQ(rec.calls, (std::vector<std::string>{"EqualizationBegin", "InnerBar 0", "ProcessMessages",
                                                 "InnerBar 33", "ProcessMessages", "InnerBar 66",
                                                 "ProcessMessages", "EqualizationEnd"}));
}

TEST(EqualizePicture, ProgressStaysBelow100OnWidePictures) {
  Bitmap b(1000, 1, kBlack);
  RecordingProtocol rec;
  EqualizePicture(b, rec);
  std::vector<std::string> bars;
  for (const auto& c : rec.calls) {
    if (c.rfind("InnerBar", 0) == 0) bars.push_back(c);
  }
  ASSERT_EQ(bars.size(), 1000u);
  EXPECT_EQ(bars.front(), "InnerBar 0");
  EXPECT_EQ(bars[10], "InnerBar 1");
  EXPECT_EQ(bars[999], "InnerBar 99");
}

TEST(EqualizePicture, SeededRandomPicturesMatchThePlainPass) {
  std::mt19937 rng(99);
  std::vector<std::pair<int, int>> sizes = {{1, 1}, {1, 9}, {9, 1}, {2, 2}, {127, 3}, {128, 5},
                                            {129, 4}, {130, 7}, {256, 2}, {300, 17}, {31, 64}};
  for (int i = 0; i < 10; ++i) sizes.push_back({1 + static_cast<int>(rng() % 400), 1 + static_cast<int>(rng() % 40)});
  for (auto [w, h] : sizes) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) b.SetPixel(x, y, rng() & 0xFFFFFF);
    }
    Bitmap expected = b;
    ReferenceEqualize(expected);
    RunProtocol quiet;
    EqualizePicture(b, quiet);
    ASSERT_EQ(b, expected) << w << " x " << h;
  }
}

TEST(EqualizePicture, ExtremeChannelMixesMatchThePlainPass) {
  std::mt19937 rng(3);
  const Color extremes[] = {kBlack, kWhite, MakeColor(255, 0, 255), MakeColor(0, 255, 0),
                            MakeColor(255, 255, 0), MakeColor(0, 0, 255)};
  for (auto [w, h] : {std::pair{5, 5}, std::pair{64, 9}, std::pair{257, 6}}) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) b.SetPixel(x, y, extremes[rng() % 6]);
    }
    Bitmap expected = b;
    ReferenceEqualize(expected);
    RunProtocol quiet;
    EqualizePicture(b, quiet);
    ASSERT_EQ(b, expected) << w << " x " << h;
  }
}

}  // namespace
}  // namespace vesk
