// Decoding hand-made BMP files: every pixel format, and every class of
// malformed header or pixel data with the exact message asserted.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "bmp_test_files.h"
#include "core/image/bmp_codec.h"

namespace vesk {
namespace {

using testing::BmpLayout;
using testing::BuildBmp;
using testing::Poke16;
using testing::Poke32;
using Bytes = std::vector<std::uint8_t>;

constexpr Color kRed = MakeColor(255, 0, 0);
constexpr Color kGreen = MakeColor(0, 255, 0);
constexpr Color kBlue = MakeColor(0, 0, 255);
constexpr Color kGrey = MakeColor(10, 10, 10);

Bitmap Decoded(const Bytes& file) {
  Result<Bitmap> r = DecodeBmp(file);
  EXPECT_TRUE(r.Ok()) << (r.Ok() ? "" : r.Message());
  return r.Ok() ? r.Value() : Bitmap();
}

void ExpectRefused(const Bytes& file) {
  Result<Bitmap> r = DecodeBmp(file);
  ASSERT_FALSE(r.Ok());
  EXPECT_EQ(r.Message(), "Bitmap image is not valid");
}

Bitmap Image(int width, int height, std::vector<Color> top_down) {
  Bitmap b(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) b.SetPixel(x, y, top_down.at(y * width + x));
  }
  return b;
}

// A valid 8-bit file: 5 x 3, a 4-entry palette, rows padded from 5 to 8.
BmpLayout Pal8Layout() {
  BmpLayout s;
  s.width = 5;
  s.height = 3;
  s.bits = 8;
  s.palette = {kGrey, kRed, kGreen, kBlue};
  s.pixels = {0, 1, 2, 3, 0, 9, 9, 9,   // bottom row
              1, 1, 1, 1, 1, 9, 9, 9,   // middle row
              3, 2, 1, 0, 3, 9, 9, 9};  // top row
  return s;
}

Bitmap Pal8Image() {
  return Image(5, 3,
               {kBlue, kGreen, kRed, kGrey, kBlue, kRed, kRed, kRed, kRed, kRed, kGrey, kRed,
                kGreen, kBlue, kGrey});
}

// ---- Pixel formats ----

// A file in one pixel format and the picture it holds, top row first.
struct FormatCase {
  const char* name;
  BmpLayout layout;
  std::vector<Color> top_down;
};

// Test listings name the case instead of dumping its bytes.
void PrintTo(const FormatCase& c, std::ostream* os) { *os << c.name; }

// A file of one pixel format without any other field set.
BmpLayout FormatLayout(int width, int height, int bits, std::vector<std::uint8_t> pixels,
                   std::vector<Color> palette = {}, std::vector<std::uint32_t> masks = {}) {
  BmpLayout s;
  s.width = width;
  s.height = height;
  s.bits = bits;
  s.compression = masks.empty() ? 0 : 3;
  s.palette = std::move(palette);
  s.masks = std::move(masks);
  s.pixels = std::move(pixels);
  return s;
}

const FormatCase kFormatCases[] = {
    {"OneBitRowsAreBottomUpAndUseThePalette",
     FormatLayout(3, 2, 1, {0xA0, 0, 0, 0, 0x40, 0, 0, 0}, {kRed, kBlue}),
     {kRed, kBlue, kRed, kBlue, kRed, kBlue}},
    {"FourBitHighNibbleFirst", FormatLayout(3, 1, 4, {0x12, 0x30, 0, 0}, {kGrey, kRed, kGreen, kBlue}),
     {kRed, kGreen, kBlue}},
    {"TwentyFourBitIsBlueGreenRed", FormatLayout(1, 2, 24, {1, 2, 3, 0, 4, 5, 6, 0}),
     {MakeColor(6, 5, 4), MakeColor(3, 2, 1)}},
    {"ThirtyTwoBitIgnoresTheFourthByte", FormatLayout(2, 1, 32, {1, 2, 3, 0x80, 40, 50, 60, 0xFF}),
     {MakeColor(3, 2, 1), MakeColor(60, 50, 40)}},
    // 0x7FFF white, 0x801F blue with the unused bit set, 0x0421 the smallest grey.
    {"SixteenBitDefaultIsFiveFiveFiveAndIgnoresTheTopBit",
     FormatLayout(3, 1, 16, {0xFF, 0x7F, 0x1F, 0x80, 0x21, 0x04, 0, 0}),
     {kWhite, kBlue, MakeColor(8, 8, 8)}},
    // 0xF800 red, 0x07E0 green, 0x0841 (1, 2, 1), 0xFFFF white.
    {"SixteenBitFiveSixFiveBitFields",
     FormatLayout(4, 1, 16, {0x00, 0xF8, 0xE0, 0x07, 0x41, 0x08, 0xFF, 0xFF}, {},
                {0xF800, 0x07E0, 0x001F}),
     {kRed, kGreen, MakeColor(8, 8, 8), kWhite}},
    // 101 -> 10110110
    {"ThreeBitChannelRepeatsItsBits", FormatLayout(1, 1, 16, {5, 0, 0, 0}, {}, {0x7, 0, 0}),
     {MakeColor(182, 0, 0)}},
    {"ZeroFullAndOverlappingMasksAreDefined",
     FormatLayout(1, 1, 32, {0x11, 0x22, 0x33, 0xAB}, {}, {0xFFFFFFFF, 0xFF000000, 0}),
     {MakeColor(0xAB, 0xAB, 0)}},
};

class BmpDecodeFormat : public ::testing::TestWithParam<FormatCase> {};

TEST_P(BmpDecodeFormat, DecodesToTheExpectedPicture) {
  const FormatCase& c = GetParam();
  EXPECT_EQ(Decoded(BuildBmp(c.layout)), Image(c.layout.width, c.layout.height, c.top_down));
}

INSTANTIATE_TEST_SUITE_P(Formats, BmpDecodeFormat, ::testing::ValuesIn(kFormatCases),
                         [](const ::testing::TestParamInfo<FormatCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(BmpDecode, EightBitWithPaddedRows) {
  EXPECT_EQ(Decoded(BuildBmp(Pal8Layout())), Pal8Image());
}

TEST(BmpDecode, NegativeHeightMeansTopDownRows) {
  BmpLayout s = Pal8Layout();
  s.height = -3;
  Bitmap expected = Pal8Image();
  Bitmap flipped(5, 3);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) flipped.SetPixel(x, y, expected.Pixel(x, 2 - y));
  }
  EXPECT_EQ(Decoded(BuildBmp(s)), flipped);
}

TEST(BmpDecode, BitFieldsInsideLargerHeaders) {
  for (std::uint32_t header : {52u, 56u, 108u, 124u}) {
    BmpLayout s;
    s.header_size = header;
    s.width = 1;
    s.height = 1;
    s.bits = 32;
    s.compression = 3;
    s.masks = {0x000000FF, 0x0000FF00, 0x00FF0000};  // bytes R, G, B, x
    s.pixels = {7, 8, 9, 0};
    EXPECT_EQ(Decoded(BuildBmp(s)), Image(1, 1, {MakeColor(7, 8, 9)})) << header;
  }
}

TEST(BmpDecode, MasksOfAnyWidthScaleToEightBits) {
  BmpLayout s;
  s.width = 4;
  s.height = 1;
  s.bits = 32;
  s.compression = 3;
  // Red 1 bit, green 2 bits, blue 10 bits.
  s.masks = {0x1, 0x6, 0x1FF8};
  auto pixel = [](std::uint32_t v) {
    return std::vector<std::uint8_t>{static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                                     static_cast<std::uint8_t>(v >> 16),
                                     static_cast<std::uint8_t>(v >> 24)};
  };
  for (std::uint32_t v : {0x1u, 0x4u, 0x1FF8u, 0x1000u}) {
    auto p = pixel(v);
    s.pixels.insert(s.pixels.end(), p.begin(), p.end());
  }
  EXPECT_EQ(Decoded(BuildBmp(s)),
            Image(4, 1, {MakeColor(255, 0, 0), MakeColor(0, 170, 0), MakeColor(0, 0, 255),
                         MakeColor(0, 0, 128)}));
}

TEST(BmpDecode, CoreHeaderWithThreeBytePaletteCountedFromTheOffset) {
  BmpLayout s;
  s.header_size = 12;
  s.width = 2;
  s.height = 1;
  s.bits = 8;
  s.palette = {kRed, kGreen, kBlue};  // fewer than 256 entries
  s.pixels = {2, 1, 0, 0};
  EXPECT_EQ(Decoded(BuildBmp(s)), Image(2, 1, {kBlue, kGreen}));
  s.pixels = {3, 0, 0, 0};  // beyond the palette: black
  EXPECT_EQ(Decoded(BuildBmp(s)), Image(2, 1, {kBlack, kRed}));
}

// ---- Palette classes ----

TEST(BmpDecode, IndexBeyondThePaletteIsBlack) {
  BmpLayout s = Pal8Layout();
  s.pixels[0] = 200;
  s.pixels[1] = 4;
  Bitmap b = Decoded(BuildBmp(s));
  EXPECT_EQ(b.Pixel(0, 2), kBlack);
  EXPECT_EQ(b.Pixel(1, 2), kBlack);
  EXPECT_EQ(b.Pixel(2, 2), kGreen);
}

TEST(BmpDecode, ColorsUsedLimitsThePalette) {
  BmpLayout s = Pal8Layout();
  s.colors_used = 2;  // entries 2 and 3 are present but not in use
  Bitmap b = Decoded(BuildBmp(s));
  EXPECT_EQ(b.Pixel(0, 0), kBlack);  // index 3
  EXPECT_EQ(b.Pixel(2, 0), kRed);    // index 1
}

TEST(BmpDecode, AbsurdColorsUsedIsClampedToTheBitDepth) {
  BmpLayout s;
  s.width = 2;
  s.height = 1;
  s.bits = 1;
  s.palette = {kRed, kBlue};
  s.colors_used = 0x12341234;
  s.pixels = {0x40, 0, 0, 0};
  EXPECT_EQ(Decoded(BuildBmp(s)), Image(2, 1, {kRed, kBlue}));
}

TEST(BmpDecode, ColorsUsedZeroMeansAFullPalette) {
  BmpLayout s;
  s.width = 2;
  s.height = 1;
  s.bits = 4;
  s.palette.assign(16, kGrey);
  s.palette[15] = kBlue;
  s.pixels = {0xF0, 0, 0, 0};
  EXPECT_EQ(Decoded(BuildBmp(s)), Image(2, 1, {kBlue, kGrey}));
}

TEST(BmpDecode, PaletteEntriesPastThePixelOffsetAreNotRead) {
  // The header promises 256 entries but the pixels start after four.
  BmpLayout s = Pal8Layout();
  s.colors_used = 256;
  s.pixels[0] = 4;  // index 4 would be the first pixel byte if read as palette
  Bitmap b = Decoded(BuildBmp(s));
  EXPECT_EQ(b.Pixel(0, 2), kBlack);
}

// ---- File header classes ----

TEST(BmpDecode, ShortFilesAndWrongMagicAreRefused) {
  Bytes good = BuildBmp(Pal8Layout());
  for (std::size_t n = 0; n < 18; ++n) ExpectRefused(Bytes(good.begin(), good.begin() + n));
  Bytes magic = good;
  magic[1] = 'A';
  ExpectRefused(magic);
  ExpectRefused(Bytes{});
}

TEST(BmpDecode, EveryTruncationIsRefusedUntilTheLastRowIsComplete) {
  Bytes good = BuildBmp(Pal8Layout());
  const std::size_t last_row_padding = 3;
  for (std::size_t n = 0; n < good.size(); ++n) {
    Result<Bitmap> r = DecodeBmp(std::span<const std::uint8_t>(good.data(), n));
    if (n < good.size() - last_row_padding) {
      ASSERT_FALSE(r.Ok()) << n;
      EXPECT_EQ(r.Message(), "Bitmap image is not valid");
    } else {
      ASSERT_TRUE(r.Ok()) << n;
      EXPECT_EQ(r.Value(), Pal8Image());
    }
  }
}

TEST(BmpDecode, FileSizeFieldAndReservedFieldsAreIgnored) {
  for (std::uint32_t file_size : {0u, 54u, 0x7DDDDDDDu, 0xFFFFFFFFu}) {
    Bytes f = BuildBmp(Pal8Layout());
    Poke32(f, testing::kOffFileSize, file_size);
    Poke32(f, testing::kOffReserved, 0xDEADBEEF);
    EXPECT_EQ(Decoded(f), Pal8Image()) << file_size;
  }
}

TEST(BmpDecode, PixelsAreFoundThroughTheOffsetAcrossAGap) {
  BmpLayout s = Pal8Layout();
  s.gap = 100;
  EXPECT_EQ(Decoded(BuildBmp(s)), Pal8Image());
}

TEST(BmpDecode, PixelOffsetOutsideTheFileOrInsideTheHeadersIsRefused) {
  Bytes good = BuildBmp(Pal8Layout());
  for (std::uint32_t offset :
       {0u, 20u, 53u, static_cast<std::uint32_t>(good.size() - 1),
        static_cast<std::uint32_t>(good.size() + 1), 0x80000000u, 0xFFFFFFFFu}) {
    Bytes f = good;
    Poke32(f, testing::kOffPixelOffset, offset);
    SCOPED_TRACE(offset);
    ExpectRefused(f);
  }
}

TEST(BmpDecode, UnknownOrOversizedHeaderSizesAreRefused) {
  for (std::uint32_t size : {0u, 11u, 16u, 41u, 64u, 66u, 100u, 0xFFFFFFFFu}) {
    Bytes f = BuildBmp(Pal8Layout());
    Poke32(f, testing::kOffHeaderSize, size);
    SCOPED_TRACE(size);
    ExpectRefused(f);
  }
  BmpLayout v5;
  v5.header_size = 124;
  Bytes f = BuildBmp(v5);
  ExpectRefused(Bytes(f.begin(), f.begin() + 100));  // header longer than the file
}

TEST(BmpDecode, BadDimensionsAreRefused) {
  for (std::int32_t width : {0, -1, -127, INT_MIN}) {
    Bytes f = BuildBmp(Pal8Layout());
    Poke32(f, testing::kOffWidth, static_cast<std::uint32_t>(width));
    SCOPED_TRACE(width);
    ExpectRefused(f);
  }
  for (std::int32_t height : {0, INT_MIN}) {
    Bytes f = BuildBmp(Pal8Layout());
    Poke32(f, testing::kOffHeight, static_cast<std::uint32_t>(height));
    SCOPED_TRACE(height);
    ExpectRefused(f);
  }
}

TEST(BmpDecode, HugeDimensionsAreRefusedBeforeAnyAllocation) {
  const std::pair<std::int32_t, std::int32_t> sizes[] = {
      {3000000, 2000000}, {32769, 1}, {1, 32769}, {32768, 8193}, {INT_MAX, INT_MAX},
      {INT_MAX, -INT_MAX}, {1000, 1000}};  // the last fits the limit but not the file
  for (auto [w, h] : sizes) {
    for (int bits : {1, 24, 32}) {
      BmpLayout s;
      s.bits = bits;
      s.pixels = {0, 0, 0, 0};
      Bytes f = BuildBmp(s);
      Poke32(f, testing::kOffWidth, static_cast<std::uint32_t>(w));
      Poke32(f, testing::kOffHeight, static_cast<std::uint32_t>(h));
      SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h) + " bits " +
                   std::to_string(bits));
      ExpectRefused(f);
    }
  }
}

