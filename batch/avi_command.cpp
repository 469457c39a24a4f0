// vesk-batch avi LIST.any --out OUT.avi: writes the frames of a frame list
// as an uncompressed AVI file (2 frames per second, the first frame's size).
// Frame names are looked up in the list's folder. Ctrl+C stops the writing
// and leaves any previous OUT.avi as it was.
#include <iostream>
#include <string>
#include <vector>

#include "batch/batch_support.h"
#include "core/animation/avi_from_list.h"

namespace vesk::batch {
namespace {

constexpr const char* kUsage = "avi LIST.any --out OUT.avi";

// The list's frames, with Ctrl+C turned into a failure the writer obeys.
class InterruptibleFrames : public AviFrameSource {
 public:
  InterruptibleFrames(BmpFileFrames& frames, BatchRun& run) : frames_(frames), run_(run) {}
  int FrameCount() const override { return frames_.FrameCount(); }
  Result<const Bitmap*> Frame(int index) override {
    if (run_.CancelRequested()) return Failure{"avi cancelled; nothing written"};
    return frames_.Frame(index);
  }

 private:
  BmpFileFrames& frames_;
  BatchRun& run_;
};

int RunAvi(const std::vector<std::string>& args) {
  auto line = CommandLine::Parse(args, 1, {{"--out", 1}});
  if (!line) return ReportUsage(kUsage, line.Message());
  if (!line.Value().Has("--out")) return ReportUsage(kUsage, "option --out is missing");
  const std::string out = line.Value().Value("--out");
  if (out.empty()) return ReportUsage(kUsage, "option --out needs a file name");
  const std::string list_path = line.Value().Positional()[0];

  auto files = FrameFilesOfList(list_path);
  if (!files) return ReportBadInput(files.Message());
  BmpFileFrames frames(std::move(files).Value());
  Status written;
  {
    BatchRun run("avi");
    run.Begin();
    InterruptibleFrames source(frames, run);
    written = WriteAviFile(source, out, [&run](int i, int n) { run.Counter(i, n); });
    run.End();
  }
  if (!written) return ReportBadInput(written.Message());
  std::cout << "avi: " << frames.FrameCount() << " frames written to " << out << std::endl;
  return kExitDone;
}

}  // namespace

VESK_BATCH_COMMAND({"avi", kUsage, &RunAvi});

}  // namespace vesk::batch
