// vesk-batch distort MESH [--frames N] [--precision P] [--equalize on|off]
// [--list OUT.any]: the distortion of the mesh file's first image along the
// mesh (the second image must exist, as its window must in the program).
#include <string>
#include <vector>

#include "batch/batch_support.h"
#include "core/generate/distortion.h"

namespace vesk::batch {
namespace {

constexpr const char* kUsage =
    "distort MESH [--frames N] [--precision P] [--equalize on|off] [--list OUT.any]";

int RunDistortCommand(const std::vector<std::string>& args) {
  auto line = CommandLine::Parse(
      args, 1, {{"--frames", 1}, {"--precision", 1}, {"--equalize", 1}, {"--list", 1}});
  if (!line) return ReportUsage(kUsage, line.Message());
  auto setup = GenerationSetupFromOptions(line.Value());
  if (!setup) return ReportUsage(kUsage, setup.Message());

  auto scene = LoadMeshScene(line.Value().Positional()[0]);
  if (!scene) return ReportBadInput(scene.Message());
  const std::vector<TrianglePositions> triangles = TrianglePositionsOf(scene.Value().mesh);
  Bitmap vesk;
  return RunFrameCommand("distort", line.Value().Value("--list"), [&](RunProtocol& run) {
    return RunDistortion(scene.Value().first, triangles, setup.Value(), vesk, run);
  });
}

}  // namespace

VESK_BATCH_COMMAND({"distort", kUsage, &RunDistortCommand});

}  // namespace vesk::batch
