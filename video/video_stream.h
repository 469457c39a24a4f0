// A video written frame by frame, for frames made one at a time that would
// not all fit in memory (a sequence's). Format, encoders, quality and the
// padding of odd sizes are WriteVideoFile's (video_writer.h). The file is
// written beside its name and put in place by Finish, so a stream dropped
// unfinished (after an error or Ctrl+C) leaves no file and keeps an older one.
#pragma once

#include <memory>
#include <string>

#include "core/common/result.h"
#include "core/image/bitmap.h"
#include "video/video_writer.h"

namespace vesk {

class VideoStream {
 public:
  VideoStream();
  ~VideoStream();
  VideoStream(const VideoStream&) = delete;
  VideoStream& operator=(const VideoStream&) = delete;

  // Starts the file for frames of width x height, after CheckVideoOptions
  // for the format of the name's extension.
  Status Open(const std::string& path, int width, int height, const VideoOptions& options);
  // Adds a frame of the size given to Open; another size is refused.
  Status Add(const Bitmap& frame);
  // Ends the video and puts the file in place.
  Status Finish();

 private:
  class Encoder;
  std::unique_ptr<Encoder> encoder_;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace vesk
