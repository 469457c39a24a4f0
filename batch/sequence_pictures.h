// The pictures of `vesk-batch sequence` as they are morphed: each one loaded,
// fitted into the first picture's size (scaled as large as it fits, sides in
// proportion, centred, the border filled with its edge pixels) and, with
// faces aligned, turned, scaled and shifted so that its eye centres lie on
// the first picture's. A picture's placement is found once and kept: the
// sequence reads its pictures twice rather than hold them all, and the
// second reading gives the same picture without looking for the face again.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/common/result.h"
#include "core/image/bitmap.h"
#include "core/image/similarity_warp.h"

namespace vesk::batch {

class SequencePictures {
 public:
  SequencePictures(std::vector<std::string> paths, bool align_faces);

  int Count() const { return static_cast<int>(paths_.size()); }
  const std::string& Name(int i) const { return paths_[static_cast<std::size_t>(i)]; }
  // The first picture's size, once it was read.
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Picture i as morphed; picture 0, which sets the size (and the eyes),
  // is asked for first. Failures name the picture.
  Result<Bitmap> Picture(int i);

 private:
  Result<Similarity> Placement(int i, const Bitmap& loaded);

  std::vector<std::string> paths_;
  bool align_faces_;
  std::vector<std::optional<Similarity>> placements_;
  int width_ = 0;
  int height_ = 0;
  PicturePoint eyes_[2];  // the first picture's eye centres
};

}  // namespace vesk::batch
