// The DIB selectors besides true colour, and the frame size an AVI stream
// can describe.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "core/animation/avi_file.h"
#include "core/animation/dib.h"

namespace vesk {
namespace {

// Black, white and a light grey in each indexed format: the depth, the table
// size and the first two pixel bytes (nearest entries, high bits first).
TEST(DibFormats, IndexedSelectorsTakeTheNearestEntryOfTheirTable) {
  Bitmap pixels(3, 1, kBlack);
  pixels.SetPixel(1, 0, kWhite);
  pixels.SetPixel(2, 0, MakeColor(200, 200, 200));
  for (const auto& [selector, bits, byte0, byte1] :
       {std::tuple{DibColors::kTwo, 1, 0x60, 0x00},  // the grey goes white
        {DibColors::kSixteen, 4, 0x0F, 0x70},        // the grey takes light grey 7
        {DibColors::k256, 8, 0x00, 215}}) {          // white ends the 6 x 6 x 6 cube
    const DibSizes sizes = GetDibSizes(pixels, selector);
    EXPECT_EQ(sizes.header_size, 40 + 4 * (1 << bits));
    std::vector<std::uint8_t> header(static_cast<std::size_t>(sizes.header_size));
    std::vector<std::uint8_t> image(static_cast<std::size_t>(sizes.image_size));
    ASSERT_TRUE(GetDib(pixels, nullptr, header, image, selector));
    EXPECT_EQ(std::tuple(header[14], image[0], image[1]), std::tuple(bits, byte0, byte1)) << bits;
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
  for (const auto& [right, bottom, ok] :
       {std::tuple{32767, 32767, true}, {32768, 1, false}, {1, 32768, false}}) {
    AviFile file;
    ASSERT_TRUE(file.Open(::testing::TempDir() + "dib_formats.avi").Ok());
    AviStreamInfo info;
    info.fccType = kStreamTypeVideo;
    info.dwRate = info.dwScale = 1;
    info.rcFrame = AviRect{0, 0, right, bottom};
    EXPECT_EQ(file.CreateStream(info).Ok(), ok) << right << " x " << bottom;
  }
}

}  // namespace
}  // namespace vesk
