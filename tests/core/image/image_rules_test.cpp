// Small picture rules: the bitmap's bounds and size limit, picture file
// names, and the roughen pass against a literal reference.
#include <gtest/gtest.h>

#include <random>

#include "core/image/bitmap.h"
#include "core/image/bmp_save_name.h"
#include "core/image/picture_file.h"
#include "core/image/roughen.h"

namespace vesk {
namespace {

TEST(Bitmap, ReadOutsideIsInvalidAndWriteOutsideDoesNothing) {
  Bitmap b(3, 2, kBlack);
  const Bitmap before = b;
  for (auto [x, y] : {std::pair{-1, 0}, {3, 0}, {0, 2}, {0, -1}}) {
    EXPECT_EQ(b.Pixel(x, y), kInvalidColor);
    b.SetPixel(x, y, kWhite);
  }
  EXPECT_EQ(b, before);
  b.SetPixel(2, 1, MakeColor(1, 2, 3));
  EXPECT_EQ(b.Pixel(2, 1), 0x030201u);
}

TEST(Bitmap, SizeLimitRefusesHugeAndNegativeSizes) {
  EXPECT_EQ(CheckBitmapSize(32768, 8192), "");
  for (auto [w, h] : {std::pair{32769, 1}, {1, 32769}, {32768, 8193}, {-1, 5}, {5, -1}}) {
    EXPECT_NE(CheckBitmapSize(w, h), "") << w << " x " << h;
    EXPECT_FALSE(Bitmap::Create(w, h).Ok());
  }
  EXPECT_EQ(Bitmap::Create(2, 2, kBlack).Value(), Bitmap(2, 2, kBlack));
}

TEST(PictureFile, NamesCaptionsAndFormats) {
  const std::tuple<const char*, const char*, const char*, PictureFormat> rows[] = {
      // file name, caption, bare name, format
      {"C:\\pics\\face.BMP", "face.BMP", "face.BMP", PictureFormat::kBmp},
      {"/home/u/a.Png", "a.Png", "a.Png", PictureFormat::kPng},
      {"C:face.jpg", "face.jpg", "C:face.jpg", PictureFormat::kJpeg},
      {"y.JPEG", "y.JPEG", "y.JPEG", PictureFormat::kJpeg},
      {"y.gif", "y.gif", "y.gif", PictureFormat::kUnknown},
      {"dir.bmp/noext", "noext", "noext", PictureFormat::kUnknown},
      {"a.bmp.old", "a.bmp.old", "a.bmp.old", PictureFormat::kUnknown},
      {"dir/", "", "", PictureFormat::kUnknown}};
  for (auto [name, caption, bare, format] : rows) {
    EXPECT_EQ(CaptionOfFileName(name), caption) << name;
    EXPECT_EQ(BareFileName(name), bare) << name;
    EXPECT_EQ(PictureFormatOf(name), format) << name;
  }
  EXPECT_EQ(UnknownExtensionMessage("notes.TXT"), "Unknown picture file extension (.TXT)");
  EXPECT_EQ(UnknownExtensionMessage("noext"), "Unknown picture file extension (.)");
  EXPECT_EQ(ImageFormatErrorText("Bad"), "Error in image Format \n\rBad");
}

TEST(BmpSaveName, GetsBmpUnlessTheNameHoldsItInAnyCase) {
  for (auto [name, saved] : {std::pair{"frame", "frame.bmp"}, {"/t/f.png", "/t/f.png.bmp"},
                             {"a.bm", "a.bm.bmp"}, {"bmp", "bmp.bmp"}, {"F.BMP", "F.BMP"},
                             {"a.bmp.old", "a.bmp.old"}, {"/d/.BmPs/p", "/d/.BmPs/p"}}) {
    EXPECT_EQ(BmpSaveName(name), saved);
  }
}

Bitmap Numbered(int w, int h) {
  Bitmap b(w, h);
  for (int i = 0; i < w * h; ++i) b.SetPixel(i % w, i / w, static_cast<Color>(i));
  return b;
}

TEST(RoughenPicture, EachInnerPixelTakesAnOffsetPixelInPlaceRowByRow) {
  Bitmap b = Numbered(31, 23);
  Bitmap ref = b;
  std::mt19937 rng_a(99), rng_b(99);
  std::uniform_int_distribution<int> d(-2, 2);
  int rows = 0;
  RoughenPicture(b, [&] { return d(rng_a); }, [&] { ++rows; });
  for (int y = 5; y <= 23 - 5; ++y) {
    for (int x = 5; x <= 31 - 5; ++x) {
      int ry = d(rng_b);
      int rx = d(rng_b);
      ref.SetPixel(x, y, ref.Pixel(x + rx, y + ry));
    }
  }
  EXPECT_EQ(b, ref);
  EXPECT_EQ(rows, 23 - 5 - 5 + 1);
}

TEST(RoughenPicture, PicturesUpToTenPixelsHaveAtMostOneInnerPixel) {
  for (int size : {0, 1, 5, 9, 10}) {
    Bitmap b = Numbered(size, size);
    int calls = 0;
    RoughenPicture(b, [&] { return ++calls, 2; });
    EXPECT_EQ(calls, size == 10 ? 2 : 0);
    EXPECT_EQ(b.Pixel(5, 5), size == 10 ? Numbered(10, 10).Pixel(7, 7) : b.Pixel(5, 5));
  }
}

}  // namespace
}  // namespace vesk
