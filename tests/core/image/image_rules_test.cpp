// Bitmap bounds and size limit, picture file names, roughen against a literal reference.
#include <gtest/gtest.h>

#include <random>

#include "core/image/bitmap.h"
#include "core/image/bmp_save_name.h"
#include "core/image/picture_file.h"
#include "core/image/roughen.h"

namespace vesk {
namespace {

TEST(Bitmap, OutsideReadsInvalidAndIgnoresWritesAndHugeOrNegativeSizesAreRefused) {
  Bitmap b(3, 2, kBlack);
  for (auto [x, y] : {std::pair{-1, 0}, {3, 0}, {0, 2}, {0, -1}}) {
    EXPECT_EQ(b.Pixel(x, y), kInvalidColor);
    b.SetPixel(x, y, kWhite);
  }
  b.SetPixel(2, 1, MakeColor(1, 2, 3));
  Bitmap expected = Bitmap::Create(3, 2, kBlack).Value();
  expected.Row(1)[2] = 0x030201;
  EXPECT_EQ(b, expected);
  EXPECT_EQ(CheckBitmapSize(32768, 8192), "");
  for (auto [w, h] : {std::pair{32769, 1}, {1, 32769}, {32768, 8193}, {-1, 5}, {5, -1}}) {
    EXPECT_NE(CheckBitmapSize(w, h), "") << w << " x " << h;
    EXPECT_FALSE(Bitmap::Create(w, h).Ok());
  }
}

TEST(PictureFile, NamesCaptionsFormatsAndMessages) {
  using F = PictureFormat;
  for (auto [name, caption, bare, format] :  // file name, caption, bare name, format
       {std::tuple{"C:\\p\\face.BMP", "face.BMP", "face.BMP", F::kBmp},
        {"/home/u/a.Png", "a.Png", "a.Png", F::kPng}, {"C:f.jpg", "f.jpg", "C:f.jpg", F::kJpeg},
        {"y.JPEG", "y.JPEG", "y.JPEG", F::kJpeg}, {"y.gif", "y.gif", "y.gif", F::kUnknown},
        {"d.bmp/noext", "noext", "noext", F::kUnknown}, {"dir/", "", "", F::kUnknown},
        {"a.bmp.old", "a.bmp.old", "a.bmp.old", F::kUnknown}}) {
    EXPECT_EQ(std::tuple(CaptionOfFileName(name), BareFileName(name), PictureFormatOf(name)),
              std::tuple(caption, bare, format)) << name;
  }
  EXPECT_EQ(UnknownExtensionMessage("notes.TXT"), "Unknown picture file extension (.TXT)");
  EXPECT_EQ(UnknownExtensionMessage("noext"), "Unknown picture file extension (.)");
  EXPECT_EQ(ImageFormatErrorText("Bad"), "Error in image Format \n\rBad");
  for (auto [name, saved] : {std::pair{"frame", "frame.bmp"}, {"/t/f.png", "/t/f.png.bmp"},
                             {"a.bm", "a.bm.bmp"}, {"bmp", "bmp.bmp"}, {"F.BMP", "F.BMP"},
                             {"a.bmp.old", "a.bmp.old"}, {"/d/.BmPs/p", "/d/.BmPs/p"}}) {
    EXPECT_EQ(BmpSaveName(name), saved);
  }
}

TEST(RoughenPicture, EachPixelFiveFromTheBorderTakesAnOffsetPixelInPlaceRowByRow) {
  for (auto [w, h] : {std::pair{31, 23}, {10, 10}, {9, 30}, {0, 0}}) {
    Bitmap b(w, h);
    for (int i = 0; i < w * h; ++i) b.SetPixel(i % w, i / w, static_cast<Color>(i));
    Bitmap ref = b;
    std::mt19937 rng_a(99), rng_b(99);
    std::uniform_int_distribution<int> d(-2, 2);
    int rows = 0;
    RoughenPicture(b, [&] { return d(rng_a); }, [&] { ++rows; });
    for (int y = 5; y <= h - 5; ++y) {
      for (int x = 5; x <= w - 5; ++x) {
        const int ry = d(rng_b);
        ref.SetPixel(x, y, ref.Pixel(x + d(rng_b), y + ry));
      }
    }
    EXPECT_EQ(b, ref) << w << " x " << h;
    EXPECT_EQ(rows, std::max(h - 9, 0)) << w << " x " << h;
  }
}

}  // namespace
}  // namespace vesk
