// vesk-batch morph MESH [--frames N] [--precision P] [--equalize on|off]
// [--render classic|smooth] [--list OUT.any]: the morph of the mesh file's
// two images, frames written into the list's folder as the program's Ombrix
// command writes them.
#include <span>
#include <string>
#include <vector>

#include "batch/batch_support.h"
#include "core/generate/morph.h"

namespace vesk::batch {
namespace {

constexpr const char* kUsage =
    "morph MESH [--frames N] [--precision P] [--equalize on|off] "
    "[--render classic|smooth] [--list OUT.any]";

int RunMorphCommand(const std::vector<std::string>& args) {
  return RunMeshFrameCommand(
      "morph", kUsage, args,
      [](const MeshScene& scene, std::span<const TrianglePositions> triangles,
         const GenerationSetup& setup, Bitmap& vesk, RunProtocol& run) {
        return RunMorph(scene.first, scene.second, triangles, setup, vesk, run);
      });
}

}  // namespace

VESK_BATCH_COMMAND({"morph", kUsage, &RunMorphCommand});

}  // namespace vesk::batch
