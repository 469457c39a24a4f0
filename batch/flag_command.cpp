// vesk-batch flag IMAGE [--frames N] [--radius R] [--hq Q] [--vq Q]
// [--list OUT.any]: the image waving like a flag, N frames.
#include <string>
#include <vector>

#include "batch/batch_support.h"
#include "core/effects/flag_streaming.h"

namespace vesk::batch {
namespace {

constexpr const char* kUsage =
    "flag IMAGE [--frames N] [--radius R] [--hq Q] [--vq Q] [--list OUT.any]";

int RunFlag(const std::vector<std::string>& args) {
  auto line = CommandLine::Parse(
      args, 1, {{"--frames", 1}, {"--radius", 1}, {"--hq", 1}, {"--vq", 1}, {"--list", 1}});
  if (!line) return ReportUsage(kUsage, line.Message());
  // The ranges of the program's own editors.
  auto frames = line.Value().IntValue("--frames", 12, 1, 100);
  if (!frames) return ReportUsage(kUsage, frames.Message());
  auto radius = line.Value().IntValue("--radius", 10, 1, 15);
  if (!radius) return ReportUsage(kUsage, radius.Message());
  auto horz = line.Value().IntValue("--hq", 3, 0, 10);
  if (!horz) return ReportUsage(kUsage, horz.Message());
  auto vert = line.Value().IntValue("--vq", 3, 0, 10);
  if (!vert) return ReportUsage(kUsage, vert.Message());

  auto image = LoadImageFile(line.Value().Positional()[0]);
  if (!image) return ReportBadInput(image.Message());
  // Refused before the frame list is made, so a refused run leaves no list.
  const Status size = CheckFlagFrameSize(image.Value().Width(), image.Value().Height(),
                                         radius.Value());
  if (!size) return ReportBadInput(size.Message());

  FlagStreamingValues values;
  values.flag_radius = radius.Value();
  values.horz_quotient = horz.Value();
  values.vert_quotient = vert.Value();
  values.frame_count = frames.Value();
  Bitmap vesk;
  return RunFrameCommand("flag", line.Value().Value("--list"), [&](RunProtocol& run) {
    return FlagStreaming(image.Value(), values, run, vesk);
  });
}

}  // namespace

VESK_BATCH_COMMAND({"flag", kUsage, &RunFlag});

}  // namespace vesk::batch
