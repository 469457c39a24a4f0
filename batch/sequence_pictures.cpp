#include "batch/sequence_pictures.h"

#include "batch/batch_support.h"
#include "match/face_landmarks.h"

namespace vesk::batch {

SequencePictures::SequencePictures(std::vector<std::string> paths, bool align_faces)
    : paths_(std::move(paths)), align_faces_(align_faces), placements_(paths_.size()) {}

Result<Similarity> SequencePictures::Placement(int i, const Bitmap& loaded) {
  Similarity placement = FitInside(loaded.Width(), loaded.Height(), width_, height_);
  if (!align_faces_) return placement;
  FaceOptions options;
  options.picture_name = Name(i);
  Result<FaceLandmarks> face = FindFaceLandmarks(loaded, options);
  if (!face) return Failure{face.Message()};
  const PicturePoint left = Apply(placement, face.Value().LeftEyeCentre());
  const PicturePoint right = Apply(placement, face.Value().RightEyeCentre());
  if (i == 0) {
    eyes_[0] = left;
    eyes_[1] = right;
    return placement;
  }
  std::optional<Similarity> turn = SimilarityOf(left, right, eyes_[0], eyes_[1]);
  if (!turn) return Failure{"The eyes found in " + Name(i) + " are one point"};
  return Then(placement, *turn);
}

Result<Bitmap> SequencePictures::Picture(int i) {
  Result<Bitmap> loaded = LoadImageFile(Name(i));
  if (!loaded) return loaded;
  if (i == 0) {
    width_ = loaded.Value().Width();
    height_ = loaded.Value().Height();
  }
  std::optional<Similarity>& placement = placements_[static_cast<std::size_t>(i)];
  if (!placement) {
    Result<Similarity> found = Placement(i, loaded.Value());
    if (!found) return Failure{found.Message()};
    placement = found.Value();
  }
  // The first picture, and any other that needs no move, stays as it is.
  if (*placement == Similarity{} && loaded.Value().Width() == width_ &&
      loaded.Value().Height() == height_) {
    return loaded;
  }
  return WarpPicture(loaded.Value(), *placement, width_, height_);
}

}  // namespace vesk::batch
