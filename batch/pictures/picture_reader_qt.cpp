#include <QImage>
#include <QImageReader>
#include <QString>

#include "batch/pictures/picture_reader.h"
#include "core/common/file_io.h"
#include "qtimage/image_convert.h"

namespace vesk::batch {

Result<Bitmap> ReadPngOrJpeg(const std::string& path) {
  if (!FileReadable(path)) return Failure{"File Not Found"};
  QImageReader reader(QString::fromStdString(path));
  // Refuse an oversized picture before its pixels are decoded.
  QSize size = reader.size();
  if (size.isValid()) {
    std::string too_large = CheckBitmapSize(size.width(), size.height());
    if (!too_large.empty()) return Failure{too_large};
  }
  QImage image = reader.read();
  if (image.isNull()) return Failure{reader.errorString().toStdString()};
  return FromQImage(image);
}

}  // namespace vesk::batch
