#include "core/generate/frame_output.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/common/file_io.h"
#include "core/generate/frame_list.h"
#include "core/image/bmp_codec.h"
#include "tests/core/support/temp_folder.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

Bitmap Frame(int k) {
  Bitmap b(5, 3, MakeColor(10 * k, 255 - k, 7));
  b.SetPixel(k % 5, k % 3, kBlack);
  return b;
}

class FrameOutputTest : public testing_support::TempFolderTest {
 protected:
  void Touch(const std::string& name) { std::ofstream(PathOf(name)) << "old"; }
  std::string FileText(const std::string& name) const {
    auto bytes = ReadWholeFile(PathOf(name));
    EXPECT_TRUE(bytes.Ok()) << name;
    if (!bytes.Ok()) return {};
    return std::string(bytes.Value().begin(), bytes.Value().end());
  }
  Names ListOf(const std::string& name) const {
    auto lines = ReadFrameListFile(PathOf(name));
    EXPECT_TRUE(lines.Ok()) << name;
    return lines.Ok() ? lines.Value() : Names{};
  }
  // One run: opens the list, writes `count` frames, closes.
  void Run(const std::string& chosen, int count) {
    FrameOutput out;
    ASSERT_TRUE(out.Open(PathOf(chosen)).Ok());
    for (int k = 0; k < count; ++k) ASSERT_TRUE(out.WriteFrame(Frame(k)).Ok());
    ASSERT_TRUE(out.Close().Ok());
  }
};

TEST(FrameFileName, IsImagNumberBmpWithoutLeadingZeros) {
  EXPECT_EQ(FrameFileName(1), "imag1.bmp");
  EXPECT_EQ(FrameFileName(10), "imag10.bmp");
  EXPECT_EQ(FrameFileName(14), "imag14.bmp");
}

TEST(FrameListPathFor, AppendsAnyUnlessTheNameHoldsIt) {
  EXPECT_EQ(FrameListPathFor("anim"), "anim.any");
  EXPECT_EQ(FrameListPathFor("anim.ANY"), "anim.ANY");
  EXPECT_EQ(FrameListPathFor("anim.Any"), "anim.Any");
  EXPECT_EQ(FrameListPathFor("my.anything"), "my.anything");
  EXPECT_EQ(FrameListPathFor("/home/u/old.any.d/anim"), "/home/u/old.any.d/anim");
  EXPECT_EQ(FrameListPathFor("C:\\x.AnYway\\anim"), "C:\\x.AnYway\\anim");
  EXPECT_EQ(FrameListPathFor("anim.an"), "anim.an.any");
  EXPECT_EQ(FrameListPathFor("anim.txt"), "anim.txt.any");
  EXPECT_EQ(FrameListPathFor("any"), "any.any");
}

TEST_F(FrameOutputTest, NextFrameNameStartsAtOneInAnEmptyFolder) {
  EXPECT_EQ(NextFrameName(dir_.string()), "imag1.bmp");
}

TEST_F(FrameOutputTest, NextFrameNameTakesTheLowestFreeNumber) {
  for (const char* name : {"imag1.bmp", "imag2.bmp", "imag3.bmp", "imag5.bmp"}) Touch(name);
  EXPECT_EQ(NextFrameName(dir_.string()), "imag4.bmp");
}

TEST_F(FrameOutputTest, NextFrameNameCountsAReadOnlyFileAsFree) {
  Touch("imag1.bmp");
  fs::permissions(PathOf("imag1.bmp"), fs::perms::owner_read, fs::perm_options::replace);
  EXPECT_EQ(NextFrameName(dir_.string()), "imag1.bmp");
}

TEST_F(FrameOutputTest, FirstRunWritesNumberedFramesAndListsThem) {
  Run("anim", 13);
  Names expected;
  for (int n = 1; n <= 13; ++n) expected.push_back("imag" + std::to_string(n) + ".bmp");
  EXPECT_EQ(ListOf("anim.any"), expected);
  for (int n = 1; n <= 13; ++n) {
    auto frame = LoadBmpFile(PathOf(expected[n - 1]));
    ASSERT_TRUE(frame.Ok()) << n;
    EXPECT_EQ(frame.Value(), Frame(n - 1)) << n;
  }
  // The frames, the list, and no temporary file left over.
  EXPECT_EQ(FilesInFolder(), 14);
}

