// The video options that `video` and `sequence` share: --fps F,
// --quality Q and --lossless, read into the writer's VideoOptions.
#pragma once

#include <initializer_list>
#include <string>

#include "batch/batch_support.h"
#include "video/video_writer.h"

namespace vesk::batch {

// The option rules to pass to CommandLine::Parse beside a command's own.
inline constexpr OptionRule kFpsOption{"--fps", 1};
inline constexpr OptionRule kQualityOption{"--quality", 1};
inline constexpr OptionRule kLosslessOption{"--lossless", 0};

// The options as given, `default_fps` and `default_quality` when --fps and
// --quality are absent; a value out of range, or lossless for a format that
// has none, fails with its message.
Result<VideoOptions> VideoOptionsOf(const CommandLine& line, const std::string& out_path,
                                    int default_fps, int default_quality = kVideoDefaultQuality);

}  // namespace vesk::batch
