// Flag Streaming: N frames of an image waving like a flag. In frame f,
// source pixel (x, y) lands at
//   (x + R + S(a0 + x Vq + y Hq), y + R + S(a0 + x Vq)),
// where a0 = FlagStartPhase(f, N) and S is SineLookup on a table built for
// the radius R, and is drawn as a three-pixel corner: itself, its right
// neighbour and the pixel below that, in this order, later pixels covering
// earlier ones. Frames are (W + 2R) x (H + 2R) and start white.
//
// The caller (the main window's FlagStreaming1Click, or vesk-batch flag):
//   before: picks the source with FlagStreamingSource (effect_source.h) and
//           gives up with "First and Second image not open" when there is
//           none; may check CheckFlagFrameSize before asking for the frame
//           list; opens the frame list (OpenFrameList); destroys the old
//           Vesk window and makes a new one, whose bitmap this routine fills;
//   after:  closes the frame list when open (also after a cancel or a
//           failure, holding the frames written); runs UpdateCommandState.
#pragma once

#include <cstdint>

#include "core/common/result.h"
#include "core/generate/run_protocol.h"
#include "core/image/bitmap.h"
#include "core/settings/settings.h"

namespace vesk {

struct FlagStreamingValues {
  int flag_radius = 10;                 // FlagRadius (R)
  std::int32_t horz_quotient = 3;       // FlagHorzQuotient (Hq): phase step down a column
  std::int32_t vert_quotient = 3;       // FlagVertQuotient (Vq): phase step from column to column
  int frame_count = 12;                 // FrameCount (N)
};

FlagStreamingValues FlagStreamingValuesFrom(const Settings& settings);

// Empty status when frames of (width + 2 radius) x (height + 2 radius) may
// be made, otherwise the size limit's message.
Status CheckFlagFrameSize(int width, int height, int flag_radius);

// Runs the animation from `source`. Run protocol: Begin; for f = 0 .. N - 1:
// Counter(f, N); the frame cleared white; per column ProcessMessages and
// InnerBar(x x 100 div W), CancelRequested after each column but the last;
// ShowFrame; WriteFrame unless cancelled; after the frame CancelRequested
// ends the run. End.
//
// A frame size beyond the size limit is refused with its message before
// Begin, leaving `vesk` untouched. A negative radius counts as 0 and a
// frame count below 1 as 1. The quotients may be any 32-bit values: phases
// wrap around in 32 bits. After the run `vesk` holds the last frame
// computed (partly drawn when cancelled). A failing WriteFrame ends the run
// (End is called) and its failure is returned.
Status FlagStreaming(const Bitmap& source, const FlagStreamingValues& values, RunProtocol& run,
                     Bitmap& vesk);

}  // namespace vesk