TEST(BmpDecode, PlanesOtherThanOneAreRefused) {
  for (std::uint32_t planes : {0u, 2u, 30000u}) {
    Bytes f = BuildBmp(Pal8Layout());
    Poke16(f, testing::kOffPlanes, planes);
    ExpectRefused(f);
  }
}

TEST(BmpDecode, UnsupportedBitCountsAreRefused) {
  for (std::uint32_t bits : {0u, 2u, 3u, 7u, 48u, 64u, 30000u}) {
    Bytes f = BuildBmp(Pal8Layout());
    Poke16(f, testing::kOffBits, bits);
    SCOPED_TRACE(bits);
    ExpectRefused(f);
  }
  BmpLayout core;
  core.header_size = 12;
  core.bits = 16;  // the core header has no 16-bit format
  core.pixels = {0, 0, 0, 0};
  ExpectRefused(BuildBmp(core));
}

TEST(BmpDecode, UnsupportedCompressionIsRefused) {
  for (std::uint32_t compression : {4u, 5u, 6u, 11u, 12u, 13u, 0xFFFFFFFFu}) {
    BmpLayout s;
    s.width = 1;
    s.height = 1;
    s.bits = compression == 6 ? 32 : 24;
    s.compression = compression;
    s.masks = {0xFF0000, 0xFF00, 0xFF, 0};
    s.pixels = {0, 0, 0, 0};
    SCOPED_TRACE(compression);
    ExpectRefused(BuildBmp(s));
  }
}

