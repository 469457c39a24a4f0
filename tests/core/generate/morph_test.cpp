#include "core/generate/morph.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/generate/equalize.h"
#include "core/generate/piece_frame.h"
#include "core/image/raster.h"
#include "tests/core/generate/piece_test_support.h"

namespace vesk {
namespace {

using testing::GridTriangles;
using testing::RandomPicture;
using testing::RecordingProtocol;
using testing::RefBlend;
using testing::RefPainter;
using testing::RunSetup;
using testing::ScatteredTriangles;
using testing::TriangleMessages;

// What the plain reference paints for the morph's frames first_t .. last_t.
std::vector<Bitmap> ReferenceFrames(const Bitmap& first, const Bitmap& second,
                                    const std::vector<TrianglePositions>& triangles, int n,
                                    int precision, bool equalize, int first_t, int last_t) {
  return testing::ReferenceFrames(PieceKind::kMorph, first, second, triangles, n, precision,
                                  equalize, first_t, last_t);
}

class MorphScene : public ::testing::Test {
 protected:
  void SetUp() override {
    std::mt19937 rng(4242);
    first_ = RandomPicture(rng, 64, 48);
    second_ = RandomPicture(rng, 64, 48);
    triangles_ = GridTriangles(rng, 48, 40, 4, 3, 6);  // covers part of the picture
  }
  Bitmap first_;
  Bitmap second_;
  std::vector<TrianglePositions> triangles_;
};

TEST(BlendColor, MixesEachChannelRoundingTowardTheFirstColour) {
  // Red 200 and 100 at t = 1 of N = 3: 200 + (-100) div 3 = 167.
  EXPECT_EQ(BlendColor(MakeColor(200, 0, 0), MakeColor(100, 0, 0), 1, 3), MakeColor(167, 0, 0));
  EXPECT_EQ(BlendColor(MakeColor(200, 10, 30), MakeColor(100, 20, 0), 1, 3),
            MakeColor(167, 13, 20));
  EXPECT_EQ(BlendColor(MakeColor(1, 2, 3), MakeColor(250, 251, 252), 0, 7), MakeColor(1, 2, 3));
  EXPECT_EQ(BlendColor(MakeColor(1, 2, 3), MakeColor(250, 251, 252), 7, 7),
            MakeColor(250, 251, 252));
}

TEST(BlendColor, OutsideSampleCountsAsWhiteAndHighBitsAreIgnored) {
  EXPECT_EQ(BlendColor(MakeColor(0, 0, 0), kInvalidColor, 1, 2), MakeColor(127, 127, 127));
  EXPECT_EQ(BlendColor(kInvalidColor, MakeColor(0, 0, 0), 1, 2), MakeColor(128, 128, 128));
  EXPECT_EQ(BlendColor(0x7F000000u | MakeColor(10, 20, 30), MakeColor(10, 20, 30), 1, 2),
            MakeColor(10, 20, 30));
}

TEST(BlendColor, FrameTableAgreesWithThePlainFormula) {
  std::mt19937 rng(9);
  for (int round = 0; round < 200; ++round) {
    const int n = 1 + static_cast<int>(rng() % 100);
    const int t = static_cast<int>(rng() % (n + 1));
    const BlendTable table = MakeBlendTable(t, n);
    for (int i = 0; i < 200; ++i) {
      const Color c1 = i == 0 ? kInvalidColor : static_cast<Color>(rng());
      const Color c2 = i == 1 ? kInvalidColor : static_cast<Color>(rng());
      ASSERT_EQ(BlendWithTable(table, c1, c2), BlendColor(c1, c2, t, n));
      ASSERT_EQ(BlendColor(c1, c2, t, n), RefBlend(c1, c2, t, n));
    }
  }
}

TEST_F(MorphScene, PrecisionOneWritesTheFirstImageElevenFramesAndTheSecondImage) {
  RecordingProtocol run;
  Bitmap vesk;
  ASSERT_TRUE(RunMorph(first_, second_, triangles_, RunSetup(12, 1, false), vesk, run));
  ASSERT_EQ(run.written.size(), 13u);
  EXPECT_EQ(run.written.front(), first_);
  EXPECT_EQ(run.written.back(), second_);
  const std::vector<Bitmap> computed =
      ReferenceFrames(first_, second_, triangles_, 12, 1, false, 1, 11);
  for (int t = 1; t <= 11; ++t) EXPECT_EQ(run.written[t], computed[t - 1]) << "frame " << t;
  EXPECT_EQ(vesk, second_);
  std::vector<std::string> counters;
  for (int t = 1; t <= 11; ++t) counters.push_back("Counter " + std::to_string(t) + "/12");
  EXPECT_EQ(run.Only("Counter"), counters);
}

TEST_F(MorphScene, OtherPrecisionsComputeFramesZeroToN) {
  RecordingProtocol run;
  Bitmap vesk;
  ASSERT_TRUE(RunMorph(first_, second_, triangles_, RunSetup(12, 2, false), vesk, run));
  ASSERT_EQ(run.written.size(), 13u);
  const std::vector<Bitmap> computed =
      ReferenceFrames(first_, second_, triangles_, 12, 2, false, 0, 12);
  for (int t = 0; t <= 12; ++t) EXPECT_EQ(run.written[t], computed[t]) << "frame " << t;
  EXPECT_EQ(run.Only("Counter").front(), "Counter 0/12");
  EXPECT_EQ(run.Only("Counter").back(), "Counter 12/12");
  // Frame 0 is made of flat pieces inside the mesh and is the first image
  // outside it (the mesh ends at x = 47, y = 39).
  EXPECT_NE(run.written[0], first_);
  for (int y = 0; y < first_.Height(); ++y) {
    for (int x = 49; x < first_.Width(); ++x) {
      ASSERT_EQ(run.written[0].Pixel(x, y), first_.Pixel(x, y));
    }
  }
  EXPECT_EQ(vesk, run.written.back());
}

TEST_F(MorphScene, OneFrameAtPrecisionOneStillGivesThreeFrames) {
  RecordingProtocol run;
  Bitmap vesk;
  ASSERT_TRUE(RunMorph(first_, second_, triangles_, RunSetup(1, 1, false), vesk, run));
  ASSERT_EQ(run.written.size(), 3u);
  EXPECT_EQ(run.written[0], first_);
  EXPECT_EQ(run.written[1], ReferenceFrames(first_, second_, triangles_, 1, 1, false, 1, 1)[0]);
  EXPECT_EQ(run.written[2], second_);
  EXPECT_EQ(run.Only("Counter"), std::vector<std::string>{"Counter 1/1"});
}

TEST_F(MorphScene, OneFrameAtOtherPrecisionsGivesTwoFrames) {
  RecordingProtocol run;
  Bitmap vesk;
  ASSERT_TRUE(RunMorph(first_, second_, triangles_, RunSetup(1, 3, false), vesk, run));
  EXPECT_EQ(run.written.size(), 2u);
  EXPECT_EQ(run.Only("Counter"), (std::vector<std::string>{"Counter 0/1", "Counter 1/1"}));
}

TEST_F(MorphScene, ProtocolCallsComeInTheOrderOfTheRun) {
  std::vector<TrianglePositions> two(triangles_.begin(), triangles_.begin() + 2);
  RecordingProtocol run;
  Bitmap vesk;
  ASSERT_TRUE(RunMorph(first_, second_, two, RunSetup(2, 1, true), vesk, run));
  const std::vector<std::string> expected = {"Show",
                                             "Begin",
                                             "Write",
                                             "Counter 1/2",
                                             "Inner 50",
                                             TriangleMessages(two[0], 1, 2, 1),
                                             "Inner 100",
                                             TriangleMessages(two[1], 1, 2, 1),
                                             "EqualizationBegin",
                                             "EqualizationEnd",
                                             "Show",
                                             "Write",
                                             "Show",
                                             "Write",
                                             "End"};
  EXPECT_EQ(run.EventsOutsideEqualization(), expected);
}

TEST_F(MorphScene, OtherPrecisionsEndWithoutAClosingCopy) {
  // Precision 3: no opening write, frames 0 and 1, and the run ends right
  // after the last computed frame's write (no copy of the second image).
  std::vector<TrianglePositions> one(triangles_.begin(), triangles_.begin() + 1);
  RecordingProtocol run;
  Bitmap vesk;
  ASSERT_TRUE(RunMorph(first_, second_, one, RunSetup(1, 3, false), vesk, run));
  auto messages = [&](int t) { return TriangleMessages(one[0], t, 1, 3); };
  const std::vector<std::string> expected = {
      "Show",        "Begin",     "Counter 0/1", "Inner 100", messages(0), "Show", "Write",
      "Counter 1/1", "Inner 100", messages(1),   "Show",      "Write",     "End"};
  EXPECT_EQ(run.events, expected);
  EXPECT_EQ(vesk, run.written.back());
  EXPECT_NE(vesk, second_);
}

TEST_F(MorphScene, EqualizationRunsOnEveryComputedFrame) {
  RecordingProtocol run;
  Bitmap vesk;
  ASSERT_TRUE(RunMorph(first_, second_, triangles_, RunSetup(4, 3, true), vesk, run));
  EXPECT_EQ(run.Only("EqualizationBegin").size(), 5u);
  const std::vector<Bitmap> computed =
      ReferenceFrames(first_, second_, triangles_, 4, 3, true, 0, 4);
  ASSERT_EQ(run.written.size(), 5u);
  for (int t = 0; t <= 4; ++t) EXPECT_EQ(run.written[t], computed[t]) << "frame " << t;
}

TEST_F(MorphScene, VeskBitmapIsNeverClearedBetweenFrames) {
  // One triangle that moves right by 20 pixels: in frame 2 the spot it left
  // still shows frame 1's pieces, not the first image.
  const TrianglePositions moving{Corners{Point{2, 2}, Point{20, 2}, Point{2, 20}},
                                 Corners{Point{22, 2}, Point{40, 2}, Point{22, 20}}};
  const std::vector<TrianglePositions> one = {moving};
  RecordingProtocol run;
  Bitmap vesk;
  // Precision 200 keeps the triangle (area 162) one flat piece, sampled at
  // (11, 11) on the first image.
  ASSERT_TRUE(RunMorph(first_, second_, one, RunSetup(2, 200, false), vesk, run));
  ASSERT_EQ(run.written.size(), 3u);
  const Bitmap& frame0 = run.written[0];
  const Bitmap& frame2 = run.written[2];
  EXPECT_EQ(frame0.Pixel(3, 3), first_.Pixel(11, 11));
  EXPECT_NE(first_.Pixel(3, 3), first_.Pixel(11, 11));
  EXPECT_EQ(frame2.Pixel(3, 3), run.written[1].Pixel(3, 3));
  EXPECT_EQ(frame2.Pixel(3, 3), frame0.Pixel(3, 3));
}

TEST(MorphEngine, SamplesOutsideTheSecondImageCountAsWhite) {
  // A black first image and a black 8 x 8 second image; the triangle's
  // second-image positions reach far beyond it. At t = 1 of 2 the pieces
  // sampled outside the second image are half way to white.
  const Bitmap first(40, 40, kBlack);
  const Bitmap small_second(8, 8, kBlack);
  const std::vector<TrianglePositions> one = {
      TrianglePositions{Corners{Point{0, 0}, Point{30, 0}, Point{0, 30}},
                        Corners{Point{0, 0}, Point{30, 0}, Point{0, 30}}}};
  Bitmap vesk(40, 40, MakeColor(1, 2, 3));
  RecordingProtocol run;
  PaintMorphFrame(first, small_second, one, 1, 2, 7, vesk, run);
  EXPECT_EQ(vesk.Pixel(20, 2), MakeColor(127, 127, 127));
  EXPECT_EQ(vesk.Pixel(2, 20), MakeColor(127, 127, 127));
  EXPECT_EQ(vesk.Pixel(1, 1), kBlack);
  EXPECT_EQ(vesk.Pixel(35, 35), MakeColor(1, 2, 3));  // outside the triangle
  Bitmap expected(40, 40, MakeColor(1, 2, 3));
  RefPainter ref{first, small_second, 1, 2, false, expected};
  ref.Frame(one, 7);
  EXPECT_EQ(vesk, expected);
}

TEST_F(MorphScene, CancelBeforeATriangleSkipsTheRestAndWritesNothingMore) {
  // The user presses Kancel while triangle 3 of frame 2 is painted: the
  // frame is finished up to triangle 3, equalized, shown, not written.
  for (bool equalize : {false, true}) {
    RecordingProtocol run;
    run.CancelDuring(2, 3);
    Bitmap vesk;
    ASSERT_TRUE(RunMorph(first_, second_, triangles_, RunSetup(12, 1, equalize), vesk, run));
    // Written: the first image and frame 1.
    ASSERT_EQ(run.written.size(), 2u);
    const std::vector<Bitmap> full =
        ReferenceFrames(first_, second_, triangles_, 12, 1, equalize, 1, 1);
    EXPECT_EQ(run.written[1], full[0]);
    // Shown: the partial frame 2 (triangles 1..3 over frame 1), then the
    // closing copy of the second image, which is not written.
    Bitmap partial = full[0];
    RefPainter ref{first_, second_, 2, 12, false, partial};
    ref.Frame(triangles_, 1, 3);
    RunProtocol quiet;
    if (equalize) EqualizePicture(partial, quiet);
    ASSERT_GE(run.shown.size(), 2u);
    EXPECT_EQ(run.shown[run.shown.size() - 2], partial);
    EXPECT_EQ(run.shown.back(), second_);
    EXPECT_EQ(vesk, second_);
    EXPECT_EQ(run.Only("Inner").size(), triangles_.size() + 3);
    EXPECT_EQ(run.Only("EqualizationBegin").size(), equalize ? 2u : 0u);
    EXPECT_EQ(run.events.back(), "End");
  }
}

TEST_F(MorphScene, CancelAtOtherPrecisionsLeavesThePartialFrame) {
  RecordingProtocol run;
  run.CancelDuring(0, triangles_.size());  // during the last triangle of frame 0
  Bitmap vesk;
  ASSERT_TRUE(RunMorph(first_, second_, triangles_, RunSetup(12, 4, false), vesk, run));
  EXPECT_TRUE(run.written.empty());  // the frame in which Kancel came is not written
  EXPECT_EQ(vesk, ReferenceFrames(first_, second_, triangles_, 12, 4, false, 0, 0)[0]);
  EXPECT_EQ(run.Only("Counter").size(), 1u);
}

TEST(MorphEngine, CancelWithHelperThreadsPaintsOnlyTheTrianglesBeforeIt) {
  // A picture tall enough for helper threads: they must not paint a
  // triangle whose cancel poll has not passed.
  std::mt19937 rng(77);
  const Bitmap first = RandomPicture(rng, 220, 180);
  const Bitmap second = RandomPicture(rng, 220, 180);
  const std::vector<TrianglePositions> triangles = GridTriangles(rng, 220, 180, 6, 5, 10);
  const Bitmap frame0 = ReferenceFrames(first, second, triangles, 3, 2, false, 0, 0)[0];
  Bitmap partial = frame0;
  RefPainter ref{first, second, 1, 3, false, partial};
  ref.Frame(triangles, 2, 7);
  Bitmap whole = frame0;
  RefPainter{first, second, 1, 3, false, whole}.Frame(triangles, 2);
  ASSERT_NE(partial, whole);
  for (int threads : {2, 3}) {
    RecordingProtocol run;
    run.CancelDuring(1, 7);
    Bitmap vesk;
    ASSERT_TRUE(RunMorph(first, second, triangles, RunSetup(3, 2, false, threads), vesk, run));
    ASSERT_EQ(run.written.size(), 1u);
    EXPECT_EQ(run.written[0], frame0);
    EXPECT_EQ(vesk, partial) << "threads " << threads;
    EXPECT_EQ(run.Only("Inner").size(), triangles.size() + 7);
  }
}

TEST_F(MorphScene, FailedWriteEndsTheRunWithItsMessage) {
  RecordingProtocol run;
  run.FailWrite(3, "Cannot write file imag3.bmp");
  Bitmap vesk;
  Status status = RunMorph(first_, second_, triangles_, RunSetup(12, 1, false), vesk, run);
  ASSERT_FALSE(status);
  EXPECT_EQ(status.Message(), "Cannot write file imag3.bmp");
  EXPECT_EQ(run.written.size(), 2u);
  EXPECT_EQ(run.Only("Counter").back(), "Counter 2/12");
  EXPECT_EQ(run.events.back(), "End");
}

TEST_F(MorphScene, ZeroFramesOrPrecisionIsRefusedBeforeAnything) {
  for (auto [frames, precision] : {std::pair{0, 1}, std::pair{12, 0}, std::pair{70000, 1}}) {
    RecordingProtocol run;
    Bitmap vesk(3, 3, kBlack);
    Status status =
        RunMorph(first_, second_, triangles_, RunSetup(frames, precision, true), vesk, run);
    ASSERT_FALSE(status);
    EXPECT_TRUE(run.events.empty());
    EXPECT_EQ(vesk, Bitmap(3, 3, kBlack));
  }
  RecordingProtocol run;
  Bitmap vesk;
  EXPECT_EQ(RunMorph(first_, second_, triangles_, RunSetup(0, 1, true), vesk, run).Message(),
            "The number of frames must be from 1 to 65535, not 0");
  EXPECT_EQ(RunMorph(first_, second_, triangles_, RunSetup(3, 0, true), vesk, run).Message(),
            "The precision must be from 1 to 65535, not 0");
}

TEST_F(MorphScene, NoTrianglesGivesCopiesOfTheFirstImage) {
  RecordingProtocol run;
  Bitmap vesk;
  ASSERT_TRUE(RunMorph(first_, second_, {}, RunSetup(3, 2, false), vesk, run));
  ASSERT_EQ(run.written.size(), 4u);
  for (const Bitmap& frame : run.written) EXPECT_EQ(frame, first_);
  EXPECT_TRUE(run.Only("Inner").empty());
  RecordingProtocol smoothed;
  ASSERT_TRUE(RunMorph(first_, second_, {}, RunSetup(2, 2, true), vesk, smoothed));
  Bitmap expected = first_;
  RunProtocol quiet;
  EqualizePicture(expected, quiet);
  EXPECT_EQ(smoothed.written[0], expected);
  EqualizePicture(expected, quiet);
  EXPECT_EQ(smoothed.written[1], expected);
}

// The example triangle (0, 0), (8, 0), (0, 8) at Precision 16 (area 32,
// depth 2), not moving: four flat leaves in painting order, coloured from
// (2, 2), (6, 2), (2, 2) and (2, 6), and four message-processing points.
TEST(MorphEngine, ExampleTrianglePaintsItsFourLeaves) {
  Bitmap first(12, 12, kBlack);
  for (int y = 0; y < 12; ++y) {
    for (int x = 0; x < 12; ++x) first.SetPixel(x, y, MakeColor(10 * x, 10 * y, 7));
  }
  const Corners t{Point{0, 0}, Point{8, 0}, Point{0, 8}};
  const std::vector<TrianglePositions> one = {TrianglePositions{t, t}};
  for (int threads : {1, 2}) {
    Bitmap vesk(12, 12, kWhite);
    RecordingProtocol run;
    PaintMorphFrame(first, first, one, 0, 12, 16, vesk, run, threads);
    EXPECT_EQ(run.events, (std::vector<std::string>{"Inner 100", "Msg x4"}));

    Bitmap expected(12, 12, kWhite);
    FillLeafPiece(expected, Point{4, 0}, Point{4, 4}, Point{0, 0}, first.Pixel(2, 2));
    FillLeafPiece(expected, Point{4, 0}, Point{4, 4}, Point{8, 0}, first.Pixel(6, 2));
    FillLeafPiece(expected, Point{0, 4}, Point{4, 4}, Point{0, 0}, first.Pixel(2, 2));
    FillLeafPiece(expected, Point{0, 4}, Point{4, 4}, Point{0, 8}, first.Pixel(2, 6));
    EXPECT_EQ(vesk, expected);
    // Spot checks: inside the second leaf, inside the fourth, outside all.
    EXPECT_EQ(vesk.Pixel(6, 1), first.Pixel(6, 2));
    EXPECT_EQ(vesk.Pixel(1, 6), first.Pixel(2, 6));
    EXPECT_EQ(vesk.Pixel(9, 9), kWhite);
  }
}

TEST(MorphEngine, FrameWithoutFramesOrPrecisionPaintsNothing) {
  std::mt19937 rng(3);
  const Bitmap first = RandomPicture(rng, 30, 30);
  const std::vector<TrianglePositions> triangles = GridTriangles(rng, 30, 30, 3, 3, 4);
  Bitmap vesk(30, 30, kBlack);
  RecordingProtocol run;
  EXPECT_EQ(PaintMorphFrame(first, first, triangles, 0, 0, 1, vesk, run), 0);
  EXPECT_EQ(PaintMorphFrame(first, first, triangles, 1, 2, 0, vesk, run), 0);
  EXPECT_EQ(vesk, Bitmap(30, 30, kBlack));
  EXPECT_TRUE(run.events.empty());
}

// Corners far outside any picture (beyond a billion pixels) still give the
// pieces of the plain recursion: at t = 0 the pieces lie at the first
// positions and the far second positions only feed the (white) samples,
// and at t = N the other way round.
TEST(MorphEngine, FarAwayCornersGiveThePlainPieces) {
  std::mt19937 rng(8);
  const Bitmap first = RandomPicture(rng, 90, 70);
  const Bitmap second = RandomPicture(rng, 90, 70);
  const int far = 1500000000;
  const std::vector<TrianglePositions> triangles = {
      TrianglePositions{Corners{Point{5, 5}, Point{80, 10}, Point{20, 60}},
                        Corners{Point{far, -far}, Point{-far, 3}, Point{7, far}}},
      TrianglePositions{Corners{Point{-far, far}, Point{far, far}, Point{0, -far}},
                        Corners{Point{60, 60}, Point{85, 2}, Point{1, 30}}}};
  for (int t : {0, 4}) {
    for (int threads : {1, 2}) {
      Bitmap expected(90, 70, kBlack);
      RefPainter ref{first, second, t, 4, false, expected};
      // Only the triangle lying in the picture at this t has a small area.
      const std::vector<TrianglePositions> near = {triangles[t == 0 ? 0 : 1]};
      ref.Frame(near, 3);
      Bitmap vesk(90, 70, kBlack);
      RecordingProtocol run;
      PaintMorphFrame(first, second, near, t, 4, 3, vesk, run, threads);
      EXPECT_EQ(vesk, expected) << "t " << t << " threads " << threads;
    }
  }
}

// The engine against the plain recursion, over seeded random scenes: grids
// and scattered overlapping triangles, corners outside the pictures, second
// images of another size, several precisions and thread counts.
TEST(MorphEngine, RandomScenesMatchThePlainReference) {
  std::mt19937 rng(1234567);
  for (int round = 0; round < 24; ++round) {
    const int width = 40 + static_cast<int>(rng() % 200);
    const int height = 30 + static_cast<int>(rng() % 200);
    const Bitmap first = RandomPicture(rng, width, height);
    const Bitmap second =
        RandomPicture(rng, 20 + static_cast<int>(rng() % 200), 20 + static_cast<int>(rng() % 200));
    const std::vector<TrianglePositions> triangles =
        round % 2 == 0 ? GridTriangles(rng, width, height, 3 + round % 5, 3 + round % 4, 25,
                                       round % 3 == 0 ? 10 : 0)
                       : ScatteredTriangles(rng, width, height, 6 + round % 9);
    const int n = 1 + static_cast<int>(rng() % 20);
    const int t = static_cast<int>(rng() % (n + 1));
    const int precisions[] = {1, 2, 4, 16, 150};
    const int precision = precisions[round % 5];

    Bitmap start = RandomPicture(rng, width, height);
    Bitmap expected = start;
    RefPainter ref{first, second, t, n, false, expected};
    ref.Frame(triangles, precision);
    for (int threads : {1, 2, 3}) {
      Bitmap vesk = start;
      RecordingProtocol run;
      const int painted =
          PaintMorphFrame(first, second, triangles, t, n, precision, vesk, run, threads);
      EXPECT_EQ(painted, static_cast<int>(triangles.size()));
      ASSERT_EQ(vesk, expected) << "round " << round << " threads " << threads;
      EXPECT_EQ(run.message_calls, static_cast<long long>(triangles.size()) + ref.splits);
    }
  }
}

}  // namespace
}  // namespace vesk
