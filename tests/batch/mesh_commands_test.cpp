// vesk-batch morph, distort and equalize, and what every subcommand shares
// (usage errors, exit codes, one line on standard error, nothing
// half-written): the tool is run as a program on the examples and on files
// made here, and the files it writes are compared with the engines' frames.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/generate/distortion.h"
#include "core/generate/equalize.h"
#include "core/generate/frame_list.h"
#include "core/generate/morph.h"
#include "core/image/bmp_codec.h"
#include "core/mesh/mesh_file.h"
#include "tests/batch/batch_test_support.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;

const std::string kExamples = std::string(VESK_SOURCE_DIR) + "/examples";

using testing::KeepFrames;

class MeshCommands : public testing::BatchFolderTest {
 protected:
  void SetUp() override { UseFolder("vesk_mesh_batch_", "out"); }

  // Runs the tool in the test folder; answers the exit status and keeps
  // standard output and standard error.
  int Run(const std::string& words) {
    const std::string command = "cd '" + dir_.string() + "' && '" + VESK_BATCH_EXE + "' " + words +
                                " > stdout.txt 2> stderr.txt < /dev/null";
    const int status = std::system(command.c_str());
    out_ = FileText("stdout.txt");
    err_ = FileText("stderr.txt");
    fs::remove(dir_ / "stdout.txt");
    fs::remove(dir_ / "stderr.txt");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  Bitmap Load(const std::string& path) const {
    auto loaded = LoadBmpFile(path);
    EXPECT_TRUE(loaded.Ok()) << path;
    return loaded.Ok() ? loaded.Value() : Bitmap();
  }

  // Files in a folder of the test area, by name.
  std::vector<std::string> Files(const std::string& folder) const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_ / folder)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  // One line, ending in a line feed, starting with "vesk-batch: ".
  void ExpectOneErrorLine(const std::string& must_contain) const {
    ASSERT_FALSE(err_.empty());
    EXPECT_EQ(err_.rfind("vesk-batch: ", 0), 0u) << err_;
    EXPECT_EQ(err_.find('\n'), err_.size() - 1) << err_;
    EXPECT_NE(err_.find(must_contain), std::string::npos) << err_;
  }

  // The example's pictures and triangles as the engines see them.
  void LoadExample() {
    first_ = Load(kExamples + "/first.bmp");
    second_ = Load(kExamples + "/second.bmp");
    auto mesh = ReadMeshFile(kExamples + "/sample.mesh");
    ASSERT_TRUE(mesh.Ok());
    EXPECT_EQ(mesh.Value().first_file_name, "first.bmp");
    EXPECT_EQ(mesh.Value().second_file_name, "second.bmp");
    triangles_ = TrianglePositionsOf(mesh.Value().mesh);
    ASSERT_FALSE(triangles_.empty());
  }

  void CopyExampleImagesTo(const std::string& folder) const {
    fs::create_directories(dir_ / folder);
    fs::copy_file(kExamples + "/first.bmp", dir_ / folder / "first.bmp");
    fs::copy_file(kExamples + "/second.bmp", dir_ / folder / "second.bmp");
  }

  std::string out_;
  std::string err_;
  Bitmap first_;
  Bitmap second_;
  std::vector<TrianglePositions> triangles_;
};

TEST_F(MeshCommands, MorphWritesNPlusOneFramesAndAListTheReaderReadsBack) {
  LoadExample();
  ASSERT_EQ(Run("morph '" + kExamples + "/sample.mesh' --list out/x.any"), 0) << err_;
  EXPECT_TRUE(err_.empty()) << err_;
  auto names = ReadFrameListFile(PathOf("out/x.any"));
  ASSERT_TRUE(names.Ok());
  std::vector<std::string> expected_names;
  for (int i = 1; i <= 13; ++i) expected_names.push_back("imag" + std::to_string(i) + ".bmp");
  EXPECT_EQ(names.Value(), expected_names);
  EXPECT_EQ(FileText("out/x.any").size(), 9 * 9 + 10 * 4 + 2 * 13u);  // CR LF after each

  KeepFrames engine;
  Bitmap vesk;
  ASSERT_TRUE(RunMorph(first_, second_, triangles_, GenerationSetup{}, vesk, engine));
  ASSERT_EQ(engine.frames.size(), 13u);
  for (int i = 0; i < 13; ++i) {
    EXPECT_EQ(Load(PathOf("out/" + expected_names[i])), engine.frames[i]) << expected_names[i];
  }
  EXPECT_EQ(Load(PathOf("out/imag1.bmp")), first_);
  EXPECT_EQ(Load(PathOf("out/imag13.bmp")), second_);
}

