// Where the frames of a sequence go, chosen by the name's ending: an MP4,
// WebM or GIF video streamed into the encoder frame by frame
// (video/video_stream.h), or a frame list (".any") with its frame files
// (core/generate/frame_output.h). The export of the sequence window and
// `vesk-batch sequence` write through it, so the same frames make the same
// files.
#pragma once

#include <memory>
#include <string>

#include "core/common/result.h"
#include "core/generate/frame_output.h"
#include "core/sequence/sequence_options.h"
#include "video/video_stream.h"

namespace vesk {

inline constexpr char kSequenceOutputMessage[] =
    "A sequence is written to a video (.mp4, .webm, .gif) or a frame list (.any)";

// The video writer's options of a sequence: its frame rate, quality and
// lossless switch.
VideoOptions SequenceVideoOptions(const SequenceOptions& options);
// True for a name ending in ".any" (any letter case).
bool IsFrameListName(const std::string& path);

// Refuses, before any work, a name with another ending
// (kSequenceOutputMessage) and options the video format cannot take
// (lossless MP4 or GIF), with the video writer's message.
Status CheckSequenceOutput(const std::string& path, const SequenceOptions& options);

class SequenceOutput {
 public:
  SequenceOutput();
  ~SequenceOutput();
  SequenceOutput(const SequenceOutput&) = delete;
  SequenceOutput& operator=(const SequenceOutput&) = delete;

  // Starts the video (width x height frames) or the frame list.
  Status Open(const std::string& path, const SequenceOptions& options, int width, int height);
  Status Write(const Bitmap& frame);
  // Puts the video in place, or closes the frame list.
  Status Finish();
  // After a failure (`failed`) or a cancel: no video is left (an older file
  // under the name stays); a frame list names exactly the frames written
  // (no list after a failure before the first frame, FrameOutput::Close).
  Status Stop(bool failed);

  bool IsVideo() const { return video_ != nullptr; }
  int FramesWritten() const { return frames_written_; }
  // The frame list as written (with ".any" added when it was); failures
  // of the list name it, failures of a video are the encoder's.
  const std::string& ListPath() const { return list_.ListPath(); }

 private:
  Status CloseList(bool failed);

  std::unique_ptr<VideoStream> video_;
  FrameOutput list_;
  int frames_written_ = 0;
};

}  // namespace vesk
