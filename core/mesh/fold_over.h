// The fold-over check: a triangle whose corners run one way round on the
// first image and the other way round on the second image turns inside out
// during the morph, which shows as a smear in the frames. The morph still
// runs; the program only warns (the second image's overlay draws such
// triangles in kFoldOverColor and the main window counts them).
//
// A triangle that is degenerate (its corners on one line, or two corners on
// one pixel) on either image has no corner order there and does not count
// as folded: it is flattened, not turned over.
#pragma once

#include <cstddef>

#include "core/image/color.h"
#include "core/mesh/mesh_model.h"

namespace vesk {

// The warning colour of folded triangles' lines on the second image.
inline constexpr Color kFoldOverColor = MakeColor(255, 128, 0);

// The corner order of A, B, C on image `kind`: +1 or -1 for the two ways
// round, 0 for a degenerate triangle. Exact for every 32-bit position.
int CornerOrder(const TMeshTriangle& triangle, int kind);

// True when the corner orders on the two images are both non-zero and
// opposite.
bool FoldsOver(const TMeshTriangle& triangle);

std::size_t FoldedTriangleCount(const Mesh& mesh);

}  // namespace vesk
