#include "core/effects/flag_preview.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace vesk {
namespace {

// Plain reference: the sine taken afresh for every point, the wrap done by
// repeated subtraction and addition as the rule states.
int ReferenceT(long long p, int radius) {
  while (p > 628) p -= 628;
  while (p < 0) p += 628;
  return static_cast<int>(std::nearbyint(std::sin(static_cast<double>(p) * 0.01) * radius));
}

Bitmap ReferencePreview(int width, int height, int radius, int hq, int vq, int phase) {
  Bitmap out(width, height, kWhite);
  int j = 0;
  do {
    int t = ReferenceT(phase + static_cast<long long>(j) * hq, radius);
    out.SetPixel(radius + j + t, radius + t, MakeColor(255, 0, 0));
    ++j;
  } while (j < width - 2 * radius);
  for (int i = 0; i <= height - 2 * radius; ++i) {
    out.SetPixel(radius + ReferenceT(phase + static_cast<long long>(i) * vq, radius),
                 radius + i + ReferenceT(phase, radius), MakeColor(255, 0, 0));
  }
  return out;
}

int RedCount(const Bitmap& b) {
  int n = 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) n += b.Pixel(x, y) == kFlagPreviewLine;
  return n;
}

TEST(FlagPreview, DefaultValuesAtPhaseZeroGoldenPoints) {
  Bitmap picture(kFlagPreviewWidth, kFlagPreviewHeight, MakeColor(1, 2, 3));
  PaintFlagPreview(picture, 10, 3, 3, 0);
  // Top edge: j = 0 at (10, 10); p = 30 (j = 10) has T = Round(2.955) = 3.
  EXPECT_EQ(picture.Pixel(10, 10), kFlagPreviewLine);
  EXPECT_EQ(picture.Pixel(11, 10), kFlagPreviewLine);
  EXPECT_EQ(picture.Pixel(23, 13), kFlagPreviewLine);
  // Left edge: i = 10 sits at (10 + 3, 20).
  EXPECT_EQ(picture.Pixel(13, 20), kFlagPreviewLine);
  // Everything else white; the old contents are gone.
  EXPECT_EQ(picture.Pixel(0, 0), kWhite);
  EXPECT_EQ(picture.Pixel(104, 88), kWhite);
}

TEST(FlagPreview, TopEdgeRunsWidthMinusTwoRadiusPoints) {
  // With both quotients 0 the edges are straight: 85 points along the top
  // (j < 105 - 20), 70 down the left (i = 0 .. 89 - 20), one shared corner.
  Bitmap picture(kFlagPreviewWidth, kFlagPreviewHeight);
  PaintFlagPreview(picture, 10, 0, 0, 0);
  EXPECT_EQ(RedCount(picture), 85 + 70 - 1);
  EXPECT_EQ(picture.Pixel(94, 10), kFlagPreviewLine);
  EXPECT_EQ(picture.Pixel(95, 10), kWhite);
  EXPECT_EQ(picture.Pixel(10, 79), kFlagPreviewLine);
  EXPECT_EQ(picture.Pixel(10, 80), kWhite);
}

TEST(FlagPreview, TopEdgeHasAtLeastOnePointAndLeftEdgeMayHaveNone) {
  // A picture narrower and lower than two radii: one top point, no left one.
  Bitmap picture(8, 8);
  PaintFlagPreview(picture, 5, 1, 1, 0);
  // The single top point (5, 5) lies inside; no left edge (8 - 10 < 0).
  EXPECT_EQ(RedCount(picture), 1);
  EXPECT_EQ(picture.Pixel(5, 5), kFlagPreviewLine);
}

TEST(FlagPreview, MatchesThePlainRuleForRandomValues) {
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> radius(1, 15), quotient(0, 10), phase(0, 628);
  for (int round = 0; round < 300; ++round) {
    int r = radius(random), hq = quotient(random), vq = quotient(random), p = phase(random);
    Bitmap picture(kFlagPreviewWidth, kFlagPreviewHeight);
    PaintFlagPreview(picture, r, hq, vq, p);
    ASSERT_EQ(picture, ReferencePreview(kFlagPreviewWidth, kFlagPreviewHeight, r, hq, vq, p))
        << "radius " << r << " hq " << hq << " vq " << vq << " phase " << p;
  }
}

TEST(FlagPreview, LargePhasesWrapAsTheRuleSays) {
  Bitmap picture(kFlagPreviewWidth, kFlagPreviewHeight);
  PaintFlagPreview(picture, 15, 100003, -99991, 1000000);
  EXPECT_EQ(picture, ReferencePreview(kFlagPreviewWidth, kFlagPreviewHeight, 15, 100003, -99991,
                                      1000000));
}

TEST(FlagPreview, ExtremeQuotientsDoNotOverflow) {
  // j x hq passes the 32-bit range; the phase is carried in 64 bits.
  Bitmap picture(kFlagPreviewWidth, kFlagPreviewHeight);
  PaintFlagPreview(picture, 15, 2147483647, -2147483647 - 1, 2147483647);
  // j = 1: phase 4294967294 wraps to 562, T = -9: pixel (15 + 1 - 9, 15 - 9).
  EXPECT_EQ(picture.Pixel(7, 6), kFlagPreviewLine);
  // i = 1: phase -1 wraps to 627, T = 0; T(phase) = T(595) = -5: (15, 11).
  EXPECT_EQ(picture.Pixel(15, 11), kFlagPreviewLine);
}

TEST(FlagPreview, TwelveFramesGiveThirteenPicturesFromPhaseZeroTo628) {
  int frame = 0;
  std::vector<int> phases;
  do {
    phases.push_back(FlagPreviewPhase(frame, 12));
    frame = NextPreviewFrame(frame, 12);
  } while (frame != 0);
  ASSERT_EQ(phases.size(), 13u);
  EXPECT_EQ(phases.front(), 0);
  EXPECT_EQ(phases[1], 52);
  EXPECT_EQ(phases.back(), 628);
}

TEST(FlagPreview, FrameCountZeroStaysOnOnePicture) {
  EXPECT_EQ(FlagPreviewPhase(0, 0), 0);
  EXPECT_EQ(NextPreviewFrame(0, 0), 0);
}

}  // namespace
}  // namespace vesk
