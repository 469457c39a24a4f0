#include "core/faces/face_shape.h"

#include <algorithm>

namespace vesk {
namespace {

PicturePoint EyeCentre(const FacePoints& face, std::size_t from) {
  PicturePoint centre;
  for (std::size_t i = from; i < from + 6; ++i) {
    centre.x += face[i].x / 6;
    centre.y += face[i].y / 6;
  }
  return centre;
}

}  // namespace

FacePoints FacePointsOf(FaceShape landmarks) {
  FacePoints face;
  std::copy(landmarks.begin(), landmarks.end(), face.begin());
  const auto forehead = ForeheadPoints(landmarks);
  std::copy(forehead.begin(), forehead.end(), face.begin() + kFaceLandmarkCount);
  return face;
}

PicturePoint LeftEyeCentre(const FacePoints& face) { return EyeCentre(face, 36); }
PicturePoint RightEyeCentre(const FacePoints& face) { return EyeCentre(face, 42); }

FacePoints Moved(const FacePoints& face, const Similarity& s) {
  FacePoints moved;
  std::transform(face.begin(), face.end(), moved.begin(),
                 [&s](PicturePoint p) { return Apply(s, p); });
  return moved;
}

}  // namespace vesk