TEST(BmpDecode, CompressionThatDoesNotFitTheBitCountIsRefused) {
  const std::pair<std::uint32_t, int> pairs[] = {{1, 4}, {1, 24}, {2, 8}, {2, 1},
                                                 {3, 8}, {3, 24}, {3, 1}};
  for (auto [compression, bits] : pairs) {
    BmpLayout s;
    s.width = 1;
    s.height = 1;
    s.bits = bits;
    s.compression = compression;
    s.masks = {0xFF0000, 0xFF00, 0xFF};
    s.palette = {kRed, kBlue};
    s.pixels = {0, 0, 0, 0};
    SCOPED_TRACE(std::to_string(compression) + " with " + std::to_string(bits));
    ExpectRefused(BuildBmp(s));
  }
}

TEST(BmpDecode, BitFieldsMasksBeyondTheFileAreRefused) {
  BmpLayout s;
  s.width = 1;
  s.height = 1;
  s.bits = 16;
  s.compression = 3;
  Bytes f = BuildBmp(s);  // no masks written, no pixels: 54 bytes
  ExpectRefused(f);
}

TEST(BmpDecode, ImageSizeFieldIsNeverTrusted) {
  for (std::uint32_t size_image : {0u, 1u, 0x7EEEEEEEu, 0xFFFFFFFFu}) {
    Bytes f = BuildBmp(Pal8Layout());
    Poke32(f, testing::kOffSizeImage, size_image);
    EXPECT_EQ(Decoded(f), Pal8Image()) << size_image;
  }
}

