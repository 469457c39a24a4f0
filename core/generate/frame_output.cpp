#include "core/generate/frame_output.h"

#include <cctype>
#include <filesystem>
#include <system_error>
#include <utility>

#include "core/common/file_io.h"
#include "core/common/file_name_rules.h"
#include "core/image/bmp_codec.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;

std::string JoinFolder(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return (fs::path(folder) / name).string();
}

}  // namespace

std::string FrameFileName(std::uint64_t n) { return "imag" + std::to_string(n) + ".bmp"; }

std::string NextFrameName(const std::string& folder) {
  for (std::uint64_t n = 1;; ++n) {
    std::string name = FrameFileName(n);
    if (!FileFound(JoinFolder(folder, name))) return name;
  }
}

std::string FrameListPathFor(const std::string& chosen) {
  return WithExtensionUnlessContained(chosen, ".ANY");
}

FrameListWriter::FrameListWriter(FrameListWriter&& other) noexcept
    : path_(std::exchange(other.path_, {})),
      temp_path_(std::exchange(other.temp_path_, {})),
      out_(std::move(other.out_)) {}

FrameListWriter& FrameListWriter::operator=(FrameListWriter&& other) noexcept {
  if (this != &other) {
    Close();
    path_ = std::exchange(other.path_, {});
    temp_path_ = std::exchange(other.temp_path_, {});
    out_ = std::move(other.out_);
  }
  return *this;
}

FrameListWriter::~FrameListWriter() { Close(); }

Status FrameListWriter::Create(const std::string& path) {
  Close();
  std::error_code ec;
  // An existing list is replaced; one that could not be rewritten in place
  // (read-only, or a folder) is refused as the runtime would refuse it.
  if (path.empty() || (fs::exists(path, ec) && !FileFound(path))) {
    return Failure{"Cannot create file " + path};
  }
  std::string temp = TemporaryNameFor(path);
  out_ = std::ofstream(temp, std::ios::binary | std::ios::trunc);
  if (!out_) {
    out_ = std::ofstream();
    return Failure{"Cannot create file " + path};
  }
  path_ = path;
  temp_path_ = std::move(temp);
  return Status::Success();
}

Status FrameListWriter::Append(const std::string& name) {
  if (!IsOpen()) return Failure{"The frame list is not open"};
  out_ << name << "\r\n";
  if (!out_) return Failure{"Cannot write file " + path_};
  return Status::Success();
}

Status FrameListWriter::Close() {
  if (!IsOpen()) return Status::Success();
  std::string path = std::move(path_);
  std::string temp = std::move(temp_path_);
  path_.clear();
  temp_path_.clear();
  out_.flush();
  bool written = static_cast<bool>(out_);
  out_.close();
  written = written && !out_.fail();
  out_ = std::ofstream();
  std::error_code ec;
  if (!written) {
    fs::remove(temp, ec);
    return Failure{"Cannot write file " + path};
  }
  return MoveIntoPlace(temp, path);
}

Status FrameOutput::Open(const std::string& chosen) {
  Close();
  folder_.clear();
  frames_written_ = 0;
  std::string path = FrameListPathFor(chosen);
  Status created = list_.Create(path);
  if (!created) return created;
  folder_ = fs::path(path).parent_path().string();
  return Status::Success();
}

Status FrameOutput::WriteFrame(const Bitmap& frame) {
  if (!IsOpen()) return Status::Success();
  std::string name = NextFrameName(folder_);
  Status saved = SaveBmpFile(JoinFolder(folder_, name), frame);
  if (!saved) return saved;
  Status listed = list_.Append(name);
  if (!listed) return listed;
  ++frames_written_;
  return Status::Success();
}

Status FrameOutput::Close() { return list_.Close(); }

}  // namespace vesk