TEST_F(MeshCommands, MorphOptionsReachTheEngine) {
  LoadExample();
  ASSERT_EQ(Run("morph '" + kExamples +
                "/sample.mesh' --frames 3 --precision 2 --equalize off --list out/y.any"),
            0)
      << err_;
  GenerationSetup setup;
  setup.frame_count = 3;
  setup.precision = 2;
  setup.equalize = false;
  KeepFrames engine;
  Bitmap vesk;
  ASSERT_TRUE(RunMorph(first_, second_, triangles_, setup, vesk, engine));
  ASSERT_EQ(engine.frames.size(), 4u);
  EXPECT_EQ(Files("out"), (std::vector<std::string>{"imag1.bmp", "imag2.bmp", "imag3.bmp",
                                                    "imag4.bmp", "y.any"}));
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(Load(PathOf("out/imag" + std::to_string(i + 1) + ".bmp")), engine.frames[i]);
  }
}

TEST_F(MeshCommands, WithoutAListNothingIsWritten) {
  ASSERT_EQ(Run("morph '" + kExamples + "/sample.mesh' --frames 2"), 0) << err_;
  EXPECT_TRUE(Files("out").empty());
  EXPECT_NE(out_.find("no frame written"), std::string::npos) << out_;
}

TEST_F(MeshCommands, SecondRunContinuesTheNumberingWithItsOwnList) {
  ASSERT_EQ(Run("morph '" + kExamples + "/sample.mesh' --frames 2 --list out/a.any"), 0);
  ASSERT_EQ(Run("morph '" + kExamples + "/sample.mesh' --frames 2 --list out/b"), 0);
  auto second_list = ReadFrameListFile(PathOf("out/b.any"));
  ASSERT_TRUE(second_list.Ok());
  EXPECT_EQ(second_list.Value(), (std::vector<std::string>{"imag4.bmp", "imag5.bmp", "imag6.bmp"}));
}

TEST_F(MeshCommands, DistortWritesTheDistortionFrames) {
  LoadExample();
  ASSERT_EQ(Run("distort '" + kExamples + "/sample.mesh' --frames 4 --list out/d.any"), 0) << err_;
  GenerationSetup setup;
  setup.frame_count = 4;
  KeepFrames engine;
  Bitmap vesk;
  ASSERT_TRUE(RunDistortion(first_, triangles_, setup, vesk, engine));
  auto names = ReadFrameListFile(PathOf("out/d.any"));
  ASSERT_TRUE(names.Ok());
  ASSERT_EQ(names.Value().size(), 5u);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(Load(PathOf("out/" + names.Value()[i])), engine.frames[i]);
}

TEST_F(MeshCommands, MeshImagesAreFoundByBareNameBesideTheMesh) {
  // The mesh names its pictures by a Windows path that does not exist here.
  CopyExampleImagesTo("elsewhere");
  auto mesh = ReadMeshFile(kExamples + "/sample.mesh");
  ASSERT_TRUE(mesh.Ok());
  ASSERT_TRUE(WriteMeshFile(PathOf("elsewhere/m.mesh"), mesh.Value().mesh,
                            "C:\\Pictures\\first.bmp", "D:\\second.bmp"));
  ASSERT_EQ(Run("morph elsewhere/m.mesh --frames 1 --list out/m.any"), 0) << err_;
  EXPECT_EQ(Load(PathOf("out/imag1.bmp")), Load(kExamples + "/first.bmp"));
  EXPECT_EQ(Load(PathOf("out/imag3.bmp")), Load(kExamples + "/second.bmp"));
}

TEST_F(MeshCommands, MeshImagesAreTakenAsStoredFirst) {
  // Names stored as full paths to other pictures win over pictures that
  // happen to lie beside the mesh under the same bare names.
  CopyExampleImagesTo("mesh");
  fs::create_directories(dir_ / "real");
  ASSERT_TRUE(SaveBmpFile(PathOf("real/first.bmp"), Bitmap(30, 20, kBlack)));
  ASSERT_TRUE(SaveBmpFile(PathOf("real/second.bmp"), Bitmap(30, 20, kWhite)));
  Mesh empty;
  ASSERT_TRUE(WriteMeshFile(PathOf("mesh/m.mesh"), empty, PathOf("real/first.bmp"),
                            PathOf("real/second.bmp")));
  ASSERT_EQ(Run("morph mesh/m.mesh --frames 1 --list out/m.any"), 0) << err_;
  EXPECT_EQ(Load(PathOf("out/imag1.bmp")), Bitmap(30, 20, kBlack));
  EXPECT_EQ(Load(PathOf("out/imag3.bmp")), Bitmap(30, 20, kWhite));
}

