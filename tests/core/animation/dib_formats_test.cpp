// The DIB selectors besides true colour, and the frame size an AVI stream
// can describe.
#include <gtest/gtest.h>

#include <vector>

#include "core/animation/avi_file.h"
#include "core/animation/dib.h"

namespace vesk {
namespace {

// A 3 x 1 picture in each format: the header's depth and table size, and
// the first two pixel bytes (nearest table entries; near-white grey goes
// white in two colours).
TEST(DibFormats, IndexedSelectorsTakeTheNearestEntryOfTheirTable) {
  Bitmap pixels(3, 1);
  pixels.SetPixel(0, 0, kBlack);
  pixels.SetPixel(1, 0, kWhite);
  pixels.SetPixel(2, 0, MakeColor(200, 200, 200));
  struct Row {
    const char* name; DibColors selector; int bits, table_entries; std::uint8_t bytes[2];
  };
  const Row rows[] = {
      {"two colours", DibColors::kTwo, 1, 2, {0x60, 0}},           // 0 1 1, high bit first
      {"sixteen colours", DibColors::kSixteen, 4, 16, {0x0F, 0x70}},  // 0, 15, light grey 7
      {"256 colours", DibColors::k256, 8, 256, {0, 215}}};  // white ends the 6 x 6 x 6 cube
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const DibSizes sizes = GetDibSizes(pixels, row.selector);
    EXPECT_EQ(sizes.header_size, 40 + 4 * row.table_entries);
    std::vector<std::uint8_t> header(static_cast<std::size_t>(sizes.header_size));
    std::vector<std::uint8_t> image(static_cast<std::size_t>(sizes.image_size));
    ASSERT_TRUE(GetDib(pixels, nullptr, header, image, row.selector));
    EXPECT_EQ(header[14], row.bits);
    EXPECT_EQ(image[0], row.bytes[0]);
    EXPECT_EQ(image[1], row.bytes[1]);
  }
  // The bitmap's own depth: 4 bits stay 4, 16 and 32 become 24.
  for (const auto& [bits, expected] : {std::pair{4, 4}, {16, 24}, {32, 24}}) {
    BitmapInfoHeader header;
    InitDibHeader(DibSource{3, 1, 1, bits}, header, DibColors::kOwn);
    EXPECT_EQ(header.biBitCount, expected) << bits;
  }
}

// rcFrame holds 16-bit coordinates: a frame 32768 pixels wide or high has
// no AVI stream.
TEST(DibFormats, StreamsOfFramesPastSixteenBitsAreRefused) {
  for (const auto& [right, bottom, ok] : {std::tuple{32767, 32767, true}, {32768, 1, false},
                                          {1, 32768, false}}) {
    AviFile file;
    ASSERT_TRUE(file.Open(::testing::TempDir() + "dib_formats.avi").Ok());
    AviStreamInfo info;
    info.fccType = kStreamTypeVideo;
    info.dwRate = 2;
    info.dwScale = 1;
    info.rcFrame = AviRect{0, 0, right, bottom};
    EXPECT_EQ(file.CreateStream(info).Ok(), ok) << right << " x " << bottom;
  }
}

}  // namespace
}  // namespace vesk
