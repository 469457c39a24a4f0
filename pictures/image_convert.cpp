#include "pictures/image_convert.h"

#include <algorithm>

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

void CopyColumns(const Bitmap& bitmap, int x_begin, int x_end, QImage& image) {
  x_begin = std::max(x_begin, 0);
  x_end = std::min({x_end, bitmap.Width(), image.width()});
  const int height = std::min(bitmap.Height(), image.height());
  for (int y = 0; y < height; ++y) {
    const Color* in = bitmap.Row(y);
    auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = x_begin; x < x_end; ++x) {
      out[x] = qRgb(RedOf(in[x]), GreenOf(in[x]), BlueOf(in[x]));
    }
  }
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
