// The Smooth renderer: one frame of the morph or the distortion painted
// pixel by pixel through each in-between triangle's exact affine maps,
// beside the classic piece painter (piece_frame.h), whose frames it never
// changes.
//
// The rule, for a frame at shape position s and colour position c (both
// 0 .. 1; a run takes them from its timing curves, timing_curve.h):
//  - Node positions: first + (second - first) x s, kept to 1/256 pixel (not
//    rounded to whole pixels), so the mesh moves smoothly from frame to frame.
//    A node at (x, y) stands on the centre of pixel (x, y).
//  - Coverage: a pixel belongs to an in-between triangle when its centre
//    lies inside it; a centre exactly on an edge belongs to the triangle
//    that has the edge on its top or left side (the top-left rule), so in a
//    mesh without folds every pixel inside the mesh is painted exactly once
//    and neighbours meet without seam. Where folded triangles overlap, the
//    later one in list order wins, as with the classic pieces. Triangles
//    without area paint nothing.
//  - Colour: the pixel's centre mapped through its triangle's affine map to
//    the first-image triangle (and, for the morph, to the second-image
//    triangle), each picture sampled bilinearly with its edge pixels repeated
//    outside it; the morph blends the two samples with weight c on the
//    second, rounded to the nearest value; the distortion takes the first
//    sample alone.
//  - Outside every triangle: the two pictures cross-faded in place with
//    weight c (the distortion: the first picture), a picture smaller than
//    the frame repeating its edge pixels. So a frame depends on s and c
//    only, never on an earlier frame.
#pragma once

#include <span>

#include "core/generate/generation_input.h"
#include "core/generate/piece_frame.h"
#include "core/generate/run_protocol.h"
#include "core/generate/timing_curve.h"
#include "core/image/bitmap.h"
#include "core/image/raster.h"

namespace vesk {

struct SmoothFrame {
  PieceKind kind = PieceKind::kMorph;
  const Bitmap* first = nullptr;
  const Bitmap* second = nullptr;  // read by the morph only
  std::span<const TrianglePositions> triangles;
  double shape = 0;   // where the nodes stand: 0 on the first image, 1 on the second
  double colour = 0;  // the morph's weight of the second picture's colour
  int painting_threads = 0;  // as in GenerationSetup; the frame does not depend on it
  // False: pixels outside every triangle keep what `vesk` holds.
  bool cross_fade_outside = true;
};

// The frame of the same inputs as `pieces` at the exact positions `at`.
SmoothFrame SmoothFrameAt(const PieceFrame& pieces, const FramePosition& at);

// Paints the frame over `vesk` (of any size; the pictures are read with
// their edge pixels repeated). The protocol is the classic painter's
// without the splits: for each triangle k = 1, 2, ... the calling thread
// stops the frame if CancelRequested(), then calls InnerBar(k * 100 /
// count) and ProcessMessages(); a triangle is painted only once its poll
// has passed, by helper threads in bands of rows as in PaintPieceFrame.
// Returns the number of triangles painted.
int PaintSmoothFrame(const SmoothFrame& frame, Bitmap& vesk, RunProtocol& protocol);

// A picture bent by a mesh whose corners lie between pixels (averages and
// caricatures move face points by fractions of a pixel): each triangle's
// corners `to` in the output, kept to 1/256 pixel, take the picture's
// colours from its corners `from` by the same rule (coverage, affine maps,
// bilinear samples with the edge pixels repeated) as the distortion's
// frame. Pixels outside every triangle keep what `out` holds. The protocol
// as PaintSmoothFrame's; returns the number of triangles painted.
struct WarpTriangle {
  PicturePoint from[3];
  PicturePoint to[3];
};
int PaintSmoothWarp(const Bitmap& picture, std::span<const WarpTriangle> triangles, Bitmap& out,
                    RunProtocol& protocol, int painting_threads = 0);

}  // namespace vesk
