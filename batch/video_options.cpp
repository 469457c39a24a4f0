#include "batch/video_options.h"

namespace vesk::batch {

Result<VideoOptions> VideoOptionsOf(const CommandLine& line, const std::string& out_path,
                                    int default_fps, int default_quality) {
  VideoOptions options;
  auto fps = line.IntValue("--fps", default_fps, 1, kVideoMaxFps);
  if (!fps) return Failure{fps.Message()};
  auto quality = line.IntValue("--quality", default_quality, 0, kVideoMaxQuality);
  if (!quality) return Failure{quality.Message()};
  options.fps = fps.Value();
  options.quality = quality.Value();
  options.lossless = line.Has("--lossless");
  const std::optional<VideoFormat> format = VideoFormatOf(out_path);
  if (!format) return Failure{kVideoUnknownFormatMessage};
  Status possible = CheckVideoOptions(*format, options);
  if (!possible) return Failure{possible.Message()};
  return options;
}

}  // namespace vesk::batch
