#include "sequencing/sequence_output.h"

#include <algorithm>
#include <cctype>

namespace vesk {

VideoOptions SequenceVideoOptions(const SequenceOptions& options) {
  return VideoOptions{options.fps, options.quality, options.lossless};
}

bool IsFrameListName(const std::string& path) {
  std::string lower = path;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower.ends_with(".any");
}

Status CheckSequenceOutput(const std::string& path, const SequenceOptions& options) {
  if (IsFrameListName(path)) return Status::Success();
  const std::optional<VideoFormat> format = VideoFormatOf(path);
  if (!format) return Failure{kSequenceOutputMessage};
  return CheckVideoOptions(*format, SequenceVideoOptions(options));
}

SequenceOutput::SequenceOutput() = default;
SequenceOutput::~SequenceOutput() = default;

Status SequenceOutput::Open(const std::string& path, const SequenceOptions& options, int width,
                            int height) {
  Status possible = CheckSequenceOutput(path, options);
  if (!possible) return possible;
  frames_written_ = 0;
  if (IsFrameListName(path)) {
    Status opened = list_.Open(path);
    if (!opened) return Failure{path + ": " + opened.Message()};
    return opened;
  }
  video_ = std::make_unique<VideoStream>();
  return video_->Open(path, width, height, SequenceVideoOptions(options));
}

Status SequenceOutput::Write(const Bitmap& frame) {
  Status written = video_ ? video_->Add(frame) : list_.WriteFrame(frame);
  if (written) ++frames_written_;
  return written;
}

Status SequenceOutput::CloseList(bool failed) {
  const std::string path = list_.ListPath();
  Status closed = list_.Close(failed);
  if (!closed) return Failure{path + ": " + closed.Message()};
  return closed;
}

Status SequenceOutput::Finish() {
  if (!video_) return CloseList(false);
  Status finished = video_->Finish();
  video_.reset();
  return finished;
}

Status SequenceOutput::Stop(bool failed) {
  video_.reset();  // unfinished: its file goes
  return CloseList(failed);
}

}  // namespace vesk
