// Conversions between the core's Bitmap and Qt's QImage.
#pragma once

#include <QImage>

#include "core/image/bitmap.h"

namespace vesk {

// A QImage of format RGB32 holding the same colours.
QImage ToQImage(const Bitmap& bitmap);
// The colours of any QImage (alpha dropped); sizes beyond the bitmap limit
// give an empty bitmap.
Bitmap FromQImage(const QImage& image);

}  // namespace vesk
