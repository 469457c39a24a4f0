// vesk-batch morph, colorize, flag and avi: the options reach the engines,
// the files written are the engines' pictures, a second run continues the
// numbering, and a mesh's pictures come from the mesh file's folder first.
// The manual page names every subcommand and option of the help.
#include <regex>

#include "core/generate/distortion.h"
#include "core/generate/morph.h"
#include "core/mesh/mesh_file.h"
#include "tests/batch/batch_test_support.h"
#include "tests/core/support/recording_run.h"

namespace vesk::testing {
namespace {

using Commands = BatchTest;

TEST_F(Commands, MorphWritesNPlusOneFramesOfItsOptionsAndContinuesTheNumbering) {
  ASSERT_EQ(Run("morph MESH --frames 3 --precision 2 --equalize off --list out/x"), 0) << err_;
  EXPECT_EQ(Text("out/x.any"), ListOf(1, 4));
  GenerationSetup setup{.frame_count = 3, .precision = 2, .equalize = false};
  testing_support::RecordingRun engine;
  Bitmap vesk;
  const Mesh mesh = ReadMeshFile(kExamples + "/sample.mesh").Value().mesh;
  ASSERT_TRUE(RunMorph(Load(kExamples + "/first.bmp"), Load(kExamples + "/second.bmp"),
                       TrianglePositionsOf(mesh), setup, vesk, engine));
  ASSERT_EQ(engine.written.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(Load("out/imag" + std::to_string(i + 1) + ".bmp"), engine.written[i]);
  }
  ASSERT_EQ(Run("morph MESH --frames 2"), 0);  // no list: nothing written
  EXPECT_NE(out_.find("no frame written"), std::string::npos) << out_;
  EXPECT_EQ(Files("out").size(), 5u);
  std::filesystem::create_directory(dir_ / "sub");  // pictures come from the mesh's folder first
  for (const std::string name : {"first.bmp", "second.bmp"}) {
    Save("sub/" + name, Bitmap(8, 8, kBlack));
    Save(name, Bitmap(8, 8, kWhite));
  }
  ASSERT_TRUE(WriteMeshFile(PathOf("sub/m.mesh"), Mesh(), "first.bmp", "second.bmp"));
  ASSERT_EQ(Run("morph sub/m.mesh --frames 1 --list out"), 0) << err_;
  EXPECT_NE(out_.find("listed in out.any"), std::string::npos) << out_;
  EXPECT_EQ(Load("imag1.bmp").Pixel(4, 4), kBlack);
  setup.renderer = Renderer::kSmooth;  // --render smooth and the timing reach the engine
  setup.curves = {TimingCurve::kEaseOut, TimingCurve::kEaseIn};
  setup.hold = 1;
  ASSERT_TRUE(RunDistortion(Load(kExamples + "/first.bmp"), TrianglePositionsOf(mesh), setup, vesk,
                            engine));
  ASSERT_EQ(Run("distort MESH --frames 3 --precision 2 --equalize off --render Smooth --list out/s "
                "--shape-curve ease-out --colour-curve ease-in --hold 1"), 0) << err_;
  EXPECT_EQ(Text("out/s.any"), ListOf(5, 10));  // frames 0 .. 3, the first and last twice
  EXPECT_EQ(Load("out/imag8.bmp"), engine.written[engine.written.size() - 3]);  // frame 2
}

TEST_F(Commands, ColorizeFlagAndAviWriteTheirFrames) {
  Save("black.bmp", Bitmap(4, 3, kBlack));
  Save("red.bmp", Bitmap(4, 3, MakeColor(255, 0, 0)));
  ASSERT_EQ(Run("colorize black.bmp red.bmp --frames 4 --list out/a.any"), 0) << err_;
  EXPECT_EQ(Text("out/a.any"), ListOf(1, 5));
  EXPECT_EQ(Load("out/imag3.bmp").Pixel(1, 1), MakeColor(127, 0, 0));  // halfway
  Save("flag.bmp", Bitmap(20, 11, kWhite));
  ASSERT_EQ(Run("flag flag.bmp --frames 3 --radius 5 --list w.any"), 0) << err_;
  EXPECT_EQ(Text("w.any"), ListOf(1, 3));
  EXPECT_EQ(Load("imag3.bmp").Width(), 30);  // grown by twice the radius
  ASSERT_EQ(Run("avi out/a.any --out out/m.avi"), 0) << err_;  // frames beside the list
  EXPECT_EQ(out_, "avi: 5 frames written to out/m.avi\n");
  EXPECT_EQ(Text("out/m.avi").substr(0, 4), "RIFF");
}

TEST_F(Commands, ManPageNamesEverySubcommandAndOptionOfTheHelpAndVersionIsShown) {
  Run("--help");
  const std::string help = out_;
  std::set<std::string> words;
  const std::regex command(R"(vesk-batch ([a-z]+))"), option(R"(--[a-z][-a-z]*)");
  for (auto [pattern, group] : {std::pair{&command, 1}, {&option, 0}}) {
    for (std::sregex_iterator it(help.begin(), help.end(), *pattern), end; it != end; ++it) {
      words.insert((*it)[group]);
    }
  }
  ASSERT_GE(words.size(), 10u) << help;
  const std::string page =  // as a reader sees it: roff's escaped hyphens made plain
      std::regex_replace(Text(VESK_SOURCE_DIR "/batch/vesk-batch.1"), std::regex(R"(\\-)"), "-");
  for (const std::string& word : words) {
    EXPECT_TRUE(std::regex_search(page, std::regex("(^|[^-a-z])" + word + "($|[^-a-z])")))
        << word << " is missing from the manual page";
  }
  Run("--version");
  EXPECT_EQ(out_.rfind("Vesk Trelvanique 1.1", 0), 0u) << out_;
}

}  // namespace
}  // namespace vesk::testing
