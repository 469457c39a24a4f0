#include "batch/pictures/picture_reader.h"

namespace vesk::batch {

Result<Bitmap> ReadPngOrJpeg(const std::string&) {
  return Failure{"PNG and JPEG pictures need a vesk-batch built with Qt; save the picture as BMP"};
}

}  // namespace vesk::batch
