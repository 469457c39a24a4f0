#include <QImage>
#include <QImageReader>
#include <QString>

#include "batch/pictures/picture_reader.h"
#include "core/common/file_io.h"

namespace vesk::batch {

Result<Bitmap> ReadPngOrJpeg(const std::string& path) {
  if (!FileFound(path)) return Failure{"File Not Found"};
  QImageReader reader(QString::fromStdString(path));
  QSize size = reader.size();
  if (size.isValid() && !CheckBitmapSize(size.width(), size.height()).empty()) {
    return Failure{CheckBitmapSize(size.width(), size.height())};
  }
  QImage image = reader.read();
  if (image.isNull()) return Failure{reader.errorString().toStdString()};
  image = image.convertToFormat(QImage::Format_RGB32);
  Bitmap bitmap(image.width(), image.height());
  for (int y = 0; y < image.height(); ++y) {
    const auto* in = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    Color* out = bitmap.Row(y);
    for (int x = 0; x < image.width(); ++x) {
      out[x] = MakeColor(qRed(in[x]), qGreen(in[x]), qBlue(in[x]));
    }
  }
  return bitmap;
}

}  // namespace vesk::batch
