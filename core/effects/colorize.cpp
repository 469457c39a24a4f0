#include "core/effects/colorize.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "core/effects/column_loop.h"

namespace vesk {
namespace {

// (d x k) div n for every channel difference d = -255 .. 255, indexed by
// d + 255: the division leaves the pixel loop.
using BlendSteps = std::array<int, 511>;

void FillBlendSteps(BlendSteps& steps, int k, int n) {
  for (int d = -255; d <= 255; ++d) steps[static_cast<std::size_t>(d + 255)] = d * k / n;
}

inline Color Blend(Color c1, Color c2, const BlendSteps& steps) {
  const int r1 = RedOf(c1), g1 = GreenOf(c1), b1 = BlueOf(c1);
  const int r = r1 + steps[static_cast<std::size_t>(RedOf(c2) - r1 + 255)];
  const int g = g1 + steps[static_cast<std::size_t>(GreenOf(c2) - g1 + 255)];
  const int b = b1 + steps[static_cast<std::size_t>(BlueOf(c2) - b1 + 255)];
  return MakeColor(r, g, b);
}

}  // namespace

Status Colorize(const Bitmap& first, const Bitmap& second, std::uint16_t& frame_count,
                RunProtocol& run, Bitmap& vesk) {
  frame_count = RaiseColorizeFrameCount(frame_count);
  const int n = frame_count;

  vesk = first;
  run.ShowFrame(vesk);
  if (Status written = run.WriteFrame(vesk); !written) return written;

  run.Begin();
  const int width = first.Width();
  const int height = first.Height();
  // The part of each column that the second image covers; below it (and
  // right of it) the second image reads as the invalid colour.
  const int covered_height = std::min(height, second.Height());
  std::vector<const Color*> first_rows(static_cast<std::size_t>(height));
  std::vector<const Color*> second_rows(static_cast<std::size_t>(covered_height));
  std::vector<Color*> vesk_rows(static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) {
    first_rows[static_cast<std::size_t>(y)] = first.Row(y);
    vesk_rows[static_cast<std::size_t>(y)] = vesk.Row(y);
    if (y < covered_height) second_rows[static_cast<std::size_t>(y)] = second.Row(y);
  }

  BlendSteps steps;
  for (int k = 1; k < n; ++k) {
    run.Counter(k, n);
    FillBlendSteps(steps, k, n);
    effects_internal::RunColumnLoop(run, width, [&](int x_begin, int x_end) {
      // Columns left of the second image's right edge read it on the rows
      // it covers; everything else blends with the invalid colour.
      const int covered_end = std::clamp(second.Width(), x_begin, x_end);
      for (int y = 0; y < height; ++y) {
        const std::size_t row = static_cast<std::size_t>(y);
        const Color* from_first = first_rows[row];
        Color* to = vesk_rows[row];
        int x = x_begin;
        if (y < covered_height) {
          const Color* from_second = second_rows[row];
          for (; x < covered_end; ++x) to[x] = Blend(from_first[x], from_second[x], steps);
        }
        for (; x < x_end; ++x) to[x] = Blend(from_first[x], kInvalidColor, steps);
      }
      run.ColumnsPainted(vesk, x_begin, x_end);
    });
    run.ShowFrame(vesk);
    if (!run.CancelRequested()) {
      if (Status written = run.WriteFrame(vesk); !written) {
        run.End();
        return written;
      }
    }
  }

  vesk = second;
  run.ShowFrame(vesk);
  if (!run.CancelRequested()) {
    if (Status written = run.WriteFrame(vesk); !written) {
      run.End();
      return written;
    }
  }
  run.End();
  return Status::Success();
}

}  // namespace vesk
