#include "core/image/orientation_transform.h"

#include <algorithm>

namespace vesk {
namespace {

// Pixel (x, y) of the upright picture is stored at (sx, sy) =
// (ax x + bx y + cx, ay x + by y + cy) for the turns that exchange the axes.
struct Source {
  int ax, bx, cx;
  int ay, by, cy;
};

Bitmap Exchanged(const Bitmap& stored, ExifOrientation orientation) {
  const int w = stored.Height(), h = stored.Width();  // of the upright picture
  const int last_x = stored.Width() - 1, last_y = stored.Height() - 1;
  Source s{};
  switch (orientation) {
    case ExifOrientation::kTransposed:  // (y, x)
      s = {0, 1, 0, 1, 0, 0};
      break;
    case ExifOrientation::kTurnedRight:  // (y, last_y - x)
      s = {0, 1, 0, -1, 0, last_y};
      break;
    case ExifOrientation::kTransverse:  // (last_x - y, last_y - x)
      s = {0, -1, last_x, -1, 0, last_y};
      break;
    default:  // kTurnedLeft: (last_x - y, x)
      s = {0, -1, last_x, 1, 0, 0};
      break;
  }
  Bitmap upright(w, h);
  // In tiles, so both pictures are walked through the cache a block at a time.
  constexpr int kTile = 64;
  for (int y0 = 0; y0 < h; y0 += kTile) {
    for (int x0 = 0; x0 < w; x0 += kTile) {
      for (int y = y0; y < std::min(y0 + kTile, h); ++y) {
        Color* out = upright.Row(y);
        for (int x = x0; x < std::min(x0 + kTile, w); ++x) {
          out[x] = stored.Row(s.ay * x + s.by * y + s.cy)[s.ax * x + s.bx * y + s.cx];
        }
      }
    }
  }
  return upright;
}

void MirrorRows(Bitmap& picture) {
  for (int y = 0; y < picture.Height(); ++y) {
    std::reverse(picture.Row(y), picture.Row(y) + picture.Width());
  }
}

void FlipRows(Bitmap& picture) {
  for (int top = 0, bottom = picture.Height() - 1; top < bottom; ++top, --bottom) {
    std::swap_ranges(picture.Row(top), picture.Row(top) + picture.Width(), picture.Row(bottom));
  }
}

}  // namespace

Bitmap UprightPicture(Bitmap stored, ExifOrientation orientation) {
  if (stored.Empty()) return stored;
  switch (orientation) {
    case ExifOrientation::kUpright:
      break;
    case ExifOrientation::kMirrored:
      MirrorRows(stored);
      break;
    case ExifOrientation::kUpsideDown:
      MirrorRows(stored);
      FlipRows(stored);
      break;
    case ExifOrientation::kFlipped:
      FlipRows(stored);
      break;
    default:
      return Exchanged(stored, orientation);
  }
  return stored;
}

}  // namespace vesk
