#include "core/animation/avi_from_list.h"

#include "core/animation/avi_writer.h"
#include "core/image/bmp_codec.h"

namespace vesk {
namespace {

// Loads each frame when the writer asks for it; only one is held at a time.
class FileListSource : public AviFrameSource {
 public:
  explicit FileListSource(const std::vector<std::string>& names) : names_(names) {}
  int FrameCount() const override { return static_cast<int>(names_.size()); }
  Result<const Bitmap*> Frame(int index) override {
    if (index != loaded_index_) {
      const std::string& name = names_[static_cast<std::size_t>(index)];
      Result<Bitmap> loaded = LoadBmpFile(name);
      if (!loaded.Ok()) return Failure{name + ": " + loaded.Message()};
      frame_ = std::move(loaded).Value();
      loaded_index_ = index;
    }
    return &frame_;
  }

 private:
  const std::vector<std::string>& names_;
  Bitmap frame_;
  int loaded_index_ = -1;
};

}  // namespace

Status WriteAviFromList(const std::vector<std::string>& frame_files, const std::string& out_path,
                        const std::function<void(int, int)>& counter) {
  FileListSource source(frame_files);
  return WriteAviFile(source, out_path, counter);
}

}  // namespace vesk
