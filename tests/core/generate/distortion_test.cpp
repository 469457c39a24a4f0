#include "core/generate/distortion.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/generate/equalize.h"
#include "core/generate/piece_frame.h"
#include "tests/core/generate/piece_test_support.h"

namespace vesk {
namespace {

using testing::GridTriangles;
using testing::RandomPicture;
using testing::RecordingProtocol;
using testing::RefPainter;
using testing::RunSetup;
using testing::ScatteredTriangles;
using testing::TriangleMessages;

// What the plain reference paints for the distortion's frames first_t .. last_t.
std::vector<Bitmap> ReferenceFrames(const Bitmap& first,
                                    const std::vector<TrianglePositions>& triangles, int n,
                                    int precision, bool equalize, int first_t, int last_t) {
  return testing::ReferenceFrames(PieceKind::kDistortion, first, first, triangles, n, precision,
                                  equalize, first_t, last_t);
}

class DistortionScene : public ::testing::Test {
 protected:
  void SetUp() override {
    std::mt19937 rng(99);
    first_ = RandomPicture(rng, 60, 50);
    triangles_ = GridTriangles(rng, 50, 44, 4, 4, 7);
  }
  Bitmap first_;
  std::vector<TrianglePositions> triangles_;
};

TEST_F(DistortionScene, PrecisionOneWritesTheFirstImageThenFramesOneToN) {
  RecordingProtocol run;
  Bitmap vesk;
  ASSERT_TRUE(RunDistortion(first_, triangles_, RunSetup(12, 1, false), vesk, run));
  ASSERT_EQ(run.written.size(), 13u);
  EXPECT_EQ(run.written[0], first_);
  const std::vector<Bitmap> computed = ReferenceFrames(first_, triangles_, 12, 1, false, 1, 12);
  for (int t = 1; t <= 12; ++t) EXPECT_EQ(run.written[t], computed[t - 1]) << "frame " << t;
  EXPECT_EQ(run.Only("Counter").front(), "Counter 1/12");
  EXPECT_EQ(run.Only("Counter").back(), "Counter 12/12");
  EXPECT_EQ(vesk, computed.back());  // no closing copy of the second image
}

TEST_F(DistortionScene, OtherPrecisionsComputeFramesZeroToN) {
  RecordingProtocol run;
  Bitmap vesk;
  ASSERT_TRUE(RunDistortion(first_, triangles_, RunSetup(12, 5, true), vesk, run));
  ASSERT_EQ(run.written.size(), 13u);
  const std::vector<Bitmap> computed = ReferenceFrames(first_, triangles_, 12, 5, true, 0, 12);
  for (int t = 0; t <= 12; ++t) EXPECT_EQ(run.written[t], computed[t]) << "frame " << t;
  EXPECT_EQ(run.Only("EqualizationBegin").size(), 13u);
}

TEST_F(DistortionScene, OneFrameAtPrecisionOneGivesTwoFrames) {
  RecordingProtocol run;
  Bitmap vesk;
  ASSERT_TRUE(RunDistortion(first_, triangles_, RunSetup(1, 1, false), vesk, run));
  ASSERT_EQ(run.written.size(), 2u);
  EXPECT_EQ(run.written[0], first_);
  EXPECT_EQ(run.Only("Counter"), std::vector<std::string>{"Counter 1/1"});
}

TEST_F(DistortionScene, ProtocolCallsComeInTheOrderOfTheRun) {
  std::vector<TrianglePositions> one(triangles_.begin(), triangles_.begin() + 1);
  RecordingProtocol run;
  Bitmap vesk;
  ASSERT_TRUE(RunDistortion(first_, one, RunSetup(1, 2, false), vesk, run));
  auto messages = [&](int t) { return TriangleMessages(one[0], t, 1, 2); };
  const std::vector<std::string> expected = {
      "Show",        "Begin",     "Counter 0/1", "Inner 100", messages(0), "Show", "Write",
      "Counter 1/1", "Inner 100", messages(1),   "Show",      "Write",     "Show", "End"};
  EXPECT_EQ(run.events, expected);
}

TEST_F(DistortionScene, PrecisionOneOpensWithTheFirstImageAndShowsTheLastFrameAgain) {
  std::vector<TrianglePositions> one(triangles_.begin(), triangles_.begin() + 1);
  RecordingProtocol run;
  Bitmap vesk;
  ASSERT_TRUE(RunDistortion(first_, one, RunSetup(2, 1, false), vesk, run));
  auto messages = [&](int t) { return TriangleMessages(one[0], t, 2, 1); };
  const std::vector<std::string> expected = {
      "Show",        "Begin",     "Write",     "Counter 1/2", "Inner 100", messages(1), "Show",
      "Write",       "Counter 2/2", "Inner 100", messages(2), "Show",      "Write",     "Show",
      "End"};
  EXPECT_EQ(run.events, expected);
  ASSERT_EQ(run.shown.size(), 4u);
  EXPECT_EQ(run.shown[0], first_);
  EXPECT_EQ(run.shown[3], run.shown[2]);
  EXPECT_EQ(vesk, run.written.back());
}

TEST_F(DistortionScene, UnmovedMeshRepaintsFlatPiecesInPlace) {
  std::vector<TrianglePositions> still = triangles_;
  for (TrianglePositions& t : still) t.second = t.first;
  RecordingProtocol run;
  Bitmap vesk;
  ASSERT_TRUE(RunDistortion(first_, still, RunSetup(3, 4, false), vesk, run));
  ASSERT_EQ(run.written.size(), 4u);
  // Every frame is the same flat-piece picture, different from the image.
  EXPECT_NE(run.written[0], first_);
  for (const Bitmap& frame : run.written) EXPECT_EQ(frame, run.written[0]);
}

TEST(DistortionEngine, PiecesSampledOutsideTheFirstImageArePaintedBlack) {
  const Bitmap white(30, 30, kWhite);
  // First-image positions entirely left of the image, painted at the same
  // place inside it at t = N.
  const std::vector<TrianglePositions> one = {
      TrianglePositions{Corners{Point{-50, 0}, Point{-20, 0}, Point{-50, 25}},
                        Corners{Point{0, 0}, Point{25, 0}, Point{0, 25}}}};
  Bitmap vesk = white;
  RecordingProtocol run;
  PaintDistortionFrame(white, one, 1, 1, 3, vesk, run);
  EXPECT_EQ(vesk.Pixel(2, 2), kBlack);
  EXPECT_EQ(vesk.Pixel(10, 5), kBlack);
  EXPECT_EQ(vesk.Pixel(28, 28), kWhite);
}

TEST_F(DistortionScene, CancelLeavesThePartialFrameUnwritten) {
  RecordingProtocol run;
  run.CancelDuring(3, 5);
  Bitmap vesk;
  ASSERT_TRUE(RunDistortion(first_, triangles_, RunSetup(12, 1, false), vesk, run));
  ASSERT_EQ(run.written.size(), 3u);  // the first image, frames 1 and 2
  Bitmap partial = ReferenceFrames(first_, triangles_, 12, 1, false, 1, 2).back();
  RefPainter ref{first_, first_, 3, 12, true, partial};
  ref.Frame(triangles_, 1, 5);
  EXPECT_EQ(vesk, partial);
  EXPECT_EQ(run.shown.back(), partial);
  EXPECT_EQ(run.events.back(), "End");
}

TEST_F(DistortionScene, CancelStillEqualizesThePartialFrame) {
  RecordingProtocol run;
  run.CancelDuring(0, 4);
  Bitmap vesk;
  ASSERT_TRUE(RunDistortion(first_, triangles_, RunSetup(12, 5, true), vesk, run));
  EXPECT_TRUE(run.written.empty());
  Bitmap partial = first_;
  RefPainter ref{first_, first_, 0, 12, true, partial};
  ref.Frame(triangles_, 5, 4);
  RunProtocol quiet;
  EqualizePicture(partial, quiet);
  EXPECT_EQ(vesk, partial);
  EXPECT_EQ(run.Only("EqualizationBegin").size(), 1u);
  EXPECT_EQ(run.Only("Inner").size(), 4u);
  EXPECT_EQ(run.Only("Counter"), std::vector<std::string>{"Counter 0/12"});
  EXPECT_EQ(run.events.back(), "End");
}

TEST_F(DistortionScene, FailedWriteEndsTheRun) {
  RecordingProtocol run;
  run.FailWrite(1, "Cannot create file imag1.bmp");
  Bitmap vesk;
  Status status = RunDistortion(first_, triangles_, RunSetup(12, 1, false), vesk, run);
  ASSERT_FALSE(status);
  EXPECT_EQ(status.Message(), "Cannot create file imag1.bmp");
  EXPECT_TRUE(run.Only("Counter").empty());
  EXPECT_EQ(run.events.back(), "End");
}

TEST_F(DistortionScene, ZeroPrecisionIsRefused) {
  RecordingProtocol run;
  Bitmap vesk;
  EXPECT_FALSE(RunDistortion(first_, triangles_, RunSetup(12, 0, false), vesk, run));
  EXPECT_FALSE(RunDistortion(first_, triangles_, RunSetup(0, 3, false), vesk, run));
  EXPECT_TRUE(run.events.empty());
}

// First-image corners beyond a billion pixels to the right: at t = N the
// pieces lie at the second positions inside the picture and every sample is
// far outside the first image, so the whole triangle is black.
TEST(DistortionEngine, FarAwayFirstCornersPaintBlackPieces) {
  std::mt19937 rng(17);
  const Bitmap first = RandomPicture(rng, 80, 60);
  const int far = 1500000000;
  const std::vector<TrianglePositions> one = {
      TrianglePositions{Corners{Point{far, -far}, Point{far, far}, Point{1000000000, 0}},
                        Corners{Point{4, 4}, Point{70, 10}, Point{20, 55}}}};
  Bitmap expected = first;
  RefPainter ref{first, first, 3, 3, true, expected};
  ref.Frame(one, 2);
  EXPECT_EQ(expected.Pixel(30, 20), kBlack);
  EXPECT_EQ(expected.Pixel(5, 5), kBlack);
  EXPECT_EQ(expected.Pixel(75, 55), first.Pixel(75, 55));
  for (int threads : {1, 2}) {
    Bitmap vesk = first;
    RecordingProtocol run;
    PaintDistortionFrame(first, one, 3, 3, 2, vesk, run, threads);
    EXPECT_EQ(vesk, expected) << "threads " << threads;
  }
}

TEST(DistortionEngine, RandomScenesMatchThePlainReference) {
  std::mt19937 rng(5551212);
  for (int round = 0; round < 20; ++round) {
    const int width = 40 + static_cast<int>(rng() % 200);
    const int height = 30 + static_cast<int>(rng() % 200);
    const Bitmap first = RandomPicture(rng, width, height);
    const std::vector<TrianglePositions> triangles =
        round % 2 == 0 ? GridTriangles(rng, width, height, 3 + round % 4, 3 + round % 5, 30, 12)
                       : ScatteredTriangles(rng, width, height, 5 + round % 8);
    const int n = 1 + static_cast<int>(rng() % 15);
    const int t = static_cast<int>(rng() % (n + 1));
    const int precisions[] = {1, 3, 4, 40};
    const int precision = precisions[round % 4];
    Bitmap expected = first;
    RefPainter ref{first, first, t, n, true, expected};
    ref.Frame(triangles, precision);
    for (int threads : {1, 2, 4}) {
      Bitmap vesk = first;
      RecordingProtocol run;
      EXPECT_EQ(PaintDistortionFrame(first, triangles, t, n, precision, vesk, run, threads),
                static_cast<int>(triangles.size()));
      ASSERT_EQ(vesk, expected) << "round " << round << " threads " << threads;
      EXPECT_EQ(run.message_calls, static_cast<long long>(triangles.size()) + ref.splits);
    }
  }
}

}  // namespace
}  // namespace vesk
