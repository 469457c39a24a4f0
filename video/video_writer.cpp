#include "video/video_writer.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "video/video_stream.h"

namespace vesk {
namespace {

Status EncodeAll(AviFrameSource& frames, const std::string& out_path, const VideoOptions& options,
                 const AviCounter& counter, const VideoCancel& cancelled) {
  const int count = frames.FrameCount();
  Result<const Bitmap*> first = frames.Frame(0);
  if (!first.Ok()) return Failure{first.Message()};
  if (first.Value()->Empty()) return Failure{kAviEmptyFrameMessage};
  const int width = first.Value()->Width();
  const int height = first.Value()->Height();

  VideoStream video;
  Status opened = video.Open(out_path, width, height, options);
  if (!opened) return opened;
  Bitmap scaled;  // frames of another size, made once when first needed
  for (int i = 0; i < count; ++i) {
    if (cancelled && cancelled()) return Failure{kVideoCancelledMessage};
    if (counter) counter(i + 1, count);
    Result<const Bitmap*> frame = FrameAtSize(frames, i, width, height, scaled);
    if (!frame.Ok()) return Failure{frame.Message()};
    const Bitmap* bitmap = frame.Value();
    Status added = video.Add(*bitmap);
    if (!added) return added;
  }
  return video.Finish();
}

}  // namespace

std::optional<VideoFormat> VideoFormatOf(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == ".mp4") return VideoFormat::kMp4;
  if (extension == ".webm") return VideoFormat::kWebm;
  if (extension == ".gif") return VideoFormat::kGif;
  return std::nullopt;
}

Status CheckVideoOptions(VideoFormat format, const VideoOptions& options) {
  if (options.fps < 1 || options.fps > kVideoMaxFps) {
    return Failure{"The frame rate must lie between 1 and " + std::to_string(kVideoMaxFps)};
  }
  if (options.quality < 0 || options.quality > kVideoMaxQuality) {
    return Failure{"The quality must lie between 0 and " + std::to_string(kVideoMaxQuality)};
  }
  if (options.lossless && format == VideoFormat::kMp4) {
    return Failure{"Lossless video is written as WebM: browsers and phones do not play "
                   "lossless H.264"};
  }
  if (options.lossless && format == VideoFormat::kGif) {
    return Failure{"Lossless video is written as WebM: a GIF keeps at most 256 colours a frame"};
  }
  return Status::Success();
}

Status WriteVideoFile(AviFrameSource& frames, const std::string& out_path,
                      const VideoOptions& options, const AviCounter& counter,
                      const VideoCancel& cancelled) {
  const std::optional<VideoFormat> format = VideoFormatOf(out_path);
  if (!format) return Failure{kVideoUnknownFormatMessage};
  if (frames.FrameCount() <= 0) return Failure{kVideoEmptyListMessage};
  Status possible = CheckVideoOptions(*format, options);
  if (!possible) return possible;
  // An export that fails or is cancelled abandons its file: the old one stays.
  return EncodeAll(frames, out_path, options, counter, cancelled);
}

Status WriteVideoFile(const std::vector<const Bitmap*>& frames, const std::string& out_path,
                      const VideoOptions& options, const AviCounter& counter,
                      const VideoCancel& cancelled) {
  BitmapListFrames source(frames);
  return WriteVideoFile(source, out_path, options, counter, cancelled);
}

}  // namespace vesk
