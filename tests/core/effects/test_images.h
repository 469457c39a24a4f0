// Seeded test pictures for the effect tests.
#pragma once

#include <cstdint>
#include <random>

#include "core/image/bitmap.h"

namespace vesk::testing {

inline Bitmap RandomImage(int width, int height, std::uint32_t seed) {
  std::mt19937 random(seed);
  Bitmap image(width, height, kBlack);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) image.SetPixel(x, y, random() & 0xFFFFFFu);
  }
  return image;
}

// Red holds x and green holds y (both below 256), so a pixel tells where it
// was read.
inline Bitmap PositionImage(int width, int height) {
  Bitmap image(width, height, kBlack);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) image.SetPixel(x, y, MakeColor(x, y, 7));
  }
  return image;
}

}  // namespace vesk::testing
