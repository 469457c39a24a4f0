// The column loop shared by Sheet Glass and Colorize, whose frames write
// every pixel once, so the order in which columns are painted does not
// change the picture. The run protocol sees exactly the calls of a plain
// column-by-column loop (before each column ProcessMessages and
// InnerBar(x x 100 div W), after each column but the last CancelRequested,
// which ends the loop); the pixels of up to kColumnStrip columns are then
// painted together, row by row, which keeps the memory access in rows
// instead of striding down the picture. A cancel can only arrive while the
// run processes messages, so the columns painted are the same: up to and
// including the column at whose end the cancel was seen.
#pragma once

#include <cstdint>

#include "core/generate/run_protocol.h"

namespace vesk::effects_internal {

inline constexpr int kColumnStrip = 32;

// Calls paint(x_begin, x_end) for consecutive column ranges covering the
// columns that the loop reaches. Returns the number of columns painted.
template <typename PaintColumns>
int RunColumnLoop(RunProtocol& run, int width, PaintColumns&& paint) {
  int x_begin = 0;
  while (x_begin < width) {
    int x = x_begin;
    bool stop = false;
    for (;;) {
      run.ProcessMessages();
      run.InnerBar(static_cast<int>(static_cast<std::int64_t>(x) * 100 / width));
      ++x;
      if (x >= width || run.CancelRequested()) {
        stop = true;
        break;
      }
      if (x - x_begin == kColumnStrip) break;
    }
    paint(x_begin, x);
    if (stop) return x;
    x_begin = x;
  }
  return x_begin;
}

}  // namespace vesk::effects_internal
