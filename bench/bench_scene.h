// The benchmark scene shared by the morph and distortion benchmarks (and the
// OpenCV peer comparison): a 1024 x 768 picture pair drawn here, and a
// 17 x 13 node grid over it (384 triangles) whose second-image positions are
// jittered by up to 20 pixels with a fixed seed, border nodes included.
#pragma once

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "core/generate/generation_input.h"
#include "core/image/bitmap.h"

namespace vesk::bench {

inline constexpr int kSceneWidth = 1024;
inline constexpr int kSceneHeight = 768;
inline constexpr int kGridColumns = 17;
inline constexpr int kGridRows = 13;
inline constexpr int kJitter = 20;

// Gradients, rings and a checkerboard; `variant` 0 and 1 give the two images.
inline Bitmap ScenePicture(int variant, int width = kSceneWidth, int height = kSceneHeight) {
  Bitmap picture(width, height, kBlack);
  for (int y = 0; y < height; ++y) {
    Color* row = picture.Row(y);
    for (int x = 0; x < width; ++x) {
      const double cx = variant == 0 ? 0.35 * width : 0.65 * width;
      const double d = std::hypot(x - cx, y - 0.5 * height);
      const int ring = static_cast<int>(d / 24) & 1;
      const int check = ((x >> 5) ^ (y >> 5)) & 1;
      const int r = (x * 255 / width + ring * 60) & 0xFF;
      const int g = (y * 255 / height + check * 40) & 0xFF;
      const int b = variant == 0 ? (128 + ring * 90) & 0xFF : (255 - r / 2 + check * 30) & 0xFF;
      row[x] = MakeColor(r, g, b);
    }
  }
  return picture;
}

// Nodes (i, j) at i * (width - 1) / 16, j * (height - 1) / 12 on the first
// image; two triangles per cell, in cell order.
inline std::vector<TrianglePositions> SceneTriangles(int width = kSceneWidth,
                                                     int height = kSceneHeight,
                                                     std::uint32_t seed = 20240611) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> jitter(-kJitter, kJitter);
  std::vector<Point> first;
  std::vector<Point> second;
  for (int j = 0; j < kGridRows; ++j) {
    for (int i = 0; i < kGridColumns; ++i) {
      const Point p{i * (width - 1) / (kGridColumns - 1), j * (height - 1) / (kGridRows - 1)};
      first.push_back(p);
      const int dx = jitter(rng);
      const int dy = jitter(rng);
      second.push_back(Point{p.x + dx, p.y + dy});
    }
  }
  std::vector<TrianglePositions> triangles;
  for (int j = 0; j + 1 < kGridRows; ++j) {
    for (int i = 0; i + 1 < kGridColumns; ++i) {
      const int a = j * kGridColumns + i;
      const int b = a + 1;
      const int c = a + kGridColumns;
      const int d = c + 1;
      triangles.push_back(TrianglePositions{Corners{first[a], first[b], first[c]},
                                            Corners{second[a], second[b], second[c]}});
      triangles.push_back(TrianglePositions{Corners{first[b], first[d], first[c]},
                                            Corners{second[b], second[d], second[c]}});
    }
  }
  return triangles;
}

}  // namespace vesk::bench
