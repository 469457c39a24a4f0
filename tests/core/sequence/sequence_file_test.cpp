// The sequence file: written and read back to the same model and the same
// bytes, pictures named from its folder, a missing picture named, and every
// malformed file's message.
#include "core/sequence/sequence_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/mesh/mesh_file.h"
#include "tests/core/support/temp_folder.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;

class SequenceFileTest : public testing_support::TempFolderTest {
 protected:
  // Pictures a.bmp, "b c.bmp" and d.bmp in the folder (only their names
  // matter here), looped, with an automatic, an edited and a failed pair.
  Sequence Made() {
    Sequence s(SequenceOptions{.frames_per_pair = 12, .hold = 3, .curves = {TimingCurve::kEaseIn,
                               TimingCurve::kEaseInOut}, .loop = true, .align_faces = true,
                               .renderer = Renderer::kClassic, .method = AutoMeshMethod::kFlow,
                               .fps = 12, .output_size = ImageSize{64, 48}, .quality = 0,
                               .lossless = true});
    for (const char* name : {"a.bmp", "b c.bmp", "d.bmp"}) {
      WriteBytes(name, {'x'});
      s.Add(s.PictureCount(), PathOf(name));
    }
    const MeshFrame frame = *s.Frame();
    const MeshSnapshot mesh{{TMeshNode{1, 2, 3, 4}, TMeshNode{5, 6, 7, 8}, TMeshNode{9, 1, 2, 3}},
                            {{0, 1, 2}}, 0, 2};
    EXPECT_TRUE(s.SetAutomaticMesh(s.PairAt(0), mesh, "Flow: 3 points, 8\tborder", frame));
    EXPECT_TRUE(s.SetEditedMesh(s.PairAt(1), MeshSnapshot{{TMeshNode{0, 0, 1, 1}}, {}, 0, 0}));
    EXPECT_TRUE(s.SetFailed(s.PairAt(2), "No face found in\nd.bmp", frame));
    return s;
  }
  std::string Read(const std::string& text) {
    WriteBytes("s.vseq", std::vector<std::uint8_t>(text.begin(), text.end()));
    Result<Sequence> read = ReadSequenceFile(PathOf("s.vseq"));
    return read ? MissingPicturesMessage(read.Value()) : read.Message();
  }
};

TEST_F(SequenceFileTest, WritesReadsAndRewritesTheSameBytes) {
  const Sequence made = Made();
  ASSERT_TRUE(WriteSequenceFile(PathOf("trip.vseq"), made).Ok());
  EXPECT_EQ(Text("trip.vseq").substr(Text("trip.vseq").find("\nframes")),
            "\nframes 12\nhold 3\nshape-curve ease-in\ncolour-curve ease-in-out\nloop on\n"
            "align faces\nrender classic\nmethod flow\nfps 12\nsize 64 48\nquality 0\n"
            "lossless on\npicture a.bmp\npicture b c.bmp\npicture d.bmp\n"
            "pair 1 auto 64x48@1 Flow: 3 points, 8\tborder\npair 2 edited 64x48@1\n"
            "pair 3 failed 64x48@1 No face found in d.bmp\n");
  // Each mesh in a file of its own that Open Morph Mesh reads, its pictures named as here.
  Result<MeshFileContent> pair = ReadMeshFile(PathOf("trip.pair-2.mesh"));
  ASSERT_TRUE(pair.Ok());
  EXPECT_EQ(pair.Value().first_file_name + "|" + pair.Value().second_file_name, "b c.bmp|d.bmp");
  EXPECT_FALSE(fs::exists(PathOf("trip.pair-3.mesh")));  // a failure has no mesh

  Result<Sequence> read = ReadSequenceFile(PathOf("trip.vseq"));
  ASSERT_TRUE(read.Ok()) << read.Message();
  const Sequence& again = read.Value();
  EXPECT_EQ(again.MeshOf(again.PairAt(2)).text, "No face found in d.bmp");
  EXPECT_EQ(again.MeshOf(again.PairAt(0)), made.MeshOf(made.PairAt(0)));
  EXPECT_TRUE(again.Options() == made.Options() && again.Pictures() == made.Pictures());
  std::vector<std::string> before;
  for (const char* name : {"trip.vseq", "trip.pair-1.mesh", "trip.pair-2.mesh"}) {
    before.push_back(Text(name));
  }
  ASSERT_TRUE(WriteSequenceFile(PathOf("trip.vseq"), again).Ok());
  EXPECT_EQ(before, (std::vector<std::string>{Text("trip.vseq"), Text("trip.pair-1.mesh"),
                                              Text("trip.pair-2.mesh")}));

  // From another folder the pictures are named through "..".
  fs::create_directory(dir_ / "sub");
  ASSERT_TRUE(WriteSequenceFile(PathOf("sub/x.vseq"), again).Ok());
  EXPECT_NE(Text("sub/x.vseq").find("picture ../b c.bmp\n"), std::string::npos);
  ASSERT_TRUE(ReadSequenceFile(PathOf("sub/x.vseq")).Ok());
  EXPECT_EQ(ReadSequenceFile(PathOf("sub/x.vseq")).Value().Pictures(), made.Pictures());
}

