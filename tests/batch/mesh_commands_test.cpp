// vesk-batch morph and distort on the example mesh: the options reach the
// engines, N + 1 frames and their list are written, a second run continues
// the numbering, the mesh's pictures are found beside it, and Ctrl+C keeps
// the frames written so far.
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "core/generate/distortion.h"
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

TEST_F(MeshCommands, DistortWritesTheDistortionFrames) {
  ASSERT_EQ(Run("distort " + mesh_ + " --frames 2 --list out/d.any"), 0) << err_;
  GenerationSetup setup;
  setup.frame_count = 2;
  KeepFrames engine;
  Bitmap vesk;
  ASSERT_TRUE(RunDistortion(first_, Triangles(), setup, vesk, engine));
  EXPECT_EQ(Text("out/d.any"), ListOf(1, 3));
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(Load("out/imag" + std::to_string(i + 1) + ".bmp"), engine.frames[i]);
}

TEST_F(MeshCommands, PicturesAreTakenAsStoredThenByBareNameBesideTheMesh) {
  std::filesystem::create_directories(dir_ / "m");
  std::filesystem::copy_file(kExamples + "/first.bmp", dir_ / "m" / "first.bmp");
  Save("m/second.bmp", Bitmap(30, 20, kBlack));
  Save("other.bmp", Bitmap(30, 20, kWhite));
  const Mesh mesh = ReadMeshFile(kExamples + "/sample.mesh").Value().mesh;
  ASSERT_TRUE(WriteMeshFile(Path("m/m.mesh"), mesh, "C:\\Pictures\\first.bmp", Path("other.bmp")));
  ASSERT_EQ(Run("morph m/m.mesh --frames 1 --list out/m.any"), 0) << err_;
  EXPECT_EQ(Load("out/imag1.bmp"), first_);
  EXPECT_EQ(Load("out/imag3.bmp"), Bitmap(30, 20, kWhite));
}

// Ctrl+C acts as the Kancel button: the frames written so far stay, listed.
TEST_F(MeshCommands, InterruptKeepsTheFramesWrittenSoFar) {
  Bitmap first(800, 600, kBlack);
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 800; ++x) first.SetPixel(x, y, MakeColor(x, y, x ^ y));
  }
  Save("a.bmp", first);
  Save("b.bmp", Bitmap(800, 600, kWhite));
  Mesh mesh;
  const TMeshNode* n[4];
  const TMeshNode corners[4] = {
      {0, 0, 20, 10}, {799, 0, 780, 5}, {0, 599, 9, 580}, {799, 599, 760, 570}};
  for (int i = 0; i < 4; ++i) n[i] = mesh.PushNode(corners[i]);
  mesh.PushTriangle(n[0], n[1], n[2]);
  mesh.PushTriangle(n[1], n[3], n[2]);
  ASSERT_TRUE(WriteMeshFile(Path("big.mesh"), mesh, "a.bmp", "b.bmp"));
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const std::string err = Path("stderr.txt");
    if (chdir(dir_.c_str()) != 0 || !freopen(err.c_str(), "w", stderr)) _exit(99);
    execl(VESK_BATCH_EXE, VESK_BATCH_EXE, "morph", "big.mesh", "--frames", "100", "--list",
          "out/i.any", static_cast<char*>(nullptr));
    _exit(98);
  }
  for (int i = 0; i < 400 && !std::filesystem::exists(dir_ / "out" / "imag3.bmp"); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  kill(child, SIGINT);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1);
  err_ = Text("stderr.txt");
  ExpectOneErrorLine("morph cancelled; ");
  const std::string list = Text("out/i.any");
  const auto listed = std::count(list.begin(), list.end(), '\n');
  EXPECT_GE(listed, 3);
  EXPECT_LT(listed, 101);
  EXPECT_NE(err_.find(std::to_string(listed) + " frames kept"), std::string::npos) << err_;
  EXPECT_EQ(Written().size(), std::size_t(listed + 1));  // every frame file is listed
}

}  // namespace
}  // namespace vesk::testing
