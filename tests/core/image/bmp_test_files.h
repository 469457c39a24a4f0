// Hand-made BMP files for the reader tests: a header builder whose fields
// a test can set or spoil one at a time.
#pragma once

#include <cstdint>
#include <vector>

#include "core/image/color.h"

namespace vesk::testing {

// Offsets of the header fields that the tests spoil.
inline constexpr int kOffFileSize = 2;
inline constexpr int kOffReserved = 6;
inline constexpr int kOffPixelOffset = 10;
inline constexpr int kOffHeaderSize = 14;
inline constexpr int kOffWidth = 18;
inline constexpr int kOffHeight = 22;
inline constexpr int kOffPlanes = 26;
inline constexpr int kOffBits = 28;
inline constexpr int kOffCompression = 30;
inline constexpr int kOffSizeImage = 34;
inline constexpr int kOffColorsUsed = 46;

struct BmpLayout {
  int width = 1;
  int height = 1;
  int bits = 24;
  std::uint32_t compression = 0;
  std::uint32_t header_size = 40;  // 12 writes the core header
  std::uint32_t colors_used = 0;
  std::vector<Color> palette;        // written as B, G, R(, 0)
  std::vector<std::uint32_t> masks;  // after a 40-byte header, inside larger ones
  std::uint32_t gap = 0;             // unused bytes between palette and pixels
  std::vector<std::uint8_t> pixels;  // stored exactly as given
};

std::vector<std::uint8_t> BuildBmp(const BmpLayout& layout);

void Poke16(std::vector<std::uint8_t>& file, int offset, std::uint32_t value);
void Poke32(std::vector<std::uint8_t>& file, int offset, std::uint32_t value);
std::uint32_t Peek16(const std::vector<std::uint8_t>& file, int offset);
std::uint32_t Peek32(const std::vector<std::uint8_t>& file, int offset);

}  // namespace vesk::testing
