// The distortion (command Distorsion): bends the first image along the
// mesh's movement. Over frames t of N every node travels from its first-image
// position to its second-image position, and every triangle, cut into flat
// pieces as in the morph (subdivision.h), is painted with colours of the
// first image only: no blending, and the second image's pixels are never
// read (its window must still be open).
//
// The command around RunDistortion does what the morph's does (morph.h):
// the "First and Second image not open" check, OpenFrameList and the new
// Vesk window before; the failure message, closing the frame list and
// UpdateCommandState after. The same rule holds for `vesk` during the run.
#pragma once

#include <span>

#include "core/common/result.h"
#include "core/generate/generation_input.h"
#include "core/generate/run_protocol.h"
#include "core/image/bitmap.h"

namespace vesk {

// The whole run:
//  1. Refuses a frame count or precision outside 1..65535.
//  2. `vesk` := a copy of `first`; ShowFrame; Begin.
//  3. Precision 1: WriteFrame (the exact first image), then frames
//     t = 1 .. N. Other precisions: frames t = 0 .. N. No closing copy of
//     the second image.
//  4. Each frame: Counter(t, N); the triangles at frame t under the
//     setup's timing curves (as the morph's); with
//     `equalize` EqualizePicture (also after a cancel inside the frame);
//     ShowFrame; WriteFrame unless a cancel was requested; the loop ends
//     after frame N or at a cancel request.
//  5. ShowFrame once more; End. Hold frames as the morph's.
// A piece sampled outside the first image is painted black. A failed
// WriteFrame ends the run at once (End is still called).
Status RunDistortion(const Bitmap& first, std::span<const TrianglePositions> triangles,
                     const GenerationSetup& setup, Bitmap& vesk, RunProtocol& protocol);

// One frame's triangles painted over `vesk`, with the same per-triangle
// protocol as PaintMorphFrame. Returns the number of triangles painted.
int PaintDistortionFrame(const Bitmap& first, std::span<const TrianglePositions> triangles, int t,
                         int n, int precision, Bitmap& vesk, RunProtocol& protocol,
                         int painting_threads = 0);

}  // namespace vesk
