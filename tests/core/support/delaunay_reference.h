// Independent Delaunay references: the textbook in-circle determinant, the hull's
// area, and seeded integer point sets with duplicates and collinear runs.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <ostream>
#include <random>
#include <vector>

#include "core/mesh/delaunay.h"

namespace vesk::testing_support {

__extension__ typedef __int128 Wide;

inline Wide Cross(MeshPoint a, MeshPoint b, MeshPoint c) {
  return Wide(b.x - a.x) * (c.y - a.y) - Wide(b.y - a.y) * (c.x - a.x);
}

// > 0 when d is strictly inside the circle of the positively turning a, b, c.
inline Wide InsideCircle(MeshPoint a, MeshPoint b, MeshPoint c, MeshPoint d) {
  auto lift = [d](MeshPoint p) {
    const Wide x = p.x - d.x, y = p.y - d.y;
    return std::array<Wide, 3>{x, y, x * x + y * y};
  };
  const std::array<std::array<Wide, 3>, 3> m = {lift(a), lift(b), lift(c)};
  Wide det = 0;
  for (int i = 0, j = 1, k = 2; i < 3; ++i, j = (j + 1) % 3, k = (k + 1) % 3) {
    det += m[0][i] * (m[1][j] * m[2][k] - m[1][k] * m[2][j]);
  }
  return det;
}

// Twice the convex hull's area (Andrew's monotone chain).
inline Wide TwiceHullArea(std::vector<MeshPoint> p) {
  std::sort(p.begin(), p.end(), [](MeshPoint a, MeshPoint b) {
    return a.x != b.x ? a.x < b.x : a.y < b.y;
  });
  std::vector<MeshPoint> hull(2 * p.size());
  std::size_t k = 0;
  for (int pass = 0; pass < 2; ++pass) {
    const std::size_t start = k;
    for (std::size_t n = 0; n < p.size(); ++n) {
      const MeshPoint q = pass == 0 ? p[n] : p[p.size() - 1 - n];
      while (k >= start + 2 && Cross(hull[k - 2], hull[k - 1], q) <= 0) --k;
      hull[k++] = q;
    }
    --k;
  }
  Wide area = 0;
  for (std::size_t i = 0; i < k; ++i) area += Cross(MeshPoint{}, hull[i], hull[(i + 1) % k]);
  return area < 0 ? -area : area;
}

struct PointSetCase {
  const char* name;
  unsigned seed;
  int random_points;
  int range;           // coordinates 0 .. range - 1
  int duplicates;      // copies of random earlier points
  int collinear_runs;  // runs of 12 points on one line
};

inline void PrintTo(const PointSetCase& c, std::ostream* out) { *out << c.name; }

inline std::vector<MeshPoint> MakePoints(const PointSetCase& c) {
  std::mt19937 random(c.seed);
  auto coordinate = [&] { return static_cast<std::int32_t>(random() % c.range); };
  std::vector<MeshPoint> points;
  for (int i = 0; i < c.random_points; ++i) points.push_back({coordinate(), coordinate()});
  for (int r = 0; r < c.collinear_runs; ++r) {
    const MeshPoint from{coordinate(), coordinate()};
    const std::int32_t dx = static_cast<std::int32_t>(random() % 7) - 3;
    const std::int32_t dy = dx == 0 ? 1 + static_cast<std::int32_t>(random() % 3)
                                    : static_cast<std::int32_t>(random() % 7) - 3;
    for (int i = 0; i < 12; ++i) points.push_back({from.x + i * dx, from.y + i * dy});
  }
  for (int i = 0; i < c.duplicates && !points.empty(); ++i) {
    points.push_back(points[random() % points.size()]);
  }
  std::shuffle(points.begin(), points.end(), random);
  return points;
}

}  // namespace vesk::testing_support
