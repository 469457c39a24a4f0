#include "core/mesh/grid_mesh.h"

#include <string>
#include <vector>

namespace vesk {

std::int32_t GridCoordinate(int index, int count, int extent) {
  const std::int64_t span = std::int64_t{extent} - 1;
  const std::int64_t steps = std::int64_t{count} - 1;
  return static_cast<std::int32_t>((2 * index * span + steps) / (2 * steps));
}

Result<Mesh> GridMesh(int columns, int rows, ImageSize first, ImageSize second) {
  auto in_range = [](int n) { return n >= kMinGridCount && n <= kMaxGridCount; };
  if (!in_range(columns) || !in_range(rows)) {
    return Failure{"Columns and rows must be from 2 to 100"};
  }
  if (first.width < columns || second.width < columns || first.height < rows ||
      second.height < rows) {
    return Failure{"The images are too small for a grid of " + std::to_string(columns) + " x " +
                   std::to_string(rows) + " nodes"};
  }
  Mesh mesh;
  std::vector<const TMeshNode*> nodes;
  nodes.reserve(static_cast<std::size_t>(columns) * rows);
  for (int row = 0; row < rows; ++row) {
    for (int column = 0; column < columns; ++column) {
      TMeshNode node;
      node.X1 = GridCoordinate(column, columns, first.width);
      node.Y1 = GridCoordinate(row, rows, first.height);
      node.X2 = GridCoordinate(column, columns, second.width);
      node.Y2 = GridCoordinate(row, rows, second.height);
      nodes.push_back(mesh.PushNode(node));
    }
  }
  auto at = [&](int column, int row) { return nodes[static_cast<std::size_t>(row) * columns + column]; };
  for (int row = 0; row + 1 < rows; ++row) {
    for (int column = 0; column + 1 < columns; ++column) {
      const TMeshNode* top_left = at(column, row);
      const TMeshNode* top_right = at(column + 1, row);
      const TMeshNode* bottom_left = at(column, row + 1);
      const TMeshNode* bottom_right = at(column + 1, row + 1);
      mesh.PushTriangle(top_left, top_right, bottom_right);
      mesh.PushTriangle(top_left, bottom_right, bottom_left);
    }
  }
  return mesh;
}

}  // namespace vesk