TEST_F(FrameOutputTest, SecondRunContinuesTheNumbering) {
  Run("first.any", 13);
  Run("second.any", 3);
  EXPECT_EQ(ListOf("second.any"), (Names{"imag14.bmp", "imag15.bmp", "imag16.bmp"}));
  EXPECT_EQ(ListOf("first.any").size(), 13u);
}

TEST_F(FrameOutputTest, GapsAreFilledFirst) {
  for (const char* name : {"imag1.bmp", "imag2.bmp", "imag3.bmp", "imag5.bmp"}) Touch(name);
  Run("gaps.any", 3);
  EXPECT_EQ(ListOf("gaps.any"), (Names{"imag4.bmp", "imag6.bmp", "imag7.bmp"}));
  EXPECT_EQ(FileText("imag5.bmp"), "old");
}

TEST_F(FrameOutputTest, ListOfThreeFramesIs33Bytes) {
  Run("three", 3);
  EXPECT_EQ(FileText("three.any"), "imag1.bmp\r\nimag2.bmp\r\nimag3.bmp\r\n");
}

TEST_F(FrameOutputTest, RunWithoutFramesLeavesAnEmptyList) {
  Run("none.any", 0);
  ASSERT_TRUE(fs::exists(PathOf("none.any")));
  EXPECT_EQ(fs::file_size(PathOf("none.any")), 0u);
}

TEST_F(FrameOutputTest, ExistingListIsReplacedAndOldFramesStay) {
  Run("anim.any", 2);
  Run("anim.any", 1);
  EXPECT_EQ(FileText("anim.any"), "imag3.bmp\r\n");
  EXPECT_TRUE(fs::exists(PathOf("imag1.bmp")));
  EXPECT_TRUE(fs::exists(PathOf("imag2.bmp")));
}

TEST_F(FrameOutputTest, FramesGoToTheListFolder) {
  fs::create_directory(dir_ / "sub");
  FrameOutput out;
  ASSERT_TRUE(out.Open(PathOf("sub/anim")).Ok());
  EXPECT_EQ(out.ListPath(), PathOf("sub/anim.any"));
  EXPECT_EQ(fs::path(out.FrameFolder()), dir_ / "sub");
  ASSERT_TRUE(out.WriteFrame(Frame(1)).Ok());
  ASSERT_TRUE(out.Close().Ok());
  EXPECT_TRUE(fs::exists(dir_ / "sub" / "imag1.bmp"));
  EXPECT_FALSE(fs::exists(dir_ / "imag1.bmp"));
  EXPECT_EQ(ListOf("sub/anim.any"), (Names{"imag1.bmp"}));
}

TEST_F(FrameOutputTest, NotOpenWritesNothing) {
  FrameOutput out;
  EXPECT_FALSE(out.IsOpen());
  EXPECT_TRUE(out.WriteFrame(Frame(1)).Ok());
  EXPECT_TRUE(out.Close().Ok());
  EXPECT_EQ(out.FramesWritten(), 0);
  EXPECT_EQ(FilesInFolder(), 0);
}

TEST_F(FrameOutputTest, ListInAMissingFolderCannotBeCreated) {
  FrameOutput out;
  Status opened = out.Open(PathOf("missing/anim"));
  ASSERT_FALSE(opened.Ok());
  EXPECT_EQ(opened.Message(), "Cannot create file " + PathOf("missing/anim.any"));
  EXPECT_FALSE(out.IsOpen());
  EXPECT_EQ(FilesInFolder(), 0);
}

TEST_F(FrameOutputTest, ReadOnlyListIsRefusedAndKept) {
  std::ofstream(PathOf("locked.any"), std::ios::binary) << "imag9.bmp\r\n";
  fs::permissions(PathOf("locked.any"), fs::perms::owner_read, fs::perm_options::replace);
  FrameOutput out;
  EXPECT_FALSE(out.Open(PathOf("locked.any")).Ok());
  EXPECT_FALSE(out.IsOpen());
  EXPECT_EQ(FileText("locked.any"), "imag9.bmp\r\n");
}

