// The 32-bit colour value: red in bits 0-7, green in 8-15, blue in 16-23,
// bits 24-31 zero. kInvalidColor is what a read outside a bitmap answers.
#pragma once

#include <cstdint>

namespace vesk {

using Color = std::uint32_t;

inline constexpr Color kInvalidColor = 0xFFFFFFFFu;

constexpr Color MakeColor(int red, int green, int blue) {
  return static_cast<Color>(red & 0xFF) | (static_cast<Color>(green & 0xFF) << 8) |
         (static_cast<Color>(blue & 0xFF) << 16);
}
constexpr int RedOf(Color c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(Color c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(Color c) { return static_cast<int>((c >> 16) & 0xFF); }

inline constexpr Color kBlack = MakeColor(0, 0, 0);
inline constexpr Color kWhite = MakeColor(255, 255, 255);

}  // namespace vesk