TEST_F(SequenceFileTest, AMissingPictureIsNamedAndKept) {
  WriteBytes("a.bmp", {'x'});
  const std::string text = "vesk-sequence 1\npicture a.bmp\npicture gone.jpg\npicture c.jpg\n";
  EXPECT_EQ(Read(text), "Pictures not found: " + PathOf("gone.jpg") + ", " + PathOf("c.jpg"));
  WriteBytes("c.jpg", {'x'});
  EXPECT_EQ(Read(text), "Picture not found: " + PathOf("gone.jpg"));
  const Sequence s = ReadSequenceFile(PathOf("s.vseq")).Value();
  EXPECT_EQ(s.PictureCount(), 3);
  EXPECT_EQ(s.Options(), SequenceOptions{});  // every option left out takes its default
  EXPECT_EQ(Read("vesk-sequence 1\r\n# only pictures\r\n\r\npicture a.bmp\r\n"), "");
}

TEST_F(SequenceFileTest, MalformedFilesGiveTheirMessages) {
  const std::string v = "vesk-sequence 1\n", two = v + "picture a\npicture b\n";
  const std::string name = PathOf("s.vseq");
  const std::pair<std::string, std::string> rows[] = {
      {"", "line 1: not a sequence file (the first line is not \"vesk-sequence 1\")"},
      {"vesk-sequence 2\nframes 9\n",
       "line 1: made by a later version of the program (sequence file version 2; this one "
       "reads 1)"},
      {v + "frmes 12\n", "line 2: unknown key \"frmes\""},
      {v + "frames 1\n", "line 2: frames must be a whole number from 2 to 1000, not \"1\""},
      {v + "hold -1\n", "line 2: hold must be a whole number from 0 to 1000, not \"-1\""},
      {v + "fps\n", "line 2: fps must be a whole number from 1 to 100, not \"\""},
      {v + "quality 80\nquality 80\n", "line 3: quality is given twice"},
      {v + "loop yes\n", "line 2: loop must be off or on, not \"yes\""},
      {v + "shape-curve Linear\n",
       "line 2: shape-curve must be linear, ease-in, ease-out or ease-in-out, not \"Linear\""},
      {v + "size 32768 32768\n",
       "line 2: size must be first, or a width and a height (at most 32768 pixels on a side and "
       "268435456 in all), not \"32768 32768\""},
      {v + "picture\n", "line 2: a picture line without a name"},
      {v + "picture a\rb\n", "line 2: the line holds a control character"},
      {two + "pair 1 auto\n",
       "line 4: a pair line is \"pair NUMBER auto|edited|failed WxH[@N] [TEXT]\""},
      {two + "pair 1 none 2x2\n",
       "line 4: a pair line is \"pair NUMBER auto|edited|failed WxH[@N] [TEXT]\""},
      {two + "pair 2 failed 2x2\n", "line 4: pair 2 does not exist: 2 pictures make one pair"},
      {two + "pair 1 failed 2x2\npair 1 failed 2x2\n", "line 5: pair 1 is given twice"},
      {two + "pair 1 failed 2x2@3\n", "line 4: picture 3 does not exist"},
      {two + "pair 1 edited 2x2\n",
       "line 4: " + PathOf("s.pair-1.mesh") + ": File Not Found"},
  };
  for (const auto& [text, message] : rows) EXPECT_EQ(Read(text), name + ", " + message) << text;
  WriteBytes("s.pair-1.mesh", {6, 'M', 'E', 'S', 'H'});
  EXPECT_EQ(Read(two + "pair 1 auto 2x2\n"),
            name + ", line 4: " + PathOf("s.pair-1.mesh") + ": Read beyond end of file");
  EXPECT_EQ(ReadSequenceFile(PathOf("none.vseq")).Message(),
            PathOf("none.vseq") + ": File Not Found");
  Sequence bad;
  bad.Add(0, "two\nlines.bmp");
  EXPECT_FALSE(WriteSequenceFile(PathOf("bad.vseq"), bad).Ok());
  EXPECT_FALSE(fs::exists(PathOf("bad.vseq")));
}

}  // namespace
}  // namespace vesk
