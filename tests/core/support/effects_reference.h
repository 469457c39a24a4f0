// The effects written out plainly, pixel by pixel with the checked accessors.
#pragma once

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <utility>

#include "core/effects/sine_table.h"
#include "core/image/bitmap.h"
#include "tests/core/support/engine_support.h"

namespace vesk::testing_support {

// The flag's wrap loops (while p > 628 subtract 628, while p < 0 add 628) at once.
inline int LoopIndex(long long p) {
  const long long q = (p % 628 + 628) % 628;
  return static_cast<int>(q == 0 && p > 0 ? 628 : q);
}

// Blend k of n, the morph's colour rule, over the first `columns` columns of
// `base`; outside the second image its invalid colour is blended in.
inline Bitmap LiteralBlend(const Bitmap& first, const Bitmap& second, int k, int n, Bitmap base,
                           int columns = INT_MAX) {
  for (int x = 0; x < first.Width() && x < columns; ++x) {
    for (int y = 0; y < first.Height(); ++y) {
      base.SetPixel(x, y, testing::RefBlend(first.Pixel(x, y), second.Pixel(x, y), k, n));
    }
  }
  return base;
}

inline Bitmap LiteralSheetGlass(const Bitmap& source, int sh, int sv, int columns = INT_MAX) {
  sh = std::max(sh, 1);
  sv = std::max(sv, 1);
  const int w = source.Width(), h = source.Height();
  Bitmap result(w, h, kWhite);
  for (int x = 0; x < w && x < columns; ++x) {
    for (int y = 0; y < h; ++y) {
      const Color c = source.Pixel(((x % sh) + x) * (w - sh) / w, ((y % sv) + y) * (h - sv) / h);
      result.SetPixel(x, y, c == kInvalidColor ? kWhite : c);
    }
  }
  return result;
}

// Frame f of n, its first `columns` columns: each source pixel and its
// right and lower-right neighbours, displaced by the sine of the phases.
inline Bitmap LiteralFlagFrame(const Bitmap& source, int radius, int hq, int vq, int f, int n,
                        int columns = INT_MAX) {
  auto s = [radius](long long p) {
    return int(std::nearbyint(std::sin(LoopIndex(p) * 0.01) * radius));
  };
  auto wrap = [](long long v) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(v)); };
  Bitmap frame(source.Width() + 2 * radius, source.Height() + 2 * radius, kWhite);
  std::int32_t a = static_cast<std::int32_t>(std::nearbyint(f * 628.3185307179587 / n));
  for (int x = 0; x < source.Width() && x < columns; ++x, a = wrap(a + 0LL + vq)) {
    std::int32_t b = a;
    for (int y = 0; y < source.Height(); ++y, b = wrap(b + 0LL + hq)) {
      const int px = s(b) + radius + x, py = y + s(a) + radius;
      for (auto [dx, dy] : {std::pair{0, 0}, std::pair{1, 0}, std::pair{1, 1}}) {
        frame.SetPixel(px + dx, py + dy, source.Pixel(x, y));
      }
    }
  }
  return frame;
}

}  // namespace vesk::testing_support
