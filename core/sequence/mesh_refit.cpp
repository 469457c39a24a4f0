#include "core/sequence/mesh_refit.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace vesk {
namespace {

std::int32_t Rounded(double v) {
  constexpr double kLow = std::numeric_limits<std::int32_t>::min();
  constexpr double kHigh = std::numeric_limits<std::int32_t>::max();
  if (!(v == v)) return 0;  // NaN from a degenerate move
  return static_cast<std::int32_t>(std::clamp(std::round(v), kLow, kHigh));
}

}  // namespace

Similarity RefitMove(ImageSize picture, ImageSize from, ImageSize to) {
  const Similarity old_place = FitInside(picture.width, picture.height, from.width, from.height);
  const Similarity new_place = FitInside(picture.width, picture.height, to.width, to.height);
  // Two points of the picture, where they stood and where they stand now.
  const PicturePoint p1{0, 0}, p2{double(picture.width), double(picture.height)};
  return SimilarityOf(Apply(old_place, p1), Apply(old_place, p2), Apply(new_place, p1),
                      Apply(new_place, p2))
      .value_or(Similarity{});
}

MeshSnapshot MoveMeshNodes(const MeshSnapshot& mesh, const Similarity& first,
                           const Similarity& second) {
  MeshSnapshot moved = mesh;
  for (TMeshNode& node : moved.nodes) {
    const PicturePoint p1 = Apply(first, {double(node.X1), double(node.Y1)});
    const PicturePoint p2 = Apply(second, {double(node.X2), double(node.Y2)});
    node = TMeshNode{Rounded(p1.x), Rounded(p1.y), Rounded(p2.x), Rounded(p2.y)};
  }
  return moved;
}

}  // namespace vesk
