// Bitmap bounds and size limit, picture file names, roughen against a literal reference,
// and the zoomed view's pixel rules.
#include <gtest/gtest.h>

#include <random>

#include "core/image/bitmap.h"
#include "core/image/bmp_save_name.h"
#include "core/image/picture_file.h"
#include "core/image/roughen.h"
#include "core/image/view_transform.h"

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
        {"p.WebP", "p.WebP", "p.WebP", F::kWebp}, {"s.tif", "s.tif", "s.tif", F::kTiff},
        {"s.TIFF", "s.TIFF", "s.TIFF", F::kTiff}, {"i.HEIC", "i.HEIC", "i.HEIC", F::kHeif},
        {"i.heif", "i.heif", "i.heif", F::kHeif}, {"a.avif", "a.avif", "a.avif", F::kAvif},
        {"d.bmp/noext", "noext", "noext", F::kUnknown}, {"dir/", "", "", F::kUnknown},
        {"a.bmp.old", "a.bmp.old", "a.bmp.old", F::kUnknown}}) {
    EXPECT_EQ(std::tuple(CaptionOfFileName(name), BareFileName(name), PictureFormatOf(name)),
              std::tuple(caption, bare, format)) << name;
  }
  const std::string read = "; pictures are read from .bmp, .png, .jpg, .jpeg, .webp, .tif, "
                           ".tiff, .heic, .heif, .avif";
  EXPECT_EQ(UnknownExtensionMessage("notes.TXT"), "Unknown picture file extension (.TXT)" + read);
  EXPECT_EQ(UnknownExtensionMessage("noext"), "Unknown picture file extension (.)" + read);
  EXPECT_EQ(PicturePatterns(), "*.bmp;*.BMP;*.png;*.PNG;*.jpg;*.JPG;*.jpeg;*.JPEG;*.webp;*.WEBP;"
                               "*.tif;*.TIF;*.tiff;*.TIFF;*.heic;*.HEIC;*.heif;*.HEIF;*.avif;*.AVIF");
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

TEST(ViewTransform, WidgetPointsAddressTheImagePixelTheyShow) {
  struct Row { const char* name; int zoom; std::int64_t widget; std::int32_t image; };
  const Row rows[] = {
      {"actual pixels left of the picture", 256, -1, -1},
      {"8x, middle of pixel 5", 2048, 5 * 8 + 4, 5},
      {"8x, one left of the picture", 2048, -1, -1},
      {"1/8, centre of view pixel 2 is image 20", 32, 2, 20},
      {"3/2, view 2 is image 1 (centre 2.5 / 1.5)", 384, 2, 1},
      {"3/2, view 1 is image 1", 384, 1, 1},
      {"huge picture at 16x", 4096, 16LL * 32767 + 15, 32767},
  };
  for (const Row& r : rows) EXPECT_EQ(ImageFromWidget(r.widget, r.zoom), r.image) << r.name;
  // Each image pixel's block maps back to the pixel, at every step.
  for (int zoom = kActualPixels; zoom <= kMaxZoom; zoom = ZoomIn(zoom)) {
    for (std::int32_t x : {0, 1, 7, 1000}) {
      EXPECT_EQ(ImageFromWidget(WidgetFromImage(x, zoom), zoom), x) << zoom;
      EXPECT_EQ(ImageFromWidget(WidgetFromImage(x + 1, zoom) - 1, zoom), x) << zoom;
    }
    if (zoom == kMaxZoom) break;
  }
}

TEST(ViewTransform, StepsFitAndAnchor) {
  struct Row { const char* name; int got, expected; };
  const Row rows[] = {
      {"in from 1", ZoomIn(256), 384},          {"in from between steps", ZoomIn(300), 384},
      {"out from 1", ZoomOut(256), 192},        {"out from between steps", ZoomOut(300), 256},
      {"clamp below", ClampZoom(1), kMinZoom},  {"clamp above", ClampZoom(100000), kMaxZoom},
      {"in at the top stays", ZoomIn(kMaxZoom), kMaxZoom},
      {"out at the bottom stays", ZoomOut(kMinZoom), kMinZoom},
      {"fit a picture twice the view", FitZoom(400, 300, 200, 200), 128},
      {"fit the narrower side", FitZoom(100, 400, 200, 200), 128},
      {"fit a tiny picture is 16x", FitZoom(2, 2, 500, 500), kMaxZoom},
      {"fit a huge picture is 1/8", FitZoom(30000, 30000, 100, 100), kMinZoom},
      {"fit an empty picture", FitZoom(0, 10, 100, 100), kActualPixels},
      {"anchor at the origin", static_cast<int>(ScrollKeepingAnchor(0, 0, 256, 512)), 0},
      // Picture point 60 + 40 = 100 under view point 40 is 200 at 2x: scroll to 160.
      {"anchor keeps the point", static_cast<int>(ScrollKeepingAnchor(60, 40, 256, 512)), 160},
      {"anchor zooming out", static_cast<int>(ScrollKeepingAnchor(160, 40, 512, 256)), 60},
  };
  for (const Row& r : rows) EXPECT_EQ(r.got, r.expected) << r.name;
}

}  // namespace
}  // namespace vesk
