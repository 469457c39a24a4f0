#include "sequencing/sequence_pictures.h"

#include "pictures/picture_reader.h"

namespace vesk {

SequencePictures::SequencePictures(std::vector<std::string> paths, bool align_faces,
                                   std::optional<ImageSize> output_size,
                                   const std::string& scratch_folder)
    : paths_(std::move(paths)),
      align_faces_(align_faces),
      size_given_(output_size.has_value()),
      kept_(kSequenceMemoryBudget, {scratch_folder.empty() ? "." : scratch_folder, ""}),
      read_(paths_.size(), false),
      read_sizes_(paths_.size()),
      faces_(paths_.size()) {
  if (output_size) {
    width_ = output_size->width;
    height_ = output_size->height;
  }
}

void SequencePictures::KeepFace(int i, const FaceLandmarks& face) {
  faces_[static_cast<std::size_t>(i)] = face;
}

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

Result<Bitmap> SequencePictures::Place(int i) {
  const auto index = static_cast<std::size_t>(i);
  Result<Bitmap> loaded = ReadPicture(Name(i));
  if (!loaded) return Failure{Name(i) + ": " + loaded.Message()};
  const int width = loaded.Value().Width(), height = loaded.Value().Height();
  if (i == 0 && !size_given_) {
    width_ = width;
    height_ = height;
  }
  Result<Similarity> placement = Placement(i, loaded.Value());
  if (!placement) return Failure{placement.Message()};
  // A picture that needs no move (the first, without a size given) stays
  // as it is.
  Bitmap placed = placement.Value() == Similarity{} && width == width_ && height == height_
                      ? std::move(loaded).Value()
                      : WarpPicture(loaded.Value(), placement.Value(), width_, height_);
  Status kept = kept_.Put(index, placed);
  if (!kept) return Failure{Name(i) + ": " + kept.Message()};
  read_[index] = true;
  read_sizes_[index] = ImageSize{width, height};
  return placed;
}

Result<Bitmap> SequencePictures::Picture(int i) {
  // The first picture sets the size when none is given, and the eyes when
  // faces are aligned.
  if (i != 0 && !read_[0] && (!size_given_ || align_faces_)) {
    Result<Bitmap> first = Place(0);
    if (!first) return first;
  }
  const auto index = static_cast<std::size_t>(i);
  if (!read_[index]) return Place(i);
  Result<Bitmap> kept = kept_.Get(index);
  if (!kept) return Failure{Name(i) + ": " + kept.Message()};
  return kept;
}

std::unique_ptr<SequencePictures> PlaceSequencePictures(const Sequence& sequence,
                                                        const std::string& scratch_folder) {
  std::vector<std::string> paths;
  for (const SequencePicture& picture : sequence.Pictures()) paths.push_back(picture.path);
  return std::make_unique<SequencePictures>(std::move(paths), sequence.Options().align_faces,
                                            sequence.Options().output_size, scratch_folder);
}

bool PlacedAlike(const Sequence& a, const Sequence& b) {
  if (a.PictureCount() != b.PictureCount() ||
      a.Options().align_faces != b.Options().align_faces ||
      a.Options().output_size != b.Options().output_size) {
    return false;
  }
  for (int i = 0; i < a.PictureCount(); ++i) {
    if (a.Picture(i).path != b.Picture(i).path) return false;
  }
  return true;
}

}  // namespace vesk
