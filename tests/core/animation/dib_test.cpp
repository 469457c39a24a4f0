#include "core/animation/dib.h"

#include <gtest/gtest.h>

#include <ostream>
#include <random>

namespace vesk {
namespace {

Bitmap RandomBitmap(int width, int height, std::mt19937& rng) {
  Bitmap b(width, height);
  std::uniform_int_distribution<int> channel(0, 255);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) b.SetPixel(x, y, MakeColor(channel(rng), channel(rng), channel(rng)));
  }
  return b;
}

struct SelectorRow {
  DibColors selector;
  int bit_count;
  int header_size;
  std::uint32_t clr_used;
};

void PrintTo(const SelectorRow& row, std::ostream* os) {
  *os << "selector " << static_cast<int>(row.selector) << ", " << row.bit_count << " bits";
}

class DibSelectorTable : public ::testing::TestWithParam<SelectorRow> {};

TEST_P(DibSelectorTable, HeaderAndSizesFollowTheSelector) {
  const SelectorRow row = GetParam();
  Bitmap bitmap(10, 7);
  BitmapInfoHeader h;
  InitDibHeader(bitmap, h, row.selector);
  EXPECT_EQ(h.biSize, 40u);
  EXPECT_EQ(h.biWidth, 10);
  EXPECT_EQ(h.biHeight, 7);
  EXPECT_EQ(h.biPlanes, 1);
  EXPECT_EQ(h.biBitCount, row.bit_count);
  EXPECT_EQ(h.biCompression, 0u);
  EXPECT_EQ(h.biClrUsed, row.clr_used);
  EXPECT_EQ(h.biClrImportant, 0u);
  EXPECT_EQ(h.biXPelsPerMeter, 0);
  EXPECT_EQ(h.biYPelsPerMeter, 0);
  const std::uint32_t stride = (10u * row.bit_count + 31) / 32 * 4;
  EXPECT_EQ(h.biSizeImage, stride * 7);
  DibSizes sizes = GetDibSizes(bitmap, row.selector);
  EXPECT_EQ(sizes.header_size, row.header_size);
  EXPECT_EQ(sizes.image_size, static_cast<int>(stride * 7));
}

// A bitmap in memory has 32 bits per pixel, so its own format is 24 bits.
INSTANTIATE_TEST_SUITE_P(AllSelectors, DibSelectorTable,
                         ::testing::Values(SelectorRow{DibColors::kTwo, 1, 48, 2},
                                           SelectorRow{DibColors::kSixteen, 4, 104, 16},
                                           SelectorRow{DibColors::k256, 8, 1064, 256},
                                           SelectorRow{DibColors::kTrueColor, 24, 40, 0},
                                           SelectorRow{DibColors::kOwn, 24, 40, 0}));

TEST(Dib, OwnFormatKeepsIndexedDepthsAndWidensSixteenAndThirtyTwo) {
  struct Case {
    int planes, bits, expect_bits, expect_header;
  };
  for (Case c : {Case{1, 1, 1, 48}, Case{1, 4, 4, 104}, Case{1, 8, 8, 1064}, Case{1, 16, 24, 40},
                 Case{1, 24, 24, 40}, Case{1, 32, 24, 40}, Case{4, 1, 4, 104}, Case{2, 4, 8, 1064},
                 Case{1, 64, 24, 40}, Case{1, 0, 24, 40}}) {
    DibSource source{5, 3, c.planes, c.bits};
    BitmapInfoHeader h;
    InitDibHeader(source, h, DibColors::kOwn);
    EXPECT_EQ(h.biBitCount, c.expect_bits) << c.planes << "x" << c.bits;
    EXPECT_EQ(h.biClrUsed, 0u);
    EXPECT_EQ(GetDibSizes(source, DibColors::kOwn).header_size, c.expect_header);
  }
}

TEST(Dib, WidthThreeGivesRowsOfTwelveBytes) {
  for (int height : {1, 2, 5}) {
    Bitmap b(3, height);
    BitmapInfoHeader h;
    InitDibHeader(b, h, DibColors::kTrueColor);
    EXPECT_EQ(h.biSizeImage, 12u * height);
  }
}

TEST(Dib, RowSizesArePaddedToFourBytes) {
  // width: bytes per row at 1, 4, 8 and 24 bits
  struct Case {
    int width, row1, row4, row8, row24;
  };
  for (Case c : {Case{1, 4, 4, 4, 4}, Case{2, 4, 4, 4, 8}, Case{4, 4, 4, 4, 12},
                 Case{9, 4, 8, 12, 28}, Case{32, 4, 16, 32, 96}, Case{33, 8, 20, 36, 100}}) {
    Bitmap b(c.width, 2);
    EXPECT_EQ(GetDibSizes(b, DibColors::kTwo).image_size, 2 * c.row1) << c.width;
    EXPECT_EQ(GetDibSizes(b, DibColors::kSixteen).image_size, 2 * c.row4) << c.width;
    EXPECT_EQ(GetDibSizes(b, DibColors::k256).image_size, 2 * c.row8) << c.width;
    EXPECT_EQ(GetDibSizes(b, DibColors::kTrueColor).image_size, 2 * c.row24) << c.width;
  }
}