TEST_F(FrameOutputTest, FolderUnderTheListNameIsRefused) {
  fs::create_directory(dir_ / "dir.any");
  FrameOutput out;
  EXPECT_FALSE(out.Open(PathOf("dir.any")).Ok());
}

TEST_F(FrameOutputTest, FrameThatCannotBeSavedIsReportedAndNotListed) {
  FrameOutput out;
  ASSERT_TRUE(out.Open(PathOf("anim.any")).Ok());
  ASSERT_TRUE(out.WriteFrame(Frame(1)).Ok());
  Status failed = out.WriteFrame(Bitmap());  // no BMP file holds an empty picture
  EXPECT_FALSE(failed.Ok());
  EXPECT_FALSE(failed.Message().empty());
  ASSERT_TRUE(out.Close().Ok());
  EXPECT_EQ(out.FramesWritten(), 1);
  EXPECT_EQ(FileText("anim.any"), "imag1.bmp\r\n");
  EXPECT_FALSE(fs::exists(PathOf("imag2.bmp")));
}

TEST_F(FrameOutputTest, FolderRemovedDuringTheRunIsReportedWithoutCrash) {
  fs::create_directory(dir_ / "gone");
  FrameOutput out;
  ASSERT_TRUE(out.Open(PathOf("gone/anim.any")).Ok());
  ASSERT_TRUE(out.WriteFrame(Frame(1)).Ok());
  fs::remove_all(dir_ / "gone");
  EXPECT_FALSE(out.WriteFrame(Frame(2)).Ok());
  EXPECT_FALSE(out.Close().Ok());
  EXPECT_FALSE(out.IsOpen());
}

TEST_F(FrameOutputTest, PreviousListStaysWholeUntilTheRunCloses) {
  Run("anim.any", 1);
  FrameOutput out;
  ASSERT_TRUE(out.Open(PathOf("anim.any")).Ok());
  ASSERT_TRUE(out.WriteFrame(Frame(2)).Ok());
  EXPECT_EQ(FileText("anim.any"), "imag1.bmp\r\n");
  ASSERT_TRUE(out.Close().Ok());
  EXPECT_EQ(FileText("anim.any"), "imag2.bmp\r\n");
}

TEST_F(FrameOutputTest, DestroyingTheOutputClosesTheList) {
  {
    FrameOutput out;
    ASSERT_TRUE(out.Open(PathOf("anim.any")).Ok());
    ASSERT_TRUE(out.WriteFrame(Frame(1)).Ok());
  }
  EXPECT_EQ(FileText("anim.any"), "imag1.bmp\r\n");
}

TEST_F(FrameOutputTest, OpeningAgainClosesThePreviousList) {
  FrameOutput out;
  ASSERT_TRUE(out.Open(PathOf("a.any")).Ok());
  ASSERT_TRUE(out.WriteFrame(Frame(1)).Ok());
  ASSERT_TRUE(out.Open(PathOf("b.any")).Ok());
  EXPECT_EQ(out.FramesWritten(), 0);
  ASSERT_TRUE(out.WriteFrame(Frame(2)).Ok());
  ASSERT_TRUE(out.Close().Ok());
  EXPECT_EQ(FileText("a.any"), "imag1.bmp\r\n");
  EXPECT_EQ(FileText("b.any"), "imag2.bmp\r\n");
}

TEST_F(FrameOutputTest, MovedOutputKeepsWritingTheSameList) {
  FrameOutput first;
  ASSERT_TRUE(first.Open(PathOf("anim.any")).Ok());
  ASSERT_TRUE(first.WriteFrame(Frame(1)).Ok());
  FrameOutput second = std::move(first);
  ASSERT_TRUE(second.WriteFrame(Frame(2)).Ok());
  ASSERT_TRUE(second.Close().Ok());
  EXPECT_EQ(FileText("anim.any"), "imag1.bmp\r\nimag2.bmp\r\n");
}

}  // namespace
}  // namespace vesk
