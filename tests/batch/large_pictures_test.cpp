// A 48-megapixel JPEG and PNG (8000 x 6000, a phone's full-resolution mode),
// far above Qt's own 128 MB image limit and within the program's: they open,
// morph and run in a sequence. (Time and memory: bench/large_pictures_bench.)
#include <QImage>
#include <QImageWriter>

#include "pictures/image_convert.h"
#include "tests/batch/batch_test_support.h"

namespace vesk::testing {
namespace {

using LargePictures = BatchTest;

TEST_F(LargePictures, OpenMorphAndRunInASequence) {
  // Smooth gradients: quick to write, and a pixel out of place shows.
  QImage picture(8000, 6000, QImage::Format_RGB32);
  for (int y = 0; y < 6000; ++y) {
    auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
    for (int x = 0; x < 8000; ++x) row[x] = qRgb(x * 255 / 7999, y * 255 / 5999, (x + y) % 256);
  }
  ASSERT_TRUE(picture.save(QString::fromStdString(PathOf("a.jpg")), "JPEG", 90));
  QImageWriter png(QString::fromStdString(PathOf("b.png")));
  ASSERT_TRUE(png.write(picture.mirrored(true, false)));
  ASSERT_EQ(Run("grid a.jpg b.png --cols 3 --rows 3 --out m.mesh"), 0) << err_;
  ASSERT_EQ(Run("morph m.mesh --frames 1 --render smooth"), 0) << err_;
  ASSERT_EQ(Run("sequence a.jpg b.png --mesh m.mesh --frames 2 --out out/s.any"), 0) << err_;
  EXPECT_EQ(Text("out/s.any"), ListOf(1, 3));
  const Bitmap last = Load("out/imag3.bmp");
  EXPECT_TRUE(last == FromQImage(picture.mirrored(true, false)));  // PNG: every pixel
  const Bitmap first = Load("out/imag1.bmp");
  ASSERT_EQ(first.Width() * 10000 + first.Height(), 8000 * 10000 + 6000);
  for (int x : {0, 4000, 7999}) {  // JPEG: within its error
    const Color c = first.Pixel(x, 3000);
    EXPECT_NEAR(double(c & 255), x * 255.0 / 7999, 6) << x;
  }
}

}  // namespace
}  // namespace vesk::testing
