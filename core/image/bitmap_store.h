// Pictures put aside to be used again later, within a bound on memory: they
// stay in memory while those held there take at most `memory_budget`
// bytes, and the rest go to a temporary file that has no name, so it
// disappears with the store or the process, whatever happens. A sequence
// of many 48-megapixel photos then decodes each photo once and still holds
// only a few in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/common/result.h"
#include "core/image/bitmap.h"

namespace vesk {

class BitmapStore {
 public:
  // The temporary file is made in the first of `folders` that takes one
  // (an empty name: the system's temporary folder).
  BitmapStore(std::size_t memory_budget, std::vector<std::string> folders);
  ~BitmapStore();
  BitmapStore(const BitmapStore&) = delete;
  BitmapStore& operator=(const BitmapStore&) = delete;

  // Keeps a copy of `picture` as number `index`, in place of any kept under
  // it before. A failure (no temporary file, a full disk) says so with the
  // system's reason.
  Status Put(std::size_t index, const Bitmap& picture);
  // The picture kept as `index`; an empty one when none was.
  Result<Bitmap> Get(std::size_t index) const;

  std::size_t BytesInMemory() const { return in_memory_; }
  std::uint64_t BytesInFile() const { return file_end_; }

 private:
  struct Entry {
    int width = 0;
    int height = 0;
    bool in_file = false;
    std::uint64_t offset = 0;
    Bitmap picture;  // when in memory
  };
  Status OpenFile();

  std::size_t budget_;
  std::vector<std::string> folders_;
  std::vector<Entry> entries_;
  std::size_t in_memory_ = 0;
  int fd_ = -1;
  std::uint64_t file_end_ = 0;
};

}  // namespace vesk