TEST(BmpDecode, TrailingDataIsIgnored) {
  Bytes f = BuildBmp(Pal8Layout());
  f.insert(f.end(), 5000, 0xEE);
  EXPECT_EQ(Decoded(f), Pal8Image());
}

// ---- Run-length data ----

BmpLayout RleLayout(int width, int height, int bits, std::vector<std::uint8_t> data) {
  BmpLayout s;
  s.width = width;
  s.height = height;
  s.bits = bits;
  s.compression = bits == 8 ? 1 : 2;
  s.palette = {kGrey, kRed, kGreen, kBlue};
  s.pixels = std::move(data);
  return s;
}

TEST(BmpRle, Rle8RunsLiteralsAndRowEnds) {
  // Bottom row: literal red green blue (padded), run of 1 red.
  // Top row: run of 2 blue, then end of bitmap; the rest is never set.
  Bytes f = BuildBmp(RleLayout(4, 2, 8, {0, 3, 1, 2, 3, 0, 1, 1, 0, 0, 2, 3, 0, 1}));
  EXPECT_EQ(Decoded(f), Image(4, 2, {kBlue, kBlue, kBlack, kBlack, kRed, kGreen, kBlue, kRed}));
}

TEST(BmpRle, RunPastTheRowEndIsClippedNotWrapped) {
  Bytes f = BuildBmp(RleLayout(4, 2, 8, {10, 1, 0, 0, 2, 2, 0, 1}));
  EXPECT_EQ(Decoded(f), Image(4, 2, {kGreen, kGreen, kBlack, kBlack, kRed, kRed, kRed, kRed}));
  Bytes literal = BuildBmp(RleLayout(2, 2, 8, {0, 5, 1, 2, 3, 1, 2, 0, 0, 0, 1, 3, 0, 1}));
  EXPECT_EQ(Decoded(literal), Image(2, 2, {kBlue, kBlack, kRed, kGreen}));
}

