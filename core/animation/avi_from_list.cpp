#include "core/animation/avi_from_list.h"

#include "core/image/bmp_codec.h"

namespace vesk {

Result<const Bitmap*> BmpFileFrames::Frame(int index) {
  if (index != loaded_index_) {
    const std::string& name = names_.at(static_cast<std::size_t>(index));
    Result<Bitmap> loaded = LoadBmpFile(name);
    if (!loaded.Ok()) return Failure{name + ": " + loaded.Message()};
    frame_ = std::move(loaded).Value();
    loaded_index_ = index;
  }
  return &frame_;
}

Status WriteAviFromList(const std::vector<std::string>& frame_files, const std::string& out_path,
                        const std::function<void(int, int)>& counter) {
  BmpFileFrames source(frame_files);
  return WriteAviFile(source, out_path, counter);
}

}  // namespace vesk
