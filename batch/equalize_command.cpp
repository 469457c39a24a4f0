// vesk-batch equalize IN --out OUT.bmp: one picture equalization pass (each
// pixel the mean of its four neighbours, outside neighbours white).
#include <iostream>
#include <string>
#include <vector>

#include "batch/batch_support.h"
#include "core/generate/equalize.h"

namespace vesk::batch {
namespace {

constexpr const char* kUsage = "equalize IN --out OUT.bmp";

int RunEqualizeCommand(const std::vector<std::string>& args) {
  auto line = CommandLine::Parse(args, 1, {{"--out", 1}});
  if (!line) return ReportUsage(kUsage, line.Message());
  const std::string& out = line.Value().Value("--out");
  if (out.empty()) return ReportUsage(kUsage, "option --out is missing");

  auto picture = LoadImageFile(line.Value().Positional()[0]);
  if (!picture) return ReportBadInput(picture.Message());
  if (picture.Value().Empty())
    return ReportBadInput(line.Value().Positional()[0] + ": the image is empty");
  if (Interrupted()) return ReportCancelled("equalize", "; nothing written");
  BatchRun run("equalize");
  run.Begin();
  EqualizePicture(picture.Value(), run);
  run.End();
  Status saved = SaveImageFile(picture.Value(), out, "equalize");
  if (!saved) return ReportBadInput(saved.Message());
  std::cout << "equalize: written to " << out << std::endl;
  return kExitDone;
}

}  // namespace

VESK_BATCH_COMMAND({"equalize", kUsage, &RunEqualizeCommand});

}  // namespace vesk::batch
