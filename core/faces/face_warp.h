// How averages and caricatures bend a picture: a mesh over the whole output
// whose nodes are the face's points and eight border points (the output's
// corners and the middles of its sides, on the outer edges of its edge
// pixels, so every pixel lies inside), triangulated where the points go
// (Delaunay, as Auto Mesh's mesh), so the triangles cover the output once
// however the picture's face lies. Each triangle takes the picture's
// colours from where its corners come from, by the Smooth painter's rule
// (smooth_frame.h); the classic painter's distortion frame may be asked for
// instead (corners then rounded to whole pixels).
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <vector>

#include "core/faces/face_shape.h"
#include "core/generate/generation_input.h"
#include "core/generate/run_protocol.h"
#include "core/image/bitmap.h"
#include "core/mesh/grid_mesh.h"

namespace vesk {

inline constexpr std::size_t kBorderPointCount = 8;
using BorderPoints = std::array<PicturePoint, kBorderPointCount>;

// Clockwise from the top-left corner: (-0.5, -0.5), the top side's middle,
// (W - 0.5, -0.5), ... the left side's middle.
BorderPoints BorderPointsOf(ImageSize size);

struct FaceWarp {
  ImageSize output;
  std::vector<PicturePoint> to;                       // the face's points, then the border points
  std::vector<std::array<std::size_t, 3>> triangles;  // indices into `to`
};

// The mesh that takes a face to `target` in an output of `output` size.
// Positions are triangulated to 1/256 pixel; of points at one position
// only the first is a corner.
FaceWarp FaceWarpTo(const FacePoints& target, ImageSize output);

// `picture` bent by `warp`: the face's points come from `face` and the
// border points from `border` (both in the picture's pixels). The painters'
// protocol (one poll per triangle); a cancel leaves the rest unpainted.
Bitmap PaintFaceWarp(const Bitmap& picture, const FacePoints& face, const BorderPoints& border,
                     const FaceWarp& warp, Renderer renderer, RunProtocol& protocol);

}  // namespace vesk
