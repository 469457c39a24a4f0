#include "core/generate/subdivision.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace vesk {
namespace {

// Records leaves (corners and both sample points) and split points in order.
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

TEST(Subdivision, InBetweenRoundsTowardTheFirstPositionWithoutOverflow) {
  struct Row { int s, d, t, n, expected; };
  for (const Row& r : {Row{10, 0, 1, 3, 7}, Row{10, 0, 2, 3, 4}, Row{0, 10, 1, 3, 3},
                       Row{-5, 5, 1, 4, -3}, Row{5, -5, 1, 4, 3}, Row{17, -250, 0, 12, 17},
                       Row{17, -250, 12, 12, -250}, Row{-2000000000, 2000000000, 1, 2, 0},
                       Row{INT_MAX, INT_MIN, 65535, 65535, INT_MIN}}) {
    EXPECT_EQ(InBetween(r.s, r.d, r.t, r.n), r.expected) << r.s << " " << r.d << " " << r.t;
  }
  EXPECT_EQ(InBetween(Point{10, 0}, Point{0, 10}, 1, 3), (Point{7, 3}));
  EXPECT_EQ(Midpoint(Point{-3, 5}, Point{0, 0}), (Point{-1, 2}));  // toward zero
  EXPECT_EQ(Midpoint(Point{INT_MAX, 0}, Point{INT_MAX, 0}), (Point{INT_MAX, 0}));
}

TEST(Subdivision, AreaIsTheWholePixelAreaRoundedDown) {
  struct Row { Point a, b, c; int area; };
  const int big = 2000000000;
  for (const Row& r : {Row{{0, 0}, {8, 0}, {0, 8}, 32}, Row{{0, 8}, {8, 0}, {0, 0}, 32},
                       Row{{0, 0}, {5, 0}, {0, 4}, 10}, Row{{0, 0}, {3, 0}, {0, 3}, 4},
                       Row{{1, 1}, {5, 5}, {9, 9}, 0}, Row{{-10, -10}, {10, -10}, {-10, 10}, 200},
                       Row{{-big, -big}, {big, -big}, {-big, big}, INT_MAX}}) {
    EXPECT_EQ(TriangleArea(r.a, r.b, r.c), r.area) << r.b.x << "," << r.b.y;
  }
}

TEST(Subdivision, DepthOfBBinaryDigitsGivesTwoToTheBPieces) {
  struct Row { std::uint32_t depth; std::uint64_t pieces; };
  const Corners t{{3, 1}, {90, 20}, {15, 70}};
  for (const Row& r : {Row{0, 1}, Row{1, 2}, Row{2, 4}, Row{3, 4}, Row{10, 16}, Row{2048, 4096}}) {
    EXPECT_EQ(PieceCount(r.depth), r.pieces);
    EXPECT_EQ(SplitCount(r.depth), r.pieces - 1);
    Recorder m;
    MorphTriangle(t, t, t, r.depth, m);
    EXPECT_EQ(m.leaves.size(), r.pieces) << r.depth;
    EXPECT_EQ(m.events.size() - m.leaves.size(), r.pieces - 1) << r.depth;
    Recorder d;
    DistortTriangle(t, t, r.depth, d);
    EXPECT_EQ(d.leaves.size(), r.pieces) << r.depth;
  }
}

// Corners (0, 0), (8, 0), (0, 8), area 32, Precision 16: depth 2, four
// leaves in painting order; the morph processes messages after the halves,
// the distortion before them.
TEST(Subdivision, ExampleTriangleGivesFourLeavesInPaintingOrder) {
  const Corners t{{0, 0}, {8, 0}, {0, 8}};
  const std::vector<Corners> leaves = {
      {{4, 0}, {4, 4}, {0, 0}}, {{4, 0}, {4, 4}, {8, 0}},
      {{0, 4}, {4, 4}, {0, 0}}, {{0, 4}, {4, 4}, {0, 8}}};
  const std::vector<Point> samples = {{2, 2}, {6, 2}, {2, 2}, {2, 6}};
  Recorder m;
  MorphTriangle(t, t, t, 32 / 16, m);
  EXPECT_EQ(m.leaves, leaves);
  EXPECT_EQ(m.first_samples, samples);
  EXPECT_EQ(m.second_samples, samples);
  EXPECT_EQ(m.events, (std::vector<std::string>{"leaf", "leaf", "messages", "leaf", "leaf",
                                                "messages", "messages"}));
  Recorder d;
  DistortTriangle(t, t, 2, d);
  EXPECT_EQ(d.leaves, leaves);
  EXPECT_EQ(d.first_samples, samples);
  EXPECT_EQ(d.events, (std::vector<std::string>{"messages", "messages", "leaf", "leaf",
                                                "messages", "leaf", "leaf"}));
}

TEST(Subdivision, MorphSamplesEachSourceAtItsOwnEdgeMidpoint) {
  const Corners g{{0, 0}, {3, 0}, {0, 3}};
  Recorder r;
  MorphTriangle(Corners{{0, 0}, {8, 0}, {0, 8}}, Corners{{100, 50}, {110, 50}, {100, 70}}, g, 0, r);
  EXPECT_EQ(r.leaves, std::vector<Corners>{g});
  EXPECT_EQ(r.first_samples[0], (Point{4, 4}));
  EXPECT_EQ(r.second_samples[0], (Point{105, 60}));
}

}  // namespace
}  // namespace vesk
