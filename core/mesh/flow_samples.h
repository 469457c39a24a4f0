// Where a dense match (an optical flow) can be trusted, and where to read
// it. The forward flow tells where each pixel of the first picture went on
// the second; the backward flow, computed the other way round, should bring
// it back. A sample whose round trip misses its start by more than a
// tolerance sits on something the flow could not follow (an occlusion, a
// flat area, a change of content) and is left out. The samples lie on an
// even grid whose outermost rows and columns run just inside the picture's
// edges, so the mesh follows the pictures up to their edges; inner samples
// move to the most textured pixel near them, where the flow and the mesh
// do most good.
#pragma once

#include <span>
#include <vector>

#include "core/mesh/auto_mesh.h"

namespace vesk {

// A flow field: for each pixel, rows top first, the two floats dx, dy.
struct FlowView {
  int width = 0;
  int height = 0;
  const float* xy = nullptr;
};

// Grid points on whole pixels, rows top first: across, as many columns as
// fit from `inset` to width - 1 - `inset` at least `step` apart, spread
// evenly from the one to the other (one column in the middle when the span
// is shorter than `step`); down the same. The points of the outermost rows
// and columns are the edges, the others the inner points.
struct SampleGrid {
  std::vector<PicturePoint> inner;
  std::vector<PicturePoint> edges;
};
SampleGrid SampleGridOf(ImageSize size, int step, int inset);

// A field of one value a pixel, rows top first (how much texture a
// picture has at each pixel, say).
struct FieldView {
  int width = 0;
  int height = 0;
  const float* values = nullptr;
};

// Each sample moved to the pixel of the highest value within `radius`
// pixels of it across and down (of equals the nearest to the sample, then
// the first in rows top first), so a grid sample lands on the most
// textured spot of its square; a sample off the field stays.
std::vector<PicturePoint> TowardsHighest(std::span<const PicturePoint> samples, FieldView field,
                                         int radius);

// For each sample p (on the forward field's picture, read at its nearest
// pixel): q = p + forward(p), and the pair (p, q) when q lies on the
// backward field's picture, |forward(p) + backward(q)| <= tolerance
// (backward read at q's nearest pixel).
std::vector<PointPair> ConsistentFlowPairs(FlowView forward, FlowView backward,
                                           std::span<const PicturePoint> samples,
                                           double tolerance);

}  // namespace vesk