TEST_F(MeshCommands, EqualizeWritesOnePass) {
  Bitmap picture(12, 12, MakeColor(100, 100, 100));
  ASSERT_TRUE(SaveBmpFile(PathOf("in.bmp"), picture));
  ASSERT_EQ(Run("equalize in.bmp --out out/eq.bmp"), 0) << err_;
  Bitmap result = Load(PathOf("out/eq.bmp"));
  EXPECT_EQ(result.Pixel(0, 0), MakeColor(177, 177, 177));
  EXPECT_EQ(result.Pixel(11, 11), MakeColor(203, 203, 203));
  RunProtocol quiet;
  EqualizePicture(picture, quiet);
  EXPECT_EQ(result, picture);
}

// PNG pictures go through Qt's reader and give the same pixels as the BMP.
TEST_F(MeshCommands, PngPictureReadsLikeTheSameBmp) {
  ASSERT_EQ(Run("equalize '" + kExamples + "/second.png' --out out/from_png.bmp"), 0) << err_;
  ASSERT_EQ(Run("equalize '" + kExamples + "/second.bmp' --out out/from_bmp.bmp"), 0) << err_;
  EXPECT_EQ(Load(PathOf("out/from_png.bmp")), Load(PathOf("out/from_bmp.bmp")));
}

struct UsageCase {
  const char* words;
  const char* says;
};

TEST_F(MeshCommands, WrongUsageExitsWithTwoAndOneLine) {
  const std::string mesh = "'" + kExamples + "/sample.mesh'";
  const UsageCase cases[] = {
      {"", "no command given"},
      {"paint x", "unknown command \"paint\""},
      {"morph", "a file name is missing"},
      {"morph a.mesh b.mesh", "unexpected word b.mesh"},
      {"morph MESH --speed 3", "unknown option --speed"},
      {"morph MESH --frames", "option --frames needs 1 value"},
      {"morph MESH --frames 0", "--frames must be a whole number from 1 to 100, not \"0\""},
      {"morph MESH --frames 101", "from 1 to 100"},
      {"morph MESH --frames abc", "not \"abc\""},
      {"morph MESH --frames 3 --frames 4", "option --frames given twice"},
      {"morph MESH --precision 1001", "--precision must be a whole number from 1 to 1000"},
      {"distort MESH --equalize maybe", "--equalize must be on or off, not \"maybe\""},
      {"equalize in.bmp", "option --out is missing"},
  };
  for (const UsageCase& c : cases) {
    std::string words = c.words;
    if (auto at = words.find("MESH"); at != std::string::npos) words.replace(at, 4, mesh);
    EXPECT_EQ(Run(words), 2) << words;
    ExpectOneErrorLine(c.says);
    EXPECT_TRUE(Files("out").empty()) << words;
  }
  EXPECT_EQ(Run("morph a.mesh --frames 0"), 2);
  EXPECT_NE(err_.find("(usage: vesk-batch morph MESH"), std::string::npos) << err_;
}

