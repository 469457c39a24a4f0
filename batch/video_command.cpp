// vesk-batch video LIST.any --out OUT.mp4|OUT.webm|OUT.gif [--fps F]
// [--quality Q] [--lossless]: writes the frames of a frame list as a video
// through FFmpeg's libraries (H.264 MP4, VP9 WebM or animated GIF, by the
// extension), at F frames a second (default 2, as the AVI), in the first
// frame's size. Ctrl+C stops the export and leaves no file behind; a
// previous OUT stays as it was.
#include <iostream>
#include <string>
#include <vector>

#include "batch/batch_support.h"
#include "batch/video_options.h"
#include "core/animation/avi_from_list.h"
#include "core/common/file_io.h"

namespace vesk::batch {
namespace {

constexpr const char* kUsage =
    "video LIST.any --out OUT.mp4|OUT.webm|OUT.gif [--fps F] [--quality Q] [--lossless]";

int RunVideo(const std::vector<std::string>& args) {
  auto line = CommandLine::Parse(args, 1,
                                 {{"--out", 1}, kFpsOption, kQualityOption, kLosslessOption});
  if (!line) return ReportUsage(kUsage, line.Message());
  if (!line.Value().Has("--out")) return ReportUsage(kUsage, "option --out is missing");
  const std::string out = line.Value().Value("--out");
  if (out.empty()) return ReportUsage(kUsage, "option --out needs a file name");
  auto options = VideoOptionsOf(line.Value(), out, kVideoDefaultFps);
  if (!options) return ReportUsage(kUsage, options.Message());
  const std::string list_path = line.Value().Positional()[0];
  // The output can be written: found out before any frame is read.
  Status writable = CheckWritable(out);
  if (!writable) return ReportBadInput(writable.Message());

  auto files = FrameFilesOfList(list_path);
  if (!files) return ReportBadInput(files.Message());
  BmpFileFrames frames(std::move(files).Value());
  Status written;
  {
    BatchRun run("video");
    run.Begin();
    written = WriteVideoFile(
        frames, out, options.Value(), [&run](int i, int n) { run.Counter(i, n); },
        [&run] { return run.CancelRequested(); });
    run.End();
  }
  if (!written) return ReportBadInput(written.Message());
  std::cout << "video: " << frames.FrameCount() << " frames written to " << out << std::endl;
  return kExitDone;
}

}  // namespace

VESK_BATCH_COMMAND({"video", kUsage, &RunVideo});

}  // namespace vesk::batch
