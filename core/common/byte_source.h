// Bytes read at any offset of a file or of a buffer, for the parsers that
// walk a file's structure without reading all of it: the EXIF block of a
// 48-megapixel photo lies in its first kilobytes, a WebP file's at its end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace vesk {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual std::uint64_t Size() const = 0;
  // Fills `out` with the bytes from `offset` on; false, and `out` in no
  // particular state, when they are not all there.
  virtual bool Read(std::uint64_t offset, std::span<std::uint8_t> out) const = 0;
};

class MemoryBytes final : public ByteSource {
 public:
  explicit MemoryBytes(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::uint64_t Size() const override { return bytes_.size(); }
  bool Read(std::uint64_t offset, std::span<std::uint8_t> out) const override;

 private:
  std::span<const std::uint8_t> bytes_;
};

// A regular file opened for reading; a file that cannot be opened reads as
// empty.
class FileBytes final : public ByteSource {
 public:
  explicit FileBytes(const std::string& path);
  ~FileBytes() override;
  FileBytes(const FileBytes&) = delete;
  FileBytes& operator=(const FileBytes&) = delete;
  std::uint64_t Size() const override { return size_; }
  bool Read(std::uint64_t offset, std::span<std::uint8_t> out) const override;

 private:
  int fd_ = -1;
  std::uint64_t size_ = 0;
};

}  // namespace vesk
