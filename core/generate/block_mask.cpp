#include "core/generate/block_mask.h"

namespace vesk {

void BlockMask::MarkPixels(std::span<const std::uint32_t> pixels, int width, int height) {
  columns_ = width > 0 ? ((width - 1) >> kShift) + 1 : 0;
  rows_ = height > 0 ? ((height - 1) >> kShift) + 1 : 0;
  const std::size_t stride = static_cast<std::size_t>(columns_) + 1;
  sums_.assign(stride * (static_cast<std::size_t>(rows_) + 1), 0);
  const auto w = static_cast<std::uint32_t>(width);
  for (const std::uint32_t p : pixels) {
    const std::size_t x = (p % w) >> kShift;
    const std::size_t y = (p / w) >> kShift;
    sums_[(y + 1) * stride + x + 1] = 1;
  }
  for (std::size_t y = 1; y <= static_cast<std::size_t>(rows_); ++y) {
    for (std::size_t x = 1; x < stride; ++x) {
      sums_[y * stride + x] +=
          sums_[(y - 1) * stride + x] + sums_[y * stride + x - 1] - sums_[(y - 1) * stride + x - 1];
    }
  }
}

}  // namespace vesk
