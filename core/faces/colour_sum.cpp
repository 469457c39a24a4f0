#include "core/faces/colour_sum.h"

#include <cassert>

namespace vesk {

ColourSum::ColourSum(int width, int height)
    : width_(width), height_(height), sums_(static_cast<std::size_t>(width) * height * 3, 0) {}

void ColourSum::Add(const Bitmap& picture) {
  assert(picture.Width() == width_ && picture.Height() == height_);
  std::uint32_t* sum = sums_.data();
  for (int y = 0; y < height_; ++y) {
    const Color* row = picture.Row(y);
    for (int x = 0; x < width_; ++x, sum += 3) {
      sum[0] += row[x] & 0xFF;
      sum[1] += (row[x] >> 8) & 0xFF;
      sum[2] += (row[x] >> 16) & 0xFF;
    }
  }
  ++count_;
}

Bitmap ColourSum::Mean() const {
  Bitmap mean(width_, height_);
  if (count_ == 0) return mean;
  const std::uint64_t count = static_cast<std::uint64_t>(count_);
  const std::uint32_t* sum = sums_.data();
  for (int y = 0; y < height_; ++y) {
    Color* row = mean.Row(y);
    for (int x = 0; x < width_; ++x, sum += 3) {
      const auto channel = [count](std::uint32_t s) {
        return static_cast<int>((std::uint64_t{s} * 2 + count) / (2 * count));
      };
      row[x] = MakeColor(channel(sum[0]), channel(sum[1]), channel(sum[2]));
    }
  }
  return mean;
}

}  // namespace vesk
