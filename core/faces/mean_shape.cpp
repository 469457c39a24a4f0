#include "core/faces/mean_shape.h"

#include <cassert>

namespace vesk {

FacePoints MeanShape(std::span<const FacePoints> faces_in_frame) {
  assert(!faces_in_frame.empty());
  FacePoints mean{};
  for (const FacePoints& face : faces_in_frame) {
    for (std::size_t i = 0; i < kFacePointCount; ++i) {
      mean[i].x += face[i].x;
      mean[i].y += face[i].y;
    }
  }
  const double count = static_cast<double>(faces_in_frame.size());
  for (PicturePoint& p : mean) p = {p.x / count, p.y / count};
  return mean;
}

}  // namespace vesk
