// Raster primitives shared by the engines and the mesh overlay. Finding the
// pixels and writing them are separate: the leaf-piece rule is one fast
// routine, and every painter here clips to the bitmap.
#pragma once

#include "core/image/bitmap.h"

namespace vesk {

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

// A position on a picture in pixels, fractions allowed; (x, y) is the
// centre of pixel (x, y).
struct PicturePoint {
  double x = 0;
  double y = 0;
};

// Flat leaf piece of the morph and the distortion: the closed triangle
// (every pixel of the corners' bounding box whose three edge cross products
// are all >= 0 or all <= 0) plus its three edges as nearest-pixel lines,
// all in one colour, clipped to the bitmap.
void FillLeafPiece(Bitmap& target, Point g0, Point g1, Point g2, Color c);

// The same piece painted only on the rows first_row .. end_row - 1 (and
// clipped to the bitmap), so that bands of rows can be painted separately
// and still give exactly the pixels of FillLeafPiece.
void FillLeafPieceInRows(Bitmap& target, Point g0, Point g1, Point g2, Color c, int first_row,
                         int end_row);

// Nearest-pixel line from a to b, both end points included, halves rounded
// upward; the same pixels whichever way it is walked. Clipped to the bitmap.
void DrawLine(Bitmap& target, Point a, Point b, Color c);

// Mesh node marker: the square x - s .. x + s - 1, y - s .. y + s - 1 with a
// one-pixel black outline on its outermost ring and `inside` within.
void DrawNodeRectangle(Bitmap& target, int x, int y, int s, Color inside);

}  // namespace vesk
