// Writing the frames of a frame list straight to an AVI file, loading one
// BMP frame at a time: what the batch tool's "avi" command does.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/animation/avi_writer.h"
#include "core/common/result.h"
#include "core/image/bitmap.h"

namespace vesk {

// BMP frame files handed to the AVI writer one at a time; only the frame
// last asked for is held. A file that cannot be loaded answers
// "<name>: <loader's message>".
class BmpFileFrames : public AviFrameSource {
 public:
  explicit BmpFileFrames(std::vector<std::string> names) : names_(std::move(names)) {}
  int FrameCount() const override { return static_cast<int>(names_.size()); }
  Result<const Bitmap*> Frame(int index) override;

 private:
  std::vector<std::string> names_;
  Bitmap frame_;
  int loaded_index_ = -1;
};

// Writes the BMP files `frame_files` (names used as given) as an AVI file at
// `out_path`, with the rules of WriteAviFile. A frame that cannot be loaded
// ends the writing with "<name>: <loader's message>" and leaves the previous
// file. `counter` (may be empty) gets (i, n) before frame i of n.
Status WriteAviFromList(const std::vector<std::string>& frame_files, const std::string& out_path,
                        const std::function<void(int, int)>& counter);

}  // namespace vesk
