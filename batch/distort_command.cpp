// vesk-batch distort MESH [--frames N] [--precision P] [--equalize on|off]
// [--render classic|smooth] [--list OUT.any]: the distortion of the mesh
// file's first image along the mesh (the second image must exist, as its
// window must in the program).
#include <span>
#include <string>
#include <vector>

#include "batch/batch_support.h"
#include "core/generate/distortion.h"

namespace vesk::batch {
namespace {

constexpr const char* kUsage =
    "distort MESH [--frames N] [--precision P] [--equalize on|off] "
    "[--render classic|smooth] [--list OUT.any]";

int RunDistortCommand(const std::vector<std::string>& args) {
  return RunMeshFrameCommand(
      "distort", kUsage, args,
      [](const MeshScene& scene, std::span<const TrianglePositions> triangles,
         const GenerationSetup& setup, Bitmap& vesk, RunProtocol& run) {
        return RunDistortion(scene.first, triangles, setup, vesk, run);
      });
}

}  // namespace

VESK_BATCH_COMMAND({"distort", kUsage, &RunDistortCommand});

}  // namespace vesk::batch
