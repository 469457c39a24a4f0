// The flag's sine table, its wrap rule, the frames' start phases and the
// Options dialog's flag preview.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <random>

#include "core/effects/flag_preview.h"
#include "core/effects/sine_table.h"
#include "tests/core/support/effects_reference.h"

namespace vesk {
namespace {

using testing_support::LoopIndex;

TEST(SineTable, EntriesRoundHalfToEvenLookupsWrapAsTheLoopsDoAndPhasesRunOnePeriod) {
  SineTable table;
  for (int radius = 0; radius <= 15; ++radius) {
    FillSineTable(table, radius);
    for (int i = 0; i < kSineTableSize; ++i) {
      ASSERT_EQ(table[i], std::nearbyint(std::sin(i * 0.01) * radius)) << radius << " " << i;
    }
  }
  const std::pair<double, double> halves[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-2.5, -2},
                                              {-2.6, -3}, {2.4999999, 2}, {2.5000001, 3}};
  for (auto [x, r] : halves) EXPECT_EQ(RoundHalfEven(x), r) << x;
  for (int i = 0; i < kSineTableSize; ++i) table[i] = i;  // a lookup tells its entry
  const std::pair<int, int> wraps[] = {{628, 628}, {629, 1},   {1300, 44}, {-5, 623},
                                       {1256, 628}, {-628, 0}, {-629, 627}};
  for (auto [p, i] : wraps) EXPECT_EQ(SineLookup(table, p), i) << "phase " << p;
  std::mt19937 rng(20240611);
  for (int k = 0; k < 400; ++k) {
    const int p = k % 2 ? int(rng()) : int(rng() % 6001) - 3000;
    ASSERT_EQ(SineLookup(table, p), LoopIndex(p)) << "phase " << p;
  }
  EXPECT_EQ(SineLookup(table, INT_MIN), LoopIndex(INT_MIN));
  const int twelve[] = {0, 52, 105, 157, 209, 262, 314, 367, 419, 471, 524, 576, 628};
  for (int f = 0; f <= 12; ++f) EXPECT_EQ(FlagStartPhase(f, 12), twelve[f]) << "frame " << f;
  EXPECT_EQ(FlagStartPhase(3, 0), 0);
  // The preview cycles through 13 pictures for 12 frames, one for none.
  int frame = 0;
  for (int f = 0; f <= 12; ++f, frame = NextPreviewFrame(frame, 12)) {
    EXPECT_EQ(FlagPreviewPhase(frame, 12), twelve[f]);
  }
  EXPECT_EQ(frame, 0);
  EXPECT_EQ(NextPreviewFrame(0, 0) + FlagPreviewPhase(0, 0), 0);
}

// The preview as the rule says, the sine taken afresh for every point.
Bitmap ReferencePreview(int radius, int hq, int vq, long long phase) {
  auto t = [radius](long long p) {
    return int(std::nearbyint(std::sin(LoopIndex(p) * 0.01) * radius));
  };
  Bitmap out(kFlagPreviewWidth, kFlagPreviewHeight, kWhite);
  int j = 0;
  do {
    out.SetPixel(radius + j + t(phase + j * 1LL * hq), radius + t(phase + j * 1LL * hq),
                 kFlagPreviewLine);
  } while (++j < kFlagPreviewWidth - 2 * radius);
  for (int i = 0; i <= kFlagPreviewHeight - 2 * radius; ++i) {
    out.SetPixel(radius + t(phase + i * 1LL * vq), radius + i + t(phase), kFlagPreviewLine);
  }
  return out;
}

TEST(FlagPreview, PaintsTheTopAndLeftEdgesOfTheFlag) {
  Bitmap picture(kFlagPreviewWidth, kFlagPreviewHeight, MakeColor(1, 2, 3));
  PaintFlagPreview(picture, 10, 3, 3, 0);
  EXPECT_EQ(picture.Pixel(23, 13), kFlagPreviewLine);  // j = 10: T(30) = Round(2.955) = 3
  EXPECT_EQ(picture.Pixel(13, 20), kFlagPreviewLine);  // i = 10
  EXPECT_EQ(picture, ReferencePreview(10, 3, 3, 0));
  std::mt19937 rng(20240611);
  for (int round = 0; round < 300; ++round) {
    const int r = 1 + int(rng() % 15), hq = int(rng() % 11), vq = int(rng() % 11);
    const int phase = int(rng() % 629);
    PaintFlagPreview(picture, r, hq, vq, phase);
    ASSERT_EQ(picture, ReferencePreview(r, hq, vq, phase)) << r << " " << hq << " " << vq;
  }
  PaintFlagPreview(picture, 15, INT_MAX, INT_MIN, INT_MAX);  // phases carried in 64 bits
  EXPECT_EQ(picture, ReferencePreview(15, INT_MAX, INT_MIN, INT_MAX));
  Bitmap small(8, 8);  // lower than two radii: one top point, no left edge
  PaintFlagPreview(small, 5, 1, 1, 0);
  Bitmap dot(8, 8, kWhite);
  dot.SetPixel(5, 5, kFlagPreviewLine);
  EXPECT_EQ(small, dot);
}

}  // namespace
}  // namespace vesk
