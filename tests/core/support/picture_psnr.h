// How near two pictures of one size are: the peak signal-to-noise ratio
// over the pixels a test picks (all by default), 99 when they are equal there.
#pragma once

#include <cmath>
#include <functional>

#include "core/image/bitmap.h"

namespace vesk::testing_support {

inline double PsnrWhere(const Bitmap& a, const Bitmap& b,
                        const std::function<bool(int, int)>& counted = {}) {
  double sum = 0;
  long long values = 0;
  for (int y = 0; y < a.Height(); ++y) {
    for (int x = 0; x < a.Width(); ++x) {
      if (counted && !counted(x, y)) continue;
      for (int shift = 0; shift < 24; shift += 8) {
        const double d = double((a.Pixel(x, y) >> shift) & 0xFF) - double((b.Pixel(x, y) >> shift) & 0xFF);
        sum += d * d;
        ++values;
      }
    }
  }
  return sum == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 * double(values) / sum);
}

}  // namespace vesk::testing_support
