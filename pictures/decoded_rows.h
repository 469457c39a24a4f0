// A picture as a decoder handed it to Qt (any QImage format, any colour
// space) made into the program's colours: converted to sRGB when it carries
// another colour space, then 16-bit channels rounded and transparency laid
// over white (core/image/deep_pixels.h). Work goes in strips of rows, so a
// 48-megapixel picture needs no second full-size copy; `decoded` may lie
// in `out`'s own pixels (a decoder that wrote straight into them).
#pragma once

#include <QColorSpace>
#include <QImage>

#include "core/image/bitmap.h"

namespace vesk::pictures {

// `out` has the size of `decoded`; `from` is the picture's colour space
// (invalid or sRGB: none to convert).
void CopyDecodedRows(const QImage& decoded, const QColorSpace& from, Bitmap& out);

}  // namespace vesk::pictures
