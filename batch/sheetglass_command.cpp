// vesk-batch sheetglass IMAGE --out OUT.bmp [--sheet W H]: one picture of
// the image seen through a wall of glass sheets, saved as a BMP file.
#include <iostream>
#include <string>
#include <vector>

#include "batch/batch_support.h"
#include "core/effects/sheet_glass.h"

namespace vesk::batch {
namespace {

constexpr const char* kUsage = "sheetglass IMAGE --out OUT.bmp [--sheet W H]";

int RunSheetGlass(const std::vector<std::string>& args) {
  auto line = CommandLine::Parse(args, 1, {{"--out", 1}, {"--sheet", 2}});
  if (!line) return ReportUsage(kUsage, line.Message());
  if (!line.Value().Has("--out")) return ReportUsage(kUsage, "option --out is missing");
  const std::string out = line.Value().Value("--out");
  if (out.empty()) return ReportUsage(kUsage, "option --out needs a file name");
  // The range of the Options dialog's sheet size editors.
  auto sheet_w = line.Value().IntValue("--sheet", 36, 0, 100, 0);
  if (!sheet_w) return ReportUsage(kUsage, sheet_w.Message());
  auto sheet_h = line.Value().IntValue("--sheet", 36, 0, 100, 1);
  if (!sheet_h) return ReportUsage(kUsage, sheet_h.Message());

  auto image = LoadImageFile(line.Value().Positional()[0]);
  if (!image) return ReportBadInput(image.Message());

  Bitmap picture;
  bool cancelled = false;
  {
    BatchRun run("sheetglass");
    const Status made = SheetGlass(image.Value(), sheet_w.Value(), sheet_h.Value(), run, picture);
    cancelled = run.Cancelled();
    run.End();
    if (!made) return ReportBadInput(made.Message());
  }
  if (cancelled) return ReportCancelled("sheetglass", "; nothing written");
  const Status saved = SaveImageFile(picture, out, "sheetglass");
  if (!saved) return ReportBadInput(saved.Message());
  std::cout << "sheetglass: " << picture.Width() << " x " << picture.Height()
            << " picture written to " << out << std::endl;
  return kExitDone;
}

}  // namespace

VESK_BATCH_COMMAND({"sheetglass", kUsage, &RunSheetGlass});

}  // namespace vesk::batch
