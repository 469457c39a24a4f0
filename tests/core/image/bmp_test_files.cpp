#include "bmp_test_files.h"

namespace vesk::testing {

void Poke16(std::vector<std::uint8_t>& file, int offset, std::uint32_t value) {
  file.at(offset) = static_cast<std::uint8_t>(value);
  file.at(offset + 1) = static_cast<std::uint8_t>(value >> 8);
}

void Poke32(std::vector<std::uint8_t>& file, int offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) file.at(offset + i) = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t Peek16(const std::vector<std::uint8_t>& file, int offset) {
  return file.at(offset) | (std::uint32_t{file.at(offset + 1)} << 8);
}

std::uint32_t Peek32(const std::vector<std::uint8_t>& file, int offset) {
  return Peek16(file, offset) | (Peek16(file, offset + 2) << 16);
}

std::vector<std::uint8_t> BuildBmp(const BmpLayout& layout) {
  const bool core = layout.header_size == 12;
  const std::uint32_t entry = core ? 3 : 4;
  std::uint32_t masks_after_header = layout.header_size == 40 ? 4 * layout.masks.size() : 0;
  std::uint32_t palette_bytes = entry * layout.palette.size();
  std::uint32_t pixel_offset = 14 + layout.header_size + masks_after_header + palette_bytes + layout.gap;
  std::vector<std::uint8_t> f(pixel_offset, 0);
  f[0] = 'B';
  f[1] = 'M';
  Poke32(f, kOffPixelOffset, pixel_offset);
  Poke32(f, kOffHeaderSize, layout.header_size);
  if (core) {
    Poke16(f, 18, layout.width);
    Poke16(f, 20, layout.height);
    Poke16(f, 22, 1);
    Poke16(f, 24, layout.bits);
  } else {
    Poke32(f, kOffWidth, layout.width);
    Poke32(f, kOffHeight, layout.height);
    Poke16(f, kOffPlanes, 1);
    Poke16(f, kOffBits, layout.bits);
    Poke32(f, kOffCompression, layout.compression);
    Poke32(f, kOffSizeImage, layout.pixels.size());
    Poke32(f, kOffColorsUsed, layout.colors_used);
    for (std::size_t i = 0; i < layout.masks.size(); ++i) Poke32(f, 54 + 4 * i, layout.masks[i]);
  }
  std::uint32_t at = 14 + layout.header_size + masks_after_header;
  for (Color c : layout.palette) {
    f[at] = static_cast<std::uint8_t>(BlueOf(c));
    f[at + 1] = static_cast<std::uint8_t>(GreenOf(c));
    f[at + 2] = static_cast<std::uint8_t>(RedOf(c));
    at += entry;
  }
  f.insert(f.end(), layout.pixels.begin(), layout.pixels.end());
  Poke32(f, kOffFileSize, f.size());
  return f;
}

}  // namespace vesk::testing
