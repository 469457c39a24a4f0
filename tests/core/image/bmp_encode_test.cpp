// Writing BMP files: the exact 24-bit layout, round trips through the
// reader, and the file functions with their messages.
#include <gtest/gtest.h>

#include <random>

#include "bmp_test_files.h"
#include "core/image/bmp_codec.h"
#include "tests/core/support/temp_folder.h"

namespace vesk {
namespace {

Bitmap RandomImage(int width, int height, unsigned seed) {
  std::mt19937 rng(seed);
  Bitmap b(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) b.SetPixel(x, y, rng() & 0xFFFFFF);
  }
  return b;
}

TEST(BmpEncode, WritesBottomUpBgrRowsPaddedWithZerosAfterA54ByteHeader) {
  Bitmap b(3, 2);
  for (int i = 0; i < 6; ++i) b.SetPixel(i % 3, i / 3, MakeColor(i, 10 + i, 20 + i));
  b.SetPixel(2, 1, kInvalidColor);  // only the colour bits are written
  const testing::Bytes expected =
      testing::BuildBmp({.width = 3, .height = 2,
                         .pixels = {23, 13, 3, 24, 14, 4, 255, 255, 255, 0, 0, 0,
                                    20, 10, 0, 21, 11, 1, 22, 12, 2, 0, 0, 0}});
  EXPECT_EQ(EncodeBmp(b), expected);
}

TEST(BmpEncode, EveryWidthAndHeightRoundTrips) {
  for (int width : {1, 2, 3, 4, 5, 127, 128}) {
    for (int height : {1, 2, 7}) {
      Bitmap original = RandomImage(width, height, 1000 + width * 10 + height);
      std::vector<std::uint8_t> file = EncodeBmp(original);
      EXPECT_EQ(file.size(), 54u + (width * 3 + 3) / 4 * 4 * height);
      EXPECT_EQ(DecodeBmp(file).Value(), original) << width << " x " << height;
    }
  }
}

class BmpFiles : public testing_support::TempFolderTest {};

TEST_F(BmpFiles, SavedFileReplacesTheOldOneAndLoadsBack) {
  ASSERT_TRUE(SaveBmpFile(PathOf("a.bmp"), Bitmap(40, 40, kBlack)).Ok());
  Bitmap original = RandomImage(33, 17, 5);
  ASSERT_TRUE(SaveBmpFile(PathOf("a.bmp"), original).Ok());
  EXPECT_EQ(LoadBmpFile(PathOf("a.bmp")).Value(), original);
  EXPECT_EQ(FilesInFolder(), 1);
}

TEST_F(BmpFiles, FailuresGiveTheirMessages) {
  WriteBytes("notes.bmp", {'n', 'o', 't', 'e', 's'});
  WriteBytes("empty.bmp", {});
  for (auto [name, message] : {std::pair{"absent.bmp", "File Not Found"},
                               {"", "File Not Found"},
                               {"notes.bmp", "Bitmap image is not valid"},
                               {"empty.bmp", "Bitmap image is not valid"}}) {
    Result<Bitmap> r = LoadBmpFile(PathOf(name));
    ASSERT_FALSE(r.Ok()) << name;
    EXPECT_EQ(r.Message(), message) << name;
  }
  Status empty = SaveBmpFile(PathOf("new.bmp"), Bitmap());
  ASSERT_FALSE(empty.Ok());
  EXPECT_EQ(empty.Message(), "An empty image cannot be saved");
  EXPECT_FALSE(SaveBmpFile(PathOf("no/such/a.bmp"), Bitmap(1, 1)).Ok());
  EXPECT_EQ(FilesInFolder(), 2);
}

}  // namespace
}  // namespace vesk
