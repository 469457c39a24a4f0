// New Grid Mesh: a ready mesh of columns x rows nodes spread evenly over the
// first image from its left edge to its right edge and from its top row to
// its bottom row, each node's second-image position being the same place on
// the second image's grid, and every grid cell cut into two triangles along
// its top-left to bottom-right diagonal.
#pragma once

#include <cstdint>

#include "core/common/result.h"
#include "core/mesh/mesh_model.h"

namespace vesk {

inline constexpr int kMinGridCount = 2;
inline constexpr int kMaxGridCount = 100;

struct ImageSize {
  int width = 0;
  int height = 0;
  bool operator==(const ImageSize&) const = default;
};

// Where node `index` of `count` (0 .. count - 1) lies along an image side of
// `extent` pixels: index * (extent - 1) / (count - 1) rounded to the nearest
// pixel, halves upward, so the first and last nodes sit on the edge pixels.
std::int32_t GridCoordinate(int index, int count, int extent);

// The grid mesh. Nodes are added row by row from the top, each row from the
// left, so the list reads newest first from the bottom-right node; the
// triangles of each cell, (top-left, top-right, bottom-right) then
// (top-left, bottom-right, bottom-left), are added cell by cell in the same
// order. Nothing is selected. Refused with a message when columns or rows
// are outside 2..100 or an image has fewer pixels across (down) than the
// grid has columns (rows), which would put two nodes on one pixel.
Result<Mesh> GridMesh(int columns, int rows, ImageSize first, ImageSize second);

}  // namespace vesk
