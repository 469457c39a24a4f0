// vesk-batch morph, colorize, flag and avi: the options reach the engines,
// the files written are the engines' pictures, a second run continues the
// numbering, and a mesh's pictures come from the mesh file's folder first.
#include "core/effects/flag_streaming.h"
#include "core/generate/run_protocol.h"
#include "core/generate/morph.h"
#include "core/mesh/mesh_file.h"
#include "tests/batch/batch_test_support.h"

namespace vesk::testing {
namespace {

// Keeps every frame an engine writes.
class KeepFrames : public RunProtocol {
 public:
  Status WriteFrame(const Bitmap& frame) override {
    frames.push_back(frame);
    return Status::Success();
  }
  std::vector<Bitmap> frames;
};

using Commands = BatchTest;

TEST_F(Commands, MorphWritesNPlusOneFramesOfItsOptionsAndContinuesTheNumbering) {
  ASSERT_EQ(Run("morph MESH --frames 3 --precision 2 --equalize off --list out/x"), 0) << err_;
  EXPECT_EQ(Text("out/x.any"), ListOf(1, 4));
  GenerationSetup setup;
  setup.frame_count = 3;
  setup.precision = 2;
  setup.equalize = false;
  KeepFrames engine;
  Bitmap vesk;
  const Mesh mesh = ReadMeshFile(kExamples + "/sample.mesh").Value().mesh;
  ASSERT_TRUE(RunMorph(Load(kExamples + "/first.bmp"), Load(kExamples + "/second.bmp"),
                       TrianglePositionsOf(mesh), setup, vesk, engine));
  ASSERT_EQ(engine.frames.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(Load("out/imag" + std::to_string(i + 1) + ".bmp"), engine.frames[i]);
  }
  ASSERT_EQ(Run("morph MESH --frames 2 --list out/b.any"), 0) << err_;
  EXPECT_EQ(Text("out/b.any"), ListOf(5, 7));
  ASSERT_EQ(Run("morph MESH --frames 2"), 0);  // no list: nothing written
  EXPECT_NE(out_.find("no frame written"), std::string::npos) << out_;
  EXPECT_EQ(Files("out").size(), 9u);
}

TEST_F(Commands, MeshPicturesComeFromTheMeshFolderFirst) {
  std::filesystem::create_directory(dir_ / "sub");
  for (const std::string name : {"first.bmp", "second.bmp"}) {
    Save("sub/" + name, Bitmap(8, 8, kBlack));
    Save(name, Bitmap(8, 8, kWhite));
  }
  ASSERT_TRUE(WriteMeshFile(Path("sub/m.mesh"), Mesh(), "first.bmp", "second.bmp"));
  ASSERT_EQ(Run("morph sub/m.mesh --frames 1 --list out"), 0) << err_;
  EXPECT_NE(out_.find("listed in out.any"), std::string::npos) << out_;
  EXPECT_EQ(Load("imag1.bmp").Pixel(4, 4), kBlack);
}

TEST_F(Commands, ColorizeFlagAndAviWriteTheEnginesFrames) {
  Save("black.bmp", Bitmap(4, 3, kBlack));
  Save("red.bmp", Bitmap(4, 3, MakeColor(255, 0, 0)));
  ASSERT_EQ(Run("colorize black.bmp red.bmp --frames 4 --list out/a.any"), 0) << err_;
  EXPECT_EQ(Text("out/a.any"), ListOf(1, 5));
  const int reds[] = {0, 63, 127, 191, 255};
  for (int n = 1; n <= 5; ++n) {
    EXPECT_EQ(Load("out/imag" + std::to_string(n) + ".bmp").Pixel(1, 1),
              MakeColor(reds[n - 1], 0, 0));
  }
  ASSERT_EQ(Run("colorize black.bmp red.bmp --frames 1 --list out/b"), 0) << err_;
  EXPECT_EQ(Text("out/b.any"), ListOf(6, 8));  // one frame is raised to two

  Bitmap image(20, 11);
  for (int y = 0; y < 11; ++y) {
    for (int x = 0; x < 20; ++x) image.SetPixel(x, y, MakeColor(x * 5, y * 3, x ^ y));
  }
  Save("flag.bmp", image);
  ASSERT_EQ(Run("flag flag.bmp --frames 3 --radius 5 --hq 2 --vq 7 --list w.any"), 0) << err_;
  EXPECT_EQ(Text("w.any"), ListOf(1, 3));
  KeepFrames engine;
  Bitmap vesk;
  ASSERT_TRUE(FlagStreaming(image, {5, 2, 7, 3}, engine, vesk).Ok());
  for (int n = 1; n <= 3; ++n) {
    EXPECT_EQ(Load("imag" + std::to_string(n) + ".bmp"), engine.frames.at(n - 1));
  }

  ASSERT_EQ(Run("avi out/a.any --out out/m.avi"), 0) << err_;  // frames beside the list
  EXPECT_EQ(out_, "avi: 5 frames written to out/m.avi\n");
  EXPECT_EQ(Text("out/m.avi").substr(0, 4), "RIFF");
}

}  // namespace
}  // namespace vesk::testing
