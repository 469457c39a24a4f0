// vesk-batch's exit status, whichever command: 0 done, 2 wrong usage (empty
// values included), 1 bad input; on a failure one line on standard error and
// nothing written. Then what grid, triangulate and check wrote and said.
#include "core/mesh/mesh_file.h"
#include "tests/batch/batch_test_support.h"

namespace vesk::testing {
namespace {

using ExitStatus = BatchTest;

TEST_F(ExitStatus, OfEveryCommand) {
  std::ofstream(PathOf("out/keep.any"), std::ios::binary) << "imag1.bmp\r\n";
  std::ofstream(PathOf("other.mesh"), std::ios::binary) << "MESH10 and more bytes";
  std::ofstream(PathOf("broken.bmp"), std::ios::binary) << "BM not really";
  std::ofstream(PathOf("picture.gif"), std::ios::binary) << "GIF89a";
  Result<MeshFileContent> sample = ReadMeshFile(kExamples + "/sample.mesh");
  ASSERT_TRUE(sample.Ok());
  ASSERT_TRUE(WriteMeshFile(PathOf("lost.mesh"), sample.Value().mesh, "nowhere/first.bmp", "x"));
  Save("wide.bmp", Bitmap(32760, 1, kBlack));
  Save("a.bmp", Bitmap(4, 4, kBlack));
  Mesh folded;  // the second of its two triangles folds over
  const TMeshNode* a = folded.PushNode({0, 0, 10, 0});
  const TMeshNode* b = folded.PushNode({10, 0, 0, 0});
  const TMeshNode* c = folded.PushNode({0, 10, 10, 10});
  folded.PushTriangle(a, b, c);
  folded.PushTriangle(b, folded.PushNode({10, 10, 20, 0}), c);
  ASSERT_TRUE(WriteMeshFile(PathOf("folded.mesh"), folded, "", ""));
  const std::string pictures = kExamples + "/first.bmp " + kExamples + "/second.bmp ";
  const std::string grace = kExamples + "/grace_hopper.jpg ";
  const std::pair<std::string, std::pair<int, std::string>> rows[] = {
      // words, {status, part of standard output (0) or of the error line}
      {"", {2, "no command given"}},
      {"paint x", {2, "unknown command \"paint\""}},
      {"morph", {2, "a file name is missing"}},
      {"morph MESH --speed 3", {2, "unknown option --speed"}},
      {"morph a.mesh --frames 0",  // a usage problem before the missing file
       {2, "--frames must be a whole number from 1 to 100, not \"0\" (usage: vesk-batch morph"}},
      {"distort MESH --equalize maybe", {2, "--equalize must be on or off, not \"maybe\""}},
      {"morph MESH --render sharp", {2, "--render must be classic or smooth, not \"sharp\""}},
      {"sheetglass a.bmp --out out/r.bmp --sheet 5", {2, "--sheet"}},
      {"sheetglass a.bmp", {2, "option --out is missing"}},
      // Empty values are refused once, where every command reads its options.
      {"colorize a.bmp a.bmp --list ''", {2, "--list"}},
      {"avi x.any --out ''", {2, "--out"}},
      {"video out/keep.any --out x.avi", {2, ".mp4, .webm or .gif"}},
      {"video out/keep.any --out x.gif --fps 0", {2, "--fps"}},
      {"video out/keep.any --out x.webm --quality 101", {2, "--quality"}},
      {"video out/keep.any --out x.mp4 --lossless", {2, "lossless H.264"}},
      {"grid " + pictures + "--cols 101 --rows 4 --out x.mesh", {2, "--cols"}},
      {"grid " + pictures + "--cols 5 --rows 4", {2, "option --out is missing"}},
      {"check", {2, "usage: vesk-batch check MESH"}},
      {"automesh " + pictures + "--out x.mesh --method eyes", {2, "--method must be auto, faces"}},
      {"automesh " + pictures + "--out x.mesh --face 0", {2, "--face"}},
      {"morph MESH --shape-curve fast", {2, "--shape-curve must be linear, ease-in, ease-out or"}},
      {"sequence a.bmp a.bmp --out x.avi", {2, "--out must end in .mp4, .webm, .gif or .any"}},
      {"sequence a.bmp a.bmp a.bmp --out x.any --mesh MESH", {2, "--mesh must name one mesh for"}},
      {"sequence a.bmp a.bmp --save x.seq", {2, "--save must end in .vseq"}},
      {"sequence --from x.vseq --mesh MESH --out x.any", {2, "--mesh is for pictures named here"}},
      {"sequence --from none.vseq --out x.any", {1, "none.vseq: File Not Found"}},
      {"morph missing.mesh --list out/keep.any", {1, "missing.mesh: File Not Found"}},
      {"distort other.mesh --list out/keep.any",
       {1, "other.mesh: Error in file format (required mesh 1.1)"}},
      {"morph lost.mesh --list out/keep.any", {1, "first image \"nowhere/first.bmp\" not found"}},
      {"morph MESH --list no/such/folder/x.any", {1, "no/such/folder/x.any"}},
      {"colorize broken.bmp a.bmp --list out/keep.any", {1, "Bitmap image is not valid"}},
      {"flag wide.bmp --radius 5 --list out/keep.any", {1, "Bitmap is too large"}},
      {"equalize picture.gif --out out/keep.any", {1, "Unknown picture file extension (.gif)"}},
      {"sheetglass broken.bmp --out out/keep.any", {1, "broken.bmp: Bitmap image is not valid"}},
      {"avi missing.any --out out/keep.any", {1, "missing.any: File Not Found"}},
      {"video missing.any --out x.gif", {1, "missing.any"}},
      {"grid nothing.bmp " + kExamples + "/second.bmp --cols 5 --rows 4 --out x.mesh",
       {1, "nothing.bmp"}},
      {"triangulate " + kExamples + "/first.bmp --out x.mesh",
       {1, "Error in file format (required mesh 1.1)"}},
      {"check folded.mesh", {1, "1 of 2 triangles fold over"}},
      {"automesh " + pictures + "--out x.mesh",
       {1, "first.bmp; Too few matching features between"}},
      {"automesh " + grace + kExamples + "/first.bmp --method faces --out x.mesh",
       {1, "No face found in /"}},
      {"automesh " + grace + grace + "--out x.mesh --model no.dat",
       {1, "The face model no.dat is missing (it comes with the Debian package libdlib-data)"}},
      {"sequence " + grace + grace + kExamples + "/first.bmp --method faces --out x.mp4",
       {1, "pair 2 (" + grace.substr(0, grace.size() - 1) + " and " + kExamples +
               "/first.bmp): No face found"}},
      {"automesh " + grace + kExamples + "/astronaut.png --out a.mesh", {0, "automesh: Faces: "}},
      {"morph a.mesh --frames 2 --list f.any", {0, "morph: 3 frames written"}},
      {"grid " + pictures + "--cols 5 --rows 4 --out g.mesh",
       {0, "grid: 20 nodes, 24 triangles written to g.mesh"}},
      {"triangulate MESH --out t.mesh", {0, "triangulate: "}},
      {"check g.mesh", {0, "check: no triangle of 24 folds over"}},
  };
  for (const auto& [words, expected] : rows) {
    SCOPED_TRACE(words);
    EXPECT_EQ(Run(words), expected.first) << err_;
    EXPECT_NE((expected.first == 0 ? out_ : err_).find(expected.second), std::string::npos)
        << out_ << err_;
    if (expected.first != 0) {  // one line on standard error, the tool's name first
      EXPECT_EQ(err_.rfind("vesk-batch: ", 0), 0u) << err_;
      EXPECT_EQ(err_.find('\n'), err_.size() - 1) << err_;
    }
    EXPECT_EQ(Files("out"), std::set<std::string>{"keep.any"});
    EXPECT_EQ(Text("out/keep.any"), "imag1.bmp\r\n");
  }
  EXPECT_EQ(Files("", "x."), std::set<std::string>{});
  // Files store the newest triangle first, so the folded one is the second.
  Run("check folded.mesh");
  EXPECT_EQ(out_, "triangle 2 folds over: first (0,0) (10,0) (0,10), "
                  "second (10,0) (0,0) (10,10)\n");
  // The grid names its pictures so that the program finds them.
  EXPECT_TRUE(std::filesystem::exists(ReadMeshFile(PathOf("g.mesh")).Value().first_file_name));
  EXPECT_TRUE(ReadMeshFile(PathOf("t.mesh")).Ok());
}

}  // namespace
}  // namespace vesk::testing
