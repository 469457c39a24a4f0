// vesk-batch colorize FIRST SECOND [--frames N] [--list OUT.any]: the
// cross-fade from the first image to the second, N + 1 frames.
#include <cstdint>
#include <iostream>
#include <string>
#include <vector>

#include "batch/batch_support.h"
#include "core/effects/colorize.h"

namespace vesk::batch {
namespace {

constexpr const char* kUsage = "colorize FIRST SECOND [--frames N] [--list OUT.any]";

int RunColorize(const std::vector<std::string>& args) {
  auto line = CommandLine::Parse(args, 2, {{"--frames", 1}, {"--list", 1}});
  if (!line) return ReportUsage(kUsage, line.Message());
  auto frames = line.Value().IntValue("--frames", 12, 1, 100);
  if (!frames) return ReportUsage(kUsage, frames.Message());

  auto first = LoadImageFile(line.Value().Positional()[0]);
  if (!first) return ReportBadInput(first.Message());
  auto second = LoadImageFile(line.Value().Positional()[1]);
  if (!second) return ReportBadInput(second.Message());

  std::uint16_t frame_count = static_cast<std::uint16_t>(frames.Value());
  if (RaiseColorizeFrameCount(frame_count) != frame_count) {
    std::cout << "colorize: frame count " << frame_count << " raised to "
              << RaiseColorizeFrameCount(frame_count) << std::endl;
  }
  Bitmap vesk;
  return RunFrameCommand("colorize", line.Value().Value("--list"), [&](RunProtocol& run) {
    return Colorize(first.Value(), second.Value(), frame_count, run, vesk);
  });
}

}  // namespace

VESK_BATCH_COMMAND({"colorize", kUsage, &RunColorize});

}  // namespace vesk::batch
