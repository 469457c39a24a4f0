// Which way up a photo was taken: the EXIF orientation tag (0x0112) that
// cameras and phones write instead of turning the pixels, read from the
// places the formats keep it: a JPEG's APP1 "Exif" segment, a TIFF file's
// first directory, a WebP file's "EXIF" chunk and a PNG file's "eXIf"
// chunk. HEIF pictures say it in their own boxes, which libheif applies.
//
// Only the few bytes on the way are read (segment and chunk headers, one
// directory), each checked against the file's size, so a damaged or hostile
// file answers "upright" rather than reading outside it.
#pragma once

#include "core/common/byte_source.h"

namespace vesk {

// The values of the tag: how the stored pixels must be turned to stand
// upright (orientation_transform.h applies them).
enum class ExifOrientation {
  kUpright = 1,          // as stored
  kMirrored = 2,         // mirrored left to right
  kUpsideDown = 3,       // turned by 180 degrees
  kFlipped = 4,          // mirrored top to bottom
  kTransposed = 5,       // mirrored along the diagonal from the top left
  kTurnedRight = 6,      // to be turned 90 degrees clockwise
  kTransverse = 7,       // mirrored along the other diagonal
  kTurnedLeft = 8,       // to be turned 90 degrees counter-clockwise
};

// The orientation a JPEG, TIFF, WebP or PNG file states; kUpright for
// other files, files without the tag, and a tag outside 1 .. 8.
ExifOrientation ReadExifOrientation(const ByteSource& file);

}  // namespace vesk
