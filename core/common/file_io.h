// Small file helpers shared by every reader and writer of the core: the file
// probes, whole-file reading, and the one way the program replaces a file.
#pragma once

#include <cstdint>
#include <cstddef>
#include <string>
#include <vector>

#include "core/common/result.h"

namespace vesk {

// The probe for a name chosen for writing (frame names, save targets): true
// when `name` is a regular file that can be opened for reading and writing
// and carries a write permission bit (checked by the bits, so a user the
// system would let write anyway, root, still counts a read-only file as
// missing). Never reports anything, never blocks on a FIFO.
bool FileFound(const std::string& name);

// The probe for a file the program only reads: true when `name` is a
// regular file that can be opened for reading.
bool FileReadable(const std::string& name);

// Why a file to be read cannot be, in words that follow its name: "File
// Not Found" when nothing has the name, "is a folder, not a file", "is not
// a regular file", or "cannot be read (<the system's reason>)".
Status CheckReadable(const std::string& name);

// Whether ReplacingWrite could write `name` now (a temporary file beside it,
// or the file itself in place), tried and dropped, so a long job finds out
// before it starts; the failure is ReplacingWrite's.
Status CheckWritable(const std::string& name);

// True when `name` is an existing file without any write permission bit:
// a file the user protected, which no save replaces.
bool WriteProtected(const std::string& name);

// Whole file as bytes, or the message "File Not Found" when it is not a
// regular file or cannot be opened for reading. Files larger than max_bytes
// are refused.
Result<std::vector<std::uint8_t>> ReadWholeFile(const std::string& name,
                                                std::uint64_t max_bytes = std::uint64_t{1} << 32);

// A file being written in place of `name`, the way every file of the program
// is saved. The bytes go to a temporary file beside the target, which Commit
// moves over it, so a failed or abandoned write leaves the previous file
// whole. Besides:
//  - an existing target without write permission bits, or a name that is not
//    a regular file (a folder, a FIFO, a device), is refused at Open with
//    "Cannot create file <name>";
//  - a symbolic link stays: the file it points to is replaced;
//  - the new file keeps the old file's permission bits, and its owner and
//    group where the process may set them;
//  - a writable file in a folder where no temporary file can be made is
//    rewritten in place (a failure then cannot keep the old content).
class ReplacingWrite {
 public:
  ReplacingWrite() = default;
  ~ReplacingWrite();
  ReplacingWrite(const ReplacingWrite&) = delete;
  ReplacingWrite& operator=(const ReplacingWrite&) = delete;

  Status Open(const std::string& name);
  bool IsOpen() const { return fd_ >= 0; }
  // Writes all of `size` bytes at the current position (unbuffered); a
  // failure answers "Cannot write file <name>: <the system's reason>"
  // (for example "No space left on device").
  Status Write(const void* data, std::size_t size);
  // Moves the position to `offset` from the start.
  Status Seek(std::uint64_t offset);
  // Cuts what was written back to `size` bytes.
  Status Truncate(std::uint64_t size);
  // Flushes, closes and puts the file in place of the target.
  Status Commit();
  // Closes and drops what was written; the previous file stays (unless it
  // was being rewritten in place).
  void Abandon();

 private:
  std::string name_;    // as given, for messages
  std::string target_;  // the file finally written, symbolic links followed
  std::string temp_;    // empty when rewriting in place
  int fd_ = -1;
  std::uint64_t position_ = 0;
  std::uint64_t end_ = 0;  // the length of what was written
};

// Writes bytes in place of `name` through ReplacingWrite.
Status WriteFileReplacing(const std::string& name, const std::vector<std::uint8_t>& bytes);

}  // namespace vesk
