// How near two pictures of one size are: the peak signal-to-noise ratio
// over the pixels a test picks (all by default), 99 when they are equal there.
#pragma once

#include <cmath>
#include <functional>

#include "core/image/bitmap.h"

namespace vesk::testing_support {

inline double PsnrWhere(const Bitmap& a, const Bitmap& b,
                        const std::function<bool(int, int)>& counted = {}) {
  double sum = 0, values = 0;
  for (int n = 0; n < a.Width() * a.Height(); ++n) {
    if (counted && !counted(n % a.Width(), n / a.Width())) continue;
    for (int shift = 0; shift < 24; shift += 8, values += 1) {
      const double d = double(a.Row(0)[n] >> shift & 0xFF) - double(b.Row(0)[n] >> shift & 0xFF);
      sum += d * d;
    }
  }
  return sum == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 * values / sum);
}

}  // namespace vesk::testing_support
