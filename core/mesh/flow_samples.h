// Where a dense match (an optical flow) can be trusted, sampled on a grid.
// The forward flow tells where each pixel of the first picture went on the
// second; the backward flow, computed the other way round, should bring it
// back. A grid point whose round trip misses its start by more than a
// tolerance sits on something the flow could not follow (an occlusion, a
// flat area, a change of content) and is left out.
#pragma once

#include <cstdint>
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

// For the grid points p = (step / 2 + i * step, step / 2 + j * step) of the
// forward field's picture, row by row: q = p + forward(p), and the pair
// (p, q) when q lies on the backward field's picture, |forward(p) +
// backward(q)| <= tolerance (backward read at q's nearest pixel) and, when
// `usable` is given (one byte per pixel of the forward field), usable(p) is
// not 0.
std::vector<PointPair> ConsistentFlowPairs(FlowView forward, FlowView backward, int step,
                                           double tolerance,
                                           std::span<const std::uint8_t> usable = {});

}  // namespace vesk
