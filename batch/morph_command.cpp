// vesk-batch morph MESH [--frames N] [--precision P] [--equalize on|off]
// [--list OUT.any]: the morph of the mesh file's two images, frames written
// into the list's folder as the program's Ombrix command writes them.
#include <string>
#include <vector>

#include "batch/batch_support.h"
#include "core/generate/morph.h"

namespace vesk::batch {
namespace {

constexpr const char* kUsage =
    "morph MESH [--frames N] [--precision P] [--equalize on|off] [--list OUT.any]";

int RunMorphCommand(const std::vector<std::string>& args) {
  auto line = CommandLine::Parse(
      args, 1, {{"--frames", 1}, {"--precision", 1}, {"--equalize", 1}, {"--list", 1}});
  if (!line) return ReportUsage(kUsage, line.Message());
  auto setup = GenerationSetupFromOptions(line.Value());
  if (!setup) return ReportUsage(kUsage, setup.Message());

  auto scene = LoadMeshScene(line.Value().Positional()[0]);
  if (!scene) return ReportBadInput(scene.Message());
  const std::vector<TrianglePositions> triangles = TrianglePositionsOf(scene.Value().mesh);
  Bitmap vesk;
  return RunFrameCommand("morph", line.Value().Value("--list"), [&](RunProtocol& run) {
    return RunMorph(scene.Value().first, scene.Value().second, triangles, setup.Value(), vesk, run);
  });
}

}  // namespace

VESK_BATCH_COMMAND({"morph", kUsage, &RunMorphCommand});

}  // namespace vesk::batch
