// Turning a picture as stored into the picture as seen: the eight
// orientations of the EXIF tag (exif_orientation.h) applied to a Bitmap.
#pragma once

#include "core/image/bitmap.h"
#include "core/image/exif_orientation.h"

namespace vesk {

// The picture `stored` turned and mirrored as `orientation` says. The four
// that keep the size work in place; the four that exchange width and height
// make the new picture and drop the old.
Bitmap UprightPicture(Bitmap stored, ExifOrientation orientation);

}  // namespace vesk
