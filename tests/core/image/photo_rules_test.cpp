// What the picture reader does with photos that needs no decoder: the EXIF
// orientation found in each container, the eight turns, area averaging and
// the warp that shrinks with it, 16-bit and transparent pixels, and the
// store of pictures kept for later.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "core/image/area_shrink.h"
#include "core/image/bitmap_store.h"
#include "core/image/deep_pixels.h"
#include "core/image/exif_orientation.h"
#include "core/image/orientation_transform.h"
#include "core/image/similarity_warp.h"
#include "tests/core/support/random_image.h"
#include "tests/core/support/temp_folder.h"

namespace vesk {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }
Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
Bytes Big(std::uint32_t v, int n) {
  Bytes b;
  for (int i = n - 1; i >= 0; --i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  return b;
}
Bytes Little(std::uint32_t v, int n) {
  Bytes b = Big(v, n);
  std::reverse(b.begin(), b.end());
  return b;
}

// A TIFF structure whose first directory holds a dummy tag and the
// orientation `value` of `type` (3 SHORT, 4 LONG).
Bytes Tiff(bool big, std::uint32_t value, std::uint32_t type = 3) {
  const auto n = [big](std::uint32_t v, int size) { return big ? Big(v, size) : Little(v, size); };
  const Bytes kept = type == 3 ? n(value, 2) + Bytes{0, 0} : n(value, 4);
  return Text(big ? "MM" : "II") + n(42, 2) + n(8, 4) + n(2, 2) +  // header, two entries
         n(0x0100, 2) + n(3, 2) + n(1, 4) + n(640, 2) + Bytes{0, 0} +  // ImageWidth
         n(0x0112, 2) + n(type, 2) + n(1, 4) + kept + n(0, 4);
}
Bytes Exif(const Bytes& tiff) { return Text(std::string("Exif\0\0", 6)) + tiff; }
Bytes Jpeg(const Bytes& exif) {
  return Bytes{0xFF, 0xD8} + Bytes{0xFF, 0xE0} + Big(16, 2) + Text("JFIF") + Bytes(10, 0) +
         Bytes{0xFF, 0xE1} + Big(static_cast<std::uint32_t>(exif.size() + 2), 2) + exif +
         Bytes{0xFF, 0xDA, 0, 2};
}
Bytes Png(const Bytes& exif) {
  const auto chunk = [](const std::string& type, const Bytes& data) {
    return Big(static_cast<std::uint32_t>(data.size()), 4) + Text(type) + data + Bytes(4, 0);
  };
  return Text("\x89PNG\r\n\x1a\n") + chunk("IHDR", Bytes(13, 0)) + chunk("IDAT", Bytes(5, 1)) +
         chunk("eXIf", exif) + chunk("IEND", {});
}
Bytes Webp(const Bytes& exif) {
  const auto chunk = [](const std::string& type, const Bytes& data) {
    Bytes c = Text(type) + Little(static_cast<std::uint32_t>(data.size()), 4) + data;
    if (data.size() % 2 == 1) c.push_back(0);
    return c;
  };
  const Bytes body = Text("WEBP") + chunk("VP8X", Bytes(10, 0)) + chunk("VP8 ", Bytes(7, 0)) +
                     chunk("EXIF", exif);
  return Text("RIFF") + Little(static_cast<std::uint32_t>(body.size()), 4) + body;
}

int OrientationOf(const Bytes& file) {
  return static_cast<int>(ReadExifOrientation(MemoryBytes(file)));
}

TEST(ExifOrientation, IsFoundInEveryContainerAndAnythingElseIsUpright) {
  for (std::uint32_t v = 1; v <= 8; ++v) {
    EXPECT_EQ(OrientationOf(Jpeg(Exif(Tiff(false, v)))), int(v));
    EXPECT_EQ(OrientationOf(Jpeg(Exif(Tiff(true, v)))), int(v));
    EXPECT_EQ(OrientationOf(Tiff(v % 2 == 0, v)), int(v));
    EXPECT_EQ(OrientationOf(Png(Tiff(true, v))), int(v));
    EXPECT_EQ(OrientationOf(Webp(v % 2 ? Exif(Tiff(false, v)) : Tiff(false, v))), int(v));
  }
  const Bytes good = Jpeg(Exif(Tiff(false, 6)));
  Bytes far_directory = good;
  far_directory[30 + 4] = 0xF0;  // the directory's offset beyond the segment
  Bytes short_segment = good;
  short_segment[23] = 20;  // APP1's length cuts the directory off
  const std::pair<const char*, Bytes> upright[] = {
      {"orientation 0", Jpeg(Exif(Tiff(false, 0)))},
      {"orientation 9", Jpeg(Exif(Tiff(false, 9)))},
      {"as a LONG", Jpeg(Exif(Tiff(false, 6, 4)))},  // read as well: 6
      {"directory beyond", far_directory},
      {"segment too short", short_segment},
      {"cut inside the directory", Bytes(good.begin(), good.begin() + 50)},
      {"no EXIF", Jpeg(Text("XMP\0\0\0 and more"))},
      {"a BMP", Text("BM") + Bytes(60, 0)},
      {"empty", {}},
      {"EXIF after the scan", Bytes{0xFF, 0xD8, 0xFF, 0xDA, 0, 2} + Jpeg(Exif(Tiff(false, 6)))},
  };
  for (const auto& [name, bytes] : upright) {
    EXPECT_EQ(OrientationOf(bytes), std::string(name) == "as a LONG" ? 6 : 1) << name;
  }
}

// A 3 x 2 picture, one letter a pixel, as its eight orientations show it.
TEST(OrientationTransform, TurnsAndMirrorsAsTheTagSays) {
  const std::string stored = "abc"
                             "def";
  const std::pair<int, std::vector<std::string>> rows[] = {
      {1, {"abc", "def"}},       {2, {"cba", "fed"}},       {3, {"fed", "cba"}},
      {4, {"def", "abc"}},       {5, {"ad", "be", "cf"}},   {6, {"da", "eb", "fc"}},
      {7, {"fc", "eb", "da"}},   {8, {"cf", "be", "ad"}},
  };
  Bitmap picture(3, 2);
  for (int i = 0; i < 6; ++i) picture.SetPixel(i % 3, i / 3, Color(stored[i]));
  for (const auto& [orientation, expected] : rows) {
    const Bitmap upright = UprightPicture(picture, static_cast<ExifOrientation>(orientation));
    std::vector<std::string> seen(upright.Height());
    for (int y = 0; y < upright.Height(); ++y) {
      for (int x = 0; x < upright.Width(); ++x) seen[y] += char(upright.Pixel(x, y));
    }
    EXPECT_EQ(seen, expected) << orientation;
  }
  // Large enough to cross the tiles.
  const Bitmap big = testing_support::RandomImage(150, 70, 5);
  const Bitmap turned = UprightPicture(big, ExifOrientation::kTurnedRight);
  EXPECT_EQ(UprightPicture(turned, ExifOrientation::kTurnedLeft), big);
}

TEST(AreaShrink, AveragesWhatEachNewPixelCovers) {
  // One-pixel stripes fitted from 1000 to 130 pixels: an even grey, where
  // bilinear sampling alone gives stripes from about 10 to 245.
  Bitmap stripes(1000, 1000);
  for (int y = 0; y < 1000; ++y) {
    for (int x = 0; x < 1000; ++x) stripes.SetPixel(x, y, x % 2 ? kWhite : kBlack);
  }
  const Bitmap fitted = WarpPicture(stripes, FitInside(1000, 1000, 130, 130), 130, 130);
  for (int i = 0; i < 130 * 130; ++i) {
    const int grey = static_cast<int>(fitted.Pixel(i % 130, i / 130) & 0xFF);
    ASSERT_LE(std::abs(grey - 127.5), 8) << i % 130 << "," << i / 130;
  }
  // Whole blocks: exact means, halves rounded up; a flat picture stays flat.
  Bitmap blocks(4, 2, MakeColor(10, 0, 255));
  blocks.SetPixel(0, 0, MakeColor(11, 3, 0));
  blocks.SetPixel(3, 1, MakeColor(0, 200, 0));
  Bitmap expected(2, 1, MakeColor(10, 1, 191));
  expected.SetPixel(1, 0, MakeColor(8, 50, 191));
  EXPECT_EQ(AreaShrink(blocks, 2, 1), expected);
  const Color flat = MakeColor(1, 2, 3);
  EXPECT_EQ(AreaShrink(Bitmap(997, 13, flat), 89, 5), Bitmap(89, 5, flat));
  EXPECT_EQ(AreaShrink(blocks, 9, 9), blocks);  // larger sides stay
}

TEST(DeepPixels, RoundSixteenBitsAndLayTransparencyOverWhite) {
  struct Row { std::uint16_t c, a; int expected; };
  for (const Row& r : {Row{257 * 100 - 128, 65535, 100}, Row{257 * 100 + 128, 65535, 100},
                       Row{257 * 100 - 129, 65535, 99}, Row{0, 0, 255}, Row{0, 32768, 127},
                       Row{0, 32767, 128}, Row{65535, 12345, 255}}) {
    EXPECT_EQ(ColorOverWhite(r.c, 0, r.c, r.a) & 0xFF00FF, Color(r.expected * 0x10001))
        << r.c << " " << r.a;
  }
  const std::uint16_t row[8] = {65535, 0, 0, 65535, 0, 0, 0, 0};
  Color out[2];
  RowOverWhite(row, 2, out);
  EXPECT_EQ(std::vector<Color>(out, out + 2), (std::vector<Color>{MakeColor(255, 0, 0), kWhite}));
}

using BitmapStoreFiles = testing_support::TempFolderTest;

TEST_F(BitmapStoreFiles, KeepsPicturesInMemoryWithinTheBudgetAndTheRestInAFileWithoutName) {
  const Bitmap a = testing_support::RandomImage(30, 20, 1);
  const Bitmap b = testing_support::RandomImage(7, 9, 2);
  BitmapStore store(30 * 20 * 4, {PathOf("missing"), dir_.string()});
  ASSERT_TRUE(store.Put(0, a));
  ASSERT_TRUE(store.Put(2, b));
  ASSERT_TRUE(store.Put(1, a));
  EXPECT_EQ(store.BytesInMemory(), 30u * 20 * 4);
  EXPECT_EQ(store.BytesInFile(), 7u * 9 * 4 + 30 * 20 * 4);
  EXPECT_EQ(store.Get(0).Value(), a);
  EXPECT_EQ(store.Get(1).Value(), a);
  EXPECT_EQ(store.Get(2).Value(), b);
  EXPECT_TRUE(store.Get(7).Value().Empty());
  EXPECT_EQ(FilesInFolder(), 0);  // the file has no name
  BitmapStore nowhere(0, {PathOf("missing")});
  EXPECT_EQ(nowhere.Put(0, b).Message(),
            "Cannot make a temporary file for the pictures (No such file or directory)");
}

}  // namespace
}  // namespace vesk
