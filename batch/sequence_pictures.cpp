#include "batch/sequence_pictures.h"

#include "batch/batch_support.h"

namespace vesk::batch {

SequencePictures::SequencePictures(std::vector<std::string> paths, bool align_faces,
                                   const std::string& scratch_folder)
    : paths_(std::move(paths)),
      align_faces_(align_faces),
      kept_(kSequenceMemoryBudget, {scratch_folder.empty() ? "." : scratch_folder, ""}),
      read_(paths_.size(), false),
      faces_(paths_.size()) {}

Result<Similarity> SequencePictures::Placement(int i, const Bitmap& loaded) {
  Similarity placement = FitInside(loaded.Width(), loaded.Height(), width_, height_);
  if (!align_faces_) return placement;
  FaceOptions options;
  options.picture_name = Name(i);
  Result<FaceLandmarks> face = FindFaceLandmarks(loaded, options);
  if (!face) return Failure{face.Message()};
  for (PicturePoint& p : face.Value().points) p = Apply(placement, p);
  if (i > 0) {
    const FaceLandmarks& first = *faces_[0];
    std::optional<Similarity> turn =
        SimilarityOf(face.Value().LeftEyeCentre(), face.Value().RightEyeCentre(),
                     first.LeftEyeCentre(), first.RightEyeCentre());
    if (!turn) return Failure{"The eyes found in " + Name(i) + " are one point"};
    for (PicturePoint& p : face.Value().points) p = Apply(*turn, p);
    placement = Then(placement, *turn);
  }
  faces_[static_cast<std::size_t>(i)] = std::move(face).Value();
  return placement;
}

Result<Bitmap> SequencePictures::Picture(int i) {
  const auto index = static_cast<std::size_t>(i);
  if (read_[index]) {
    Result<Bitmap> kept = kept_.Get(index);
    if (!kept) return Failure{Name(i) + ": " + kept.Message()};
    return kept;
  }
  Result<Bitmap> loaded = LoadImageFile(Name(i));
  if (!loaded) return loaded;
  if (i == 0) {
    width_ = loaded.Value().Width();
    height_ = loaded.Value().Height();
  }
  Result<Similarity> placement = Placement(i, loaded.Value());
  if (!placement) return Failure{placement.Message()};
  // The first picture, and any other that needs no move, stays as it is.
  Bitmap placed = placement.Value() == Similarity{} && loaded.Value().Width() == width_ &&
                          loaded.Value().Height() == height_
                      ? std::move(loaded).Value()
                      : WarpPicture(loaded.Value(), placement.Value(), width_, height_);
  Status kept = kept_.Put(index, placed);
  if (!kept) return Failure{Name(i) + ": " + kept.Message()};
  read_[index] = true;
  return placed;
}

}  // namespace vesk::batch
