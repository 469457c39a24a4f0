// Reading a picture file: the one way the desktop program and vesk-batch
// do it, for every command, window, drop and sequence. Nothing else in the
// programs decodes a picture.
//
// The format is chosen by the file's extension (core/image/picture_file.h):
// BMP through the program's own codec, byte for byte as always; PNG, JPEG,
// WebP and TIFF through Qt's image plugins; HEIF (HEIC) and AVIF through
// libheif. Every picture comes out as the program's 8-bit RGB colours:
//  - upright: a JPEG's, PNG's, WebP's or TIFF's EXIF orientation and a HEIF
//    file's own turns and mirrors are applied, so mesh positions refer to
//    the picture as it is seen;
//  - in sRGB: an embedded colour profile (ICC, or HEIF's nclx) is converted
//    to sRGB; a picture without one is taken as sRGB;
//  - 16-bit channels rounded to 8 bits, transparency laid over white
//    (core/image/deep_pixels.h).
// A picture beyond the program's size limit is refused before its pixels
// are decoded; a truncated picture is refused, never half read. What Qt and
// the decoding libraries would print is caught and folded into the message.
#pragma once

#include <string>

#include "core/common/result.h"
#include "core/image/bitmap.h"

namespace vesk {

// The picture, or what is wrong in words that follow the file's name (the
// caller names the file): "File Not Found", "is a folder, not a file",
// "cannot be read (Permission denied)", the unknown extension with the
// formats read, "Bitmap image is not valid", "the file is cut short
// (truncated)", "the picture data is damaged (...)", the size with the
// size limit, or the package a format's plugin comes with.
Result<Bitmap> ReadPicture(const std::string& path);

}  // namespace vesk
