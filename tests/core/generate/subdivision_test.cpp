#include "core/generate/subdivision.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace vesk {
namespace {

// Records leaves (corners and sample points) and split points in order.
struct Recorder {
  std::vector<std::string> events;
  std::vector<Corners> leaves;
  std::vector<Point> first_samples;
  std::vector<Point> second_samples;

  bool Skip(const Corners&) const { return false; }
  void Leaf(const Corners& g, Point s, Point d) {
    leaves.push_back(g);
    first_samples.push_back(s);
    second_samples.push_back(d);
    events.push_back("leaf");
  }
  void AfterSplit() { events.push_back("messages"); }
  void BeforeSplit() { events.push_back("messages"); }
};

Corners C(Point a, Point b, Point c) { return Corners{a, b, c}; }

TEST(InBetween, RoundsTowardTheFirstPosition) {
  EXPECT_EQ(InBetween(10, 0, 1, 3), 7);  // 10 + (-10 * 1) div 3 = 10 - 3
  EXPECT_EQ(InBetween(10, 0, 2, 3), 4);
  EXPECT_EQ(InBetween(0, 10, 1, 3), 3);
  EXPECT_EQ(InBetween(-5, 5, 1, 4), -3);  // -5 + 10 div 4
  EXPECT_EQ(InBetween(5, -5, 1, 4), 3);
}

TEST(InBetween, StartsAtTheFirstAndEndsAtTheSecondPosition) {
  for (int n : {1, 3, 12, 100}) {
    EXPECT_EQ(InBetween(Point{17, -4}, Point{-250, 999}, 0, n), (Point{17, -4}));
    EXPECT_EQ(InBetween(Point{17, -4}, Point{-250, 999}, n, n), (Point{-250, 999}));
  }
}

TEST(InBetween, DoesNotOverflowForPositionsFarApart) {
  EXPECT_EQ(InBetween(-2000000000, 2000000000, 1, 2), 0);
  EXPECT_EQ(InBetween(2147483647, -2147483647 - 1, 65535, 65535), -2147483647 - 1);
}

TEST(Midpoint, TruncatesTowardZero) {
  EXPECT_EQ(Midpoint(Point{0, 0}, Point{5, 3}), (Point{2, 1}));
  EXPECT_EQ(Midpoint(Point{-3, -1}, Point{0, 0}), (Point{-1, 0}));
  EXPECT_EQ(Midpoint(Point{2147483647, 0}, Point{2147483647, 0}), (Point{2147483647, 0}));
}

TEST(TriangleArea, IsTheWholePixelAreaRoundedDown) {
  EXPECT_EQ(TriangleArea(Point{0, 0}, Point{8, 0}, Point{0, 8}), 32);
  EXPECT_EQ(TriangleArea(Point{0, 8}, Point{8, 0}, Point{0, 0}), 32);  // other orientation
  EXPECT_EQ(TriangleArea(Point{0, 0}, Point{5, 0}, Point{0, 4}), 10);
  EXPECT_EQ(TriangleArea(Point{0, 0}, Point{3, 0}, Point{0, 3}), 4);  // 4.5 rounded down
  EXPECT_EQ(TriangleArea(Point{1, 1}, Point{5, 5}, Point{9, 9}), 0);
  EXPECT_EQ(TriangleArea(Point{-10, -10}, Point{10, -10}, Point{-10, 10}), 200);
}

TEST(TriangleArea, BeyondTheIntegerRangeCountsAsTheLargestArea) {
  const int big = 2000000000;
  EXPECT_EQ(TriangleArea(Point{-big, -big}, Point{big, -big}, Point{-big, big}), 2147483647);
}

TEST(SplitCount, IsOneLessThanThePieces) {
  EXPECT_EQ(PieceCount(0), 1u);
  EXPECT_EQ(SplitCount(0), 0u);
  EXPECT_EQ(PieceCount(1), 2u);
  EXPECT_EQ(PieceCount(2), 4u);
  EXPECT_EQ(PieceCount(3), 4u);
  EXPECT_EQ(PieceCount(10), 16u);
  EXPECT_EQ(SplitCount(10), 15u);
  EXPECT_EQ(PieceCount(2048), 4096u);
}

// A triangle of area 10 is cut into 16 pieces at Precision 1, 4 at
// Precision 4 (depth 2) and one flat piece at Precision 11 (depth 0).
TEST(MorphTriangle, AreaTenIsCutBySixteenFourAndOne) {
  const Corners t = C(Point{0, 0}, Point{5, 0}, Point{0, 4});
  ASSERT_EQ(TriangleArea(t.p0, t.p1, t.p2), 10);
  const int precisions[] = {1, 4, 11};
  const std::size_t pieces[] = {16, 4, 1};
  for (int i = 0; i < 3; ++i) {
    Recorder r;
    MorphTriangle(t, t, t, static_cast<std::uint32_t>(10 / precisions[i]), r);
    EXPECT_EQ(r.leaves.size(), pieces[i]) << "precision " << precisions[i];
    Recorder d;
    DistortTriangle(t, t, static_cast<std::uint32_t>(10 / precisions[i]), d);
    EXPECT_EQ(d.leaves.size(), pieces[i]) << "precision " << precisions[i];
  }
}

// Corners (0, 0), (8, 0), (0, 8), area 32, Precision 16: depth 2.
TEST(MorphTriangle, ExampleTriangleGivesFourLeavesInPaintingOrder) {
  const Corners t = C(Point{0, 0}, Point{8, 0}, Point{0, 8});
  Recorder r;
  MorphTriangle(t, t, t, 32 / 16, r);
  const std::vector<Corners> leaves = {
      C(Point{4, 0}, Point{4, 4}, Point{0, 0}), C(Point{4, 0}, Point{4, 4}, Point{8, 0}),
      C(Point{0, 4}, Point{4, 4}, Point{0, 0}), C(Point{0, 4}, Point{4, 4}, Point{0, 8})};
  EXPECT_EQ(r.leaves, leaves);
  const std::vector<Point> samples = {Point{2, 2}, Point{6, 2}, Point{2, 2}, Point{2, 6}};
  EXPECT_EQ(r.first_samples, samples);
  EXPECT_EQ(r.second_samples, samples);
  // Messages after the second leaf, after the fourth, and once more at the
  // end of the whole triangle.
  const std::vector<std::string> events = {"leaf", "leaf",     "messages", "leaf",
                                           "leaf", "messages", "messages"};
  EXPECT_EQ(r.events, events);
}

TEST(MorphTriangle, SamplesEachSourceAtItsOwnEdgeMidpoint) {
  const Corners s = C(Point{0, 0}, Point{8, 0}, Point{0, 8});
  const Corners d = C(Point{100, 50}, Point{110, 50}, Point{100, 70});
  const Corners g = C(Point{0, 0}, Point{3, 0}, Point{0, 3});
  Recorder r;
  MorphTriangle(s, d, g, 0, r);  // one flat piece, whatever the source sizes
  ASSERT_EQ(r.leaves.size(), 1u);
  EXPECT_EQ(r.leaves[0], g);
  EXPECT_EQ(r.first_samples[0], (Point{4, 4}));
  EXPECT_EQ(r.second_samples[0], (Point{105, 60}));
}

TEST(DistortTriangle, ProcessesMessagesBeforeTheHalves) {
  const Corners t = C(Point{0, 0}, Point{8, 0}, Point{0, 8});
  Recorder r;
  DistortTriangle(t, t, 2, r);
  const std::vector<std::string> events = {"messages", "messages", "leaf", "leaf",
                                           "messages", "leaf",     "leaf"};
  EXPECT_EQ(r.events, events);
  EXPECT_EQ(r.leaves[3], C(Point{0, 4}, Point{4, 4}, Point{0, 8}));
  EXPECT_EQ(r.first_samples[3], (Point{2, 6}));
}

TEST(MorphTriangle, SplitCountMatchesTheMessagePoints) {
  const Corners t = C(Point{3, 1}, Point{90, 20}, Point{15, 70});
  for (std::uint32_t depth : {0u, 1u, 5u, 64u, 1000u, 3000u}) {
    Recorder r;
    MorphTriangle(t, t, t, depth, r);
    const auto messages = std::count(r.events.begin(), r.events.end(), "messages");
    EXPECT_EQ(static_cast<std::uint64_t>(messages), SplitCount(depth)) << depth;
    EXPECT_EQ(r.leaves.size(), PieceCount(depth)) << depth;
  }
}

}  // namespace
}  // namespace vesk
