// A slow, obviously right raster rule: nearest-pixel line, closed triangle, 128-bit.
#pragma once

#include <algorithm>
#include <utility>

#include "core/image/raster.h"

namespace vesk::testing_support {

__extension__ typedef __int128 i128;

// Nearest-pixel line: one pixel per step of the major axis, halves upward.
inline bool RefOnLine(Point p, Point a, Point b) {
  if (a == b) return p == a;
  const i128 dx = i128{b.x} - a.x, dy = i128{b.y} - a.y;
  if ((dy < 0 ? -dy : dy) > (dx < 0 ? -dx : dx)) {  // steep: swap the axes
    for (Point* q : {&p, &a, &b}) std::swap(q->x, q->y);
  }
  if (a.x > b.x) std::swap(a, b);
  if (p.x < a.x || p.x > b.x) return false;
  const i128 num = 2 * (i128{p.x} - a.x) * (i128{b.y} - a.y) + (i128{b.x} - a.x);
  const i128 den = 2 * (i128{b.x} - a.x);
  const i128 q = num / den - (num % den < 0);  // floor
  return a.y + q == p.y;
}

inline i128 Side(Point p, Point u, Point v) {
  return (i128{v.x} - p.x) * (i128{v.y} - u.y) - (i128{v.x} - u.x) * (i128{v.y} - p.y);
}

// Inside the closed triangle (within its box), or on one of its three lines.
inline bool RefInPiece(Point p, Point a, Point b, Point c) {
  const bool in_box = p.x >= std::min({a.x, b.x, c.x}) && p.x <= std::max({a.x, b.x, c.x}) &&
                      p.y >= std::min({a.y, b.y, c.y}) && p.y <= std::max({a.y, b.y, c.y});
  const i128 s[] = {Side(p, a, b), Side(p, b, c), Side(p, c, a)};
  const bool inside = std::all_of(s, s + 3, [](i128 v) { return v >= 0; }) ||
                      std::all_of(s, s + 3, [](i128 v) { return v <= 0; });
  return (in_box && inside) || RefOnLine(p, a, b) || RefOnLine(p, b, c) || RefOnLine(p, c, a);
}

}  // namespace vesk::testing_support
