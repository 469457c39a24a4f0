#include "core/generate/generation_input.h"

#include <string>

namespace vesk {
namespace {

Point At(const TMeshNode* node, bool first) {
  return first ? Point{node->X1, node->Y1} : Point{node->X2, node->Y2};
}

}  // namespace

std::vector<TrianglePositions> TrianglePositionsOf(const Mesh& mesh) {
  std::vector<TrianglePositions> triangles;
  triangles.reserve(mesh.TriangleCount());
  for (const TMeshTriangle& t : mesh.TriangleList()) {
    if (t.A == nullptr || t.B == nullptr || t.C == nullptr) continue;
    triangles.push_back(TrianglePositions{Corners{At(t.A, true), At(t.B, true), At(t.C, true)},
                                          Corners{At(t.A, false), At(t.B, false), At(t.C, false)}});
  }
  return triangles;
}

std::string_view RendererWord(Renderer renderer) {
  return renderer == Renderer::kSmooth ? "smooth" : "classic";
}

std::optional<Renderer> RendererOfWord(std::string_view word) {
  for (Renderer renderer : {Renderer::kClassic, Renderer::kSmooth}) {
    if (RendererWord(renderer) == word) return renderer;
  }
  return std::nullopt;
}

GenerationSetup GenerationSetupOf(const Settings& settings) {
  GenerationSetup setup;
  setup.frame_count = settings.FrameCount;
  setup.precision = settings.Precision;
  setup.equalize = settings.Equalize != 0;
  return setup;
}

Status CheckGenerationSetup(const GenerationSetup& setup) {
  if (setup.frame_count < 1 || setup.frame_count > 65535) {
    return Failure{"The number of frames must be from 1 to 65535, not " +
                   std::to_string(setup.frame_count)};
  }
  if (setup.precision < 1 || setup.precision > 65535) {
    return Failure{"The precision must be from 1 to 65535, not " + std::to_string(setup.precision)};
  }
  if (setup.hold < 0 || setup.hold > kMaxHoldFrames) {
    return Failure{"The hold frames must be from 0 to " + std::to_string(kMaxHoldFrames) +
                   ", not " + std::to_string(setup.hold)};
  }
  return Status::Success();
}

}  // namespace vesk
