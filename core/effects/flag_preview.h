// The small animated outline of a waving flag that the Options dialog shows:
// the top and left edges of the flag drawn in red on white. The horizontal
// quotient advances the phase along x and the vertical one along y (the
// reverse of Flag Streaming itself, which the preview has always done).
#pragma once

#include <cstdint>

#include "core/image/bitmap.h"

namespace vesk {

inline constexpr int kFlagPreviewWidth = 105;
inline constexpr int kFlagPreviewHeight = 89;
inline constexpr Color kFlagPreviewLine = MakeColor(255, 0, 0);

// Paints `picture` (its size is kept) white, then with T the sine table of
// `radius` and its wrap rule:
//  top edge:  for j = 0 .. (at least once, while j < width - 2 radius):
//             p = phase + j x hq, pixel (radius + j + T(p), radius + T(p));
//  left edge: for i = 0 .. height - 2 radius (none when negative):
//             pixel (radius + T(phase + i x vq), radius + i + T(phase)).
void PaintFlagPreview(Bitmap& picture, int radius, int horz_quotient, int vert_quotient,
                      std::int32_t phase);

// Phase of preview picture `preview_frame` with `frame_count` frames: the
// start phase of that frame of a Flag Streaming run (0 for a count below 1).
std::int32_t FlagPreviewPhase(int preview_frame, int frame_count);

// The picture after `preview_frame`: one more, back to 0 past the frame
// count, so the preview cycles through frame_count + 1 pictures (a single
// picture for a count below 1).
int NextPreviewFrame(int preview_frame, int frame_count);

}  // namespace vesk
