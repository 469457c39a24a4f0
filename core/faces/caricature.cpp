#include "core/faces/caricature.h"

#include "core/faces/face_warp.h"
#include "core/image/similarity_warp.h"

namespace vesk {

std::optional<FacePoints> CaricaturePoints(const FacePoints& own, const FacePoints& average,
                                           double amount) {
  const PicturePoint left = LeftEyeCentre(own), right = RightEyeCentre(own);
  const std::optional<Similarity> onto =
      SimilarityOf(LeftEyeCentre(average), RightEyeCentre(average), left, right);
  if (!onto || (left.x == right.x && left.y == right.y)) return std::nullopt;
  const FacePoints placed = Moved(average, *onto);
  FacePoints target;
  for (std::size_t i = 0; i < kFacePointCount; ++i) {
    // Written from `own`, so amount 1 adds exactly nothing.
    target[i] = {own[i].x + (amount - 1) * (own[i].x - placed[i].x),
                 own[i].y + (amount - 1) * (own[i].y - placed[i].y)};
  }
  return target;
}

Bitmap PaintCaricature(const Bitmap& picture, const FacePoints& own, const FacePoints& target,
                       Renderer renderer, RunProtocol& protocol) {
  const ImageSize size{picture.Width(), picture.Height()};
  return PaintFaceWarp(picture, own, BorderPointsOf(size), FaceWarpTo(target, size), renderer,
                       protocol);
}

}  // namespace vesk