TEST(BmpRle, DeltaSkipsPixelsWhichStayBlack) {
  Bytes f = BuildBmp(RleLayout(4, 2, 8, {1, 3, 0, 2, 1, 1, 1, 1, 0, 1}));
  EXPECT_EQ(Decoded(f), Image(4, 2, {kBlack, kBlack, kRed, kBlack, kBlue, kBlack, kBlack, kBlack}));
}

TEST(BmpRle, DeltaOrRowEndBeyondTheImageEndsIt) {
  Bytes far = BuildBmp(RleLayout(4, 2, 8, {1, 3, 0, 2, 255, 255, 4, 1, 0, 1}));
  EXPECT_EQ(Decoded(far), Image(4, 2, {kBlack, kBlack, kBlack, kBlack, kBlue, kBlack, kBlack,
                                       kBlack}));
  Bytes sideways = BuildBmp(RleLayout(4, 1, 8, {0, 2, 200, 0, 4, 1, 0, 0, 0, 0, 4, 2, 0, 1}));
  EXPECT_EQ(Decoded(sideways), Image(4, 1, {kBlack, kBlack, kBlack, kBlack}));
}

TEST(BmpRle, DataEndingEarlyLeavesTheRestBlack) {
  Bytes no_end = BuildBmp(RleLayout(4, 2, 8, {2, 1}));
  EXPECT_EQ(Decoded(no_end), Image(4, 2, {kBlack, kBlack, kBlack, kBlack, kRed, kRed, kBlack,
                                          kBlack}));
  Bytes cut_literal = BuildBmp(RleLayout(4, 1, 8, {0, 4, 2, 3}));
  EXPECT_EQ(Decoded(cut_literal), Image(4, 1, {kGreen, kBlue, kBlack, kBlack}));
  Bytes cut_delta = BuildBmp(RleLayout(4, 1, 8, {1, 1, 0, 2, 1}));
  EXPECT_EQ(Decoded(cut_delta), Image(4, 1, {kRed, kBlack, kBlack, kBlack}));
  Bytes odd_byte = BuildBmp(RleLayout(4, 1, 8, {1, 1, 3}));
  EXPECT_EQ(Decoded(odd_byte), Image(4, 1, {kRed, kBlack, kBlack, kBlack}));
  Bytes nothing = BuildBmp(RleLayout(2, 1, 8, {}));
  EXPECT_EQ(Decoded(nothing), Image(2, 1, {kBlack, kBlack}));
}

