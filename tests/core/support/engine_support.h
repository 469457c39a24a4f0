// Plain references of the morph's and the distortion's painting, written
// from the rules and sharing no code with the engines (leaves are painted by
// FillLeafPiece, the image layer's checked rule), and seeded scenes.
#pragma once

#include <cstdint>
#include <functional>
#include <random>
#include <vector>

#include "core/generate/equalize.h"
#include "core/generate/generation_input.h"
#include "core/image/bitmap.h"
#include "core/image/raster.h"

namespace vesk::testing {

inline Color RefBlend(Color c1, Color c2, int t, int n) {
  Color out = 0;
  for (int shift : {0, 8, 16}) {
    const int a = static_cast<int>((c1 >> shift) & 0xFF);
    const int b = static_cast<int>((c2 >> shift) & 0xFF);
    out |= static_cast<Color>((a + (b - a) * t / n) & 0xFF) << shift;
  }
  return out;
}

inline Point RefMid(Point p, Point q) {
  return {static_cast<int>((std::int64_t{p.x} + q.x) / 2),
          static_cast<int>((std::int64_t{p.y} + q.y) / 2)};
}
inline Point RefBetween(Point s, Point d, int t, int n) {
  return {static_cast<int>(s.x + (std::int64_t{d.x} - s.x) * t / n),
          static_cast<int>(s.y + (std::int64_t{d.y} - s.y) * t / n)};
}
inline int RefArea(Point a, Point b, Point c) {
  const std::int64_t twice = (std::int64_t{b.x} - a.x) * (std::int64_t{c.y} - a.y) -
                             (std::int64_t{c.x} - a.x) * (std::int64_t{b.y} - a.y);
  return static_cast<int>((twice < 0 ? -twice : twice) / 2);
}

// Both engines' recursion written out plainly; `splits` counts the
// messages processed inside triangles.
struct RefPainter {
  const Bitmap &first, &second;
  int t, n;
  bool distortion;
  Bitmap& vesk;
  long long splits = 0;
  int colour_t = t;  // the blend's step, when the timing curves part it from t

  void Triangle(Point s0, Point s1, Point s2, Point d0, Point d1, Point d2, Point g0, Point g1,
                Point g2, int depth) {
    const Point ms = RefMid(s1, s2), md = RefMid(d1, d2), mg = RefMid(g1, g2);
    if (depth == 0) {
      const Color a = first.Pixel(ms.x, ms.y);
      const Color c = !distortion ? RefBlend(a, second.Pixel(md.x, md.y), colour_t, n)
                                  : (a == kInvalidColor ? kBlack : a);
      FillLeafPiece(vesk, g0, g1, g2, c);
      return;
    }
    Triangle(ms, s0, s1, md, d0, d1, mg, g0, g1, depth / 2);
    Triangle(ms, s0, s2, md, d0, d2, mg, g0, g2, depth / 2);
    ++splits;
  }
  // The first `count` triangles of frame t, in list order.
  void Frame(const std::vector<TrianglePositions>& triangles, int precision,
             std::size_t count = SIZE_MAX) {
    for (std::size_t k = 0; k < triangles.size() && k < count; ++k) {
      const Corners& s = triangles[k].first;
      const Corners& d = distortion ? triangles[k].first : triangles[k].second;
      const Corners& e = triangles[k].second;
      const Point g0 = RefBetween(s.p0, e.p0, t, n), g1 = RefBetween(s.p1, e.p1, t, n);
      const Point g2 = RefBetween(s.p2, e.p2, t, n);
      Triangle(s.p0, s.p1, s.p2, d.p0, d.p1, d.p2, g0, g1, g2, RefArea(g0, g1, g2) / precision);
    }
  }
};

struct Scene {
  Bitmap first, second;
  std::vector<TrianglePositions> triangles;
};

// Frames first_t .. last_t, each painted over the previous one, starting
// from the first picture, equalized when asked.
inline std::vector<Bitmap> ReferenceFrames(bool distortion, const Scene& s, int n, int precision,
                                           bool equalize, int first_t, int last_t) {
  std::vector<Bitmap> frames;
  Bitmap vesk = s.first;
  RunProtocol quiet;
  for (int t = first_t; t <= last_t; ++t) {
    RefPainter{s.first, s.second, t, n, distortion, vesk}.Frame(s.triangles, precision);
    if (equalize) EqualizePicture(vesk, quiet);
    frames.push_back(vesk);
  }
  return frames;
}

// A cols x rows grid over the picture and `margin` around it, two triangles a
// cell, second positions where `move` takes each node (asked once a node, row by row).
inline std::vector<TrianglePositions> Grid(int width, int height, int cols, int rows,
                                           const std::function<Point(Point)>& move,
                                           int margin = 0) {
  auto node = [&](int i, int j) {
    return Point{-margin + i * (width - 1 + 2 * margin) / (cols - 1),
                 -margin + j * (height - 1 + 2 * margin) / (rows - 1)};
  };
  std::vector<Point> second;
  for (int j = 0; j < rows; ++j) {
    for (int i = 0; i < cols; ++i) second.push_back(move(node(i, j)));
  }
  std::vector<TrianglePositions> triangles;
  for (int j = 0; j + 1 < rows; ++j) {
    for (int i = 0; i + 1 < cols; ++i) {
      const int a = j * cols + i, b = a + 1, c = a + cols, d = c + 1;
      triangles.push_back({{node(i, j), node(i + 1, j), node(i, j + 1)},
                           {second[a], second[b], second[c]}});
      triangles.push_back({{node(i + 1, j), node(i + 1, j + 1), node(i, j + 1)},
                           {second[b], second[d], second[c]}});
    }
  }
  return triangles;
}

// A grid (cols > 0) with second positions moved by up to `jitter`; with cols 0,
// `rows` overlapping triangles anywhere in and around the picture.
inline std::vector<TrianglePositions> MeshTriangles(std::mt19937& rng, int width, int height,
                                                    int cols, int rows, int jitter,
                                                    int margin = 0) {
  const auto near = [&](Point p) {
    return Point{p.x + int(rng() % (2 * jitter + 1)) - jitter,
                 p.y + int(rng() % (2 * jitter + 1)) - jitter};
  };
  if (cols > 0) return Grid(width, height, cols, rows, near, margin);
  auto anywhere = [&] {
    return Point{int(rng() % (width * 3 / 2 + 1)) - width / 4,
                 int(rng() % (height * 3 / 2 + 1)) - height / 4};
  };
  std::vector<TrianglePositions> triangles;
  for (int j = 0; j < rows; ++j) {
    const Corners first{anywhere(), anywhere(), anywhere()};
    triangles.push_back({first, {anywhere(), anywhere(), anywhere()}});
    if (j % 7 == 3) triangles.back().first.p2 = triangles.back().first.p1;  // flat
  }
  return triangles;
}

}  // namespace vesk::testing
