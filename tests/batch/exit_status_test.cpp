// vesk-batch's exit status for wrong usage (2) and bad input (1): one line
// on standard error and nothing written, whichever command.
#include "core/mesh/mesh_file.h"
#include "tests/batch/batch_test_support.h"

namespace vesk::testing {
namespace {

struct Case {
  const char* words;  // MESH stands for the example mesh
  const char* says;
};

class ExitStatus : public BatchTest {
 protected:
  void Expect(const Case& c, int status) {
    std::string words = c.words;
    if (auto at = words.find("MESH"); at != std::string::npos) {
      words.replace(at, 4, "'" + kExamples + "/sample.mesh'");
    }
    EXPECT_EQ(Run(words), status) << words;
    ExpectOneErrorLine(c.says);
    EXPECT_EQ(Written(), std::vector<std::string>{"keep.any"}) << words;
    EXPECT_EQ(Text("out/keep.any"), "imag1.bmp\r\n") << words;
  }
  void SetUp() override {
    BatchTest::SetUp();
    std::ofstream(Path("out/keep.any"), std::ios::binary) << "imag1.bmp\r\n";
  }
};

TEST_F(ExitStatus, WrongUsageExitsWithTwo) {
  Save("a.bmp", Bitmap(6, 6, kBlack));
  const Case cases[] = {
      {"", "no command given"},
      {"paint x", "unknown command \"paint\""},
      {"morph", "a file name is missing"},
      {"morph a.mesh b.mesh", "unexpected word b.mesh"},
      {"morph MESH --speed 3", "unknown option --speed"},
      {"morph MESH --frames 0", "--frames must be a whole number from 1 to 100, not \"0\""},
      {"morph MESH --precision 1001", "--precision must be a whole number from 1 to 1000"},
      {"distort MESH --equalize maybe", "--equalize must be on or off, not \"maybe\""},
      {"sheetglass a.bmp --out out/r.bmp --sheet 5", "--sheet"},
      {"sheetglass a.bmp", "option --out is missing"},
      {"avi out/keep.any --out out/x.avi --fps 3", "unknown option --fps"},
  };
  for (const Case& c : cases) Expect(c, 2);
  EXPECT_EQ(Run("morph a.mesh --frames 0"), 2);
  EXPECT_NE(err_.find("(usage: vesk-batch morph MESH"), std::string::npos) << err_;
}

TEST_F(ExitStatus, BadInputExitsWithOne) {
  std::ofstream(Path("other.mesh"), std::ios::binary) << "MESH10 and more bytes";
  std::ofstream(Path("broken.bmp"), std::ios::binary) << "BM not really";
  auto example = ReadMeshFile(kExamples + "/sample.mesh");
  ASSERT_TRUE(example.Ok());
  const Mesh& mesh = example.Value().mesh;
  ASSERT_TRUE(WriteMeshFile(Path("lost.mesh"), mesh, "nowhere/first.bmp", "second.bmp"));
  Save("wide.bmp", Bitmap(32760, 1, kBlack));
  Save("imag1.bmp", Bitmap(4, 4, kBlack));
  const Case cases[] = {
      {"morph missing.mesh --list out/keep.any", "missing.mesh: File Not Found"},
      {"distort other.mesh --list out/keep.any",
       "other.mesh: Error in file format (required mesh 1.1)"},
      {"morph lost.mesh --list out/keep.any", "first image \"nowhere/first.bmp\" not found"},
      {"morph MESH --list no/such/folder/x.any", "no/such/folder/x.any"},
      {"colorize broken.bmp imag1.bmp --list out/keep.any", "Bitmap image is not valid"},
      {"flag wide.bmp --radius 5 --list out/keep.any", "Bitmap is too large"},
      {"equalize picture.gif --out out/keep.any", "Unknown picture file extension (.gif)"},
      {"sheetglass broken.bmp --out out/keep.any", "broken.bmp: Bitmap image is not valid"},
      {"avi missing.any --out out/keep.any", "missing.any: File Not Found"},
  };
  for (const Case& c : cases) Expect(c, 1);
}

}  // namespace
}  // namespace vesk::testing
