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
  std::vector<Point> first_samples, second_samples;

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

TEST(Subdivision, InBetweenAndAreaGoldenValuesWithoutOverflow) {
  struct Between { int s, d, t, n, expected; };
  for (const Between& r : {Between{10, 0, 1, 3, 7}, Between{0, 10, 1, 3, 3},
                           Between{-5, 5, 1, 4, -3}, Between{5, -5, 1, 4, 3},
                           Between{-2000000000, 2000000000, 1, 2, 0},
                           Between{INT_MAX, INT_MIN, 65535, 65535, INT_MIN}}) {
    EXPECT_EQ(InBetween(r.s, r.d, r.t, r.n), r.expected) << r.s << " " << r.d << " " << r.t;
  }
  EXPECT_EQ(Midpoint(Point{INT_MAX, -3}, Point{INT_MAX, 0}), (Point{INT_MAX, -1}));
  struct Area { Point a, b, c; int area; };
  const int big = 2000000000;
  for (const Area& r : {Area{{0, 8}, {8, 0}, {0, 0}, 32}, Area{{0, 0}, {5, 0}, {0, 4}, 10},
                        Area{{0, 0}, {3, 0}, {0, 3}, 4}, Area{{1, 1}, {5, 5}, {9, 9}, 0},
                        Area{{-big, -big}, {big, -big}, {-big, big}, INT_MAX}}) {
    EXPECT_EQ(TriangleArea(r.a, r.b, r.c), r.area) << r.b.x << "," << r.b.y;
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
  MorphTriangle(t, t, t, TriangleArea(t.p0, t.p1, t.p2) / 16, m);
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

}  // namespace
}  // namespace vesk
