// The pictures of `vesk-batch sequence` as they are morphed: each one read,
// fitted into the first picture's size (scaled as large as it fits, sides
// in proportion, centred, the border filled with its edge pixels) and, with
// faces aligned, turned, scaled and shifted so that its eye centres lie on
// the first picture's. Each picture is read and placed once: the first
// time it is asked for; it is then kept in a BitmapStore (in memory while
// the pictures are small, else in a nameless temporary file beside the
// output), so the render pass takes it from there, and so does the last
// pair of a loop.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/common/result.h"
#include "core/image/bitmap.h"
#include "core/image/bitmap_store.h"
#include "core/image/similarity_warp.h"
#include "match/face_landmarks.h"

namespace vesk::batch {

// Pictures kept in memory up to this many bytes, the rest in the file:
// sixteen pictures of a megapixel; a 48-megapixel photo (192 MB) always
// goes to the file, which the render pass reads back at the disk's speed.
inline constexpr std::size_t kSequenceMemoryBudget = std::size_t{64} << 20;

class SequencePictures {
 public:
  // `scratch_folder`: where the temporary file goes first (the output's
  // folder, which has room for the output anyway).
  SequencePictures(std::vector<std::string> paths, bool align_faces,
                   const std::string& scratch_folder);

  int Count() const { return static_cast<int>(paths_.size()); }
  const std::string& Name(int i) const { return paths_[static_cast<std::size_t>(i)]; }
  // The first picture's size, once it was read.
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Picture i as morphed; picture 0, which sets the size (and the eyes),
  // is asked for first. Failures name the picture.
  Result<Bitmap> Picture(int i);
  // With faces aligned, the landmarks of picture i's face as found for the
  // alignment, placed on the picture as morphed (none before it was read):
  // what a pair's Auto Mesh can take instead of looking for the face again.
  const std::optional<FaceLandmarks>& Face(int i) const {
    return faces_[static_cast<std::size_t>(i)];
  }

 private:
  Result<Similarity> Placement(int i, const Bitmap& loaded);

  std::vector<std::string> paths_;
  bool align_faces_;
  BitmapStore kept_;
  std::vector<bool> read_;
  std::vector<std::optional<FaceLandmarks>> faces_;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace vesk::batch
