#include "core/common/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace vesk {
namespace {

namespace fs = std::filesystem;

bool HasWriteBit(mode_t mode) { return (mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0; }

bool StatRegular(const std::string& name, struct stat& st) {
  return !name.empty() && ::stat(name.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Opens a name already seen to be a regular file. O_NONBLOCK keeps a FIFO
// put there in the meantime from hanging the open; fstat refuses it after.
int OpenRegular(const std::string& name, int flags) {
  int fd = ::open(name.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) return -1;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return -1;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

bool CanOpen(const std::string& name, int flags) {
  int fd = OpenRegular(name, flags);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

// The file a chain of symbolic links ends at (the name itself when it is
// no link); a dangling link answers the missing file it names.
std::string FollowLinks(const std::string& name) {
  fs::path path = name;
  for (int hops = 0; hops < 40; ++hops) {
    std::error_code ec;
    if (!fs::is_symlink(path, ec)) break;
    fs::path to = fs::read_symlink(path, ec);
    if (ec) break;
    path = to.is_absolute() ? to : path.parent_path() / to;
  }
  return path.string();
}

// "Cannot write file <name>: <the system's reason>" for the error `code`.
Failure WriteFailure(const std::string& name, int code) {
  const std::string reason = code != 0 ? ": " + std::string(std::strerror(code)) : "";
  return Failure{"Cannot write file " + name + reason};
}

}  // namespace

bool FileFound(const std::string& name) {
  struct stat st;
  return StatRegular(name, st) && HasWriteBit(st.st_mode) && CanOpen(name, O_RDWR);
}

bool FileReadable(const std::string& name) {
  struct stat st;
  return StatRegular(name, st) && CanOpen(name, O_RDONLY);
}

Status CheckReadable(const std::string& name) {
  struct stat st;
  if (name.empty() || ::stat(name.c_str(), &st) != 0) {
    if (!name.empty() && errno != ENOENT && errno != ENOTDIR) {
      return Failure{"cannot be read (" + std::string(std::strerror(errno)) + ")"};
    }
    return Failure{"File Not Found"};
  }
  if (S_ISDIR(st.st_mode)) return Failure{"is a folder, not a file"};
  if (!S_ISREG(st.st_mode)) return Failure{"is not a regular file"};
  const int fd = OpenRegular(name, O_RDONLY);
  if (fd < 0) return Failure{"cannot be read (" + std::string(std::strerror(errno)) + ")"};
  ::close(fd);
  return Status::Success();
}

Status CheckWritable(const std::string& name) {
  ReplacingWrite probe;
  Status opened = probe.Open(name);
  probe.Abandon();
  return opened;
}

bool WriteProtected(const std::string& name) {
  struct stat st;
  return StatRegular(name, st) && !HasWriteBit(st.st_mode);
}

Result<std::vector<std::uint8_t>> ReadWholeFile(const std::string& name, std::uint64_t max_bytes) {
  struct stat st;
  if (!StatRegular(name, st)) return Failure{"File Not Found"};
  int fd = OpenRegular(name, O_RDONLY);
  if (fd < 0) return Failure{"File Not Found"};
  std::vector<std::uint8_t> bytes;
  const bool fits = ::fstat(fd, &st) == 0 && static_cast<std::uint64_t>(st.st_size) <= max_bytes;
  if (fits) bytes.resize(static_cast<std::size_t>(st.st_size));
  std::size_t got = 0;
  while (fits && got < bytes.size()) {
    ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  ::close(fd);
  if (!fits) return Failure{"File is too large: " + name};
  if (got != bytes.size()) return Failure{"Could not read " + name};
  return bytes;
}

ReplacingWrite::~ReplacingWrite() { Abandon(); }

Status ReplacingWrite::Open(const std::string& name) {
  Abandon();
  name_ = name;
  const Failure refused{"Cannot create file " + name};
  if (name.empty()) return refused;
  target_ = FollowLinks(name);
  struct stat old;
  const bool existed = ::stat(target_.c_str(), &old) == 0;
  // Protected by its bits (also for root), not a file at all, or one the
  // system would not let this user write: never replaced.
  if (existed && (!S_ISREG(old.st_mode) || !HasWriteBit(old.st_mode) ||
                  !CanOpen(target_, O_WRONLY))) {
    return refused;
  }
  temp_ = target_ + ".vesk-tmp";
  // A folder without write bits takes no temporary file, for root as well.
  fs::path folder = fs::path(target_).parent_path();
  struct stat folder_stat;
  const bool folder_writable =
      ::stat(folder.empty() ? "." : folder.c_str(), &folder_stat) == 0 &&
      HasWriteBit(folder_stat.st_mode);
  if (folder_writable || !existed) {
    ::unlink(temp_.c_str());  // a stale one, or a link planted under that name
    fd_ = OpenRegular(temp_, O_WRONLY | O_CREAT | O_EXCL);
  }
  if (fd_ >= 0 && existed) {
    // Owner first: a change of owner may clear the set-id bits again.
    if (::fchown(fd_, old.st_uid, old.st_gid) != 0) {
      [[maybe_unused]] int ignored = ::fchown(fd_, static_cast<uid_t>(-1), old.st_gid);
    }
    ::fchmod(fd_, old.st_mode & 07777);
  } else if (fd_ < 0 && existed) {
    temp_.clear();
    fd_ = OpenRegular(target_, O_WRONLY);
  }
  if (fd_ < 0) {
    temp_.clear();
    return refused;
  }
  position_ = 0;
  end_ = 0;
  return Status::Success();
}

Status ReplacingWrite::Write(const void* data, std::size_t size) {
  if (fd_ < 0) return WriteFailure(name_, 0);
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  std::size_t done = 0;
  int code = 0;
  while (done < size) {
    ssize_t n = ::write(fd_, bytes + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      code = n < 0 ? errno : ENOSPC;  // a regular file takes nothing more only when full
      break;
    }
    done += static_cast<std::size_t>(n);
  }
  position_ += done;
  end_ = std::max(end_, position_);
  if (done != size) return WriteFailure(name_, code);
  return Status::Success();
}

Status ReplacingWrite::Seek(std::uint64_t offset) {
  if (fd_ < 0 || ::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) < 0) {
    return WriteFailure(name_, fd_ < 0 ? 0 : errno);
  }
  position_ = offset;
  return Status::Success();
}

Status ReplacingWrite::Truncate(std::uint64_t size) {
  if (fd_ < 0 || ::ftruncate(fd_, static_cast<off_t>(size)) != 0) {
    return WriteFailure(name_, fd_ < 0 ? 0 : errno);
  }
  end_ = size;
  return Status::Success();
}

Status ReplacingWrite::Commit() {
  if (fd_ < 0) return WriteFailure(name_, 0);
  // Rewritten in place: the old file may have been longer.
  int code = 0;
  if (temp_.empty() && ::ftruncate(fd_, static_cast<off_t>(end_)) != 0) code = errno;
  if (::close(fd_) != 0 && code == 0) code = errno;  // a delayed write may fail only here
  fd_ = -1;
  const std::string temp = std::move(temp_);
  temp_.clear();
  if (temp.empty()) return code == 0 ? Status::Success() : Status(WriteFailure(name_, code));
  if (code == 0 && std::rename(temp.c_str(), target_.c_str()) != 0) code = errno;
  if (code != 0) {
    ::unlink(temp.c_str());
    return WriteFailure(name_, code);
  }
  return Status::Success();
}

void ReplacingWrite::Abandon() {
  if (fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
}

Status WriteFileReplacing(const std::string& name, const std::vector<std::uint8_t>& bytes) {
  ReplacingWrite file;
  Status opened = file.Open(name);
  if (!opened) return opened;
  Status written = file.Write(bytes.data(), bytes.size());
  if (!written) return written;
  return file.Commit();
}

}  // namespace vesk
