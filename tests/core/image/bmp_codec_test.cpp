// The BMP codec on hand-made files: pixel formats and run-length rules (file -> picture),
// malformed headers (spoiled field -> refusal), the exact file written, the file functions.
#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>
#include <vector>

#include "core/image/bmp_codec.h"
#include "tests/core/support/bmp_builder.h"
#include "tests/core/support/temp_folder.h"

namespace vesk {
namespace {

using namespace testing_support;  // the hand-made files' words

TEST(BmpDecode, FilesGiveTheirPictures) {
  Bytes row_ends;
  for (int i = 0; i < 20000; ++i) row_ends.insert(row_ends.end(), {0, 2, 0, 0});
  const Color grey8 = MakeColor(8, 8, 8);
  // The plain formats are checked on the BMP suite's files; here the rules around them.
  const std::tuple<const char*, BmpLayout, std::vector<Color>> rows[] = {
      {"32 bits, the fourth byte dropped",
       {.width = 2, .bits = 32, .pixels = {1, 2, 3, 0x80, 40, 50, 60, 0xFF}},
       {MakeColor(3, 2, 1), MakeColor(60, 50, 40)}},
      {"16 bits 555, top bit ignored",
       {.width = 3, .bits = 16, .pixels = {0xFF, 0x7F, 0x1F, 0x80, 0x21, 0x04, 0, 0}},
       {kWhite, kPalette[3], grey8}},
      {"16 bits 565", Masks(4, 16, {0xF800, 0x07E0, 0x1F}, {0, 0xF8, 0xE0, 7, 0x41, 8, 255, 255}),
       {kPalette[1], kPalette[2], grey8, kWhite}},
      {"3-bit channel repeats its bits", Masks(1, 16, {7, 0, 0}, {5, 0, 0, 0}),
       {MakeColor(182, 0, 0)}},
      {"1, 2 and 10-bit channels",
       Masks(4, 32, {1, 6, 0x1FF8}, {1, 0, 0, 0, 4, 0, 0, 0, 0xF8, 0x1F, 0, 0, 0, 0x10, 0, 0}),
       {kPalette[1], MakeColor(0, 170, 0), kPalette[3], MakeColor(0, 0, 128)}},
      {"zero, full and overlapping masks",
       Masks(1, 32, {0xFFFFFFFF, 0xFF000000, 0}, {0x11, 0x22, 0x33, 0xAB}), {0xABABu}},
      {"masks in a V4 header", Masks(1, 32, {255, 0xFF00, 0xFF0000}, {7, 8, 9, 0}, 108),
       {MakeColor(7, 8, 9)}},
      {"core header, 3-byte palette counted from the offset",
       {.width = 3, .bits = 8, .header_size = 12, .palette = P("rnb"), .pixels = {2, 1, 3, 0}},
       P("bnk")},
      {"index beyond the palette",
       Pal8([](BmpLayout& l) { l.pixels[0] = 200, l.pixels[1] = 4; }), P("bnrgb rrrrr kknbg")},
      {"colours used limits the palette", Pal8([](BmpLayout& l) { l.colors_used = 2; }),
       P("kkrgk rrrrr grkkg")},
      {"palette past the pixel offset",
       Pal8([](BmpLayout& l) { l.colors_used = 256, l.pixels[0] = 4; }), P("bnrgb rrrrr krnbg")},
      {"absurd colours used",
       {.width = 2, .bits = 1, .colors_used = 0x12341234, .palette = P("rb"), .pixels = {64, 0}},
       P("rb")},
      {"colours used 0", {.width = 2, .bits = 4, .palette = P("gggggggggggggggb"),
                          .pixels = {0xF0, 0, 0, 0}}, P("bg")},
      {"RLE8", Rle(4, 2, 8, {0, 3, 1, 2, 3, 0, 1, 1, 0, 0, 2, 3, 0, 1}), P("bbkk rnbr")},
      {"RLE8 run clipped", Rle(4, 2, 8, {10, 1, 0, 0, 2, 2, 0, 1}), P("nnkk rrrr")},
      {"RLE8 literal clipped", Rle(2, 2, 8, {0, 5, 1, 2, 3, 1, 2, 0, 0, 0, 1, 3, 0, 1}), P("bkrn")},
      {"RLE delta", Rle(4, 2, 8, {1, 3, 0, 2, 1, 1, 1, 1, 0, 1}), P("kkrk bkkk")},
      {"RLE delta beyond the image", Rle(4, 2, 8, {1, 3, 0, 2, 255, 255, 4, 1}), P("kkkk bkkk")},
      {"RLE delta beyond the row", Rle(4, 1, 8, {0, 2, 200, 0, 4, 1, 0, 0, 4, 2}), P("kkkk")},
      {"RLE without an end", Rle(4, 2, 8, {2, 1}), P("kkkk rrkk")},
      {"RLE cut in a literal", Rle(4, 1, 8, {0, 4, 2, 3}), P("nbkk")},
      {"RLE cut in a delta", Rle(4, 1, 8, {1, 1, 0, 2, 1}), P("rkkk")},
      {"RLE odd last byte", Rle(4, 1, 8, {1, 1, 3}), P("rkkk")},
      {"RLE endless row ends", Rle(3, 3, 8, row_ends), P("kkkkkkkkk")},
      {"RLE4 runs alternate nibbles", Rle(5, 1, 4, {5, 0x12, 0, 1}), P("rnrnr")},
      {"RLE4 odd literal padded", Rle(6, 1, 4, {0, 5, 0x12, 0x31, 0x20, 0, 1, 0x30}), P("rnbrnb")},
      {"RLE4 literal without pad", Rle(4, 1, 4, {0, 3, 0x12, 0x30, 1, 0x10, 0, 1}), P("rnbr")},
      {"RLE4 clipped", Rle(3, 2, 4, {7, 0x13, 0, 0, 0, 6, 0x22, 0x33, 0x11, 0, 1}), P("nnb rbr")},
  };
  for (const auto& [name, layout, top_down] : rows) {
    Result<Bitmap> r = DecodeBmp(BuildBmp(layout));
    ASSERT_TRUE(r.Ok()) << name;
    EXPECT_EQ(r.Value(), Picture(layout.width, top_down)) << name;
  }
}

TEST(BmpDecode, HeadersAreCheckedOrIgnoredAndEveryBadFileIsRefused) {
  const Bytes good = BuildBmp(Pal8());
  const auto end = static_cast<std::uint32_t>(good.size());
  // Spoiled fields: offset, size, values, and whether the picture is still given.
  const std::tuple<int, int, std::vector<std::uint32_t>, bool> spoils[] = {
      {kFileSize, 4, {0, 54, 0x7DDDDDDD, 0xFFFFFFFF}, true}, {kReserved, 4, {0xDEADBEEF}, true},
      {kSizeImage, 4, {0, 1, 0x7EEEEEEE, 0xFFFFFFFF}, true},
      {0, 2, {'B' | 'A' << 8, 'M' | 'B' << 8}, false},
      {kPixelOffset, 4, {0, 20, 53, end - 1, end + 1, 0x80000000, 0xFFFFFFFF}, false},
      {kHeaderSize, 4, {0, 11, 16, 41, 64, 66, 100, 0xFFFFFFFF}, false},
      {kWidth, 4, {0, 0xFFFFFFFF, static_cast<std::uint32_t>(-127), 0x80000000}, false},
      {kHeight, 4, {0, 0x80000000}, false}, {kPlanes, 2, {0, 2, 30000}, false},
      {kBits, 2, {0, 2, 3, 7, 48, 64, 30000}, false},
      {kCompression, 4, {2, 3, 4, 5, 6, 11, 12, 13, 0xFFFFFFFF}, false}};
  std::vector<std::tuple<std::string, Bytes, bool>> files;
  for (const auto& [offset, size, values, decodes] : spoils) {
    for (std::uint32_t value : values) {
      files.emplace_back("field " + std::to_string(offset) + " = " + std::to_string(value), good,
                         decodes);
      Poke(std::get<1>(files.back()), offset, value, size);
    }
  }
  for (auto [compression, bits] : {std::pair{1u, 4}, {1u, 24}, {2u, 8}, {2u, 1}, {3u, 8},
                                   {3u, 24}, {3u, 1}, {6u, 32}, {4u, 24}, {5u, 24}}) {
    files.emplace_back("compression " + std::to_string(compression) + " at " +
                       std::to_string(bits) + " bits",
                       BuildBmp({.bits = bits, .compression = compression, .palette = P("r"),
                                 .masks = {0xFF0000, 0xFF00, 0xFF}, .pixels = {0, 0, 0, 0}}),
                       false);
  }
  // Too large for the limit, for 32-bit sizes, or (the last) for the file.
  for (auto [w, h] : {std::pair{3000000, 2000000}, {32769, 1}, {1, 32769}, {32768, 8193},
                      {INT_MAX, INT_MAX}, {INT_MAX, -INT_MAX}, {1000, 1000}}) {
    for (int bits : {1, 24, 32}) {
      Bytes f = BuildBmp({.bits = bits, .palette = P("rb"), .pixels = {0, 0, 0, 0}});
      Poke(f, kWidth, static_cast<std::uint32_t>(w));
      Poke(f, kHeight, static_cast<std::uint32_t>(h));
      files.emplace_back(std::to_string(w) + " x " + std::to_string(h), f, false);
    }
  }
  files.emplace_back("16 bits in a core header",
                     BuildBmp({.bits = 16, .header_size = 12, .pixels = {0, 0, 0, 0}}), false);
  files.emplace_back("masks beyond the file", BuildBmp({.bits = 16, .compression = 3}), false);
  files.emplace_back("three masks end the file",  // no fourth mask is read
                     BuildBmp({.bits = 16, .compression = 3, .masks = {31, 31, 31}}), false);
  Bytes v5 = BuildBmp({.header_size = 124, .pixels = {0, 0, 0, 0}});
  files.emplace_back("header beyond the file", Bytes(v5.begin(), v5.begin() + 100), false);
  for (std::size_t n = 0; n < good.size(); ++n) {  // the last row needs no padding
    files.emplace_back("cut to " + std::to_string(n), Bytes(good.begin(), good.begin() + n),
                       n >= good.size() - 3);
  }
  files.emplace_back("trailing data", good, true);
  std::get<1>(files.back()).resize(good.size() + 5000, 0xEE);
  const Bitmap picture = Picture(5, P("bnrgb rrrrr grnbg"));
  for (const auto& [name, file, decodes] : files) {
    Result<Bitmap> r = DecodeBmp(file);
    ASSERT_EQ(r.Ok(), decodes) << name;
    EXPECT_EQ(r.Ok() ? r.Value() : picture, picture) << name;
    EXPECT_EQ(r.Ok() ? kBmpNotValid : r.Message(), kBmpNotValid) << name;
  }
}

TEST(BmpEncode, WritesBottomUpBgrRowsPaddedWithZerosAfterA54ByteHeader) {
  Bitmap b(3, 2);
  for (int i = 0; i < 6; ++i) b.SetPixel(i % 3, i / 3, MakeColor(i, 10 + i, 20 + i));
  b.SetPixel(2, 1, kInvalidColor);  // only the colour bits are written
  EXPECT_EQ(EncodeBmp(b), BuildBmp({.width = 3, .height = 2,
                                    .pixels = {23, 13, 3, 24, 14, 4, 255, 255, 255, 0, 0, 0,
                                               20, 10, 0, 21, 11, 1, 22, 12, 2, 0, 0, 0}}));
  std::mt19937 rng(5);
  for (int width : {1, 2, 3, 4, 5, 127, 128}) {
    for (int height : {1, 2, 7}) {
      Bitmap original(width, height);
      for (int i = 0; i < width * height; ++i) original.SetPixel(i % width, i / width, rng() >> 8);
      EXPECT_EQ(DecodeBmp(EncodeBmp(original)).Value(), original) << width << " x " << height;
    }
  }
}

class BmpFiles : public testing_support::TempFolderTest {};

TEST_F(BmpFiles, SavedFileLoadsBackAndLoadingGivesItsMessages) {
  ASSERT_TRUE(SaveBmpFile(PathOf("a.bmp"), Picture(2, P("rnbw"))).Ok());
  EXPECT_EQ(LoadBmpFile(PathOf("a.bmp")).Value(), Picture(2, P("rnbw")));
  WriteBytes("notes.bmp", {'n', 'o', 't', 'e', 's'});
  WriteBytes("empty.bmp", {});
  for (auto [name, message] : {std::pair{"absent.bmp", "File Not Found"}, {"", "File Not Found"},
                               {"notes.bmp", "Bitmap image is not valid"},
                               {"empty.bmp", "Bitmap image is not valid"}}) {
    EXPECT_EQ(LoadBmpFile(PathOf(name)).Message(), message) << name;
  }
  EXPECT_EQ(SaveBmpFile(PathOf("new.bmp"), Bitmap()).Message(), "An empty image cannot be saved");
  EXPECT_EQ(FilesInFolder(), 3);
}

}  // namespace
}  // namespace vesk
