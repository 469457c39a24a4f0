// Fitting a pair's second picture to the first picture's size, the way a
// sequence fits its pictures to the output size: scaled as large as it fits,
// its sides in proportion, centred, the border filled with its edge pixels
// (FitInside and WarpPicture, which area-average when they shrink). The
// nodes' second positions move with the picture by the same similarity, so a
// mesh already laid keeps pointing at the same features; their first
// positions, the triangles and the selection stay.
#pragma once

#include "core/image/bitmap.h"
#include "core/mesh/grid_mesh.h"
#include "core/mesh/mesh_snapshot.h"

namespace vesk {

struct FittedPair {
  Bitmap second;      // of the first picture's size
  MeshSnapshot mesh;  // second positions moved, rounded to the nearest pixel
};

// `second` fitted to `first`; a picture of that size already comes back as
// it is, with the mesh unchanged.
FittedPair FitSecondToFirst(const Bitmap& second, ImageSize first, const MeshSnapshot& mesh);

}  // namespace vesk
