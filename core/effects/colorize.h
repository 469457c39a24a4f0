// Colorize: a plain cross-fade from the first image to the second, N + 1
// frames: the first image itself, the blends k = 1 .. N - 1 at the first
// image's size, and the second image itself. Each blend channel is
// c1 + ((c2 - c1) x k) div N, truncating toward zero, so it lies between
// the two source bytes. Where the first image is larger than the second,
// positions outside the second read as all-255 channels and fade to white.
//
// The caller (the main window's Colorize1Click, or vesk-batch colorize):
//   before: gives up with "First and Second image not open" unless both
//           images are open; opens the frame list (OpenFrameList: the run
//           protocol's WriteFrame then writes frames, or does nothing when
//           the dialog was cancelled); destroys the old Vesk window and
//           makes a new one, whose bitmap this routine fills;
//   after:  shows "2" in the frame-count edit when the frame count was
//           raised; closes the frame list when open (also after a cancel or
//           a failure, holding the frames written); runs UpdateCommandState.
#pragma once

#include <cstdint>

#include "core/common/result.h"
#include "core/generate/run_protocol.h"
#include "core/image/bitmap.h"

namespace vesk {

// A frame count of 1 makes no cross-fade; Colorize raises it to 2.
constexpr std::uint16_t RaiseColorizeFrameCount(std::uint16_t frame_count) {
  return frame_count == 1 ? std::uint16_t{2} : frame_count;
}

// Runs the cross-fade. `frame_count` is the setting FrameCount (N); a value
// of 1 is raised to 2 here, and the setting keeps the raised value.
//
// Run protocol: vesk = the first image, ShowFrame, WriteFrame; Begin; for
// k = 1 .. N - 1: Counter(k, N), then per column ProcessMessages and
// InnerBar(x x 100 div W), CancelRequested after each column but the last,
// ShowFrame, and WriteFrame unless cancelled. Once cancelled, every
// remaining step still computes its first column and writes nothing. Last:
// vesk = the second image, ShowFrame, WriteFrame unless cancelled, End.
//
// When the run ends normally or after a cancel, `vesk` holds the second
// image. A failing WriteFrame ends the run at once (End is called when
// Begin was) and its failure is returned; `vesk` then holds the frame that
// could not be written.
Status Colorize(const Bitmap& first, const Bitmap& second, std::uint16_t& frame_count,
                RunProtocol& run, Bitmap& vesk);

}  // namespace vesk
