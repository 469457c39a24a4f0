// The morph engine (command Ombrix): carries the first image into the second
// over frames t of N. In frame t every mesh node stands at its in-between
// position, and every triangle, cut into flat pieces by repeated halving
// (subdivision.h), is painted with colours blended from both images with
// the weight t / N on the second image's colour.
//
// What the command around RunMorph does:
//   before: if the first or the second image window is missing, show "First
//           and Second image not open" (caption "Vesk Error", OK only) and
//           stop; ask for the frame list (OpenFrameList); replace the Vesk
//           window by a new one of kind 3 whose bitmap is `vesk`.
//   after:  show the message of a failed Status (a frame that could not be
//           written ends the run); close the frame list if one is open; run
//           UpdateCommandState. The engine itself calls Begin and End.
//
// While RunMorph runs, `vesk` belongs to the engine: helper threads paint
// it between the protocol's calls, so the caller looks at it only inside
// ShowFrame and WriteFrame (or after the run). Every protocol call is made
// on the calling thread.
#pragma once

#include <span>

#include "core/common/result.h"
#include "core/generate/generation_input.h"
#include "core/generate/run_protocol.h"
#include "core/image/bitmap.h"

namespace vesk {

// BlendColor(c1, c2) for frame t of n: per channel (red bits 0-7, green
// 8-15, blue 16-23; bits 24-31 ignored) c1 + ((c2 - c1) * t) div n, div
// truncating toward zero, the sum kept in 8 bits. An outside sample (all
// bits set) thus counts as white.
Color BlendColor(Color c1, Color c2, int t, int n);

// The whole run:
//  1. Refuses a frame count or precision outside 1..65535 (message, nothing
//     else happens).
//  2. `vesk` := a copy of `first`; ShowFrame; Begin.
//  3. Precision 1: WriteFrame (the exact first image), then frames
//     t = 1 .. N - 1. Other precisions: frames t = 0 .. N. The loop body
//     runs at least once, so N = 1 at Precision 1 still computes t = 1.
//  4. Each frame: Counter(t, N); the triangles at frame t under the
//     setup's timing curves (timing_curve.h; PaintMorphFrame's pieces on
//     the nearest steps, or the Smooth renderer, smooth_frame.h); with
//     `equalize` EqualizePicture (also after a cancel inside the frame);
//     ShowFrame; WriteFrame unless a cancel was requested; the loop ends
//     after the last frame or at a cancel request.
//  5. Precision 1: `vesk` := a copy of `second` (also after a cancel),
//     ShowFrame, and WriteFrame unless a cancel was requested.
//  6. End.
// With `hold` H the first frame written and the last are each written H
// more times right after them.
// `vesk` is never cleared between frames: pixels no piece covers keep what
// the previous frame left. A failed WriteFrame ends the run at once (End is
// still called) and its message is returned.
Status RunMorph(const Bitmap& first, const Bitmap& second,
                std::span<const TrianglePositions> triangles, const GenerationSetup& setup,
                Bitmap& vesk, RunProtocol& protocol);

// One frame's triangles painted over `vesk`, with the per-triangle protocol:
// for triangle k = 1, 2, ... CancelRequested (a request stops the frame
// before the triangle), InnerBar(k * 100 / count), ProcessMessages, and one
// ProcessMessages per split of the triangle. Returns the number of
// triangles painted (none, without any protocol call, for n or precision
// below 1). `painting_threads` as in GenerationSetup.
int PaintMorphFrame(const Bitmap& first, const Bitmap& second,
                    std::span<const TrianglePositions> triangles, int t, int n, int precision,
                    Bitmap& vesk, RunProtocol& protocol, int painting_threads = 0);

}  // namespace vesk
