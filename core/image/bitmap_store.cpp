#include "core/image/bitmap_store.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace vesk {
namespace {

std::string Reason(int code) { return std::strerror(code); }

// A file without a name in `folder`: O_TMPFILE where the file system has
// it, else a made name taken away at once.
int NamelessFile(const std::string& folder) {
  int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (fd >= 0) return fd;
  std::string name = folder + "/vesk-pictures-XXXXXX";
  fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd >= 0) ::unlink(name.c_str());
  return fd;
}

}  // namespace

BitmapStore::BitmapStore(std::size_t memory_budget, std::vector<std::string> folders)
    : budget_(memory_budget), folders_(std::move(folders)) {}

BitmapStore::~BitmapStore() {
  if (fd_ >= 0) ::close(fd_);
}

Status BitmapStore::OpenFile() {
  int code = ENOENT;
  for (std::string folder : folders_) {
    if (folder.empty()) {
      std::error_code error;
      folder = std::filesystem::temp_directory_path(error).string();
      if (error) continue;
    }
    fd_ = NamelessFile(folder);
    if (fd_ >= 0) return Status::Success();
    code = errno;
  }
  return Failure{"Cannot make a temporary file for the pictures (" + Reason(code) + ")"};
}

Status BitmapStore::Put(std::size_t index, const Bitmap& picture) {
  if (entries_.size() <= index) entries_.resize(index + 1);
  Entry& entry = entries_[index];
  if (!entry.in_file) in_memory_ -= entry.picture.Width() * std::size_t{4} * entry.picture.Height();
  entry = Entry{picture.Width(), picture.Height(), false, 0, Bitmap()};
  const std::size_t bytes = std::size_t{4} * picture.Width() * picture.Height();
  if (in_memory_ + bytes <= budget_) {
    entry.picture = picture;
    in_memory_ += bytes;
    return Status::Success();
  }
  if (fd_ < 0) {
    Status opened = OpenFile();
    if (!opened) return opened;
  }
  const auto* data = reinterpret_cast<const char*>(picture.Row(0));
  std::size_t done = 0;
  while (done < bytes) {
    const ssize_t n = ::pwrite(fd_, data + done, bytes - done,
                               static_cast<off_t>(file_end_ + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      return Failure{"Cannot keep the pictures in a temporary file (" +
                     Reason(n < 0 ? errno : ENOSPC) + ")"};
    }
    done += static_cast<std::size_t>(n);
  }
  entry.in_file = true;
  entry.offset = file_end_;
  file_end_ += bytes;
  return Status::Success();
}

Result<Bitmap> BitmapStore::Get(std::size_t index) const {
  if (index >= entries_.size()) return Bitmap();
  const Entry& entry = entries_[index];
  if (!entry.in_file) return entry.picture;
  Bitmap picture(entry.width, entry.height);
  auto* data = reinterpret_cast<char*>(picture.Row(0));
  const std::size_t bytes = std::size_t{4} * entry.width * entry.height;
  std::size_t done = 0;
  while (done < bytes) {
    const ssize_t n = ::pread(fd_, data + done, bytes - done,
                              static_cast<off_t>(entry.offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      return Failure{"Cannot read the pictures' temporary file back (" +
                     Reason(n < 0 ? errno : EIO) + ")"};
    }
    done += static_cast<std::size_t>(n);
  }
  return picture;
}

}  // namespace vesk
