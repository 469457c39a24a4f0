// vesk-batch morph on the example mesh: the options reach the engine, N + 1
// frames and their list are written, a second run continues the numbering.
#include "core/generate/morph.h"
#include "core/mesh/mesh_file.h"
#include "tests/batch/batch_test_support.h"

namespace vesk::testing {
namespace {

class MeshCommands : public BatchTest {
 protected:
  const std::string mesh_ = "'" + kExamples + "/sample.mesh'";
  const Bitmap first_ = Load(kExamples + "/first.bmp");
  const Bitmap second_ = Load(kExamples + "/second.bmp");
  std::vector<TrianglePositions> Triangles() const {
    return TrianglePositionsOf(ReadMeshFile(kExamples + "/sample.mesh").Value().mesh);
  }
};

TEST_F(MeshCommands, MorphWritesNPlusOneFramesOfItsOptionsAndContinuesTheNumbering) {
  ASSERT_EQ(Run("morph " + mesh_ + " --frames 3 --precision 2 --equalize off --list out/x"), 0)
      << err_;
  EXPECT_EQ(Text("out/x.any"), ListOf(1, 4));
  GenerationSetup setup;
  setup.frame_count = 3;
  setup.precision = 2;
  setup.equalize = false;
  KeepFrames engine;
  Bitmap vesk;
  ASSERT_TRUE(RunMorph(first_, second_, Triangles(), setup, vesk, engine));
  ASSERT_EQ(engine.frames.size(), 4u);
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(Load("out/imag" + std::to_string(i + 1) + ".bmp"), engine.frames[i]);
  ASSERT_EQ(Run("morph " + mesh_ + " --frames 2 --list out/b.any"), 0) << err_;
  EXPECT_EQ(Text("out/b.any"), ListOf(5, 7));
  EXPECT_EQ(Text("out/x.any"), ListOf(1, 4));
  ASSERT_EQ(Run("morph " + mesh_ + " --frames 2"), 0);  // no list: nothing written
  EXPECT_NE(out_.find("no frame written"), std::string::npos) << out_;
  EXPECT_EQ(Written().size(), 9u);
}

}  // namespace
}  // namespace vesk::testing