TEST_F(MeshCommands, BadInputExitsWithOneAndWritesNothing) {
  // A list that is already there stays as it was.
  std::ofstream(PathOf("out/keep.any"), std::ios::binary) << "imag1.bmp\r\n";
  std::ofstream(PathOf("cut.mesh"), std::ios::binary) << std::string("\x06MESH11\x02\x00", 9);
  std::ofstream(PathOf("other.mesh"), std::ios::binary) << "MESH10 and more bytes";
  auto example = ReadMeshFile(kExamples + "/sample.mesh");
  ASSERT_TRUE(example.Ok());
  ASSERT_TRUE(
      WriteMeshFile(PathOf("lost.mesh"), example.Value().mesh, "nowhere/first.bmp", "second.bmp"));
  ASSERT_TRUE(WriteMeshFile(PathOf("noname.mesh"), example.Value().mesh, "", ""));
  CopyExampleImagesTo("png");
  std::ofstream(PathOf("png/first.png"), std::ios::binary) << "\x89PNG but cut short";
  ASSERT_TRUE(WriteMeshFile(PathOf("png/p.mesh"), example.Value().mesh, "first.png", "second.bmp"));
  std::ofstream(PathOf("broken.bmp"), std::ios::binary) << "BM not really";

  const UsageCase cases[] = {
      {"morph missing.mesh --list out/keep.any", "missing.mesh: File Not Found"},
      {"morph cut.mesh --list out/keep.any", "cut.mesh: Read beyond end of file"},
      {"distort other.mesh --list out/keep.any",
       "other.mesh: Error in file format (required mesh 1.1)"},
      {"morph lost.mesh --list out/keep.any", "first image \"nowhere/first.bmp\" not found"},
      {"morph noname.mesh --list out/keep.any", "the mesh names no first image"},
      {"morph png/p.mesh --list out/keep.any", "first.png: "},
      {"equalize broken.bmp --out out/e.bmp", "broken.bmp: Bitmap image is not valid"},
      {"equalize picture.gif --out out/e.bmp", "Unknown picture file extension (.gif)"},
      {"morph MESH --list no/such/folder/x.any", "no/such/folder/x.any"},
  };
  for (const UsageCase& c : cases) {
    std::string words = c.words;
    if (auto at = words.find("MESH"); at != std::string::npos) {
      words.replace(at, 4, "'" + kExamples + "/sample.mesh'");
    }
    EXPECT_EQ(Run(words), 1) << words;
    ExpectOneErrorLine(c.says);
    EXPECT_EQ(Files("out"), std::vector<std::string>{"keep.any"}) << words;
    EXPECT_EQ(FileText("out/keep.any"), "imag1.bmp\r\n");
  }
}

// Ctrl+C acts as the Kancel button: the run stops, the frames written so far
// stay and the list holds exactly them.
TEST_F(MeshCommands, InterruptKeepsTheFramesWrittenSoFar) {
  // A large picture pair with a fine mesh, 100 frames: far longer than the
  // moment the interrupt comes.
  Bitmap first(800, 600, kBlack);
  Bitmap second(800, 600, kWhite);
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 800; ++x) first.SetPixel(x, y, MakeColor(x, y, x ^ y));
  }
  ASSERT_TRUE(SaveBmpFile(PathOf("a.bmp"), first));
  ASSERT_TRUE(SaveBmpFile(PathOf("b.bmp"), second));
  Mesh mesh;
  TMeshNode corners[4] = {{0, 0, 20, 10}, {799, 0, 780, 5}, {0, 599, 9, 580}, {799, 599, 760, 570}};
  const TMeshNode* n[4];
  for (int i = 0; i < 4; ++i) n[i] = mesh.PushNode(corners[i]);
  mesh.PushTriangle(n[0], n[1], n[2]);
  mesh.PushTriangle(n[1], n[3], n[2]);
  ASSERT_TRUE(WriteMeshFile(PathOf("big.mesh"), mesh, "a.bmp", "b.bmp"));

  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (chdir(dir_.c_str()) != 0) _exit(99);
    const int err = open("stderr.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int out = open("stdout.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(err, 2);
    dup2(out, 1);
    execl(VESK_BATCH_EXE, VESK_BATCH_EXE, "morph", "big.mesh", "--frames", "100", "--list",
          "out/i.any", static_cast<char*>(nullptr));
    _exit(98);
  }
  // Wait for the first frames, then interrupt.
  for (int i = 0; i < 200 && !fs::exists(dir_ / "out" / "imag3.bmp"); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  kill(child, SIGINT);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  err_ = FileText("stderr.txt");
  ExpectOneErrorLine("morph cancelled; ");
  auto names = ReadFrameListFile(PathOf("out/i.any"));
  ASSERT_TRUE(names.Ok());
  EXPECT_GE(names.Value().size(), 3u);
  EXPECT_LT(names.Value().size(), 101u);
  EXPECT_NE(err_.find(std::to_string(names.Value().size()) + " frames kept"), std::string::npos)
      << err_;
  // Every listed frame is whole, and no frame file is left out of the list.
  for (const std::string& name : names.Value()) EXPECT_EQ(Load(PathOf("out/" + name)).Width(), 800);
  EXPECT_EQ(Files("out").size(), names.Value().size() + 1);
}

TEST_F(MeshCommands, HelpListsEveryCommand) {
  ASSERT_EQ(Run("--help"), 0);
  for (const char* name : {"morph MESH", "distort MESH", "equalize IN --out OUT.bmp"}) {
    EXPECT_NE(out_.find(std::string("vesk-batch ") + name), std::string::npos) << out_;
  }
}

}  // namespace
}  // namespace vesk
