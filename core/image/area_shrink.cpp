#include "core/image/area_shrink.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace vesk {
namespace {

// Weights in 1/2^16 of a new pixel; the ones of a new pixel sum to exactly
// 2^16, so a flat picture stays flat.
constexpr int kWeightBits = 16;
constexpr std::uint32_t kWeightOne = 1u << kWeightBits;

// New pixel i of `to` covers old pixels first .. first + weights.size() - 1.
struct Taps {
  int first = 0;
  std::vector<std::uint32_t> weights;
};

// Measured in 1/to of an old pixel, old pixel j spans [j to, (j + 1) to)
// and new pixel i spans [i from, (i + 1) from): whole numbers throughout.
std::vector<Taps> TapsOf(int from, int to) {
  std::vector<Taps> taps(static_cast<std::size_t>(to));
  for (int i = 0; i < to; ++i) {
    const std::int64_t begin = std::int64_t{i} * from, end = begin + from;
    Taps& t = taps[static_cast<std::size_t>(i)];
    t.first = static_cast<int>(begin / to);
    const int last = static_cast<int>((end - 1) / to);
    std::uint32_t sum = 0;
    std::size_t largest = 0;
    for (int j = t.first; j <= last; ++j) {
      const std::int64_t cover =
          std::min(end, std::int64_t{j + 1} * to) - std::max(begin, std::int64_t{j} * to);
      const auto w = static_cast<std::uint32_t>((cover * kWeightOne + from / 2) / from);
      if (t.weights.empty() || w > t.weights[largest]) largest = t.weights.size();
      t.weights.push_back(w);
      sum += w;
    }
    t.weights[largest] += kWeightOne - sum;  // what rounding lost or gained
  }
  return taps;
}

}  // namespace

Bitmap AreaShrink(const Bitmap& source, int width, int height) {
  width = std::min(width, source.Width());
  height = std::min(height, source.Height());
  Bitmap out(width, height);
  if (out.Empty()) return out;
  const std::vector<Taps> across = TapsOf(source.Width(), width);
  const std::vector<Taps> down = TapsOf(source.Height(), height);
  // Row by row: an old row is shrunk across, then added into every new row
  // it covers, so only two rows of sums are held.
  std::vector<std::uint32_t> shrunk(static_cast<std::size_t>(width) * 3);
  std::vector<std::uint64_t> sums(static_cast<std::size_t>(width) * 3);
  for (int y = 0; y < height; ++y) {
    const Taps& rows = down[static_cast<std::size_t>(y)];
    std::fill(sums.begin(), sums.end(), 0);
    for (std::size_t r = 0; r < rows.weights.size(); ++r) {
      const Color* in = source.Row(rows.first + static_cast<int>(r));
      for (int x = 0; x < width; ++x) {
        const Taps& columns = across[static_cast<std::size_t>(x)];
        std::uint32_t c[3] = {0, 0, 0};
        for (std::size_t k = 0; k < columns.weights.size(); ++k) {
          const Color v = in[columns.first + static_cast<int>(k)];
          const std::uint32_t w = columns.weights[k];
          c[0] += (v & 0xFF) * w;
          c[1] += ((v >> 8) & 0xFF) * w;
          c[2] += ((v >> 16) & 0xFF) * w;
        }
        for (int k = 0; k < 3; ++k) shrunk[static_cast<std::size_t>(x) * 3 + k] = c[k];
      }
      const std::uint64_t w = rows.weights[r];
      for (std::size_t i = 0; i < sums.size(); ++i) sums[i] += shrunk[i] * w;
    }
    Color* row = out.Row(y);
    constexpr std::uint64_t kHalf = std::uint64_t{1} << (2 * kWeightBits - 1);
    for (int x = 0; x < width; ++x) {
      const std::uint64_t* s = &sums[static_cast<std::size_t>(x) * 3];
      row[x] = MakeColor(static_cast<int>((s[0] + kHalf) >> (2 * kWeightBits)),
                         static_cast<int>((s[1] + kHalf) >> (2 * kWeightBits)),
                         static_cast<int>((s[2] + kHalf) >> (2 * kWeightBits)));
    }
  }
  return out;
}

}  // namespace vesk
