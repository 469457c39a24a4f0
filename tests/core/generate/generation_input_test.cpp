#include "core/generate/generation_input.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

// Each triangle gives its corners' positions on the first and on the second
// image, in corner order.
TEST(GenerationInput, TrianglesGiveBothPositionsAndSettingsGiveTheSetup) {
  Mesh mesh;
  mesh.PushTriangle(mesh.PushNode({1, 2, 3, 4}), mesh.PushNode({5, 6, 7, 8}),
                    mesh.PushNode({9, 10, 11, 12}));
  const TrianglePositions only{{{1, 2}, {5, 6}, {9, 10}}, {{3, 4}, {7, 8}, {11, 12}}};
  EXPECT_EQ(TrianglePositionsOf(mesh), std::vector<TrianglePositions>{only});
  Settings settings;
  settings.FrameCount = 7;
  settings.Precision = 3;
  settings.Equalize = 0;
  const GenerationSetup setup = GenerationSetupOf(settings);
  EXPECT_EQ(std::tuple(setup.frame_count, setup.precision, setup.equalize),
            std::tuple(7, 3, false));
}

}  // namespace
}  // namespace vesk
