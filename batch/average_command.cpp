// vesk-batch average PIC1 PIC2 ... --out OUT.png|OUT.bmp [--size W H]
// [--points OUT.pts] [--render smooth|classic] [--skip-failed]: the average
// face of the portraits (core/faces/average_faces.h), each picture read
// twice and never all held at once. A picture without a face ends the
// command naming it, before anything is written; with --skip-failed it is
// left out and named on standard error.
#include <iostream>
#include <string>
#include <vector>

#include "batch/batch_support.h"
#include "batch/face_pictures.h"
#include "core/faces/mean_shape_file.h"

namespace vesk::batch {
namespace {

constexpr const char* kUsage =
    "average PIC1 PIC2 ... --out OUT.png|OUT.bmp [--size W H] [--points OUT.pts] "
    "[--render smooth|classic] [--skip-failed]";

// The options, or the usage problem.
Result<AverageOptions> OptionsOf(const CommandLine& line) {
  AverageOptions options;
  if (!IsPictureOutput(line.Value("--out"))) return Failure{"--out must end in .png or .bmp"};
  Result<int> width =
      line.IntValue("--size", kDefaultAverageSize.width, kMinAverageSide, kMaxAverageSide, 0);
  if (!width) return Failure{width.Message()};
  Result<int> height =
      line.IntValue("--size", kDefaultAverageSize.height, kMinAverageSide, kMaxAverageSide, 1);
  if (!height) return Failure{height.Message()};
  options.size = {width.Value(), height.Value()};
  GenerationSetup setup;
  setup.renderer = Renderer::kSmooth;
  if (Status read = ReadRenderOption(line, setup); !read) return Failure{read.Message()};
  options.renderer = setup.renderer;
  options.skip_failed = line.Has("--skip-failed");
  return options;
}

int RunAverage(const std::vector<std::string>& args) {
  auto line = CommandLine::Parse(
      args, 1,
      {{"--out", 1}, {"--size", 2}, {"--points", 1}, {"--render", 1}, {"--skip-failed", 0}}, true);
  if (!line) return ReportUsage(kUsage, line.Message());
  if (!line.Value().Has("--out")) return ReportUsage(kUsage, "option --out is missing");
  Result<AverageOptions> options = OptionsOf(line.Value());
  if (!options) return ReportUsage(kUsage, options.Message());
  const std::vector<std::string>& names = line.Value().Positional();

  BatchRun run("average");
  run.Begin();
  Result<FaceAverage> average = AverageFaces(FacePicturesOf(names), options.Value(), run);
  run.End();
  if (Interrupted()) return ReportCancelled("average", "; nothing written");
  if (!average) return ReportBadInput(average.Message());
  const FaceShapes& shapes = average.Value().shapes;
  ReportSkipped(names, shapes.skipped);
  const std::string& out = line.Value().Value("--out");
  Status saved = SavePicture(average.Value().picture, out, "average");
  if (!saved) return ReportBadInput(saved.Message());
  if (line.Value().Has("--points")) {
    const std::string& points = line.Value().Value("--points");
    Status written = WriteMeanShapeFile(points, shapes.mean);
    if (!written) return ReportBadInput(points + ": " + written.Message());
  }
  std::cout << "average: " << shapes.used.size() << " faces averaged into " << out << " ("
            << options.Value().size.width << " x " << options.Value().size.height << ")";
  if (!shapes.skipped.empty()) std::cout << ", " << shapes.skipped.size() << " skipped";
  std::cout << std::endl;
  return kExitDone;
}

}  // namespace

VESK_BATCH_COMMAND({"average", kUsage, &RunAverage});

}  // namespace vesk::batch
