#include "pictures/picture_reader.h"

#include <algorithm>
#include <cctype>
#include <new>

#include "core/common/file_io.h"
#include "core/image/bmp_codec.h"
#include "pictures/decoders.h"

namespace vesk {
namespace pictures {

std::string TooLargeMessage(long long width, long long height) {
  return "the picture is " + std::to_string(width) + " x " + std::to_string(height) +
         " pixels: " + kBitmapTooLargeMessage;
}

std::string NotThisFormatMessage(PictureFormat format) {
  return "the file holds no " + PictureFormatName(format) + " picture";
}

std::string DamagedMessage(const std::string& detail) {
  return "the picture data is damaged" + (detail.empty() ? "" : " (" + detail + ")");
}

bool SaysCutShort(const std::string& words) {
  std::string lower = words;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  for (const char* sign : {"premature end", "read error", "end of file", "truncat",
                           "unexpected end", "not enough data", "end of data", "can not read"}) {
    if (lower.find(sign) != std::string::npos) return true;
  }
  return false;
}

}  // namespace pictures

Result<Bitmap> ReadPicture(const std::string& path) {
  Status readable = CheckReadable(path);
  if (!readable) return Failure{readable.Message()};
  const PictureFormat format = PictureFormatOf(path);
  try {
    switch (format) {
      case PictureFormat::kBmp:
        return LoadBmpFile(path);
      case PictureFormat::kPng:
      case PictureFormat::kJpeg:
      case PictureFormat::kWebp:
      case PictureFormat::kTiff:
        return pictures::ReadWithQt(path, format);
      case PictureFormat::kHeif:
      case PictureFormat::kAvif:
        return pictures::ReadWithLibheif(path, format);
      case PictureFormat::kUnknown:
        break;
    }
  } catch (const std::bad_alloc&) {
    return Failure{kBitmapTooLargeMessage};  // no memory left for a picture within the limit
  }
  return Failure{UnknownExtensionMessage(path)};
}

}  // namespace vesk
