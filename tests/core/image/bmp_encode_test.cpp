// Writing BMP files: the exact 24-bit layout, round trips through the
// reader, and the file functions.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include <unistd.h>

#include "bmp_test_files.h"
#include "core/image/bmp_codec.h"
#include "tests/core/support/temp_folder.h"

namespace vesk {
namespace {

using testing::Peek16;
using testing::Peek32;

Bitmap RandomImage(int width, int height, unsigned seed) {
  std::mt19937 rng(seed);
  Bitmap b(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) b.SetPixel(x, y, rng() & 0xFFFFFF);
  }
  return b;
}

class BmpRoundTrip : public ::testing::TestWithParam<int> {};

TEST_P(BmpRoundTrip, OddWidthsKeepEveryPixel) {
  const int width = GetParam();
  for (int height : {1, 2, 7}) {
    Bitmap original = RandomImage(width, height, 1000 + width * 10 + height);
    std::vector<std::uint8_t> file = EncodeBmp(original);
    const std::size_t stride = (width * 3 + 3) / 4 * 4;
    EXPECT_EQ(file.size(), 54 + stride * height);
    Result<Bitmap> back = DecodeBmp(file);
    ASSERT_TRUE(back.Ok()) << back.Message();
    EXPECT_EQ(back.Value(), original) << width << " x " << height;
  }
}

INSTANTIATE_TEST_SUITE_P(Widths, BmpRoundTrip, ::testing::Values(1, 2, 3, 4, 5, 127, 128));

TEST(BmpEncode, HeadersDescribeATwentyFourBitBottomUpFile) {
  Bitmap b(3, 2, kBlack);
  std::vector<std::uint8_t> f = EncodeBmp(b);
  ASSERT_EQ(f.size(), 54u + 2 * 12);  // a width of 3 makes rows of 12 bytes
  EXPECT_EQ(f[0], 'B');
  EXPECT_EQ(f[1], 'M');
  EXPECT_EQ(Peek32(f, testing::kOffFileSize), f.size());
  EXPECT_EQ(Peek32(f, testing::kOffReserved), 0u);
  EXPECT_EQ(Peek32(f, testing::kOffPixelOffset), 54u);
  EXPECT_EQ(Peek32(f, testing::kOffHeaderSize), 40u);
  EXPECT_EQ(Peek32(f, testing::kOffWidth), 3u);
  EXPECT_EQ(Peek32(f, testing::kOffHeight), 2u);  // positive: bottom-up
  EXPECT_EQ(Peek16(f, testing::kOffPlanes), 1u);
  EXPECT_EQ(Peek16(f, testing::kOffBits), 24u);
  EXPECT_EQ(Peek32(f, testing::kOffCompression), 0u);
  EXPECT_EQ(Peek32(f, testing::kOffSizeImage), 24u);
  EXPECT_EQ(Peek32(f, testing::kOffColorsUsed), 0u);
}

TEST(BmpEncode, RowsAreBottomUpBlueGreenRedWithZeroPadding) {
  Bitmap b(1, 2);
  b.SetPixel(0, 0, MakeColor(1, 2, 3));  // top
  b.SetPixel(0, 1, MakeColor(4, 5, 6));  // bottom, stored first
  std::vector<std::uint8_t> f = EncodeBmp(b);
  ASSERT_EQ(f.size(), 54u + 8);
  const std::vector<std::uint8_t> pixels(f.begin() + 54, f.end());
  EXPECT_EQ(pixels, (std::vector<std::uint8_t>{6, 5, 4, 0, 3, 2, 1, 0}));
}

TEST(BmpEncode, OnlyTheColourBitsAreWritten) {
  Bitmap b(1, 1, kInvalidColor);
  Result<Bitmap> back = DecodeBmp(EncodeBmp(b));
  ASSERT_TRUE(back.Ok());
  EXPECT_EQ(back.Value().Pixel(0, 0), kWhite);
}

class BmpFiles : public testing_support::TempFolderTest {};

TEST_F(BmpFiles, SavedFileLoadsBackWithTheSamePixels) {
  Bitmap original = RandomImage(33, 17, 5);
  ASSERT_TRUE(SaveBmpFile(PathOf("a.bmp"), original).Ok());
  EXPECT_EQ(std::filesystem::file_size(PathOf("a.bmp")), 54u + 100 * 17);
  Result<Bitmap> back = LoadBmpFile(PathOf("a.bmp"));
  ASSERT_TRUE(back.Ok()) << back.Message();
  EXPECT_EQ(back.Value(), original);
}

TEST_F(BmpFiles, SavingReplacesAnExistingFileAndLeavesNoTemporary) {
  ASSERT_TRUE(SaveBmpFile(PathOf("a.bmp"), Bitmap(40, 40, kBlack)).Ok());
  ASSERT_TRUE(SaveBmpFile(PathOf("a.bmp"), Bitmap(2, 2, kWhite)).Ok());
  EXPECT_EQ(LoadBmpFile(PathOf("a.bmp")).Value(), Bitmap(2, 2, kWhite));
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir_)) ++files;
  EXPECT_EQ(files, 1);
}

TEST_F(BmpFiles, MissingFileIsNotFound) {
  Result<Bitmap> r = LoadBmpFile(PathOf("absent.bmp"));
  ASSERT_FALSE(r.Ok());
  EXPECT_EQ(r.Message(), "File Not Found");
  Result<Bitmap> folder = LoadBmpFile(dir_.string());
  ASSERT_FALSE(folder.Ok());
  EXPECT_EQ(folder.Message(), "File Not Found");
}

TEST_F(BmpFiles, FileThatIsNotABitmapIsNotValid) {
  std::ofstream(PathOf("notes.bmp")) << "these are not pixels\n";
  Result<Bitmap> r = LoadBmpFile(PathOf("notes.bmp"));
  ASSERT_FALSE(r.Ok());
  EXPECT_EQ(r.Message(), "Bitmap image is not valid");
  std::ofstream(PathOf("empty.bmp")).close();
  Result<Bitmap> empty = LoadBmpFile(PathOf("empty.bmp"));
  ASSERT_FALSE(empty.Ok());
  EXPECT_EQ(empty.Message(), "Bitmap image is not valid");
}

TEST_F(BmpFiles, EmptyImageIsNotSaved) {
  Status s = SaveBmpFile(PathOf("empty.bmp"), Bitmap());
  ASSERT_FALSE(s.Ok());
  EXPECT_EQ(s.Message(), "An empty image cannot be saved");
  EXPECT_FALSE(std::filesystem::exists(PathOf("empty.bmp")));
}

TEST_F(BmpFiles, SavingIntoAMissingFolderFailsAndKeepsNothing) {
  Status s = SaveBmpFile(PathOf("no/such/folder/a.bmp"), Bitmap(1, 1));
  ASSERT_FALSE(s.Ok());
  EXPECT_FALSE(s.Message().empty());
}

}  // namespace
}  // namespace vesk
