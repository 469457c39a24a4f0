// PNG and JPEG pictures for vesk-batch. BMP files go through the core's own
// reader; these formats are read with Qt's image readers where the tool was
// built with Qt, and refused with a clear message otherwise.
#pragma once

#include <string>

#include "core/common/result.h"
#include "core/image/bitmap.h"

namespace vesk::batch {

Result<Bitmap> ReadPngOrJpeg(const std::string& path);

}  // namespace vesk::batch
