// Pictures as palette indices for the animated GIF: each frame gets its own
// palette. A picture of at most 256 colours keeps every colour exactly;
// one with more is cut down to 256 by median cut and every pixel takes the
// nearest palette colour (no dithering, so flat areas stay flat).
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/image/bitmap.h"

namespace vesk {

struct IndexedPicture {
  std::vector<std::uint8_t> indices;  // width * height, top row first
  std::array<Color, 256> palette{};   // entries past `colors` are black
  int colors = 0;
};

IndexedPicture ToIndexedColors(const Bitmap& picture);

}  // namespace vesk