TEST(BmpRle, Rle4RunsAlternateNibbles) {
  Bytes f = BuildBmp(RleLayout(5, 1, 4, {5, 0x12, 0, 1}));
  EXPECT_EQ(Decoded(f), Image(5, 1, {kRed, kGreen, kRed, kGreen, kRed}));
}

TEST(BmpRle, Rle4LiteralsArePaddedToWholeWords) {
  // Five pixels take three bytes and one pad byte; three take two and none.
  Bytes five = BuildBmp(RleLayout(6, 1, 4, {0, 5, 0x12, 0x31, 0x20, 0x00, 1, 0x30, 0, 1}));
  EXPECT_EQ(Decoded(five), Image(6, 1, {kRed, kGreen, kBlue, kRed, kGreen, kBlue}));
  Bytes three = BuildBmp(RleLayout(4, 1, 4, {0, 3, 0x12, 0x30, 1, 0x10, 0, 1}));
  EXPECT_EQ(Decoded(three), Image(4, 1, {kRed, kGreen, kBlue, kRed}));
}

TEST(BmpRle, Rle4RunAndLiteralPastTheRowEndAreClipped) {
  Bytes f = BuildBmp(RleLayout(3, 2, 4, {7, 0x13, 0, 0, 0, 6, 0x22, 0x33, 0x11, 0, 1}));
  EXPECT_EQ(Decoded(f), Image(3, 2, {kGreen, kGreen, kBlue, kRed, kBlue, kRed}));
}

TEST(BmpRle, NegativeHeightDecodesTopDown) {
  Bytes f = BuildBmp(RleLayout(2, -2, 8, {2, 1, 0, 0, 2, 2, 0, 1}));
  EXPECT_EQ(Decoded(f), Image(2, 2, {kRed, kRed, kGreen, kGreen}));
}

TEST(BmpRle, EndlessRowEndsFinishWithinTheImage) {
  // Thousands of row ends and deltas: work stays bounded by the input.
  std::vector<std::uint8_t> data;
  for (int i = 0; i < 20000; ++i) {
    data.insert(data.end(), {0, 2, 0, 0});
  }
  Bytes f = BuildBmp(RleLayout(3, 3, 8, data));
  EXPECT_EQ(Decoded(f), Bitmap(3, 3, kBlack));
}

}  // namespace
}  // namespace vesk