TEST(Dib, HeaderBytesAreLittleEndianInFieldOrder) {
  Bitmap b(0x0102, 3);
  BitmapInfoHeader h;
  InitDibHeader(b, h, DibColors::kTrueColor);
  auto bytes = h.Bytes();
  EXPECT_EQ(bytes[0], 40);
  EXPECT_EQ(bytes[4], 0x02);
  EXPECT_EQ(bytes[5], 0x01);
  EXPECT_EQ(bytes[8], 3);
  EXPECT_EQ(bytes[12], 1);  // planes
  EXPECT_EQ(bytes[14], 24);
  std::uint32_t size_image = bytes[20] | (bytes[21] << 8) | (bytes[22] << 16) | (bytes[23] << 24);
  EXPECT_EQ(size_image, h.biSizeImage);
  EXPECT_EQ(BitmapInfoHeader::FromBytes(bytes), h);
}

TEST(Dib, TrueColorPixelsAreBottomUpBlueGreenRed) {
  Bitmap b(2, 2);
  b.SetPixel(0, 0, MakeColor(1, 2, 3));
  b.SetPixel(1, 0, MakeColor(4, 5, 6));
  b.SetPixel(0, 1, MakeColor(7, 8, 9));
  b.SetPixel(1, 1, MakeColor(10, 11, 12));
  std::vector<std::uint8_t> header(40), pixels(16, 0xEE);
  ASSERT_TRUE(GetDib(b, nullptr, header, pixels, DibColors::kTrueColor));
  std::vector<std::uint8_t> expected = {9, 8, 7, 12, 11, 10, 0, 0,   // bottom row first
                                        3, 2, 1, 6,  5,  4,  0, 0};  // then the top row
  EXPECT_EQ(pixels, expected);
  BitmapInfoHeader written = BitmapInfoHeader::FromBytes(std::span<const std::uint8_t, 40>(header.data(), 40));
  BitmapInfoHeader h;
  InitDibHeader(b, h, DibColors::kTrueColor);
  EXPECT_EQ(written, h);
}

TEST(Dib, TrueColorBlockMatchesPlainReferenceOnRandomBitmaps) {
  std::mt19937 rng(20240607);
  for (int round = 0; round < 40; ++round) {
    int width = 1 + static_cast<int>(rng() % 13);
    int height = 1 + static_cast<int>(rng() % 9);
    Bitmap b = RandomBitmap(width, height, rng);
    DibSizes sizes = GetDibSizes(b, DibColors::kTrueColor);
    std::vector<std::uint8_t> header(sizes.header_size), pixels(sizes.image_size, 0xAB);
    ASSERT_TRUE(GetDib(b, nullptr, header, pixels, DibColors::kTrueColor));
    std::size_t stride = static_cast<std::size_t>(sizes.image_size) / height;
    for (int y = 0; y < height; ++y) {
      for (std::size_t i = 0; i < stride; ++i) {
        std::uint8_t got = pixels[(height - 1 - y) * stride + i];
        std::uint8_t want = 0;
        if (i < static_cast<std::size_t>(width) * 3) {
          Color c = b.Pixel(static_cast<int>(i / 3), y);
          want = static_cast<std::uint8_t>(i % 3 == 0 ? BlueOf(c) : i % 3 == 1 ? GreenOf(c) : RedOf(c));
        }
        ASSERT_EQ(got, want) << width << "x" << height << " y=" << y << " i=" << i;
      }
    }
  }
}

TEST(Dib, RefusesBlocksThatAreTooSmallAndEmptyBitmaps) {
  Bitmap b(3, 2);
  std::vector<std::uint8_t> header(40), pixels(23, 0x55);
  EXPECT_FALSE(GetDib(b, nullptr, header, pixels, DibColors::kTrueColor));
  EXPECT_EQ(pixels, std::vector<std::uint8_t>(23, 0x55));
  std::vector<std::uint8_t> short_header(39), enough(24);
  EXPECT_FALSE(GetDib(b, nullptr, short_header, enough, DibColors::kTrueColor));
  std::vector<std::uint8_t> header_no_table(40);
  EXPECT_FALSE(GetDib(b, nullptr, header_no_table, enough, DibColors::kTwo));
  EXPECT_FALSE(GetDib(Bitmap(), nullptr, header, enough, DibColors::kTrueColor));
}

