// BMP files written by hand, independently of the codec, and pictures one letter a pixel.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/image/bitmap.h"

namespace vesk::testing_support {

using Bytes = std::vector<std::uint8_t>;

enum BmpField {  // offsets of the header fields the tests spoil
  kFileSize = 2, kReserved = 6, kPixelOffset = 10, kHeaderSize = 14, kWidth = 18, kHeight = 22,
  kPlanes = 26, kBits = 28, kCompression = 30, kSizeImage = 34, kColorsUsed = 46
};

inline void Poke(Bytes& file, int offset, std::uint32_t value, int size = 4) {
  for (int i = 0; i < size; ++i) file.at(offset + i) = static_cast<std::uint8_t>(value >> (8 * i));
}

struct BmpLayout {
  int width = 1, height = 1, bits = 24;
  std::uint32_t compression = 0;
  std::uint32_t header_size = 40;  // 12 writes the core header
  std::uint32_t colors_used = 0;
  std::uint32_t gap = 0;               // unused bytes between palette and pixels
  std::vector<Color> palette{};        // written as B, G, R(, 0)
  std::vector<std::uint32_t> masks{};  // after a 40-byte header, inside larger ones
  Bytes pixels{};                      // stored exactly as given
};

inline Bytes BuildBmp(const BmpLayout& l) {
  const std::uint32_t entry = l.header_size == 12 ? 3 : 4;
  const std::uint32_t masks = l.header_size == 40 ? 4 * l.masks.size() : 0;
  Bytes f(14 + l.header_size + masks + entry * l.palette.size() + l.gap, 0);
  Poke(f, 0, 'B' | 'M' << 8, 2);
  Poke(f, kPixelOffset, f.size());
  Poke(f, kHeaderSize, l.header_size);
  const int field = entry == 3 ? 2 : 4;  // the core header has 16-bit sizes
  Poke(f, kWidth, l.width, field);
  Poke(f, kWidth + field, l.height, field);
  Poke(f, kWidth + 2 * field, 1, 2);
  Poke(f, kWidth + 2 * field + 2, l.bits, 2);
  if (entry == 4) {
    Poke(f, kCompression, l.compression);
    Poke(f, kSizeImage, l.pixels.size());
    Poke(f, kColorsUsed, l.colors_used);
    for (std::size_t i = 0; i < l.masks.size(); ++i) Poke(f, 54 + 4 * i, l.masks[i]);
  }
  for (std::size_t i = 0; i < l.palette.size(); ++i) {
    Poke(f, 14 + l.header_size + masks + entry * i, l.palette[i] >> 16 | (l.palette[i] & 0xFF00) |
                                                        (l.palette[i] & 0xFF) << 16, 3);
  }
  f.insert(f.end(), l.pixels.begin(), l.pixels.end());
  Poke(f, kFileSize, f.size());
  return f;
}

const std::vector<Color> kPalette = {MakeColor(10, 10, 10), MakeColor(255, 0, 0),
                                     MakeColor(0, 255, 0), MakeColor(0, 0, 255)};

// Pixels top row first, one letter each: k black, g grey, r red, n green, b blue, w white.
inline std::vector<Color> P(const std::string& letters) {
  std::vector<Color> out;
  for (char c : letters) {
    if (c == ' ') continue;
    out.push_back(c == 'k' ? kBlack : c == 'w' ? kWhite : kPalette[std::string("grnb").find(c)]);
  }
  return out;
}

// A valid 8-bit file: 5 x 3, a 4-entry palette, rows padded from 5 to 8.
inline BmpLayout Pal8(void (*change)(BmpLayout&) = [](BmpLayout&) {}) {
  BmpLayout l{.width = 5, .height = 3, .bits = 8, .palette = kPalette,
              .pixels = {0, 1, 2, 3, 0, 9, 9, 9, 1, 1, 1, 1, 1, 9, 9, 9, 3, 2, 1, 0, 3, 9, 9, 9}};
  change(l);
  return l;
}

inline BmpLayout Rle(int width, int height, int bits, Bytes data) {
  return {.width = width, .height = height, .bits = bits, .compression = bits == 8 ? 1u : 2u,
          .palette = kPalette, .pixels = std::move(data)};
}

inline BmpLayout Masks(int width, int bits, std::vector<std::uint32_t> masks, Bytes pixels,
                       std::uint32_t header_size = 40) {
  return {.width = width, .bits = bits, .compression = 3, .header_size = header_size,
          .masks = std::move(masks), .pixels = std::move(pixels)};
}

inline Bitmap Picture(int width, const std::vector<Color>& top_down) {
  Bitmap b(width, static_cast<int>(top_down.size()) / width);
  for (std::size_t i = 0; i < top_down.size(); ++i) {
    b.SetPixel(static_cast<int>(i) % width, static_cast<int>(i) / width, top_down[i]);
  }
  return b;
}
}  // namespace vesk::testing_support
