// The geometry shared by the morph and the distortion: in-between corner
// positions, the whole-pixel triangle area, and the recursive halving that
// cuts an in-between triangle into flat leaf pieces.
//
// Each split cuts a triangle (corner 0, 1, 2) along the line from corner 0
// to the midpoint m of edge 1-2; m becomes corner 0 of both halves
// (m, 0, 1) and (m, 0, 2), and the first half is finished before the
// second. The depth halves at every level and a piece with depth 0 is a
// leaf, so a triangle of depth d becomes 2^b pieces, b being the number of
// binary digits of d. A leaf takes its colour from the midpoint of its edge
// 1-2 in the source triangles.
//
// The recursions are templates over a visitor, so the engines paint through
// them and the tests watch the exact order of leaves and splits:
//   bool Skip(const Corners& g)        true: nothing of this piece is wanted
//   void Leaf(const Corners& g, Point sample_first, Point sample_second)
//   void AfterSplit()   (morph: messages are processed after both halves)
//   void BeforeSplit()  (distortion: before both halves)
#pragma once

#include <bit>
#include <cstdint>

#include "core/image/raster.h"

namespace vesk {

// The corners of one triangle in one space; index 0, 1, 2 is corner A, B, C.
struct Corners {
  Point p0;
  Point p1;
  Point p2;
  bool operator==(const Corners&) const = default;
};

// mid(P, Q): coordinates halved by integer division truncated toward zero.
// The sum is taken in 64 bits, so no coordinate can overflow.
inline Point Midpoint(Point p, Point q) {
  return Point{static_cast<int>((std::int64_t{p.x} + q.x) / 2),
               static_cast<int>((std::int64_t{p.y} + q.y) / 2)};
}

// s + ((d - s) * t) div n, truncated toward zero, so the result always
// rounds toward the first position: s for t = 0 and d for t = n.
// For 0 <= t <= n the result lies between s and d.
inline int InBetween(int s, int d, int t, int n) {
  return static_cast<int>(s + (std::int64_t{d} - s) * t / n);
}

inline Point InBetween(Point s, Point d, int t, int n) {
  return Point{InBetween(s.x, d.x, t, n), InBetween(s.y, d.y, t, n)};
}

// TriangleArea: |P0.x P1.y + P1.x P2.y + P2.x P0.y - P1.y P2.x - P0.y P1.x
// - P0.x P2.y| div 2, the whole-pixel area rounded down. Exact for any
// corners; an area beyond 2^31 - 1 (possible only far outside any bitmap)
// counts as 2^31 - 1.
std::int32_t TriangleArea(Point p0, Point p1, Point p2);

// Number of splits (message-processing points) of a triangle of this
// depth: 2^b - 1 for b binary digits of depth, 0 for depth 0.
inline std::uint64_t SplitCount(std::uint32_t depth) {
  return (std::uint64_t{1} << std::bit_width(depth)) - 1;
}

// Number of leaf pieces of a triangle of this depth: 2^b.
inline std::uint64_t PieceCount(std::uint32_t depth) {
  return std::uint64_t{1} << std::bit_width(depth);
}

// MorphTriangle(S, D, G, depth): S on the first image, D on the second, G
// in between. Leaves are sampled at mid(S1, S2) and mid(D1, D2).
template <class Visitor>
void MorphTriangle(const Corners& s, const Corners& d, const Corners& g, std::uint32_t depth,
                   Visitor& visitor) {
  if (visitor.Skip(g)) return;
  const Point ms = Midpoint(s.p1, s.p2);
  const Point md = Midpoint(d.p1, d.p2);
  if (depth == 0) {
    visitor.Leaf(g, ms, md);
    return;
  }
  const Point mg = Midpoint(g.p1, g.p2);
  MorphTriangle(Corners{ms, s.p0, s.p1}, Corners{md, d.p0, d.p1}, Corners{mg, g.p0, g.p1},
                depth / 2, visitor);
  MorphTriangle(Corners{ms, s.p0, s.p2}, Corners{md, d.p0, d.p2}, Corners{mg, g.p0, g.p2},
                depth / 2, visitor);
  visitor.AfterSplit();
}

// DistortTriangle(S, G, depth): leaves are sampled at mid(S1, S2) on the
// first image only; the second sample point handed to Leaf is the same.
template <class Visitor>
void DistortTriangle(const Corners& s, const Corners& g, std::uint32_t depth, Visitor& visitor) {
  if (visitor.Skip(g)) return;
  const Point ms = Midpoint(s.p1, s.p2);
  if (depth == 0) {
    visitor.Leaf(g, ms, ms);
    return;
  }
  visitor.BeforeSplit();
  const Point mg = Midpoint(g.p1, g.p2);
  DistortTriangle(Corners{ms, s.p0, s.p1}, Corners{mg, g.p0, g.p1}, depth / 2, visitor);
  DistortTriangle(Corners{ms, s.p0, s.p2}, Corners{mg, g.p0, g.p2}, depth / 2, visitor);
}

}  // namespace vesk
