// A single picture as a PNG file's bytes, through FFmpeg's PNG encoder (the
// program writes PNG nowhere else; BMP stays its own codec): 8-bit RGB,
// compressed (each row predicted from its neighbours), without metadata, so
// the same picture gives the same bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/common/result.h"
#include "core/image/bitmap.h"

namespace vesk {

// True when `path` ends in ".png" (any letter case).
bool IsPngName(const std::string& path);

// The bytes of a PNG file holding exactly the picture's colours; an empty
// picture, or a failure of the encoder, gives its message.
Result<std::vector<std::uint8_t>> EncodePng(const Bitmap& picture);

}  // namespace vesk
