// Inside the picture reader (picture_reader.h): the decoders it dispatches
// to and the steps they share. Only pictures/*.cpp include this.
#pragma once

#include <string>

#include "core/common/result.h"
#include "core/image/bitmap.h"
#include "core/image/picture_file.h"

namespace vesk::pictures {

// A PNG, JPEG, WebP or TIFF file through Qt's image plugins.
Result<Bitmap> ReadWithQt(const std::string& path, PictureFormat format);
// A HEIF or AVIF file through libheif.
Result<Bitmap> ReadWithLibheif(const std::string& path, PictureFormat format);

// The causes the decoders report.
std::string TooLargeMessage(long long width, long long height);
inline constexpr char kCutShortMessage[] = "the file is cut short (truncated)";
// "the file holds no <format> picture": a file of another kind.
std::string NotThisFormatMessage(PictureFormat format);
// "the picture data is damaged (<detail>)".
std::string DamagedMessage(const std::string& detail);
// True when a decoder's words say that its data ended early.
bool SaysCutShort(const std::string& words);

}  // namespace vesk::pictures
