// The run that the morph and the distortion share: the frame loop with its
// protocol calls, the opening copy of the first image and the closing
// steps. The engines differ only in what they paint (the PieceFrame), in
// the frames they compute and in how the run closes; morph.cpp and
// distortion.cpp each fill in a FrameRun.
#pragma once

#include "core/common/result.h"
#include "core/generate/piece_frame.h"
#include "core/generate/run_protocol.h"
#include "core/image/bitmap.h"

namespace vesk {

// What happens after the last frame (or a cancel).
enum class RunClosing {
  kNothing,            // the Vesk image stays the last frame painted
  kShowLastFrame,      // the last frame painted is shown once more
  kWriteSecondImage,   // the Vesk image becomes an exact copy of the second
                       // image (also after a cancel), is shown, and is
                       // written unless a cancel was requested
};

struct FrameRun {
  PieceFrame frame;      // what each frame paints; its position is set per frame
  Renderer renderer = Renderer::kClassic;  // Smooth paints SmoothFrameAt(frame)
  TimingCurves curves;   // where frame t stands (timing_curve.h)
  int hold = 0;          // extra writes of the first and the last frame
  int first_t = 0;       // frames first_t .. last_t are computed; the loop
  int last_t = 0;        // body runs at least once, for first_t
  bool equalize = false;
  bool opening_copy = false;  // the exact first image is written before the loop
  RunClosing closing = RunClosing::kNothing;
};

// The whole run, in this order:
//  1. `vesk` := a copy of the first image; ShowFrame; Begin.
//  2. With `opening_copy`: WriteFrame.
//  3. For t = first_t, first_t + 1, ...: Counter(t, N); the frame's
//     triangles at frame t under `curves` (PaintPieceFrame on the nearest
//     steps, or PaintSmoothFrame at the exact values; both poll the cancel
//     request before each triangle); with `equalize` EqualizePicture, also
//     after a cancel within the frame; ShowFrame; WriteFrame unless a cancel
//     was requested. The loop goes on while t <= last_t and no cancel was
//     requested.
//  4. The closing steps.
// The first frame written (step 2, else frame first_t) and the last one are
// each written `hold` more times right after them, unless a cancel came.
//  5. End.
// A failed WriteFrame ends the run at once: End is still called and the
// failure returned.
Status RunFrames(const FrameRun& run, Bitmap& vesk, RunProtocol& protocol);

}  // namespace vesk
