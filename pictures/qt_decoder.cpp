// PNG, JPEG, WebP and TIFF pictures through Qt's image plugins, with Qt's
// own turning off (the EXIF orientation is applied here, the same way for
// every format) and Qt's own memory limit off (the program's size limit,
// checked before decoding, is the only one).
#include <fcntl.h>
#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageReader>

#include "core/common/byte_source.h"
#include "core/image/exif_orientation.h"
#include "core/image/orientation_transform.h"
#include "pictures/decoded_rows.h"
#include "pictures/decoder_chatter.h"
#include "pictures/decoders.h"

namespace vesk::pictures {
namespace {

QByteArray QtFormatOf(PictureFormat format) {
  switch (format) {
    case PictureFormat::kPng:
      return "png";
    case PictureFormat::kJpeg:
      return "jpeg";
    case PictureFormat::kWebp:
      return "webp";
    default:
      return "tiff";
  }
}

// The cause of a failed read: a missing plugin, a file cut short, a file
// of another kind, damage.
std::string FailureOf(PictureFormat format, QImageReader& reader, std::string words) {
  if (!QImageReader::supportedImageFormats().contains(QtFormatOf(format))) {
    return PictureFormatName(format) +
           " pictures need Qt's image plugins (Debian package qt6-image-formats-plugins)";
  }
  // Qt opens every TIFF under the name "foo", which libtiff repeats.
  for (std::size_t at; (at = words.find("foo: ")) != std::string::npos;) words.erase(at, 5);
  if (SaysCutShort(words)) return kCutShortMessage;
  if (words.empty() && !reader.canRead()) {
    return NotThisFormatMessage(format);
  }
  return DamagedMessage(words.empty() ? reader.errorString().toStdString() : words);
}

}  // namespace

Result<Bitmap> ReadWithQt(const std::string& path, PictureFormat format) {
  // The file is opened by its bytes, so a name that is not UTF-8 still opens.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  QFile file;
  if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    if (fd >= 0) ::close(fd);
    return Failure{"File Not Found"};
  }
  DecoderChatter chatter;
  QImageReader reader(&file, QtFormatOf(format));
  reader.setAutoTransform(false);
  reader.setAllocationLimit(0);
  const QSize size = reader.size();
  if (!size.isValid()) return Failure{FailureOf(format, reader, chatter.Words())};
  if (!CheckBitmapSize(size.width(), size.height()).empty()) {
    return Failure{TooLargeMessage(size.width(), size.height())};
  }
  Bitmap picture(size.width(), size.height());
  // Eight-bit RGB, the usual photo, is decoded straight into the picture's
  // own pixels and made into its colours in place: no second copy.
  QImage decoded(reinterpret_cast<uchar*>(picture.Row(0)), picture.Width(), picture.Height(),
                 picture.Width() * 4, QImage::Format_RGB32);
  if (reader.imageFormat() != QImage::Format_RGB32) decoded = QImage();
  const bool read = reader.read(&decoded);
  const std::string words = chatter.Words();
  // libjpeg takes a cut-off file with a warning and grey rows for the rest.
  if (!read || SaysCutShort(words)) return Failure{FailureOf(format, reader, words)};
  if (decoded.size() != size) return Failure{DamagedMessage("its size changed while reading")};
  CopyDecodedRows(decoded, decoded.colorSpace(), picture);
  decoded = QImage();
  return UprightPicture(std::move(picture), ReadExifOrientation(FileBytes(path)));
}

}  // namespace vesk::pictures
