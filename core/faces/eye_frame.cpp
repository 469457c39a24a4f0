#include "core/faces/eye_frame.h"

#include <algorithm>

namespace vesk {

EyePlaces EyePlacesOf(ImageSize output) {
  const double apart = std::min(double(output.width), 0.75 * output.height) / 4;
  const double middle = (output.width - 1) / 2.0, row = 0.45 * (output.height - 1);
  return {{middle - apart / 2, row}, {middle + apart / 2, row}};
}

std::optional<EyeFrame> EyeFrameOf(const FacePoints& face, ImageSize output) {
  const EyePlaces places = EyePlacesOf(output);
  const PicturePoint left = LeftEyeCentre(face), right = RightEyeCentre(face);
  const std::optional<Similarity> in = SimilarityOf(left, right, places.left, places.right);
  const std::optional<Similarity> out = SimilarityOf(places.left, places.right, left, right);
  if (!in || !out) return std::nullopt;
  return EyeFrame{*in, *out};
}

}  // namespace vesk
