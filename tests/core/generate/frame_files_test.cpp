// Frame lists: reading them and writing a run's frames with their list.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/generate/frame_list.h"
#include "core/generate/frame_output.h"
#include "core/image/bmp_codec.h"
#include "tests/core/support/temp_folder.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

Lines Parse(const std::string& text) {
  return ParseFrameList(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

TEST(FrameList, LinesEndAtCrOrCrLfAndTheListAtTheTextEndMarker) {
  struct Row { const char* name; std::string text; Lines lines; };
  const Row rows[] = {
      {"three frames of 33 bytes", "imag1.bmp\r\nimag2.bmp\r\nimag3.bmp\r\n",
       {"imag1.bmp", "imag2.bmp", "imag3.bmp"}},
      {"empty file", "", {}},
      {"LF alone ends no line", "a.bmp\nb.bmp\n", {"a.bmp\nb.bmp\n"}},
      {"CR alone ends a line", "a.bmp\rb.bmp\r", {"a.bmp", "b.bmp"}},
      {"CR eats one LF only", "a.bmp\r\n\nb.bmp\r\n", {"a.bmp", "\nb.bmp"}},
      {"last line without line end", "a.bmp\r\nb.bmp", {"a.bmp", "b.bmp"}},
      {"empty lines are frames", "\r\n\r\na.bmp\r\n", {"", "", "a.bmp"}},
      {"marker ends the list", "a.bmp\r\nb.b\x1A" "mp\r\nc.bmp\r\n", {"a.bmp", "b.b"}},
      {"marker first", "\x1A" "a.bmp\r\n", {}},
      {"marker after CR adds no line", "a.bmp\r\x1A\n", {"a.bmp"}},
      {"lines used unchanged", " C:\\f\\i.bmp \r\n\t\xE9.bmp", {" C:\\f\\i.bmp ", "\t\xE9.bmp"}},
      {"NUL stays in the name", std::string("a\0b\r\n", 5), {std::string("a\0b", 3)}},
  };
  for (const Row& row : rows) EXPECT_EQ(Parse(row.text), row.lines) << row.name;
}

TEST(FrameList, FileNamesFollowTheFrameAndListRules) {
  EXPECT_EQ(FrameFileName(1), "imag1.bmp");
  EXPECT_EQ(FrameFileName(14), "imag14.bmp");
  struct Row { const char* chosen; const char* list; };
  for (const Row& r : {Row{"anim", "anim.any"}, Row{"anim.ANY", "anim.ANY"},
                       Row{"my.anything", "my.anything"}, Row{"/u/old.any.d/a", "/u/old.any.d/a"},
                       Row{"C:\\x.AnYway\\a", "C:\\x.AnYway\\a"}, Row{"anim.an", "anim.an.any"},
                       Row{"anim.txt", "anim.txt.any"}, Row{"any", "any.any"}}) {
    EXPECT_EQ(FrameListPathFor(r.chosen), r.list);
  }
}

Bitmap Frame(int k) { return Bitmap(5, 3, MakeColor(10 * k, 255 - k, 7)); }

class FrameFiles : public testing_support::TempFolderTest {
 protected:
  // Writes `count` frames and closes; answers the list's path while open.
  std::string Run(const std::string& chosen, int count) {
    FrameOutput out;
    EXPECT_TRUE(out.Open(PathOf(chosen)).Ok());
    const std::string list = out.ListPath();
    for (int k = 0; k < count; ++k) EXPECT_TRUE(out.WriteFrame(Frame(k)).Ok());
    EXPECT_TRUE(out.Close().Ok());
    return list;
  }
};

TEST_F(FrameFiles, FramesTakeTheLowestFreeNumbersAndAreListed) {
  for (const char* name : {"imag1.bmp", "imag2.bmp", "imag3.bmp", "imag5.bmp"}) {
    std::ofstream(PathOf(name)) << "old";
  }
  Run("gaps", 3);
  EXPECT_EQ(Text("gaps.any"), "imag4.bmp\r\nimag6.bmp\r\nimag7.bmp\r\n");
  EXPECT_EQ(Text("imag5.bmp"), "old");
  EXPECT_EQ(LoadBmpFile(PathOf("imag6.bmp")).Value(), Frame(1));
  Run("next.any", 2);
  EXPECT_EQ(ReadFrameListFile(PathOf("next.any")).Value(), (Lines{"imag8.bmp", "imag9.bmp"}));
  Run("none.any", 0);
  EXPECT_EQ(Text("none.any"), "");
  EXPECT_EQ(FilesInFolder(), 12);  // 9 frames, 3 lists, no temporary file
  fs::create_directory(dir_ / "sub");  // frames go to the folder of the list
  EXPECT_EQ(Run("sub/anim", 1), PathOf("sub/anim.any"));
  EXPECT_TRUE(fs::exists(dir_ / "sub" / "imag1.bmp"));
  EXPECT_EQ(Text("sub/anim.any"), "imag1.bmp\r\n");
  EXPECT_EQ(FilesInFolder(), 13);
}

// The previous list stays whole until the new one is closed: by Close, by
// opening another list, or when the output goes; a moved output goes on.
TEST_F(FrameFiles, ListIsReplacedWhenTheRunCloses) {
  Run("anim.any", 2);
  {
    FrameOutput out;
    ASSERT_TRUE(out.Open(PathOf("anim.any")).Ok());
    ASSERT_TRUE(out.WriteFrame(Frame(3)).Ok());
    EXPECT_EQ(Text("anim.any"), "imag1.bmp\r\nimag2.bmp\r\n");
    FrameOutput moved = std::move(out);
    ASSERT_TRUE(moved.WriteFrame(Frame(4)).Ok());
    ASSERT_TRUE(moved.Open(PathOf("b.any")).Ok());
    EXPECT_EQ(moved.FramesWritten(), 0);
    EXPECT_EQ(Text("anim.any"), "imag3.bmp\r\nimag4.bmp\r\n");
    ASSERT_TRUE(moved.WriteFrame(Frame(5)).Ok());
  }
  EXPECT_EQ(Text("b.any"), "imag5.bmp\r\n");
  EXPECT_TRUE(fs::exists(PathOf("imag1.bmp")));
}

// A read-only list or a missing folder: the replacing write's test, for every writer.
TEST_F(FrameFiles, ListThatCannotBeCreatedIsRefusedAndWritesNothing) {
  fs::create_directory(dir_ / "dir.any");
  FrameOutput out;
  EXPECT_EQ(out.Open(PathOf("dir.any")).Message(), "Cannot create file " + PathOf("dir.any"));
  EXPECT_FALSE(out.IsOpen());
  EXPECT_TRUE(out.WriteFrame(Frame(1)).Ok());  // not open: writes nothing
  EXPECT_EQ(FilesInFolder(), 1);
}

TEST_F(FrameFiles, FrameThatCannotBeSavedIsReportedAndNotListed) {
  fs::create_directory(dir_ / "gone");
  FrameOutput out;
  ASSERT_TRUE(out.Open(PathOf("anim.any")).Ok());
  ASSERT_TRUE(out.WriteFrame(Frame(1)).Ok());
  EXPECT_FALSE(out.WriteFrame(Bitmap()).Ok());  // no BMP file holds an empty picture
  ASSERT_TRUE(out.Close().Ok());
  EXPECT_EQ(out.FramesWritten(), 1);
  EXPECT_EQ(Text("anim.any"), "imag1.bmp\r\n");
  ASSERT_TRUE(out.Open(PathOf("gone/anim.any")).Ok());
  fs::remove_all(dir_ / "gone");
  EXPECT_FALSE(out.WriteFrame(Frame(2)).Ok());
  EXPECT_FALSE(out.Close().Ok());
}

}  // namespace
}  // namespace vesk
