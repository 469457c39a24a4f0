// Seeded pictures of random colours for the engine and effect tests.
#pragma once

#include <cstdint>
#include <random>

#include "core/image/bitmap.h"

namespace vesk::testing_support {

inline Bitmap RandomImage(int width, int height, std::uint32_t seed) {
  std::mt19937 rng(seed);
  Bitmap image(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) image.SetPixel(x, y, rng() & 0xFFFFFF);
  }
  return image;
}

}  // namespace vesk::testing_support
