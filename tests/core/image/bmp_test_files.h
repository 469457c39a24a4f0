// Hand-made BMP files for the reader and writer tests: a layout whose fields
// a test sets one at a time, written by hand independently of the codec.
#pragma once

#include <cstdint>
#include <vector>

#include "core/image/color.h"

namespace vesk::testing {

using Bytes = std::vector<std::uint8_t>;

// Offsets of the header fields that the tests spoil.
enum BmpField {
  kFileSize = 2, kReserved = 6, kPixelOffset = 10, kHeaderSize = 14, kWidth = 18, kHeight = 22,
  kPlanes = 26, kBits = 28, kCompression = 30, kSizeImage = 34, kColorsUsed = 46
};

inline void Poke(Bytes& file, int offset, std::uint32_t value, int size = 4) {
  for (int i = 0; i < size; ++i) file.at(offset + i) = static_cast<std::uint8_t>(value >> (8 * i));
}

struct BmpLayout {
  int width = 1;
  int height = 1;
  int bits = 24;
  std::uint32_t compression = 0;
  std::uint32_t header_size = 40;  // 12 writes the core header
  std::uint32_t colors_used = 0;
  std::uint32_t gap = 0;             // unused bytes between palette and pixels
  std::vector<Color> palette{};      // written as B, G, R(, 0)
  std::vector<std::uint32_t> masks{};  // after a 40-byte header, inside larger ones
  Bytes pixels{};                    // stored exactly as given
};

inline Bytes BuildBmp(const BmpLayout& l) {
  const bool core = l.header_size == 12;
  const std::uint32_t entry = core ? 3 : 4;
  const std::uint32_t masks = l.header_size == 40 ? 4 * l.masks.size() : 0;
  const std::uint32_t offset = 14 + l.header_size + masks + entry * l.palette.size() + l.gap;
  Bytes f(offset, 0);
  Poke(f, 0, 'B' | 'M' << 8, 2);
  Poke(f, kPixelOffset, offset);
  Poke(f, kHeaderSize, l.header_size);
  const int field = core ? 2 : 4;  // the core header has 16-bit sizes
  Poke(f, kWidth, l.width, field);
  Poke(f, kWidth + field, l.height, field);
  Poke(f, kWidth + 2 * field, 1, 2);
  Poke(f, kWidth + 2 * field + 2, l.bits, 2);
  if (!core) {
    Poke(f, kCompression, l.compression);
    Poke(f, kSizeImage, l.pixels.size());
    Poke(f, kColorsUsed, l.colors_used);
    for (std::size_t i = 0; i < l.masks.size(); ++i) Poke(f, 54 + 4 * i, l.masks[i]);
  }
  std::uint32_t at = 14 + l.header_size + masks;
  for (Color c : l.palette) {
    f[at] = static_cast<std::uint8_t>(BlueOf(c));
    f[at + 1] = static_cast<std::uint8_t>(GreenOf(c));
    f[at + 2] = static_cast<std::uint8_t>(RedOf(c));
    at += entry;
  }
  f.insert(f.end(), l.pixels.begin(), l.pixels.end());
  Poke(f, kFileSize, f.size());
  return f;
}

}  // namespace vesk::testing
