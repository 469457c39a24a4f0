// vesk-batch video LIST.any --out OUT.mp4|OUT.webm|OUT.gif [--fps F]: writes
// the frames of a frame list as a video through FFmpeg's libraries (H.264
// MP4, VP9 WebM or animated GIF, by the extension), at F frames a second
// (default 2, as the AVI), in the first frame's size. Ctrl+C stops the
// export and leaves no file behind; a previous OUT stays as it was.
#include <iostream>
#include <string>
#include <vector>

#include "batch/batch_support.h"
#include "core/animation/avi_from_list.h"
#include "video/video_writer.h"

namespace vesk::batch {
namespace {

constexpr const char* kUsage = "video LIST.any --out OUT.mp4|OUT.webm|OUT.gif [--fps F]";

int RunVideo(const std::vector<std::string>& args) {
  auto line = CommandLine::Parse(args, 1, {{"--out", 1}, {"--fps", 1}});
  if (!line) return ReportUsage(kUsage, line.Message());
  if (!line.Value().Has("--out")) return ReportUsage(kUsage, "option --out is missing");
  const std::string out = line.Value().Value("--out");
  if (out.empty()) return ReportUsage(kUsage, "option --out needs a file name");
  if (!VideoFormatOf(out)) return ReportUsage(kUsage, kVideoUnknownFormatMessage);
  auto fps = line.Value().IntValue("--fps", kVideoDefaultFps, 1, kVideoMaxFps);
  if (!fps) return ReportUsage(kUsage, fps.Message());
  const std::string list_path = line.Value().Positional()[0];

  auto files = FrameFilesOfList(list_path);
  if (!files) return ReportBadInput(files.Message());
  BmpFileFrames frames(std::move(files).Value());
  Status written;
  {
    BatchRun run("video");
    run.Begin();
    written = WriteVideoFile(
        frames, out, fps.Value(), [&run](int i, int n) { run.Counter(i, n); },
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
