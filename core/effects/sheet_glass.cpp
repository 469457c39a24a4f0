#include "core/effects/sheet_glass.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace vesk {
namespace {

// Source position for result position p along a side of `size` pixels cut
// into sheets of `sheet` pixels. Truncating division and remainder; the
// values stay far inside 64 bits.
int SourcePosition(int p, int sheet, int size) {
  const std::int64_t stretched = static_cast<std::int64_t>(p % sheet) + p;
  return static_cast<int>(stretched * (size - sheet) / size);
}

}  // namespace

Status SheetGlass(const Bitmap& source, int sheet_horz_size, int sheet_vert_size,
                  RunProtocol& run, Bitmap& vesk) {
  const int width = source.Width();
  const int height = source.Height();
  vesk = Bitmap(width, height, kWhite);
  run.Begin();
  if (width > 0 && height > 0) {
    const int sheet_horz = std::max(1, sheet_horz_size);
    const int sheet_vert = std::max(1, sheet_vert_size);
    // Per result row: the source row it reads, or none when that row lies
    // outside the image (then the pixel stays white).
    std::vector<const Color*> source_rows(static_cast<std::size_t>(height));
    std::vector<Color*> result_rows(static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
      const int sy = SourcePosition(y, sheet_vert, height);
      source_rows[static_cast<std::size_t>(y)] =
          (sy >= 0 && sy < height) ? source.Row(sy) : nullptr;
      result_rows[static_cast<std::size_t>(y)] = vesk.Row(y);
    }
    for (int x = 0;;) {
      run.ProcessMessages();
      run.InnerBar(static_cast<int>(static_cast<std::int64_t>(x) * 100 / width));
      const int sx = SourcePosition(x, sheet_horz, width);
      if (sx >= 0 && sx < width) {
        for (int y = 0; y < height; ++y) {
          const Color* from = source_rows[static_cast<std::size_t>(y)];
          if (from != nullptr) result_rows[static_cast<std::size_t>(y)][x] = from[sx];
        }
      }
      ++x;
      if (x >= width || run.CancelRequested()) break;
    }
  }
  run.ShowFrame(vesk);
  run.End();
  return Status::Success();
}

}  // namespace vesk
