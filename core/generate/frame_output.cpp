#include "core/generate/frame_output.h"

#include <cctype>
#include <filesystem>
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
      out_(std::move(other.out_)),
      length_(std::exchange(other.length_, 0)) {}

FrameListWriter& FrameListWriter::operator=(FrameListWriter&& other) noexcept {
  if (this != &other) {
    Close();
    path_ = std::exchange(other.path_, {});
    out_ = std::move(other.out_);
    length_ = std::exchange(other.length_, 0);
  }
  return *this;
}

FrameListWriter::~FrameListWriter() { Close(); }

Status FrameListWriter::Create(const std::string& path) {
  Close();
  auto out = std::make_unique<ReplacingWrite>();
  Status opened = out->Open(path);
  if (!opened) return opened;
  path_ = path;
  out_ = std::move(out);
  length_ = 0;
  return Status::Success();
}

Status FrameListWriter::Append(const std::string& name) {
  if (!IsOpen()) return Failure{"The frame list is not open"};
  const std::string line = name + "\r\n";
  Status written = out_->Write(line.data(), line.size());
  if (!written) {
    // Cutting back frees what it took, so this works on a full disk too.
    if (out_->Truncate(length_) && out_->Seek(length_)) return written;
    Abandon();  // a list that cannot be kept whole is not kept
    return written;
  }
  length_ += line.size();
  return written;
}

Status FrameListWriter::Close() {
  if (!IsOpen()) return Status::Success();
  path_.clear();
  std::unique_ptr<ReplacingWrite> out = std::move(out_);
  return out->Commit();
}

void FrameListWriter::Abandon() {
  if (!IsOpen()) return;
  path_.clear();
  out_->Abandon();
  out_.reset();
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

Status FrameOutput::Close(bool run_failed) {
  if (run_failed && frames_written_ == 0) {
    list_.Abandon();
    return Status::Success();
  }
  return list_.Close();
}

}  // namespace vesk