TEST(Dib, MonochromeTakesTheNearerOfBlackAndWhite) {
  Bitmap b(10, 1, kBlack);
  b.SetPixel(0, 0, kWhite);
  b.SetPixel(3, 0, MakeColor(200, 200, 100));
  b.SetPixel(9, 0, MakeColor(60, 60, 60));
  b.SetPixel(8, 0, MakeColor(250, 250, 250));
  std::vector<std::uint8_t> header(48), pixels(4, 0xFF);
  ASSERT_TRUE(GetDib(b, nullptr, header, pixels, DibColors::kTwo));
  // pixels 0 and 3 white, 8 white: bits 1001 0000 / 10 000000
  EXPECT_EQ(pixels[0], 0x90);
  EXPECT_EQ(pixels[1], 0x80);
  EXPECT_EQ(pixels[2], 0);
  EXPECT_EQ(pixels[3], 0);
  // colour table: black then white as blue, green, red, 0
  EXPECT_EQ(std::vector<std::uint8_t>(header.begin() + 40, header.end()),
            (std::vector<std::uint8_t>{0, 0, 0, 0, 255, 255, 255, 0}));
}

TEST(Dib, SixteenColoursPackTwoPixelsPerByteHighNibbleFirst) {
  Bitmap b(3, 1);
  b.SetPixel(0, 0, MakeColor(255, 0, 0));    // entry 9
  b.SetPixel(1, 0, MakeColor(0, 0, 130));    // entry 4 (navy)
  b.SetPixel(2, 0, MakeColor(250, 250, 250)); // entry 15
  std::vector<std::uint8_t> header(104), pixels(4);
  ASSERT_TRUE(GetDib(b, nullptr, header, pixels, DibColors::kSixteen));
  EXPECT_EQ(pixels[0], 0x94);
  EXPECT_EQ(pixels[1], 0xF0);
  // entry 9 of the table is red: blue 0, green 0, red 255
  EXPECT_EQ(header[40 + 9 * 4 + 2], 255);
  EXPECT_EQ(header[40 + 9 * 4 + 0], 0);
}

TEST(Dib, DefaultTableOf256MapsEveryColourToItsNearestEntry) {
  std::vector<Color> table = DefaultDibColorTable(8);
  ASSERT_EQ(table.size(), 256u);
  std::mt19937 rng(77);
  Bitmap b = RandomBitmap(64, 16, rng);
  for (int i = 0; i < 64; ++i) b.SetPixel(i, 0, MakeColor(i * 4, i * 4 + 1, i * 4));  // near greys
  std::vector<std::uint8_t> header(1064), pixels(GetDibSizes(b, DibColors::k256).image_size);
  ASSERT_TRUE(GetDib(b, nullptr, header, pixels, DibColors::k256));
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) {
      Color c = b.Pixel(x, y);
      int got = pixels[(b.Height() - 1 - y) * 64 + x];
      auto dist = [&](Color t) {
        int dr = RedOf(t) - RedOf(c), dg = GreenOf(t) - GreenOf(c), db = BlueOf(t) - BlueOf(c);
        return dr * dr + dg * dg + db * db;
      };
      int best = dist(table[0]);
      for (Color t : table) best = std::min(best, dist(t));
      ASSERT_EQ(dist(table[got]), best) << x << "," << y;
    }
  }
  // The written table is the default one.
  for (int i = 0; i < 256; ++i) {
    ASSERT_EQ(MakeColor(header[40 + 4 * i + 2], header[40 + 4 * i + 1], header[40 + 4 * i]), table[i]);
  }
}

TEST(Dib, GivenPaletteBecomesTheColourTable) {
  std::vector<Color> palette = {MakeColor(10, 20, 30), MakeColor(200, 100, 50)};
  Bitmap b(2, 1);
  b.SetPixel(0, 0, MakeColor(190, 110, 40));
  b.SetPixel(1, 0, MakeColor(20, 20, 20));
  std::vector<std::uint8_t> header(104), pixels(4);
  ASSERT_TRUE(GetDib(b, &palette, header, pixels, DibColors::kSixteen));
  EXPECT_EQ(pixels[0], 0x10);
  EXPECT_EQ(header[40], 30);
  EXPECT_EQ(header[41], 20);
  EXPECT_EQ(header[42], 10);
  EXPECT_EQ(header[44 + 2], 200);
  // entries the palette does not fill are black
  for (int i = 48; i < 104; ++i) EXPECT_EQ(header[i], 0) << i;
}

}  // namespace
}  // namespace vesk
