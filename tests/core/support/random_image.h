// Seeded pictures of random colours for the engine and effect tests.
#pragma once

#include <cstdint>
#include <random>

#include "core/image/bitmap.h"

namespace vesk::testing_support {

inline Bitmap RandomImage(int width, int height, std::uint32_t seed) {
  std::mt19937 rng(seed);
  Bitmap image(width, height);
  for (int i = 0; i < width * height; ++i) image.SetPixel(i % width, i / width, rng() & 0xFFFFFF);
  return image;
}

}  // namespace vesk::testing_support
