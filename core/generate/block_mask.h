// Which blocks of 8 x 8 pixels of a picture hold a wanted pixel, so that
// painting can pass over every piece that reaches none of them. A summed
// count over the blocks answers "does this box meet a marked block" in four
// look-ups, whatever the box's size.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace vesk {

class BlockMask {
 public:
  // Marks the blocks that hold the given pixels (indices y * width + x of a
  // width x height picture) and forgets the earlier marks.
  void MarkPixels(std::span<const std::uint32_t> pixels, int width, int height);

  // True when a marked block meets the box of columns x0 .. x1 and rows
  // y0 .. y1 (pixels, inclusive; any values).
  bool Meets(int x0, int y0, int x1, int y1) const {
    if (x1 < 0 || y1 < 0 || x0 > x1 || y0 > y1) return false;
    x0 = x0 < 0 ? 0 : x0 >> kShift;
    y0 = y0 < 0 ? 0 : y0 >> kShift;
    x1 = (x1 >> kShift) < columns_ ? x1 >> kShift : columns_ - 1;
    y1 = (y1 >> kShift) < rows_ ? y1 >> kShift : rows_ - 1;
    if (x0 > x1 || y0 > y1) return false;
    // sums_ has a leading row and column of zeros: entry (x, y) counts the
    // marked blocks left of column x and above row y.
    const std::size_t stride = static_cast<std::size_t>(columns_) + 1;
    const auto at = [&](int x, int y) { return sums_[static_cast<std::size_t>(y) * stride + x]; };
    return at(x1 + 1, y1 + 1) - at(x0, y1 + 1) - at(x1 + 1, y0) + at(x0, y0) != 0;
  }

 private:
  static constexpr int kShift = 3;
  int columns_ = 0;
  int rows_ = 0;
  std::vector<std::int32_t> sums_;
};

}  // namespace vesk
