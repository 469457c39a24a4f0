#include "core/animation/avi_from_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/image/bmp_codec.h"
#include "tests/core/animation/riff_walker.h"
#include "tests/core/support/temp_folder.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;
using testing_riff::ReadBytes;
using testing_riff::RiffChunk;
using testing_riff::WalkRiff;

class AviFromList : public testing_support::TempFolderTest {
 protected:

  // Frames imag1.bmp .. imagN.bmp of 5 x 3, frame k all one colour.
  std::vector<std::string> SaveFrames(int n) {
    std::vector<std::string> names;
    for (int k = 1; k <= n; ++k) {
      std::string name = PathOf("imag" + std::to_string(k) + ".bmp");
      EXPECT_TRUE(SaveBmpFile(name, Bitmap(5, 3, MakeColor(10 * k, 20, 255 - k))).Ok());
      names.push_back(name);
    }
    return names;
  }
};

TEST_F(AviFromList, WritesEveryListedFrameInOrder) {
  std::vector<std::string> names = SaveFrames(5);
  std::vector<std::pair<int, int>> seen;
  std::string out = PathOf("list.avi");
  ASSERT_TRUE(WriteAviFromList(names, out, [&](int i, int n) { seen.emplace_back(i, n); }).Ok());
  EXPECT_EQ(seen.size(), 5u);
  EXPECT_EQ(seen.back(), std::make_pair(5, 5));
  std::vector<std::uint8_t> b = ReadBytes(out);
  RiffChunk root;
  std::string error;
  ASSERT_TRUE(WalkRiff(b, root, error)) << error;
  const RiffChunk* movi = root.Child("movi");
  ASSERT_EQ(movi->children.size(), 5u);
  for (int k = 1; k <= 5; ++k) {
    std::size_t at = movi->children[k - 1].data_offset;  // bottom-left pixel: blue, green, red
    EXPECT_EQ(b[at], 255 - k);
    EXPECT_EQ(b[at + 1], 20);
    EXPECT_EQ(b[at + 2], 10 * k);
  }
}

TEST_F(AviFromList, FrameThatCannotBeLoadedIsNamedAndThePreviousFileStays) {
  std::vector<std::string> names = SaveFrames(4);
  std::ofstream(names[2], std::ios::binary | std::ios::trunc) << "not a bitmap";
  std::string out = PathOf("list.avi");
  std::ofstream(out, std::ios::binary) << "previous";
  Status status = WriteAviFromList(names, out, nullptr);
  ASSERT_FALSE(status.Ok());
  EXPECT_EQ(status.Message(), names[2] + ": Bitmap image is not valid");
  EXPECT_EQ(ReadBytes(out).size(), 8u);

  names[2] = PathOf("gone.bmp");
  status = WriteAviFromList(names, out, nullptr);
  ASSERT_FALSE(status.Ok());
  EXPECT_EQ(status.Message(), names[2] + ": File Not Found");
  EXPECT_FALSE(fs::exists(out + ".vesk-tmp"));
}

TEST_F(AviFromList, EmptyListCreatesNoFile) {
  std::string out = PathOf("none.avi");
  Status status = WriteAviFromList({}, out, nullptr);
  ASSERT_FALSE(status.Ok());
  EXPECT_EQ(status.Message(), "The frame list holds no frame: no AVI file was written");
  EXPECT_FALSE(fs::exists(out));
}

}  // namespace
}  // namespace vesk
