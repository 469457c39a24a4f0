// The pictures of a sequence as they are morphed: each one read, fitted
// into the output size (scaled as large as it fits, sides in proportion,
// centred, the border filled with its edge pixels) and, with faces aligned,
// turned, scaled and shifted so that its eye centres lie on the first
// picture's. The output size is the one given, or the first picture's.
// Each picture is read and placed once, the first time it is asked for; it
// is then kept in a BitmapStore (in memory while the pictures are small,
// else in a nameless temporary file), so the render pass takes it from
// there, and so does the last pair of a loop.
//
// The export of the sequence window, `vesk-batch sequence` and the window's
// background work (meshing a pair, opening a pair, the player) all place
// pictures here, so a picture stands in the same pixels for all of them.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/common/result.h"
#include "core/image/bitmap.h"
#include "core/image/bitmap_store.h"
#include "core/image/similarity_warp.h"
#include "core/mesh/grid_mesh.h"
#include "core/sequence/sequence.h"
#include "match/face_landmarks.h"

namespace vesk {

// Pictures kept in memory up to this many bytes, the rest in the file:
// sixteen pictures of a megapixel; a 48-megapixel photo (192 MB) always
// goes to the file, which the render pass reads back at the disk's speed.
inline constexpr std::size_t kSequenceMemoryBudget = std::size_t{64} << 20;

class SequencePictures {
 public:
  // `output_size`: the frame's size; none: the first picture's.
  // `scratch_folder`: where the temporary file goes first (the output's
  // folder, which has room for the output anyway; empty: the current one).
  SequencePictures(std::vector<std::string> paths, bool align_faces,
                   std::optional<ImageSize> output_size, const std::string& scratch_folder);

  int Count() const { return static_cast<int>(paths_.size()); }
  const std::string& Name(int i) const { return paths_[static_cast<std::size_t>(i)]; }
  // The frame's size, once known (given, or the first picture read).
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Picture i as morphed. The first picture, which may set the size and
  // the eyes, is read first when it is needed. Failures name the picture.
  Result<Bitmap> Picture(int i);
  // Picture i's size as read (before it was placed), once it was read.
  std::optional<ImageSize> ReadSize(int i) const {
    return read_sizes_[static_cast<std::size_t>(i)];
  }
  // What is known of picture i's face, placed on the picture as morphed:
  // with faces aligned, the landmarks found for the alignment; else what
  // a pair's Auto Mesh found (KeepFace). A pair's Auto Mesh takes it
  // instead of looking for the face again.
  const std::optional<FaceLandmarks>& Face(int i) const {
    return faces_[static_cast<std::size_t>(i)];
  }
  void KeepFace(int i, const FaceLandmarks& face);

 private:
  // Reads and places picture i.
  Result<Bitmap> Place(int i);
  Result<Similarity> Placement(int i, const Bitmap& loaded);

  std::vector<std::string> paths_;
  bool align_faces_;
  bool size_given_;
  BitmapStore kept_;
  std::vector<bool> read_;
  std::vector<std::optional<ImageSize>> read_sizes_;
  std::vector<std::optional<FaceLandmarks>> faces_;
  int width_ = 0;
  int height_ = 0;
};

// The pictures of `sequence` placed by its options (output size, faces
// aligned).
std::unique_ptr<SequencePictures> PlaceSequencePictures(const Sequence& sequence,
                                                        const std::string& scratch_folder);
// Whether two states of a sequence place their pictures alike: the same
// files in the same order, the same output size and alignment.
bool PlacedAlike(const Sequence& a, const Sequence& b);

}  // namespace vesk
