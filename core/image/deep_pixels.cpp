#include "core/image/deep_pixels.h"

namespace vesk {
namespace {

constexpr std::uint64_t kOpaque = 65535;
constexpr std::uint64_t kScale = kOpaque * 257;  // 16-bit products to 8-bit values

int Channel(std::uint64_t c, std::uint64_t alpha) {
  return static_cast<int>((c * alpha + kOpaque * (kOpaque - alpha) + kScale / 2) / kScale);
}

}  // namespace

Color ColorOverWhite(std::uint16_t red, std::uint16_t green, std::uint16_t blue,
                     std::uint16_t alpha) {
  return MakeColor(Channel(red, alpha), Channel(green, alpha), Channel(blue, alpha));
}

void RowOverWhite(const std::uint16_t* rgba, int count, Color* out) {
  for (int x = 0; x < count; ++x, rgba += 4) {
    out[x] = ColorOverWhite(rgba[0], rgba[1], rgba[2], rgba[3]);
  }
}

}  // namespace vesk
