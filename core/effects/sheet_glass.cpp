#include "core/effects/sheet_glass.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/effects/column_loop.h"

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
    std::vector<int> source_columns(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x) {
      source_columns[static_cast<std::size_t>(x)] = SourcePosition(x, sheet_horz, width);
    }
    effects_internal::RunColumnLoop(run, width, [&](int x_begin, int x_end) {
      for (int y = 0; y < height; ++y) {
        const Color* from = source_rows[static_cast<std::size_t>(y)];
        if (from == nullptr) continue;
        Color* to = result_rows[static_cast<std::size_t>(y)];
        for (int x = x_begin; x < x_end; ++x) {
          const int sx = source_columns[static_cast<std::size_t>(x)];
          if (sx >= 0 && sx < width) to[x] = from[sx];
        }
      }
      run.ColumnsPainted(vesk, x_begin, x_end);
    });
  }
  run.ShowFrame(vesk);
  run.End();
  return Status::Success();
}

}  // namespace vesk
