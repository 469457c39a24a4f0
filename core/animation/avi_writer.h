// Writing a list of bitmaps as an uncompressed AVI file: the AVI creator's
// "Create AVI file from frame list". One video stream at 2 frames per
// second, every frame a 24-bit key frame in the size of the first frame.
//
// The first frame sets the format. A frame of another size is scaled to the
// first frame's size (nearest neighbour). An empty list writes nothing and
// says so; a file that would pass 1 GiB is refused before anything is
// written. A failed write ends with "Could not add frame", keeping the
// frames written before it; any other failure leaves the previous file.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/common/result.h"
#include "core/image/bitmap.h"

namespace vesk {

inline constexpr char kAviEmptyListMessage[] = "The frame list holds no frame: no AVI file was written";
inline constexpr char kAviTooLargeMessage[] =
    "The AVI file would be larger than 1 GiB: no AVI file was written";
inline constexpr char kAviEmptyFrameMessage[] = "A frame has no pixels: no AVI file was written";
inline constexpr char kAviAddFrameMessage[] = "Could not add frame";

// Frames handed to the writer one at a time, in list order.
class AviFrameSource {
 public:
  virtual ~AviFrameSource() = default;
  virtual int FrameCount() const = 0;
  // Frame `index` (0-based), valid until the next call; a failure ends the
  // writing with its message and the previous file stays.
  virtual Result<const Bitmap*> Frame(int index) = 0;
};

// Frames already in memory; a null entry fails with kAviEmptyFrameMessage.
class BitmapListFrames : public AviFrameSource {
 public:
  explicit BitmapListFrames(const std::vector<const Bitmap*>& frames) : frames_(frames) {}
  int FrameCount() const override { return static_cast<int>(frames_.size()); }
  Result<const Bitmap*> Frame(int index) override;

 private:
  const std::vector<const Bitmap*>& frames_;
};

// Progress: called with (i, n) before frame i of n (1-based) is converted.
using AviCounter = std::function<void(int, int)>;

Status WriteAviFile(AviFrameSource& frames, const std::string& out_path, const AviCounter& counter);
Status WriteAviFile(const std::vector<const Bitmap*>& frames, const std::string& out_path,
                    const AviCounter& counter);

// Frame `index` of `frames` at width x height: the frame itself when it has
// that size, else its nearest-neighbour copy in `scaled` (sized on first
// use). An empty frame fails with kAviEmptyFrameMessage.
Result<const Bitmap*> FrameAtSize(AviFrameSource& frames, int index, int width, int height,
                                  Bitmap& scaled);

// Nearest-neighbour copy of `source` into all of `target`:
// target (x, y) takes source (x * sw / tw, y * sh / th).
void ScaleNearest(const Bitmap& source, Bitmap& target);

}  // namespace vesk
