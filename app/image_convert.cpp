#include "app/image_convert.h"

namespace vesk {

QImage ToQImage(const Bitmap& bitmap) {
  QImage image(bitmap.Width(), bitmap.Height(), QImage::Format_RGB32);
  for (int y = 0; y < bitmap.Height(); ++y) {
    const Color* in = bitmap.Row(y);
    auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < bitmap.Width(); ++x) {
      out[x] = qRgb(RedOf(in[x]), GreenOf(in[x]), BlueOf(in[x]));
    }
  }
  return image;
}

Bitmap FromQImage(const QImage& image) {
  if (image.isNull() || !CheckBitmapSize(image.width(), image.height()).empty()) return Bitmap();
  QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  Bitmap bitmap(rgb.width(), rgb.height());
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    Color* out = bitmap.Row(y);
    for (int x = 0; x < rgb.width(); ++x) out[x] = MakeColor(qRed(in[x]), qGreen(in[x]), qBlue(in[x]));
  }
  return bitmap;
}

}  // namespace vesk
