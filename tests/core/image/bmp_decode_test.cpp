// Decoding hand-made BMP files: every pixel format and run-length rule as a
// row (file -> picture), and every malformed header as a row (spoiled field
// -> refusal with the one message).
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

#include "bmp_test_files.h"
#include "core/image/bmp_codec.h"

namespace vesk {
namespace {

using namespace vesk::testing;
using namespace std::string_literals;

const std::vector<Color> kPalette = {MakeColor(10, 10, 10), MakeColor(255, 0, 0),
                                     MakeColor(0, 255, 0), MakeColor(0, 0, 255)};

// Pixels top row first, one letter each: k black, g grey, r red, n green, b blue, w white.
std::vector<Color> P(const std::string& letters) {
  std::vector<Color> out;
  for (char c : letters) {
    if (c != ' ') out.push_back(c == 'k' ? kBlack : c == 'w' ? kWhite : kPalette["grnb"s.find(c)]);
  }
  return out;
}

// A valid 8-bit file: 5 x 3, a 4-entry palette, rows padded from 5 to 8.
BmpLayout Pal8(void (*change)(BmpLayout&) = [](BmpLayout&) {}) {
  BmpLayout l{.width = 5, .height = 3, .bits = 8, .palette = kPalette,
              .pixels = {0, 1, 2, 3, 0, 9, 9, 9, 1, 1, 1, 1, 1, 9, 9, 9, 3, 2, 1, 0, 3, 9, 9, 9}};
  change(l);
  return l;
}

BmpLayout Rle(int width, int height, int bits, Bytes data) {
  return {.width = width, .height = height, .bits = bits, .compression = bits == 8 ? 1u : 2u,
          .palette = kPalette, .pixels = std::move(data)};
}

BmpLayout Masks(int width, int bits, std::vector<std::uint32_t> masks, Bytes pixels,
                std::uint32_t header_size = 40) {
  return {.width = width, .bits = bits, .compression = 3, .header_size = header_size,
          .masks = std::move(masks), .pixels = std::move(pixels)};
}

TEST(BmpDecode, FilesGiveTheirPictures) {
  Bytes row_ends;
  for (int i = 0; i < 20000; ++i) row_ends.insert(row_ends.end(), {0, 2, 0, 0});
  const Color grey8 = MakeColor(8, 8, 8);
  const std::tuple<const char*, BmpLayout, std::vector<Color>> rows[] = {
      {"8 bits, padded rows", Pal8(), P("bnrgb rrrrr grnbg")},
      {"top-down", Pal8([](BmpLayout& l) { l.height = -3; }), P("grnbg rrrrr bnrgb")},
      {"1 bit", {.width = 3, .height = 2, .bits = 1, .palette = P("rb"),
                 .pixels = {0xA0, 0, 0, 0, 0x40, 0, 0, 0}}, P("rbr brb")},
      {"4 bits", {.width = 3, .bits = 4, .palette = kPalette, .pixels = {0x12, 0x30, 0, 0}},
       P("rnb")},
      {"24 bits", {.height = 2, .pixels = {1, 2, 3, 0, 4, 5, 6, 0}},
       {MakeColor(6, 5, 4), MakeColor(3, 2, 1)}},
      {"32 bits", {.width = 2, .bits = 32, .pixels = {1, 2, 3, 0x80, 40, 50, 60, 0xFF}},
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
      {"masks in a 52-byte header", Masks(1, 32, {255, 0xFF00, 0xFF0000}, {7, 8, 9, 0}, 52),
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
      {"gap before the pixels", Pal8([](BmpLayout& l) { l.gap = 100; }), P("bnrgb rrrrr grnbg")},
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
      {"RLE top-down", Rle(2, -2, 8, {2, 1, 0, 0, 2, 2, 0, 1}), P("rrnn")},
      {"RLE4 runs alternate nibbles", Rle(5, 1, 4, {5, 0x12, 0, 1}), P("rnrnr")},
      {"RLE4 odd literal padded", Rle(6, 1, 4, {0, 5, 0x12, 0x31, 0x20, 0, 1, 0x30}), P("rnbrnb")},
      {"RLE4 literal without pad", Rle(4, 1, 4, {0, 3, 0x12, 0x30, 1, 0x10, 0, 1}), P("rnbr")},
      {"RLE4 clipped", Rle(3, 2, 4, {7, 0x13, 0, 0, 0, 6, 0x22, 0x33, 0x11, 0, 1}), P("nnb rbr")},
  };
  for (const auto& [name, layout, top_down] : rows) {
    Result<Bitmap> r = DecodeBmp(BuildBmp(layout));
    ASSERT_TRUE(r.Ok()) << name;
    Bitmap expected(layout.width, std::abs(layout.height));
    for (std::size_t i = 0; i < top_down.size(); ++i) {
      expected.SetPixel(static_cast<int>(i) % layout.width, static_cast<int>(i) / layout.width,
                        top_down[i]);
    }
    EXPECT_EQ(r.Value(), expected) << name;
  }
}

// A header field spoiled with each of several values; `decodes` tells
// whether the file still gives the 8-bit picture or is refused.
struct SpoilRow {
  const char* field;
  int offset;
  int size;
  std::vector<std::uint32_t> values;
  bool decodes;
};

TEST(BmpDecode, HeaderFieldsAreCheckedOrIgnored) {
  const auto end = static_cast<std::uint32_t>(BuildBmp(Pal8()).size());
  const Bitmap picture = DecodeBmp(BuildBmp(Pal8())).Value();
  const SpoilRow rows[] = {
      {"file size", kFileSize, 4, {0, 54, 0x7DDDDDDD, 0xFFFFFFFF}, true},
      {"reserved", kReserved, 4, {0xDEADBEEF}, true},
      {"image size", kSizeImage, 4, {0, 1, 0x7EEEEEEE, 0xFFFFFFFF}, true},
      {"magic", 0, 2, {'B' | 'A' << 8, 'M' | 'B' << 8}, false},
      {"pixel offset", kPixelOffset, 4, {0, 20, 53, end - 1, end + 1, 0x80000000, 0xFFFFFFFF},
       false},
      {"header size", kHeaderSize, 4, {0, 11, 16, 41, 64, 66, 100, 0xFFFFFFFF}, false},
      {"width", kWidth, 4, {0, 0xFFFFFFFF, static_cast<std::uint32_t>(-127), 0x80000000}, false},
      {"height", kHeight, 4, {0, 0x80000000}, false},
      {"planes", kPlanes, 2, {0, 2, 30000}, false},
      {"bits", kBits, 2, {0, 2, 3, 7, 48, 64, 30000}, false},
      {"compression", kCompression, 4, {2, 3, 4, 5, 6, 11, 12, 13, 0xFFFFFFFF}, false}};
  for (const SpoilRow& row : rows) {
    for (std::uint32_t value : row.values) {
      Bytes f = BuildBmp(Pal8());
      Poke(f, row.offset, value, row.size);
      Result<Bitmap> r = DecodeBmp(f);
      SCOPED_TRACE(std::string(row.field) + " " + std::to_string(value));
      ASSERT_EQ(r.Ok(), row.decodes);
      EXPECT_EQ(r.Ok() ? r.Value() : picture, picture);
      EXPECT_EQ(r.Ok() ? kBmpNotValid : r.Message(), kBmpNotValid);
    }
  }
}

TEST(BmpDecode, MalformedFilesAreRefused) {
  std::vector<std::pair<std::string, Bytes>> files;
  const std::pair<std::uint32_t, int> misfits[] = {{1, 4}, {1, 24}, {2, 8}, {2, 1}, {3, 8},
                                                  {3, 24}, {3, 1}, {6, 32}, {4, 24}, {5, 24}};
  for (auto [compression, bits] : misfits) {
    files.emplace_back("compression " + std::to_string(compression) + " bits " +
                           std::to_string(bits),
                       BuildBmp({.bits = bits, .compression = compression, .palette = P("r"),
                                 .masks = {0xFF0000, 0xFF00, 0xFF}, .pixels = {0, 0, 0, 0}}));
  }
  const std::pair<std::int32_t, std::int32_t> sizes[] = {
      {3000000, 2000000}, {32769, 1}, {1, 32769}, {32768, 8193}, {INT_MAX, INT_MAX},
      {INT_MAX, -INT_MAX}, {1000, 1000}};  // the last fits the limit but not the file
  for (auto [w, h] : sizes) {
    for (int bits : {1, 24, 32}) {
      Bytes f = BuildBmp({.bits = bits, .palette = P("rb"), .pixels = {0, 0, 0, 0}});
      Poke(f, kWidth, static_cast<std::uint32_t>(w));
      Poke(f, kHeight, static_cast<std::uint32_t>(h));
      files.emplace_back(std::to_string(w) + " x " + std::to_string(h), f);
    }
  }
  files.emplace_back("16 bits in a core header",
                     BuildBmp({.bits = 16, .header_size = 12, .pixels = {0, 0, 0, 0}}));
  files.emplace_back("bit-field masks beyond the file",
                     BuildBmp({.bits = 16, .compression = 3}));
  Bytes v5 = BuildBmp({.header_size = 124, .pixels = {0, 0, 0, 0}});
  files.emplace_back("header longer than the file", Bytes(v5.begin(), v5.begin() + 100));
  // Every cut before the last row's padding.
  const Bytes good = BuildBmp(Pal8());
  for (std::size_t n = 0; n + 3 < good.size(); ++n) {
    files.emplace_back("cut to " + std::to_string(n), Bytes(good.begin(), good.begin() + n));
  }
  for (const auto& [name, file] : files) {
    Result<Bitmap> r = DecodeBmp(file);
    ASSERT_FALSE(r.Ok()) << name;
    EXPECT_EQ(r.Message(), "Bitmap image is not valid") << name;
  }
  Bytes padding_cut(good.begin(), good.end() - 3);
  padding_cut.insert(padding_cut.end(), 0);  // trailing bytes are ignored as well
  EXPECT_EQ(DecodeBmp(padding_cut).Value(), DecodeBmp(BuildBmp(Pal8())).Value());
}

}  // namespace
}  // namespace vesk
