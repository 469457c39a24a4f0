#include "core/mesh/fold_over.h"

namespace vesk {

int CornerOrder(const TMeshTriangle& triangle, int kind) {
  // EdgeSide is exact in sign, so no position can fake an order.
  std::int64_t side = EdgeSide(PositionOn(*triangle.C, kind), PositionOn(*triangle.A, kind),
                               PositionOn(*triangle.B, kind));
  return (side > 0) - (side < 0);
}

bool FoldsOver(const TMeshTriangle& triangle) {
  return CornerOrder(triangle, kFirstImage) * CornerOrder(triangle, kSecondImage) < 0;
}

std::size_t FoldedTriangleCount(const Mesh& mesh) {
  std::size_t count = 0;
  for (const TMeshTriangle& triangle : mesh.TriangleList()) count += FoldsOver(triangle);
  return count;
}

}  // namespace vesk
