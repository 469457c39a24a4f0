// The colour accumulator of an average: every picture added is summed
// channel by channel in 32 bits (room for 16 million pictures), and the
// mean is rounded once, at the end, so a hundred pictures lose no more than
// one does. It holds 12 bytes a pixel whatever the number of pictures.
#pragma once

#include <cstdint>
#include <vector>

#include "core/image/bitmap.h"

namespace vesk {

class ColourSum {
 public:
  ColourSum(int width, int height);

  // Adds a picture of the accumulator's size.
  void Add(const Bitmap& picture);
  int Count() const { return count_; }
  // Each channel's sum over the count, rounded to the nearest value (halves
  // up); white when nothing was added.
  Bitmap Mean() const;

 private:
  int width_;
  int height_;
  int count_ = 0;
  std::vector<std::uint32_t> sums_;  // red, green, blue of each pixel, rows top first
};

}  // namespace vesk
