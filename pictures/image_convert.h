// Conversions between the core's Bitmap and Qt's QImage, shared by the
// desktop program and vesk-batch.
#pragma once

#include <QImage>

#include "core/image/bitmap.h"

namespace vesk {

// A QImage of format RGB32 holding the same colours.
QImage ToQImage(const Bitmap& bitmap);
// The colours of any QImage (alpha dropped); sizes beyond the bitmap limit
// give an empty bitmap.
Bitmap FromQImage(const QImage& image);
// Copies columns x_begin .. x_end - 1 of `bitmap` into `image`, an RGB32
// image of the same size (clipped to both).
void CopyColumns(const Bitmap& bitmap, int x_begin, int x_end, QImage& image);

}  // namespace vesk
