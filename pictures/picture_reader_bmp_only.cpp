// The picture reader of a build without Qt: BMP files only.
#include "pictures/decoders.h"

namespace vesk::pictures {
namespace {

Failure NeedsQt(PictureFormat format) {
  return Failure{PictureFormatName(format) +
                 " pictures need a build with Qt and libheif; save the picture as BMP"};
}

}  // namespace

Result<Bitmap> ReadWithQt(const std::string&, PictureFormat format) { return NeedsQt(format); }
Result<Bitmap> ReadWithLibheif(const std::string&, PictureFormat format) {
  return NeedsQt(format);
}

}  // namespace vesk::pictures
